#pragma once

#include "core/exceptions.h"

#include <QString>
#include <functional>
#include <vector>

// A missing argument or a broken escape in a command's arguments.
class CommandArgumentError : public Exception {
public:
    using Exception::Exception;
};

// One registered command: its name and the handler that gets the raw argument text.
struct Command {
    QString name;
    std::function<void(const QString&)> handler;
};

// The parser of command lines: one or more commands, each a name followed by its arguments in
// parentheses, separated by blanks or by nothing. Names match case-insensitively. Arguments are
// separated by ","; inside one, "\" + decimal code + "\" stands for that Windows-1251 character
// (")" is \41\, "," is \44\, "\" is \92\).
class CommandList {
public:
    using Handler = std::function<void(const QString&)>;

    // Appends a command; of equal names the first registered wins.
    void registerCommand(const QString& name, Handler handler);

    // The index of the first command of that name; ListError when there is none.
    int indexOf(const QString& name) const;

    int count() const { return int(m_commands.size()); }

    // Runs one command text "Name(arguments)"; ParserError when a bracket is missing.
    void executeCommand(const QString& command) const;

    // Runs every command of the line in order; ParserError when a ")" is missing.
    void executeLine(const QString& line) const;

    // Argument index (1-based; 0 or less acts as 1) of an argument text, decoded.
    // CommandArgumentError when the text has too few commas.
    static QString param(int index, const QString& arguments);

    // Writes ")", "," and "\" as their escapes.
    static QString encodeParam(const QString& s);

    // Replaces every escape by its character; CommandArgumentError when a "\" has no closing
    // "\", ConvertError when the code is no integer.
    static QString decodeParam(const QString& s);

private:
    std::vector<Command> m_commands;
};
