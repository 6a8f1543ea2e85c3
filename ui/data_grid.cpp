#include "ui/data_grid.h"

#include "core/exceptions.h"
#include "core/key_value_text.h"
#include "platform/firebird/data_set.h"
#include "platform/firebird/data_set_model.h"

#include <QBrush>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// Adds what the dataset model does not know: the columns' colours and title alignments.
class ColumnsProxy : public QIdentityProxyModel {
public:
    ColumnsProxy(const QList<GridColumn>& columns, QObject* parent)
        : QIdentityProxyModel(parent), m_columns(columns) {}

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::BackgroundRole && index.isValid() && index.column() < m_columns.size() &&
            m_columns[index.column()].color.isValid())
            return QBrush(m_columns[index.column()].color);
        return QIdentityProxyModel::data(index, role);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal && section >= 0 &&
            section < m_columns.size())
            return QVariant::fromValue(titleAlignment(m_columns[section]) | Qt::AlignVCenter);
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

private:
    static Qt::Alignment titleAlignment(const GridColumn& column) {
        return column.titleAlignment ? column.titleAlignment : column.alignment;
    }

    const QList<GridColumn>& m_columns;
};

QString layoutKey(const QString& ownerClassName, const QString& fieldName, const char* what) {
    return ownerClassName + QLatin1Char('|') + QLatin1String(DataGrid::kClassName) + fieldName +
           QLatin1String(what);
}

// The integer stored under key; false when there is none or it is no number.
bool storedInteger(const QString& text, const QString& key, int& value) {
    bool ok = false;
    value = getKeyValue(text, key).toInt(&ok);
    return ok;
}

} // namespace

DataGrid::DataGrid(QWidget* parent)
    : QTableView(parent), m_proxy(new ColumnsProxy(m_columns, this)) {
    setModel(m_proxy);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* titles = horizontalHeader();
    titles->setSectionsMovable(true);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setHighlightSections(false);
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(13);
    titleFont.setBold(true);
    titles->setFont(titleFont);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &DataGrid::onCurrentRowChanged);
}

DataGrid::~DataGrid() {
    m_proxy->setSourceModel(nullptr);
}

void DataGrid::setDataSet(fb::DataSet* dataSet) {
    m_dataSet = dataSet;
    resetModel();
    if (!m_model)
        return;
    for (int i = 0; i < m_columns.size(); ++i) {
        m_model->addColumn(m_columns[i].fieldName, m_columns[i].title,
                           m_columns[i].alignment | Qt::AlignVCenter);
        applyColumnWidth(i);
    }
    followDataSet();
}

const GridColumn& DataGrid::gridColumn(int index) const {
    if (index < 0 || index >= m_columns.size())
        throw ListError(QStringLiteral("Индекс колонки вне диапазона (%1)").arg(index));
    return m_columns[logicalIndex(index)];
}

int DataGrid::columnWidthAt(int index) const {
    const GridColumn& column = gridColumn(index);
    if (!m_model)
        return column.width;
    return horizontalHeader()->sectionSize(logicalIndex(index));
}

void DataGrid::setColumnWidthAt(int index, int width) {
    gridColumn(index); // range check
    if (m_model)
        horizontalHeader()->resizeSection(logicalIndex(index), width);
    else
        m_columns[index].width = width;
}

void DataGrid::moveColumn(int from, int to) {
    gridColumn(from);
    gridColumn(to);
    if (m_model)
        horizontalHeader()->moveSection(from, to);
    else
        m_columns.move(from, to);
}

