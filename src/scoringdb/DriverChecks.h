// What Kibic relies on from the database driver, asked of the driver itself on a scoring database that
// Kibic has just built: the pre-flight check of a director's PC runs these on its scratch file.
#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

namespace kibic {

// One answer: whether the driver behaves as Kibic relies on, and the line the director reads (and sends
// back), with the driver's own words when it does not.
struct DriverCheck
{
    bool Passed = false;
    QString Text;
};

// The columns of ReceivedData that the terminal server names when it appends a score; every other column
// (ID, Processed, Processed1..4, Erased) is left to the file's defaults.
[[nodiscard]] QString TerminalServerInsertStatement();

// The values of one such row, DateLog and TimeLog as the connection's dialect keeps them.
[[nodiscard]] QVariantList TerminalServerInsertValues(bool sqlite, int section, int table, int round, int board,
    int pairNs, int pairEw, int declarer, const QString& side, const QString& contract, const QString& result,
    const QString& leadCard, const QString& remarks);

// The section number of the rows the checks write; the checks remove them again.
inline constexpr int kDriverCheckSection = 99;

// Runs every check on the scoring database at bwsPath (built by Kibic, tables empty or not), through
// connections of its own, and removes the rows it wrote. The lines come in this order: defaults, texts,
// Yes/No, @@IDENTITY, lock between two connections, text too long for its column.
[[nodiscard]] QList<DriverCheck> CheckDriver(const QString& bwsPath);

} // namespace kibic
