// A bridge contract and a seat at the table: the one vocabulary of the scorer, ZyRT's contract records, the
// correction window and the identifier lists. Each reader of contract text keeps its own rule of what it
// accepts (the terminals' text is scored only when it is exact, ZyRT's record is filled from whatever can be
// read, the director's typing must be exact), and all of them give the same Contract.
#pragma once

#include <QChar>
#include <QStringView>
#include <QtGlobal>
#include <optional>

namespace kibic {

// Numbered as ZyRT's contract record numbers the declarer.
enum class Seat : quint8 { North = 0, East = 1, South = 2, West = 3 };

// Numbered as ZyRT's contract record numbers them: the order of their rank, clubs lowest.
enum class Denomination : quint8 { Clubs = 0, Diamonds = 1, Hearts = 2, Spades = 3, NoTrump = 4 };

enum class Doubling : quint8 { Undoubled = 0, Doubled = 1, Redoubled = 2 };

// The level 1..7 of its digit; none for any other character.
[[nodiscard]] std::optional<qint32> LevelOfDigit(QChar digit);

// The seat of a capital letter N, E, S or W; none for any other character.
[[nodiscard]] std::optional<Seat> SeatOfLetter(QChar letter);

[[nodiscard]] constexpr bool IsNorthSouth(Seat seat)
{
    return seat == Seat::North || seat == Seat::South;
}

// The denomination of a capital letter C, D, H, S or N (of "NT"); none for any other character.
[[nodiscard]] std::optional<Denomination> DenominationOfLetter(QChar letter);

// A contract: the level 1..7, the denomination and the doubling. A passed-out board has none.
struct Contract
{
    qint32 Level = 1;
    kibic::Denomination Denomination = kibic::Denomination::Clubs;
    kibic::Doubling Doubling = kibic::Doubling::Undoubled;

    friend bool operator==(const Contract&, const Contract&) = default;
};

// How an exact contract text separates its parts.
enum class ContractSpelling {
    Compact, // "4S", "3NTx", "7NTxx": the terminals' text once its spaces are gone
    Spaced, // "4 S", "3 NT x", "7 NT xx": the correction window's notation
};

// A contract written exactly in the spelling: a level 1..7, "C", "D", "H", "S" or "NT" in capitals, then
// optionally "x" or "xx" in small letters. None for anything else ("PASS", "4s", "4 S X", "8 S").
[[nodiscard]] std::optional<Contract> ParseContract(QStringView text, ContractSpelling spelling);

// As much of a contract as can be read from a text in any letter case: none unless it starts with a level
// 1..7 ("PASS", an empty text). Otherwise that level; the denomination of the first letter after it, spaces
// skipped (clubs for any other letter or none); redoubled when the rest holds "XX", doubled when it holds "X".
[[nodiscard]] std::optional<Contract> ReadContractLeniently(QStringView text);

} // namespace kibic
