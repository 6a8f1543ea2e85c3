#include "platform/firebird/statement.h"

#include "core/cp1251.h"
#include "core/exceptions.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/blob.h"
#include "platform/firebird/error.h"
#include "platform/firebird/named_params.h"
#include "platform/firebird/timestamp.h"
#include "platform/firebird/transaction.h"
#include "platform/firebird/value_text.h"

#include <cmath>
#include <cstring>

namespace fb {

namespace {

constexpr unsigned short kDialect = 1;
constexpr short kCharsetNone = 0;
constexpr short kCharsetWin1251 = 52;
constexpr int kMaxText = 32767;

std::unique_ptr<char[]> makeSqlda(int count) {
    const int n = std::max(count, 1);
    auto storage = std::make_unique<char[]>(XSQLDA_LENGTH(n));
    std::memset(storage.get(), 0, XSQLDA_LENGTH(n));
    auto* sqlda = reinterpret_cast<XSQLDA*>(storage.get());
    sqlda->version = SQLDA_VERSION1;
    sqlda->sqln = static_cast<ISC_SHORT>(n);
    return storage;
}

XSQLDA* sqldaOf(const std::unique_ptr<char[]>& storage) {
    return reinterpret_cast<XSQLDA*>(storage.get());
}

int baseType(const XSQLVAR& var) {
    return var.sqltype & ~1;
}

double power10(int digits) {
    return std::pow(10.0, digits);
}

// Dialect-1 NUMERIC(15,4) is kept as a double; its scale says how many decimals it holds.
double roundToScale(double value, int scale) {
    if (scale >= 0)
        return value;
    const double factor = power10(-scale);
    return std::round(value * factor) / factor;
}

StatementType typeFromInfo(int code) {
    switch (code) {
    case isc_info_sql_stmt_select:
    case isc_info_sql_stmt_select_for_upd:
        return StatementType::Select;
    case isc_info_sql_stmt_insert:
        return StatementType::Insert;
    case isc_info_sql_stmt_update:
        return StatementType::Update;
    case isc_info_sql_stmt_delete:
        return StatementType::Delete;
    case isc_info_sql_stmt_ddl:
        return StatementType::Ddl;
    case isc_info_sql_stmt_exec_procedure:
        return StatementType::ExecProcedure;
    default:
        return StatementType::Other;
    }
}

} // namespace

// A parameter value as set by the caller. Text and blob contents are kept as bytes
// (Windows-1251 for text).
struct Statement::Value {
    enum class Kind { Null, Integer, Float, Text, Bytes, DateTime };
    Kind kind = Kind::Null;
    qint64 integer = 0;
    double number = 0;
    QByteArray bytes;

