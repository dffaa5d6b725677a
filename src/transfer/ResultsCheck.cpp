// The check of the results that reached ZyRT.
#include "transfer/ResultsCheck.h"

#include "deals/SessionDeals.h"
#include "transfer/ResultGrid.h"
#include "transfer/uScoreProvider.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>

namespace kibic {

namespace {

// Tricks taken three or more from the double-dummy tricks of the contract: a defensive slip or a finesse
// that a declarer does not take costs a trick or two; three is what a result keyed on the wrong board or
// with the wrong number gives.
constexpr int kFarFromDeal = 3;
// A record is taken for another declarer's or another board's when its tricks come within two of what that
// declarer takes on that deal double dummy, the most that a table playing straight strays.
constexpr int kFitsDeal = 2;
// A board is judged by its field only from three results on: with two, neither is the odd one out.
constexpr int kFieldMinimum = 3;
// A table playing straight may take a trick more than the best table in its contract, or one fewer than the
// worst: a score that so many tricks either way bring inside the field is not taken for a result keyed with
// the wrong sign, which moves a score by a contract's worth, much farther. (A declarer on the wrong side is
// judged by the side the other tables had instead.)
constexpr int kFieldStray = 1;

// One entry as the check reads it.
struct Play
{
    const CheckedResult* Source = nullptr;
    std::optional<Contract> Bid; // none for a passed-out board
    Seat Declarer = Seat::North;
    int Tricks = 0; // taken by the declarer
    int Result = 0; // the result as keyed: overtricks, 0 made, or tricks down as a negative number
    int NsScore = 0;
    std::optional<Card> Lead;
};

[[nodiscard]] const ReceivedResult& Row(const Play& play)
{
    return play.Source->Received;
}

// The entry as a play, or none when the check does not judge it: an erasure, "Not played", a split score,
// a contract that cannot be scored.
std::optional<Play> PlayOf(const CheckedResult& result, const TScoreProvider& scorer)
{
    const ReceivedResult& row = result.Received;
    if (row.Erased || EffectiveRemark(row.Remarks).contains(QLatin1Char('%')))
        return std::nullopt;
    Play play;
    play.Source = &result;
    const QString contract = row.Contract.trimmed();
    if (contract.compare(QStringLiteral("PASS"), Qt::CaseInsensitive) == 0)
        return play;
    QString compact = contract;
    compact.remove(QLatin1Char(' '));
    play.Bid = ParseContract(compact, ContractSpelling::Compact);
    const QString declarer = row.NsEw.trimmed();
    const std::optional<Seat> seat = declarer.size() == 1 ? SeatOfLetter(declarer.front()) : std::nullopt;
    if (!play.Bid || !seat)
        return std::nullopt;
    play.Declarer = *seat;
    play.Result = ResultNumber(row.Result);
    play.Tricks = play.Bid->Level + 6 + play.Result;
    play.NsScore = scorer.ContractScore(row.Board, play.Result, contract + declarer);
    if (play.NsScore == UnscorableContract || play.Tricks < 0 || play.Tricks > 13)
        return std::nullopt;
    play.Lead = CardOfLeadText(row.LeadCard.trimmed());
    return play;
}

[[nodiscard]] constexpr Seat PreviousSeat(Seat seat)
{
    return NextSeat(NextSeat(NextSeat(seat)));
}

[[nodiscard]] QString SideName(Seat seat)
{
    return IsNorthSouth(seat) ? QStringLiteral("NS") : QStringLiteral("EW");
}

// "4♠ N", as the cell tooltips write a contract.
QString ContractBy(const Contract& bid, Seat declarer)
{
    return QString::number(bid.Level) + StrainSymbol(bid.Denomination) + QLatin1Char(' ') + SeatLetter(declarer);
}

QString ResultTextOf(int againstContract)
{
    if (againstContract == 0)
        return QStringLiteral("=");
    return againstContract > 0 ? QStringLiteral("+%1").arg(againstContract) : QString::number(againstContract);
}

// The entry as the correction window shows it, with another declarer or another result.
ResultFinding WithProposal(ResultFinding finding, const Play& play, std::optional<Seat> declarer,
    std::optional<QString> result)
{
    const ReceivedResult& row = Row(play);
    ScoreCorrection proposed;
    proposed.Contract = row.Contract.trimmed();
    proposed.Declarer = declarer ? SeatLetter(*declarer) : row.NsEw.trimmed();
    proposed.LeadCard = row.LeadCard.trimmed();
    proposed.Tricks = result ? *result : row.Result.trimmed();
    proposed.WrongLines = EffectiveRemark(row.Remarks) == u"*";
    QStringList notation { proposed.Contract, proposed.Declarer, proposed.Tricks };
    if (!proposed.LeadCard.isEmpty())
        notation << proposed.LeadCard;
    finding.ProposedNotation = notation.join(QLatin1Char(' '));
    finding.Proposed = proposed;
    return finding;
}

ResultFinding FindingOf(FindingKind kind, const Play& play, const QString& reason)
{
    const ReceivedResult& row = Row(play);
    return ResultFinding { kind, row.Section, row.Table, row.Round, row.Board, reason, std::nullopt, {} };
}

// What the check knows around one play: its board's deal and field, the other boards of its round at its table.
class PlayJudge
{
public:
    PlayJudge(const SessionDeals* deals, const std::vector<const Play*>& field, const std::vector<const Play*>& round)
        : m_deals(deals && !deals->IsEmpty() ? deals : nullptr)
        , m_field(field)
        , m_round(round)
    {
    }

