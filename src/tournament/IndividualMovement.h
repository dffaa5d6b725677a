// The individual tournament: its description (.ind) and its movement.
#pragma once

#include "tournament/NonTypicalSector.h"
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

// Reads TournamentBase + ".ind" (TournamentBase loses its extension first) into the model, creating the
// contract file and numbering the boards on the way. An individual event with one non-typical sector
// is handed to completer.CompleteIndividualNonTypicalSector, whose result is the result; otherwise
// true. Failures raise KibicError.
[[nodiscard]] bool ReadIndividualTournament(TournamentModel& model, NonTypicalSectorCompleter& completer);

// The same on a description already read (TournamentBase names the .KNT and .INR files as it is).
[[nodiscard]] bool ReadIndividualTournament(
    TournamentModel& model, TText description, NonTypicalSectorCompleter& completer);

} // namespace kibic
