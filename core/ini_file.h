#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QLockFile;

// The program's INI file: sections and keys match case-insensitively (blanks around names
// ignored), values are kept raw. Every read reads the file; every write reads it, changes it and
// saves it whole through a temporary file, so the file is never half-written. Lines that are no
// key of ours (comments, blank lines, text before the first section) survive a write.
//
// On disk the text is Windows-1251; a file of valid UTF-8 with non-ASCII text is read as UTF-8
// and saved back as Windows-1251. Writing a character that Windows-1251 cannot hold raises
// Exception and leaves the file unchanged. A Boolean is an integer: 0 false, any other true.
//
// Where several sections share a name, the first counts; eraseSection removes them all.
//
// Several running copies of the program share the file: every write holds its lock file (the
// INI's name + ".lock") from the read to the save, so that no copy's change is lost to another's,
// and a Lock holds it over a change made of several reads and writes.
class IniFile {
public:
    // Holds the INI's lock file while it lives; the writes of the same IniFile inside it take
    // no lock of their own (Locks of one IniFile nest). Exception when the lock cannot be had.
    class Lock {
    public:
        explicit Lock(IniFile& ini);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        IniFile& m_ini;
    };

    explicit IniFile(const QString& fileName);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& fileName() const { return m_fileName; }

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Refuses (Exception) a section or key that would not read back, and a value holding a line
    // break.
    void writeString(const QString& section, const QString& key, const QString& value);

    // Text that is no decimal integer reads as defaultValue.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    void writeInteger(const QString& section, const QString& key, int value);

    bool readBool(const QString& section, const QString& key, bool defaultValue) const;
    void writeBool(const QString& section, const QString& key, bool value);

    // True when the section holds at least one key.
    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;

    // The keys of the section in file order, each once.
    QStringList readSection(const QString& section) const;

    void eraseSection(const QString& section);
    void deleteKey(const QString& section, const QString& key);

private:
    void lock();
    void unlock();

    QString m_fileName;
    std::unique_ptr<QLockFile> m_lockFile;
    int m_lockDepth = 0;
};

// The program's INI: the executable's path with ".ini" when the executable's folder is
// writable, else a file of that name in configFolder (made when missing; the INI beside the
// executable is copied there first when only that one exists).
QString iniPathFor(const QString& executablePath, const QString& configFolder);

// iniPathFor of this program, with the user's config folder.
QString programIniPath();