    [[nodiscard]] std::optional<ResultFinding> Judge(const Play& play) const
    {
        if (play.Bid) {
            for (const auto& check : { &PlayJudge::SameRecordAsOtherBoard, &PlayJudge::LeadShowsDeclarer,
                     &PlayJudge::FitsOtherBoard, &PlayJudge::DealShowsOtherSide, &PlayJudge::FarFromDeal,
                     &PlayJudge::FieldOutlier }) {
                if (std::optional<ResultFinding> finding = (this->*check)(play))
                    return finding;
            }
        }
        return PairsNotSeated(play);
    }

private:
    [[nodiscard]] std::optional<int> DoubleDummy(const Play& play, qint32 board, Seat declarer) const
    {
        if (!m_deals)
            return std::nullopt;
        return m_deals->TricksOf(Row(play).Section, board, declarer, play.Bid->Denomination);
    }

    // Whether the tricks are far from what the declarer takes on the play's own deal; none without an analysis.
    [[nodiscard]] std::optional<int> OwnDoubleDummyIfFar(const Play& play) const
    {
        const std::optional<int> own = DoubleDummy(play, Row(play).Board, play.Declarer);
        if (own && std::abs(play.Tricks - *own) >= kFarFromDeal)
            return own;
        return std::nullopt;
    }

    // The record is the one this table keyed on another board of the round, and it belongs there: far from
    // its own deal and within a table's straying of the other board's, or, without an analysed deal, outside
    // its own field.
    [[nodiscard]] std::optional<ResultFinding> SameRecordAsOtherBoard(const Play& play) const
    {
        return OtherBoard(play, true);
    }

    // The record fits the deal of another board of the round at this table much better than its own (with
    // the lead in the right hand there).
    [[nodiscard]] std::optional<ResultFinding> FitsOtherBoard(const Play& play) const
    {
        return OtherBoard(play, false);
    }

    [[nodiscard]] bool LeadFitsOtherDeal(const Play& play, qint32 board) const
    {
        if (!play.Lead)
            return false;
        const qint32 section = Row(play).Section;
        const Seat leader = NextSeat(play.Declarer);
        return m_deals->HolderOf(section, Row(play).Board, *play.Lead) != leader
            && m_deals->HolderOf(section, board, *play.Lead) == leader;
    }

