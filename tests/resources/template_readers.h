#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Small readers of the two word-processor formats of the print templates, enough to get at
// the text of their paragraphs. Every reader throws Exception on a malformed file.
namespace templatereaders {

// One member of a zip archive as its central directory describes it.
struct ZipEntry {
    QString name;
    quint16 method = 0; // 0 stored, 8 deflated
    quint32 crc = 0;
    quint32 compressedSize = 0;
    quint32 size = 0;
    quint32 localOffset = 0;
};

// A zip archive held in memory (an OpenDocument file).
class ZipArchive {
public:
    explicit ZipArchive(QByteArray data);
    const QList<ZipEntry>& entries() const { return m_entries; }
    bool contains(const QString& name) const;
    // The member's bytes, inflated and checked against its CRC.
    QByteArray read(const QString& name) const;

private:
    const ZipEntry& entry(const QString& name) const;
    QByteArray m_data;
    QList<ZipEntry> m_entries;
};

// The text of every paragraph and heading of an OpenDocument XML part (content.xml), in
// document order, with the runs of one paragraph joined and text:s, text:tab and
// text:line-break written as blanks, a tab and a line feed.
QStringList odfParagraphs(const QByteArray& xml);

// The OLE2 compound-file signature D0 CF 11 E0 A1 B1 1A E1.
bool hasCompoundFileSignature(const QByteArray& data);

// A compound file (the container of a Word 97 document) held in memory.
class CompoundFile {
public:
    explicit CompoundFile(QByteArray data);
    bool contains(const QString& streamName) const;
    QByteArray stream(const QString& streamName) const;

private:
    struct DirEntry {
        QString name;
        quint8 type = 0;
        quint32 start = 0;
        quint32 size = 0;
    };
    QByteArray sector(quint32 id) const;
    QList<quint32> chain(const QList<quint32>& table, quint32 start) const;
    QByteArray readChain(quint32 start) const;
    const DirEntry* find(const QString& name) const;

    QByteArray m_data;
    int m_sectorSize = 512;
    int m_miniSectorSize = 64;
    quint32 m_miniCutoff = 4096;
    QList<quint32> m_fat;
    QList<quint32> m_miniFat;
    QList<DirEntry> m_dir;
    QByteArray m_miniStream;
};

// The paragraphs of the main text of a Word 97 document, read through its piece table:
// a paragraph ends at a paragraph mark, a table-cell mark or a page break.
QStringList wordParagraphs(const QByteArray& docFile);

} // namespace templatereaders
