#pragma once

#include "util/uExceptions.h"

#include <QString>
#include <functional>
#include <vector>

// A missing argument or a broken escape in a command's arguments.
class ECommandListParserError : public Exception {
public:
    using Exception::Exception;
};

// One registered command: its name and the handler that gets the raw argument text.
struct TCommandsData {
    QString Name;
    std::function<void(const QString&)> Handler;
};

// The parser of command lines: one or more commands, each a name followed by its arguments in
// parentheses, separated by blanks or by nothing. Names match case-insensitively. Arguments are
// separated by ","; inside one, "\" + decimal code + "\" stands for that Windows-1251 character
// (")" is \41\, "," is \44\, "\" is \92\).
class TCommandList {
public:
    using THandler = std::function<void(const QString&)>;

    // Appends a command; of equal names the first registered wins.
    void RegisterCommand(const QString& name, THandler handler);

    // The index of the first command of that name; EListError when there is none.
    int IndexOf(const QString& name) const;

    int Count() const { return int(m_commands.size()); }

    // Runs one command text "Name(arguments)"; EParserError when a bracket is missing.
    void ExecuteCommand(const QString& command) const;

    // Runs every command of the line in order; EParserError when a ")" is missing.
    void ExecuteLine(const QString& line) const;

    // Argument index (1-based; 0 or less acts as 1) of an argument text, decoded.
    // ECommandListParserError when the text has too few commas.
    static QString GetParam(int index, const QString& arguments);

    // Writes ")", "," and "\" as their escapes.
    static QString EncodeParam(const QString& s);

    // Replaces every escape by its character; ECommandListParserError when a "\" has no closing
    // "\", EConvertError when the code is no integer.
    static QString DecodeParam(const QString& s);

private:
    std::vector<TCommandsData> m_commands;
};
