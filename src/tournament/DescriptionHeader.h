// The header of a tournament description: the fifteen numbers that open a pairs (.inf) and an
// individual (.ind) description alike, read with TText in this order (line structure does not matter).
//    #   PAIRS (.inf)                     INDIVIDUAL (.ind)
//    1   tables per section (+10000)      tables per section (+10000 allowed)
//    2   rounds                           rounds
//    3   boards per round                 boards per round
//    4   sections                         sections
//    5   -                                extra tables; above 10000: 10000 + 100 x sectors + tables
//    6   switch round                     -
//    7   shift                            shift
//    8   participant entries              participant entries
//    9   result slots per board           result slots per board
//   10   -                                -
//   11   -                                -
//   12   -                                first switch range, start
//   13   -                                first switch range, end
//   14   boards                           boards
//   15   extra tables (0: none)           second switch range, start
// The participant list follows in both kinds; what comes after it is read by the tournament reader.
#pragma once

#include "tournament/TextData.h"
#include "tournament/TournamentModel.h"

#include <QString>
#include <QtGlobal>

namespace kibic {

struct DescriptionHeader
{
    bool ScoringFlag = false; // number 1 was above 10000: a pairs event then has ScoringKind 0
    qint32 TableCount = 0; // number 1 modulo 10000
    qint32 RoundCount = 0;
    qint32 BoardsPerRound = 0;
    qint32 SectionCount = 0;
    qint32 ExtraSectionCount = 0; // individual: (number 5 - 10000) div 100 when above 10000, else 0
    qint32 ExtraTableCount = 0; // pairs: number 15; individual: number 5 (mod 100 when above 10000)
    qint32 SwitchRound = 0; // pairs: NS and EW change places from the round after this one on
    qint32 Shift = 0;
    qint32 ParticipantCount = 0;
    qint32 ResultsPerBoard = 0;
    qint32 FirstSwitchStart = 0; // individual: rounds start+1 .. end switch
    qint32 FirstSwitchEnd = 0;
    qint32 BoardCount = 0;
    qint32 SecondSwitchStart = 0; // individual: rounds start+1 .. RoundCount switch
};

// Reads the fifteen numbers of a pairs (pairsEvent) or an individual description; the stream is left
// at the participant list. A header cut short, or with something that is no number in the place of a number
// it uses, raises KibicError naming the file and the number (the unused ones need only be there).
[[nodiscard]] DescriptionHeader ReadDescriptionHeader(TText& description, bool pairsEvent);

// The header's counts into the model (TableCount, RoundCount, BoardsPerRound, SectionCount,
// ExtraSectionCount, ExtraTableCount, ParticipantCount, ResultsPerBoard, BoardCount; not ScoringKind),
// then the checks of the counts: a damaged description, or one of no table, no round or no board, raises
// KibicError naming fileName.
// seatsPerTable is 2 for pairs, 4 for players.
void SetHeaderCounts(TournamentModel& model, const DescriptionHeader& header, const QString& fileName, qint64 seatsPerTable);

} // namespace kibic
