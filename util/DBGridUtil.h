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
struct TGridColumn {
    QString FieldName;                       // the dataset field shown
    Qt::Alignment Alignment = Qt::AlignLeft; // of the cells and of the title
    QString Title;                           // the column's caption
    int Width = 0;                           // pixels; 0 or less keeps the default width
    QColor Color = QColor();                 // background; invalid keeps the grid's own
};

// A data grid: the rows of a dataset, one line each, in columns bound to field names. The
// user may resize and drag the columns; the present position of a column (0 = leftmost) is
// its index here. Enter and a double click on a row emit OpenRequested; the grid does
// nothing else with them. The grid's selection follows the dataset's cursor and moves it.
//
//   TDBGrid grid;
//   grid.SetDataSet(&dataSet);
//   SetGridColumns(grid, columns);
//   RestoreGridColumns("TfrmOperBrowser", grid);
class TDBGrid : public QTableView {
    Q_OBJECT
public:
    // The class name stored in the users' layouts.
    static constexpr const char* ClassName = "TDBGrid";

    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    // The dataset shown (not owned; it must outlive the grid or be replaced). Setting it
    // builds the columns anew from their descriptions: set it before laying the columns out.
    void SetDataSet(fb::DataSet* dataSet);
    fb::DataSet* DataSet() const { return m_dataSet; }
    fb::DataSetModel* DataSetModel() const { return m_model; }

    // Columns by their present position.
    int ColumnCount() const { return int(m_columns.size()); }
    const TGridColumn& Column(int index) const;
    QString ColumnFieldName(int index) const { return Column(index).FieldName; }
    int ColumnWidth(int index) const;
    void SetColumnWidth(int index, int width);
    // Moves the column at from to position to; the columns between shift by one.
    void MoveColumn(int from, int to);
    void AddColumn(const TGridColumn& column);
    void ClearColumns();

signals:
    void OpenRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int LogicalIndex(int index) const;
    void ResetModel();
    void ApplyColumn(int logical);
    void FollowDataSet();
    void MoveDataSet(const QModelIndex& current);

    fb::DataSet* m_dataSet = nullptr;
    fb::DataSetModel* m_model = nullptr;
    QIdentityProxyModel* m_proxy;
    QList<TGridColumn> m_columns; // in the model's order
};

// Adds a column for each description, in order.
void AddGridColumns(TDBGrid& grid, const QList<TGridColumn>& columns);
// Removes every column of the grid, then adds the described ones.
void SetGridColumns(TDBGrid& grid, const QList<TGridColumn>& columns);
// The present position of the first column showing fieldName (exact, case-sensitive);
// EListError "Не могу найти колонку!" when none does.
int ColumnIndexByFieldName(const TDBGrid& grid, const QString& fieldName);

// The logged-on user's column widths and order for the grid on a window of class
// ownerClassName, kept in the user's data text of the data store under the keys
// ownerClassName + "|TDBGrid" + field name + "Width" / "Index". Without a data store both
// do nothing.
void SaveGridColumns(const QString& ownerClassName, const TDBGrid& grid);
// Stored values that are missing, no number, or for fields the grid does not show are
// passed over.
void RestoreGridColumns(const QString& ownerClassName, TDBGrid& grid);
