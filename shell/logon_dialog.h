#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

// The logon of the start-up: asks the user and the password when the book has more than one
// visible user or its only visible user has a password, and remembers the last user in the INI
// (section "Logon", key "LastUser"). Works on the open database of the data store.
class LogonDialog : public QDialog {
    Q_OBJECT
public:
    // Builds the window and fills the list of visible users (loadUsers).
    explicit LogonDialog(QWidget* owner = nullptr);

    // True: go on, with the data store's user key set to the user (left as it is when the book
    // has no visible user); false: the user refused the logon. Database errors pass on.
    static bool logon();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // Logs the chosen user on when the password matches, else says so and stays; does nothing
    // while no user is chosen.
    void onOkClicked();

private:
    void buildLayout();
    // The visible users, the last one who logged on chosen; the password field empty.
    void loadUsers();

    QComboBox* m_userCombo = nullptr;
    QLineEdit* m_passwordEdit = nullptr;
};
