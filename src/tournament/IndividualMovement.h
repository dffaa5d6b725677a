// The movement of an individual tournament: its sections, the switch of the seats, and the seating
// of its non-typical sectors.
#pragma once

#include "tournament/TextData.h"
#include "tournament/TournamentModel.h"

#include <bitset>

namespace kibic {

// The rounds in which North and East, South and West change places: rounds a1+1..e1 and a2+1..last.
// A range is empty when its start is not below its end; an end of either range (a1+1, e1, a2+1, last)
// outside 0..255 raises KibicError naming the file.
class SwitchRounds
{
public:
    SwitchRounds(qint32 firstStart, qint32 firstEnd, qint32 secondStart, qint32 lastRound, const QString& fileName);

    [[nodiscard]] bool Contains(qint64 round) const
    {
        return round >= 0 && round <= 255 && m_rounds.test(size_t(round));
    }

private:
    std::bitset<256> m_rounds;
};

// How far each seat moves against the board sets every round.
struct SeatSteps
{
    qint64 North = 0;
    qint64 East = 0;
    qint64 South = 0;
    qint64 West = 0;
};

// Fills the ordinary slots of every board set, section by section, in player numbers, with Round and
// Table; the seats of the rounds in switches change places. Needs the counts, ParticipantNumbers and a
// sized Movement; fileName is used in messages. A position beyond the participant list raises KibicError.
void GenerateIndividualSections(
    TournamentModel& model, const SeatSteps& steps, qint64 shift, const SwitchRounds& switches, const QString& fileName);

// The extra slots of every board set, read from the rest of the description, in player numbers: the
// positions name list indices directly. Round and Table are 0.
void ReadIndividualSectorSeating(TournamentModel& model, TText& description);

// Several non-typical sectors (ExtraSectionCount) of m = ExtraTableCount div ExtraSectionCount tables
// each, one after another, each taking RoundCount extra slots round by round: board set c of a sector
// starts at table shift * northStep + c and moves northStep tables a round. Sectors that need more slots
// than there are extra tables, or more tables than board sets, raise KibicError.
void GenerateExtraSectors(
    TournamentModel& model, qint64 northStep, qint64 shift, const SwitchRounds& switches, const QString& fileName);

} // namespace kibic
