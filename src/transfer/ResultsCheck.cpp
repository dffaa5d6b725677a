// The check of the results that reached ZyRT.
#include "transfer/ResultsCheck.h"

#include "deals/SessionDeals.h"
#include "transfer/ResultGrid.h"
#include "transfer/uScoreProvider.h"

#include <QScopeGuard>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <map>
#include <set>
#include <span>
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
struct Play : PlayReading
{
    std::size_t Index = 0; // of the entry among those checked
    const ReceivedResult* Received = nullptr;
    // The row's numbers, kept with the play: the check groups and compares plays by them.
    qint32 Section = 0;
    qint32 Table = 0;
    qint32 Round = 0;
    qint32 Board = 0;
    qint32 PairNS = 0; // as in CheckedResult
    qint32 PairEW = 0;
    qint32 MovementNS = 0;
    qint32 MovementEW = 0;
};

[[nodiscard]] const ReceivedResult& Row(const Play& play)
{
    return *play.Received;
}

// The contract of a row as the terminals write it once the spaces are gone ("4S", "3NTx"), read without
// making a text of it; none when it is no contract.
std::optional<Contract> CompactContract(const QString& text)
{
    std::array<QChar, 8> compact {};
    std::size_t length = 0;
    for (const QChar character : text) {
        if (character == QLatin1Char(' '))
            continue;
        if (length == compact.size())
            return std::nullopt;
        compact[length++] = character;
    }
    return ParseContract(QStringView(compact.data(), static_cast<qsizetype>(length)), ContractSpelling::Compact);
}

// A play not read yet: the index of its entry and its pairs, as the terminal sent them and as the movement
// seats them.
Play Identity(std::size_t index, qint32 pairNS, qint32 pairEW, qint32 movementNS, qint32 movementEW)
{
    Play play;
    play.Index = index;
    play.PairNS = pairNS;
    play.PairEW = pairEW;
    play.MovementNS = movementNS;
    play.MovementEW = movementEW;
    return play;
}

