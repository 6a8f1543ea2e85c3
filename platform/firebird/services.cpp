#include "platform/firebird/services.h"

#include "platform/firebird/attachment.h"
#include "platform/firebird/error.h"
#include "platform/firebird/param_block.h"

namespace fb::services {

namespace {

// An attachment to the service manager that serves a database path.
class ServiceManager final {
public:
    explicit ServiceManager(const QString& databasePath) {
        QString host, path;
        splitServerPath(databasePath, host, path);
        const QByteArray name =
            host.isEmpty() ? QByteArray("service_mgr") : encodePath(host) + ":service_mgr";
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
    void waitUntilFinished() {
        const char items[] = {isc_info_svc_line};
        char buffer[4096];
        for (;;) {
            Status status;
            isc_service_query(status, &m_handle, nullptr, 0, nullptr, sizeof items, items,
                              sizeof buffer, buffer);
            check(status);
            if (buffer[0] != isc_info_svc_line)
                return;
            const int length = static_cast<int>(isc_vax_integer(buffer + 1, 2));
            if (length == 0)
                return;
        }
    }

private:
    isc_svc_handle m_handle = 0;
};

// The database path as the service manager sees it: without the host part.
QByteArray localPath(const QString& databasePath) {
    QString host, path;
    splitServerPath(databasePath, host, path);
    return encodePath(path);
}

} // namespace

void backup(const QString& databasePath, const QString& backupFile) {
    ServiceManager manager(databasePath);
    ParamBlock request(isc_action_svc_backup);
    request.addLongString(isc_spb_dbname, localPath(databasePath));
    request.addLongString(isc_spb_bkp_file, encodePath(backupFile));
    manager.start(request);
    manager.waitUntilFinished();
}

void restore(const QString& backupFile, const QString& databasePath) {
    ServiceManager manager(databasePath);
    ParamBlock request(isc_action_svc_restore);
    request.addLongString(isc_spb_bkp_file, encodePath(backupFile));
    request.addLongString(isc_spb_dbname, localPath(databasePath));
    request.addServiceInteger(isc_spb_options, isc_spb_res_replace | isc_spb_res_create);
    manager.start(request);
    manager.waitUntilFinished();
}

} // namespace fb::services
