// kibic-cli read: reads a ZyRT tournament as "Otwórz turniej ZyRTa" does and lists the model.
#include "CliCommand.h"
#include "CliSectorOptions.h"

#include "tournament/TournamentListing.h"
#include "tournament/TournamentReader.h"

namespace kibic::cli {

namespace {

#define KIBIC_READ_USAGE "read PLIK [opcje sektora nietypowego]"

int Read(const QStringList& given)
{
    tools::CommandLine commandLine(SectorOptionList());
    ReadCommandLine(commandLine, given, QStringLiteral(KIBIC_READ_USAGE));
    const std::unique_ptr<NonTypicalSectorCompleter> completer = SectorCompleter(commandLine);
    const QStringList& arguments = commandLine.Positional();
    if (arguments.size() != 1)
        return UsageError(QStringLiteral(KIBIC_READ_USAGE));
    // The model as a freshly opened main window holds it.
    TournamentModel model;
    model.ScoringKind = 2;
    model.CellClicked = true;
    if (!ReadTournament(model, arguments.front(), *completer)) {
        PrintError(QStringLiteral("Turniej %1 nie został otwarty: sektor nietypowy nie został uzupełniony.")
                       .arg(arguments.front()));
        return ExitFailure;
    }
    for (const QString& line : TournamentListing(model))
        PrintLine(line);
    return ExitSuccess;
}

} // namespace

KIBIC_CLI_COMMAND("read", KIBIC_READ_USAGE, Read);

} // namespace kibic::cli
