#include "platform/web_browser.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace {

QString openerInUse;

QString opener() {
    if (!openerInUse.isEmpty())
        return openerInUse;
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
}

} // namespace

void openWebAddress(const QString& address, QObject* context, std::function<void()> failed) {
    const QString program = opener();
    if (program.isEmpty()) {
        QTimer::singleShot(0, context, std::move(failed));
        return;
    }
    const QPointer<QObject> receiver(context);
    const auto fail = [receiver, failed] {
        if (receiver)
            failed();
    };
    // The opener may stay as long as the browser it starts; it goes once it has ended.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process,
                     [process, fail](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0)
                             fail();
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, fail](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         fail();
                         process->deleteLater();
                     });
    process->start(program, {address});
}

void setWebOpenerProgram(const QString& program) {
    openerInUse = program;
}
