#include "shell/fmSelectPeriod.h"

#include "util/SysUtPlus.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QDateEdit* dateEdit(const char* name) {
    auto* edit = new QDateEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    edit->setMinimumWidth(120);
    return edit;
}

} // namespace

TfrmSelectPeriod::TfrmSelectPeriod(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmSelectPeriod"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setPixelSize(13);
    windowFont.setBold(true);
    setFont(windowFont);

    auto* grbxPeriod = new QGroupBox(QStringLiteral("Период поиска"));
    grbxPeriod->setObjectName(QStringLiteral("grbxPeriod"));
    edtSDAT = dateEdit("edtSDAT");
    edtEDAT = dateEdit("edtEDAT");
    auto* periodLayout = new QHBoxLayout(grbxPeriod);
    periodLayout->addWidget(new QLabel(QStringLiteral("с")));
    periodLayout->addWidget(edtSDAT);
    periodLayout->addWidget(new QLabel(QStringLiteral("по")));
    periodLayout->addWidget(edtEDAT);
    for (QDateEdit* edit : {edtSDAT, edtEDAT})
        edit->installEventFilter(this);

    btnOK = new QPushButton(QStringLiteral("OK"));
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setAutoDefault(false);
    btnCancel = new QPushButton(QStringLiteral("Отмена"));
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grbxPeriod);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(316, 107)));
}

bool TfrmSelectPeriod::Execute(QWidget* owner, const QString& caption, TPeriod& period) {
    TfrmSelectPeriod dialog(owner);
    dialog.setWindowTitle(caption);
    dialog.SetPeriod(period);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    period = dialog.Period();
    return true;
}

void TfrmSelectPeriod::SetPeriod(const TPeriod& period) {
    edtSDAT->setDate(datetime::decodeDate(period.Start));
    edtEDAT->setDate(datetime::decodeDate(period.End));
}

TPeriod TfrmSelectPeriod::Period() const {
    return {datetime::encode(edtSDAT->date()), datetime::encode(edtEDAT->date())};
}

bool TfrmSelectPeriod::eventFilter(QObject* watched, QEvent* event) {
    if (IsEnterKeyPress(event)) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
