// Every test program runs in a home of its own: HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME and
// XDG_DATA_HOME point into a temporary folder made before main() and removed after it, so that
// no test reads or writes the user's real home, config or cache (the embedded engine's root
// included). Processes a test starts inherit it. TMPDIR points there too: the temporary files
// and folders of a test stay in its own folder and go with it.
//
// The Firebird engine's lock files go there too (FIREBIRD_LOCK), not into the system's shared
// /tmp/firebird, which belongs to the "firebird" user once the server package is installed.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

namespace {

class PrivateHome {
public:
    PrivateHome() : m_dir(QDir::tempPath() + QStringLiteral("/kaltro-test-home-XXXXXX")) {
        if (!m_dir.isValid())
            std::abort();
        set("HOME", QString());
        set("XDG_CONFIG_HOME", QStringLiteral("/config"));
        set("XDG_CACHE_HOME", QStringLiteral("/cache"));
        set("XDG_DATA_HOME", QStringLiteral("/data"));
        set("FIREBIRD_LOCK", QStringLiteral("/firebird-lock"));
        set("TMPDIR", QStringLiteral("/tmp"));
    }

private:
    void set(const char* name, const QString& below) {
        const QString path = m_dir.path() + below;
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    }

    QTemporaryDir m_dir;
};

const PrivateHome privateHome;

} // namespace
