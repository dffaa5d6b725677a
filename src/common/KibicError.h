// The one exception type of Kibic: a run-time failure with a message for the operator.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <exception>

namespace kibic {

// What a failure was. Most failures end the action for good; a file that another program held for longer
// than Kibic waits (the terminal server's database, a result file that ZyRT is reading) is only worth
// trying again a little later.
enum class FailureKind {
    Failure,      // anything else: the operator has to act
    DatabaseBusy, // the other program held the database
    FileBusy,     // another program held the file (on Windows a sharing violation)
};

// One diagnostic record of a database driver: what the driver said of a failure, in its own words and
// codes. The logic decides by the codes; the operator reads the text.
struct DriverDiagnostic
{
    QString SqlState; // the five characters of ODBC; empty where the driver has none (SQLite itself)
    qint64 NativeCode = 0;
    QString Text;
    friend bool operator==(const DriverDiagnostic&, const DriverDiagnostic&) = default;
};

// A failure that ends the current user action. The message is Polish, for the operator, and names the
// file or table and what failed; it is shown where the action started (a window handler, a CLI command).
// A busy failure also carries the name of the file that was held.
class KibicError : public std::exception
{
public:
    explicit KibicError(QString message, FailureKind kind = FailureKind::Failure, QString heldFile = QString())
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
        , m_kind(kind)
        , m_heldFile(std::move(heldFile))
    {
    }

    [[nodiscard]] const QString& Message() const noexcept { return m_message; }
    [[nodiscard]] const char* what() const noexcept override { return m_utf8.constData(); }
    [[nodiscard]] FailureKind Kind() const noexcept { return m_kind; }
    // Whether the file was only held for now by another program: trying again later may succeed.
    [[nodiscard]] bool Busy() const noexcept { return m_kind != FailureKind::Failure; }
    // The file that was held, for a busy failure.
    [[nodiscard]] const QString& HeldFile() const noexcept { return m_heldFile; }
    // What the database driver said, for a failure of a statement or a connection (empty otherwise).
    [[nodiscard]] const QList<DriverDiagnostic>& Diagnostics() const noexcept { return m_diagnostics; }
    KibicError& WithDiagnostics(QList<DriverDiagnostic> diagnostics)
    {
        m_diagnostics = std::move(diagnostics);
        return *this;
    }

private:
    QString m_message;
    QByteArray m_utf8;
    FailureKind m_kind;
    QString m_heldFile;
    QList<DriverDiagnostic> m_diagnostics;
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
