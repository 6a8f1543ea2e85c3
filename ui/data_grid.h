#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QTableView>

namespace fb {
class DataSet;
class DataSetModel;
} // namespace fb

class QIdentityProxyModel;

// One column description of a data grid; callers keep a constant table of them per grid.
struct GridColumn {
    QString fieldName;                       // the dataset field shown
    Qt::Alignment alignment = Qt::AlignLeft; // of the cells and of the title
    QString title;                           // the column's caption
    int width = 0;                           // pixels; 0 or less keeps the default width
    QColor color = QColor();                 // background; invalid keeps the grid's own
    Qt::Alignment titleAlignment = {};       // of the title alone; none: as the cells
};

// A data grid: the rows of a dataset, one line each, in columns bound to field names. The
// user may resize and drag the columns; the present position of a column (0 = leftmost) is
// its index here. Ctrl+End goes to the dataset's last row, whose rows the grid shows as the
// dataset reads them. Enter and a double click on a row emit openRequested; the grid does
// nothing else with them. The grid's selection follows the dataset's cursor and moves it.
//
//   DataGrid grid;
//   grid.setDataSet(&dataSet);
//   setGridColumns(grid, columns);
//   restoreGridColumns("TfrmOperBrowser", grid, userData);
class DataGrid : public QTableView {
    Q_OBJECT
public:
    // The class name stored in the users' layouts.
    static constexpr const char* kClassName = "TDBGrid";

    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    // The dataset shown (not owned; it must outlive the grid or be replaced). Setting it
    // builds the columns anew from their descriptions: set it before laying the columns out.
    void setDataSet(fb::DataSet* dataSet);
    fb::DataSet* dataSet() const { return m_dataSet; }
    fb::DataSetModel* dataSetModel() const { return m_model; }

    // Columns by their present position.
    int columnCount() const { return int(m_columns.size()); }
    const GridColumn& gridColumn(int index) const;
    QString columnFieldName(int index) const { return gridColumn(index).fieldName; }
    int columnWidthAt(int index) const;
    void setColumnWidthAt(int index, int width);
    // Moves the column at from to position to; the columns between shift by one.
    void moveColumn(int from, int to);
    void addColumn(const GridColumn& column);
    void clearColumns();

signals:
    void openRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private slots:
    // The user moved to another row: the dataset's cursor goes there.
    void onCurrentRowChanged(const QModelIndex& current);
    void onDataSetRowChanged();

private:
    int logicalIndex(int index) const;
    void resetModel();
    void applyColumnWidth(int logical);
    // Selects the row of the dataset's cursor.
    void followDataSet();

    fb::DataSet* m_dataSet = nullptr;
    fb::DataSetModel* m_model = nullptr;
    QIdentityProxyModel* m_proxy;
    QList<GridColumn> m_columns; // in the model's order
};

// Adds a column for each description, in order.
void addGridColumns(DataGrid& grid, const QList<GridColumn>& columns);
// Removes every column of the grid, then adds the described ones.
void setGridColumns(DataGrid& grid, const QList<GridColumn>& columns);
// The present position of the first column showing fieldName (exact, case-sensitive);
// ListError "Не могу найти колонку!" when none does.
int columnIndexByFieldName(const DataGrid& grid, const QString& fieldName);

// A user's column widths and order for the grid on the window whose layouts are kept under
// ownerClassName (the window's class name as books store it), in the user's data text under
// the keys ownerClassName + "|TDBGrid" + field name + "Width" / "Index". Other records of the
// text are kept.
void saveGridColumns(const QString& ownerClassName, const DataGrid& grid, QString& userData);
// Stored values that are missing, no number, or for fields the grid does not show are
// passed over.
void restoreGridColumns(const QString& ownerClassName, DataGrid& grid, const QString& userData);
