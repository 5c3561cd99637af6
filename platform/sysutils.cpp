#include "sysutils.h"

#include <limits>
#include <optional>

Exception::Exception(const QString& message) : std::runtime_error(message.toStdString()) {}

namespace {

int DigitValue(char16_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<int> ParseInt(QStringView s) {
    while (s.startsWith(u' ')) s = s.mid(1);
    bool negative = false;
    if (s.startsWith(u'+') || s.startsWith(u'-')) {
        negative = s.front() == u'-';
        s = s.mid(1);
    }
    int base = 10;
    if (s.startsWith(u'$')) {
        base = 16;
        s = s.mid(1);
    } else if (s.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        s = s.mid(2);
    }
    if (s.isEmpty()) return std::nullopt;

    const qint64 limit = qint64(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    qint64 value = 0;
    for (const QChar c : s) {
        const int digit = DigitValue(c.unicode());
        if (digit < 0 || digit >= base) return std::nullopt;
        value = value * base + digit;
        if (value > limit) return std::nullopt;
    }
    return int(negative ? -value : value);
}

}  // namespace

int StrToInt(const QString& text) {
    if (const auto value = ParseInt(text)) return *value;
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}
