// One board's deal: the thirteen cards of each hand, the dealer and the vulnerability.
#pragma once

#include "tournament/Contract.h"

#include <QString>
#include <QtGlobal>
#include <array>
#include <optional>

namespace kibic {

// A suit is a Denomination other than NoTrump; a strain (the trumps of a contract) is any Denomination.
using Suit = Denomination;

enum class Vulnerability : quint8 { None = 0, NorthSouth = 1, EastWest = 2, Both = 3 };

// The hands and the suits in the order of the HandRecord columns: North, East, South, West; spades, hearts,
// diamonds, clubs. The strains in the order of the HandEvaluation columns: those suits, then no trump.
inline constexpr std::array<Seat, 4> kSeats = { Seat::North, Seat::East, Seat::South, Seat::West };
inline constexpr std::array<Suit, 4> kSuits = { Suit::Spades, Suit::Hearts, Suit::Diamonds, Suit::Clubs };
inline constexpr std::array<Denomination, 5> kStrains = { Denomination::Spades, Denomination::Hearts,
    Denomination::Diamonds, Denomination::Clubs, Denomination::NoTrump };

[[nodiscard]] constexpr int IndexOf(Seat seat)
{
    return static_cast<int>(seat);
}
[[nodiscard]] constexpr int IndexOf(Denomination denomination)
{
    return static_cast<int>(denomination);
}

// The hand after this one in the order of play (clockwise): the leader sits after the declarer.
[[nodiscard]] constexpr Seat NextSeat(Seat seat)
{
    return static_cast<Seat>((IndexOf(seat) + 1) % 4);
}
[[nodiscard]] constexpr Seat PartnerOf(Seat seat)
{
    return static_cast<Seat>((IndexOf(seat) + 2) % 4);
}

// "N", "E", "S", "W".
[[nodiscard]] QString SeatLetter(Seat seat);
// "North" ... "West", "Spades" ... "Clubs", "Notrump": the parts of the HandRecord and HandEvaluation columns.
[[nodiscard]] QString SeatName(Seat seat);
[[nodiscard]] QString StrainName(Denomination strain);
// "S", "H", "D", "C", "NT": the strain as the terminals write a contract.
[[nodiscard]] QString StrainLetters(Denomination strain);
// "♠", "♥", "♦", "♣", "BA": the strain as the director reads it (bez atu for no trump).
[[nodiscard]] QString StrainSymbol(Denomination strain);
// "nikt", "NS", "EW", "obie": who is vulnerable, as the director reads it.
[[nodiscard]] QString VulnerabilityText(Vulnerability vulnerable);
// Whether the seat's side is vulnerable.
[[nodiscard]] bool IsVulnerable(Vulnerability vulnerable, Seat seat);

// A card: rank 2..14 (11 jack, 12 queen, 13 king, 14 ace) of a suit.
struct Card
{
    Suit CardSuit = Suit::Spades;
    int Rank = 0;
    friend bool operator==(const Card&, const Card&) = default;
};

// The rank's letter as PBN writes it: "2".."9", "T", "J", "Q", "K", "A"; 0 for a rank outside 2..14.
[[nodiscard]] QChar RankLetter(int rank);
// The rank of a letter ("T" or "10" is written by the caller as "T"); 0 when it is none.
[[nodiscard]] int RankOfLetter(QChar letter);
// A lead card as the terminals write it: suit letter and rank, "H10", "SA", "D7". Nothing for another text.
[[nodiscard]] std::optional<Card> CardOfLeadText(QStringView text);
[[nodiscard]] QString LeadText(const Card& card);

// The cards of one hand in one suit as a set of bits: bit r stands for rank r (2..14), the solver's layout.
using Holding = quint16;
inline constexpr Holding kAllRanks = 0x7ffc;

struct Deal
{
    qint32 Board = 0; // the board number the deal was given in the PBN file
    Seat Dealer = Seat::North;
    Vulnerability Vulnerable = Vulnerability::None;
    std::array<std::array<Holding, 4>, 4> Holdings {}; // [seat][suit as IndexOf gives it]

    [[nodiscard]] Holding HoldingOf(Seat seat, Suit suit) const { return Holdings[IndexOf(seat)][IndexOf(suit)]; }
    // The hand holding the card; nothing when no hand holds it.
    [[nodiscard]] std::optional<Seat> HolderOf(const Card& card) const;
    // Cards in one hand, all suits.
    [[nodiscard]] int CardCount(Seat seat) const;
    // Milton Work points: ace 4, king 3, queen 2, jack 1.
    [[nodiscard]] int HighCardPoints(Seat seat) const;
    friend bool operator==(const Deal&, const Deal&) = default;
};

// The cards of a holding as a HandRecord text: ranks from the ace down, "T" for the ten, empty for a void
// ("AKT92").
[[nodiscard]] QString HoldingText(Holding holding);

// The holding of a text of rank letters; nothing when a letter is no rank or a rank repeats.
[[nodiscard]] std::optional<Holding> HoldingOfText(const QString& text);

// What is wrong with the deal, in Polish, or empty when each hand has 13 cards and every card of the pack is
// dealt once: "karta ♠A dwa razy (N i E)", "ręka S ma 12 kart".
[[nodiscard]] QString DealProblem(const Deal& deal);

// The deal as PBN writes it, from North: "N:AKQ.T98.765.432 ...".
[[nodiscard]] QString PbnDealText(const Deal& deal);

// The dealer and vulnerability of a board by the standard rotation of duplicate boards (board 1 North and
// nobody vulnerable, the cycle repeating every 16 boards).
[[nodiscard]] Seat StandardDealer(qint32 board);
[[nodiscard]] Vulnerability StandardVulnerability(qint32 board);

} // namespace kibic
