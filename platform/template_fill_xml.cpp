#include "platform/template_fill.h"
#include "platform/zip_archive.h"

#include <QHash>
#include <QRegularExpression>
#include <optional>

namespace templatefill {

namespace {

// A piece of an XML part: markup (a tag, comment or declaration) or character data.
struct Piece {
    QByteArray raw;
    bool markup = false;
    bool text = false; // character data of the document's text
    QString decoded;
    QStringList replacement; // per character of decoded, as XML, once an edit reached the piece
};

// The text of one entity: name is what stands between "&" and ";".
QString entityText(const QString& name) {
    static const QHash<QString, QString> named = {
        {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}};
    if (!name.startsWith(u'#'))
        return named.value(name, u'&' + name + u';');
    const bool hex = name.startsWith(u"#x");
    const char32_t code = name.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
    return QString::fromUcs4(&code, 1);
}

QString decodeEntities(const QByteArray& raw) {
    static const QRegularExpression entity(QStringLiteral("&(#x[0-9a-fA-F]+|#[0-9]+|\\w+);"));
    const QString text = QString::fromUtf8(raw);
    QString out;
    qsizetype last = 0;
    for (const QRegularExpressionMatch& m : entity.globalMatch(text)) {
        out += text.mid(last, m.capturedStart() - last) + entityText(m.captured(1));
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

// A value as XML: escaped, its line breaks and tabs as elements of the part's own kind; the other
// control characters, which XML does not allow, are dropped.
QString xmlText(const QString& value, XmlKind kind) {
    const bool word = kind == XmlKind::WordprocessingMl;
    QString out;
    for (const QChar c : value) {
        if (c == u'\n') {
            out += word ? QStringLiteral("</w:t><w:br/><w:t xml:space=\"preserve\">")
                        : QStringLiteral("<text:line-break/>");
        } else if (c == u'\t') {
            out += word ? QStringLiteral("</w:t><w:tab/><w:t xml:space=\"preserve\">")
                        : QStringLiteral("<text:tab/>");
        } else if (c.unicode() >= 0x20) {
            out += QString(c).toHtmlEscaped();
        }
    }
    return out;
}

qsizetype markupEnd(const QByteArray& xml, qsizetype start) {
    if (xml.mid(start, 4) == "<!--") {
        const qsizetype end = xml.indexOf("-->", start);
        return end < 0 ? xml.size() : end + 3;
    }
    if (xml.mid(start, 9) == "<![CDATA[") {
        const qsizetype end = xml.indexOf("]]>", start);
        return end < 0 ? xml.size() : end + 3;
    }
    char quote = 0;
    for (qsizetype i = start + 1; i < xml.size(); ++i) {
        const char c = xml[i];
        if (quote != 0) {
            quote = c == quote ? 0 : quote;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return xml.size();
}

QByteArray elementName(const QByteArray& markup) {
    qsizetype start = markup.startsWith("</") ? 2 : 1;
    qsizetype end = start;
    while (end < markup.size() && !QByteArrayView(" \t\r\n/>").contains(markup[end]))
        ++end;
    return markup.mid(start, end - start);
}

struct Dialect {
    QByteArray textElement; // whose character data is text; empty: any inside a paragraph
    QList<QByteArray> paragraphs;
    QList<QByteArray> breaks; // elements that stand for a space, tab or line break
};

Dialect dialectOf(XmlKind kind) {
    if (kind == XmlKind::WordprocessingMl)
        return {"w:t", {"w:p"}, {"w:tab", "w:br", "w:cr"}};
    return {QByteArray(), {"text:p", "text:h"}, {"text:s", "text:tab", "text:line-break"}};
}

QList<Piece> readPieces(const QByteArray& xml, const Dialect& dialect) {
    QList<Piece> pieces;
    int inside = 0; // open text elements, or paragraphs when any text in them counts
    const QList<QByteArray>& counted =
        dialect.textElement.isEmpty() ? dialect.paragraphs : QList<QByteArray>{dialect.textElement};
    qsizetype pos = 0;
    while (pos < xml.size()) {
        Piece piece;
        const qsizetype end = xml[pos] == '<' ? markupEnd(xml, pos) : xml.indexOf('<', pos);
        piece.raw = xml.mid(pos, (end < 0 ? xml.size() : end) - pos);
        piece.markup = xml[pos] == '<';
        pos += piece.raw.size();
        if (piece.markup) {
            const QByteArray name = elementName(piece.raw);
            const bool closing = piece.raw.startsWith("</");
            const bool empty = piece.raw.endsWith("/>");
            if (counted.contains(name) && !empty)
                inside += closing ? -1 : 1;
            if (dialect.paragraphs.contains(name) || dialect.breaks.contains(name))
                piece.decoded = QStringLiteral("\n");
        } else if (inside > 0) {
            piece.text = true;
            piece.decoded = decodeEntities(piece.raw);
        }
        pieces.append(piece);
    }
    return pieces;
}

// Word drops the spaces at either end of a run's text unless the run says to keep them. The text
// elements that a value's line breaks and tabs open keep them already: only the first one counts.
void keepEdgeSpaces(QList<Piece>& pieces, qsizetype index) {
    const QByteArray& raw = pieces[index].raw;
    const qsizetype end = raw.indexOf("</w:t>");
    const QString text = QString::fromUtf8(end < 0 ? raw : raw.left(end));
    const bool edgeSpace = !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
    if (edgeSpace && index > 0 && pieces[index - 1].raw == "<w:t>")
        pieces[index - 1].raw = "<w:t xml:space=\"preserve\">";
}

} // namespace

QByteArray fillXml(const QByteArray& xml, XmlKind kind, const TagValues& tags, Family family,
                   MacroBlocks* macros) {
    QList<Piece> pieces = readPieces(xml, dialectOf(kind));
    QString text;
    QList<QPair<qsizetype, qsizetype>> owners; // piece and character; piece -1 for a break
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        for (qsizetype k = 0; k < pieces[i].decoded.size(); ++k) {
            text += pieces[i].decoded[k];
            owners.append({pieces[i].text ? i : -1, k});
        }
    }
    for (const TextEdit& edit : planEdits(text, tags, family, macros)) {
        for (qsizetype k = edit.start; k < edit.start + edit.length; ++k) {
            const auto [index, at] = owners[k];
            if (index < 0)
                continue;
            Piece& piece = pieces[index];
            if (piece.replacement.isEmpty()) {
                for (const QChar c : piece.decoded)
                    piece.replacement.append(QString(c).toHtmlEscaped());
            }
            piece.replacement[at] = k == edit.start ? xmlText(edit.text, kind) : QString();
        }
    }
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (pieces[i].replacement.isEmpty())
            continue;
        pieces[i].raw = pieces[i].replacement.join(QString()).toUtf8();
        if (kind == XmlKind::WordprocessingMl)
            keepEdgeSpaces(pieces, i);
    }
    QByteArray out;
    for (const Piece& piece : pieces)
        out += piece.raw;
    return out;
}

namespace {

// The parts of a document package that hold its text, and how.
std::optional<XmlKind> textPart(const QString& name) {
    static const QRegularExpression word(
        QStringLiteral("^word/(document|header\\d*|footer\\d*|footnotes|endnotes)\\.xml$"));
    if (word.match(name).hasMatch())
        return XmlKind::WordprocessingMl;
    if (name == u"content.xml" || name == u"styles.xml")
        return XmlKind::OpenDocument;
    return std::nullopt;
}

// The part that holds the document's main text: the only one searched for macro blocks.
bool isMainText(const QString& name) {
    return name == u"content.xml" || name == u"word/document.xml";
}

} // namespace

MacroBlocks fillPackage(const QString& source, const QString& target, const TagValues& tags,
                        Family family) {
    QList<zip::Entry> entries = zip::read(source);
    MacroBlocks macros;
    for (zip::Entry& entry : entries) {
        if (const std::optional<XmlKind> kind = textPart(entry.name)) {
            entry.data = fillXml(entry.data, *kind, tags, family,
                                 isMainText(entry.name) ? &macros : nullptr);
        }
    }
    zip::write(target, entries);
    return macros;
}

} // namespace templatefill
