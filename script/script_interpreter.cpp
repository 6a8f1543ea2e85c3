#include "script/script_interpreter.h"

#include "core/cp1251.h"
#include "core/exceptions.h"
#include "core/numbers.h"
#include "platform/firebird/attachment.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "script/delimited_string.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

constexpr int kMaxVariables = 256;
constexpr int kNumberedVariables = 100;
constexpr int kMaxReplacements = 10000;
constexpr int kMaxIncludeDepth = 16;

using Handler = void (ScriptInterpreter::*)(const QString&);

// Parameter checking is a setting of one statement: whatever happens, the statement goes back to
// the mode it had.
class ParamModeGuard {
public:
    explicit ParamModeGuard(fb::Statement& statement)
        : m_statement(statement), m_mode(statement.paramMode()) {}
    ~ParamModeGuard() { m_statement.setParamMode(m_mode); }
    ParamModeGuard(const ParamModeGuard&) = delete;
    ParamModeGuard& operator=(const ParamModeGuard&) = delete;

private:
    fb::Statement& m_statement;
    fb::ParamMode m_mode;
};

// A line without the blanks and control characters around it, so that a line of them (a Ctrl-Z
// end-of-file mark among them) is empty and "^" among them closes a body.
QString trimmedLine(const QString& line) {
    auto blank = [](QChar c) { return c.unicode() <= 0x20 || c.isSpace(); };
    qsizetype start = 0;
    qsizetype end = line.size();
    while (start < end && blank(line[start]))
        ++start;
    while (end > start && blank(line[end - 1]))
        --end;
    return line.mid(start, end - start);
}

QString readTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается открыть файл \"%1\"").arg(path));
    return cp1251::decode(file.readAll());
}

} // namespace

ScriptInterpreter::ScriptInterpreter(fb::Attachment& database)
    : m_updateTransaction(std::make_unique<fb::Transaction>(database)),
      m_selectTransaction(std::make_unique<fb::Transaction>(database)),
      m_update(std::make_unique<fb::Statement>(*m_updateTransaction)),
      m_select(std::make_unique<fb::Statement>(*m_selectTransaction)),
      m_baseFolder(QCoreApplication::applicationDirPath()) {
    m_update->setParamMode(fb::ParamMode::Untouched);
    m_select->setParamMode(fb::ParamMode::Untouched);
    registerCommands();
}

ScriptInterpreter::~ScriptInterpreter() = default;

void ScriptInterpreter::registerCommands() {
    const QList<QPair<QString, Handler>> table = {
        {QStringLiteral("Comment"), &ScriptInterpreter::cmdComment},
        {QStringLiteral("ExecSql"), &ScriptInterpreter::cmdExecSql},
        {QStringLiteral("ExecSql$"), &ScriptInterpreter::cmdExecSqlSubst},
        {QStringLiteral("ExecSqlParams"), &ScriptInterpreter::cmdExecSqlParams},
        {QStringLiteral("SetBlobFieldValue"), &ScriptInterpreter::cmdSetBlobFieldValue},
        {QStringLiteral("SetBlobFieldValue$"), &ScriptInterpreter::cmdSetBlobFieldValueSubst},
        {QStringLiteral("TransactionCommit"), &ScriptInterpreter::cmdTransactionCommit},
        {QStringLiteral("IncludeFile"), &ScriptInterpreter::cmdIncludeFile},
        {QStringLiteral("SaveTableGenIdCode"), &ScriptInterpreter::cmdSaveTableGenIdCode},
        {QStringLiteral("SetDirectory"), &ScriptInterpreter::cmdSetDirectory},
        {QStringLiteral("Dir"), &ScriptInterpreter::cmdSetDirectory},
        {QStringLiteral("SetInactiveTriggers"), &ScriptInterpreter::cmdSetInactiveTriggers},
        {QStringLiteral("SetActiveTriggers"), &ScriptInterpreter::cmdSetActiveTriggers},
        {QStringLiteral("GetGenerator"), &ScriptInterpreter::cmdGetGenerator},
        {QStringLiteral("SetGenerator"), &ScriptInterpreter::cmdSetGenerator},
        {QStringLiteral("SetVar"), &ScriptInterpreter::cmdSetVar},
    };
    for (const auto& [name, handler] : table)
        m_commands.registerCommand(name,
                                   [this, h = handler](const QString& args) { (this->*h)(args); });
}

