#pragma once

#include <QString>
#include <QStringList>

// The program's INI file: sections and keys match case-insensitively (blanks around names
// ignored), values are kept raw. Every read reads the file; every write reads it, changes it and
// saves it whole through a temporary file, so the file is never half-written. Lines that are no
// key of ours (comments, blank lines, text before the first section) survive a write.
//
// On disk the text is Windows-1251; a file of valid UTF-8 with non-ASCII text is read as UTF-8
// and saved back as Windows-1251. Writing a character that Windows-1251 cannot hold raises
// Exception and leaves the file unchanged. A Boolean is an integer: 0 false, any other true.
//
// Where several sections share a name, the first counts; EraseSection removes them all.
class TIniFile {
public:
    explicit TIniFile(const QString& fileName) : m_fileName(fileName) {}

    const QString& FileName() const { return m_fileName; }

    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Refuses (Exception) a section or key that would not read back, and a value holding a line
    // break.
    void WriteString(const QString& section, const QString& key, const QString& value);

    // Text that is no decimal integer reads as defaultValue.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    void WriteInteger(const QString& section, const QString& key, int value);

    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    void WriteBool(const QString& section, const QString& key, bool value);

    // True when the section holds at least one key.
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // The keys of the section in file order, each once.
    QStringList ReadSection(const QString& section) const;

    void EraseSection(const QString& section);
    void DeleteKey(const QString& section, const QString& key);

private:
    QString m_fileName;
};

// The program's INI: the executable's path with ".ini" when the executable's folder is
// writable, else a file of that name in configFolder (made when missing; the INI beside the
// executable is copied there first when only that one exists).
QString IniPathFor(const QString& executablePath, const QString& configFolder);

// IniPathFor of this program, with the user's config folder.
QString ProgramIniPath();
