// kibic-cli hands: the session's deals from a PBN file into a scoring database, with their double-dummy
// analysis, one line per board.
#include "CliCommand.h"

#include "deals/LoadDeals.h"
#include "scoringdb/uOpenBWS.h"

#include <QFileInfo>

namespace kibic::cli {

namespace {

const QString kHandsUsage = QStringLiteral("hands PLIK.bws PLIK.pbn [--no-analysis]");

int Hands(const QStringList& arguments)
{
    tools::CommandLine commandLine({ { QStringLiteral("no-analysis"), QString() } });
    ReadCommandLine(commandLine, arguments, kHandsUsage);
    if (commandLine.Positional().size() != 2)
        return UsageError(kHandsUsage);
    const QString database = QFileInfo(commandLine.Positional().at(0)).absoluteFilePath();
    const QString pbn = QFileInfo(commandLine.Positional().at(1)).absoluteFilePath();
    if (!QFileInfo::exists(database))
        throw KibicError(QStringLiteral("Nie ma bazy %1.").arg(database));
    const bool analyse = !commandLine.IsSet(QStringLiteral("no-analysis"));

    TournamentModel model;
    ReadTournamentOfDatabase(model, database);
    const DealsToLoad deals = PrepareDeals(model, database, pbn);
    AnalysisOutcome outcome;
    if (analyse)
        outcome = AnalyseDeals(deals, *MakeDdsSolver(), nullptr);
    StoreDeals(deals, analyse ? &outcome.Analyses : nullptr);
    for (std::size_t i = 0; i < deals.Deals.size(); ++i)
        PrintLine(BoardLine(deals.Deals[i], analyse ? &outcome.Analyses[i] : nullptr));
    PrintError(LoadedDealsText(deals, analyse));
    return ExitSuccess;
}

} // namespace

KIBIC_CLI_COMMAND("hands", "hands PLIK.bws PLIK.pbn [--no-analysis]", Hands);

} // namespace kibic::cli