    [[nodiscard]] std::optional<ResultFinding> OtherBoard(const Play& play, bool sameRecordOnly) const
    {
        const auto sameRecord = [&play](const Play& other) {
            return other.Bid == play.Bid && other.Declarer == play.Declarer && other.Tricks == play.Tricks;
        };
        if (const std::optional<int> own = OwnDoubleDummyIfFar(play)) {
            for (const Play* other : m_round) {
                const qint32 board = Row(*other).Board;
                const std::optional<int> there = DoubleDummy(play, board, play.Declarer);
                if (!there || std::abs(play.Tricks - *there) > kFitsDeal || (sameRecordOnly && !sameRecord(*other)))
                    continue;
                // Without the very record, only the lead tells boards apart: it must be in the wrong hand on
                // this deal and in the right one on the other (tricks alone fit some other deal too often).
                if (!sameRecordOnly && !LeadFitsOtherDeal(play, board))
                    continue;
                return FindingOf(FindingKind::Board, play,
                    QStringLiteral("zapis pasuje do rozdania %1 z tej samej rundy: na obiegu %2 bierze tu %3 lew, "
                                   "w rozdaniu %1 %4, zagrano %5")
                        .arg(board)
                        .arg(ContractBy(*play.Bid, play.Declarer))
                        .arg(*own)
                        .arg(*there)
                        .arg(play.Tricks));
            }
            return std::nullopt;
        }
        if (!sameRecordOnly || (m_deals && m_deals->TableOf(Row(play).Section, Row(play).Board))
            || !OutsideField(play.NsScore, play))
            return std::nullopt;
        for (const Play* other : m_round) {
            if (sameRecord(*other))
                return FindingOf(FindingKind::Board, play,
                    QStringLiteral("ten sam zapis co w rozdaniu %1 z tej samej rundy przy tym stole, a wynik %2 "
                                   "nie pasuje do pozostałych stołów")
                        .arg(Row(*other).Board)
                        .arg(play.NsScore));
        }
        return std::nullopt;
    }

    // The lead card is in the hand of the left-hand opponent of another seat than the one keyed: the partner
    // (declarer within the side) or a player of the other side.
    [[nodiscard]] std::optional<ResultFinding> LeadShowsDeclarer(const Play& play) const
    {
        if (!m_deals || !play.Lead)
            return std::nullopt;
        const std::optional<Seat> leader = m_deals->HolderOf(Row(play).Section, Row(play).Board, *play.Lead);
        if (!leader || *leader == NextSeat(play.Declarer))
            return std::nullopt;
        const Seat declarer = PreviousSeat(*leader);
        const bool partner = declarer == PartnerOf(play.Declarer);
        const QString reason = QStringLiteral("wist %1 jest w ręce %2, więc rozgrywał %3, a zapisano %4")
                                   .arg(Row(play).LeadCard.trimmed(), SeatName(*leader), SeatName(declarer),
                                       SeatLetter(play.Declarer));
        return WithProposal(FindingOf(partner ? FindingKind::Declarer : FindingKind::Side, play, reason), play,
            declarer, std::nullopt);
    }

    // Without a lead: far from the keyed declarer's tricks and within a table's straying of a player's of
    // the other side.
    [[nodiscard]] std::optional<ResultFinding> DealShowsOtherSide(const Play& play) const
    {
        if (play.Lead && m_deals && m_deals->DealOf(Row(play).Section, Row(play).Board))
            return std::nullopt; // the lead has spoken
        const std::optional<int> own = OwnDoubleDummyIfFar(play);
        if (!own)
            return std::nullopt;
        std::optional<Seat> best;
        int bestDistance = kFitsDeal + 1;
        for (const Seat seat : { PreviousSeat(play.Declarer), NextSeat(play.Declarer) }) {
            const int distance = std::abs(play.Tricks - *DoubleDummy(play, Row(play).Board, seat));
            if (distance < bestDistance) {
                best = seat;
                bestDistance = distance;
            }
        }
        if (!best)
            return std::nullopt;
        return WithProposal(FindingOf(FindingKind::Side, play,
                                QStringLiteral("na obiegu %1 bierze %2 lew, a %3 %4; zagrano %5: rozgrywała chyba "
                                               "strona %6")
                                    .arg(ContractBy(*play.Bid, play.Declarer))
                                    .arg(*own)
                                    .arg(ContractBy(*play.Bid, *best))
                                    .arg(*DoubleDummy(play, Row(play).Board, *best))
                                    .arg(play.Tricks)
                                    .arg(SideName(*best))),
            play, best, std::nullopt);
    }

