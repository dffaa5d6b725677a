// The one exception type of Kibic: a run-time failure with a message for the operator.
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace kibic {

// A failure that ends the current user action. The message is Polish, for the operator, and names the
// file or table and what failed; it is shown where the action started (a window handler, a CLI command).
class KibicError : public std::exception
{
public:
    explicit KibicError(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {
    }

    [[nodiscard]] const QString& Message() const noexcept { return m_message; }
    [[nodiscard]] const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A value quoted in a message: cut to its first 40 characters and "…" when it is longer, so that a damaged
// or mistyped value of any length still leaves a message that can be read.
[[nodiscard]] inline QString QuotedValue(const QString& value)
{
    constexpr qsizetype kLongestQuoted = 40;
    if (value.size() <= kLongestQuoted)
        return value;
    return value.left(kLongestQuoted) + QChar(0x2026);
}

} // namespace kibic
