#pragma once

#include "store/rights_table.h"

#include <QList>
#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;

// The rights of one user on two check lists. The left list holds the areas under their group
// headings: a ticked area may be opened, a heading has no box. The right list holds the
// operations of the area selected on the left, and shows only while that area is ticked. Every
// box stands for one record of the rights, so the boxes and the text written from the records
// always agree.
class RightsEditor : public QWidget {
    Q_OBJECT
public:
    explicit RightsEditor(QWidget* parent = nullptr);

    // Shows the records and selects the first line that is no heading.
    void setPermissions(const QList<Permission>& permissions);
    const QList<Permission>& permissions() const { return m_permissions; }
    // The rights text of the records, as USERS.DATA2 keeps it.
    QString text() const { return permissionsText(m_permissions); }

    QListWidget* areaList() const { return m_areaList; }
    QListWidget* operationList() const { return m_operationList; }
    // The caption over the operations: the text of the selected line.
    QLabel* areaTitleLabel() const { return m_areaTitleLabel; }

signals:
    // The user ticked or unticked the line of an area (word: its area word, "VocsUsers").
    void areaToggled(const QString& word, bool allowed);

private slots:
    void onAreaSelected(int line);
    void onAreaItemChanged(QListWidgetItem* item);
    void onOperationItemChanged(QListWidgetItem* item);

private:
    void fillAreas();
    // The operations of the area whose record is recordIndex; none for -1 (a heading).
    void fillOperations(int recordIndex);

    QList<Permission> m_permissions;
    QListWidget* m_areaList = nullptr;
    QListWidget* m_operationList = nullptr;
    QLabel* m_areaTitleLabel = nullptr;
};
