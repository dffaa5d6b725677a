// The ordinary sections of both kinds of event: board set b starts at table b and moves down one table
// a round, while each seat (two pairs, or four players) moves by its own step against the board sets.
#pragma once

#include "tournament/TournamentModel.h"

#include <QString>
#include <initializer_list>

namespace kibic {

// How one seat moves: in round 1 board set b meets the seat's position b + shift x Step, wrapped round
// the section, and Step positions further each round.
struct SeatMove
{
    qint32 MovementEntry::*Seat; // NS, EW, South or West; the first seat's position is the table
    qint64 Step = 0;
    // A Mitchell with an even number of tables: halfway through, the seat skips one more position back,
    // or it would meet the board sets it has already played.
    bool MitchellSkip = false;
};

// Fills the slots R(s-1)+1 .. R(s-1)+R of every board set of section s in pair or player numbers, with
// Round and Table. Seat k of the list (from 0) takes its participants from positions k x T + 1 .. (k+1) x
// T of the section, whose positions follow the seats.size() x T (s-1) positions of the sections before
// it. Needs the counts, ParticipantNumbers and a sized Movement; a position beyond the participant list
// raises KibicError naming fileName.
void GenerateSection(TournamentModel& model, qint32 section, std::initializer_list<SeatMove> seats, qint64 shift,
    const QString& fileName);

} // namespace kibic
