#pragma once

#include "core/date_time.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"

#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace fb {

class Attachment;
class DataSet;

enum class DataSetState { Inactive, Browse, Insert, Edit };

// One column of a DataSet, reached by name: dataSet.field("SUM1").
//
// Values are held in one form per type; that form is what value(), oldValue(), the validate
// handler and DataSet::value() give: a null QVariant, or qint64 (Integer), double (Float),
// QString (String), double holding a DateTime (DateTime), QByteArray (Blob), bool (Boolean).
// It reads and converts the way a statement's Field does (fb::value), except that numbers as
// text take the decimal separator of the user's locale. A null value reads as "", 0, 0.0,
// 0 (date) or empty bytes.
//
// Assignments are allowed only in the insert and edit states. Each one converts the value to
// the field's type (a text that does not convert throws ConvertError), runs the validate
// handler (it refuses by throwing: the old value stays and the exception goes on to the
// caller), stores the value, runs the change handler and emits DataSet::fieldChanged.
// Fetching rows runs neither handler. Handlers and the display format stay with the field
// across close, open and a new SQL text that keeps the column.
class DataField final {
public:
    DataField(const DataField&) = delete;
    DataField& operator=(const DataField&) = delete;

    using GetTextHandler = std::function<QString(const QVariant& value)>;
    using ValidateHandler = std::function<void(const QVariant& newValue)>;
    using ChangeHandler = std::function<void(DataField& field)>;

    const QString& name() const { return m_name; }
    FieldType type() const { return m_type; }

    bool isNull() const;
    QVariant value() const;
    QString asString() const;
    qint64 asInteger() const; // floats rounded; text must hold an integer (ConvertError)
    double asFloat() const;
    DateTime asDateTime() const;
    QByteArray asBytes() const; // blobs as they are; text as Windows-1251
    // The value the row had in the database (before the cached changes); null for a new row.
    QVariant oldValue() const;

    // An empty text makes a non-text field null. Text fields refuse characters that
    // Windows-1251 cannot hold.
    void setAsString(const QString& value);
    void setAsInteger(qint64 value);
    void setAsFloat(double value);
    void setAsDateTime(DateTime value);
    void setAsBytes(const QByteArray& value);
    void clear(); // makes the field null

    // The text shown for the current value, or for any value of this field (a grid's cell):
    // the get-text handler when one is set, else the default text: "" for null, floats with
    // the display format when one is set (the decimals of "#0.00"), the locale's decimal
    // separator, dates as "dd.mm.yyyy" (with " hh:mm:ss" when the time is not midnight).
    QString displayText() const;
    QString displayTextOf(const QVariant& value) const;

    void setDisplayFormat(const QString& format) { m_displayFormat = format; }
    const QString& displayFormat() const { return m_displayFormat; }

    void setOnGetText(GetTextHandler handler) { m_onGetText = std::move(handler); }
    void setOnValidate(ValidateHandler handler) { m_onValidate = std::move(handler); }
    void setOnChange(ChangeHandler handler) { m_onChange = std::move(handler); }

private:
    friend class DataSet;
    DataField(DataSet& dataSet, QString name) : m_dataSet(&dataSet), m_name(std::move(name)) {}

    void assign(const QVariant& value);
    // A value in the field's own form, from a value of another type or of any kind.
    QVariant converted(const QVariant& value, FieldType from) const;
    QVariant converted(const QVariant& value) const;

    DataSet* m_dataSet;
    QString m_name;
    FieldType m_type = FieldType::Null;
    int m_index = -1; // column of the prepared statement; -1 when the SQL has no such column
    QString m_displayFormat;
    GetTextHandler m_onGetText;
    ValidateHandler m_onValidate;
    ChangeHandler m_onChange;
};

