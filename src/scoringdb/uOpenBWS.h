// Opening a scoring database in the main window and starting the terminal server on it.
#pragma once

#include "common/DialogTypes.h"
#include "scoringdb/TerminalOptions.h"
#include "tournament/TournamentModel.h"

#include <QString>
#include <QStringList>

namespace kibic {

class Operator;

// What the main window does for OpenScoringDatabase; the window implements it, tests without widgets.
class ScoringDatabaseWindow
{
public:
    virtual ~ScoringDatabaseWindow() = default;

    // Closes recTable (ReceivedData) and rdaTable (RoundData) and gives both this connection string;
    // they are not opened here.
    virtual void AttachTables(const QString& connectionString) = 0;

    // The main window's caption: the tournament's base path and its kind.
    virtual void SetCaption(const QString& caption) = 0;

    // The results grid for the counts now in the model (which also disables both opening buttons).
    virtual void SetUpGrid() = 0;

    // Creates the settings window TForm3 with the main window as owner, loads it from options (with
    // NamesFileKnown = namesFileKnown), shows it modally and releases it. Returns its modal result:
    // Yes ("Tak"), No ("Nie") or Cancel ("Zaniechaj", the close box). On Yes and No, options holds what
    // the window showed when it closed.
    [[nodiscard]] virtual ModalResult ShowSettingsWindow(TerminalOptions& options, bool namesFileKnown) = 0;

    // Shows btnIDS and CheckBoxCezar (the terminals ask for identifiers) or hides both.
    virtual void ShowIdentifierControls(bool visible) = 0;
};

// The number (Clients.ID) of the computer called computerName in the database fileName; a computer
// not yet there gets a new row. Raises KibicError when the file cannot be opened or written.
[[nodiscard]] qint32 RegisterComputer(const QString& fileName, const QString& computerName);

// Sets ComputerID of every Tables row to computerId, row by row, in one write transaction.
void AssignTablesToComputer(const QString& fileName, qint32 computerId);

// Registers this computer (ComputerName(); KIBIC_COMPUTER_NAME overrides it) and gives it every table.
// Returns the computer's number.
qint32 ServeTablesFromThisComputer(const QString& fileName);

// The kind of tournament the database was built for: custom_pairs of the first Settings row, true
// when the column is missing, the table has no row or the value cannot be read. A Settings table that
// cannot be opened raises KibicError.
[[nodiscard]] bool ReadPairsEvent(const QString& fileName);

// The tournament of a scoring database into the model: its kind from Settings, TournamentBase (the file
// without extension), the counts from the description beside the file and the board numbering. The
// movement is not read.
void ReadTournamentOfDatabase(TournamentModel& model, const QString& fileName);

// Makes fileName the main window's database: registers the computer and gives it every table, reads
// the kind and the counts of the tournament beside the file, numbers the boards, sets up the grid, shows
// the settings window, saves the options on "Tak" or "Nie" and on "Tak" starts the terminal server.
// Errors end the opening with KibicError (steps already done stay done); the normal cursor is then back.
void OpenScoringDatabase(TournamentModel& model, const QString& fileName, ScoringDatabaseWindow& window, Operator& op);

// The terminal server's arguments for the file: "/f:[" + file + "]", "/s", "/r", "/m" (the path in the
// platform's own separators).
[[nodiscard]] QStringList TerminalServerArguments(const QString& fileName);

// The program to start: bmproPath when not empty; on Windows programFiles + "\Bridgemate Pro\BMPro.exe";
// elsewhere the rehearsal server rehearsalServer.
[[nodiscard]] QString TerminalServerProgram(
    const QString& bmproPath, bool onWindows, const QString& programFiles, const QString& rehearsalServer);

// The message for a result code of the shell's "open"; empty for a success (above 32).
[[nodiscard]] QString ShellResultMessage(int code);

// Starts the terminal server (BMProPath, else the platform's place of it) on fileName without waiting
// for it; a failure is shown as an error with an OK button.
void StartTerminalServer(const TournamentModel& model, const QString& fileName, Operator& op);

} // namespace kibic
