#include "store/default_templates.h"

#include "core/exceptions.h"
#include "platform/firebird/statement.h"
#include "platform/firebird/transaction.h"
#include "store/book_kind.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtEndian>

namespace {

// ---- Zip archives, as far as the template kinds need them ----

quint32 readUInt(const QByteArray& data, qsizetype at, int size) {
    if (at < 0 || at + size > data.size())
        return 0;
    const auto* p = reinterpret_cast<const uchar*>(data.constData() + at);
    return size == 2 ? qFromLittleEndian<quint16>(p) : qFromLittleEndian<quint32>(p);
}

struct ZipEntry {
    QByteArray name;
    quint32 localOffset = 0;
};

// The entries of the archive's central directory; empty when there is none to read.
QList<ZipEntry> zipEntries(const QByteArray& data) {
    constexpr quint32 kEndSignature = 0x06054b50;
    constexpr quint32 kEntrySignature = 0x02014b50;
    const qsizetype lowest = qMax<qsizetype>(0, data.size() - 22 - 0xFFFF);
    qsizetype end = data.size() - 22;
    while (end >= lowest && readUInt(data, end, 4) != kEndSignature)
        --end;
    if (end < lowest)
        return {};
    const int count = int(readUInt(data, end + 10, 2));
    qsizetype at = readUInt(data, end + 16, 4);
    QList<ZipEntry> entries;
    for (int i = 0; i < count && readUInt(data, at, 4) == kEntrySignature; ++i) {
        const int nameLength = int(readUInt(data, at + 28, 2));
        const int extraLength = int(readUInt(data, at + 30, 2));
        const int commentLength = int(readUInt(data, at + 32, 2));
        entries.append(ZipEntry{data.mid(at + 46, nameLength), readUInt(data, at + 42, 4)});
        at += 46 + nameLength + extraLength + commentLength;
    }
    return entries;
}

// The stored (uncompressed) content of the entry at a local header; empty when compressed.
QByteArray storedContent(const QByteArray& data, quint32 localOffset) {
    constexpr quint32 kLocalSignature = 0x04034b50;
    if (readUInt(data, localOffset, 4) != kLocalSignature ||
        readUInt(data, localOffset + 8, 2) != 0)
        return {};
    const quint32 size = readUInt(data, localOffset + 18, 4);
    const quint32 start = localOffset + 30 + readUInt(data, localOffset + 26, 2) +
                          readUInt(data, localOffset + 28, 2);
    return data.mid(start, size);
}

QString zipExtension(const QByteArray& data) {
    for (const ZipEntry& entry : zipEntries(data)) {
        if (entry.name.startsWith("word/"))
            return QStringLiteral("docx");
        if (entry.name == "mimetype" && storedContent(data, entry.localOffset)
                                            .startsWith("application/vnd.oasis.opendocument.text"))
            return QStringLiteral("odt");
    }
    return QStringLiteral("doc");
}

} // namespace

QString defaultTemplatesFolder() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/PrintTemplates");
}

