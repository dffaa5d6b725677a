// Loading a session's deals: a PBN file matched to the tournament of a scoring database, analysed double
// dummy and written into the database.
#pragma once

#include "deals/Deal.h"
#include "deals/DoubleDummy.h"
#include "deals/HandRecords.h"
#include "tournament/TournamentModel.h"

#include <QString>
#include <vector>

namespace kibic {

// The deals of a PBN file that the tournament plays, with the boards that play each of them.
struct DealsToLoad
{
    QString PbnFile;
    QString DatabaseFile;
    std::vector<Deal> Deals; // only those the tournament plays, in the file's order
    DealMatch Match; // its rows index Deals; NotPlayed and Missing as the file and the tournament have them
};

// Reads the PBN file and matches its deals to the boards the sections of the database play (model holds the
// tournament of the database: its counts and board numbers). A file that cannot be read, a bad deal, or a file
// of which no deal is played raises KibicError naming the file.
[[nodiscard]] DealsToLoad PrepareDeals(
    const TournamentModel& model, const QString& databaseFile, const QString& pbnFile);

// The double-dummy analysis of the deals (any thread).
[[nodiscard]] AnalysisOutcome AnalyseDeals(
    const DealsToLoad& deals, DoubleDummySolver& solver, AnalysisProgress* progress);

// Writes the deals, with their analyses when given (one per deal), into the database: WriteHandRecords.
void StoreDeals(const DealsToLoad& deals, const std::vector<DealAnalysis>* analyses);

// What the director reads when the deals are in: how many boards of how many sections, then the boards found
// on one side only (DealMatch::Message).
[[nodiscard]] QString LoadedDealsText(const DealsToLoad& deals, bool analysed);

// One board as kibic-cli hands prints it, fields separated by tabs: the number, the dealer, the vulnerability,
// then, with an analysis, the makeable contracts and the par.
[[nodiscard]] QString BoardLine(const Deal& deal, const DealAnalysis* analysis);

} // namespace kibic
