#pragma once

#include "core/date_time.h"
#include "platform/firebird/value_text.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <ibase.h>
#include <memory>
#include <vector>

namespace fb {

class Transaction;
class Statement;

namespace detail {
class TransactionState;
} // namespace detail

// How the text of a statement is sent to the server.
enum class ParamMode {
    // ":NAME" parameters are rewritten to positional ones (see parseNamedParams).
    Named,
    // The text goes to the server untouched: PSQL bodies keep their ":VARIABLE" references;
    // any "?" markers are parameters known by index only.
    Untouched,
};

// What kind of statement the server prepared.
enum class StatementType { Select, Insert, Update, Delete, Ddl, ExecProcedure, Other };

// One parameter of a prepared statement; setting it affects every place the name occurs.
// A value set from a QString goes to the server as Windows-1251 text and the server converts it
// to the column's type; a character Windows-1251 cannot hold throws Exception.
// A blob parameter takes raw bytes as they are; a text set into a blob is encoded as Windows-1251.
// Values stay set until changed, clearParams() or the next prepare().
// A Param, like a Field, is a view that must not outlive its statement.
class Param final {
public:
    Param(const Param&) = delete;
    Param& operator=(const Param&) = delete;
    Param(Param&&) noexcept = default;
    Param& operator=(Param&&) noexcept = default;

    void setNull();
    void setString(const QString& value);
    void setInteger(qint64 value);
    void setFloat(double value);
    void setDateTime(DateTime value);
    void setBytes(const QByteArray& value);
    // Null, QString, integer types, double, QByteArray, QDateTime, QDate or bool; a DateTime
    // held as double in a QVariant is a float, use setDateTime for it.
    void setValue(const QVariant& value);

    QString name() const;

private:
    friend class Statement;
    Param(Statement& statement, int index) : m_statement(&statement), m_index(index) {}
    Statement* m_statement;
    int m_index;
};

// One column of the current row, read the way a DataField reads its value (fb::value), with
// "." as the decimal separator: a null value reads as "", 0, 0.0, 0 (date) or empty bytes;
// asString gives numbers with up to 15 digits ("12.5"), date-times as "dd.MM.yyyy" or, when
// the time is not midnight, "dd.MM.yyyy hh:mm:ss", booleans as "True" or "False"; CHAR keeps its
// padding. asFloat and asDateTime of a text accept the same forms (ConvertError otherwise).
class Field final {
public:
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;
    Field(Field&&) noexcept = default;
    Field& operator=(Field&&) noexcept = default;

    QString name() const; // the alias of the column, as the server gives it
    FieldType type() const;
    int blobSubType() const; // 0 binary, 1 text; only for blobs

    bool isNull() const;
    QString asString() const;   // text decoded from Windows-1251; a blob's bytes decoded
    QByteArray asBytes() const; // raw bytes of text and blobs; other types as asString in cp1251
    qint64 asInteger() const;   // floats rounded; text must hold an integer (ConvertError)
    double asFloat() const;
    DateTime asDateTime() const;
    QVariant
    asVariant() const; // null QVariant, qint64, double, QString, QDateTime, QByteArray, bool

private:
    friend class Statement;
    const QVariant& value() const;
    Field(const Statement& statement, int index) : m_statement(&statement), m_index(index) {}
    const Statement* m_statement;
    int m_index;
};

// A DSQL statement on one transaction, always in SQL dialect 1
// (double-quoted text is a string literal; DATE holds a date and a time).
//
// Usage:
//   fb::Statement q(tr);
//   q.prepare("SELECT LNAM FROM PARTS WHERE TYP=:TYP");
//   q.param("TYP").setInteger(1);
//   q.execute();
//   while (q.fetch())
//       list << q.field("LNAM").asString();
//
// prepare() and execute() start the transaction when it is not active. A prepared statement
// stays prepared across commits and can run again in the next transaction; an open cursor ends
// with its transaction. A statement whose Transaction is destroyed, or whose attachment is
// detached, throws fb::Error when it is used; after a new attach it can be prepared again.
// Moving a statement moves its prepared handle; the moved-from object is empty.
// Decimal numbers stored as double with a scale (dialect-1 NUMERIC(15,4)) read back rounded to
// that many decimals. Blob values are read whole at fetch. Errors throw fb::Error; a wrong
// parameter or field name or index throws ListError.
// Texts with PSQL bodies (CREATE TRIGGER, EXECUTE BLOCK) need ParamMode::Untouched.
class Statement final {
public:
    explicit Statement(Transaction& transaction);
    Statement(Transaction& transaction, const QString& sql, ParamMode mode = ParamMode::Named);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Prepares the text; the mode is kept for the next prepare calls too.
    void prepare(const QString& sql, ParamMode mode);
    void prepare(const QString& sql);
    void setParamMode(ParamMode mode) { m_mode = mode; }
    ParamMode paramMode() const { return m_mode; }
    bool isPrepared() const { return m_handle != 0; }
    const QString& sql() const { return m_sql; }
    StatementType type() const { return m_type; }