    bool isNumber() const {
        return kind == Kind::Integer || kind == Kind::Float || kind == Kind::DateTime;
    }
    // The text of a number or a date, as a text column reads it.
    QString numberText() const {
        if (kind == Kind::Integer)
            return value::toString(integer, FieldType::Integer, value::DecimalPoint::Dot);
        const FieldType type = kind == Kind::Float ? FieldType::Float : FieldType::DateTime;
        return value::toString(number, type, value::DecimalPoint::Dot);
    }
};

// One result column: its description and the buffer the client library fills.
struct Statement::Column {
    QString name;
    int sqlType = 0;
    int scale = 0;
    int subType = 0;
    int length = 0;
    std::unique_ptr<char[]> data;
    short indicator = 0;
};

// One "?" marker: its description and the storage of the value being sent.
struct Statement::InputSlot {
    int sqlType = 0;
    int subType = 0;
    int length = 0;
    std::unique_ptr<char[]> fixed; // numbers, dates, blob ids, and the place of a null
    QByteArray text;
    ISC_QUAD blobId{};
    short indicator = 0;
};

// --- Param ---------------------------------------------------------------------------------

void Param::setNull() {
    m_statement->setParamValue(m_index, {});
}

void Param::setString(const QString& value) {
    Statement::Value v;
    v.kind = Statement::Value::Kind::Text;
    try {
        v.bytes = cp1251::encode(value);
    } catch (const Exception& e) {
        throw Exception(QStringLiteral("Параметр %1: %2").arg(name(), e.message()));
    }
    m_statement->setParamValue(m_index, std::move(v));
}

void Param::setInteger(qint64 value) {
    Statement::Value v;
    v.kind = Statement::Value::Kind::Integer;
    v.integer = value;
    m_statement->setParamValue(m_index, std::move(v));
}

void Param::setFloat(double value) {
    Statement::Value v;
    v.kind = Statement::Value::Kind::Float;
    v.number = value;
    m_statement->setParamValue(m_index, std::move(v));
}

void Param::setDateTime(DateTime value) {
    Statement::Value v;
    v.kind = Statement::Value::Kind::DateTime;
    v.number = value;
    m_statement->setParamValue(m_index, std::move(v));
}

void Param::setBytes(const QByteArray& value) {
    Statement::Value v;
    v.kind = Statement::Value::Kind::Bytes;
    v.bytes = value;
    m_statement->setParamValue(m_index, std::move(v));
}

void Param::setValue(const QVariant& value) {
    if (value.isNull()) {
        setNull();
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString:
        setString(value.toString());
        break;
    case QMetaType::QByteArray:
        setBytes(value.toByteArray());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        setFloat(value.toDouble());
        break;
    case QMetaType::QDateTime:
        setDateTime(datetime::encode(value.toDateTime()));
        break;
    case QMetaType::QDate:
        setDateTime(datetime::encode(value.toDate()));
        break;
    case QMetaType::Bool:
        setInteger(value.toBool() ? 1 : 0);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
    case QMetaType::UShort:
        setInteger(value.toLongLong());
        break;
    default:
        throw ConvertError(QStringLiteral("Параметр %1: значение типа %2 не поддерживается")
                               .arg(name(), QLatin1String(value.typeName())));
    }
}

QString Param::name() const {
    return m_statement->m_paramNames.value(m_index);
}

// --- Field ---------------------------------------------------------------------------------

QString Field::name() const {
    return m_statement->column(m_index).name;
}

FieldType Field::type() const {
    const Statement::Column& c = m_statement->column(m_index);
    switch (c.sqlType) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return c.scale < 0 ? FieldType::Float : FieldType::Integer;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return FieldType::Float;
    case SQL_TEXT:
    case SQL_VARYING:
        return FieldType::String;
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
        return FieldType::DateTime;
    case SQL_BLOB:
        return FieldType::Blob;
    case SQL_BOOLEAN:
        return FieldType::Boolean;
    default:
        return FieldType::Null;
    }
}

int Field::blobSubType() const {
    return m_statement->column(m_index).subType;
}

const QVariant& Field::value() const {
    return m_statement->fieldValue(m_index);
}

bool Field::isNull() const {
    return value().isNull();
}

QString Field::asString() const {
    return value::toString(value(), type(), value::DecimalPoint::Dot);
}

QByteArray Field::asBytes() const {
    return value::toBytes(value(), type(), value::DecimalPoint::Dot);
}

qint64 Field::asInteger() const {
    return value::toInteger(value(), type());
}

double Field::asFloat() const {
    return value::toFloat(value(), type());
}

DateTime Field::asDateTime() const {
    return value::toDateTime(value(), type());
}

QVariant Field::asVariant() const {
    if (type() == FieldType::DateTime && !isNull())
        return datetime::decode(value().toDouble());
    return value();
}

// --- Statement -----------------------------------------------------------------------------

Statement::Statement(Transaction& transaction) {
    transaction.state(); // throws for a moved-from transaction
    m_transaction = transaction.m_state;
}

Statement::Statement(Transaction& transaction, const QString& sql, ParamMode mode)
    : Statement(transaction) {
    prepare(sql, mode);
}

Statement::~Statement() {
    freeHandle();
}

Statement::Statement(Statement&& other) noexcept {
    *this = std::move(other);
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this == &other)
        return *this;
    freeHandle();
    m_transaction = std::move(other.m_transaction);
    m_handle = std::exchange(other.m_handle, 0);
    m_generation = other.m_generation;
    m_sql = std::move(other.m_sql);
    m_mode = other.m_mode;
    m_type = other.m_type;
    m_paramNames = std::move(other.m_paramNames);
    m_positionToParam = std::move(other.m_positionToParam);
    m_paramValues = std::move(other.m_paramValues);
    m_inputs = std::move(other.m_inputs);
    m_columns = std::move(other.m_columns);
    m_row = std::move(other.m_row);
    m_inSqlda = std::move(other.m_inSqlda);
    m_outSqlda = std::move(other.m_outSqlda);
    m_cursorOpen = std::exchange(other.m_cursorOpen, false);
    m_hasRow = std::exchange(other.m_hasRow, false);
    return *this;
}

