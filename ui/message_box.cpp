#include "ui/message_box.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace {

DialogAnswerer& answerer() {
    static DialogAnswerer instance;
    return instance;
}

QString& storedApplicationTitle() {
    static QString title;
    return title;
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    Answer answer;
};

QList<ButtonSpec> buttonsOf(Buttons buttons) {
    switch (buttons) {
    case Buttons::OkCancel:
        return {{QMessageBox::Ok, Answer::Ok}, {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::AbortRetryIgnore:
        return {{QMessageBox::Abort, Answer::Abort},
                {QMessageBox::Retry, Answer::Retry},
                {QMessageBox::Ignore, Answer::Ignore}};
    case Buttons::YesNoCancel:
        return {{QMessageBox::Yes, Answer::Yes},
                {QMessageBox::No, Answer::No},
                {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::YesNo:
        return {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}};
    case Buttons::RetryCancel:
        return {{QMessageBox::Retry, Answer::Retry}, {QMessageBox::Cancel, Answer::Cancel}};
    case Buttons::Ok:
        break;
    }
    return {{QMessageBox::Ok, Answer::Ok}};
}

// The buttons speak Russian whatever translations the system has.
QString buttonText(Answer answer) {
    switch (answer) {
    case Answer::Cancel:
        return QStringLiteral("Отмена");
    case Answer::Abort:
        return QStringLiteral("Прервать");
    case Answer::Retry:
        return QStringLiteral("Повторить");
    case Answer::Ignore:
        return QStringLiteral("Пропустить");
    case Answer::Yes:
        return QStringLiteral("Да");
    case Answer::No:
        return QStringLiteral("Нет");
    case Answer::Ok:
        break;
    }
    return QStringLiteral("OK");
}

QMessageBox::Icon iconOf(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

bool& nobodyThere() {
    static bool nobody = false;
    return nobody;
}

// Under the offscreen platform, or once the program ends with nobody there, nobody can answer:
// say so and take the default button.
bool nobodyToAsk() {
    return nobodyThere() || QGuiApplication::platformName() == QLatin1String("offscreen");
}

std::function<void(const QString&)>& unansweredReport() {
    static std::function<void(const QString&)> report;
    return report;
}

void reportUnanswered(const QString& what) {
    if (unansweredReport())
        unansweredReport()(what);
    else
        qWarning("%s", qUtf8Printable(what));
}

Answer realMessageBox(QWidget* owner, const QString& text, const QString& caption, Buttons buttons,
                      MessageIcon icon, DefaultButton defaultButton) {
    const QList<ButtonSpec> specs = buttonsOf(buttons);
    const int def = qMin(int(defaultButton), int(specs.size()) - 1);
    if (nobodyToAsk()) {
        reportUnanswered(QStringLiteral("Unanswered message box \"%1\": %2").arg(caption, text));
        return specs[def].answer;
    }
    QMessageBox box(iconOf(icon), caption, text, QMessageBox::NoButton, owner);
    for (const ButtonSpec& s : specs)
        box.addButton(s.button)->setText(buttonText(s.answer));
    box.setDefaultButton(specs[def].button);
    // A box with an owner blocks that window only, so other document windows go on working.
    if (owner)
        box.setWindowModality(Qt::WindowModal);
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const ButtonSpec& s : specs)
        if (s.button == pressed)
            return s.answer;
    // Closed by Escape or the title bar: Cancel where there is one, else the only button.
    for (const ButtonSpec& s : specs)
        if (s.answer == Answer::Cancel || s.answer == Answer::No)
            return s.answer;
    return specs.last().answer;
}

} // namespace

namespace dialogs {

void setAnswerer(DialogAnswerer a) {
    answerer() = std::move(a);
}

bool hasAnswerer() {
    return bool(answerer());
}

void setNobodyToAnswer(bool nobody) {
    nobodyThere() = nobody;
}

void setUnansweredReport(std::function<void(const QString& what)> report) {
    unansweredReport() = std::move(report);
}

void setApplicationTitle(const QString& title) {
    storedApplicationTitle() = title;
}

QString applicationTitle() {
    const QString& title = storedApplicationTitle();
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

Answer messageBox(QWidget* owner, const QString& text, const QString& caption, Buttons buttons,
                  MessageIcon icon, DefaultButton defaultButton) {
    if (answerer()) {
        DialogRequest request;
        request.kind = DialogKind::Message;
        request.caption = caption;
        request.text = text;
        request.buttons = buttons;
        request.icon = icon;
        request.defaultButton = defaultButton;
        return answerer()(request).button;
    }
    return realMessageBox(owner, text, caption, buttons, icon, defaultButton);
}

void showMessage(const QString& text) {
    messageBox(QApplication::activeWindow(), text, applicationTitle());
}

bool inputQuery(const QString& caption, const QString& prompt, QString& value,
                const std::function<bool(QString&)>& show) {
    if (answerer()) {
        DialogRequest request;
        request.kind = DialogKind::Input;
        request.caption = caption;
        request.text = prompt;
        request.buttons = Buttons::OkCancel;
        request.value = value;
        const DialogAnswer answer = answerer()(request);
        if (answer.button != Answer::Ok)
            return false;
        value = answer.value;
        return true;
    }
    if (nobodyToAsk()) {
        reportUnanswered(QStringLiteral("Unanswered input dialog \"%1\"").arg(caption));
        return false;
    }
    return show(value);
}

} // namespace dialogs

namespace {

bool askPath(DialogKind kind, const QString& caption, const QString& start, const QString& filter,
             QString& path, const std::function<QString()>& show) {
    if (answerer()) {
        DialogRequest request;
        request.kind = kind;
        request.caption = caption;
        request.value = start;
        request.filter = filter;
        request.buttons = Buttons::OkCancel;
        const DialogAnswer answer = answerer()(request);
        if (answer.button != Answer::Ok || answer.value.isEmpty())
            return false;
        path = answer.value;
        return true;
    }
    if (nobodyToAsk()) {
        reportUnanswered(QStringLiteral("Unanswered file dialog \"%1\"").arg(caption));
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
    return askPath(DialogKind::Folder, caption, start, QString(), path,
                   [&] { return QFileDialog::getExistingDirectory(owner, caption, start); });
}

bool openFileName(QWidget* owner, const QString& caption, const QString& start,
                  const QString& filter, QString& path) {
    return askPath(DialogKind::OpenFile, caption, start, filter, path,
                   [&] { return QFileDialog::getOpenFileName(owner, caption, start, filter); });
}

bool saveFileName(QWidget* owner, const QString& caption, const QString& start,
                  const QString& filter, const QString& defaultSuffix, QString& path) {
    return askPath(DialogKind::SaveFile, caption, start, filter, path, [&] {
        QFileDialog dialog(owner, caption, start, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    });
}

bool selectFont(QWidget* owner, const QString& caption, QFont& font) {
    if (answerer()) {
        DialogRequest request;
        request.kind = DialogKind::Font;
        request.caption = caption;
        request.value = font.toString();
        request.buttons = Buttons::OkCancel;
        const DialogAnswer answer = answerer()(request);
        QFont chosen;
        if (answer.button != Answer::Ok || !chosen.fromString(answer.value))
            return false;
        font = chosen;
        return true;
    }
    if (nobodyToAsk()) {
        reportUnanswered(QStringLiteral("Unanswered font dialog \"%1\"").arg(caption));
        return false;
    }
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, owner, caption);
    if (ok)
        font = chosen;
    return ok;
}

} // namespace dialogs

void showWarning(QWidget* owner, const QString& text) {
    dialogs::messageBox(owner, text, dialogs::applicationTitle(), Buttons::Ok,
                        MessageIcon::Warning);
}

bool messageBoxRepeat(QWidget* owner, const QString& caption, const QString& text, Buttons buttons,
                      Answer expected, int count) {
    for (int i = 0; i < count; ++i)
        if (dialogs::messageBox(owner, text, caption, buttons) != expected)
            return false;
    return true;
}
