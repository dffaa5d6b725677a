// The deals of a session as the scoring database holds them: the public face of the deals for the windows,
// the rehearsal server and the checks of results.
#pragma once

#include "deals/Deal.h"
#include "deals/DoubleDummy.h"
#include "deals/HandRecords.h"

#include <map>
#include <optional>
#include <vector>

namespace kibic {

class SessionDeals
{
public:
    // A deal of the session; the double-dummy table is there when the deals were analysed.
    struct Entry
    {
        Deal Hands;
        std::optional<DoubleDummyTable> Table;
    };

    void Add(const SessionBoard& board, Entry entry) { m_entries[board] = std::move(entry); }

    [[nodiscard]] bool IsEmpty() const { return m_entries.empty(); }
    [[nodiscard]] std::size_t Size() const { return m_entries.size(); }
    // Every board that has a deal, in section and board order.
    [[nodiscard]] std::vector<SessionBoard> Boards() const;

    // The deal of board (its printed number) in section; null when the session has none for it.
    [[nodiscard]] const Deal* DealOf(qint32 section, qint32 board) const;
    // The double-dummy table of the board; null when there is no deal or it was not analysed.
    [[nodiscard]] const DoubleDummyTable* TableOf(qint32 section, qint32 board) const;
    // The tricks the declarer takes in the strain with every card in sight; nothing without an analysis.
    [[nodiscard]] std::optional<int> TricksOf(qint32 section, qint32 board, Seat declarer, Denomination strain) const;
    // The hand that holds the card; nothing without a deal.
    [[nodiscard]] std::optional<Seat> HolderOf(qint32 section, qint32 board, const Card& card) const;
    // The deal of the board with its table at once; null when the session has none for it.
    [[nodiscard]] const Entry* EntryOf(qint32 section, qint32 board) const;

private:
    std::map<SessionBoard, Entry> m_entries;
};

// The deals of the database fileName: HandRecord, with HandEvaluation's tricks where it has a row of the same
// section and board. The dealer and vulnerability are those of the board number's standard rotation, as the
// terminals score it. A database without HandRecord has no deals; a HandRecord row whose hands are no deal of
// the pack (ranks as HandRecord writes them, or with "10" for the ten and spaces between the ranks) raises
// KibicError naming the table, the section and the board.
[[nodiscard]] SessionDeals ReadSessionDeals(const QString& fileName);

} // namespace kibic
