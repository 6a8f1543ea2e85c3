#include "platform/template_fill.h"

#include "core/cp1251.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace templatefill {

namespace {

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// A match is a whole word when it is no part of a longer word on either side.
bool isWholeWord(const QString& text, qsizetype start, qsizetype length) {
    const qsizetype end = start + length;
    if (start > 0 && isWordChar(text[start]) && isWordChar(text[start - 1]))
        return false;
    if (end < text.size() && isWordChar(text[end - 1]) && isWordChar(text[end]))
        return false;
    return true;
}

bool isFree(const QList<bool>& taken, qsizetype start, qsizetype length) {
    return std::none_of(taken.begin() + start, taken.begin() + start + length,
                        [](bool t) { return t; });
}

} // namespace

QList<TagMatch> findTags(const QString& text, const TagValues& tags, Family family) {
    const Qt::CaseSensitivity cs = family == Family::Word ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QList<bool> taken(text.size(), false);
    QList<TagMatch> matches;
    for (qsizetype i = 0; i < tags.size(); ++i) {
        const QString& tag = tags[i].first;
        if (tag.isEmpty())
            continue;
        qsizetype at = text.indexOf(tag, 0, cs);
        while (at >= 0) {
            if (isWholeWord(text, at, tag.size()) && isFree(taken, at, tag.size())) {
                std::fill(taken.begin() + at, taken.begin() + at + tag.size(), true);
                matches.append({at, tag.size(), i});
                at = text.indexOf(tag, at + tag.size(), cs);
            } else {
                at = text.indexOf(tag, at + 1, cs);
            }
        }
    }
    std::sort(matches.begin(), matches.end(),
              [](const TagMatch& a, const TagMatch& b) { return a.start < b.start; });
    return matches;
}

namespace {

constexpr QStringView macroOpening = u"<MACRO";
constexpr QStringView macroClosing = u"</MACRO>";

// Stands in the searched text for a character that a tag took: it is no part of any marker.
const QChar takenMark = QChar::Null;

// Looks for the macro blocks in a template's text once the tags have taken their places, and
// removes their markers one block at a time, each search from the start of what is left.
class MacroBlockSearch {
public:
    MacroBlockSearch(const QString& text, const QList<TagMatch>& matches, const TagValues& tags)
        : m_rest(text), m_removed(text.size(), false) {
        for (qsizetype i = 0; i < text.size(); ++i)
            m_places.append(i);
        for (const TagMatch& match : matches) {
            m_rest.replace(match.start, match.length, QString(match.length, takenMark));
            m_values.insert(match.start, tags[match.tag].second);
        }
    }

    // The blocks met, each with its markers removed, up to the end or to the first broken one.
    MacroBlocks run() {
        MacroBlocks blocks;
        qsizetype open = m_rest.indexOf(macroOpening);
        while (open >= 0) {
            const qsizetype nameStart = open + macroOpening.size();
            const qsizetype nameEnd = m_rest.indexOf(u'>', nameStart);
            if (nameEnd < 0) {
                blocks.warning =
                    QStringLiteral("Не найден закрывающий символ \">\" для \"<MACRO\" !");
                break;
            }
            const QString name = nameBetween(nameStart, nameEnd).trimmed();
            const qsizetype close = m_rest.indexOf(macroClosing, nameEnd + 1);
            if (close < 0) {
                blocks.warning = QStringLiteral("Вызов макроса ") + name +
                                 QStringLiteral(".\nНе найден закрывающий тег \"</MACRO>\" !");
                break;
            }
            remove(close, macroClosing.size());
            remove(open, nameEnd + 1 - open);
            blocks.names.append(name);
            open = m_rest.indexOf(macroOpening);
        }
        return blocks;
    }

    // Which characters of the text the removed markers took.
    const QList<bool>& removed() const { return m_removed; }

private:
    // The name as the filled document shows it: a tag's place holds its value.
    QString nameBetween(qsizetype start, qsizetype end) const {
        QString name;
        for (qsizetype i = start; i < end; ++i) {
            if (m_values.contains(m_places[i]))
                name += m_values[m_places[i]];
            else if (m_rest[i] != takenMark)
                name += m_rest[i];
        }
        return name;
    }

    void remove(qsizetype start, qsizetype length) {
        for (qsizetype i = start; i < start + length; ++i)
            m_removed[m_places[i]] = true;
        m_rest.remove(start, length);
        m_places.remove(start, length);
    }

    QString m_rest;                     // the text still searched
    QList<qsizetype> m_places;          // where each character of m_rest stands in the text
    QHash<qsizetype, QString> m_values; // the value of the tag whose place starts there
    QList<bool> m_removed;
};

} // namespace

