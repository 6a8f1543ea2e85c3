#include "platform/firebird/data_set.h"

#include "core/exceptions.h"
#include "core/numbers.h"
#include "platform/firebird/value_text.h"

#include <QLocale>

#include <cmath>

namespace fb {

using value::DecimalPoint;

namespace {

QString decimalPoint() {
    return QLocale().decimalPoint();
}

// The number of places after the point of a picture such as "#0.00".
int decimalsOf(const QString& format) {
    const qsizetype dot = format.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return 0;
    int decimals = 0;
    for (qsizetype i = dot + 1; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('0') && format[i] != QLatin1Char('#'))
            break;
        ++decimals;
    }
    return decimals;
}

// Two decimals are an amount of money: rounded to kopecks as the amount in words is.
QString formattedFloat(double value, int decimals) {
    if (decimals == 2 && std::isfinite(value) && std::abs(value) < 1e15)
        return formatAmount(value);
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(QLatin1Char('-')) && text.toDouble() == 0)
        text.remove(0, 1); // no "-0.00"
    return text.replace(QLatin1Char('.'), decimalPoint());
}

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a == b;
}

bool sameValues(const std::vector<QVariant>& a, const std::vector<QVariant>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!sameValue(a[i], b[i]))
            return false;
    return true;
}

const QString kOldPrefix = QStringLiteral("OLD_");

// Rows read from the server at a time: the first screens of a grid, and each further batch.
constexpr int kFetchBatch = 200;

} // namespace

// --- DataField -----------------------------------------------------------------------------

QVariant DataField::value() const {
    return m_index < 0 ? QVariant() : m_dataSet->currentValue(m_index);
}

bool DataField::isNull() const {
    return value().isNull();
}

QString DataField::asString() const {
    return value::toString(value(), m_type, DecimalPoint::Locale);
}

qint64 DataField::asInteger() const {
    return value::toInteger(value(), m_type);
}

double DataField::asFloat() const {
    return value::toFloat(value(), m_type);
}

DateTime DataField::asDateTime() const {
    return value::toDateTime(value(), m_type);
}

QByteArray DataField::asBytes() const {
    return value::toBytes(value(), m_type, DecimalPoint::Locale);
}

QVariant DataField::oldValue() const {
    return m_index < 0 ? QVariant() : m_dataSet->originalValue(m_index);
}

void DataField::setAsString(const QString& value) {
    assign(converted(value, FieldType::String));
}

void DataField::setAsInteger(qint64 value) {
    assign(converted(value, FieldType::Integer));
}

void DataField::setAsFloat(double value) {
    assign(converted(value, FieldType::Float));
}

void DataField::setAsDateTime(DateTime value) {
    assign(converted(value, FieldType::DateTime));
}

void DataField::setAsBytes(const QByteArray& value) {
    assign(converted(value, FieldType::Blob));
}

void DataField::clear() {
    assign(QVariant());
}

QString DataField::displayText() const {
    return displayTextOf(value());
}

QString DataField::displayTextOf(const QVariant& value) const {
    if (m_onGetText)
        return m_onGetText(value);
    if (value.isNull())
        return {};
    const bool numeric = m_type == FieldType::Float || m_type == FieldType::Integer;
    if (numeric && !m_displayFormat.isEmpty())
        return formattedFloat(value.toDouble(), decimalsOf(m_displayFormat));
    return value::toString(value, m_type, DecimalPoint::Locale);
}

void DataField::assign(const QVariant& value) {
    m_dataSet->requireEditing();
    if (m_index < 0)
        throw ListError(QStringLiteral("Поле \"%1\" не найдено").arg(m_name));
    if (m_onValidate)
        m_onValidate(value);
    m_dataSet->storeValue(m_index, value);
    if (m_onChange)
        m_onChange(*this);
    emit m_dataSet->fieldChanged(m_name);
}

QVariant DataField::converted(const QVariant& value, FieldType from) const {
    return value::convert(value, from, m_type, DecimalPoint::Locale);
}

QVariant DataField::converted(const QVariant& value) const {
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::QString:
        return converted(value, FieldType::String);
    case QMetaType::QByteArray:
        return converted(value, FieldType::Blob);
    case QMetaType::Double:
    case QMetaType::Float:
        return converted(value, FieldType::Float);
    case QMetaType::QDateTime:
        return converted(datetime::encode(value.toDateTime()), FieldType::DateTime);
    case QMetaType::QDate:
        return converted(datetime::encode(value.toDate()), FieldType::DateTime);
    case QMetaType::Bool:
        return converted(value, FieldType::Boolean);
    default:
        return converted(value.toLongLong(), FieldType::Integer);
    }
}

