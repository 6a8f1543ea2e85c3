#include "tests/resources/template_readers.h"

#include "core/exceptions.h"

#include <QXmlStreamReader>
#include <QtEndian>
#include <zlib.h>

namespace templatereaders {

namespace {

const char* const TextNs = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
const quint32 EndOfChain = 0xFFFFFFFE;
const quint32 LastRegularSector = 0xFFFFFFFA;

void need(bool ok, const QString& what) {
    if (!ok)
        throw Exception(what);
}

// Little-endian reads that refuse to run past the end of the data.
quint16 u16(const QByteArray& data, qsizetype at) {
    need(at >= 0 && at + 2 <= data.size(), QStringLiteral("read beyond the end of the data"));
    return qFromLittleEndian<quint16>(data.constData() + at);
}

quint32 u32(const QByteArray& data, qsizetype at) {
    need(at >= 0 && at + 4 <= data.size(), QStringLiteral("read beyond the end of the data"));
    return qFromLittleEndian<quint32>(data.constData() + at);
}

QByteArray bytes(const QByteArray& data, qsizetype at, qsizetype count) {
    need(at >= 0 && count >= 0 && at + count <= data.size(),
         QStringLiteral("read beyond the end of the data"));
    return data.mid(at, count);
}

// count UTF-16LE code units from at.
QString utf16(const QByteArray& data, qsizetype at, qsizetype count) {
    QString out;
    out.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        out += QChar(u16(data, at + 2 * i));
    return out;
}

QByteArray inflateRaw(const QByteArray& packed, quint32 size) {
    QByteArray out(qsizetype(size), '\0');
    z_stream z{};
    need(inflateInit2(&z, -MAX_WBITS) == Z_OK, QStringLiteral("zlib refuses to start"));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    z.avail_in = uInt(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    const uLong produced = z.total_out;
    inflateEnd(&z);
    need(rc == Z_STREAM_END && produced == size, QStringLiteral("a zip member does not inflate"));
    return out;
}

} // namespace

// ---------------------------------------------------------------- zip

ZipArchive::ZipArchive(QByteArray data) : m_data(std::move(data)) {
    // The end-of-central-directory record lies within the last 64 KiB + 22 bytes.
    qsizetype eocd = -1;
    for (qsizetype at = m_data.size() - 22; at >= 0 && at >= m_data.size() - 65557; --at) {
        if (u32(m_data, at) == 0x06054b50) {
            eocd = at;
            break;
        }
    }
    need(eocd >= 0, QStringLiteral("no end of the zip central directory"));
    const int count = u16(m_data, eocd + 10);
    qsizetype at = u32(m_data, eocd + 16);
    for (int i = 0; i < count; ++i) {
        need(u32(m_data, at) == 0x02014b50, QStringLiteral("broken zip central directory"));
        ZipEntry e;
        e.method = u16(m_data, at + 10);
        e.crc = u32(m_data, at + 16);
        e.compressedSize = u32(m_data, at + 20);
        e.size = u32(m_data, at + 24);
        const int nameLength = u16(m_data, at + 28);
        const int extraLength = u16(m_data, at + 30);
        const int commentLength = u16(m_data, at + 32);
        e.localOffset = u32(m_data, at + 42);
        e.name = QString::fromUtf8(bytes(m_data, at + 46, nameLength));
        m_entries.append(e);
        at += 46 + nameLength + extraLength + commentLength;
    }
}

bool ZipArchive::contains(const QString& name) const {
    for (const ZipEntry& e : m_entries) {
        if (e.name == name)
            return true;
    }
    return false;
}

const ZipEntry& ZipArchive::entry(const QString& name) const {
    for (const ZipEntry& e : m_entries) {
        if (e.name == name)
            return e;
    }
    throw Exception(QStringLiteral("no zip member ") + name);
}

QByteArray ZipArchive::read(const QString& name) const {
    const ZipEntry& e = entry(name);
    const qsizetype local = e.localOffset;
    need(u32(m_data, local) == 0x04034b50, QStringLiteral("broken zip local header of ") + name);
    const qsizetype start = local + 30 + u16(m_data, local + 26) + u16(m_data, local + 28);
    const QByteArray packed = bytes(m_data, start, e.compressedSize);
    QByteArray data;
    if (e.method == 0)
        data = packed;
    else if (e.method == 8)
        data = inflateRaw(packed, e.size);
    else
        throw Exception(QStringLiteral("unknown zip method in ") + name);
    need(data.size() == qsizetype(e.size), QStringLiteral("wrong size of ") + name);
    const uLong crc =
        crc32(0L, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()));
    need(crc == e.crc, QStringLiteral("wrong CRC of ") + name);
    return data;
}

// ---------------------------------------------------------------- OpenDocument text

QStringList odfParagraphs(const QByteArray& xml) {
    QStringList paragraphs;
    QStringList open; // paragraphs being read; a note may open one inside another
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        const bool inText = reader.namespaceUri() == QLatin1String(TextNs);
        const QStringView tag = reader.name();
        if (reader.isStartElement() && inText) {
            if (tag == QLatin1String("p") || tag == QLatin1String("h"))
                open.append(QString());
            else if (open.isEmpty())
                continue;
            else if (tag == QLatin1String("s")) {
                const QStringView c =
                    reader.attributes().value(QString::fromLatin1(TextNs), QStringLiteral("c"));
                open.last() += QString(c.isEmpty() ? 1 : c.toInt(), QLatin1Char(' '));
            } else if (tag == QLatin1String("tab"))
                open.last() += QLatin1Char('\t');
            else if (tag == QLatin1String("line-break"))
                open.last() += QLatin1Char('\n');
        } else if (reader.isEndElement() && inText &&
                   (tag == QLatin1String("p") || tag == QLatin1String("h"))) {
            paragraphs.append(open.takeLast());
        } else if (reader.isCharacters() && !open.isEmpty()) {
            open.last() += reader.text();
        }
    }
    need(!reader.hasError(), QStringLiteral("bad XML: ") + reader.errorString());
    return paragraphs;
}

