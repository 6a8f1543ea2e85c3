#pragma once

#include "documents/dictionary_pane.h"

class QLabel;
class RightsEditor;

// The users of the book (table USERS), "Пользователи": a name, a password and the rights. The
// right to open this dictionary ("Пользователи" in the rights) is the administrator's flag:
// its line shows ISADMIN and ticking it sets ISADMIN. A new user starts with every right
// denied; an administrator cannot be hidden. The rights text is written only when the boxes
// were changed.
class UsersPane final : public DictionaryPane {
    Q_OBJECT
public:
    static constexpr const char* kLayoutKey = "TfrmVocsUsersKaltro";

    explicit UsersPane(QWidget* owner = nullptr);
    QString layoutKey() const override { return QString::fromLatin1(kLayoutKey); }

    // "Пароль": a new password for the user shown.
    QAction* passwordAction() const { return m_passwordAction; }
    RightsEditor* rightsEditor() const { return m_rightsEditor; }
    // Whether the current user is an administrator, in words and colour.
    QLabel* adminLabel() const { return m_adminLabel; }

protected:
    QString rowsSelect(bool hiddenView) const override;
    void setMode(bool browse, bool edit, bool focus) override;
    void initNewRow() override;
    void beforeEdit() override;
    // Refuses a user without a name; stores the rights of the editor.
    void beforePost() override;
    void checkHiding() override;
    QStringList columnsNotWritten() const override;

private slots:
    void onPasswordTriggered();
    void onAreaToggled(const QString& word, bool allowed);

private:
    void showAdmin();

    QAction* m_passwordAction = nullptr;
    QLabel* m_adminLabel = nullptr;
    RightsEditor* m_rightsEditor = nullptr;
    // The rights text of the boxes as the record was opened.
    QString m_shownRights;
};
