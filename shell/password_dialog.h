#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The dialog that takes a new password, typed twice. Passwords are kept in USERS.PASSW in our
// own reversible hex encoding of the password's Windows-1251 bytes.
class PasswordDialog : public QDialog {
    Q_OBJECT
public:
    // The window stays over the owner's window.
    explicit PasswordDialog(QWidget* owner = nullptr);

    // Asks a new password; true when the user confirmed one, password then holds its encoding.
    // password comes in as the text first put into the password field.
    static bool changePassword(QWidget* owner, QString& password);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // Accepts a password that can be taken; else says why, clears both fields and stays.
    void onOkClicked();

private:
    void buildLayout();

    QLineEdit* m_passwordEdit = nullptr;
    QLineEdit* m_confirmEdit = nullptr;
};
