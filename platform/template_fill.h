#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// Filling a print template: its tags replaced by their values in the document file itself.
namespace templatefill {

// The word processor a template was made for: the two match tags differently. Both match whole
// words only; the Word family matches the letter case, the Writer family does not.
enum class Family { Word, Writer };

// The tags and their values, in the order they are replaced.
using TagValues = QList<QPair<QString, QString>>;

// One place of the text where a tag is replaced: tag is its index in the TagValues.
struct TagMatch {
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype tag = 0;
};

// Where the tags stand in text, in the order of the text. Each tag is looked for in the
// template's own text only: a place taken by an earlier tag is not searched for a later one, so
// a value is never searched again.
QList<TagMatch> findTags(const QString& text, const TagValues& tags, Family family);

// The macro blocks met in the main text of a Word-family template: "<MACRO name>body</MACRO>"
// asked the word processor to run the macro on the body. Macros are not run here: the markers
// are removed, the body stays, and the caller says that the macros were not run.
struct MacroBlocks {
    QStringList names; // in the order the blocks were found
    QString warning;   // why the search stopped before the end of the text; empty if it did not
};

// One change of a template's text: length characters from start give way to text.
struct TextEdit {
    qsizetype start = 0;
    qsizetype length = 0;
    QString text;
};

// The changes that fill text, in its order and never overlapping: each place findTags found gives
// way to its tag's value. When macros is given and the template is of the Word family, the
// markers of its macro blocks are removed too and *macros tells which blocks were met. The
// markers are looked for once the tags have taken their places: a value is never part of one.
QList<TextEdit> planEdits(const QString& text, const TagValues& tags, Family family,
                          MacroBlocks* macros);

// The RTF document with its tags replaced. A tag may run across control words and groups of the
// same paragraph (such as "{\b ...}"); the value takes the place of the tag's first character.
// Groups and control words are kept; font tables, style sheets and other destinations are not
// searched. Text bytes are read as Windows-1251. When macros is given, the macro blocks are
// handled as planEdits says; their markers go the way of a tag with an empty value.
QByteArray fillRtf(const QByteArray& rtf, const TagValues& tags, Family family,
                   MacroBlocks* macros = nullptr);

// How the text of an XML part is told from its markup: in an OpenDocument part the character
// data of paragraphs and headings, in a WordprocessingML part that of its "w:t" elements.
enum class XmlKind { OpenDocument, WordprocessingMl };

// The XML part with its tags replaced. A tag may run across spans and runs of one paragraph; the
// value, escaped for XML, takes the place of the tag's first character; its line breaks and tabs
// become the part's own break and tab elements. Macros is given for the part that holds the
// document's main text: its macro blocks are then handled as planEdits says.
QByteArray fillXml(const QByteArray& xml, XmlKind kind, const TagValues& tags, Family family,
                   MacroBlocks* macros = nullptr);

// The ODT or DOCX document at source with its tags replaced in the body, headers, footers and
// text frames, written to target; the macro blocks met in the body. Throws Exception when either
// file fails.
MacroBlocks fillPackage(const QString& source, const QString& target, const TagValues& tags,
                        Family family);

} // namespace templatefill
