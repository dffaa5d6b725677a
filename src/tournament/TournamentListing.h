// A plain-text listing of the tournament model, one TAB-separated line per field, for scripts and checks.
#pragma once

#include "tournament/TournamentModel.h"

#include <QStringList>

namespace kibic {

// The counts (PairsEvent, TableCount, RoundCount, BoardsPerRound, SectionCount, ExtraTableCount,
// ExtraSectionCount, ParticipantCount, ResultsPerBoard, BoardCount, ScoringKind), then
// "ParticipantNumbers" and "BoardNumbers" with every element from 0, then one line
// "Movement b slot NS EW South West Round Table" for every board set 1..TableCount and slot from 1,
// board set by board set.
[[nodiscard]] QStringList TournamentListing(const TournamentModel& model);

} // namespace kibic
