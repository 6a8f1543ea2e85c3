#include "ui/input_dialog.h"

#include "ui/message_box.h"
#include "ui/owned_dialog.h"
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

    auto* label = new QLabel(prompt, &form);
    label->setObjectName(QStringLiteral("lblPrompt"));
    label->move(x(8), y(8));
    label->adjustSize();

    auto* edit = new QLineEdit(&form);
    edit->setObjectName(QStringLiteral("edtValue"));
    edit->setMaxLength(255);
    edit->setText(value);
    edit->selectAll();
    edit->setGeometry(x(8), y(19), x(164), edit->sizeHint().height());

    auto* ok = new QPushButton(QStringLiteral("OK"), &form);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    ok->setGeometry(x(38), y(41), x(50), y(14));
    QObject::connect(ok, &QPushButton::clicked, &form, &QDialog::accept);

    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &form);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setGeometry(x(92), y(41), x(50), y(14));
    QObject::connect(cancel, &QPushButton::clicked, &form, &QDialog::reject);

    if (QScreen* screen = form.screen())
        form.move(screen->availableGeometry().center() - form.rect().center());
    edit->setFocus();
}

bool inputQueryEx(QWidget* owner, const QString& caption, const QString& prompt, QString& value) {
    return dialogs::inputQuery(caption, prompt, value, [&](QString& answer) {
        OwnedDialog form(owner);
        layoutInputQuery(form, caption, prompt, answer);
        if (form.exec() != QDialog::Accepted)
            return false;
        answer = form.findChild<QLineEdit*>(QStringLiteral("edtValue"))->text();
        return true;
    });
}
