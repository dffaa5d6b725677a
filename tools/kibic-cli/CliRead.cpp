// kibic-cli read: reads a ZyRT tournament as "Otwórz turniej ZyRTa" does and lists the model.
#include "CliCommand.h"
#include "CliSectorOptions.h"

#include "tournament/TournamentListing.h"
#include "tournament/TournamentReader.h"

namespace kibic::cli {

namespace {

const QString kReadUsage = QStringLiteral("read PLIK [--sector-kind RODZAJ] [--pattern PLIK.bmt] [--barometer tak|nie]");

int Read(const QStringList& given)
{
    QStringList arguments = given;
    const std::unique_ptr<NonTypicalSectorCompleter> completer = TakeSectorOptions(arguments);
    if (arguments.size() != 1 || arguments.front().startsWith(QLatin1String("--")))
        return UsageError(kReadUsage);
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

KIBIC_CLI_COMMAND("read", "read PLIK [--sector-kind RODZAJ] [--pattern PLIK.bmt] [--barometer tak|nie]", Read);

} // namespace kibic::cli
