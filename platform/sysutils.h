#pragma once
// Failures as exceptions with a message, and text-to-integer conversion.

#include <QString>
#include <stdexcept>

// Base of every failure the program reports to its user: the message is what the user reads.
class Exception : public std::runtime_error {
public:
    explicit Exception(const QString& message);
    QString Message() const { return QString::fromUtf8(what()); }
};

class EConvertError : public Exception {
    using Exception::Exception;
};

// Leading spaces, an optional sign, then decimal digits or hexadecimal digits after "$" or "0x";
// the value must fit a signed 32-bit integer. Anything else raises EConvertError.
int StrToInt(const QString& text);
