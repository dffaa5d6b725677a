// Reading the session's deals back from HandRecord and HandEvaluation.
#include "deals/SessionDeals.h"

#include "common/KibicError.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"

namespace kibic {

namespace {

SessionBoard BoardOfRow(const TTable& table)
{
    return { table.FieldAsInteger(QStringLiteral("Section")), table.FieldAsInteger(QStringLiteral("Board")) };
}

Deal DealOfRow(const TTable& table, const SessionBoard& board)
{
    Deal deal;
    deal.Board = board.Board;
    deal.Dealer = StandardDealer(board.Board);
    deal.Vulnerable = StandardVulnerability(board.Board);
    const QStringList columns = HandRecordColumns();
    for (int i = 0; i < columns.size(); ++i) {
        const QString text = table.FieldAsString(columns[i]).trimmed();
        // Another program may have written the ten as "10" or put spaces between the ranks.
        QString ranks = text;
        ranks.remove(QLatin1Char(' ')).replace(QStringLiteral("10"), QStringLiteral("T"));
        const std::optional<Holding> holding = HoldingOfText(ranks);
        if (!holding)
            throw KibicError(
                QStringLiteral("Tabela HandRecord, sektor %1, rozdanie %2: w kolumnie %3 \"%4\" to nie są karty.")
                    .arg(board.Section)
                    .arg(board.Board)
                    .arg(columns[i], QuotedValue(text)));
        deal.Holdings[IndexOf(kSeats[i / 4])][IndexOf(kSuits[i % 4])] = *holding;
    }
    if (const QString problem = DealProblem(deal); !problem.isEmpty())
        throw KibicError(QStringLiteral("Tabela HandRecord, sektor %1, rozdanie %2: %3.")
                             .arg(board.Section)
                             .arg(board.Board)
                             .arg(problem));
    return deal;
}

// The tricks of a HandEvaluation row; nothing when a count is missing or outside 0..13.
std::optional<DoubleDummyTable> TableOfRow(const TTable& table)
{
    DoubleDummyTable tricks;
    const QStringList columns = HandEvaluationTrickColumns();
    for (int i = 0; i < columns.size(); ++i) {
        const QVariant value = table.FieldValue(columns[i]);
        const int count = table.FieldAsInteger(columns[i]);
        if (value.isNull() || count < 0 || count > 13)
            return std::nullopt;
        tricks.SetTricks(kSeats[i / 5], kStrains[i % 5], count);
    }
    return tricks;
}

} // namespace

std::vector<SessionBoard> SessionDeals::Boards() const
{
    std::vector<SessionBoard> boards;
    for (const auto& [board, entry] : m_entries)
        boards.push_back(board);
    return boards;
}

const SessionDeals::Entry* SessionDeals::EntryOf(qint32 section, qint32 board) const
{
    const auto found = m_entries.find({ section, board });
    return found == m_entries.end() ? nullptr : &found->second;
}

const Deal* SessionDeals::DealOf(qint32 section, qint32 board) const
{
    const Entry* entry = EntryOf(section, board);
    return entry ? &entry->Hands : nullptr;
}

const DoubleDummyTable* SessionDeals::TableOf(qint32 section, qint32 board) const
{
    const Entry* entry = EntryOf(section, board);
    return entry && entry->Table ? &*entry->Table : nullptr;
}

std::optional<int> SessionDeals::TricksOf(qint32 section, qint32 board, Seat declarer, Denomination strain) const
{
    const DoubleDummyTable* table = TableOf(section, board);
    if (!table)
        return std::nullopt;
    return table->TricksOf(declarer, strain);
}

std::optional<Seat> SessionDeals::HolderOf(qint32 section, qint32 board, const Card& card) const
{
    const Deal* deal = DealOf(section, board);
    return deal ? deal->HolderOf(card) : std::nullopt;
}

SessionDeals ReadSessionDeals(const QString& fileName)
{
    SessionDeals deals;
    bool hasEvaluation = false;
    {
        DbConnection connection(ScoringConnectionString(fileName));
        if (!HasTable(connection, QStringLiteral("HandRecord")))
            return deals;
        hasEvaluation = HasTable(connection, QStringLiteral("HandEvaluation"));
    }
    const QString connectionString = ScoringConnectionString(fileName);
    TTable hands(connectionString, QStringLiteral("HandRecord"));
    hands.Open();
    for (hands.First(); !hands.Eof(); hands.Next()) {
        const SessionBoard board = BoardOfRow(hands);
        deals.Add(board, { DealOfRow(hands, board), std::nullopt });
    }
    hands.Close();
    if (!hasEvaluation)
        return deals;
    TTable evaluation(connectionString, QStringLiteral("HandEvaluation"));
    evaluation.Open();
    for (evaluation.First(); !evaluation.Eof(); evaluation.Next()) {
        const SessionBoard board = BoardOfRow(evaluation);
        if (const Deal* deal = deals.DealOf(board.Section, board.Board))
            deals.Add(board, { *deal, TableOfRow(evaluation) });
    }
    evaluation.Close();
    return deals;
}

} // namespace kibic
