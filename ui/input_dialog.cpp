#include "ui/input_dialog.h"

#include "core/cp1251.h"
#include "ui/message_box.h"
#include "ui/owned_dialog.h"
#include "ui/text_input_guard.h"
#include "ui/widget_helpers.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

int mulDiv(int a, int b, int c) {
    return int((qint64(a) * b + c / 2) / c);
}

} // namespace

void layoutInputQuery(OwnedDialog& form, const QString& caption, const QString& prompt,
                      const QString& value) {
    form.setWindowTitle(caption);
    form.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const QSize units = averageCharWidth(QFontMetrics(form.font()));
    const auto x = [&](int n) { return mulDiv(n, units.width(), 4); };
    const auto y = [&](int n) { return mulDiv(n, units.height(), 8); };
    form.setFixedSize(x(180), y(63));

    auto* promptLabel = new QLabel(prompt, &form);
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    promptLabel->move(x(8), y(8));
    promptLabel->adjustSize();

    auto* valueEdit = new QLineEdit(&form);
    valueEdit->setObjectName(QStringLiteral("valueEdit"));
    valueEdit->setMaxLength(255);
    valueEdit->setText(value);
    valueEdit->selectAll();
    valueEdit->setGeometry(x(8), y(19), x(164), valueEdit->sizeHint().height());

    auto* okButton = new QPushButton(QStringLiteral("OK"), &form);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    okButton->setGeometry(x(38), y(41), x(50), y(14));
    // A text the book cannot hold (a proposed file name may bring one) is not taken.
    QObject::connect(okButton, &QPushButton::clicked, &form, [&form, valueEdit] {
        const QString foreign = cp1251::firstForeignCharacter(valueEdit->text());
        if (foreign.isEmpty()) {
            form.accept();
            return;
        }
        showWarning(&form, foreignCharacterMessage(foreign));
        valueEdit->setFocus();
    });

    auto* cancelButton = new QPushButton(QStringLiteral("Отмена"), &form);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setGeometry(x(92), y(41), x(50), y(14));
    QObject::connect(cancelButton, &QPushButton::clicked, &form, &QDialog::reject);

    if (QScreen* screen = form.screen())
        form.move(screen->availableGeometry().center() - form.rect().center());
    valueEdit->setFocus();
}

bool inputQueryEx(QWidget* owner, const QString& caption, const QString& prompt, QString& value) {
    return dialogs::inputQuery(caption, prompt, value, [&](QString& answer) {
        OwnedDialog form(owner);
        form.setObjectName(QStringLiteral("inputDialog"));
        layoutInputQuery(form, caption, prompt, answer);
        if (form.exec() != QDialog::Accepted)
            return false;
        answer = form.findChild<QLineEdit*>(QStringLiteral("valueEdit"))->text();
        return true;
    });
}
