// Opening a scoring database: this computer serves every table, the counts come from the description
// beside the file, the options from the settings window; then the terminal server is started.
#include "scoringdb/uOpenBWS.h"

#include "common/KibicError.h"
#include "common/Operator.h"
#include "common/uNapisy.h"
#include "platform/ShellOpen.h"
#include "platform/System.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/TTable.h"
#include "tournament/BoardNumbering.h"
#include "tournament/TournamentFiles.h"
#include "tournament/TournamentReader.h"

#include <QDir>
#include <QScopeGuard>

namespace kibic {

qint32 RegisterComputer(const QString& fileName, const QString& computerName)
{
    TTable clients(ScoringConnectionString(fileName), QStringLiteral("Clients"));
    clients.Open();
    if (!clients.Locate(QStringLiteral("Computer"), { computerName })) {
        clients.Append();
        clients.SetField(QStringLiteral("Computer"), computerName);
        clients.Post();
        clients.Close();
        clients.Open();
        if (!clients.Locate(QStringLiteral("Computer"), { computerName }))
            throw KibicError(
                QStringLiteral("Nie można zapisać komputera %1 w tabeli Clients bazy %2.").arg(computerName, fileName));
    }
    return clients.FieldAsInteger(QStringLiteral("ID"));
}

void AssignTablesToComputer(const QString& fileName, qint32 computerId)
{
    TTable tables(ScoringConnectionString(fileName), QStringLiteral("Tables"));
    tables.Open();
    tables.Connection().BeginTransaction();
    for (tables.First(); !tables.Eof(); tables.Next()) {
        tables.Edit();
        tables.SetField(QStringLiteral("ComputerID"), computerId);
        tables.Post();
    }
    tables.Connection().CommitTransaction();
    tables.Close();
}

qint32 ServeTablesFromThisComputer(const QString& fileName)
{
    // The computer is registered and given the tables over one connection.
    const DatabaseHold hold(ScoringConnectionString(fileName));
    const qint32 computer = RegisterComputer(fileName, ComputerName());
    AssignTablesToComputer(fileName, computer);
    return computer;
}

bool ReadPairsEvent(const QString& fileName)
{
    TTable settings(ScoringConnectionString(fileName), QStringLiteral("Settings"));
    settings.Open();
    settings.First();
    // Files made by other programs do not carry Kibic's column: they are pairs tournaments.
    if (settings.Eof() || !settings.HasField(QStringLiteral("custom_pairs")))
        return true;
    return settings.FieldAsBoolean(QStringLiteral("custom_pairs"));
}

void ReadTournamentOfDatabase(TournamentModel& model, const QString& fileName)
{
    model.PairsEvent = ReadPairsEvent(fileName);
    model.TournamentBase = WithoutExtension(fileName);
    model.ExtraSectionCount = 0;
    ReadTournamentHeader(model);
    FillBoardNumbers(model);
}

void OpenScoringDatabase(TournamentModel& model, const QString& fileName, ScoringDatabaseWindow& window, Operator& op)
{
    // The hourglass of the opening must not outlive a failure.
    auto restoreCursor = qScopeGuard([&op] { op.SetBusyCursor(false); });
    window.AttachTables(ScoringConnectionString(fileName));
    (void)ServeTablesFromThisComputer(fileName);
    ReadTournamentOfDatabase(model, fileName);
    window.SetCaption(QDir::toNativeSeparators(model.TournamentBase)
        + (model.PairsEvent ? uNapisy::TurniejPar : uNapisy::TurniejIndywidualny));
    window.SetUpGrid();

    TTable settings(ScoringConnectionString(fileName), QStringLiteral("Settings"));
    settings.Open();
    settings.First();
    if (settings.Eof())
        throw KibicError(
            QStringLiteral("Tabela Settings bazy %1 nie ma żadnego wiersza: brak ustawień pierniczków.")
                .arg(fileName));
    TerminalOptions options = OptionsToShow(ReadTerminalOptions(settings), model);
    model.MemberNumbers = options.MemberNumbers;
    const ModalResult result = window.ShowSettingsWindow(options, !model.NamesDatabasePath.isEmpty());
    if (result == ModalResult::Yes || result == ModalResult::No) {
        model.MemberNumbers = options.MemberNumbers;
        WriteTerminalOptions(settings, options);
    }
    settings.Close();

    window.ShowIdentifierControls(model.MemberNumbers);
    if (result == ModalResult::Yes)
        StartTerminalServer(model, fileName, op);
    restoreCursor.dismiss();
}

QStringList TerminalServerArguments(const QString& fileName)
{
    return { QStringLiteral("/f:[") + QDir::toNativeSeparators(fileName) + QLatin1Char(']'), QStringLiteral("/s"),
        QStringLiteral("/r"), QStringLiteral("/m") };
}

QString TerminalServerProgram(
    const QString& bmproPath, bool onWindows, const QString& programFiles, const QString& rehearsalServer)
{
    if (!bmproPath.isEmpty())
        return bmproPath;
    if (onWindows)
        return programFiles + QStringLiteral("\\Bridgemate Pro\\BMPro.exe");
    return rehearsalServer;
}

QString ShellResultMessage(int code)
{
    switch (code) {
    case 0:
    case 8:
        return QStringLiteral("Brak zasobów.");
    case 2:
        return QStringLiteral("Nie znaleziono pliku");
    case 3:
        return QStringLiteral("Nie znaleziono kartoteki.");
    case 5:
        return QStringLiteral("Dostęp zabroniony.");
    case 11:
        return QStringLiteral("Uszkodzony plik.");
    default:
        if (code <= 32)
            return QStringLiteral("Błąd wykonania:") + QString::number(code);
        return {};
    }
}

void StartTerminalServer(const TournamentModel& model, const QString& fileName, Operator& op)
{
#ifdef Q_OS_WIN
    constexpr bool onWindows = true;
#else
    constexpr bool onWindows = false;
#endif
    const QString program
        = TerminalServerProgram(model.BMProPath, onWindows, ProgramFilesDirectory(), RehearsalTerminalServerPath());
    const QString message = ShellResultMessage(ShellOpenProgram(program, TerminalServerArguments(fileName)));
    if (!message.isEmpty())
        op.ShowMessageDialog(message, DialogKind::Error, DialogButton::Ok);
}

} // namespace kibic