QList<TextEdit> planEdits(const QString& text, const TagValues& tags, Family family,
                          MacroBlocks* macros) {
    const QList<TagMatch> matches = findTags(text, tags, family);
    QList<bool> removed(text.size(), false);
    if (macros != nullptr && family == Family::Word) {
        MacroBlockSearch search(text, matches, tags);
        *macros = search.run();
        removed = search.removed();
    } else if (macros != nullptr) {
        *macros = MacroBlocks();
    }
    QList<TextEdit> edits;
    for (const TagMatch& match : matches) {
        if (!removed[match.start]) // else the tag stood in a removed marker
            edits.append({match.start, match.length, tags[match.tag].second});
    }
    qsizetype at = removed.indexOf(true);
    while (at >= 0) {
        qsizetype end = at;
        while (end < removed.size() && removed[end])
            ++end;
        edits.append({at, end - at, QString()});
        at = removed.indexOf(true, end);
    }
    std::sort(edits.begin(), edits.end(),
              [](const TextEdit& a, const TextEdit& b) { return a.start < b.start; });
    return edits;
}

namespace {

enum class TokenKind { Open, Close, Control, Text, Other };

struct Token {
    TokenKind kind = TokenKind::Other;
    QByteArray raw;
    QChar ch;              // the character a text token stands for
    bool visible = false;  // text of the document, not of a table or other destination
    bool bareWord = false; // ends with a control word that no delimiter closes
    int unicodeSkip = 1;   // the fallback characters that follow "\uN" at this place
    bool replaced = false;
    QByteArray replacement;
};

// Groups that hold no text of the document.
const QSet<QByteArray>& destinations() {
    static const QSet<QByteArray> words = {"fonttbl",
                                           "colortbl",
                                           "stylesheet",
                                           "info",
                                           "pict",
                                           "object",
                                           "listtable",
                                           "listoverridetable",
                                           "rsidtbl",
                                           "generator",
                                           "xmlnstbl",
                                           "themedata",
                                           "colorschememapping",
                                           "datastore",
                                           "latentstyles",
                                           "revtbl",
                                           "fldinst",
                                           "filetbl",
                                           "mmathPr",
                                           "pgdsctbl",
                                           "bkmkstart",
                                           "bkmkend"};
    return words;
}

// Control words that stand for a character of the text.
QChar characterOfWord(const QByteArray& word) {
    static const QHash<QByteArray, QChar> chars = {
        {"par", u'\n'},          {"line", u'\n'},       {"sect", u'\n'},
        {"page", u'\n'},         {"cell", u'\n'},       {"row", u'\n'},
        {"nestcell", u'\n'},     {"column", u'\n'},     {"tab", u'\t'},
        {"emdash", u'\x2014'},   {"endash", u'\x2013'}, {"bullet", u'\x2022'},
        {"lquote", u'\x2018'},   {"rquote", u'\x2019'}, {"ldblquote", u'\x201C'},
        {"rdblquote", u'\x201D'}};
    return chars.value(word);
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// The character of one Windows-1251 byte; "?" when the hex digits gave none.
QChar byteChar(const QByteArray& byte) {
    const QString text = cp1251::decode(byte);
    return text.isEmpty() ? QChar(u'?') : text[0];
}

struct GroupState {
    bool skip = false;
    int unicodeSkip = 1;
};

class RtfReader {
public:
    explicit RtfReader(const QByteArray& rtf) : m_rtf(rtf) {}

    QList<Token> read() {
        while (m_pos < m_rtf.size())
            readToken();
        return m_tokens;
    }

private:
    void readToken() {
        const char c = m_rtf[m_pos];
        if (c == '{') {
            m_stack.append(m_state);
            add(TokenKind::Open, 1);
            m_groupStart = true;
            return;
        }
        if (c == '}') {
            if (!m_stack.isEmpty())
                m_state = m_stack.takeLast();
            add(TokenKind::Close, 1);
            return;
        }
        if (c == '\\') {
            readControl();
            return;
        }
        if (c == '\r' || c == '\n') {
            add(TokenKind::Other, 1);
            return;
        }
        addText(1, byteChar(m_rtf.mid(m_pos, 1)));
    }

    void readControl() {
        if (m_pos + 1 >= m_rtf.size()) {
            add(TokenKind::Other, 1);
            return;
        }
        const char n = m_rtf[m_pos + 1];
        if (isAsciiLetter(n)) {
            readWord();
        } else if (n == '\'') {
            if (m_pos + 4 <= m_rtf.size())
                addText(4, byteChar(QByteArray::fromHex(m_rtf.mid(m_pos + 2, 2))));
            else
                add(TokenKind::Other, m_rtf.size() - m_pos);
        } else if (n == '\\' || n == '{' || n == '}') {
            addText(2, QChar::fromLatin1(n));
        } else if (n == '~') {
            addText(2, QChar(0x00A0));
        } else if (n == '\r' || n == '\n') {
            addText(2, u'\n');
        } else {
            if (n == '*' && m_groupStart)
                m_state.skip = true;
            add(TokenKind::Control, 2);
        }
    }

    void readWord() {
        qsizetype end = m_pos + 1;
        while (end < m_rtf.size() && isAsciiLetter(m_rtf[end]))
            ++end;
        const QByteArray word = m_rtf.mid(m_pos + 1, end - m_pos - 1);
        const qsizetype paramStart = end;
        if (end < m_rtf.size() && m_rtf[end] == '-')
            ++end;
        while (end < m_rtf.size() && isAsciiDigit(m_rtf[end]))
            ++end;
        const int param = m_rtf.mid(paramStart, end - paramStart).toInt();
        const bool delimited = end < m_rtf.size() && m_rtf[end] == ' ';
        if (delimited)
            ++end;
        if (m_groupStart && destinations().contains(word))
            m_state.skip = true;
        if (word == "uc")
            m_state.unicodeSkip = param;
        if (word == "bin" && param > 0)
            end = std::min(m_rtf.size(), end + param);
        if (word == "u") {
            readUnicode(end, param, delimited);
            return;
        }
        const QChar ch = characterOfWord(word);
        if (!ch.isNull())
            addText(end - m_pos, ch);
        else
            add(TokenKind::Control, end - m_pos);
        m_tokens.last().bareWord = !delimited;
    }

    // "\uN" and the fallback characters after it, as one character of the text.
    void readUnicode(qsizetype end, int param, bool delimited) {
        const qsizetype wordEnd = end;
        for (int i = 0; i < m_state.unicodeSkip && end < m_rtf.size(); ++i) {
            const char c = m_rtf[end];
            if (c == '{' || c == '}' || (c == '\\' && m_rtf.mid(end, 2) != "\\'"))
                break;
            end += c == '\\' ? 4 : 1;
        }
        end = std::min(end, m_rtf.size());
        addText(end - m_pos, QChar(ushort(param < 0 ? param + 65536 : param)));
        m_tokens.last().bareWord = !delimited && end == wordEnd;
    }

    void addText(qsizetype length, QChar ch) {
        add(TokenKind::Text, length);
        m_tokens.last().ch = ch;
        m_tokens.last().visible = !m_state.skip;
    }

    void add(TokenKind kind, qsizetype length) {
        Token token;
        token.kind = kind;
        token.raw = m_rtf.mid(m_pos, length);
        token.unicodeSkip = m_state.unicodeSkip;
        m_tokens.append(token);
        m_pos += length;
        if (kind != TokenKind::Open && kind != TokenKind::Other)
            m_groupStart = false;
    }

    const QByteArray& m_rtf;
    qsizetype m_pos = 0;
    QList<Token> m_tokens;
    QList<GroupState> m_stack;
    GroupState m_state;
    bool m_groupStart = false;
};

// A value as RTF text: "\", "{" and "}" escaped, any other character beyond ASCII as "\uN".
QByteArray rtfText(const QString& value, int unicodeSkip) {
    QByteArray out;
    for (const QChar c : value) {
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c.unicode());
        } else if (c == u'\n') {
            out += "\\line ";
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c.unicode() >= 0x20 && c.unicode() < 0x80) {
            out += char(c.unicode());
        } else if (c.unicode() >= 0x80) {
            out += "\\u" + QByteArray::number(qint16(c.unicode()));
            out += unicodeSkip > 0 ? QByteArray(unicodeSkip, '?') : QByteArray(" ");
        }
    }
    return out;
}

