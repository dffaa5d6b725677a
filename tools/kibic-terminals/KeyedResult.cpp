// Plausible contracts, results and leads for a rehearsal.
#include "KeyedResult.h"

#include <algorithm>
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

// The strain a side plays best: the most tricks by either hand, counting nine tricks in no trump as ten in a
// major and eleven in a minor (the games), no trump and the majors first among equals.
struct SideBest
{
    Denomination Strain = Denomination::NoTrump;
    Seat Declarer = Seat::North;
    int Worth = -1;
};

int GameBonus(Denomination strain)
{
    if (strain == Denomination::NoTrump)
        return 1;
    return strain == Denomination::Spades || strain == Denomination::Hearts ? 0 : -1;
}

SideBest BestOfSide(const DoubleDummyTable& table, Seat first)
{
    static constexpr std::array<Denomination, 5> preference = { Denomination::NoTrump, Denomination::Spades,
        Denomination::Hearts, Denomination::Diamonds, Denomination::Clubs };
    SideBest best;
    for (const Denomination strain : preference) {
        for (const Seat seat : { first, PartnerOf(first) }) {
            const int worth = table.TricksOf(seat, strain) + GameBonus(strain);
            if (worth > best.Worth)
                best = { strain, seat, worth };
        }
    }
    return best;
}

Card LeadFrom(RehearsalRandom& random, const Deal& deal, Seat leader)
{
    std::vector<Card> cards;
    for (const Suit suit : kibic::kSuits) {
        for (int rank = 14; rank >= 2; --rank) {
            if (deal.HoldingOf(leader, suit) & (1u << rank))
                cards.push_back({ suit, rank });
        }
    }
    return cards.empty() ? Card {} : cards[static_cast<std::size_t>(random.Below(static_cast<int>(cards.size())))];
}

} // namespace

QString ResultText(int tricksAgainstContract)
{
    if (tricksAgainstContract == 0)
        return QStringLiteral("=");
    if (tricksAgainstContract > 0)
        return QLatin1Char('+') + QString::number(tricksAgainstContract);
    return QString::number(tricksAgainstContract);
}

KeyedResult PlayedDeal(RehearsalRandom& random, const Deal& deal, const DoubleDummyTable& table, bool withLeadCard)
{
    const SideBest northSouth = BestOfSide(table, Seat::North);
    const SideBest eastWest = BestOfSide(table, Seat::East);
    KeyedResult result;
    const int mostTricks = std::max(
        table.TricksOf(northSouth.Declarer, northSouth.Strain), table.TricksOf(eastWest.Declarer, eastWest.Strain));
    if (mostTricks <= 7 && random.Chance(0.3)) {
        result.Contract = QStringLiteral("PASS");
        return result;
    }
    const bool northSouthDeclares = (northSouth.Worth >= eastWest.Worth) != random.Chance(0.1);
    SideBest played = northSouthDeclares ? northSouth : eastWest;
    if (random.Chance(0.2))
        played.Declarer = PartnerOf(played.Declarer);
    const int makeable = table.TricksOf(played.Declarer, played.Strain);

    static constexpr std::array<int, 3> kLevelNoise = { 20, 60, 20 }; // one below, as made, one above
    const int level = std::clamp(makeable - 6 + random.Weighted(kLevelNoise) - 1, 1, 7);
    static constexpr std::array<int, 5> kTrickNoise = { 4, 16, 60, 16, 4 }; // two fewer .. two more
    const int taken = std::clamp(makeable + random.Weighted(kTrickNoise) - 2, 0, 13);
    const int against = taken - (level + 6);

    result.Contract = QString::number(level) + QLatin1Char(' ') + StrainLetters(played.Strain);
    if (against <= -2 && random.Chance(0.3))
        result.Contract += QStringLiteral(" x");
    result.Declarer = SeatLetter(played.Declarer);
    result.Result = ResultText(against);
    if (withLeadCard)
        result.LeadCard = LeadText(LeadFrom(random, deal, NextSeat(played.Declarer)));
    return result;
}

KeyedResult WithLeadFromTheDeal(KeyedResult played, RehearsalRandom& random, const Deal& deal, bool withLeadCard)
{
    if (withLeadCard && played.Declarer.size() == 1) {
        if (const std::optional<Seat> declarer = SeatOfLetter(played.Declarer.front()))
            played.LeadCard = LeadText(LeadFrom(random, deal, NextSeat(*declarer)));
    }
    return played;
}

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