QStringList ScriptInterpreter::splitLines(const QString& text) {
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(lineEnd);
    // A text that ends with a line end has no further, empty line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void ScriptInterpreter::run(const QStringList& lines) {
    if (lines.isEmpty())
        return;
    m_lines = lines;
    m_currentLine = 0;
    try {
        m_updateTransaction->ensureStarted();
        runLines(lines);
        m_update->close();
        m_updateTransaction->commit();
    } catch (...) {
        rollbackQuietly();
        report(QStringLiteral("Exception at line %1").arg(m_currentLine));
        throw;
    }
    if (m_progress)
        m_progress(0, int(lines.size()));
}

void ScriptInterpreter::report(const QString& note) const {
    if (m_failureReport)
        m_failureReport(note);
}

void ScriptInterpreter::runLines(const QStringList& lines) {
    m_lines = lines;
    for (m_currentLine = 0; m_currentLine < m_lines.size(); ++m_currentLine) {
        const QString line = m_lines[m_currentLine];
        if (!trimmedLine(line).isEmpty())
            m_commands.executeLine(line);
        if (m_progress)
            m_progress(m_currentLine, int(m_lines.size()));
    }
}

// The lines after the current one up to a line that is "^" once trimmed; the runner goes on
// behind the "^". A body without "^" runs to the end of the script.
QStringList ScriptInterpreter::readBody() {
    QStringList body;
    int i = m_currentLine + 1;
    for (; i < m_lines.size(); ++i) {
        if (trimmedLine(m_lines[i]) == QLatin1String("^"))
            break;
        body << m_lines[i];
    }
    m_currentLine = i;
    return body;
}

void ScriptInterpreter::execSql(const QString& sql) {
    m_update->close();
    m_update->prepare(sql);
    m_updateTransaction->ensureStarted();
    m_update->execute();
    m_update->close();
}

void ScriptInterpreter::execOwnCommit(const QString& sql) {
    m_update->close();
    m_updateTransaction->ensureStarted();
    try {
        m_update->prepare(sql, fb::ParamMode::Untouched);
        m_update->execute();
        m_update->close();
        m_updateTransaction->commit();
    } catch (...) {
        rollbackQuietly();
        throw;
    }
    m_updateTransaction->start();
}

// Undoes what is not committed; a failure here must not hide the error being handled.
void ScriptInterpreter::rollbackQuietly() noexcept {
    try {
        m_update->close();
        if (m_updateTransaction->isActive())
            m_updateTransaction->rollback();
    } catch (...) {
    }
}

void ScriptInterpreter::cmdComment(const QString&) {
    readBody();
}

void ScriptInterpreter::cmdExecSql(const QString&) {
    const QString sql = readBody().join(QLatin1Char('\n'));
    m_update->setParamMode(fb::ParamMode::Untouched);
    execSql(sql);
}

void ScriptInterpreter::cmdExecSqlSubst(const QString&) {
    QStringList body = readBody();
    for (QString& line : body)
        line = substitute(line);
    execSql(body.join(QLatin1Char('\n')));
}

// Parameter checking is on for this one statement only, also when it fails.
void ScriptInterpreter::cmdExecSqlParams(const QString& args) {
    const QString sql = readBody().join(QLatin1Char('\n'));
    DelimitedString items(QStringLiteral(","));
    items.setText(args);
    ParamModeGuard guard(*m_update);
    m_update->close();
    m_update->prepare(sql, fb::ParamMode::Named);
    const int count = qMin(items.count(), m_update->paramCount());
    for (int i = 0; i < count; ++i)
        m_update->param(i).setString(items.item(i + 1));
    m_updateTransaction->ensureStarted();
    m_update->execute();
    m_update->close();
}

void ScriptInterpreter::setBlobFieldValue(const QString& args) {
    const QString table = CommandList::param(1, args);
    const QString field = CommandList::param(2, args);
    const int key = strToInt(CommandList::param(3, args).trimmed());
    QString value;
    for (const QString& line : readBody())
        value += line + QStringLiteral("\r\n");
    ParamModeGuard guard(*m_update);
    m_update->close();
    m_update->prepare(
        QStringLiteral("UPDATE %1\nSET %2=:VALUE\nWHERE PRKEY=:PRKEY").arg(table, field),
        fb::ParamMode::Named);
    m_update->param(QStringLiteral("PRKEY")).setInteger(key);
    m_update->param(QStringLiteral("VALUE")).setString(value);
    m_updateTransaction->ensureStarted();
    m_update->execute();
    m_update->close();
}

