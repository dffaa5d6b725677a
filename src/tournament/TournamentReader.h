// Reading a ZyRT tournament (its description, board numbering and movement) into the tournament model.
#pragma once

#include "tournament/NonTypicalSector.h"
#include "tournament/TextData.h"
#include "tournament/TournamentModel.h"

#include <QString>

namespace kibic {

// Reads the tournament whose description the operator chose: a file with the extension .ind in any
// letter case is an individual event, any other a pairs event (base name + ".inf"). Returns the
// reader's result: false when the operator abandoned the non-typical sector. Failures (a missing file, a
// description that cannot be followed, a contract file that cannot be created) raise KibicError; the
// model may then be partly filled and is not to be used.
[[nodiscard]] bool ReadTournament(
    TournamentModel& model, const QString& chosenFile, NonTypicalSectorCompleter& completer);

// Reads TournamentBase + ".inf" (TournamentBase loses its extension first) into the model, creating the
// contract file and numbering the boards on the way. A non-typical sector is handed to
// completer.CompleteNonTypicalSector, whose result is the result; otherwise true.
[[nodiscard]] bool ReadPairsTournament(TournamentModel& model, NonTypicalSectorCompleter& completer);

// The same on a description already read (TournamentBase names the .KNT and .INR files as it is).
[[nodiscard]] bool ReadPairsTournament(TournamentModel& model, TText description, NonTypicalSectorCompleter& completer);

// Reads TournamentBase + ".ind" (TournamentBase loses its extension first) into the model, creating the
// contract file and numbering the boards on the way. An individual event with one non-typical sector
// is handed to completer.CompleteIndividualNonTypicalSector, whose result is the result; several are
// generated here; otherwise true.
[[nodiscard]] bool ReadIndividualTournament(TournamentModel& model, NonTypicalSectorCompleter& completer);

// The same on a description already read (TournamentBase names the .KNT and .INR files as it is).
[[nodiscard]] bool ReadIndividualTournament(
    TournamentModel& model, TText description, NonTypicalSectorCompleter& completer);

// The counts again, for a scoring database opened directly: from TournamentBase + ".inf" when
// PairsEvent, else ".ind", numbers 1-4, 8, 9, 14 and 15 (pairs) or 1-5, 8, 9 and 14 (individual).
// ExtraSectionCount := 0 before the individual fifth number is decoded; GridTableCount :=
// SectionCount * TableCount + ExtraTableCount. Neither the movement nor the board numbers are touched.
void ReadTournamentHeader(TournamentModel& model);
void ReadTournamentHeader(TournamentModel& model, TText description);

} // namespace kibic