// --- DataSet -------------------------------------------------------------------------------

// Announces a change of the rows as a whole, and its end however the change ends.
class DataSet::RowsChange final {
public:
    explicit RowsChange(DataSet& dataSet) : m_dataSet(dataSet) {
        emit m_dataSet.rowsAboutToChange();
    }
    ~RowsChange() { emit m_dataSet.rowsChanged(); }
    RowsChange(const RowsChange&) = delete;
    RowsChange& operator=(const RowsChange&) = delete;

private:
    DataSet& m_dataSet;
};

DataSet::DataSet(Attachment& attachment, TransactionKind kind, QObject* parent)
    : QObject(parent), m_transaction(attachment, kind) {}

DataSet::~DataSet() = default;

void DataSet::setSQL(const QString& sql) {
    close();
    m_sql = sql;
    m_select.reset();
    m_params.clear();
    for (DataField* field : m_columns)
        field->m_index = -1;
    m_columns.clear();
}

void DataSet::setParam(const QString& name, const QVariant& value) {
    m_params[name.toUpper()] = ParamValue{value, false};
}

void DataSet::setParamDateTime(const QString& name, DateTime value) {
    m_params[name.toUpper()] = ParamValue{value, true};
}

void DataSet::clearParams() {
    m_params.clear();
}

void DataSet::prepare() {
    if (m_select)
        return;
    m_transaction.ensureStarted();
    auto select = std::make_unique<Statement>(m_transaction);
    select->prepare(m_sql, ParamMode::Named);
    m_select = std::move(select);

    // A name that occurs twice (O.PRKEY and P.PRKEY) gets "_1", "_2" on its later columns.
    for (int i = 0; i < m_select->fieldCount(); ++i) {
        const Field column = m_select->field(i);
        QString name = column.name();
        for (int n = 1; fieldIndex(name) >= 0; ++n)
            name = column.name() + QStringLiteral("_%1").arg(n);
        std::unique_ptr<DataField>& slot = m_fieldsByName[name.toUpper()];
        if (!slot)
            slot.reset(new DataField(*this, name));
        slot->m_type = column.type();
        slot->m_index = i;
        m_columns.push_back(slot.get());
    }
}

void DataSet::bindParams() {
    m_select->clearParams();
    for (auto it = m_params.cbegin(); it != m_params.cend(); ++it) {
        Param param = m_select->param(it.key());
        if (it->dateTime)
            param.setDateTime(it->value.toDouble());
        else
            param.setValue(it->value);
    }
}

void DataSet::open() {
    if (isActive())
        return;
    prepare();
    bindParams();
    {
        RowsChange change(*this);
        m_select->execute();
        m_fetching = true;
        m_rows = readRows(kFetchBatch);
        m_state = DataSetState::Browse;
        setCursor(m_rows.empty() ? -1 : 0, true, m_rows.empty());
    }
    emit stateChanged(m_state);
    emit recordChanged();
}

std::vector<DataSet::Row> DataSet::readRows(int limit) {
    std::vector<Row> rows;
    // A transaction ended elsewhere took the cursor with it.
    if (!m_transaction.isActive())
        m_fetching = false;
    try {
        while (m_fetching && (limit < 0 || int(rows.size()) < limit)) {
            if (!m_select->fetch()) {
                m_fetching = false;
                break;
            }
            // The statement's values come in the forms of the fields' types.
            rows.push_back(Row{m_select->takeRow(), {}, RowStatus::Unchanged});
        }
    } catch (...) {
        m_fetching = false;
        m_select->close();
        throw;
    }
    return rows;
}

