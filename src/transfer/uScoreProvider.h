// Duplicate bridge scoring of one result, seen from North-South's side.
#pragma once

#include "tournament/Contract.h"

#include <QString>
#include <array>
#include <string_view>

namespace kibic {

// Contracts are numbered 1..105: n = 35 × doubling + 5 × (level − 1) + denomination + 1, with doubling
// 0 undoubled, 1 doubled, 2 redoubled and denomination 0 clubs .. 4 no trump. Number 0 is a passed-out board.
inline constexpr int ContractCount = 105;

// The score of a contract that cannot be read ("4 S X", a missing declarer, an impossible result).
inline constexpr int UnscorableContract = 9999;

// ContractNames[n]: contract n as the terminals write it once the spaces are gone ("4S", "3NTx", "7NTxx").
// Element 0 is unused.
// clang-format off
inline constexpr std::array<std::string_view, ContractCount + 1> ContractNames = {
    "",
    "1C", "1D", "1H", "1S", "1NT",
    "2C", "2D", "2H", "2S", "2NT",
    "3C", "3D", "3H", "3S", "3NT",
    "4C", "4D", "4H", "4S", "4NT",
    "5C", "5D", "5H", "5S", "5NT",
    "6C", "6D", "6H", "6S", "6NT",
    "7C", "7D", "7H", "7S", "7NT",
    "1Cx", "1Dx", "1Hx", "1Sx", "1NTx",
    "2Cx", "2Dx", "2Hx", "2Sx", "2NTx",
    "3Cx", "3Dx", "3Hx", "3Sx", "3NTx",
    "4Cx", "4Dx", "4Hx", "4Sx", "4NTx",
    "5Cx", "5Dx", "5Hx", "5Sx", "5NTx",
    "6Cx", "6Dx", "6Hx", "6Sx", "6NTx",
    "7Cx", "7Dx", "7Hx", "7Sx", "7NTx",
    "1Cxx", "1Dxx", "1Hxx", "1Sxx", "1NTxx",
    "2Cxx", "2Dxx", "2Hxx", "2Sxx", "2NTxx",
    "3Cxx", "3Dxx", "3Hxx", "3Sxx", "3NTxx",
    "4Cxx", "4Dxx", "4Hxx", "4Sxx", "4NTxx",
    "5Cxx", "5Dxx", "5Hxx", "5Sxx", "5NTxx",
    "6Cxx", "6Dxx", "6Hxx", "6Sxx", "6NTxx",
    "7Cxx", "7Dxx", "7Hxx", "7Sxx", "7NTxx"};
// clang-format on

namespace scoring_tables {

[[nodiscard]] constexpr int LevelOf(int contract)
{
    return (contract - 1) % 35 / 5 + 1;
}
[[nodiscard]] constexpr int DoublingOf(int contract)
{
    return (contract - 1) / 35;
}
[[nodiscard]] constexpr int DenominationOf(int contract)
{
    return (contract - 1) % 5;
}

// The trick score of a contract made: 20 a trick in clubs and diamonds, 30 in hearts and spades, 40 for
// the first no-trump trick and 30 for each further one; twice that doubled, four times redoubled.
[[nodiscard]] constexpr int TrickScore(int contract)
{
    const int level = LevelOf(contract);
    const int denomination = DenominationOf(contract);
    const int undoubled = denomination < 2 ? 20 * level : denomination < 4 ? 30 * level : 40 + 30 * (level - 1);
    constexpr int multiplier[3] = { 1, 2, 4 };
    return undoubled * multiplier[DoublingOf(contract)];
}

[[nodiscard]] constexpr std::array<std::array<int, ContractCount + 1>, 2> BuildMadeScores()
{
    std::array<std::array<int, ContractCount + 1>, 2> table {};
    for (int vulnerable = 0; vulnerable <= 1; ++vulnerable) {
        for (int contract = 1; contract <= ContractCount; ++contract) {
            const int trickScore = TrickScore(contract);
            int score = trickScore;
            score += trickScore >= 100 ? (vulnerable ? 500 : 300) : 50;
            if (LevelOf(contract) == 6)
                score += vulnerable ? 750 : 500;
            if (LevelOf(contract) == 7)
                score += vulnerable ? 1500 : 1000;
            score += 50 * DoublingOf(contract);
            table[vulnerable][contract] = score;
        }
    }
    return table;
}

[[nodiscard]] constexpr std::array<std::array<std::array<int, 14>, 3>, 2> BuildPenaltyScores()
{
    std::array<std::array<std::array<int, 14>, 3>, 2> table {};
    for (int down = 1; down <= 13; ++down) {
        table[0][0][down] = 50 * down;
        table[1][0][down] = 100 * down;
        table[0][1][down] = down <= 3 ? 200 * down - 100 : 500 + 300 * (down - 3);
        table[1][1][down] = 200 + 300 * (down - 1);
        for (int vulnerable = 0; vulnerable <= 1; ++vulnerable)
            table[vulnerable][2][down] = 2 * table[vulnerable][1][down];
    }
    return table;
}

} // namespace scoring_tables

// MadeScores[vulnerable][n]: the score for making contract n exactly, bonuses included (vulnerable 0 or 1).
inline constexpr std::array<std::array<int, ContractCount + 1>, 2> MadeScores = scoring_tables::BuildMadeScores();

// PenaltyScores[vulnerable][doubling][down]: what the defenders score for 1..13 tricks down.
inline constexpr std::array<std::array<std::array<int, 14>, 3>, 2> PenaltyScores = scoring_tables::BuildPenaltyScores();

// Vulnerability of boards 1..16, repeating every 16 boards: 0 nobody, 1 North-South, 2 East-West, 3 both.
inline constexpr std::array<int, 16> BoardVulnerability = { 0, 1, 2, 3, 1, 2, 3, 0, 2, 3, 0, 1, 3, 0, 1, 2 };

// Stateless: one instance serves the whole run and may be shared freely.
class TScoreProvider
{
public:
    // The score from North-South's side of the contract text followed directly by the declarer letter
    // ("4 S xN"), made with result tricks relative to the contract (0 made, +n overtricks, −n down) on the
    // given board. 0 for a passed-out board ("PASS"); UnscorableContract when the text names no known
    // contract or declarer, when the board number is below 1, or when the result asks for fewer than 0 or
    // more than 13 tricks.
    [[nodiscard]] int ContractScore(int board, int result, const QString& text) const;
    // The same for a contract already read, without reading the text again.
    [[nodiscard]] int ContractScore(int board, int result, const Contract& contract, Seat declarer) const;

    // The score of the declaring side for contract 0..105 taking 0..13 tricks; vulnerable is 0 or 1.
    // Values outside those ranges are a KibicError.
    [[nodiscard]] int ScoreForTricks(int vulnerable, int contract, int tricks) const;
};

} // namespace kibic
