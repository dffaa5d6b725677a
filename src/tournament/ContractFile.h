// ZyRT's contract file (.KNT) of a tournament: its record, its codes, its creation and the writing and
// reading of its records. The score file shares its record index (transfer/ResultFiles.h).
#pragma once

#include "tournament/Contract.h"
#include "tournament/TournamentModel.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace kibic {

// Contract file (.KNT): records of 8 bytes, back to back, no header, same record index as the score file.
//   OFFSET SIZE  FIELD
//      0     1   Level          1..7 the contract's level; 0 passed out or no readable contract;
//                               8 average 50%-50%; 9 no result; 10 split score
//      1     1   Denomination   0 clubs, 1 diamonds, 2 hearts, 3 spades, 4 no trump
//      2     1   Doubling       0 undoubled, 1 doubled, 2 redoubled
//      3     1   Declarer       0 North (also "NS"), 1 East (also "EW"), 2 South, 3 West
//      4     1   LeadSuit       0 clubs, 1 diamonds, 2 hearts, 3 spades, 4 other; 0 with no lead card
//      5     1   LeadRank       1..13 for 2..A (9 the ten, 13 the ace); 0 no lead card or unknown rank
//      6     2   ResultValue    signed, little-endian: tricks relative to the contract for a result;
//                               the split-score code for a split score; 0 otherwise
// Denomination, Doubling and Declarer hold the codes of Denomination, Doubling and Seat (tournament/Contract.h).
enum class LevelCode : quint8 { PassedOut = 0, Average = 8, NoResult = 9, SplitScore = 10 };
enum class LeadSuitCode : quint8 { Clubs = 0, Diamonds = 1, Hearts = 2, Spades = 3, Other = 4 };

[[nodiscard]] constexpr quint8 LevelByte(LevelCode code)
{
    return static_cast<quint8>(code);
}

struct ContractRecord
{
    static constexpr int Size = 8;

    quint8 Level = 0; // a contract level 1..7, or a LevelCode
    kibic::Denomination Denomination = kibic::Denomination::Clubs;
    kibic::Doubling Doubling = kibic::Doubling::Undoubled;
    Seat Declarer = Seat::North;
    LeadSuitCode LeadSuit = LeadSuitCode::Clubs;
    quint8 LeadRank = 0;
    qint16 ResultValue = 0;

    // What a slot holds before any result: Level 9, all other bytes 0. A new contract file holds only these.
    [[nodiscard]] static ContractRecord EmptySlot();

    [[nodiscard]] QByteArray ToBytes() const;
    // bytes must hold at least Size bytes; values outside the codes are kept as they are.
    [[nodiscard]] static ContractRecord FromBytes(const char* bytes);

    friend bool operator==(const ContractRecord&, const ContractRecord&) = default;
};

// The contract file: TournamentBase + ".KNT", whatever the letter case of the extension on disk.
[[nodiscard]] QString ContractFileName(const TournamentModel& model);

// Creates base + ".KNT" with recordCount empty records ("no result") when the tournament has no contract
// file yet, in any letter case of the extension; an existing file is never changed, whatever its size.
// A count outside 0..MaxTournamentElements, or a file that cannot be written, raises KibicError.
void CreateContractFile(const QString& base, qint64 recordCount);

// One record into the existing file, in place: it must already hold the record (it is never created or
// extended). Failures are KibicError naming the file and, where it applies, the record.
void WriteContractRecord(const QString& fileName, qint64 recordIndex, const ContractRecord& record);

// Every record of the file, in order. A missing file, a read error or a length that is not a whole number
// of records is a KibicError naming the file.
[[nodiscard]] std::vector<ContractRecord> ReadContractRecords(const QString& fileName);

} // namespace kibic
