#include "shell/period_dialog.h"

#include "ui/message_box.h"
#include "ui/widget_helpers.h"

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

PeriodDialog::PeriodDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("periodDialog"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    QFont windowFont(QStringLiteral("Arial"));
    windowFont.setPixelSize(13);
    windowFont.setBold(true);
    setFont(windowFont);

    auto* periodGroup = new QGroupBox(QStringLiteral("Период поиска"));
    periodGroup->setObjectName(QStringLiteral("periodGroup"));
    m_startDateEdit = dateEdit("startDateEdit");
    m_endDateEdit = dateEdit("endDateEdit");
    auto* periodLayout = new QHBoxLayout(periodGroup);
    periodLayout->addWidget(new QLabel(QStringLiteral("с")));
    periodLayout->addWidget(m_startDateEdit);
    periodLayout->addWidget(new QLabel(QStringLiteral("по")));
    periodLayout->addWidget(m_endDateEdit);
    for (QDateEdit* edit : {m_startDateEdit, m_endDateEdit})
        edit->installEventFilter(this);

    m_okButton = new QPushButton(QStringLiteral("OK"));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_okButton->setAutoDefault(false);
    m_cancelButton = new QPushButton(QStringLiteral("Отмена"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setAutoDefault(false);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(periodGroup);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(316, 107)));
}

bool PeriodDialog::execute(QWidget* owner, const QString& caption, Period& period) {
    PeriodDialog dialog(owner);
    dialog.setWindowTitle(caption);
    dialog.setPeriod(period);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    period = dialog.period();
    return true;
}

void PeriodDialog::setPeriod(const Period& period) {
    m_startDateEdit->setDate(datetime::decodeDate(period.start));
    m_endDateEdit->setDate(datetime::decodeDate(period.end));
}

Period PeriodDialog::period() const {
    return {datetime::encode(m_startDateEdit->date()), datetime::encode(m_endDateEdit->date())};
}

void PeriodDialog::accept() {
    if (m_endDateEdit->date() < m_startDateEdit->date()) {
        showWarning(this, QStringLiteral("Конец периода раньше его начала."));
        m_endDateEdit->setFocus();
        return;
    }
    QDialog::accept();
}

bool PeriodDialog::eventFilter(QObject* watched, QEvent* event) {
    if (isEnterKeyPress(event)) {
        focusNextChild();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
