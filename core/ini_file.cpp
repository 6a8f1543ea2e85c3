#include "core/ini_file.h"

#include "core/cp1251.h"
#include "core/exceptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace {

// The file as lines, with the line end it uses.
struct IniText {
    QStringList lines;
    QString lineEnd = QStringLiteral("\n");
};

bool hasNonAscii(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    return false;
}

// Valid UTF-8 with non-ASCII text is UTF-8 (a byte-order mark is dropped); anything else is
// Windows-1251.
QString decodeIni(QByteArray bytes) {
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom || hasNonAscii(bytes)) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
    }
    return cp1251::decode(bytes);
}

IniText parse(const QByteArray& bytes) {
    IniText ini;
    if (bytes.contains("\r\n"))
        ini.lineEnd = QStringLiteral("\r\n");
    QString text = decodeIni(bytes);
    if (text.endsWith(u'\n'))
        text.chop(1);
    if (text.isEmpty())
        return ini;
    ini.lines = text.split(u'\n');
    for (QString& line : ini.lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return ini;
}

// For a read: a missing or unreadable file holds nothing.
IniText readForLookup(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return IniText();
    return parse(file.readAll());
}

// For a write: a file that exists but cannot be read must not be overwritten.
IniText readForChange(const QString& fileName) {
    QFile file(fileName);
    if (!file.exists())
        return IniText();
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается прочитать файл \"%1\": %2")
                            .arg(fileName, file.errorString()));
    return parse(file.readAll());
}

void save(const QString& fileName, const IniText& ini) {
    QString text;
    for (const QString& line : ini.lines)
        text += line + ini.lineEnd;
    const QByteArray bytes = cp1251::encode(text);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Не удается записать файл \"%1\": %2")
                            .arg(fileName, file.errorString()));
}

bool sameName(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The name of a section header line, or a null string when the line is none.
QString sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return QString();
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return QString();
    const QString name = t.mid(1, close - 1).trimmed();
    return name.isNull() ? QStringLiteral("") : name;
}

bool isSection(const QString& line) {
    return !sectionOf(line).isNull();
}

// Splits a key line into key and value; false for comments, blank and other lines.
bool keyOf(const QString& line, QString& key, QString& value) {
    const QString t = line.trimmed();
    if (t.startsWith(u';') || isSection(line))
        return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return false;
    key = t.left(eq).trimmed();
    value = t.mid(eq + 1).trimmed();
    return !key.isEmpty();
}

// The body of the first section of that name: lines [begin, end); begin is -1 when absent.
struct Range {
    qsizetype begin = -1;
    qsizetype end = -1;
};

Range findSection(const QStringList& lines, const QString& section, qsizetype from = 0) {
    Range range;
    for (qsizetype i = from; i < lines.size(); ++i) {
        const QString name = sectionOf(lines[i]);
        if (name.isNull())
            continue;
        if (range.begin >= 0) {
            range.end = i;
            return range;
        }
        if (sameName(name, section))
            range.begin = i + 1;
    }
    if (range.begin >= 0)
        range.end = lines.size();
    return range;
}

// The index of the first line of key within range, or -1.
qsizetype findKey(const QStringList& lines, Range range, const QString& key, QString* value) {
    if (range.begin < 0)
        return -1;
    QString k, v;
    for (qsizetype i = range.begin; i < range.end; ++i)
        if (keyOf(lines[i], k, v) && sameName(k, key)) {
            if (value)
                *value = v;
            return i;
        }
    return -1;
}

bool hasLineBreak(const QString& s) {
    return s.contains(u'\n') || s.contains(u'\r');
}

void checkNames(const QString& section, const QString& key) {
    if (hasLineBreak(section) || section.contains(u']'))
        throw Exception(QStringLiteral("Недопустимое имя раздела INI-файла: \"%1\"").arg(section));
    const QString k = key.trimmed();
    if (k.isEmpty() || hasLineBreak(k) || k.contains(u'=') || k.startsWith(u';') ||
        k.startsWith(u'['))
        throw Exception(QStringLiteral("Недопустимое имя ключа INI-файла: \"%1\"").arg(key));
}

// Another copy holds the lock only for one read-change-save of a small file; a lock left by a
// copy that has ended is taken over at once.
constexpr int kLockWaitMs = 10000;

QString lockFileOf(const QString& fileName) {
    return fileName + QStringLiteral(".lock");
}

} // namespace

IniFile::IniFile(const QString& fileName)
    : m_fileName(fileName), m_lockFile(std::make_unique<QLockFile>(lockFileOf(fileName))) {}

IniFile::~IniFile() = default;

