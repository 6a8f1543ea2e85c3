#include "util/DBGridUtil.h"

#include "platform/firebird/fbDataSet.h"
#include "platform/firebird/fbDataSetModel.h"
#include "store/dmDataStoreProto.h"
#include "util/SysUtPlus.h"
#include "util/uExceptions.h"

#include <QBrush>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// Adds what the dataset model does not know: the columns' colours and title alignments.
class ColumnsProxy : public QIdentityProxyModel {
public:
    ColumnsProxy(const QList<TGridColumn>& columns, QObject* parent)
        : QIdentityProxyModel(parent), m_columns(columns) {}

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::BackgroundRole && index.isValid() && index.column() < m_columns.size() &&
            m_columns[index.column()].Color.isValid())
            return QBrush(m_columns[index.column()].Color);
        return QIdentityProxyModel::data(index, role);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role == Qt::TextAlignmentRole && orientation == Qt::Horizontal && section >= 0 &&
            section < m_columns.size())
            return QVariant::fromValue(m_columns[section].Alignment | Qt::AlignVCenter);
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

private:
    const QList<TGridColumn>& m_columns;
};

QString layoutKey(const QString& ownerClassName, const QString& fieldName, const char* what) {
    return ownerClassName + QLatin1Char('|') + QLatin1String(TDBGrid::ClassName) + fieldName +
           QLatin1String(what);
}

// The integer stored under key; false when there is none or it is no number.
bool storedInteger(const QString& text, const QString& key, int& value) {
    bool ok = false;
    value = GetKeyValue(text, key).toInt(&ok);
    return ok;
}

} // namespace

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent), m_proxy(new ColumnsProxy(m_columns, this)) {
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
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TDBGrid::MoveDataSet);
}

TDBGrid::~TDBGrid() {
    m_proxy->setSourceModel(nullptr);
}

void TDBGrid::SetDataSet(fb::DataSet* dataSet) {
    m_dataSet = dataSet;
    ResetModel();
    if (!m_model)
        return;
    for (int i = 0; i < m_columns.size(); ++i) {
        m_model->addColumn(m_columns[i].FieldName, m_columns[i].Title,
                           m_columns[i].Alignment | Qt::AlignVCenter);
        ApplyColumn(i);
    }
    FollowDataSet();
}

const TGridColumn& TDBGrid::Column(int index) const {
    if (index < 0 || index >= m_columns.size())
        throw EListError(QStringLiteral("Индекс колонки вне диапазона (%1)").arg(index));
    return m_columns[LogicalIndex(index)];
}

int TDBGrid::ColumnWidth(int index) const {
    const TGridColumn& column = Column(index);
    if (!m_model)
        return column.Width;
    return horizontalHeader()->sectionSize(LogicalIndex(index));
}

void TDBGrid::SetColumnWidth(int index, int width) {
    Column(index); // range check
    if (m_model)
        horizontalHeader()->resizeSection(LogicalIndex(index), width);
    else
        m_columns[index].Width = width;
}

void TDBGrid::MoveColumn(int from, int to) {
    Column(from);
    Column(to);
    if (m_model)
        horizontalHeader()->moveSection(from, to);
    else
        m_columns.move(from, to);
}

void TDBGrid::AddColumn(const TGridColumn& column) {
    m_columns.append(column);
    if (!m_model)
        return;
    m_model->addColumn(column.FieldName, column.Title, column.Alignment | Qt::AlignVCenter);
    ApplyColumn(int(m_columns.size()) - 1);
    // The current row's selection takes in the new column (the first one gives it a cell).
    if (currentIndex().isValid())
        selectionModel()->select(currentIndex(),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        FollowDataSet();
}

void TDBGrid::ClearColumns() {
    m_columns.clear();
    ResetModel();
}

int TDBGrid::LogicalIndex(int index) const {
    return m_model ? horizontalHeader()->logicalIndex(index) : index;
}

void TDBGrid::ResetModel() {
    fb::DataSetModel* old = m_model;
    m_model = m_dataSet ? new fb::DataSetModel(*m_dataSet, this) : nullptr;
    if (m_model)
        connect(m_model, &fb::DataSetModel::currentRowChanged, this, &TDBGrid::FollowDataSet);
    m_proxy->setSourceModel(m_model);
    delete old;
}

void TDBGrid::ApplyColumn(int logical) {
    if (m_columns[logical].Width > 0)
        horizontalHeader()->resizeSection(logical, m_columns[logical].Width);
}

void TDBGrid::FollowDataSet() {
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

void TDBGrid::MoveDataSet(const QModelIndex& current) {
    if (m_dataSet && m_dataSet->isActive() && current.isValid() &&
        current.row() != m_dataSet->currentRow())
        m_dataSet->moveTo(current.row());
}

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit OpenRequested();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit OpenRequested();
}

void AddGridColumns(TDBGrid& grid, const QList<TGridColumn>& columns) {
    for (const TGridColumn& column : columns)
        grid.AddColumn(column);
}

void SetGridColumns(TDBGrid& grid, const QList<TGridColumn>& columns) {
    grid.ClearColumns();
    AddGridColumns(grid, columns);
}

int ColumnIndexByFieldName(const TDBGrid& grid, const QString& fieldName) {
    for (int i = 0; i < grid.ColumnCount(); ++i)
        if (grid.ColumnFieldName(i) == fieldName)
            return i;
    throw EListError(QStringLiteral("Не могу найти колонку!"));
}

void SaveGridColumns(const QString& ownerClassName, const TDBGrid& grid) {
    if (!dtmdlDataStoreProto)
        return;
    QString data = dtmdlDataStoreProto->GetUserData1();
    for (int i = 0; i < grid.ColumnCount(); ++i) {
        const QString field = grid.ColumnFieldName(i);
        data = SetKeyValue(data, layoutKey(ownerClassName, field, "Width"),
                           QString::number(grid.ColumnWidth(i)));
        data = SetKeyValue(data, layoutKey(ownerClassName, field, "Index"), QString::number(i));
    }
    dtmdlDataStoreProto->SetUserData1(data);
}

void RestoreGridColumns(const QString& ownerClassName, TDBGrid& grid) {
    if (!dtmdlDataStoreProto || grid.ColumnCount() == 0)
        return;
    const QString data = dtmdlDataStoreProto->GetUserData1();
    QStringList names;
    for (int i = 0; i < grid.ColumnCount(); ++i)
        names << grid.ColumnFieldName(i);

    // Positions are filled from the left, so the stored order comes back whole.
    for (int i = 0; i < names.size(); ++i) {
        int width = 0;
        if (storedInteger(data, layoutKey(ownerClassName, names[i], "Width"), width) && width > 0)
            grid.SetColumnWidth(ColumnIndexByFieldName(grid, names[i]), width);
        for (const QString& name : names) {
            int position = -1;
            if (!storedInteger(data, layoutKey(ownerClassName, name, "Index"), position) ||
                position != i)
                continue;
            const int present = ColumnIndexByFieldName(grid, name);
            if (present != i)
                grid.MoveColumn(present, i);
        }
    }
}