void DataGrid::addColumn(const GridColumn& column) {
    m_columns.append(column);
    if (!m_model)
        return;
    m_model->addColumn(column.fieldName, column.title, column.alignment | Qt::AlignVCenter);
    applyColumnWidth(int(m_columns.size()) - 1);
    // The current row's selection takes in the new column (the first one gives it a cell).
    if (currentIndex().isValid())
        selectionModel()->select(currentIndex(),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        followDataSet();
}

void DataGrid::clearColumns() {
    m_columns.clear();
    resetModel();
}

int DataGrid::logicalIndex(int index) const {
    return m_model ? horizontalHeader()->logicalIndex(index) : index;
}

void DataGrid::resetModel() {
    fb::DataSetModel* old = m_model;
    m_model = m_dataSet ? new fb::DataSetModel(*m_dataSet, this) : nullptr;
    if (m_model)
        connect(m_model, &fb::DataSetModel::currentRowChanged, this,
                &DataGrid::onDataSetRowChanged);
    m_proxy->setSourceModel(m_model);
    delete old;
}

void DataGrid::applyColumnWidth(int logical) {
    if (m_columns[logical].width > 0)
        horizontalHeader()->resizeSection(logical, m_columns[logical].width);
}

void DataGrid::followDataSet() {
    if (!m_dataSet)
        return;
    const int row = m_dataSet->currentRow();
    if (row < 0 || m_columns.isEmpty()) {
        selectionModel()->clearCurrentIndex();
        return;
    }
    if (currentIndex().row() == row)
        return;
    const int column = qMax(currentIndex().column(), horizontalHeader()->logicalIndex(0));
    selectionModel()->setCurrentIndex(m_proxy->index(row, column),
                                      QItemSelectionModel::ClearAndSelect |
                                          QItemSelectionModel::Rows);
}

void DataGrid::onCurrentRowChanged(const QModelIndex& current) {
    if (m_dataSet && m_dataSet->isActive() && current.isValid() &&
        current.row() != m_dataSet->currentRow())
        m_dataSet->moveTo(current.row());
}

void DataGrid::onDataSetRowChanged() {
    followDataSet();
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit openRequested();
        event->accept();
        return;
    }
    // Ctrl+End: the dataset's last row, also when it has not read that far yet.
    if (event->matches(QKeySequence::MoveToEndOfDocument) && m_dataSet && m_dataSet->isActive()) {
        m_dataSet->last();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit openRequested();
}

void addGridColumns(DataGrid& grid, const QList<GridColumn>& columns) {
    for (const GridColumn& column : columns)
        grid.addColumn(column);
}

void setGridColumns(DataGrid& grid, const QList<GridColumn>& columns) {
    grid.clearColumns();
    addGridColumns(grid, columns);
}

int columnIndexByFieldName(const DataGrid& grid, const QString& fieldName) {
    for (int i = 0; i < grid.columnCount(); ++i)
        if (grid.columnFieldName(i) == fieldName)
            return i;
    throw ListError(QStringLiteral("Не могу найти колонку!"));
}

void saveGridColumns(const QString& ownerClassName, const DataGrid& grid, QString& userData) {
    QString data = userData;
    for (int i = 0; i < grid.columnCount(); ++i) {
        const QString field = grid.columnFieldName(i);
        data = setKeyValue(data, layoutKey(ownerClassName, field, "Width"),
                           QString::number(grid.columnWidthAt(i)));
        data = setKeyValue(data, layoutKey(ownerClassName, field, "Index"), QString::number(i));
    }
    userData = data;
}

void restoreGridColumns(const QString& ownerClassName, DataGrid& grid, const QString& userData) {
    if (grid.columnCount() == 0)
        return;
    const QString& data = userData;
    QStringList names;
    for (int i = 0; i < grid.columnCount(); ++i)
        names << grid.columnFieldName(i);

    // Positions are filled from the left, so the stored order comes back whole.
    for (int i = 0; i < names.size(); ++i) {
        int width = 0;
        if (storedInteger(data, layoutKey(ownerClassName, names[i], "Width"), width) && width > 0)
            grid.setColumnWidthAt(columnIndexByFieldName(grid, names[i]), width);
        for (const QString& name : names) {
            int position = -1;
            if (!storedInteger(data, layoutKey(ownerClassName, name, "Index"), position) ||
                position != i)
                continue;
            const int present = columnIndexByFieldName(grid, name);
            if (present != i)
                grid.moveColumn(present, i);
        }
    }
}