detail::TransactionState& Statement::transaction() {
    if (!m_transaction)
        throw Error(QStringLiteral("Запрос пуст: его перенесли в другой объект"));
    return *m_transaction;
}

// The handle belongs to the connection it was prepared on and dies with it.
bool Statement::handleAlive() const {
    return m_handle != 0 && m_transaction && m_transaction->connectionOpen(m_generation);
}

void Statement::requireLiveHandle() const {
    if (!handleAlive())
        throw Error(
            QStringLiteral("Подключение к базе данных, в котором подготовлен запрос, закрыто"));
}

void Statement::freeHandle() {
    m_cursorOpen = false;
    m_hasRow = false;
    if (handleAlive()) {
        Status status;
        isc_dsql_free_statement(status, &m_handle, DSQL_drop);
    }
    // The handle is dropped either way: a failed free leaves nothing to retry.
    m_handle = 0;
}

void Statement::prepare(const QString& sql, ParamMode mode) {
    m_mode = mode;
    prepare(sql);
}

void Statement::prepare(const QString& sql) {
    freeHandle();
    m_sql = sql;
    m_paramNames.clear();
    m_positionToParam.clear();
    m_paramValues.clear();
    m_inputs.clear();
    m_columns.clear();
    m_row.clear();

    QString text = sql;
    if (m_mode == ParamMode::Named) {
        ParsedSql parsed = parseNamedParams(sql);
        text = parsed.sql;
        m_paramNames = parsed.names;
        m_positionToParam = parsed.positionToName;
    }
    const QByteArray bytes = cp1251::encode(text);

    detail::TransactionState& tr = transaction();
    tr.ensureStarted();
    Status status;
    isc_dsql_allocate_statement(status, tr.databaseHandle(), &m_handle);
    check(status);
    m_generation = tr.generation();
    m_outSqlda = makeSqlda(1);
    isc_dsql_prepare(status, tr.handle(), &m_handle, 0, bytes.constData(), kDialect,
                     sqldaOf(m_outSqlda));
    if (failed(status)) {
        Error error = errorFromStatus(status);
        freeHandle();
        throw error;
    }
    try {
        m_type = queryType();
        describeOutput();
        describeInput();
    } catch (...) {
        freeHandle();
        throw;
    }
}

StatementType Statement::queryType() {
    const char items[] = {isc_info_sql_stmt_type};
    char buffer[16] = {};
    Status status;
    isc_dsql_sql_info(status, &m_handle, sizeof items, items, sizeof buffer, buffer);
    check(status);
    if (buffer[0] != isc_info_sql_stmt_type)
        return StatementType::Other;
    const short length = static_cast<short>(isc_vax_integer(buffer + 1, 2));
    return typeFromInfo(static_cast<int>(isc_vax_integer(buffer + 3, length)));
}

void Statement::describeOutput() {
    Status status;
    XSQLDA* sqlda = sqldaOf(m_outSqlda);
    if (sqlda->sqld > sqlda->sqln) {
        m_outSqlda = makeSqlda(sqlda->sqld);
        sqlda = sqldaOf(m_outSqlda);
        isc_dsql_describe(status, &m_handle, kDialect, sqlda);
        check(status);
    }
    m_columns.resize(sqlda->sqld);
    for (int i = 0; i < sqlda->sqld; ++i) {
        XSQLVAR& var = sqlda->sqlvar[i];
        Column& c = m_columns[i];
        c.name = cp1251::decode(QByteArray(var.aliasname, var.aliasname_length));
        c.sqlType = baseType(var);
        c.scale = var.sqlscale;
        c.subType = var.sqlsubtype;
        c.length = var.sqllen;
        if (c.sqlType == SQL_ARRAY)
            throw Error(QStringLiteral("Поле %1: массивы не поддерживаются").arg(c.name));
        const int size = var.sqllen + (c.sqlType == SQL_VARYING ? 2 : 0);
        c.data = std::make_unique<char[]>(std::max(size, 8));
        var.sqldata = c.data.get();
        var.sqlind = &c.indicator;
        var.sqltype = static_cast<ISC_SHORT>(c.sqlType | 1);
    }
}