    [[nodiscard]] std::optional<ResultFinding> FarFromDeal(const Play& play) const
    {
        const std::optional<int> own = OwnDoubleDummyIfFar(play);
        if (!own)
            return std::nullopt;
        return FindingOf(FindingKind::Tricks, play,
            QStringLiteral("na obiegu %1 bierze %2 lew, a zapisano %3 (różnica %4)")
                .arg(ContractBy(*play.Bid, play.Declarer))
                .arg(*own)
                .arg(play.Tricks)
                .arg(std::abs(play.Tricks - *own)));
    }

    // The other tables' scores of the board, when there are enough of them to judge by.
    [[nodiscard]] std::optional<std::pair<int, int>> FieldRange(const Play& play) const
    {
        if (static_cast<int>(m_field.size()) < kFieldMinimum)
            return std::nullopt;
        std::optional<std::pair<int, int>> range;
        for (const Play* other : m_field) {
            if (other == &play)
                continue;
            range = range ? std::pair { std::min(range->first, other->NsScore), std::max(range->second, other->NsScore) }
                          : std::pair { other->NsScore, other->NsScore };
        }
        return range;
    }

    [[nodiscard]] bool OutsideField(int score, const Play& play) const
    {
        const std::optional<std::pair<int, int>> range = FieldRange(play);
        return range && (score < range->first || score > range->second);
    }

    [[nodiscard]] bool InsideField(int score, const Play& play) const
    {
        const std::optional<std::pair<int, int>> range = FieldRange(play);
        return range && score >= range->first && score <= range->second;
    }

    // Without the board's analysed deal: a score outside every other table's that the declarer on the other
    // side (when the other tables that played the strain mostly had it there) or the result's other sign (when
    // not a trick or so beyond the field, and another table has that record) brings inside them.
    [[nodiscard]] std::optional<ResultFinding> FieldOutlier(const Play& play) const
    {
        if (m_deals && m_deals->TableOf(Row(play).Section, Row(play).Board))
            return std::nullopt;
        if (!OutsideField(play.NsScore, play))
            return std::nullopt;
        const std::optional<std::pair<int, int>> range = FieldRange(play);
        const QString outside = QStringLiteral("wynik %1 dla NS jest poza wynikami pozostałych stołów (od %2 do %3)")
                                    .arg(play.NsScore)
                                    .arg(range->first)
                                    .arg(range->second);
        const Seat otherSide = PreviousSeat(play.Declarer);
        const int swapped = OtherScore(play, otherSide, play.Result);
        if (MostlyOtherSide(play) && InsideField(swapped, play))
            return WithProposal(FindingOf(FindingKind::Outlier, play,
                                    outside + QStringLiteral("; z rozgrywającym po stronie %1 byłoby %2")
                                                  .arg(SideName(otherSide))
                                                  .arg(swapped)),
                play, otherSide, std::nullopt);
        const int result = play.Result;
        if (result != 0 && !WithinStrayOfField(play)) {
            const int signChanged = OtherScore(play, play.Declarer, -result);
            if (signChanged != UnscorableContract && InsideField(signChanged, play) && SameRecordElsewhere(play, -result))
                return WithProposal(FindingOf(FindingKind::Outlier, play,
                                        outside + QStringLiteral("; z wynikiem %1 byłoby %2")
                                                      .arg(ResultTextOf(-result))
                                                      .arg(signChanged)),
                    play, std::nullopt, ResultTextOf(-result));
        }
        return std::nullopt;
    }

    // The same contract by the same declarer with up to kFieldStray tricks more or fewer scores inside the field.
    [[nodiscard]] bool WithinStrayOfField(const Play& play) const
    {
        const int result = play.Result;
        for (int stray = 1; stray <= kFieldStray; ++stray) {
            for (const int other : { result - stray, result + stray }) {
                const int score = OtherScore(play, play.Declarer, other);
                if (score != UnscorableContract && InsideField(score, play))
                    return true;
            }
        }
        return false;
    }

    [[nodiscard]] int OtherScore(const Play& play, Seat declarer, int result) const
    {
        static const TScoreProvider scorer;
        return scorer.ContractScore(Row(play).Board, result, Row(play).Contract.trimmed() + SeatLetter(declarer));
    }

