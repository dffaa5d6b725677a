// Mistakes that the rehearsal's tables key in on purpose (--mistakes), so that the check of received results
// can be shown and tested against a list of what was planted.
#pragma once

#include "KeyedResult.h"

#include <QString>
#include <optional>
#include <vector>

namespace kibic {
class SessionDeals;
}

namespace kibic::terminals {

struct ReceivedRow;
struct Seating;

// In the order of the kinds that the check of received results reports.
enum class MistakeKind {
    Side, // the declarer keyed on the other side (the next seat clockwise), on a board with its deal
    Declarer, // the declarer's partner keyed as declarer, the lead card as played (needs the deal and leads)
    Tricks, // the tricks taken keyed four away from the double-dummy tricks of the contract
    Board, // the record that the table played on another board of the round keyed on this one (with the deal,
           // only a record whose tricks lie three or more from this deal's double-dummy tricks)
    Pairs, // the pairs of another table of the same round (a terminal logged on at the wrong table)
    Outlier // the declarer keyed on the other side, on a board without its deal
};

// The fixed English word of each kind, the same as the check prints: "side", "declarer", "tricks", "board",
// "pairs", "outlier".
[[nodiscard]] QString MistakeKindWord(MistakeKind kind);

// What a row keyed in wrongly was planted from.
struct PlantedMistake
{
    MistakeKind Kind = MistakeKind::Side;
    KeyedResult Played; // what the table played, which the row should have said
    int PlayedPairNS = 0;
    int PlayedPairEW = 0;
};

// What --mistakes works with for the rows of one table in one round.
struct MistakeContext
{
    quint64 Seed = 1;
    double Rate = 0.0; // the probability of each kind on a row that can have it
    bool LeadCard = false; // the terminals ask for the lead
    bool PairsEvent = true;
    const SessionDeals* Deals = nullptr;
    const Seating* TableSeating = nullptr; // the table's seating
    std::vector<const Seating*> OtherTables; // the seatings of the other tables of the section in the round
};

// Plants mistakes into the rows of one table in one round (in the order that table sends them). Only the
// last entry of a board, the one that stays, can be keyed in wrongly, and only when it names a declarer; at
// most one mistake a row, each kind that the row can have drawn with probability Rate. The draws depend only
// on the seed and the row's place.
void PlantMistakes(std::vector<ReceivedRow>& rows, const MistakeContext& context);

// The line of the list of planted mistakes, tab-separated: the section letter, table, round, board, the
// kind's word, what was keyed in and what the table played, each as "CONTRACT DECLARER RESULT [LEAD]" (and
// "pary NS-EW" for the kind "pairs").
[[nodiscard]] QString PlantedMistakeLine(const ReceivedRow& row);

// The largest --mistakes: six kinds at this rate still leave most rows keyed in right.
inline constexpr double kLargestMistakeRate = 0.15;

} // namespace kibic::terminals