// Paragraph, cell, line and tab marks that an edit runs across stay, as the break elements of an
// XML part do: the document keeps its shape.
bool isBreak(QChar c) {
    return c == u'\n' || c == u'\t';
}

QByteArray writeTokens(const QList<Token>& tokens) {
    QByteArray out;
    bool needsDelimiter = false;
    bool changed = false;
    for (const Token& token : tokens) {
        const QByteArray& text = token.replaced ? token.replacement : token.raw;
        if (text.isEmpty()) {
            changed = changed || token.replaced;
            continue;
        }
        const bool startsText = token.replaced || token.kind == TokenKind::Text;
        if (needsDelimiter && (changed || token.replaced) && startsText && text[0] != '\\')
            out += ' ';
        out += text;
        needsDelimiter = !token.replaced && token.bareWord;
        changed = false;
    }
    return out;
}

} // namespace

QByteArray fillRtf(const QByteArray& rtf, const TagValues& tags, Family family,
                   MacroBlocks* macros) {
    QList<Token> tokens = RtfReader(rtf).read();
    QString text;
    QList<qsizetype> owners;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == TokenKind::Text && tokens[i].visible) {
            text += tokens[i].ch;
            owners.append(i);
        }
    }
    for (const TextEdit& edit : planEdits(text, tags, family, macros)) {
        Token& first = tokens[owners[edit.start]];
        first.replacement = rtfText(edit.text, first.unicodeSkip);
        first.replaced = true;
        for (qsizetype k = edit.start + 1; k < edit.start + edit.length; ++k) {
            if (!isBreak(text[k]))
                tokens[owners[k]].replaced = true;
        }
    }
    return writeTokens(tokens);
}

} // namespace templatefill
