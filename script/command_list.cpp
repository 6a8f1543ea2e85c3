#include "script/command_list.h"

#include "core/cp1251.h"
#include "core/numbers.h"

namespace {

const QChar kBlank(u' ');
const QChar kComma(u',');
const QChar kBackslash(u'\\');

ParserError bracketsNotFound(const QString& text) {
    return ParserError(QStringLiteral("Bracket's not found in line \"%1\"").arg(text));
}

} // namespace

void CommandList::registerCommand(const QString& name, Handler handler) {
    m_commands.push_back(Command{name, std::move(handler)});
}

int CommandList::indexOf(const QString& name) const {
    for (size_t i = 0; i < m_commands.size(); ++i)
        if (m_commands[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    throw ListError(QStringLiteral("Command \"%1\" not found!").arg(name));
}

void CommandList::executeCommand(const QString& command) const {
    const qsizetype open = command.indexOf(u'(');
    const qsizetype close = command.indexOf(u')');
    if (open < 0 || close < open)
        throw bracketsNotFound(command);
    const QString name = command.left(open);
    const QString arguments = command.mid(open + 1, close - open - 1);
    m_commands[size_t(indexOf(name))].handler(arguments);
}

void CommandList::executeLine(const QString& line) const {
    qsizetype p = 0;
    while (true) {
        while (p < line.size() && line[p] == kBlank)
            ++p;
        if (p >= line.size())
            return;
        const qsizetype close = line.indexOf(u')', p);
        if (close < 0)
            throw ParserError(QStringLiteral("Bracket's not found in line \"%1\" pos %2")
                                  .arg(line, QString::number(p + 1)));
        executeCommand(line.mid(p, close - p + 1));
        p = close + 1;
    }
}

QString CommandList::param(int index, const QString& arguments) {
    qsizetype start = 0;
    for (int i = 1; i < index; ++i) {
        const qsizetype comma = arguments.indexOf(kComma, start);
        if (comma < 0)
            throw CommandArgumentError(QStringLiteral("In line %1 parameter %2 not found!")
                                           .arg(arguments, QString::number(index)));
        start = comma + 1;
    }
    const qsizetype end = arguments.indexOf(kComma, start);
    return decodeParam(end < 0 ? arguments.mid(start) : arguments.mid(start, end - start));
}

QString CommandList::encodeParam(const QString& s) {
    QString result;
    result.reserve(s.size());
    for (QChar c : s) {
        if (c == u')')
            result += QStringLiteral("\\41\\");
        else if (c == kComma)
            result += QStringLiteral("\\44\\");
        else if (c == kBackslash)
            result += QStringLiteral("\\92\\");
        else
            result += c;
    }
    return result;
}

QString CommandList::decodeParam(const QString& s) {
    QString result;
    qsizetype p = 0;
    while (true) {
        const qsizetype left = s.indexOf(kBackslash, p);
        if (left < 0)
            return result + s.mid(p);
        result += s.mid(p, left - p);
        const qsizetype right = s.indexOf(kBackslash, left + 1);
        if (right < 0)
            throw CommandArgumentError(
                QStringLiteral("Right \\ not found in parameter %1 !").arg(s));
        const QString code = s.mid(left + 1, right - left - 1);
        const int value = strToInt(code);
        result += cp1251::decode(QByteArray(1, char(value & 0xFF)));
        p = right + 1;
    }
}