void ScriptInterpreter::cmdSetBlobFieldValue(const QString& args) {
    setBlobFieldValue(args);
}

void ScriptInterpreter::cmdSetBlobFieldValueSubst(const QString& args) {
    setBlobFieldValue(substitute(args));
}

void ScriptInterpreter::cmdTransactionCommit(const QString&) {
    m_update->close();
    if (m_updateTransaction->isActive())
        m_updateTransaction->commit();
    m_updateTransaction->start();
}

void ScriptInterpreter::cmdIncludeFile(const QString& args) {
    const QString fileName = CommandList::param(1, args);
    if (m_includeDepth >= kMaxIncludeDepth)
        throw Exception(QStringLiteral("Слишком глубокое вложение файлов: \"%1\"").arg(fileName));
    const QStringList saved = m_lines;
    const int savedLine = m_currentLine;
    ++m_includeDepth;
    try {
        runLines(splitLines(readTextFile(fileName)));
    } catch (...) {
        --m_includeDepth;
        report(
            QStringLiteral("Exception in file \"%1\" at line %2").arg(fileName).arg(m_currentLine));
        m_lines = saved;
        m_currentLine = savedLine;
        throw;
    }
    --m_includeDepth;
    m_lines = saved;
    m_currentLine = savedLine;
}

qint64 ScriptInterpreter::nextGeneratorValue(const QString& table, int step) {
    m_select->close();
    m_select->prepare(
        QStringLiteral("SELECT GEN_ID(%1_PRKEY_GEN,%2)\nFROM RDB$DATABASE").arg(table).arg(step),
        fb::ParamMode::Untouched);
    m_selectTransaction->ensureStarted();
    m_select->execute();
    if (!m_select->fetch())
        throw Exception(QStringLiteral("Генератор для таблицы %1 НЕ НАЙДЕН").arg(table));
    const qint64 value = m_select->field(0).asInteger();
    m_select->close();
    m_selectTransaction->commit();
    return value;
}

void ScriptInterpreter::cmdSaveTableGenIdCode(const QString& args) {
    const int n = strToInt(CommandList::param(1, args).trimmed());
    if (n < 0 || n >= kNumberedVariables)
        throw Exception(QStringLiteral("Номер переменной %1 вне диапазона 0..99").arg(n));
    m_keyValues[n] = nextGeneratorValue(CommandList::param(2, args), 1);
}

void ScriptInterpreter::cmdSetDirectory(const QString& args) {
    m_directory = QDir(m_baseFolder).filePath(CommandList::param(1, args));
    if (!QDir().mkpath(m_directory))
        throw Exception(QStringLiteral("Не могу создать папку ") + m_directory);
}

// Firebird 3 keeps system tables read-only: each user trigger of the table is switched by
// ALTER TRIGGER, in a commit of its own.
void ScriptInterpreter::setTriggersActive(const QString& table, bool active) {
    m_select->close();
    m_select->prepare(QStringLiteral("SELECT RDB$TRIGGER_NAME FROM RDB$TRIGGERS\n"
                                     "WHERE RDB$RELATION_NAME=:NAME\n"
                                     "AND COALESCE(RDB$SYSTEM_FLAG,0)=0"),
                      fb::ParamMode::Named);
    m_select->param(QStringLiteral("NAME")).setString(table.trimmed().toUpper());
    m_selectTransaction->ensureStarted();
    m_select->execute();
    QStringList triggers;
    while (m_select->fetch())
        triggers << m_select->field(0).asString().trimmed();
    m_select->close();
    m_selectTransaction->commit();
    m_select->setParamMode(fb::ParamMode::Untouched);
    for (const QString& trigger : triggers)
        execOwnCommit(
            QStringLiteral("ALTER TRIGGER %1 %2")
                .arg(trigger, active ? QStringLiteral("ACTIVE") : QStringLiteral("INACTIVE")));
}

void ScriptInterpreter::cmdSetInactiveTriggers(const QString& args) {
    setTriggersActive(CommandList::param(1, args), false);
}

void ScriptInterpreter::cmdSetActiveTriggers(const QString& args) {
    setTriggersActive(CommandList::param(1, args), true);
}

