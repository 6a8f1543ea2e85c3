#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace testsupport {

// The warnings the program writes to standard error while it lives (they still go there too).
struct WarningLog {
    QStringList messages;
    WarningLog() {
        current = this;
        previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                if (type == QtWarningMsg && current)
                    current->messages << text;
                previous(type, context, text);
            });
    }
    ~WarningLog() {
        qInstallMessageHandler(previous);
        current = nullptr;
    }
    WarningLog(const WarningLog&) = delete;
    WarningLog& operator=(const WarningLog&) = delete;

    static inline WarningLog* current = nullptr;
    static inline QtMessageHandler previous = nullptr;
};

} // namespace testsupport