void DataSet::appendRows(int limit) {
    std::vector<Row> rows = readRows(limit);
    if (rows.empty())
        return;
    const int first = fetchedCount();
    emit rowsAboutToBeAppended(first, first + int(rows.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    emit rowsAppended();
}

void DataSet::fetchMore() {
    appendRows(kFetchBatch);
}

void DataSet::fetchAll() {
    appendRows(-1);
}

void DataSet::fetchUpTo(int row) {
    while (m_fetching && row >= fetchedCount())
        fetchMore();
}

int DataSet::recordCount() {
    fetchAll();
    return fetchedCount();
}

QVariant DataSet::readColumn(const Field& column, FieldType type) const {
    if (column.isNull())
        return {};
    switch (type) {
    case FieldType::Integer:
        return column.asInteger();
    case FieldType::Float:
        return column.asFloat();
    case FieldType::DateTime:
        return column.asDateTime();
    case FieldType::Blob:
        return column.asBytes();
    case FieldType::Boolean:
        return column.asInteger() != 0;
    case FieldType::String:
    case FieldType::Null:
        break;
    }
    return column.asString();
}

void DataSet::close() {
    if (!isActive())
        return;
    {
        RowsChange change(*this);
        m_rows.clear();
        m_deleted.clear();
        m_beforeApply.reset();
        m_editBackup.clear();
        m_state = DataSetState::Inactive;
        setCursor(-1, true, true);
    }
    m_fetching = false;
    if (m_select)
        m_select->close();
    emit stateChanged(m_state);
    emit recordChanged();
}

void DataSet::requireActive() const {
    if (!isActive())
        throw Exception(QStringLiteral("Набор данных закрыт"));
}

void DataSet::requireEditing() const {
    requireActive();
    if (m_state != DataSetState::Edit && m_state != DataSetState::Insert)
        throw Exception(QStringLiteral("Набор данных не в режиме редактирования или добавления"));
}

void DataSet::setState(DataSetState state) {
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void DataSet::checkBrowseMode() {
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert)
        post();
}

void DataSet::setCursor(int row, bool bof, bool eof) {
    m_current = row;
    m_bof = bof;
    m_eof = eof;
}

void DataSet::first() {
    requireActive();
    checkBrowseMode();
    setCursor(isEmpty() ? -1 : 0, true, isEmpty());
    emit recordChanged();
}

void DataSet::next() {
    requireActive();
    checkBrowseMode();
    fetchUpTo(m_current + 1);
    if (m_current + 1 >= fetchedCount()) {
        m_eof = true;
        return;
    }
    setCursor(m_current + 1, false, false);
    emit recordChanged();
}

void DataSet::prior() {
    requireActive();
    checkBrowseMode();
    if (m_current <= 0) {
        m_bof = true;
        return;
    }
    setCursor(m_current - 1, false, false);
    emit recordChanged();
}

void DataSet::last() {
    requireActive();
    checkBrowseMode();
    fetchAll();
    setCursor(fetchedCount() - 1, isEmpty(), true);
    emit recordChanged();
}

void DataSet::moveTo(int row) {
    requireActive();
    checkBrowseMode();
    if (isEmpty())
        return;
    fetchUpTo(row);
    setCursor(qBound(0, row, fetchedCount() - 1), false, false);
    emit recordChanged();
}

bool DataSet::locate(const QString& fieldName, const QVariant& value) {
    requireActive();
    checkBrowseMode();
    const DataField& key = field(fieldName);
    const QVariant wanted = key.converted(value);
    for (int i = 0;; ++i) {
        fetchUpTo(i);
        if (i >= fetchedCount())
            break;
        if (sameValue(m_rows[i].values[key.m_index], wanted)) {
            setCursor(i, false, false);
            emit recordChanged();
            return true;
        }
    }
    return false;
}

int DataSet::fieldIndex(const QString& name) const {
    const auto it = m_fieldsByName.find(name.toUpper());
    return it == m_fieldsByName.end() ? -1 : it->second->m_index;
}

DataField& DataSet::field(const QString& name) {
    const int index = fieldIndex(name);
    if (index < 0)
        throw ListError(QStringLiteral("Поле \"%1\" не найдено").arg(name));
    return *m_columns[index];
}

DataField& DataSet::field(int index) {
    if (index < 0 || index >= fieldCount())
        throw ListError(QStringLiteral("Нет поля с номером %1").arg(index));
    return *m_columns[index];
}

QStringList DataSet::fieldNames() const {
    QStringList names;
    for (const DataField* field : m_columns)
        names << field->name();
    return names;
}

QVariant DataSet::value(int row, int fieldIndex) const {
    if (row < 0 || row >= fetchedCount() || fieldIndex < 0 || fieldIndex >= this->fieldCount())
        return {};
    return m_rows[row].values[fieldIndex];
}

QVariant DataSet::currentValue(int index) const {
    return value(m_current, index);
}

QVariant DataSet::originalValue(int index) const {
    if (m_current < 0 || index < 0 || index >= fieldCount())
        return {};
    return m_rows[m_current].originalValues()[index];
}

void DataSet::storeValue(int index, const QVariant& value) {
    m_rows[m_current].values[index] = value;
}

void DataSet::insert() {
    requireActive();
    checkBrowseMode();
    fetchAll(); // the new row comes after every row
    const int before = m_current;
    {
        RowsChange change(*this);
        Row row;
        row.values.assign(m_columns.size(), QVariant());
        row.original = row.values;
        row.status = RowStatus::Inserted;
        m_rows.push_back(std::move(row));
        setCursor(fetchedCount() - 1, false, false);
    }
    m_rowBeforeInsert = before;
    setState(DataSetState::Insert);
    emit recordChanged();
}

void DataSet::edit() {
    requireActive();
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert)
        return;
    if (isEmpty())
        throw Exception(QStringLiteral("Набор данных пуст"));
    Row& row = m_rows[m_current];
    if (row.original.empty())
        row.original = row.values;
    m_editBackup = row.values;
    setState(DataSetState::Edit);
}

void DataSet::post() {
    requireActive();
    if (m_state == DataSetState::Edit) {
        // A row only looked at, or changed back, stays as it was read: nothing to write.
        Row& row = m_rows[m_current];
        if (row.status == RowStatus::Unchanged && !sameValues(row.values, row.original))
            row.status = RowStatus::Modified;
        if (row.status == RowStatus::Unchanged)
            row.original.clear();
    } else if (m_state != DataSetState::Insert) {
        return;
    }
    m_editBackup.clear();
    setState(DataSetState::Browse);
    emit recordChanged();
}

void DataSet::cancel() {
    requireActive();
    if (m_state == DataSetState::Insert) {
        RowsChange change(*this);
        m_rows.erase(m_rows.begin() + m_current);
        if (isEmpty())
            setCursor(-1, true, true);
        else
            setCursor(qBound(0, m_rowBeforeInsert, fetchedCount() - 1), false, false);
    } else if (m_state == DataSetState::Edit) {
        m_rows[m_current].values = m_editBackup;
    } else {
        return;
    }
    m_editBackup.clear();
    setState(DataSetState::Browse);
    emit recordChanged();
}

void DataSet::remove() {
    requireActive();
    if (m_state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (isEmpty())
        throw Exception(QStringLiteral("Набор данных пуст"));
    if (m_state == DataSetState::Edit)
        m_rows[m_current].values = m_editBackup;
    m_editBackup.clear();
    {
        RowsChange change(*this);
        Row row = std::move(m_rows[m_current]);
        m_rows.erase(m_rows.begin() + m_current);
        if (row.status != RowStatus::Inserted)
            m_deleted.push_back(DeletedRow{std::move(row), m_current});
        if (isEmpty())
            setCursor(-1, true, true);
        else
            setCursor(qMin(m_current, fetchedCount() - 1), false, false);
    }
    setState(DataSetState::Browse);
    emit recordChanged();
}

bool DataSet::updatesPending() const {
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert || !m_deleted.empty())
        return true;
    for (const Row& row : m_rows) {
        if (row.status != RowStatus::Unchanged)
            return true;
    }
    return false;
}

void DataSet::applyUpdates() {
    requireActive();
    checkBrowseMode();
    if (!updatesPending())
        return;
    m_transaction.ensureStarted();
    Snapshot before{m_rows, m_deleted};
    for (const DeletedRow& deleted : m_deleted)
        runUpdate(m_deleteSQL, deleted.row, QStringLiteral("удаления"));
    std::vector<std::pair<int, std::vector<QVariant>>> refreshed;
    for (int i = 0; i < fetchedCount(); ++i) {
        const Row& row = m_rows[i];
        if (row.status == RowStatus::Unchanged)
            continue;
        if (row.status == RowStatus::Inserted)
            runUpdate(m_insertSQL, row, QStringLiteral("добавления"));
        else
            runUpdate(m_modifySQL, row, QStringLiteral("изменения"));
        std::vector<QVariant> values;
        if (refreshRow(row, values))
            refreshed.emplace_back(i, std::move(values));
    }

    // Every statement succeeded: the cache now matches the database, until a rollback.
    if (!m_beforeApply)
        m_beforeApply = std::move(before);
    if (!refreshed.empty()) {
        RowsChange change(*this);
        for (auto& [row, values] : refreshed)
            m_rows[row].values = std::move(values);
    }
    m_deleted.clear();
    for (Row& row : m_rows) {
        row.original.clear();
        row.status = RowStatus::Unchanged;
    }
    if (!refreshed.empty())
        emit recordChanged();
}

void DataSet::runUpdate(const QString& sql, const Row& row, const QString& what) {
    if (sql.trimmed().isEmpty())
        throw Exception(QStringLiteral("Не задан запрос %1 записи").arg(what));
    Statement statement(m_transaction, sql, ParamMode::Named);
    bindRow(statement, row);
    statement.execute();
    if (statement.type() == StatementType::Update && statement.rowsAffected() == 0)
        throw Exception(
            QStringLiteral("Запись не найдена: она изменена или удалена другим пользователем"));
}

bool DataSet::refreshRow(const Row& row, std::vector<QVariant>& values) {
    if (m_refreshSQL.trimmed().isEmpty())
        return false;
    Statement statement(m_transaction, m_refreshSQL, ParamMode::Named);
    bindRow(statement, row);
    statement.execute();
    if (!statement.fetch())
        return false;
    values = row.values;
    for (int i = 0; i < statement.fieldCount(); ++i) {
        const Field column = statement.field(i);
        const int index = fieldIndex(column.name());
        if (index >= 0)
            values[index] = readColumn(column, m_columns[index]->m_type);
    }
    statement.close();
    return true;
}

// :NAME takes the row's value of field NAME, :OLD_NAME the value it had in the database.
void DataSet::bindRow(Statement& statement, const Row& row) const {
    for (int i = 0; i < statement.paramCount(); ++i) {
        Param param = statement.param(i);
        const QString name = param.name();
        if (name.startsWith(kOldPrefix)) {
            const int index = fieldIndex(name.mid(kOldPrefix.size()));
            if (index >= 0) {
                bindValue(param, m_columns[index]->m_type, row.originalValues()[index]);
                continue;
            }
        }
        const int index = fieldIndex(name);
        if (index < 0)
            throw ListError(QStringLiteral("Поле \"%1\" не найдено").arg(name));
        bindValue(param, m_columns[index]->m_type, row.values[index]);
    }
}

void DataSet::bindValue(Param& param, FieldType type, const QVariant& value) const {
    if (value.isNull()) {
        param.setNull();
        return;
    }
    switch (type) {
    case FieldType::Integer:
        param.setInteger(value.toLongLong());
        break;
    case FieldType::Float:
        param.setFloat(value.toDouble());
        break;
    case FieldType::DateTime:
        param.setDateTime(value.toDouble());
        break;
    case FieldType::Blob:
        param.setBytes(value.toByteArray());
        break;
    case FieldType::Boolean:
        param.setInteger(value.toBool() ? 1 : 0);
        break;
    case FieldType::String:
    case FieldType::Null:
        param.setString(value.toString());
        break;
    }
}

void DataSet::cancelUpdates() {
    requireActive();
    cancel();
    {
        RowsChange change(*this);
        for (auto it = m_deleted.rbegin(); it != m_deleted.rend(); ++it) {
            const int position = qMin(it->position, fetchedCount());
            m_rows.insert(m_rows.begin() + position, std::move(it->row));
        }
        m_deleted.clear();
        std::erase_if(m_rows, [](const Row& row) { return row.status == RowStatus::Inserted; });
        for (Row& row : m_rows) {
            if (!row.original.empty())
                row.values = std::move(row.original);
            row.original.clear();
            row.status = RowStatus::Unchanged;
        }
        if (isEmpty())
            setCursor(-1, true, true);
        else
            setCursor(qBound(0, m_current, fetchedCount() - 1), false, false);
    }
    emit recordChanged();
}

void DataSet::commit() {
    m_transaction.commit();
    m_beforeApply.reset();
    close();
}

void DataSet::commitRetaining() {
    m_transaction.commitRetaining();
    m_beforeApply.reset();
}

void DataSet::rollback() {
    if (m_transaction.isActive())
        m_transaction.rollback();
    m_beforeApply.reset();
    close();
}

void DataSet::rollbackRetaining() {
    if (m_transaction.isActive())
        m_transaction.rollbackRetaining();
    restoreBeforeApply();
}

// The applied changes were undone in the database: they are pending again in the cache.
void DataSet::restoreBeforeApply() {
    if (!m_beforeApply)
        return;
    {
        RowsChange change(*this);
        m_rows = std::move(m_beforeApply->rows);
        m_deleted = std::move(m_beforeApply->deleted);
        setCursor(qMin(m_current, fetchedCount() - 1), m_bof, m_eof);
    }
    m_beforeApply.reset();
    emit recordChanged();
}

} // namespace fb