void Statement::describeInput() {
    Status status;
    m_inSqlda = makeSqlda(1);
    isc_dsql_describe_bind(status, &m_handle, kDialect, sqldaOf(m_inSqlda));
    check(status);
    XSQLDA* sqlda = sqldaOf(m_inSqlda);
    if (sqlda->sqld > sqlda->sqln) {
        m_inSqlda = makeSqlda(sqlda->sqld);
        sqlda = sqldaOf(m_inSqlda);
        isc_dsql_describe_bind(status, &m_handle, kDialect, sqlda);
        check(status);
    }
    const int markers = sqlda->sqld;
    if (m_mode == ParamMode::Named && markers != m_positionToParam.size())
        throw Error(QStringLiteral("Число параметров запроса (%1) не совпадает с числом "
                                   "найденных в его тексте (%2)")
                        .arg(markers)
                        .arg(m_positionToParam.size()));
    if (m_mode == ParamMode::Untouched) {
        for (int i = 0; i < markers; ++i) {
            m_paramNames.append(QString());
            m_positionToParam.append(i);
        }
    }
    m_inputs.resize(markers);
    for (int i = 0; i < markers; ++i) {
        const XSQLVAR& var = sqlda->sqlvar[i];
        InputSlot& slot = m_inputs[i];
        slot.sqlType = baseType(var);
        slot.subType = var.sqlsubtype;
        slot.length = var.sqllen;
        slot.fixed = std::make_unique<char[]>(std::max(var.sqllen + 2, 16));
    }
    m_paramValues.assign(m_paramNames.size(), Value{});
}

int Statement::paramCount() const {
    return int(m_paramNames.size());
}

int Statement::paramIndex(const QString& name) const {
    if (name.isEmpty())
        return -1;
    return int(m_paramNames.indexOf(name.toUpper()));
}

int Statement::requireParam(const QString& name) const {
    const int index = paramIndex(name);
    if (index < 0)
        throw ListError(QStringLiteral("Параметр %1 не найден").arg(name));
    return index;
}

Param Statement::param(int index) {
    if (index < 0 || index >= paramCount())
        throw ListError(QStringLiteral("Нет параметра с номером %1").arg(index));
    return Param(*this, index);
}

Param Statement::param(const QString& name) {
    return Param(*this, requireParam(name));
}

void Statement::clearParams() {
    m_paramValues.assign(m_paramNames.size(), Value{});
}

void Statement::setParamValue(int index, Value value) {
    m_paramValues.at(static_cast<size_t>(index)) = std::move(value);
}

