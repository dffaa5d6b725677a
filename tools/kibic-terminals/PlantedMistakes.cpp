// Planting the rehearsal's mistakes and listing them.
#include "PlantedMistakes.h"

#include "RehearsalPlan.h"
#include "RehearsalRandom.h"

#include "deals/SessionDeals.h"

#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

namespace kibic::terminals {

namespace {

// The key of the mistakes' generators, apart from those of the plan's own decisions.
constexpr qint64 kPurposeMistake = 7;

// How far the planted tricks lie from the double-dummy tricks: further than any table of the rehearsal
// strays when it plays straight (two tricks at most).
constexpr int kTricksAway = 4;

struct ContractParts
{
    int Level = 0;
    Denomination Strain = Denomination::NoTrump;
};

std::optional<ContractParts> PartsOf(const QString& contract)
{
    const QStringList words = contract.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2)
        return std::nullopt;
    bool ok = false;
    const int level = words[0].toInt(&ok);
    if (!ok || level < 1 || level > 7)
        return std::nullopt;
    for (const Denomination strain : kStrains) {
        if (StrainLetters(strain) == words[1])
            return ContractParts { level, strain };
    }
    return std::nullopt;
}

std::optional<Seat> DeclarerOf(const KeyedResult& keyed)
{
    if (keyed.Declarer.size() != 1)
        return std::nullopt;
    return SeatOfLetter(keyed.Declarer.front());
}

bool Declared(const ReceivedRow& row)
{
    return row.Kind != RowKind::Erasure && row.Keyed.Remarks.isEmpty() && DeclarerOf(row.Keyed)
        && PartsOf(row.Keyed.Contract);
}

// The row of each board that stays: the last one, unless it is an erasure.
std::map<int, std::size_t> LastEntries(const std::vector<ReceivedRow>& rows)
{
    std::map<int, std::size_t> last;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Kind == RowKind::Erasure)
            last.erase(rows[i].Board);
        else
            last[rows[i].Board] = i;
    }
    return last;
}

bool SameRecord(const KeyedResult& a, const KeyedResult& b)
{
    return a.Contract == b.Contract && a.Declarer == b.Declarer && a.Result == b.Result;
}

QString RecordText(const KeyedResult& keyed)
{
    QStringList parts { keyed.Contract, keyed.Declarer, keyed.Result };
    if (!keyed.LeadCard.isEmpty())
        parts << keyed.LeadCard;
    return parts.join(QLatin1Char(' '));
}

QString PairsText(int pairNS, int pairEW)
{
    return QStringLiteral("pary %1-%2").arg(pairNS).arg(pairEW);
}

// Whether the deal shows a record keyed on the wrong board: its tricks lie at least kTricksAway - 1 from what
// the declarer takes on this board's deal. Without an analysed deal nothing is required.
bool DealShowsIt(const KeyedResult& keyed, const DoubleDummyTable* table)
{
    if (!table)
        return true;
    const ContractParts contract = *PartsOf(keyed.Contract);
    const int taken = contract.Level + 6 + (keyed.Result == QStringLiteral("=") ? 0 : keyed.Result.toInt());
    return std::abs(taken - table->TricksOf(*DeclarerOf(keyed), contract.Strain)) >= kTricksAway - 1;
}

// The record of another board of the round, declared, unlike this one and far from this board's deal; none
// when there is no such board.
std::optional<std::pair<int, KeyedResult>> OtherBoardRecord(const std::vector<ReceivedRow>& rows,
    const std::map<int, std::size_t>& last, int board, const DoubleDummyTable* table, const std::set<int>& planted)
{
    for (const auto& [other, index] : last) {
        const KeyedResult& keyed = rows[index].Keyed;
        if (other != board && !planted.count(other) && Declared(rows[index]) && !SameRecord(keyed, rows[last.at(board)].Keyed)
            && DealShowsIt(keyed, table))
            return std::pair { other, keyed };
    }
    return std::nullopt;
}

} // namespace

QString MistakeKindWord(MistakeKind kind)
{
    switch (kind) {
    case MistakeKind::Side:
        return QStringLiteral("side");
    case MistakeKind::Declarer:
        return QStringLiteral("declarer");
    case MistakeKind::Tricks:
        return QStringLiteral("tricks");
    case MistakeKind::Board:
        return QStringLiteral("board");
    case MistakeKind::Pairs:
        return QStringLiteral("pairs");
    case MistakeKind::Outlier:
        return QStringLiteral("outlier");
    }
    return {};
}