// ---------------------------------------------------------------- compound file

bool hasCompoundFileSignature(const QByteArray& data) {
    return data.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
}

CompoundFile::CompoundFile(QByteArray data) : m_data(std::move(data)) {
    need(hasCompoundFileSignature(m_data) && m_data.size() >= 512,
         QStringLiteral("not a compound file"));
    const int sectorShift = u16(m_data, 0x1E);
    const int miniShift = u16(m_data, 0x20);
    need(sectorShift == 9 || sectorShift == 12, QStringLiteral("unknown sector size"));
    m_sectorSize = 1 << sectorShift;
    m_miniSectorSize = 1 << miniShift;
    m_miniCutoff = u32(m_data, 0x38);

    // The sectors of the allocation table: 109 listed in the header, the rest in a chain.
    QList<quint32> fatSectors;
    const quint32 fatCount = u32(m_data, 0x2C);
    for (int i = 0; i < 109 && quint32(fatSectors.size()) < fatCount; ++i)
        fatSectors.append(u32(m_data, 0x4C + 4 * i));
    quint32 difat = u32(m_data, 0x44);
    for (quint32 guard = 0; difat <= LastRegularSector && guard < u32(m_data, 0x48); ++guard) {
        const QByteArray s = sector(difat);
        const int perSector = m_sectorSize / 4 - 1;
        for (int i = 0; i < perSector && quint32(fatSectors.size()) < fatCount; ++i)
            fatSectors.append(u32(s, 4 * i));
        difat = u32(s, m_sectorSize - 4);
    }
    for (quint32 id : fatSectors) {
        const QByteArray s = sector(id);
        for (int i = 0; i < m_sectorSize / 4; ++i)
            m_fat.append(u32(s, 4 * i));
    }

    const QByteArray dir = readChain(u32(m_data, 0x30));
    for (qsizetype at = 0; at + 128 <= dir.size(); at += 128) {
        DirEntry e;
        const int nameBytes = u16(dir, at + 64);
        if (nameBytes >= 2 && nameBytes <= 64)
            e.name = utf16(dir, at, nameBytes / 2 - 1);
        e.type = quint8(dir.at(at + 66));
        e.start = u32(dir, at + 116);
        e.size = u32(dir, at + 120);
        m_dir.append(e);
    }
    need(!m_dir.isEmpty() && m_dir.first().type == 5, QStringLiteral("no root entry"));

    const QByteArray miniFat = readChain(u32(m_data, 0x3C));
    for (qsizetype at = 0; at + 4 <= miniFat.size(); at += 4)
        m_miniFat.append(u32(miniFat, at));
    m_miniStream = readChain(m_dir.first().start).left(m_dir.first().size);
}