void Statement::bindSlot(InputSlot& slot, XSQLVAR& var, const Value& value) {
    var.sqlscale = 0;
    var.sqlind = &slot.indicator;
    slot.indicator = 0;
    Value v = value;
    // A blob takes its bytes as they are; numbers and dates go into a blob as their text.
    if (slot.sqlType == SQL_BLOB && v.isNumber()) {
        v.bytes = v.numberText().toLatin1();
        v.kind = Value::Kind::Text;
    }
    switch (v.kind) {
    case Value::Kind::Null:
        slot.indicator = -1;
        var.sqltype = static_cast<ISC_SHORT>(slot.sqlType | 1);
        var.sqlsubtype = static_cast<ISC_SHORT>(slot.subType);
        var.sqllen = static_cast<ISC_SHORT>(slot.length);
        var.sqldata = slot.fixed.get();
        return;
    case Value::Kind::Integer:
        var.sqltype = SQL_INT64 | 1;
        var.sqlsubtype = 0;
        var.sqllen = sizeof(ISC_INT64);
        std::memcpy(slot.fixed.get(), &v.integer, sizeof(ISC_INT64));
        var.sqldata = slot.fixed.get();
        return;
    case Value::Kind::Float:
        var.sqltype = SQL_DOUBLE | 1;
        var.sqlsubtype = 0;
        var.sqllen = sizeof(double);
        std::memcpy(slot.fixed.get(), &v.number, sizeof(double));
        var.sqldata = slot.fixed.get();
        return;
    case Value::Kind::DateTime: {
        const ISC_TIMESTAMP stamp = timestamp::fromDateTime(v.number);
        var.sqltype = SQL_TIMESTAMP | 1;
        var.sqlsubtype = 0;
        var.sqllen = sizeof(ISC_TIMESTAMP);
        std::memcpy(slot.fixed.get(), &stamp, sizeof stamp);
        var.sqldata = slot.fixed.get();
        return;
    }
    case Value::Kind::Text:
    case Value::Kind::Bytes:
        break;
    }
    if (slot.sqlType == SQL_BLOB) {
        slot.blobId =
            blob::write(m_transaction->databaseHandle(), m_transaction->handle(), v.bytes);
        var.sqltype = SQL_BLOB | 1;
        var.sqlsubtype = static_cast<ISC_SHORT>(slot.subType);
        var.sqllen = sizeof(ISC_QUAD);
        var.sqldata = reinterpret_cast<char*>(&slot.blobId);
        return;
    }
    if (v.bytes.size() > kMaxText)
        throw Error(
            QStringLiteral("Слишком длинное значение параметра (%1 байт)").arg(v.bytes.size()));
    slot.text = v.bytes;
    var.sqltype = SQL_TEXT | 1;
    var.sqlsubtype = v.kind == Value::Kind::Text ? kCharsetWin1251 : kCharsetNone;
    var.sqllen = static_cast<ISC_SHORT>(slot.text.size());
    // An empty text still needs a valid address.
    var.sqldata = slot.text.isEmpty() ? slot.fixed.get() : slot.text.data();
}

void Statement::bindInput() {
    XSQLDA* sqlda = sqldaOf(m_inSqlda);
    for (int i = 0; i < int(m_inputs.size()); ++i) {
        const Value& value = m_paramValues.at(static_cast<size_t>(m_positionToParam.at(i)));
        bindSlot(m_inputs[i], sqlda->sqlvar[i], value);
    }
}

void Statement::execute() {
    if (!isPrepared())
        throw Error(QStringLiteral("Запрос не подготовлен"));
    requireLiveHandle();
    close();
    m_transaction->ensureStarted();
    bindInput();
    const XSQLDA* in = m_inputs.empty() ? nullptr : sqldaOf(m_inSqlda);
    Status status;
    if (m_type != StatementType::Select && !m_columns.empty()) {
        isc_dsql_execute2(status, m_transaction->handle(), &m_handle, kDialect, in,
                          sqldaOf(m_outSqlda));
        check(status);
        readRow();
        m_hasRow = true;
        return;
    }
    isc_dsql_execute(status, m_transaction->handle(), &m_handle, kDialect, in);
    check(status);
    m_cursorOpen = m_type == StatementType::Select;
}

bool Statement::fetch() {
    m_hasRow = false;
    if (!m_cursorOpen)
        return false;
    requireLiveHandle();
    Status status;
    const ISC_STATUS rc = isc_dsql_fetch(status, &m_handle, kDialect, sqldaOf(m_outSqlda));
    if (rc == 100) {
        close();
        return false;
    }
    check(status);
    readRow();
    m_hasRow = true;
    return true;
}

void Statement::close() {
    m_hasRow = false;
    if (!m_cursorOpen)
        return;
    m_cursorOpen = false;
    if (!handleAlive())
        return;
    Status status;
    isc_dsql_free_statement(status, &m_handle, DSQL_close);
    // When the transaction has ended, the server closed the cursor already.
    if (m_transaction->isActive())
        check(status);
}

void Statement::readRow() {
    m_row.clear();
    m_row.reserve(m_columns.size());
    for (const Column& c : m_columns)
        m_row.push_back(readColumn(c));
}

