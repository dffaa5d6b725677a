// "Czytaj identyfikatory": the identifiers keyed in at the tables become ZyRT's identifier and name lists,
// with the players' data from the player database (Cezar identifiers) or from ZyRT's names file.
#pragma once

#include "common/Operator.h"
#include "players/NameLists.h"
#include "players/PlayerDatabase.h"
#include "players/PlayerEntries.h"
#include "scoringdb/TTable.h"
#include "tournament/TournamentModel.h"

#include <QString>
#include <QStringView>
#include <vector>

namespace kibic {

// The lists one run wrote or left alone, in the order they were written.
struct IdentifierListsOutcome
{
    std::vector<ListFileResult> Lists;
};

// Step C1 after the identifiers are placed: every entry whose identifier is a row's ID in the player
// database's table players gets the row's non-empty IMIE, NAZWISKO, WK, OKREG, INFO and KLUB. An
// identifier keyed in but not found (or not a Cezar identifier) is reported as "Błędne ID w parze 12 !"
// or "Błędne ID zawodnika 7 !" in entry order and becomes "?".
void LookUpPlayerDatabase(TTable& players, PlayerEntries& entries, bool pairsEvent, Operator& op);

// The flow with the player database. Without a registered database ("SORTEL nie jest zainstalowana!")
// or when its table players cannot be opened ("Sortel musi być zainstalowana!") it runs the names-file
// flow instead. Writes the identifier list, then the name list.
IdentifierListsOutcome ReadCezarIdentifiers(const TournamentModel& model, Operator& op);

// The flow with ZyRT's names file (model.NamesDatabasePath). Writes the name list only.
IdentifierListsOutcome ReadNamesFileIdentifiers(const TournamentModel& model, Operator& op);

// The click of "Czytaj identyfikatory" (btnIDSClick): the Cezar flow when "cezarowe" is checked or no
// names file is known, the names-file flow otherwise; then MemberNumbers becomes false, so the window
// hides btnIDS and CheckBoxCezar. A failure that ends the operation (the description, the scoring
// database or the names file cannot be read, a list cannot be written) raises KibicError and leaves
// MemberNumbers true: the caller shows the error and the button stays.
IdentifierListsOutcome ReadIdentifiers(TournamentModel& model, bool cezarChecked, Operator& op);

} // namespace kibic
