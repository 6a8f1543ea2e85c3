#include "platform/office.h"

#include "core/exceptions.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>
#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <optional>

namespace {

QString searchPathInUse;
std::optional<QString> knownProgram;

QString lookForOffice() {
    const QString program = QStringLiteral("soffice");
    if (searchPathInUse.isEmpty())
        return QStandardPaths::findExecutable(program);
    const QStringList folders = searchPathInUse.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    if (folders.isEmpty())
        return QString();
    return QStandardPaths::findExecutable(program, folders);
}

// The locale LibreOffice gets in place of one that would not read UTF-8 file names.
const char kUtf8Locale[] = "C.UTF-8";

// The variables that name the locale, all its categories or one of them.
const char* const kLocaleVariables[] = {
    "LC_ALL",     "LANG",         "LC_CTYPE",       "LC_NUMERIC",       "LC_TIME",
    "LC_COLLATE", "LC_MONETARY",  "LC_MESSAGES",    "LC_PAPER",         "LC_NAME",
    "LC_ADDRESS", "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"};

// The C library's locale of the name with the categories of mask; none (0) when this machine
// does not have it. An empty name would make it look at this process's own environment.
locale_t openLocale(const QString& name, int mask) {
    if (name.isEmpty())
        return locale_t(0);
    return newlocale(mask, name.toLatin1().constData(), locale_t(0));
}

bool isInstalledLocale(const QString& name) {
    const locale_t locale = openLocale(name, LC_ALL_MASK);
    if (locale == locale_t(0))
        return false;
    freelocale(locale);
    return true;
}

// Whether the locale name is installed here and encodes its text in UTF-8. The empty name is
// the locale "C", whose encoding is ASCII.
bool isUtf8Locale(const QString& name) {
    const locale_t locale = openLocale(name, LC_CTYPE_MASK);
    if (locale == locale_t(0))
        return false;
    const bool utf8 = std::strcmp(nl_langinfo_l(CODESET, locale), "UTF-8") == 0;
    freelocale(locale);
    return utf8;
}

// The locale of the character type under environment, as the C library takes it.
QString characterTypeLocale(const QProcessEnvironment& environment) {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QString value = environment.value(QLatin1String(name));
        if (!value.isEmpty())
            return value;
    }
    return QString();
}

} // namespace

bool officeAvailable() {
    return !officeProgram().isEmpty();
}

QString officeProgram() {
    if (!knownProgram)
        knownProgram = lookForOffice();
    return *knownProgram;
}

QString requiredOfficeProgram() {
    const QString program = officeProgram();
    if (program.isEmpty())
        throw Exception(QStringLiteral("Операция невозможна: на компьютере не найден LibreOffice "
                                       "(программа soffice). Установите LibreOffice и повторите "
                                       "попытку."));
    return program;
}

bool officeShowsWindows() {
    const QString program = officeProgram();
    if (program.isEmpty())
        return false;
    const QDir folder = QFileInfo(QFileInfo(program).canonicalFilePath()).dir();
    if (!folder.exists(QStringLiteral("soffice.bin")))
        return true;
    return !folder.entryList({QStringLiteral("libvclplug_*")}, QDir::Files).isEmpty();
}

void requireOfficeWindows() {
    requiredOfficeProgram();
    if (!officeShowsWindows())
        throw Exception(QStringLiteral(
            "Установленный LibreOffice работает без окон и не может показать документ. Чтобы "
            "просматривать и изменять печатные формы, установите LibreOffice с окнами (пакет "
            "libreoffice-writer)."));
}

void setOfficeSearchPath(const QString& searchPath) {
    searchPathInUse = searchPath;
    knownProgram.reset();
}

QString officeFileUrl(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
}

QProcessEnvironment officeEnvironment(const QProcessEnvironment& base) {
    if (!isUtf8Locale(QLatin1String(kUtf8Locale)))
        return base;
    QProcessEnvironment environment = base;
    const QString all = environment.value(QStringLiteral("LC_ALL"));
    if (!all.isEmpty() && !isUtf8Locale(all)) {
        // LC_ALL would override the character type: its locale passes to LANG.
        for (const char* name : kLocaleVariables)
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("LANG"), all);
    }
    // One category of a locale that is not installed makes LibreOffice read file URLs in
    // ASCII, whatever the character type.
    for (const char* name : kLocaleVariables) {
        const QString value = environment.value(QLatin1String(name));
        if (!value.isEmpty() && !isInstalledLocale(value))
            environment.insert(QLatin1String(name), QLatin1String(kUtf8Locale));
    }
    if (!isUtf8Locale(characterTypeLocale(environment)))
        environment.insert(QStringLiteral("LC_CTYPE"), QLatin1String(kUtf8Locale));
    return environment;
}
