#include "platform/office_session.h"

#include "core/exceptions.h"
#include "platform/office.h"

#include <QCoreApplication>
#include <QProcess>
#include <QUrl>

namespace {

const int kWatchIntervalMs = 400;

} // namespace

OfficeSession::OfficeSession(std::unique_ptr<WorkFolder> folder, const QString& filePath,
                             QObject* parent, Opening opening)
    : QObject(parent), m_folder(std::move(folder)) {
    requireOfficeWindows();
    const QString program = officeProgram();
    const QString profile = m_folder->filePath(QStringLiteral("profile"));
    QProcess process;
    process.setProgram(program);
    QStringList arguments{QStringLiteral("--nologo"), QStringLiteral("--norestore"),
                          QStringLiteral("-env:UserInstallation=") +
                              QUrl::fromLocalFile(profile).toString()};
    if (opening == Opening::NewDocument)
        arguments << QStringLiteral("-n");
    process.setArguments(arguments << filePath);
    process.setWorkingDirectory(m_folder->path());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached(&m_processId))
        throw Exception(QStringLiteral("Не удалось запустить LibreOffice (%1): %2")
                            .arg(program, process.errorString()));
    m_folder->setOwner(m_processId);
    connect(&m_watch, &QTimer::timeout, this, &OfficeSession::checkProcess);
    m_watch.start(kWatchIntervalMs);
}

void OfficeSession::open(std::unique_ptr<WorkFolder> folder, const QString& filePath,
                         Opening opening) {
    auto* session =
        new OfficeSession(std::move(folder), filePath, QCoreApplication::instance(), opening);
    connect(session, &OfficeSession::ended, session, &QObject::deleteLater);
}

void OfficeSession::checkProcess() {
    if (processRuns(m_processId))
        return;
    m_watch.stop();
    m_ended = true;
    emit ended();
}