// The entry as a play, or none when the check does not judge it.
std::optional<Play> PlayOf(const ReceivedResult& row, const PlayReading& reading, const Play& identity)
{
    if (!reading.Judged)
        return std::nullopt;
    Play play = identity;
    static_cast<PlayReading&>(play) = reading;
    play.Received = &row;
    play.Section = row.Section;
    play.Table = row.Table;
    play.Round = row.Round;
    play.Board = row.Board;
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
    finding.ProposedNotation = proposed.Contract + QLatin1Char(' ') + proposed.Declarer + QLatin1Char(' ') + proposed.Tricks;
    if (!proposed.LeadCard.isEmpty())
        finding.ProposedNotation += QLatin1Char(' ') + proposed.LeadCard;
    finding.Proposed = std::move(proposed);
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
    // own is the deal of the play's board, null when the session has none.
    PlayJudge(const SessionDeals* deals, const SessionDeals::Entry* own, const Play& play,
        std::span<const Play* const> field, std::span<const Play* const> round)
        : m_deals(deals && !deals->IsEmpty() ? deals : nullptr)
        , m_ownDeal(m_deals && own ? &own->Hands : nullptr)
        , m_ownTable(m_deals && own && own->Table ? &*own->Table : nullptr)
        , m_field(field)
        , m_round(round)
    {
        if (play.Bid)
            m_ownIfFar = OwnDoubleDummyIfFar(play);
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
        const DoubleDummyTable* table = board == play.Board ? m_ownTable : m_deals->TableOf(play.Section, board);
        return table ? std::optional<int>(table->TricksOf(declarer, play.Bid->Denomination)) : std::nullopt;
    }

    [[nodiscard]] std::optional<Seat> OwnHolderOf(const Card& card) const
    {
        return m_ownDeal ? m_ownDeal->HolderOf(card) : std::nullopt;
    }

    // Whether the tricks are far from what the declarer takes on the play's own deal; none without an analysis.
    [[nodiscard]] std::optional<int> OwnDoubleDummyIfFar(const Play& play) const
    {
        const std::optional<int> own = DoubleDummy(play, play.Board, play.Declarer);
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
        const qint32 section = play.Section;
        const Seat leader = NextSeat(play.Declarer);
        return OwnHolderOf(*play.Lead) != leader
            && m_deals->HolderOf(section, board, *play.Lead) == leader;
    }

    [[nodiscard]] std::optional<ResultFinding> OtherBoard(const Play& play, bool sameRecordOnly) const
    {
        const auto sameRecord = [&play](const Play& other) {
            return other.Bid == play.Bid && other.Declarer == play.Declarer && other.Tricks == play.Tricks;
        };
        if (const std::optional<int> own = m_ownIfFar) {
            for (const Play* other : m_round) {
                const qint32 board = other->Board;
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
        if (!sameRecordOnly || m_ownTable
            || !OutsideField(play.NsScore, play))
            return std::nullopt;
        for (const Play* other : m_round) {
            if (sameRecord(*other))
                return FindingOf(FindingKind::Board, play,
                    QStringLiteral("ten sam zapis co w rozdaniu %1 z tej samej rundy przy tym stole, a wynik %2 "
                                   "nie pasuje do pozostałych stołów")
                        .arg(other->Board)
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
        const std::optional<Seat> leader = OwnHolderOf(*play.Lead);
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
        if (play.Lead && m_ownDeal)
            return std::nullopt; // the lead has spoken
        const std::optional<int> own = m_ownIfFar;
        if (!own)
            return std::nullopt;
        std::optional<Seat> best;
        int bestDistance = kFitsDeal + 1;
        for (const Seat seat : { PreviousSeat(play.Declarer), NextSeat(play.Declarer) }) {
            const int distance = std::abs(play.Tricks - *DoubleDummy(play, play.Board, seat));
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
                                    .arg(*DoubleDummy(play, play.Board, *best))
                                    .arg(play.Tricks)
                                    .arg(SideName(*best))),
            play, best, std::nullopt);
    }

    [[nodiscard]] std::optional<ResultFinding> FarFromDeal(const Play& play) const
    {
        const std::optional<int> own = m_ownIfFar;
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
        if (m_ownTable)
            return std::nullopt;
        if (!OutsideField(play.NsScore, play))
            return std::nullopt;
        const std::optional<std::pair<int, int>> range = FieldRange(play);
        const auto outside = [&] {
            return QStringLiteral("wynik %1 dla NS jest poza wynikami pozostałych stołów (od %2 do %3)")
                                    .arg(play.NsScore)
                                    .arg(range->first)
                                    .arg(range->second);
        };
        const Seat otherSide = PreviousSeat(play.Declarer);
        const int swapped = OtherScore(play, otherSide, play.Result);
        if (MostlyOtherSide(play) && InsideField(swapped, play))
            return WithProposal(FindingOf(FindingKind::Outlier, play,
                                    outside() + QStringLiteral("; z rozgrywającym po stronie %1 byłoby %2")
                                                  .arg(SideName(otherSide))
                                                  .arg(swapped)),
                play, otherSide, std::nullopt);
        const int result = play.Result;
        if (result != 0 && !WithinStrayOfField(play)) {
            const int signChanged = OtherScore(play, play.Declarer, -result);
            if (signChanged != UnscorableContract && InsideField(signChanged, play) && SameRecordElsewhere(play, -result))
                return WithProposal(FindingOf(FindingKind::Outlier, play,
                                        outside() + QStringLiteral("; z wynikiem %1 byłoby %2")
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
        return scorer.ContractScore(play.Board, result, *play.Bid, declarer);
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
        if (play.PairNS <= 0 || play.PairEW <= 0 || play.MovementNS <= 0 || play.MovementEW <= 0)
            return std::nullopt;
        if (play.PairNS == play.MovementNS && play.PairEW == play.MovementEW)
            return std::nullopt;
        return FindingOf(FindingKind::Pairs, play,
            QStringLiteral("terminal podał pary %1-%2, a w tej rundzie przy tym stole grają według ruchu pary %3-%4")
                .arg(play.PairNS)
                .arg(play.PairEW)
                .arg(play.MovementNS)
                .arg(play.MovementEW));
    }

    const SessionDeals* m_deals;
    const Deal* m_ownDeal; // of the play's board, when the session has it
    const DoubleDummyTable* m_ownTable;
    // The double-dummy tricks of the play's contract on its own deal when its tricks are far from them.
    std::optional<int> m_ownIfFar;
    std::span<const Play* const> m_field;
    std::span<const Play* const> m_round;
};


} // namespace

PlayReading ReadPlay(const ReceivedResult& row, const TScoreProvider& scorer)
{
    PlayReading play;
    if (row.Erased || EffectiveRemark(row.Remarks).contains(QLatin1Char('%')))
        return play;
    const QStringView contract = QStringView(row.Contract).trimmed();
    if (contract.compare(QLatin1String("PASS"), Qt::CaseInsensitive) == 0) {
        play.Judged = true;
        return play;
    }
    play.Bid = CompactContract(row.Contract);
    const QStringView declarer = QStringView(row.NsEw).trimmed();
    const std::optional<Seat> seat = declarer.size() == 1 ? SeatOfLetter(declarer.front()) : std::nullopt;
    if (!play.Bid || !seat)
        return play;
    play.Declarer = *seat;
    play.Result = ResultNumber(row.Result);
    play.Tricks = play.Bid->Level + 6 + play.Result;
    play.NsScore = scorer.ContractScore(row.Board, play.Result, *play.Bid, play.Declarer);
    play.Lead = CardOfLeadText(row.LeadCard);
    play.Judged = play.NsScore != UnscorableContract && play.Tricks >= 0 && play.Tricks <= 13;
    return play;
}

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

// The plays grouped by a key: Members holds them by key (in the order of plays within a key), and the
// group of plays[i] is Members[Ranges[i].first, Ranges[i].second).
struct PlayGroups
{
    std::vector<const Play*> Members;
    std::vector<std::pair<std::size_t, std::size_t>> Ranges;

    [[nodiscard]] std::span<const Play* const> Of(std::size_t play) const
    {
        const auto [begin, end] = Ranges[play];
        return std::span<const Play* const>(Members).subspan(begin, end - begin);
    }
};

// Two numbers as one, exactly, for grouping.
[[nodiscard]] constexpr quint64 Paired(qint32 high, qint32 low)
{
    return (quint64(quint32(high)) << 32) | quint32(low);
}

using GroupKey = std::pair<quint64, quint64>; // the key, then the play's round (or 0) with its index

// The working arrays of a check. CheckGrid keeps them from one check to the next: the check runs after every
// pass over as much as the whole tournament, and arrays taken afresh each time cost a third of it in the
// system's first touch of their memory.
struct CheckArrays
{
    std::vector<Play> Plays;
    std::vector<GroupKey> Keys;
    PlayGroups Fields;
    PlayGroups Rounds;
    std::vector<const Play*> Round;
    std::vector<std::pair<std::size_t, ResultFinding>> Findings; // each with the Index of its play, in order
    std::vector<std::pair<int, int>> Cells; // CheckGrid's cells, by the Index of their plays
    std::vector<const CellEntry*> Entries;

    // Empties every array and keeps its memory.
    void Clear()
    {
        Plays.clear();
        Keys.clear();
        for (PlayGroups* groups : { &Fields, &Rounds }) {
            groups->Members.clear();
            groups->Ranges.clear();
        }
        Round.clear();
        Findings.clear();
        Cells.clear();
        Entries.clear();
    }
};

// Groups the plays for which included holds by keyOf (a pair of numbers made by Paired) into groups, by sorting
// the keys rather than filling a map. Within a key the plays keep their order.
template <typename KeyOf, typename Included>
void GroupPlays(const std::vector<Play>& plays, KeyOf keyOf, Included included, std::vector<GroupKey>& keys,
    PlayGroups& groups)
{
    keys.clear();
    for (std::size_t index = 0; index < plays.size(); ++index) {
        if (included(plays[index])) {
            const auto [key, within] = keyOf(plays[index]);
            keys.emplace_back(key, Paired(within, static_cast<qint32>(index)));
        }
    }
    // The grid hands the plays board by board: grouped by board already.
    if (!std::is_sorted(keys.begin(), keys.end()))
        std::sort(keys.begin(), keys.end());
    const auto indexOf = [](const GroupKey& key) { return static_cast<std::size_t>(quint32(key.second)); };
    const auto sameGroup = [](const GroupKey& a, const GroupKey& b) {
        return a.first == b.first && (a.second >> 32) == (b.second >> 32);
    };
    groups.Members.clear();
    groups.Ranges.assign(plays.size(), { 0, 0 });
    for (std::size_t begin = 0; begin < keys.size();) {
        std::size_t end = begin;
        while (end < keys.size() && sameGroup(keys[end], keys[begin]))
            groups.Members.push_back(&plays[indexOf(keys[end++])]);
        for (std::size_t member = begin; member < end; ++member)
            groups.Ranges[indexOf(keys[member])] = { begin, end };
        begin = end;
    }
}

// Judges arrays.Plays into arrays.Findings.
void FindFindings(CheckArrays& arrays, const SessionDeals* deals)
{
    const std::vector<Play>& plays = arrays.Plays;
    GroupPlays(
        plays, [](const Play& play) { return std::pair { Paired(play.Board, play.Section), 0 }; },
        [](const Play&) { return true; }, arrays.Keys, arrays.Fields);
    GroupPlays(
        plays, [](const Play& play) { return std::pair { Paired(play.Section, play.Table), play.Round }; },
        [](const Play& play) { return play.Bid.has_value(); }, arrays.Keys, arrays.Rounds);
    // The plays come board by board: the deal is looked up once a board.
    const SessionDeals::Entry* own = nullptr;
    std::optional<quint64> ownBoard;
    for (std::size_t index = 0; index < plays.size(); ++index) {
        const Play& play = plays[index];
        if (deals && ownBoard != Paired(play.Section, play.Board)) {
            ownBoard = Paired(play.Section, play.Board);
            own = deals->EntryOf(play.Section, play.Board);
        }
        arrays.Round.clear();
        for (const Play* other : arrays.Rounds.Of(index)) {
            if (other->Board != play.Board)
                arrays.Round.push_back(other);
        }
        const PlayJudge judge(deals, own, play, arrays.Fields.Of(index), arrays.Round);
        if (std::optional<ResultFinding> finding = judge.Judge(play))
            arrays.Findings.emplace_back(play.Index, std::move(*finding));
    }
}

} // namespace

std::vector<ResultFinding> CheckResults(
    const std::vector<CheckedResult>& results, const SessionDeals* deals, const TScoreProvider& scorer)
{
    CheckArrays arrays;
    for (std::size_t index = 0; index < results.size(); ++index) {
        const CheckedResult& result = results[index];
        const Play identity = Identity(index, result.PairNS, result.PairEW, result.MovementNS, result.MovementEW);
        if (std::optional<Play> play = PlayOf(result.Received, ReadPlay(result.Received, scorer), identity))
            arrays.Plays.push_back(*play);
    }
    FindFindings(arrays, deals);
    std::vector<ResultFinding> findings;
    for (auto& [index, finding] : arrays.Findings)
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
    // The checked cells, their entries, and the plays of those the check judges (each with its cell's index), in
    // the arrays kept from the last check; a check that runs while they are in use (started by the grid's own
    // updates inside this one, or on another thread) gets arrays of its own.
    static CheckArrays kept;
    static std::atomic<bool> keptInUse { false };
    CheckArrays own;
    const bool usesKept = !keptInUse.exchange(true);
    CheckArrays& arrays = usesKept ? kept : own;
    const auto emptied = qScopeGuard([&arrays, usesKept] {
        arrays.Clear();
        if (usesKept)
            keptInUse = false;
    });
    arrays.Clear();
    for (const qint32 column : ColumnsToCheck(grid, columns)) {
        for (int row = 1; row < grid.RowCount(); ++row) {
            const CellEntry* entry = TransferredAt(grid, column, row);
            if (!entry)
                continue;
            const ReceivedResult& received = entry->Received;
            const Play identity
                = Identity(arrays.Cells.size(), received.PairNS, received.PairEW, entry->SeatedNS, entry->SeatedEW);
            const PlayReading reading = entry->Reading ? *entry->Reading : ReadPlay(received, scorer);
            if (std::optional<Play> play = PlayOf(received, reading, identity))
                arrays.Plays.push_back(*play);
            arrays.Cells.emplace_back(column, row);
            arrays.Entries.push_back(entry);
        }
    }
    FindFindings(arrays, deals);
    auto next = arrays.Findings.begin();
    for (std::size_t index = 0; index < arrays.Cells.size(); ++index) {
        std::optional<ResultFinding> found;
        if (next != arrays.Findings.end() && next->first == index)
            found = std::move((next++)->second);
        const std::optional<ResultFinding>& held = arrays.Entries[index]->Suspicion;
        if (!found && !held)
            continue; // nothing was suspicious and nothing is: the cell is not touched
        if (found && held && SameFinding(*found, *held))
            continue; // the same finding as the cell holds: nothing to tell the grid
        grid.SetSuspicion(arrays.Cells[index].first, arrays.Cells[index].second, std::move(found));
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
