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

} // namespace kibic