// Rows of a select, buffered in memory, with editing through cached updates: what the windows
// use for browsing and for editing rows.
//
//   fb::DataSet ds(attachment);
//   ds.setSQL("SELECT O.* FROM OPER O WHERE O.PRKEY=:PRKEY");
//   ds.setModifySQL("UPDATE OPER SET SUM1=:SUM1 WHERE PRKEY=:OLD_PRKEY");
//   ds.setParam("PRKEY", 10001);
//   ds.open();
//   ds.edit();
//   ds.field("SUM1").setAsFloat(12.5);
//   ds.post();                 // kept in the cache
//   ds.applyUpdates();         // runs the modify SQL in the dataset's transaction
//   ds.commitRetaining();
//
// Rows are read from the server as they are needed: open() reads the first batch, the rest
// come on fetchMore() or when something needs rows further on (moving past the rows read,
// last(), locate() of a value not among them, recordCount(), insert(), remove()); the select's
// cursor stays open meanwhile. A transaction ended without the dataset ends the reading: the
// rows read are then all there are. The cursor stands on one row (currentRow(), from 0);
// moving it while editing posts the row first. The dataset owns its transaction: it starts
// when needed; commit() and rollback() end it and close the dataset, the retaining kinds keep
// the rows. Errors of the database throw fb::Error; misuse (editing a closed or browsing
// dataset, an unknown field) throws Exception or ListError.
//
// Update SQL: the insert, modify and delete statements take :NAME parameters that are
// fields of the row (their current values) and :OLD_NAME parameters (the values the row had
// in the database). The optional refresh SQL, with the same parameters, re-reads a row
// after it was inserted or modified. applyUpdates() runs the statements for every changed
// row, deleted rows first; only when all of them succeed do the rows become clean. When one
// fails the exception goes to the caller and every change stays in the cache, so the caller
// may roll back retaining and try again. Rows made clean by an apply become pending again
// when the transaction is rolled back retaining before it commits (a failed commit loses no
// edit). A modify statement that finds no row (the row was changed or deleted by someone
// else) counts as a failure.
class DataSet final : public QObject {
    Q_OBJECT
public:
    explicit DataSet(Attachment& attachment, TransactionKind kind = TransactionKind::Write,
                     QObject* parent = nullptr);
    ~DataSet() override;

    // The select. Setting a new text closes the dataset and forgets the parameters.
    void setSQL(const QString& sql);
    const QString& sql() const { return m_sql; }
    // Parameter values for the next open; a name the select lacks throws ListError at open.
    // A DateTime is a double: pass it through setParamDateTime.
    void setParam(const QString& name, const QVariant& value);
    void setParamDateTime(const QString& name, DateTime value);
    void clearParams();

    void setInsertSQL(const QString& sql) { m_insertSQL = sql; }
    void setModifySQL(const QString& sql) { m_modifySQL = sql; }
    void setDeleteSQL(const QString& sql) { m_deleteSQL = sql; }
    void setRefreshSQL(const QString& sql) { m_refreshSQL = sql; }

    // Prepares the select and makes its fields, so handlers can be set before the first open.
    void prepare();
    // Runs the select and reads its first rows; the cursor goes to the first row.
    // Does nothing when the dataset is open already (close it to read again).
    void open();
    // Drops the rows and every change not applied yet.
    void close();
    bool isActive() const { return m_state != DataSetState::Inactive; }
    DataSetState state() const { return m_state; }

    // Cursor. eof() is true on an empty dataset, after last() and after next() on the last
    // row; bof() after first() and after prior() on the first row.
    void first();
    void next();
    void prior();
    void last();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return m_rows.empty(); }
    // Every row of the result: the rest is read first.
    int recordCount();
    // The rows read so far, and whether the select has more.
    int fetchedCount() const { return int(m_rows.size()); }
    bool canFetchMore() const { return m_fetching; }
    // Reads the next batch of rows, or every row left.
    void fetchMore();
    void fetchAll();
    int currentRow() const { return m_current; } // -1 when empty or closed
    void moveTo(int row);                        // clamped to the rows
    // Moves to the first row whose field equals the value (converted to the field's type);
    // stays where it is and returns false when there is none.
    bool locate(const QString& fieldName, const QVariant& value);

    // Fields of the prepared select, in the order of its columns.
    int fieldCount() const { return int(m_columns.size()); }
    int fieldIndex(const QString& name) const; // -1 when there is no such field
    DataField& field(const QString& name);     // ListError when there is no such field
    DataField& field(int index);
    QStringList fieldNames() const;
    // The value of one field of any row read (for grids); null outside them.
    QVariant value(int row, int fieldIndex) const;

    // Editing. insert() appends a new row with null fields; edit() does nothing while the row
    // is already being edited or inserted; post() keeps the row in the cache, to be written
    // by the next apply unless every value is still the one read (a row only looked at is not
    // written); cancel() undoes the edit or drops the new row; remove() deletes the current row
    // (a row being inserted is dropped, an edit is undone first).
    void insert();
    void edit();
    void post();
    void cancel();
    void remove();

    // Cached updates.
    bool updatesPending() const;
    void applyUpdates();  // posts a pending edit first
    void cancelUpdates(); // reverts every change not applied; cancels a pending edit

    // The owned transaction. Commit and roll back through the dataset.
    Transaction& transaction() { return m_transaction; }
    void commit();
    void commitRetaining();
    void rollback();
    void rollbackRetaining();