    // The other tables that played the strain had the declarer mostly on the other side.
    [[nodiscard]] bool MostlyOtherSide(const Play& play) const
    {
        int same = 0;
        int other = 0;
        for (const Play* there : m_field) {
            if (there == &play || !there->Bid || there->Bid->Denomination != play.Bid->Denomination)
                continue;
            ++(IsNorthSouth(there->Declarer) == IsNorthSouth(play.Declarer) ? same : other);
        }
        return other > same;
    }

    // Another table played the same contract from the same side with that result.
    [[nodiscard]] bool SameRecordElsewhere(const Play& play, int result) const
    {
        return std::any_of(m_field.begin(), m_field.end(), [&](const Play* there) {
            return there != &play && there->Bid == play.Bid
                && IsNorthSouth(there->Declarer) == IsNorthSouth(play.Declarer)
                && there->Result == result;
        });
    }

    [[nodiscard]] static std::optional<ResultFinding> PairsNotSeated(const Play& play)
    {
        const CheckedResult& result = *play.Source;
        if (result.PairNS <= 0 || result.PairEW <= 0 || result.MovementNS <= 0 || result.MovementEW <= 0)
            return std::nullopt;
        if (result.PairNS == result.MovementNS && result.PairEW == result.MovementEW)
            return std::nullopt;
        return FindingOf(FindingKind::Pairs, play,
            QStringLiteral("terminal podał pary %1-%2, a w tej rundzie przy tym stole grają według ruchu pary %3-%4")
                .arg(result.PairNS)
                .arg(result.PairEW)
                .arg(result.MovementNS)
                .arg(result.MovementEW));
    }