    // Parameters: in Named mode the distinct names in order of first use, in Untouched mode
    // one per "?" marker (names empty).
    int paramCount() const;
    int paramIndex(const QString& name) const; // -1 when there is no such parameter
    Param param(int index);
    Param param(const QString& name);
    void clearParams(); // every parameter back to null

    // Runs the statement. A select opens its cursor (fetch rows with fetch()); a singleton
    // EXECUTE PROCEDURE or statement with RETURNING gives its one row as the current row.
    void execute();
    // Moves to the next row; false after the last one (the cursor is then closed).
    bool fetch();
    // Closes an open cursor; does nothing otherwise.
    void close();
    bool isOpen() const { return m_cursorOpen; }
    // Number of rows inserted, updated or deleted by the last execute.
    qint64 rowsAffected() const;

    // Result columns of the prepared statement.
    int fieldCount() const;
    int fieldIndex(const QString& name) const; // -1 when there is no such column
    Field field(int index) const;
    Field field(const QString& name) const;
    QStringList fieldNames() const;
    // True when the current row holds values (after a fetch that returned true).
    bool hasRow() const { return m_hasRow; }
    // The values of the current row, each null or in the form of its field type (qint64,
    // double, also for date-times, QString, QByteArray or bool), moved out: the statement has
    // no current row after.
    std::vector<QVariant> takeRow();

    // The client handle, for the other classes of this layer.
    isc_stmt_handle* handle() { return &m_handle; }

private:
    friend class Param;
    friend class Field;
    struct Value;
    struct Column;
    struct InputSlot;

    detail::TransactionState& transaction();
    bool handleAlive() const;
    void requireLiveHandle() const;
    void freeHandle();
    void describeOutput();
    void describeInput();
    void setParamValue(int index, Value value);
    void bindInput();
    void bindSlot(InputSlot& slot, XSQLVAR& var, const Value& value);
    void readRow();
    QVariant readColumn(const Column& column);
    StatementType queryType();
    const QVariant& fieldValue(int index) const;
    const Column& column(int index) const;
    int requireParam(const QString& name) const;
    int requireField(const QString& name) const;

    std::shared_ptr<detail::TransactionState> m_transaction;
    isc_stmt_handle m_handle = 0;
    int m_generation = 0; // the connection's attach the handle belongs to
    QString m_sql;
    ParamMode m_mode = ParamMode::Named;
    StatementType m_type = StatementType::Other;
    QStringList m_paramNames;
    QList<int> m_positionToParam;
    std::vector<Value> m_paramValues;
    std::vector<InputSlot> m_inputs;
    std::vector<Column> m_columns;
    std::vector<QVariant> m_row;        // the current row, each value in the form of its field type
    std::unique_ptr<char[]> m_inSqlda;  // XSQLDA of the "?" markers
    std::unique_ptr<char[]> m_outSqlda; // XSQLDA of the result columns
    bool m_cursorOpen = false;
    bool m_hasRow = false;
};

} // namespace fb
