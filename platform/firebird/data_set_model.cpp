#include "platform/firebird/data_set_model.h"

#include "platform/firebird/data_set.h"

namespace fb {

DataSetModel::DataSetModel(DataSet& dataSet, QObject* parent)
    : QAbstractTableModel(parent), m_dataSet(&dataSet) {
    connect(m_dataSet, &DataSet::rowsAboutToChange, this, &DataSetModel::beginResetModel);
    connect(m_dataSet, &DataSet::rowsChanged, this, &DataSetModel::endResetModel);
    connect(m_dataSet, &DataSet::rowsAboutToBeAppended, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(m_dataSet, &DataSet::rowsAppended, this, &DataSetModel::endInsertRows);
    connect(m_dataSet, &DataSet::fieldChanged, this, &DataSetModel::refreshCurrentRow);
    connect(m_dataSet, &DataSet::recordChanged, this, &DataSetModel::onRecordChanged);
}

void DataSetModel::addColumn(const QString& fieldName, const QString& title,
                             Qt::Alignment alignment) {
    const int column = columnCount();
    beginInsertColumns({}, column, column);
    m_columns.append(Column{fieldName, title, alignment});
    endInsertColumns();
}

QString DataSetModel::columnField(int column) const {
    return column >= 0 && column < m_columns.size() ? m_columns[column].field : QString();
}

int DataSetModel::currentRow() const {
    return m_dataSet->currentRow();
}

void DataSetModel::setCurrentRow(int row) {
    m_dataSet->moveTo(row);
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_dataSet->fetchedCount();
}

bool DataSetModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_dataSet->canFetchMore();
}

void DataSetModel::fetchMore(const QModelIndex& parent) {
    if (!parent.isValid())
        m_dataSet->fetchMore();
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const Column& column = m_columns[index.column()];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.alignment);
    if (role != Qt::DisplayRole)
        return {};
    const int field = m_dataSet->fieldIndex(column.field);
    if (field < 0)
        return {};
    return m_dataSet->field(field).displayTextOf(m_dataSet->value(index.row(), field));
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].title;
    return {};
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void DataSetModel::onRecordChanged() {
    refreshCurrentRow();
    emit currentRowChanged(currentRow());
}

void DataSetModel::refreshCurrentRow() {
    const int row = currentRow();
    if (row < 0 || row >= rowCount() || m_columns.isEmpty())
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
}

} // namespace fb
