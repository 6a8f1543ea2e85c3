#pragma once

#include <QString>
#include <exception>

// Errors travel as exceptions that carry the message the user sees.
class Exception : public std::exception {
public:
    explicit Exception(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A silent abort: stops the current action and shows nothing.
class SilentAbort : public Exception {
public:
    SilentAbort() : Exception(QStringLiteral("Operation aborted")) {}
};

// Text that is no number, no date, or no integer.
class ConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index or a name that a list does not hold.
class ListError : public Exception {
public:
    using Exception::Exception;
};

// A command text that cannot be parsed.
class ParserError : public Exception {
public:
    using Exception::Exception;
};
