// A scoring database that a new build would replace: the results the tables sent into it, and the copy of
// it kept beside it before it goes.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace kibic {

// What an existing file holds that a rebuild would lose.
struct ReceivedResults
{
    // The rows of ReceivedData; none when the file is no scoring database at all (not a SQLite or Jet file).
    // Empty when the file is a database whose rows could not be counted (held, damaged, no driver): then it
    // may hold results.
    std::optional<qint64> Count = 0;
    QString Failure; // why they could not be counted

    // Whether a rebuild may lose results the tables sent.
    [[nodiscard]] bool MayBeLost() const { return !Count || *Count > 0; }
};

[[nodiscard]] ReceivedResults CountReceivedResults(const QString& file);

// The line added to the overwrite question of a file that may hold results: how many, and that a copy is
// kept.
[[nodiscard]] QString ReceivedResultsLine(const QString& file, const ReceivedResults& results);

// The name of the copy: beside the file, its name followed by "-kopia-", the date and the time
// ("puchar-kopia-2025-03-14-190733.bws"), and "-2", "-3" ... when a file of that name exists already.
[[nodiscard]] QString KeptCopyName(const QString& file, const QDateTime& when);

// Copies the file whole under KeptCopyName of now and returns the copy's name. A failure raises KibicError
// naming both files; the file itself is never touched.
[[nodiscard]] QString KeepCopy(const QString& file);

} // namespace kibic
