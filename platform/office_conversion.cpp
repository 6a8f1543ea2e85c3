#include "platform/office_conversion.h"

#include "core/exceptions.h"
#include "platform/office.h"
#include "platform/work_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <unistd.h>

namespace {

const int kKillWaitMs = 5000;

// LibreOffice started as the leader of a process group of its own, so that stopping it stops
// the program it starts in turn too. Whatever of the group still runs when it is destroyed is
// killed.
class OfficeProcess {
public:
    OfficeProcess() {
        m_process.setChildProcessModifier([] { setpgid(0, 0); });
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardInputFile(QProcess::nullDevice());
        m_process.setProcessEnvironment(officeEnvironment());
    }
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;
    ~OfficeProcess() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        kill(-pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(kKillWaitMs);
    }

    QProcess& process() { return m_process; }

private:
    QProcess m_process;
};

// What LibreOffice wrote about a conversion that failed goes to standard error, named after the
// document; the user is told in one sentence.
void logOutput(const QString& source, const QString& output) {
    if (!output.isEmpty())
        qWarning("LibreOffice, документ %s:\n%s", qUtf8Printable(source), qUtf8Printable(output));
}

QString displayName(const QString& path) {
    return QStringLiteral("«%1»").arg(QFileInfo(path).fileName());
}

QString conversionFailure(const QString& source, QProcess& process) {
    const QString reason =
        process.exitStatus() == QProcess::CrashExit
            ? QStringLiteral("LibreOffice аварийно завершил работу")
            : QStringLiteral("LibreOffice завершился с ошибкой (код %1)").arg(process.exitCode());
    return QStringLiteral("Не удалось преобразовать документ %1: %2.")
        .arg(displayName(source), reason);
}

// Why a conversion that ended well wrote no file: LibreOffice says so when it could not open
// the source (and still ends with 0).
QString missingOutputReason(const QString& written, const QString& output) {
    if (written.contains(QLatin1String("source file could not be loaded")))
        return QStringLiteral("LibreOffice не смог его открыть");
    return QStringLiteral("LibreOffice не записал файл %1").arg(displayName(output));
}

QStringList conversionArguments(const QString& source, const QString& format,
                                const QString& targetFolder, const QString& profile) {
    return {QStringLiteral("--headless"),
            QStringLiteral("--norestore"),
            QStringLiteral("--nologo"),
            QStringLiteral("-env:UserInstallation=") + officeFileUrl(profile),
            QStringLiteral("--convert-to"),
            format,
            QStringLiteral("--outdir"),
            officeFileUrl(targetFolder),
            officeFileUrl(source)};
}

// Runs the conversion to its end; returns what LibreOffice wrote.
QString runConversion(const QString& program, const QStringList& arguments, const QString& source,
                      std::chrono::milliseconds timeLimit) {
    OfficeProcess office;
    QProcess& process = office.process();
    process.start(program, arguments);
    if (!process.waitForStarted())
        throw Exception(QStringLiteral("Не удалось запустить LibreOffice (%1): %2")
                            .arg(program, process.errorString()));
    const bool finished = process.waitForFinished(int(timeLimit.count()));
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    if (!finished) {
        logOutput(source, output);
        throw Exception(QStringLiteral("LibreOffice не закончил преобразование документа %1 за "
                                       "%2 с и был остановлен.")
                            .arg(displayName(source))
                            .arg(qMax<qint64>(1, timeLimit.count() / 1000)));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        logOutput(source, output);
        throw Exception(conversionFailure(source, process));
    }
    return output;
}

} // namespace

QString convertDocument(const QString& source, const QString& format, const QString& targetFolder,
                        std::chrono::milliseconds timeLimit) {
    const QString program = requiredOfficeProgram();
    const QFileInfo sourceInfo(source);
    const QString target = QFileInfo(targetFolder).absoluteFilePath();
    const QString output = QDir(target).filePath(sourceInfo.completeBaseName() + QLatin1Char('.') +
                                                 format.section(QLatin1Char(':'), 0, 0));
    QFile::remove(output);
    const WorkFolder profile;
    const QString written =
        runConversion(program,
                      conversionArguments(sourceInfo.absoluteFilePath(), format, target,
                                          profile.filePath(QStringLiteral("profile"))),
                      source, timeLimit);
    if (QFileInfo(output).size() <= 0) {
        logOutput(source, written);
        throw Exception(QStringLiteral("Не удалось преобразовать документ %1: %2.")
                            .arg(displayName(source), missingOutputReason(written, output)));
    }
    return output;
}