void PlantMistakes(std::vector<ReceivedRow>& rows, const MistakeContext& context)
{
    if (context.Rate <= 0.0 || !context.TableSeating)
        return;
    const Seating& seating = *context.TableSeating;
    const std::map<int, std::size_t> last = LastEntries(rows);
    // The records as played, before any mistake: a board keyed in on another takes that board's true record.
    const std::vector<ReceivedRow> played = rows;
    // The boards already keyed in wrongly, and those whose record another board took: a record keyed on the
    // wrong board stays the very record of the board it belongs to, as it does at a real table.
    std::set<int> planted;
    std::set<int> lent;

    for (const auto& [board, index] : last) {
        ReceivedRow& row = rows[index];
        if (!Declared(row) || lent.count(board))
            continue;
        const Seat declarer = *DeclarerOf(row.Keyed);
        const ContractParts contract = *PartsOf(row.Keyed.Contract);
        const Deal* deal = context.Deals ? context.Deals->DealOf(row.Section, board) : nullptr;
        const DoubleDummyTable* table = context.Deals ? context.Deals->TableOf(row.Section, board) : nullptr;
        const std::optional<std::pair<int, KeyedResult>> otherBoard
            = OtherBoardRecord(played, last, board, table, planted);
        std::vector<const Seating*> otherPairs;
        for (const Seating* other : context.OtherTables) {
            if (other->NSPair != seating.NSPair || other->EWPair != seating.EWPair)
                otherPairs.push_back(other);
        }

        std::vector<MistakeKind> possible;
        if (table)
            possible.insert(possible.end(), { MistakeKind::Side, MistakeKind::Tricks });
        if (deal && context.LeadCard && !row.Keyed.LeadCard.isEmpty())
            possible.push_back(MistakeKind::Declarer);
        if (otherBoard)
            possible.push_back(MistakeKind::Board);
        if (!otherPairs.empty())
            possible.push_back(MistakeKind::Pairs);
        if (!table)
            possible.push_back(MistakeKind::Outlier);
        std::sort(possible.begin(), possible.end());

        RehearsalRandom random
            = RehearsalRandom::For(context.Seed, { kPurposeMistake, row.Section, row.Table, row.Round, board });
        const double draw = random.Uniform();
        const double rate = std::min(context.Rate, 1.0 / static_cast<double>(std::max<std::size_t>(possible.size(), 1)));
        const auto drawn = static_cast<std::size_t>(draw / rate);
        if (drawn >= possible.size())
            continue;

        PlantedMistake mistake { possible[drawn], row.Keyed, row.PairNS, row.PairEW };
        const Seating* seatedBy = &seating;
        switch (mistake.Kind) {
        case MistakeKind::Side:
        case MistakeKind::Outlier:
            row.Keyed.Declarer = SeatLetter(NextSeat(declarer));
            break;
        case MistakeKind::Declarer:
            row.Keyed.Declarer = SeatLetter(PartnerOf(declarer));
            break;
        case MistakeKind::Tricks: {
            const int makeable = table->TricksOf(declarer, contract.Strain);
            const int taken = makeable + kTricksAway <= 13 ? makeable + kTricksAway : makeable - kTricksAway;
            row.Keyed.Result = ResultText(taken - (contract.Level + 6));
            break;
        }
        case MistakeKind::Board:
            row.Keyed = otherBoard->second;
            lent.insert(otherBoard->first);
            break;
        case MistakeKind::Pairs:
            seatedBy = otherPairs[static_cast<std::size_t>(random.Below(static_cast<int>(otherPairs.size())))];
            row.PairNS = seatedBy->NSPair;
            row.PairEW = seatedBy->EWPair;
            break;
        }
        row.Declarer = DeclaringNumber(*seatedBy, row.Keyed.Declarer, context.PairsEvent);
        row.Mistake = mistake;
        planted.insert(board);
    }
}

QString PlantedMistakeLine(const ReceivedRow& row)
{
    if (!row.Mistake)
        return {};
    const PlantedMistake& mistake = *row.Mistake;
    QString keyed = RecordText(row.Keyed);
    QString played = RecordText(mistake.Played);
    if (mistake.Kind == MistakeKind::Pairs) {
        keyed += QLatin1Char(' ') + PairsText(row.PairNS, row.PairEW);
        played += QLatin1Char(' ') + PairsText(mistake.PlayedPairNS, mistake.PlayedPairEW);
    }
    return QStringList { QString(QChar(u'A' + row.Section - 1)), QString::number(row.Table),
        QString::number(row.Round), QString::number(row.Board), MistakeKindWord(mistake.Kind), keyed, played }
        .join(QLatin1Char('\t'));
}

} // namespace kibic::terminals
