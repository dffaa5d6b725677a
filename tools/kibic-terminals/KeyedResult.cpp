// Plausible contracts, results and leads for a rehearsal.
#include "KeyedResult.h"

#include <array>
#include <vector>

namespace kibic::terminals {

namespace {

// How often tables end in each contract, per 1000 boards played out; the denominations in the order
// clubs, diamonds, hearts, spades, no trump. Part scores at the one to three level, games (three no
// trump, four of a major, five of a minor) and a few slams.
constexpr int kPassedOut = 25;
constexpr std::array<std::array<int, 5>, 7> kContractWeights = { {
    { 8, 8, 10, 10, 35 }, // 1
    { 25, 25, 50, 50, 25 }, // 2
    { 20, 25, 40, 40, 180 }, // 3
    { 6, 6, 150, 160, 5 }, // 4
    { 30, 30, 12, 12, 2 }, // 5
    { 6, 6, 15, 18, 12 }, // 6
    { 1, 1, 2, 2, 2 }, // 7
} };
const std::array<QString, 5> kDenominations
    = { QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("H"), QStringLiteral("S"), QStringLiteral("NT") };

// Undoubled, doubled, redoubled.
constexpr std::array<int, 3> kDoublingWeights = { 920, 72, 8 };

// Tricks against the contract, from -4 to +3.
constexpr int kLowestResult = -4;
constexpr std::array<int, 8> kUndoubledResults = { 2, 4, 9, 20, 36, 21, 7, 1 };
constexpr std::array<int, 8> kDoubledResults = { 3, 6, 16, 34, 30, 9, 2, 0 };

const std::array<QString, 4> kSeats
    = { QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("S"), QStringLiteral("W") };
const std::array<QString, 4> kSuits
    = { QStringLiteral("S"), QStringLiteral("H"), QStringLiteral("D"), QStringLiteral("C") };
const std::array<QString, 13> kRanks = { QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
    QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
    QStringLiteral("10"), QStringLiteral("J"), QStringLiteral("Q"), QStringLiteral("K"), QStringLiteral("A") };
constexpr std::array<int, 13> kRankWeights = { 8, 9, 9, 8, 8, 8, 8, 8, 10, 10, 10, 12, 10 };

QString ResultText(int tricksAgainstContract)
{
    if (tricksAgainstContract == 0)
        return QStringLiteral("=");
    if (tricksAgainstContract > 0)
        return QLatin1Char('+') + QString::number(tricksAgainstContract);
    return QString::number(tricksAgainstContract);
}

} // namespace

KeyedResult PlayedBoard(RehearsalRandom& random, bool withLeadCard)
{
    std::vector<int> weights { kPassedOut };
    for (const auto& level : kContractWeights)
        weights.insert(weights.end(), level.begin(), level.end());
    const int drawn = random.Weighted(weights);
    KeyedResult result;
    if (drawn == 0) {
        result.Contract = QStringLiteral("PASS");
        return result;
    }
    const int level = (drawn - 1) / 5 + 1;
    const int denomination = (drawn - 1) % 5;
    const int doubling = random.Weighted(kDoublingWeights);

    result.Contract = QString::number(level) + QLatin1Char(' ') + kDenominations[denomination];
    if (doubling == 1)
        result.Contract += QStringLiteral(" x");
    else if (doubling == 2)
        result.Contract += QStringLiteral(" xx");
    result.Declarer = kSeats[random.Below(4)];

    // Only results the contract can have: from all thirteen tricks lost (level + 6 down) to all taken
    // (7 - level over).
    const auto& table = doubling == 0 ? kUndoubledResults : kDoubledResults;
    std::vector<int> possible(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int against = kLowestResult + static_cast<int>(i);
        possible[i] = against >= -(level + 6) && against <= 7 - level ? table[i] : 0;
    }
    result.Result = ResultText(kLowestResult + random.Weighted(possible));

    if (withLeadCard)
        result.LeadCard = kSuits[random.Below(4)] + kRanks[random.Weighted(kRankWeights)];
    return result;
}

QString SplitScoreRemark(RehearsalRandom& random)
{
    // NS from 30% to 70% without 50%; EW mostly the rest of 100%, sometimes both sides above or below.
    static constexpr std::array<int, 8> kNorthSouth = { 30, 35, 40, 45, 55, 60, 65, 70 };
    const int northSouth = kNorthSouth[random.Below(static_cast<int>(kNorthSouth.size()))];
    int eastWest = 100 - northSouth;
    if (random.Chance(0.2))
        eastWest = northSouth;
    return QString::number(northSouth) + QStringLiteral("%-") + QString::number(eastWest) + QLatin1Char('%');
}

} // namespace kibic::terminals
