// Screenshots of the scoring database's window: the terminals' settings after a fresh build.
#include "Screenshots.h"

#include "common/Operator.h"
#include "platform/Registry.h"
#include "players/PlayerDatabase.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "scoringdb/TerminalOptions.h"
#include "scoringdb/uBuildBWS.h"
#include "scoringdb/ui/TForm3.h"
#include "tournament/TournamentReader.h"

#include <QDir>
#include <QFile>

namespace kibic::screenshots {

namespace {

// The operator of the shots: the information of a failed players' check is kept, not shown.
Operator& ShotOperator()
{
    static ScriptedOperator op;
    return op;
}

// A one-section club session of 7 tables, built into its scoring database in its own folder.
TournamentModel FreshBuild(const QString& name)
{
    const QString folder = ScratchFolder() + QLatin1Char('/') + name;
    QDir().mkpath(folder);
    QFile description(folder + QStringLiteral("/klub.inf"));
    if (description.open(QIODevice::WriteOnly))
        description.write("7 7 3 1 0 9 0 14 7 0 0 0 0 21 0\r\n1 2 3 4 5 6 7 8 9 10 11 12 13 14\r\n-2\r\n");
    description.close();
    TournamentModel model;
    model.ScoringKind = 2;
    NoNonTypicalSector completer;
    if (ReadTournament(model, description.fileName(), completer))
        (void)BuildScoringDatabase(model, ShotOperator());
    return model;
}

// The players' database of Pelikar, named in the registry, with a few players.
void PlayersDatabase(bool withPlayers)
{
    const QString file = ScratchFolder() + (withPlayers ? QStringLiteral("/pelikar.mdb") : QStringLiteral("/brak.mdb"));
    if (withPlayers && !QFile::exists(file)) {
        DbConnection::CreateDatabaseFile(file);
        DbConnection connection(ScoringConnectionString(file));
        (void)connection.Execute(QStringLiteral("CREATE TABLE [players] ([ID] INTEGER,[Name] TEXT(40))"));
        (void)connection.Execute(QStringLiteral("INSERT INTO [players] ([ID],[Name]) VALUES (1,'Kowalski Jan')"));
    }
    if (auto key = RegistryKey::Open(RegistryHive::CurrentUser, PlayerDatabaseKey.toString(), true))
        (void)key->WriteString(PlayerDatabaseValue.toString(), file);
}

std::unique_ptr<QWidget> SettingsAfterBuild(bool withPlayers)
{
    PlayersDatabase(withPlayers);
    const TournamentModel model
        = FreshBuild(withPlayers ? QStringLiteral("z-zawodnikami") : QStringLiteral("bez-zawodnikow"));
    auto form = std::make_unique<TForm3>(nullptr, ShotOperator(), PlayersMissingText);
    TTable settings(ScoringConnectionString(ScoringDatabaseFileName(model)), QStringLiteral("Settings"));
    settings.Open();
    settings.First();
    form->Load(OptionsToShow(ReadTerminalOptions(settings), model), !model.NamesDatabasePath.isEmpty());
    return form;
}

} // namespace

KIBIC_SCREENSHOT("scoringdb-settings-fresh-build", [] { return SettingsAfterBuild(true); });
KIBIC_SCREENSHOT("scoringdb-settings-no-players-database", [] { return SettingsAfterBuild(false); });

} // namespace kibic::screenshots
