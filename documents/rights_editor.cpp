#include "documents/rights_editor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int kRecordRole = Qt::UserRole;

QListWidgetItem* checkItem(QListWidget* list, const QString& text, int record, bool checked) {
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    item->setData(kRecordRole, record);
    return item;
}

// A group heading: no box, and no record behind it.
QListWidgetItem* headingItem(QListWidget* list, const QString& text) {
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    QFont font = item->font();
    font.setBold(true);
    font.setUnderline(true);
    item->setFont(font);
    item->setData(kRecordRole, -1);
    return item;
}

int recordOf(const QListWidgetItem* item) {
    return item ? item->data(kRecordRole).toInt() : -1;
}

bool isOperation(RightsAction action) {
    return action != RightsAction::Heading && action != RightsAction::Open;
}

} // namespace

RightsEditor::RightsEditor(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("rightsEditor"));
    m_areaList = new QListWidget(this);
    m_areaList->setObjectName(QStringLiteral("areaList"));
    m_areaTitleLabel = new QLabel(this);
    m_areaTitleLabel->setObjectName(QStringLiteral("areaTitleLabel"));
    m_areaTitleLabel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_areaTitleLabel->setMargin(4);
    m_areaTitleLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_operationList = new QListWidget(this);
    m_operationList->setObjectName(QStringLiteral("operationList"));

    auto* operations = new QVBoxLayout;
    // The caption stays on top of the operations, and on top of the empty place while the area
    // is not ticked and its operations are hidden.
    operations->addWidget(m_areaTitleLabel);
    operations->addWidget(m_operationList, 1);
    operations->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_areaList, 3);
    layout->addLayout(operations, 2);
    setMinimumHeight(360);

    connect(m_areaList, &QListWidget::currentRowChanged, this, &RightsEditor::onAreaSelected);
    connect(m_areaList, &QListWidget::itemChanged, this, &RightsEditor::onAreaItemChanged);
    connect(m_operationList, &QListWidget::itemChanged, this,
            &RightsEditor::onOperationItemChanged);
}

void RightsEditor::setPermissions(const QList<Permission>& permissions) {
    m_permissions = permissions;
    fillAreas();
    {
        const QSignalBlocker quiet(m_areaList);
        for (int line = 0; line < m_areaList->count(); ++line) {
            if (recordOf(m_areaList->item(line)) >= 0) {
                m_areaList->setCurrentRow(line);
                break;
            }
        }
    }
    onAreaSelected(m_areaList->currentRow());
}

void RightsEditor::fillAreas() {
    const QSignalBlocker quiet(m_areaList);
    m_areaList->clear();
    for (int index = 0; index < m_permissions.size(); ++index) {
        const Permission& permission = m_permissions[index];
        const QString caption = QString::fromUtf8(rightsAreas().at(permission.area).caption);
        if (permission.action == RightsAction::Heading)
            headingItem(m_areaList, caption);
        else if (permission.action == RightsAction::Open)
            checkItem(m_areaList, caption, index, permission.allowed);
    }
}

void RightsEditor::fillOperations(int recordIndex) {
    const QSignalBlocker quiet(m_operationList);
    m_operationList->clear();
    if (recordIndex < 0)
        return;
    const int area = m_permissions[recordIndex].area;
    for (int index = 0; index < m_permissions.size(); ++index) {
        const Permission& permission = m_permissions[index];
        if (permission.area == area && isOperation(permission.action))
            checkItem(m_operationList, rightsActionCaption(permission.action), index,
                      permission.allowed);
    }
}

void RightsEditor::onAreaSelected(int line) {
    QListWidgetItem* item = m_areaList->item(line);
    const int record = recordOf(item);
    m_areaTitleLabel->setText(item ? item->text() : QString());
    fillOperations(record);
    m_operationList->setVisible(record >= 0 && item->checkState() == Qt::Checked);
}

void RightsEditor::onAreaItemChanged(QListWidgetItem* item) {
    const int record = recordOf(item);
    if (record < 0)
        return;
    const bool allowed = item->checkState() == Qt::Checked;
    if (allowed == m_permissions[record].allowed)
        return;
    m_permissions[record].allowed = allowed;
    if (item == m_areaList->currentItem())
        m_operationList->setVisible(allowed);
    emit areaToggled(QString::fromUtf8(rightsAreas().at(m_permissions[record].area).word), allowed);
}

void RightsEditor::onOperationItemChanged(QListWidgetItem* item) {
    const int record = recordOf(item);
    if (record >= 0)
        m_permissions[record].allowed = item->checkState() == Qt::Checked;
}
