// kibic-cli build: builds the scoring database of a ZyRT tournament as "Otwórz turniej ZyRTa" does and
// gives this computer every table; no settings window, no terminal server.
#include "CliCommand.h"
#include "CliSectorOptions.h"

#include "common/Operator.h"
#include "scoringdb/uBuildBWS.h"
#include "scoringdb/uOpenBWS.h"
#include "tournament/TournamentFiles.h"
#include "tournament/TournamentReader.h"

#include <QFileInfo>

namespace kibic::cli {

namespace {

const QString kBuildUsage = QStringLiteral(
    "build PLIK.inf|PLIK.ind [--overwrite] [--sector-kind RODZAJ] [--pattern PLIK.bmt] [--barometer tak|nie]");

bool IsDescription(const QString& file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == QStringLiteral("inf") || suffix == QStringLiteral("ind");
}

int Build(const QStringList& given)
{
    tools::CommandLine commandLine(
        SectorOptionList() + QList<tools::OptionRule> { { QStringLiteral("overwrite"), QString() } });
    ReadCommandLine(commandLine, given, kBuildUsage);
    const std::unique_ptr<NonTypicalSectorCompleter> completer = SectorCompleter(commandLine);
    const bool overwrite = commandLine.IsSet(QStringLiteral("overwrite"));
    const QStringList& arguments = commandLine.Positional();
    if (arguments.size() != 1 || !IsDescription(arguments.front()))
        return UsageError(kBuildUsage);
    const QString chosen = arguments.front();

    // Checked before reading: reading may create the contract file, and an existing database means
    // nothing is to change.
    const QString database = WithoutExtension(chosen) + QStringLiteral(".bws");
    if (QFileInfo::exists(database) && !overwrite) {
        PrintError(QStringLiteral("Plik %1 istnieje. Nic nie zmieniono (--overwrite nadpisze go).").arg(database));
        return ExitFailure;
    }

    TournamentModel model;
    model.ScoringKind = 2;
    model.CellClicked = true;
    if (!ReadTournament(model, chosen, *completer)) {
        PrintError(
            QStringLiteral("Turniej %1 nie został otwarty: sektor nietypowy nie został uzupełniony.").arg(chosen));
        return ExitFailure;
    }
    // The overwrite question is answered "Tak" only when --overwrite was given; a database that holds
    // results is then kept as a copy beside it.
    ScriptedOperator op(overwrite ? ModalResult::Yes : ModalResult::No);
    if (!BuildScoringDatabase(model, op)) {
        for (const QString& message : op.Messages)
            PrintError(message);
        return ExitFailure;
    }
    // What the build told on the way: the copy kept of a database that held results; the way the file was
    // made goes to the error output, so that the output stays the file's name.
    for (qsizetype i = 0; i < op.Messages.size(); ++i) {
        if (op.Kinds[i] == DialogKind::Info)
            PrintLine(op.Messages[i]);
    }
    for (const QString& note : op.Notes)
        PrintError(note);
    (void)ServeTablesFromThisComputer(ScoringDatabaseFileName(model));
    PrintLine(ScoringDatabaseFileName(model));
    return ExitSuccess;
}

} // namespace

KIBIC_CLI_COMMAND("build",
    "build PLIK.inf|PLIK.ind [--overwrite] [--sector-kind RODZAJ] [--pattern PLIK.bmt] [--barometer tak|nie]", Build);

} // namespace kibic::cli