QList<TemplateRow> defaultPrintFormRows(int ownerType) {
    struct Template {
        const char* name;
        const char* file;
    };
    static const Template bank[] = {
        {"Платежное поручение (Украина) 2 экземпляра на 1 листе",
         "Платежное поручение (2 экз) (Украина)"},
        {"Платежное поручение (Украина) 3 экземпляра на 2 листах",
         "Платежное поручение (3 экз) (Украина)"},
        {"Платежное поручение (Россия) 2 экземпляра на 2 листах",
         "Платежное поручение (2 экз) (Россия)"},
        {"Платежное поручение (Россия) 3 экземпляра на 3 листах",
         "Платежное поручение (3 экз) (Россия)"},
    };
    static const Template cash[] = {
        {"Приходный кассовый ордер (Украина)", "Приходный кассовый ордер (Украина)"},
        {"Расходный кассовый ордер (Украина)", "Расходный кассовый ордер (Украина)"},
        {"Приходный кассовый ордер (Россия)", "Приходный кассовый ордер (Россия)"},
        {"Расходный кассовый ордер (Россия)", "Расходный кассовый ордер (Россия)"},
    };
    QList<TemplateRow> rows;
    auto add = [&rows](int key, int docType, const Template& t, const char* ext) {
        rows.append(TemplateRow{key, docType, QString::fromUtf8(t.name),
                                QString::fromUtf8(t.file) + QLatin1Char('.') + QLatin1String(ext),
                                QLatin1String(ext)});
    };
    if (ownerType == int(BookKind::BankAccount)) {
        // Each country's pair of payment orders serves income (1) and issue (2) documents.
        for (const char* ext : {"doc", "odt"}) {
            const int base = rows.size() + 1;
            for (int country = 0; country < 2; ++country)
                for (int docType = 1; docType <= 2; ++docType)
                    for (int copies = 0; copies < 2; ++copies)
                        add(base + country * 4 + (docType - 1) * 2 + copies, docType,
                            bank[country * 2 + copies], ext);
        }
    } else if (ownerType == int(BookKind::CashDesk)) {
        for (const char* ext : {"doc", "odt"}) {
            const int base = 17 + rows.size();
            for (int i = 0; i < 4; ++i)
                add(base + i, i % 2 + 1, cash[i], ext);
        }
    }
    return rows;
}

QList<DefaultTemplate> readDefaultPrintForms(fb::Transaction& transaction,
                                             const QString& templatesFolder) {
    fb::Statement q(transaction);
    q.prepare(QStringLiteral("SELECT P.LOWNER FROM PARTS P WHERE P.PRKEY=:PRKEY"));
    q.param(QStringLiteral("PRKEY")).setInteger(kOwnerKey);
    q.execute();
    if (!q.fetch())
        throw Exception(QStringLiteral("Не удется определить тип БД!"));
    const int ownerType = int(q.field(0).asInteger());
    q.close();

    QList<DefaultTemplate> forms;
    for (const TemplateRow& row : defaultPrintFormRows(ownerType)) {
        const QString path = QDir(templatesFolder).filePath(row.fileName);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw Exception(QStringLiteral("Не удается открыть файл \"%1\"").arg(path));
        forms.append(DefaultTemplate{row, file.readAll()});
    }
    return forms;
}

void insertPrintForms(fb::Transaction& transaction, const QList<DefaultTemplate>& forms,
                      bool withExt) {
    for (const DefaultTemplate& form : forms)
        insertPrintForm(transaction, form.row.key, form.row.docType, form.row.name, form.data,
                        withExt ? form.row.ext : QString());
}

void loadDefaultPrintForms(fb::Transaction& transaction, const QString& templatesFolder,
                           bool withExt) {
    insertPrintForms(transaction, readDefaultPrintForms(transaction, templatesFolder), withExt);
}

void insertPrintForm(fb::Transaction& transaction, int key, int docType, const QString& name,
                     const QByteArray& data, const QString& ext) {
    fb::Statement q(transaction);
    if (ext.isEmpty())
        q.prepare(QStringLiteral("INSERT INTO PRINTFORMS(PRKEY,LTYP,NAME,DATA)\n"
                                 "VALUES(:PRKEY,:LTYP,:NAME,:DATA)"));
    else {
        q.prepare(QStringLiteral("INSERT INTO PRINTFORMS(PRKEY,LTYP,NAME,DATA,EXT)\n"
                                 "VALUES(:PRKEY,:LTYP,:NAME,:DATA,:EXT)"));
        q.param(QStringLiteral("EXT")).setString(ext);
    }
    q.param(QStringLiteral("PRKEY")).setInteger(key);
    q.param(QStringLiteral("LTYP")).setInteger(docType);
    q.param(QStringLiteral("NAME")).setString(name);
    q.param(QStringLiteral("DATA")).setBytes(data);
    q.execute();
}

QString templateExtension(const QByteArray& data) {
    static const QByteArray oleSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (data.startsWith(oleSignature))
        return QStringLiteral("doc");
    if (data.startsWith("PK\x03\x04"))
        return zipExtension(data);
    if (data.startsWith("{\\rtf"))
        return QStringLiteral("rtf");
    return QStringLiteral("doc");
}