    const SessionDeals* m_deals;
    const std::vector<const Play*>& m_field;
    const std::vector<const Play*>& m_round;
};

using BoardKey = std::pair<qint32, qint32>; // section, board
using RoundOfTable = std::tuple<qint32, qint32, qint32>; // section, table, round

} // namespace

QString FindingKindWord(FindingKind kind)
{
    switch (kind) {
    case FindingKind::Side:
        return QStringLiteral("side");
    case FindingKind::Declarer:
        return QStringLiteral("declarer");
    case FindingKind::Tricks:
        return QStringLiteral("tricks");
    case FindingKind::Board:
        return QStringLiteral("board");
    case FindingKind::Pairs:
        return QStringLiteral("pairs");
    case FindingKind::Outlier:
        return QStringLiteral("outlier");
    }
    return QStringLiteral("outlier");
}

namespace {

// The findings of CheckResults, each with the index of its result in results, in the order of results.
std::vector<std::pair<std::size_t, ResultFinding>> FindingsByResult(
    const std::vector<CheckedResult>& results, const SessionDeals* deals, const TScoreProvider& scorer)
{
    std::vector<Play> plays;
    plays.reserve(results.size());
    for (const CheckedResult& result : results) {
        if (std::optional<Play> play = PlayOf(result, scorer))
            plays.push_back(*play);
    }
    std::map<BoardKey, std::vector<const Play*>> fields;
    std::map<RoundOfTable, std::vector<const Play*>> rounds;
    for (const Play& play : plays) {
        const ReceivedResult& row = Row(play);
        fields[{ row.Section, row.Board }].push_back(&play);
        if (play.Bid)
            rounds[{ row.Section, row.Table, row.Round }].push_back(&play);
    }
    std::vector<std::pair<std::size_t, ResultFinding>> findings;
    std::vector<const Play*> round;
    for (const Play& play : plays) {
        const ReceivedResult& row = Row(play);
        round.clear();
        for (const Play* other : rounds[{ row.Section, row.Table, row.Round }]) {
            if (Row(*other).Board != row.Board)
                round.push_back(other);
        }
        const PlayJudge judge(deals, fields[{ row.Section, row.Board }], round);
        if (std::optional<ResultFinding> finding = judge.Judge(play))
            findings.emplace_back(static_cast<std::size_t>(play.Source - results.data()), std::move(*finding));
    }
    return findings;
}

} // namespace

std::vector<ResultFinding> CheckResults(
    const std::vector<CheckedResult>& results, const SessionDeals* deals, const TScoreProvider& scorer)
{
    std::vector<ResultFinding> findings;
    for (auto& [index, finding] : FindingsByResult(results, deals, scorer))
        findings.push_back(std::move(finding));
    std::sort(findings.begin(), findings.end(), [](const ResultFinding& a, const ResultFinding& b) {
        return std::tie(a.Section, a.Table, a.Round, a.Board) < std::tie(b.Section, b.Table, b.Round, b.Board);
    });
    return findings;
}

namespace {

[[nodiscard]] bool SameFinding(const ResultFinding& a, const ResultFinding& b)
{
    return a.Kind == b.Kind && a.Reason == b.Reason && a.ProposedNotation == b.ProposedNotation;
}

[[nodiscard]] const CellEntry* TransferredAt(const ResultGrid& grid, int column, int row)
{
    const CellEntry* entry = grid.EntryAt(column, row);
    return entry && entry->State == CellEntry::Why::Transferred ? entry : nullptr;
}

// The columns to check: those given with the columns of the other boards of the same rounds at the same tables.
std::set<qint32> ColumnsToCheck(const ResultGrid& grid, const std::optional<std::vector<qint32>>& columns)
{
    std::set<qint32> chosen;
    if (!columns) {
        for (qint32 column = 1; column < grid.ColumnCount(); ++column)
            chosen.insert(column);
        return chosen;
    }
    chosen.insert(columns->begin(), columns->end());
    std::map<int, std::set<qint32>> roundsOfRows;
    for (const qint32 column : *columns) {
        for (int row = 1; row < grid.RowCount(); ++row) {
            if (const CellEntry* entry = TransferredAt(grid, column, row))
                roundsOfRows[row].insert(entry->Received.Round);
        }
    }
    for (const auto& [row, rounds] : roundsOfRows) {
        for (qint32 column = 1; column < grid.ColumnCount(); ++column) {
            const CellEntry* entry = TransferredAt(grid, column, row);
            if (entry && rounds.count(entry->Received.Round))
                chosen.insert(column);
        }
    }
    return chosen;
}

} // namespace

qint32 CheckGrid(ResultGrid& grid, const std::optional<std::vector<qint32>>& columns, const SessionDeals* deals,
    const TScoreProvider& scorer)
{
    if (!grid.KeepsEntries())
        return 0;
    // The checked results and, at the same index, their cells and their findings.
    std::vector<CheckedResult> results;
    std::vector<std::pair<int, int>> cells;
    for (const qint32 column : ColumnsToCheck(grid, columns)) {
        for (int row = 1; row < grid.RowCount(); ++row) {
            if (const CellEntry* entry = TransferredAt(grid, column, row)) {
                const ReceivedResult& received = entry->Received;
                results.push_back(
                    { received, received.PairNS, received.PairEW, entry->SeatedNS, entry->SeatedEW });
                cells.emplace_back(column, row);
            }
        }
    }
    std::vector<std::optional<ResultFinding>> found(results.size());
    for (auto& [index, finding] : FindingsByResult(results, deals, scorer))
        found[index] = std::move(finding);
    for (std::size_t index = 0; index < results.size(); ++index) {
        const auto [column, row] = cells[index];
        const CellEntry* entry = grid.EntryAt(column, row);
        if (!found[index] && !entry->Suspicion)
            continue; // nothing was suspicious and nothing is: the cell is not touched
        if (found[index] && entry->Suspicion && SameFinding(*found[index], *entry->Suspicion))
            continue; // the same finding as the cell holds: nothing to tell the grid
        CellEntry updated = *entry;
        updated.Suspicion = std::move(found[index]);
        grid.SetCellEntry(column, row, updated);
    }
    return SuspiciousCells(grid);
}

qint32 SuspiciousCells(const ResultGrid& grid)
{
    qint32 count = 0;
    for (qint32 column = 1; column < grid.ColumnCount(); ++column) {
        for (int row = 1; row < grid.RowCount(); ++row) {
            const CellEntry* entry = TransferredAt(grid, column, row);
            count += entry && entry->Suspicion ? 1 : 0;
        }
    }
    return count;
}

} // namespace kibic