// Without "SetDirectory" the files go to the program's folder: Linux has no root of a current
// drive that a user may write to. The name is upper case, so "oper" and "OPER" meet.
QString ScriptInterpreter::generatorFile(const QString& table) const {
    const QString folder = m_directory.isEmpty() ? m_baseFolder : m_directory;
    return QDir(folder).filePath(table.trimmed().toUpper() + QStringLiteral(".gen"));
}

void ScriptInterpreter::cmdGetGenerator(const QString& args) {
    const QString table = CommandList::param(1, args);
    const qint64 value = nextGeneratorValue(table.toUpper(), 0);
    QFile file(generatorFile(table));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Exception(QStringLiteral("Не удается записать файл \"%1\"").arg(file.fileName()));
    file.write(QByteArray::number(value));
}

void ScriptInterpreter::cmdSetGenerator(const QString& args) {
    const QString table = CommandList::param(1, args);
    QFile file(generatorFile(table));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Файл генератора для таблицы %1 НЕ НАЙДЕН").arg(table));
    const QString text = QString::fromLatin1(file.readAll()).trimmed();
    bool ok = false;
    text.toLongLong(&ok);
    if (!ok)
        throw Exception(
            QStringLiteral("Значение генератора для таблицы %1 НЕ ПРАВИЛЬНОЕ").arg(table));
    execOwnCommit(QStringLiteral("SET GENERATOR %1_PRKEY_GEN TO %2").arg(table, text));
}

void ScriptInterpreter::setVariable(const QString& name, const QString& value) {
    for (auto& variable : m_variables) {
        if (variable.first == name) {
            variable.second = value;
            return;
        }
    }
    if (m_variables.size() >= kMaxVariables)
        throw Exception(QStringLiteral("Кол-во переменных превысило 255 !!!"));
    m_variables.append({name, value});
}

void ScriptInterpreter::cmdSetVar(const QString& args) {
    setVariable(CommandList::param(1, args), CommandList::param(2, args));
}

QVariant ScriptInterpreter::numberedVariable(int index) const {
    return index >= 0 && index < kNumberedVariables ? m_keyValues[index] : QVariant();
}

bool ScriptInterpreter::findVariable(const QString& name, QString& value) const {
    for (const auto& variable : m_variables) {
        if (variable.first == name) {
            value = variable.second;
            return true;
        }
    }
    return false;
}

QString ScriptInterpreter::namedVariable(const QString& name) const {
    QString value;
    findVariable(name, value);
    return value;
}

QString ScriptInterpreter::substituteNumbered(QString text) const {
    for (qsizetype p = text.indexOf(QLatin1Char('$')); p >= 0; p = text.indexOf(QLatin1Char('$'))) {
        qsizetype end = p + 1;
        while (end < text.size() && text[end].isDigit() && text[end].unicode() < 128)
            ++end;
        if (end == p + 1)
            throw ConvertError(QStringLiteral("'' is not a valid integer value"));
        const int n = text.mid(p + 1, end - p - 1).toInt();
        if (n >= kNumberedVariables)
            throw Exception(QStringLiteral("Номер переменной %1 вне диапазона 0..99").arg(n));
        if (!m_keyValues[n].isValid())
            throw Exception(QStringLiteral("Переменная $%1 не задана").arg(n));
        text.replace(p, end - p, QString::number(m_keyValues[n].toLongLong()));
    }
    return text;
}

// A value may hold a further reference; a reference that keeps coming back is refused.
QString ScriptInterpreter::substituteNamed(QString text) const {
    int replacements = 0;
    for (qsizetype p = text.indexOf(QLatin1Char('&')); p >= 0; p = text.indexOf(QLatin1Char('&'))) {
        const qsizetype q = text.indexOf(QLatin1Char('&'), p + 1);
        if (q < 0)
            throw Exception(QStringLiteral("Неправильное использование символа '&'"));
        const QString name = text.mid(p + 1, q - p - 1);
        QString value;
        if (!findVariable(name, value))
            throw Exception(QStringLiteral("Переменная %1 не найдена !!!").arg(name));
        if (++replacements > kMaxReplacements)
            throw Exception(QStringLiteral("Переменная %1 ссылается сама на себя").arg(name));
        text.replace(p, q - p + 1, value);
    }
    return text;
}

QString ScriptInterpreter::substitute(const QString& text) const {
    return substituteNamed(substituteNumbered(text));
}
