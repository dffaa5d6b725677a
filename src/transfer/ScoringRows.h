// The rows of the scoring database that a pass reads, as typed values: the columns are looked up once for a
// walk over thousands of rows, and the RoundData row of each round is located once.
#pragma once

#include "scoringdb/TTable.h"
#include "transfer/ResultConversion.h"

#include <QHash>
#include <optional>
#include <utility>

namespace kibic {

// The RoundData columns that place a score.
struct RoundColumns
{
    // What a walk that locates rounds reads (TTable::SetReadColumns).
    [[nodiscard]] static QStringList Names();
    explicit RoundColumns(const TTable& rdaTable);
    // The values of the current row.
    [[nodiscard]] RoundDataRow Read(const TTable& rdaTable) const;

    TTable::Column Slot;
    bool BoardSetColumnsRead = false; // "custom_Komp", "LowBoard" and "HighBoard" are all there
    TTable::Column BoardSet;
    TTable::Column LowBoard;
    TTable::Column HighBoard;
    std::optional<std::pair<TTable::Column, TTable::Column>> Pairs; // NSPair and EWPair, when the table has them
};

// The ReceivedData columns of a score.
struct ReceivedColumns
{
    // What a walk over the scores reads (TTable::SetReadColumns), with the instance's mark column.
    [[nodiscard]] static QStringList Names(const QString& processedColumn);
    explicit ReceivedColumns(const TTable& recTable);
    // The values of the current row.
    [[nodiscard]] ReceivedResult Read(const TTable& recTable) const;
    // When the current row was keyed in at the table, as hours, minutes and seconds; empty in a database
    // without the column or a row without the time.
    [[nodiscard]] QString KeyedInTime(const TTable& recTable) const;

    TTable::Column Section;
    TTable::Column Table;
    TTable::Column Round;
    TTable::Column Board;
    TTable::Column Remarks;
    TTable::Column Contract;
    TTable::Column NsEw;
    TTable::Column LeadCard;
    TTable::Column Result;
    TTable::Column Erased;
    std::optional<TTable::Column> TimeLog; // a database of an older server has no time
    std::optional<std::pair<TTable::Column, TTable::Column>> Pairs; // PairNS and PairEW, when the table has them
};

// A round of a table in a section.
struct RoundKey
{
    qint32 Section = 0;
    qint32 Table = 0;
    qint32 Round = 0;
    friend bool operator==(const RoundKey&, const RoundKey&) = default;
};

inline size_t qHash(const RoundKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.Section, key.Table, key.Round);
}

// The lowest and the highest round of some received rows.
struct RoundRange
{
    qint32 First = 0;
    qint32 Last = 0;
};

// The rounds of the rows of an open received table; none when a round cannot be read as a number (the row
// reports that when it is handled). Leaves the first row current.
[[nodiscard]] std::optional<RoundRange> RoundsOfRows(TTable& recTable, const TTable::Column& round);

// The RoundData row of each round a walk meets, located once: every board of a round arrives as a received
// row of its own. The table is opened at the first row located, so an idle pass does not read it; given the
// rounds of the walk's rows, only the RoundData rows of those rounds are read (a pass during a session
// meets the last round or two, not the whole tournament). The caller closes the table and clears its filter.
class RoundLookup
{
public:
    explicit RoundLookup(TTable& rdaTable, std::optional<RoundRange> rounds = std::nullopt);
    // The round's row, or a row not found.
    [[nodiscard]] RoundDataRow Of(const ReceivedResult& received);

private:
    [[nodiscard]] RoundDataRow Locate(const RoundKey& key);

    TTable& m_table;
    std::optional<RoundRange> m_rounds;
    std::optional<RoundColumns> m_columns; // looked up at the first row found, valid while the table is open
    QHash<RoundKey, RoundDataRow> m_rows;
};

// The RoundData values of the current row of an open rdaTable.
[[nodiscard]] RoundDataRow ReadRoundDataRow(const TTable& rdaTable);

// The ReceivedData values of the current row of an open recTable.
[[nodiscard]] ReceivedResult ReadReceivedResult(const TTable& recTable);

} // namespace kibic
