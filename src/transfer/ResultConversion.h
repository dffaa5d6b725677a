// One received result turned into ZyRT's records: where it goes (grid cell, result slot, record index)
// and what is written there (the score word and the contract record).
#pragma once

#include "tournament/ContractFile.h"
#include "tournament/TournamentModel.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace kibic {

class TScoreProvider;

// Score file (.ZAP pairs, .ZAI individual): one signed 16-bit little-endian ScoreWord per record.
//   VALUE              MEANING
//   score              the result from North-South's side (0 for a passed-out board)
//   score + 1          the same with the remark "*" (the pairs sat in the wrong lines)
//   9999               the contract could not be scored
//   10000              average 50%-50%, also a board not played
//   9780..10220        split score: 9780 + 21 × (NS% ÷ 5) + EW% ÷ 5
//   30000              empty slot, no result
inline constexpr qint16 ScoreWordAverage = 10000;
inline constexpr qint16 ScoreWordEmptySlot = 30000;

// The values of one ReceivedData row that the conversion reads (texts as the database gives them).
struct ReceivedResult
{
    qint32 Section = 0;
    qint32 Table = 0;
    qint32 Round = 0;
    qint32 Board = 0;
    QString Remarks;
    QString Contract;
    QString NsEw; // the "NS/EW" column: the declarer
    QString LeadCard;
    QString Result;
    bool Erased = false;
    qint32 PairNS = 0; // the pairs as the terminal sent them; 0 when the table does not have them
    qint32 PairEW = 0;
};

// The RoundData row of the result's section, table and round, as located in the scoring database.
struct RoundDataRow
{
    bool Found = false;
    qint32 Slot = 0; // "custom_ZYRT": ZyRT's result slot of this table in this round, 1-based
    // Whether "custom_Komp", "LowBoard" and "HighBoard" could be read; a database without them is placed
    // through the tournament's board numbering instead.
    bool BoardSetColumnsRead = true;
    qint32 BoardSet = 0; // "custom_Komp", 1-based
    qint32 LowBoard = 0;
    qint32 HighBoard = 0;
    qint32 NSPair = 0; // the pairs the movement seats at the table in the round; 0 when unknown
    qint32 EWPair = 0;
};

// Where a received result belongs. When Placed is false the row is left alone (and unmarked).
struct ResultPlacement
{
    bool Placed = false;
    qint32 GridRow = 0;
    qint32 GridColumn = 0;
    qint32 Slot = 0;
    qint64 RecordIndex = -1;
};

// The two records written for one result.
struct ConvertedResult
{
    qint16 ScoreWord = ScoreWordEmptySlot;
    ContractRecord Contract = ContractRecord::EmptySlot();

    friend bool operator==(const ConvertedResult&, const ConvertedResult&) = default;
};

// The grid row of a table of a section: ordinary sections one after another, then the non-typical sector
// (an individual event's non-typical sectors each take ExtraTableCount ÷ ExtraSectionCount rows). The
// caller checks the range 1..GridTableCount; a value that does not fit 32 bits comes back as 0.
[[nodiscard]] qint32 GridRowOf(const TournamentModel& model, qint32 section, qint32 table);

// The grid column (the board's position 1..BoardCount in the tournament's order) of a board played in a
// located round row: the position inside the row's board set ("custom_Komp") whose printed number is the
// board, or 0 when the board is not in that set. Without the board-set columns the first position whose
// printed number is the board; 0 when there is none.
[[nodiscard]] qint32 GridColumnOf(const TournamentModel& model, const RoundDataRow& roundRow, qint32 board);

// The record of both result files for a grid column and a result slot (both 1-based).
[[nodiscard]] qint64 RecordIndex(const TournamentModel& model, qint32 column, qint32 slot);

// Where a received result goes: placed only on a grid row 1..GridTableCount, a column 1..BoardCount and a
// slot 1..ResultsPerBoard (a larger slot would reach into the next board's records).
[[nodiscard]] ResultPlacement PlaceResult(
    const TournamentModel& model, const ReceivedResult& received, const RoundDataRow& roundRow);

// The remark trimmed, with "Not played" read as the average "50%-50%".
[[nodiscard]] QString EffectiveRemark(const QString& remarks);

// A split score "NS%-EW%": text is trimmed and its spaces removed (handed back so even after a failure),
// each percentage must be a multiple of 5 from 0 to 100, and anything after the second "%" is ignored.
// On failure ns and ew are 0.
[[nodiscard]] bool ParseSplitScore(QString& text, qint32& ns, qint32& ew);

// The split-score code: 9780 + 21 × (ns ÷ 5) + ew ÷ 5, percentages rounded to the nearest multiple of 5;
// 50%-50% is 10000.
[[nodiscard]] qint32 EncodeSplitScore(qint32 ns, qint32 ew);

// The "Result" text as a whole number ("=" 0, "+1" 1, "-2" −2); 0 when it is not one.
[[nodiscard]] qint32 ResultNumber(const QString& result);

// The records for one received result. An erased row gives the empty slot (ScoreWord 30000, Level 9);
// a split score or average its codes; an ordinary result its score (plus 1 with the remark "*", unless
// the contract could not be scored) and its contract record.
[[nodiscard]] ConvertedResult ConvertResult(const TScoreProvider& scorer, const ReceivedResult& received);

} // namespace kibic
