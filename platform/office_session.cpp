#include "platform/office_session.h"

#include "core/exceptions.h"
#include "core/file_operations.h"
#include "platform/office.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

const int kWatchIntervalMs = 400;

// The file of the folder in which the shell that runs LibreOffice notes how it ended.
const char kExitFile[] = "office-exit";

// Runs LibreOffice ("$2" and on) with its output on standard error and notes its exit status in
// the file "$1": the status of a program ended by a signal is 128 and the signal's number.
const char kRunAndNote[] = R"sh(exit_file=$1
shift
"$@" </dev/null 1>&2
echo $? > "$exit_file")sh";

} // namespace

OfficeSession::OfficeSession(std::unique_ptr<WorkFolder> folder, const QString& filePath,
                             QObject* parent, Opening opening)
    : QObject(parent), m_folder(std::move(folder)) {
    requireOfficeWindows();
    m_fileName = QFileInfo(filePath).fileName();
    m_program = officeProgram();
    const QString& program = m_program;
    const QString profile = m_folder->filePath(QStringLiteral("profile"));
    QProcess process;
    process.setProgram(QStringLiteral("/bin/sh"));
    QStringList arguments{QStringLiteral("-c"),
                          QString::fromLatin1(kRunAndNote),
                          QStringLiteral("sh"),
                          m_folder->filePath(QLatin1String(kExitFile)),
                          program,
                          QStringLiteral("--nologo"),
                          QStringLiteral("--norestore"),
                          QStringLiteral("-env:UserInstallation=") + officeFileUrl(profile)};
    if (opening == Opening::NewDocument)
        arguments << QStringLiteral("-n");
    process.setArguments(arguments << officeFileUrl(filePath));
    process.setWorkingDirectory(m_folder->path());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessEnvironment(officeEnvironment());
    if (!process.startDetached(&m_processId))
        throw Exception(QStringLiteral("Не удалось запустить LibreOffice (%1): %2")
                            .arg(program, process.errorString()));
    m_folder->setOwner(m_processId);
    connect(&m_watch, &QTimer::timeout, this, &OfficeSession::checkProcess);
    m_watch.start(kWatchIntervalMs);
}

OfficeSession* OfficeSession::open(std::unique_ptr<WorkFolder> folder, const QString& filePath,
                                   Opening opening) {
    auto* session =
        new OfficeSession(std::move(folder), filePath, QCoreApplication::instance(), opening);
    connect(session, &OfficeSession::ended, session, &QObject::deleteLater);
    return session;
}

void OfficeSession::checkProcess() {
    if (processRuns(m_processId))
        return;
    m_watch.stop();
    m_ended = true;
    m_failure = readFailure();
    emit ended();
}

// A status that was not noted (the shell itself was ended) says nothing either way.
QString OfficeSession::readFailure() const {
    QFile file(m_folder->filePath(QLatin1String(kExitFile)));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    bool ok = false;
    const int status = file.readAll().trimmed().toInt(&ok);
    if (!ok || status == 0)
        return QString();
    // The shell's own statuses: the program not found, or found and not runnable.
    if (status == 126 || status == 127)
        return QStringLiteral("Не удалось запустить LibreOffice (%1) для документа «%2».")
            .arg(m_program, m_fileName);
    if (status > 128)
        return QStringLiteral("LibreOffice аварийно завершил работу с документом «%1».")
            .arg(m_fileName);
    return QStringLiteral("LibreOffice завершился с ошибкой (код %1) при работе с документом "
                          "«%2».")
        .arg(status)
        .arg(m_fileName);
}
