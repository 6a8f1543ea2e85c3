#include "ui/message_box.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace {

DialogAnswerer& answerer() {
    static DialogAnswerer instance;
    return instance;
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int id;
};

QList<ButtonSpec> buttonsOf(unsigned flags) {
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT},
                {QMessageBox::Retry, IDRETRY},
                {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

// The buttons speak Russian whatever translations the system has.
QString buttonText(int id) {
    switch (id) {
    case IDCANCEL:
        return QStringLiteral("Отмена");
    case IDABORT:
        return QStringLiteral("Прервать");
    case IDRETRY:
        return QStringLiteral("Повторить");
    case IDIGNORE:
        return QStringLiteral("Пропустить");
    case IDYES:
        return QStringLiteral("Да");
    case IDNO:
        return QStringLiteral("Нет");
    default:
        return QStringLiteral("OK");
    }
}

int defaultIndex(unsigned flags) {
    if (flags & MB_DEFBUTTON3)
        return 2;
    if (flags & MB_DEFBUTTON2)
        return 1;
    return 0;
}

QMessageBox::Icon iconOf(unsigned flags) {
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Under the offscreen platform nobody can answer: say so and take the default button.
bool nobodyToAsk() {
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

int realMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags) {
    const QList<ButtonSpec> specs = buttonsOf(flags);
    const int def = qMin(defaultIndex(flags), int(specs.size()) - 1);
    if (nobodyToAsk()) {
        qWarning("Unanswered message box \"%s\": %s", qUtf8Printable(caption),
                 qUtf8Printable(text));
        return specs[def].id;
    }
    QMessageBox box(iconOf(flags), caption, text, QMessageBox::NoButton, owner);
    for (const ButtonSpec& s : specs)
        box.addButton(s.button)->setText(buttonText(s.id));
    box.setDefaultButton(specs[def].button);
    // A box with an owner blocks that window only, so other document windows go on working.
    if (owner)
        box.setWindowModality(Qt::WindowModal);
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const ButtonSpec& s : specs)
        if (s.button == pressed)
            return s.id;
    // Closed by Escape or the title bar: Cancel where there is one, else the only button.
    for (const ButtonSpec& s : specs)
        if (s.id == IDCANCEL || s.id == IDNO)
            return s.id;
    return specs.last().id;
}

} // namespace

namespace dialogs {

void setAnswerer(DialogAnswerer a) {
    answerer() = std::move(a);
}

bool hasAnswerer() {
    return bool(answerer());
}

QString applicationTitle() {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QCoreApplication::applicationName() : name;
}

int messageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags) {
    if (answerer()) {
        DialogRequest request;
        request.kind = DialogRequest::Message;
        request.caption = caption;
        request.text = text;
        request.flags = flags;
        return answerer()(request).button;
    }
    return realMessageBox(owner, text, caption, flags);
}

void showMessage(const QString& text) {
    messageBox(QApplication::activeWindow(), text, applicationTitle(), MB_OK);
}

bool inputQuery(const QString& caption, const QString& prompt, QString& value,
                const std::function<bool(QString&)>& show) {
    if (answerer()) {
        DialogRequest request;
        request.kind = DialogRequest::Input;
        request.caption = caption;
        request.text = prompt;
        request.flags = MB_OKCANCEL;
        request.value = value;
        const DialogAnswer answer = answerer()(request);
        if (answer.button != IDOK)
            return false;
        value = answer.value;
        return true;
    }
    if (nobodyToAsk()) {
        qWarning("Unanswered input dialog \"%s\"", qUtf8Printable(caption));
        return false;
    }
    return show(value);
}

} // namespace dialogs

namespace {

bool askPath(DialogRequest::Kind kind, const QString& caption, const QString& start,
             const QString& filter, QString& path, const std::function<QString()>& show) {
    if (answerer()) {
        DialogRequest request;
        request.kind = kind;
        request.caption = caption;
        request.value = start;
        request.filter = filter;
        request.flags = MB_OKCANCEL;
        const DialogAnswer answer = answerer()(request);
        if (answer.button != IDOK || answer.value.isEmpty())
            return false;
        path = answer.value;
        return true;
    }
    if (nobodyToAsk()) {
        qWarning("Unanswered file dialog \"%s\"", qUtf8Printable(caption));
        return false;
    }
    const QString chosen = show();
    if (chosen.isEmpty())
        return false;
    path = chosen;
    return true;
}

} // namespace

namespace dialogs {

bool selectDirectory(QWidget* owner, const QString& caption, const QString& start, QString& path) {
    return askPath(DialogRequest::Folder, caption, start, QString(), path,
                   [&] { return QFileDialog::getExistingDirectory(owner, caption, start); });
}

bool openFileName(QWidget* owner, const QString& caption, const QString& start,
                  const QString& filter, QString& path) {
    return askPath(DialogRequest::OpenFile, caption, start, filter, path,
                   [&] { return QFileDialog::getOpenFileName(owner, caption, start, filter); });
}

bool saveFileName(QWidget* owner, const QString& caption, const QString& start,
                  const QString& filter, const QString& defaultSuffix, QString& path) {
    return askPath(DialogRequest::SaveFile, caption, start, filter, path, [&] {
        QFileDialog dialog(owner, caption, start, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    });
}

} // namespace dialogs

void showWarning(QWidget* owner, const QString& text) {
    dialogs::messageBox(owner, text, dialogs::applicationTitle(), MB_OK | MB_ICONEXCLAMATION);
}

bool messageBoxRepeat(QWidget* wnd, const QString& caption, const QString& text, unsigned flags,
                      int expected, int count) {
    for (int i = 0; i < count; ++i)
        if (dialogs::messageBox(wnd, text, caption, flags) != expected)
            return false;
    return true;
}
