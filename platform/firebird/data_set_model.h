#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

namespace fb {

class DataSet;

// A read-only table model over a DataSet for the grids: one row per row the dataset has read
// (a view asks for more when it shows the last of them), the columns chosen by field name, each
// cell the field's display text (its get-text handler or display format). It follows the
// dataset: a reset when its rows change as a whole (open, close, insert, delete), rows added
// when it reads more, the current row's cells when a field is assigned or the row moves.
// Row r of the model is row r of the dataset; currentRow() and setCurrentRow() map the
// view's selection to the dataset's cursor and back.
class DataSetModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSetModel(DataSet& dataSet, QObject* parent = nullptr);

    // A column showing field `fieldName` under `title`. A name the dataset does not have (yet)
    // shows empty cells.
    void addColumn(const QString& fieldName, const QString& title,
                   Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
    QString columnField(int column) const;

    DataSet& dataSet() { return *m_dataSet; }
    int currentRow() const;      // -1 when the dataset has no rows
    void setCurrentRow(int row); // moves the dataset's cursor

    int rowCount(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The dataset's cursor stands on another row (or its values were reloaded).
    void currentRowChanged(int row);

private:
    struct Column {
        QString field;
        QString title;
        Qt::Alignment alignment;
    };

    void onRecordChanged();
    void refreshCurrentRow();

    DataSet* m_dataSet;
    QList<Column> m_columns;
};

} // namespace fb