IniFile::Lock::Lock(IniFile& ini) : m_ini(ini) {
    m_ini.lock();
}

IniFile::Lock::~Lock() {
    m_ini.unlock();
}

void IniFile::lock() {
    if (m_lockDepth == 0 && !m_lockFile->tryLock(kLockWaitMs)) {
        const QString lockName = lockFileOf(m_fileName);
        if (m_lockFile->error() == QLockFile::LockFailedError)
            throw Exception(QStringLiteral("Не удается изменить файл \"%1\": его изменяет другая "
                                           "копия программы (файл блокировки \"%2\").")
                                .arg(m_fileName, lockName));
        throw Exception(QStringLiteral("Не удается изменить файл \"%1\": не создается файл "
                                       "блокировки \"%2\".")
                            .arg(m_fileName, lockName));
    }
    ++m_lockDepth;
}

void IniFile::unlock() {
    if (--m_lockDepth == 0)
        m_lockFile->unlock();
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const {
    const IniText ini = readForLookup(m_fileName);
    QString value;
    if (findKey(ini.lines, findSection(ini.lines, section), key, &value) < 0)
        return defaultValue;
    return value;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    checkNames(section, key);
    if (hasLineBreak(value))
        throw Exception(QStringLiteral("Значение ключа \"%1\" INI-файла не может содержать "
                                       "перевод строки")
                            .arg(key));
    const Lock lock(*this);
    IniText ini = readForChange(m_fileName);
    const Range range = findSection(ini.lines, section);
    const QString line = key.trimmed() + u'=' + value;
    if (range.begin < 0) {
        ini.lines << u'[' + section.trimmed() + u']' << line;
    } else if (const qsizetype at = findKey(ini.lines, range, key, nullptr); at >= 0) {
        ini.lines[at] = line;
    } else {
        // After the last line of the section that is not blank.
        qsizetype end = range.end;
        while (end > range.begin && ini.lines[end - 1].trimmed().isEmpty())
            --end;
        ini.lines.insert(end, line);
    }
    save(m_fileName, ini);
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    bool ok = false;
    const int value = readString(section, key, QString()).toInt(&ok);
    return ok ? value : defaultValue;
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

bool IniFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeInteger(section, key, value ? 1 : 0);
}

bool IniFile::sectionExists(const QString& section) const {
    return !readSection(section).isEmpty();
}

bool IniFile::valueExists(const QString& section, const QString& key) const {
    const IniText ini = readForLookup(m_fileName);
    return findKey(ini.lines, findSection(ini.lines, section), key, nullptr) >= 0;
}

QStringList IniFile::readSection(const QString& section) const {
    const IniText ini = readForLookup(m_fileName);
    const Range range = findSection(ini.lines, section);
    QStringList keys;
    QString k, v;
    for (qsizetype i = range.begin; range.begin >= 0 && i < range.end; ++i)
        if (keyOf(ini.lines[i], k, v) && !keys.contains(k, Qt::CaseInsensitive))
            keys << k;
    return keys;
}

void IniFile::eraseSection(const QString& section) {
    const Lock lock(*this);
    IniText ini = readForChange(m_fileName);
    bool changed = false;
    for (Range range = findSection(ini.lines, section); range.begin >= 0;
         range = findSection(ini.lines, section, range.begin - 1)) {
        ini.lines.remove(range.begin - 1, range.end - range.begin + 1);
        changed = true;
    }
    if (changed)
        save(m_fileName, ini);
}

void IniFile::deleteKey(const QString& section, const QString& key) {
    const Lock lock(*this);
    IniText ini = readForChange(m_fileName);
    const Range range = findSection(ini.lines, section);
    const qsizetype before = ini.lines.size();
    QString k, v;
    for (qsizetype i = range.end - 1; range.begin >= 0 && i >= range.begin; --i)
        if (keyOf(ini.lines[i], k, v) && sameName(k, key))
            ini.lines.removeAt(i);
    if (ini.lines.size() != before)
        save(m_fileName, ini);
}

QString iniPathFor(const QString& executablePath, const QString& configFolder) {
    const QString beside = executablePath + QStringLiteral(".ini");
    if (QFileInfo(QFileInfo(executablePath).absolutePath()).isWritable())
        return beside;
    QDir().mkpath(configFolder);
    const QString own =
        QDir(configFolder).filePath(QFileInfo(executablePath).fileName() + QStringLiteral(".ini"));
    if (!QFileInfo::exists(own) && QFileInfo::exists(beside))
        QFile::copy(beside, own);
    return own;
}

QString programIniPath() {
    return iniPathFor(QCoreApplication::applicationFilePath(),
                      QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}
