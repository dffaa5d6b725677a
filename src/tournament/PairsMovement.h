// The movement of a pairs tournament: its Mitchell-type sections, the switch of NS and EW, the
// exchanges between two sections, and the seating of a non-typical sector.
#pragma once

#include "tournament/NonTypicalSector.h"
#include "tournament/TextData.h"
#include "tournament/TournamentModel.h"

namespace kibic {

// What the ordinary sections of a pairs description ask for.
struct PairsMovementParameters
{
    qint32 SwitchRound = 0; // NS and EW change places from the round after this one on
    qint32 Shift = 0;       // offset of the board sets against the tables in round 1
    qint32 EWStep = -2;     // how far the EW pairs move against the board sets each round
};

// Fills the ordinary slots of every board set, section by section, in pair numbers, with Round and
// Table. Needs the counts, ParticipantNumbers and a sized Movement; fileName is used in messages. A
// switch round below 0 or a position beyond the participant list raises KibicError.
void GeneratePairsSections(TournamentModel& model, const PairsMovementParameters& parameters, const QString& fileName);

// The seating of the non-typical sector, read from the rest of the description into the slots after
// the ordinary ones; NS and EW stay positions within the sector (0 = no meeting), Round and Table 0.
// Returns what the completer is handed.
[[nodiscard]] NonTypicalSectorHandOver ReadPairsSectorSeating(
    TournamentModel& model, TText& description, const PairsMovementParameters& parameters);

// Two sections only: the last-round exchange between them, when exchangeFlag > 0.
void ExchangeLastRounds(TournamentModel& model, qint32 exchangeFlag, qint32 switchRound, const QString& fileName);

// Two sections only: when position > 0, the pair at section 1's NS position meets, on every board set,
// the pair at section 2's NS position, taking the place of that pair's opponent, who takes its place.
void ArrangeSectionMeeting(TournamentModel& model, qint32 position, const QString& fileName);

} // namespace kibic