signals:
    void stateChanged(fb::DataSetState state);
    // The cursor moved to another row, or the current row's values were reloaded.
    void recordChanged();
    // A field of the current row was assigned.
    void fieldChanged(const QString& name);
    // The rows are about to change as a whole (open, close, insert, remove, cancel of an
    // insert, cancelUpdates, a refresh after apply), and have changed.
    void rowsAboutToChange();
    void rowsChanged();
    // Rows read after open() are appended: rows first to last.
    void rowsAboutToBeAppended(int first, int last);
    void rowsAppended();

private:
    friend class DataField;
    enum class RowStatus { Unchanged, Modified, Inserted };
    struct Row {
        std::vector<QVariant> values;
        // The values in the database, kept once the row is edited; empty while they are the
        // values.
        std::vector<QVariant> original;
        RowStatus status = RowStatus::Unchanged;
        const std::vector<QVariant>& originalValues() const {
            return original.empty() ? values : original;
        }
    };
    struct DeletedRow {
        Row row;
        int position;
    };
    class RowsChange;

    void requireActive() const;
    void requireEditing() const;
    void setState(DataSetState state);
    void checkBrowseMode();
    void setCursor(int row, bool bof, bool eof);
    QVariant currentValue(int index) const;
    QVariant originalValue(int index) const;
    void storeValue(int index, const QVariant& value);
    void bindParams();
    // Up to limit more rows of the select (all that are left for a negative limit).
    std::vector<Row> readRows(int limit);
    void appendRows(int limit);
    // Reads rows until row is among them or there are no more.
    void fetchUpTo(int row);
    QVariant readColumn(const Field& column, FieldType type) const;
    void runUpdate(const QString& sql, const Row& row, const QString& what);
    bool refreshRow(const Row& row, std::vector<QVariant>& values);
    void restoreBeforeApply();
    void bindRow(Statement& statement, const Row& row) const;
    void bindValue(Param& param, FieldType type, const QVariant& value) const;

    struct ParamValue {
        QVariant value;
        bool dateTime = false;
    };

    Transaction m_transaction;
    std::unique_ptr<Statement> m_select;
    QString m_sql;
    QString m_insertSQL;
    QString m_modifySQL;
    QString m_deleteSQL;
    QString m_refreshSQL;
    QMap<QString, ParamValue> m_params;

    std::map<QString, std::unique_ptr<DataField>> m_fieldsByName; // by upper-case name
    std::vector<DataField*> m_columns;

    DataSetState m_state = DataSetState::Inactive;
    std::vector<Row> m_rows;
    std::vector<DeletedRow> m_deleted;
    // The cache as it stood before an apply that is not committed yet: a rollback brings the
    // changes back as pending, so a save that failed at commit can be repeated.
    struct Snapshot {
        std::vector<Row> rows;
        std::vector<DeletedRow> deleted;
    };
    std::optional<Snapshot> m_beforeApply;
    std::vector<QVariant> m_editBackup;
    int m_current = -1;
    int m_rowBeforeInsert = -1;
    bool m_eof = true;
    bool m_bof = true;
    bool m_fetching = false; // the select's cursor has rows left to read
};

} // namespace fb
