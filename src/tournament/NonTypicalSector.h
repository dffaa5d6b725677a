// The hand-over of a non-typical sector from the movement readers to whoever completes it.
#pragma once

#include "tournament/TournamentModel.h"

namespace kibic {

// What the reader knows of the sector when it hands it over.
struct NonTypicalSectorHandOver
{
    qint32 RowCount = 0;       // n: tables of the sector (ExtraTableCount)
    qint32 SlotOffset = 0;     // o: ordinary slots before the sector's (SectionCount * RoundCount)
    qint32 PositionOffset = 0; // p: positions of all ordinary sections in ParticipantNumbers
    qint32 Shift = 0;          // the description's shift (seventh number)
};

// Fills Round and Table of the sector's entries (slots o+1..o+n of every board set) and, in a pairs
// event, turns their positions into pair numbers. A false result abandons the opening of the tournament.
// The window answers with its dialogs and the pattern editor; the CLI and tests without a window.
class NonTypicalSectorCompleter
{
public:
    virtual ~NonTypicalSectorCompleter() = default;

    // Pairs event: NS and EW hold positions within the sector (0 = no meeting); Round, Table are 0.
    [[nodiscard]] virtual bool CompleteNonTypicalSector(TournamentModel& model, const NonTypicalSectorHandOver& sector) = 0;

    // Individual event with one non-typical sector: the four seats already hold player numbers.
    [[nodiscard]] virtual bool CompleteIndividualNonTypicalSector(
        TournamentModel& model, const NonTypicalSectorHandOver& sector) = 0;
};

} // namespace kibic
