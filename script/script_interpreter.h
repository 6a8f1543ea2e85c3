#pragma once

#include "script/command_list.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace fb {
class Attachment;
class Transaction;
class Statement;
} // namespace fb

// The script language of the SQL console, without a window: command lines such as "ExecSQL()"
// followed by a body up to a line "^", run against one database.
//
// Statements of a script run in the script's transaction, committed at the end of the run and by
// "TransactionCommit()"; a failing line rolls back what is not committed and raises ScriptError.
// Variables live as long as the interpreter, so a later run sees those of an earlier one.
class ScriptInterpreter {
public:
    explicit ScriptInterpreter(fb::Attachment& database);
    ~ScriptInterpreter();
    ScriptInterpreter(const ScriptInterpreter&) = delete;
    ScriptInterpreter& operator=(const ScriptInterpreter&) = delete;

    // Runs the lines; on failure reports "Exception at line N" (0-based) and raises the error
    // again.
    void run(const QStringList& lines);

    // The 0-based index of the line being run (of the outermost script).
    int currentLine() const { return m_currentLine; }

    // Called after each line with its index and the number of lines.
    void setProgress(std::function<void(int line, int count)> progress) {
        m_progress = std::move(progress);
    }

    // Called with each note of a failed run, where it stopped ("Exception at line N", and for an
    // included file "Exception in file ... at line N" first), before the error passes on. Nothing
    // is shown without one: the interpreter has no windows.
    void setFailureReport(std::function<void(const QString& note)> report) {
        m_failureReport = std::move(report);
    }

    // Folder of the program, the base of "SetDirectory"; the program's folder by default.
    void setBaseFolder(const QString& folder) { m_baseFolder = folder; }

    // Splits a script text into lines (CR LF, LF or CR end a line).
    static QStringList splitLines(const QString& text);

    // Variable substitution of "$N" and "&Name&" references.
    QString substitute(const QString& text) const;

    QVariant numberedVariable(int index) const;
    QString namedVariable(const QString& name) const;

private:
    void registerCommands();
    void runLines(const QStringList& lines);
    void report(const QString& note) const;
    QStringList readBody();
    void execSql(const QString& sql);
    void rollbackQuietly() noexcept;
    void execOwnCommit(const QString& sql);
    qint64 nextGeneratorValue(const QString& table, int step);
    QString generatorFile(const QString& table) const;
    QString substituteNumbered(QString text) const;
    QString substituteNamed(QString text) const;
    void setVariable(const QString& name, const QString& value);
    bool findVariable(const QString& name, QString& value) const;

    // The commands.
    void cmdComment(const QString& args);
    void cmdExecSql(const QString& args);
    void cmdExecSqlSubst(const QString& args);
    void cmdExecSqlParams(const QString& args);
    void cmdSetBlobFieldValue(const QString& args);
    void cmdSetBlobFieldValueSubst(const QString& args);
    void cmdTransactionCommit(const QString& args);
    void cmdIncludeFile(const QString& args);
    void cmdSaveTableGenIdCode(const QString& args);
    void cmdSetDirectory(const QString& args);
    void cmdSetInactiveTriggers(const QString& args);
    void cmdSetActiveTriggers(const QString& args);
    void cmdGetGenerator(const QString& args);
    void cmdSetGenerator(const QString& args);
    void cmdSetVar(const QString& args);
    void setTriggersActive(const QString& table, bool active);
    void setBlobFieldValue(const QString& args);

    std::unique_ptr<fb::Transaction> m_updateTransaction;
    std::unique_ptr<fb::Transaction> m_selectTransaction;
    std::unique_ptr<fb::Statement> m_update;
    std::unique_ptr<fb::Statement> m_select;
    CommandList m_commands;

    QStringList m_lines;
    int m_currentLine = 0;
    QVariant m_keyValues[100];
    QList<QPair<QString, QString>> m_variables;
    QString m_directory;
    int m_includeDepth = 0;
    QString m_baseFolder;
    std::function<void(int, int)> m_progress;
    std::function<void(const QString&)> m_failureReport;
};