QByteArray CompoundFile::sector(quint32 id) const {
    return bytes(m_data, (qsizetype(id) + 1) * m_sectorSize, m_sectorSize);
}

QList<quint32> CompoundFile::chain(const QList<quint32>& table, quint32 start) const {
    QList<quint32> ids;
    for (quint32 id = start; id != EndOfChain && id <= LastRegularSector; id = table.at(id)) {
        need(id < quint32(table.size()) && ids.size() < table.size(),
             QStringLiteral("broken sector chain"));
        ids.append(id);
    }
    return ids;
}

QByteArray CompoundFile::readChain(quint32 start) const {
    QByteArray out;
    for (quint32 id : chain(m_fat, start))
        out += sector(id);
    return out;
}

const CompoundFile::DirEntry* CompoundFile::find(const QString& name) const {
    for (const DirEntry& e : m_dir) {
        if (e.type == 2 && e.name == name)
            return &e;
    }
    return nullptr;
}

bool CompoundFile::contains(const QString& streamName) const {
    return find(streamName) != nullptr;
}

QByteArray CompoundFile::stream(const QString& streamName) const {
    const DirEntry* e = find(streamName);
    need(e != nullptr, QStringLiteral("no stream ") + streamName);
    QByteArray out;
    if (e->size >= m_miniCutoff) {
        out = readChain(e->start);
    } else {
        for (quint32 id : chain(m_miniFat, e->start))
            out += bytes(m_miniStream, qsizetype(id) * m_miniSectorSize, m_miniSectorSize);
    }
    need(out.size() >= qsizetype(e->size), QStringLiteral("short stream ") + streamName);
    return out.left(e->size);
}

// ---------------------------------------------------------------- Word 97 text

QStringList wordParagraphs(const QByteArray& docFile) {
    const CompoundFile file(docFile);
    const QByteArray word = file.stream(QStringLiteral("WordDocument"));
    need(u16(word, 0) == 0xA5EC, QStringLiteral("no Word 97 file information block"));
    const bool table1 = (u16(word, 0x0A) & 0x0200) != 0;
    const QByteArray table =
        file.stream(table1 ? QStringLiteral("1Table") : QStringLiteral("0Table"));
    const quint32 mainLength = u32(word, 0x4C); // ccpText: characters of the main text
    const quint32 fcClx = u32(word, 0x1A2);

    // The piece table follows any property blocks of the Clx.
    qsizetype at = fcClx;
    while (bytes(table, at, 1).at(0) == 0x01)
        at += 3 + u16(table, at + 1);
    need(bytes(table, at, 1).at(0) == 0x02, QStringLiteral("no piece table"));
    const quint32 plcLength = u32(table, at + 1);
    const qsizetype plc = at + 5;
    const int pieces = int((plcLength - 4) / 12);

    QString text;
    for (int i = 0; i < pieces && quint32(text.size()) < mainLength; ++i) {
        const quint32 cpStart = u32(table, plc + 4 * i);
        const quint32 cpEnd = qMin(u32(table, plc + 4 * (i + 1)), mainLength);
        if (cpEnd <= cpStart)
            continue;
        const quint32 fc = u32(table, plc + 4 * (pieces + 1) + 8 * i + 2);
        const qsizetype count = cpEnd - cpStart;
        if (fc & 0x40000000) {
            // 8-bit piece: its bytes 0x80..0x9F differ between Latin-1 and cp1252, and no tag
            // is made of them.
            text += QString::fromLatin1(bytes(word, (fc & 0x3FFFFFFF) / 2, count));
        } else {
            text += utf16(word, fc, count);
        }
    }

    QStringList paragraphs;
    QString current;
    for (QChar c : text) {
        if (c == QChar(0x0D) || c == QChar(0x07) || c == QChar(0x0C)) {
            paragraphs.append(current);
            current.clear();
        } else {
            current += c == QChar(0x0B) ? QChar('\n') : c;
        }
    }
    if (!current.isEmpty())
        paragraphs.append(current);
    return paragraphs;
}

} // namespace templatereaders
