#include "platform/firebird/services.h"

#include "platform/firebird/attachment.h"
#include "platform/firebird/database_location.h"
#include "platform/firebird/error.h"
#include "platform/firebird/param_block.h"

#include <QDeadlineTimer>

namespace fb::services {

namespace {

// An attachment to the service manager that serves a database path.
class ServiceManager final {
public:
    explicit ServiceManager(const DatabaseLocation& database) {
        const QByteArray name = database.onServer() ? encodePath(database.host()) + ":service_mgr"
                                                    : QByteArray("service_mgr");
        ParamBlock spb(isc_spb_version);
        spb.addTag(isc_spb_current_version);
        spb.addString(isc_spb_user_name, Attachment::kUser);
        spb.addString(isc_spb_password, Attachment::kPassword);
        Status status;
        isc_service_attach(status, static_cast<unsigned short>(name.size()), name.constData(),
                           &m_handle, static_cast<unsigned short>(spb.size()), spb.data());
        if (failed(status)) {
            m_handle = 0;
            throw errorFromStatus(status);
        }
    }
    ~ServiceManager() {
        Status status;
        isc_service_detach(status, &m_handle);
    }
    ServiceManager(const ServiceManager&) = delete;
    ServiceManager& operator=(const ServiceManager&) = delete;

    void start(const ParamBlock& request) {
        Status status;
        isc_service_start(status, &m_handle, nullptr, static_cast<unsigned short>(request.size()),
                          request.data());
        check(status);
    }

    // Reads the service's output line by line (and drops it) until the output ends; the
    // service has then finished. An error of the service comes back in the status vector.
    // Each query waits at most a second for output, so the time limit is looked at often.
    void waitUntilFinished(std::chrono::milliseconds timeLimit) {
        const QDeadlineTimer deadline(timeLimit);
        const char wait[] = {isc_info_svc_timeout, 4, 0, 1, 0, 0, 0};
        const char items[] = {isc_info_svc_line};
        char buffer[4096];
        for (;;) {
            if (deadline.hasExpired())
                throw Error(QStringLiteral("Служба базы данных не завершила работу за %1 с")
                                .arg(double(timeLimit.count()) / 1000));
            Status status;
            isc_service_query(status, &m_handle, nullptr, sizeof wait, wait, sizeof items, items,
                              sizeof buffer, buffer);
            check(status);
            if (serviceFinished(buffer, sizeof buffer))
                return;
        }
    }

private:
    isc_svc_handle m_handle = 0;
};

} // namespace

bool serviceFinished(const char* answer, int size) {
    if (size >= 1 && answer[0] == isc_info_truncated)
        return false;
    if (size < 3 || answer[0] != isc_info_svc_line)
        throw Error(QStringLiteral("Непонятный ответ службы базы данных (%1)").arg(int(answer[0])));
    if (isc_vax_integer(answer + 1, 2) > 0)
        return false;
    // No line: the output has ended, unless the answer says why nothing came yet.
    if (size == 3)
        return true;
    switch (answer[3]) {
    case isc_info_svc_timeout:
    case isc_info_data_not_ready:
    case isc_info_truncated:
        return false;
    default:
        return true;
    }
}

void backup(const QString& databasePath, const QString& backupFile,
            std::chrono::milliseconds timeLimit) {
    const DatabaseLocation database(databasePath);
    ServiceManager manager(database);
    ParamBlock request(isc_action_svc_backup);
    // The database as the service manager sees it: its file, without the host.
    request.addLongString(isc_spb_dbname, encodePath(database.file()));
    request.addLongString(isc_spb_bkp_file, encodePath(backupFile));
    manager.start(request);
    manager.waitUntilFinished(timeLimit);
}

void restore(const QString& backupFile, const QString& databasePath,
             std::chrono::milliseconds timeLimit) {
    const DatabaseLocation database(databasePath);
    ServiceManager manager(database);
    ParamBlock request(isc_action_svc_restore);
    request.addLongString(isc_spb_bkp_file, encodePath(backupFile));
    request.addLongString(isc_spb_dbname, encodePath(database.file()));
    request.addServiceInteger(isc_spb_options, isc_spb_res_replace | isc_spb_res_create);
    manager.start(request);
    manager.waitUntilFinished(timeLimit);
}

} // namespace fb::services
