#pragma once

#include <QByteArray>
#include <QMap>
#include <QtGlobal>

namespace testsupport {

// The locale variables of this process set to LANG=name alone while it lives, as a user's
// environment that LibreOffice inherits; then set back.
class LocaleOfTheUser {
public:
    explicit LocaleOfTheUser(const char* name) {
        for (const char* variable : {"LANG", "LC_ALL", "LC_CTYPE"}) {
            if (qEnvironmentVariableIsSet(variable))
                m_saved.insert(variable, qgetenv(variable));
            qunsetenv(variable);
        }
        qputenv("LANG", name);
    }
    ~LocaleOfTheUser() {
        qunsetenv("LANG");
        for (auto saved = m_saved.cbegin(); saved != m_saved.cend(); ++saved)
            qputenv(saved.key().constData(), saved.value());
    }
    LocaleOfTheUser(const LocaleOfTheUser&) = delete;
    LocaleOfTheUser& operator=(const LocaleOfTheUser&) = delete;

private:
    QMap<QByteArray, QByteArray> m_saved;
};

} // namespace testsupport