// The value of one column of the fetched row, in the form of the column's field type.
QVariant Statement::readColumn(const Column& c) {
    if (c.indicator < 0 || c.sqlType == SQL_NULL)
        return {};
    const char* data = c.data.get();
    auto scaled = [&](qint64 raw) -> QVariant {
        if (c.scale < 0)
            return roundToScale(double(raw) / power10(-c.scale), c.scale);
        return c.scale > 0 ? raw * qint64(power10(c.scale)) : raw;
    };
    switch (c.sqlType) {
    case SQL_SHORT: {
        ISC_SHORT x;
        std::memcpy(&x, data, sizeof x);
        return scaled(x);
    }
    case SQL_LONG: {
        ISC_LONG x;
        std::memcpy(&x, data, sizeof x);
        return scaled(x);
    }
    case SQL_INT64: {
        ISC_INT64 x;
        std::memcpy(&x, data, sizeof x);
        return scaled(x);
    }
    case SQL_FLOAT: {
        float x;
        std::memcpy(&x, data, sizeof x);
        return roundToScale(x, c.scale);
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        double x;
        std::memcpy(&x, data, sizeof x);
        return roundToScale(x, c.scale);
    }
    case SQL_TEXT:
        return cp1251::decode(data, c.length);
    case SQL_VARYING: {
        unsigned short length;
        std::memcpy(&length, data, sizeof length);
        return cp1251::decode(data + 2, length);
    }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP x;
        std::memcpy(&x, data, sizeof x);
        return timestamp::toDateTime(x);
    }
    case SQL_TYPE_DATE: {
        ISC_DATE x;
        std::memcpy(&x, data, sizeof x);
        return timestamp::fromDate(x);
    }
    case SQL_TYPE_TIME: {
        ISC_TIME x;
        std::memcpy(&x, data, sizeof x);
        return timestamp::fromTime(x);
    }
    case SQL_BOOLEAN:
        return data[0] != 0;
    case SQL_BLOB: {
        ISC_QUAD id;
        std::memcpy(&id, data, sizeof id);
        return blob::read(m_transaction->databaseHandle(), m_transaction->handle(), id);
    }
    default:
        throw Error(QStringLiteral("Поле %1: тип %2 не поддерживается").arg(c.name).arg(c.sqlType));
    }
}

qint64 Statement::rowsAffected() const {
    if (!isPrepared())
        return 0;
    requireLiveHandle();
    const char items[] = {isc_info_sql_records};
    char buffer[64] = {};
    Status status;
    auto* handle = const_cast<isc_stmt_handle*>(&m_handle);
    isc_dsql_sql_info(status, handle, sizeof items, items, sizeof buffer, buffer);
    check(status);
    if (buffer[0] != isc_info_sql_records)
        return 0;
    qint64 total = 0;
    const char* p = buffer + 3;
    while (p < buffer + sizeof buffer && *p != isc_info_end) {
        const char item = *p++;
        const short length = static_cast<short>(isc_vax_integer(p, 2));
        p += 2;
        const qint64 count = isc_vax_integer(p, length);
        p += length;
        if (item == isc_info_req_insert_count || item == isc_info_req_update_count ||
            item == isc_info_req_delete_count)
            total += count;
    }
    return total;
}

int Statement::fieldCount() const {
    return int(m_columns.size());
}

int Statement::fieldIndex(const QString& name) const {
    for (int i = 0; i < fieldCount(); ++i)
        if (m_columns[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Statement::requireField(const QString& name) const {
    const int index = fieldIndex(name);
    if (index < 0)
        throw ListError(QStringLiteral("Поле %1 не найдено").arg(name));
    return index;
}

Field Statement::field(int index) const {
    column(index);
    return Field(*this, index);
}

Field Statement::field(const QString& name) const {
    return Field(*this, requireField(name));
}

QStringList Statement::fieldNames() const {
    QStringList names;
    for (const Column& c : m_columns)
        names << c.name;
    return names;
}

const Statement::Column& Statement::column(int index) const {
    if (index < 0 || index >= fieldCount())
        throw ListError(QStringLiteral("Нет поля с номером %1").arg(index));
    return m_columns[index];
}

std::vector<QVariant> Statement::takeRow() {
    if (!m_hasRow)
        throw Error(QStringLiteral("Нет текущей строки результата"));
    m_hasRow = false;
    return std::move(m_row);
}

const QVariant& Statement::fieldValue(int index) const {
    column(index);
    if (!m_hasRow)
        throw Error(QStringLiteral("Нет текущей строки результата"));
    return m_row[index];
}

} // namespace fb
