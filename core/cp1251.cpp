#include "core/cp1251.h"

#include "core/exceptions.h"

#include <QHash>

namespace {

// Unicode code points of the bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F.
const char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

char16_t toUnicode(unsigned char b) {
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return char16_t(0x0410 + (b - 0xC0));
    return kHigh[b - 0x80];
}

const QHash<char16_t, char>& reverseTable() {
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int b = 0x80; b < 0x100; ++b)
            t.insert(toUnicode(static_cast<unsigned char>(b)), static_cast<char>(b));
        return t;
    }();
    return table;
}

bool encodeOne(char16_t c, char& out) {
    if (c < 0x80) {
        out = static_cast<char>(c);
        return true;
    }
    auto it = reverseTable().constFind(c);
    if (it == reverseTable().constEnd())
        return false;
    out = it.value();
    return true;
}

} // namespace

namespace cp1251 {

QString decode(const QByteArray& bytes) {
    return decode(bytes.constData(), bytes.size());
}

QString decode(const char* data, qsizetype size) {
    QString result(size, Qt::Uninitialized);
    QChar* out = result.data();
    for (qsizetype i = 0; i < size; ++i)
        out[i] = QChar(toUnicode(static_cast<unsigned char>(data[i])));
    return result;
}

QByteArray encode(const QString& text) {
    QByteArray result(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!encodeOne(text[i].unicode(), result[i]))
            throw Exception(QStringLiteral("Символ %1 нельзя записать в кодировке Windows-1251")
                                .arg(characterName(firstForeignCharacter(text.mid(i)))));
    }
    return result;
}

bool canEncode(const QString& text) {
    return firstForeignCharacter(text).isEmpty();
}

QString firstForeignCharacter(const QString& text) {
    char dummy;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (encodeOne(text[i].unicode(), dummy))
            continue;
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        return text.mid(i, pair ? 2 : 1);
    }
    return QString();
}

QString characterName(const QString& character) {
    const char32_t code = character.isEmpty() ? 0 : character.toUcs4().value(0);
    return QStringLiteral("\"%1\" (U+%2)")
        .arg(character)
        .arg(QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

} // namespace cp1251
