// kibic-cli sprawdz: the pre-flight check of the tournament PC. Every piece Kibic needs is checked as
// Kibic uses it, one line per step, and a scratch tournament is built, played into its database,
// transferred and removed again. The director's own files are only read.
#include "CliCommand.h"
#include "CliSectorOptions.h"

#include "common/FileErrors.h"
#include "common/KibicError.h"
#include "common/Operator.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "players/PlayerDatabase.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/CreationRoute.h"
#include "scoringdb/Database.h"
#include "scoringdb/DriverChecks.h"
#include "scoringdb/TQuery.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uBuildBWS.h"
#include "scoringdb/uOpenBWS.h"
#include "shell/MainWindowStartup.h"
#include "tournament/TournamentReader.h"
#include "transfer/Polling.h"
#include "transfer/ResultFiles.h"
#include "transfer/ResultGrid.h"
#include "transfer/popK.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>

namespace kibic::cli {

namespace {

const QString kUsage = QStringLiteral("sprawdz [KATALOG] [--czekaj]");

// The scratch tournament: one section of three tables, three rounds of two boards, six pairs.
const QByteArray kScratchDescription = QByteArrayLiteral("3 3 2 1 0 9 0 6 3 0 0 0 0 6 0\r\n1 2 3 4 5 6\r\n-2\r\n");

// What the scratch tables key in, in round 1, one per table in table order, with the records ZyRT must
// then hold (scores from North-South's side, worked out by hand for the board's vulnerability).
struct ScratchResult
{
    QString Declarer; // the "NS/EW" column
    QString Contract;
    QString Result;
    QString LeadCard;
    // The score when North-South are not vulnerable / vulnerable, and when East-West are not / are.
    qint16 ScoreNsNotVulnerable;
    qint16 ScoreNsVulnerable;
    qint16 ScoreEwNotVulnerable;
    qint16 ScoreEwVulnerable;
    ContractRecord Record;
};

const std::vector<ScratchResult>& ScratchResults()
{
    static const std::vector<ScratchResult> results = {
        { QStringLiteral("N"), QStringLiteral("3 NT"), QStringLiteral("="), QStringLiteral("H5"), 400, 600, 400, 400,
            ContractRecord { 3, Denomination::NoTrump, Doubling::Undoubled, Seat::North, LeadSuitCode::Hearts, 4, 0 } },
        { QStringLiteral("E"), QStringLiteral("4 S x"), QStringLiteral("-2"), QStringLiteral("DA"), 300, 300, 300, 500,
            ContractRecord { 4, Denomination::Spades, Doubling::Doubled, Seat::East, LeadSuitCode::Diamonds, 13, -2 } },
        { QStringLiteral("S"), QStringLiteral("1 NT"), QStringLiteral("+1"), QStringLiteral("C10"), 120, 120, 120, 120,
            ContractRecord { 1, Denomination::NoTrump, Doubling::Undoubled, Seat::South, LeadSuitCode::Clubs, 9, 1 } },
    };
    return results;
}

// The duplicate vulnerability of a board: North-South on 2, 5, 12, 15; East-West on 3, 6, 9, 16; both on
// 4, 7, 10, 13; then again every 16 boards.
bool NorthSouthVulnerable(int board)
{
    static const bool ns[16]
        = { false, true, false, true, true, false, true, false, false, true, false, true, true, false, true, false };
    return ns[(board - 1) % 16];
}

bool EastWestVulnerable(int board)
{
    static const bool ew[16]
        = { false, false, true, true, false, true, true, false, true, true, false, false, true, false, false, true };
    return ew[(board - 1) % 16];
}

qint16 ExpectedScore(const ScratchResult& result, int board)
{
    const bool northSouthDeclare = result.Declarer == QStringLiteral("N") || result.Declarer == QStringLiteral("S");
    if (northSouthDeclare)
        return NorthSouthVulnerable(board) ? result.ScoreNsVulnerable : result.ScoreNsNotVulnerable;
    return EastWestVulnerable(board) ? result.ScoreEwVulnerable : result.ScoreEwNotVulnerable;
}

// The steps' lines and the count of failed ones.
class Report
{
public:
    void Ok(const QString& text) { PrintLine(QStringLiteral("OK   ") + text); }
    void Fail(const QString& text)
    {
        PrintLine(QStringLiteral("BŁĄD ") + text);
        ++m_failures;
    }
    [[nodiscard]] int Failures() const { return m_failures; }

private:
    int m_failures = 0;
};

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The registry value and, when it names a file, whether that file is there. Returns the path when the
// file exists.
QString CheckRegistryFile(Report& report, const std::optional<RegistryKey>& key, const QString& keyName,
    const QString& value, bool missingIsFailure, const QString& missingNote)
{
    const QString path = key ? key->ReadString(value) : QString();
    if (path.isEmpty()) {
        const QString text = key
            ? QStringLiteral("rejestr: klucz %1 nie ma wartości \"%2\" (%3)").arg(keyName, value, missingNote)
            : QStringLiteral("rejestr: nie ma klucza %1 z wartością \"%2\" (%3)").arg(keyName, value, missingNote);
        if (missingIsFailure)
            report.Fail(text);
        else
            report.Ok(text);
        return {};
    }
    if (!QFileInfo(path).isFile()) {
        report.Fail(QStringLiteral("rejestr: \"%1\" wskazuje plik %2, którego nie ma").arg(value, Native(path)));
        return {};
    }
    report.Ok(QStringLiteral("rejestr: \"%1\" = %2").arg(value, Native(path)));
    return path;
}

void CheckNamesDatabase(Report& report, const QString& configuration)
{
    const QString names = NamesDatabaseFromConfiguration(configuration);
    if (names.isEmpty()) {
        report.Fail(QStringLiteral("konfiguracja ZyRTa %1: brak wiersza [NAZWISKA] z nazwą istniejącej bazy nazwisk")
                        .arg(Native(configuration)));
        return;
    }
    QFile file(names);
    ClearSystemError();
    if (!file.open(QIODevice::ReadOnly)) {
        report.Fail(
            QStringLiteral("baza nazwisk ZyRTa %1: %2").arg(Native(names), FileErrorText(file, LastSystemError())));
        return;
    }
    const QByteArray head = file.read(20);
    const int recordSize = head == QByteArrayLiteral("FULL_NAMES_FOR_ABACS") ? 63 : 31;
    const qint64 records = file.size() / recordSize;
    if (head.size() < 20 || records < 1) {
        report.Fail(QStringLiteral("baza nazwisk ZyRTa %1: plik jest za krótki (%2 bajtów)")
                        .arg(Native(names))
                        .arg(file.size()));
        return;
    }
    report.Ok(QStringLiteral("baza nazwisk ZyRTa %1: %2 rekordów po %3 bajtów")
                  .arg(Native(names))
                  .arg(records)
                  .arg(recordSize));
}

void CheckPlayerDatabase(Report& report)
{
    const std::optional<RegistryKey> key
        = RegistryKey::Open(RegistryHive::CurrentUser, PlayerDatabaseKey.toString(), false);
    const QString keyName = QStringLiteral("HKEY_CURRENT_USER") + PlayerDatabaseKey;
    const QString database = CheckRegistryFile(
        report, key, keyName, PlayerDatabaseValue.toString(), true, QStringLiteral("baza zawodników programu Pelikar"));
    if (database.isEmpty())
        return;
    try {
        const qint64 players = CountPlayers(database);
        if (players > 0)
            report.Ok(
                QStringLiteral("baza zawodników %1: tabela players, %2 zawodników").arg(Native(database)).arg(players));
        else
            report.Fail(QStringLiteral("baza zawodników %1: tabela players jest pusta").arg(Native(database)));
    } catch (const KibicError& error) {
        report.Fail(QStringLiteral("baza zawodników %1: %2").arg(Native(database), error.Message()));
    }
}

void CheckTerminalServer(Report& report, const QString& bmproPath)
{
#ifdef Q_OS_WIN
    const bool onWindows = true;
#else
    const bool onWindows = false;
#endif
    const QString program
        = TerminalServerProgram(bmproPath, onWindows, ProgramFilesDirectory(), RehearsalTerminalServerPath());
    const QFileInfo info(program);
    if (info.isFile() && info.isExecutable())
        report.Ok(QStringLiteral("serwer pierniczków: %1").arg(Native(program)));
    else
        report.Fail(QStringLiteral("serwer pierniczków: nie ma programu %1").arg(Native(program)));
}

void CheckBackend(Report& report)
{
    if (!CreatesAccessFiles()) {
#ifdef Q_OS_WIN
        report.Ok(QStringLiteral("baza wyników: SQLite (KIBIC_DB_BACKEND=sqlite: nowe pliki .bws są bazami SQLite do "
                                 "próby; serwer pierniczków ich nie odczyta)"));
#else
        report.Ok(QStringLiteral("baza wyników: SQLite (poza systemem Windows pliki .bws są bazami SQLite)"));
#endif
        return;
    }
    const QStringList drivers = InstalledOdbcDrivers();
    const QString driver = ChooseAccessDriver(drivers);
    if (driver.isEmpty())
        report.Fail(
            QStringLiteral("baza wyników: brak sterownika ODBC \"%1\" (ani \"%2\"); zainstalowane sterowniki: %3")
                .arg(kJetOdbcDriver, kAceOdbcDriver,
                    drivers.isEmpty() ? QStringLiteral("żadne") : drivers.join(QStringLiteral(", "))));
    else
        report.Ok(QStringLiteral("baza wyników: sterownik ODBC \"%1\"").arg(driver));
}

// A failed step of the scratch tournament: its line and the end of the rehearsal.
struct ScratchFailure
{
    QString Text;
};

void Require(bool condition, const QString& text)
{
    if (!condition)
        throw ScratchFailure { text };
}

// Writes a file of the scratch tournament; a failure names the file and the cause.
void WriteScratchFile(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    ClearSystemError();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw ScratchFailure {
            QStringLiteral("plik próbny %1: %2").arg(Native(fileName), FileErrorText(file, LastSystemError()))
        };
}

// The rows the scratch tables key in: the round-1 row of each table, its first board.
struct PlayedRow
{
    qint32 Table = 0;
    qint32 Board = 0;
    qint32 NsPair = 0;
    qint32 EwPair = 0;
    qint32 Slot = 0;
};

void RunScratchTournament(Report& report, const QString& folder)
{
    QTemporaryDir scratch(QDir(folder).filePath(QStringLiteral("kibic-sprawdzenie-XXXXXX")));
    if (!scratch.isValid()) {
        report.Fail(QStringLiteral("katalog próbny w %1: %2").arg(Native(folder), scratch.errorString()));
        return;
    }
    const QString base = scratch.filePath(QStringLiteral("proba"));
    const QString bws = base + QStringLiteral(".bws");
    try {
        WriteScratchFile(base + QStringLiteral(".inf"), kScratchDescription);
        TournamentModel model;
        model.ScoringKind = 2;
        model.CellClicked = true;
        // The scratch tournament has no non-typical sector: no sector option answers anything.
        tools::CommandLine noOptions(SectorOptionList());
        (void)noOptions.Parse({});
        const std::unique_ptr<NonTypicalSectorCompleter> completer = SectorCompleter(noOptions);
        try {
            Require(ReadTournament(model, base + QStringLiteral(".inf"), *completer),
                QStringLiteral("turniej próbny nie został odczytany"));
        } catch (const KibicError& error) {
            throw ScratchFailure { QStringLiteral("turniej próbny: ") + error.Message() };
        }
        model.GridTableCount = model.SectionCount * model.TableCount + model.ExtraTableCount;
        WriteScratchFile(ScoreFileName(model), QByteArray("0u").repeated(model.BoardCount * model.ResultsPerBoard));

        ScriptedOperator op(ModalResult::No);
        const bool built = BuildScoringDatabase(model, op);
        const CreatedDatabaseCheck made = CheckCreatedDatabase(bws, built, op.Messages);
        if (!built)
            throw ScratchFailure { made.Text };
        made.Passed ? report.Ok(made.Text) : report.Fail(made.Text);
        // Kibic keeps one connection to the file from here on, as the window does while a tournament is open.
        const DatabaseHold hold(ScoringConnectionString(bws));
        const QString driver = ConnectionTo(ScoringConnectionString(bws))->DriverDescription();
        report.Ok(QStringLiteral("baza próbna %1: utworzona i wypełniona jak przy budowie turnieju (%2)")
                      .arg(Native(bws), driver));
        // What Kibic and the terminal server rely on, asked of the driver on the scratch file before the
        // scratch tournament is played into it (the checks remove their rows again).
        for (const DriverCheck& check : CheckDriver(bws)) {
            if (check.Passed)
                report.Ok(check.Text);
            else
                report.Fail(check.Text);
        }

        // A second connection while Kibic's is open, as Kibic and the terminal server share the file.
        std::vector<PlayedRow> played;
        {
            TTable settings(ScoringConnectionString(bws), QStringLiteral("Settings"));
            settings.Open();
            TTable rounds(ScoringConnectionString(bws), QStringLiteral("RoundData"));
            rounds.Open();
            DbConnection second(ScoringConnectionString(bws));
            const int expectedRows = model.SectionCount * model.TableCount * model.RoundCount;
            Require(settings.RecordCount() == 1 && rounds.RecordCount() == expectedRows
                    && second.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [RoundData]")) == expectedRows,
                QStringLiteral(
                    "baza próbna %1 otwarta drugi raz: Settings ma %2 wierszy, RoundData %3 (powinno być 1 i %4)")
                    .arg(Native(bws))
                    .arg(settings.RecordCount())
                    .arg(rounds.RecordCount())
                    .arg(expectedRows));
            for (rounds.First(); !rounds.Eof(); rounds.Next()) {
                if (rounds.FieldAsInteger(QStringLiteral("Round")) != 1)
                    continue;
                played.push_back({ rounds.FieldAsInteger(QStringLiteral("Table")),
                    rounds.FieldAsInteger(QStringLiteral("LowBoard")), rounds.FieldAsInteger(QStringLiteral("NSPair")),
                    rounds.FieldAsInteger(QStringLiteral("EWPair")),
                    rounds.FieldAsInteger(QStringLiteral("custom_Zyrt")) });
            }
            std::sort(
                played.begin(), played.end(), [](const PlayedRow& a, const PlayedRow& b) { return a.Table < b.Table; });
            Require(played.size() == ScratchResults().size(),
                QStringLiteral("baza próbna %1: runda 1 ma %2 stołów zamiast %3")
                    .arg(Native(bws))
                    .arg(played.size())
                    .arg(ScratchResults().size()));
        }
        report.Ok(QStringLiteral("baza próbna: otwarta drugim połączeniem, gdy pierwsze było otwarte"));

        {
            DbConnection server(ScoringConnectionString(bws));
            const bool sqlite = server.Dialect() == SqlDialect::Sqlite;
            for (std::size_t i = 0; i < played.size(); ++i) {
                const ScratchResult& result = ScratchResults()[i];
                const bool northSouth
                    = result.Declarer == QStringLiteral("N") || result.Declarer == QStringLiteral("S");
                (void)server.Execute(TerminalServerInsertStatement(),
                    TerminalServerInsertValues(sqlite, 1, played[i].Table, 1, played[i].Board, played[i].NsPair,
                        played[i].EwPair, northSouth ? played[i].NsPair : played[i].EwPair, result.Declarer,
                        result.Contract, result.Result, result.LeadCard, QString()));
            }
        }
        report.Ok(QStringLiteral("baza próbna: %1 wyniki dopisane do ReceivedData jak przez serwer pierniczków")
                      .arg(played.size()));

        TTable recTable(ScoringConnectionString(bws), QStringLiteral("ReceivedData"));
        TTable rdaTable(ScoringConnectionString(bws), QStringLiteral("RoundData"));
        MemoryGrid grid(model.BoardCount + 1, model.GridTableCount + 1);
        const TScoreProvider scorer;
        PassFeedback quiet;
        const PassCounts counts = TransferResults(model, recTable, rdaTable, grid, scorer, quiet);
        Require(counts.Placed == static_cast<int>(played.size()),
            QStringLiteral("przebieg próbny: przeniesione %1 z %2 wyników").arg(counts.Placed).arg(played.size()));
        TQuery marked(ScoringConnectionString(bws));
        marked.SetSql(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed]<>0"));
        Require(marked.OpenFirstInteger() == static_cast<qint64>(played.size()),
            QStringLiteral("przebieg próbny: nie każdy przeniesiony wynik jest zaznaczony w ReceivedData"));

        std::vector<qint16> expectedScores(
            static_cast<std::size_t>(model.BoardCount * model.ResultsPerBoard), ScoreWordEmptySlot);
        std::vector<ContractRecord> expectedContracts(expectedScores.size(), ContractRecord::EmptySlot());
        for (std::size_t i = 0; i < played.size(); ++i) {
            const std::size_t index
                = static_cast<std::size_t>((played[i].Board - 1) * model.ResultsPerBoard + played[i].Slot - 1);
            Require(index < expectedScores.size(),
                QStringLiteral("przebieg próbny: stół %1 ma miejsce poza plikiem").arg(played[i].Table));
            expectedScores[index] = ExpectedScore(ScratchResults()[i], played[i].Board);
            expectedContracts[index] = ScratchResults()[i].Record;
        }
        const std::vector<qint16> scores = ReadScoreWords(ScoreFileName(model));
        const std::vector<ContractRecord> contracts = ReadContractRecords(ContractFileName(model));
        for (std::size_t i = 0; i < expectedScores.size(); ++i) {
            Require(i < scores.size() && scores[i] == expectedScores[i],
                QStringLiteral("przebieg próbny: rekord %1 pliku %2 ma %3 zamiast %4")
                    .arg(i)
                    .arg(Native(ScoreFileName(model)))
                    .arg(i < scores.size() ? scores[i] : -1)
                    .arg(expectedScores[i]));
            Require(i < contracts.size() && contracts[i] == expectedContracts[i],
                QStringLiteral("przebieg próbny: rekord %1 pliku %2 ma bajty %3 zamiast %4")
                    .arg(i)
                    .arg(Native(ContractFileName(model)),
                        i < contracts.size() ? QString::fromLatin1(contracts[i].ToBytes().toHex(' '))
                                             : QStringLiteral("brak"),
                        QString::fromLatin1(expectedContracts[i].ToBytes().toHex(' '))));
        }
        Require(scores.size() == expectedScores.size() && contracts.size() == expectedContracts.size(),
            QStringLiteral("przebieg próbny: pliki wyników zmieniły długość"));
        report.Ok(
            QStringLiteral("przebieg próbny: %1 wyniki w plikach .ZAP i .KNT, każdy z %2 rekordów zgodny co do bajtu")
                .arg(played.size())
                .arg(expectedScores.size()));

        TQuery clear(ScoringConnectionString(bws));
        clear.SetSql(ClearAllMarksStatement(0));
        clear.ExecSql();
        Require(marked.OpenFirstInteger() == 0, QStringLiteral("baza próbna: zaznaczenia nie zostały zgaszone"));
        report.Ok(QStringLiteral("baza próbna: zaznaczenia zgaszone"));
    } catch (const ScratchFailure& failure) {
        report.Fail(failure.Text);
    } catch (const KibicError& error) {
        report.Fail(QStringLiteral("turniej próbny: ") + error.Message());
    }
    const QString path = scratch.path();
    if (scratch.remove() && !QFileInfo::exists(path))
        report.Ok(QStringLiteral("pliki próbne usunięte (%1)").arg(Native(path)));
    else
        report.Fail(QStringLiteral("pliki próbne: nie można usunąć katalogu %1").arg(Native(path)));
}

int Sprawdz(const QStringList& given)
{
    tools::CommandLine commandLine { { QStringLiteral("czekaj"), QString() } };
    ReadCommandLine(commandLine, given, kUsage);
    const bool wait = commandLine.IsSet(QStringLiteral("czekaj"));
    const QStringList& arguments = commandLine.Positional();
    if (arguments.size() > 1)
        return UsageError(kUsage);
    const QString folder = arguments.isEmpty() ? QDir::tempPath() : QFileInfo(arguments.front()).absoluteFilePath();

    Report report;
    const QString zyrtKey = QStringLiteral("HKEY_LOCAL_MACHINE\\") + GawotnikKey;
    const std::optional<RegistryKey> gawotnik
        = RegistryKey::Open(RegistryHive::LocalMachine, GawotnikKey.toString(), false);
    const QString configuration = CheckRegistryFile(
        report, gawotnik, zyrtKey, QStringLiteral("ZyRT"), true, QStringLiteral("plik konfiguracji ZyRTa"));
    if (!configuration.isEmpty())
        CheckNamesDatabase(report, configuration);
    const QString bmpro = CheckRegistryFile(report, gawotnik, zyrtKey, QStringLiteral("BMPro"), false,
        QStringLiteral("Kibic szuka serwera pierniczków w miejscu domyślnym"));
    CheckPlayerDatabase(report);
    CheckTerminalServer(report, bmpro);
    CheckBackend(report);
    if (QFileInfo(folder).isDir())
        RunScratchTournament(report, folder);
    else
        report.Fail(QStringLiteral("katalog próbny: nie ma katalogu %1").arg(Native(folder)));

    if (report.Failures() == 0)
        PrintLine(QStringLiteral("Wszystko sprawdzone: ten komputer jest gotowy do turnieju."));
    else
        PrintLine(QStringLiteral("Błędy: %1. Przyślij te wiersze wraz z opisem komputera.").arg(report.Failures()));
    if (wait) {
        PrintLine(QStringLiteral("Naciśnij Enter, aby zamknąć okno."));
        QTextStream input(stdin);
        (void)input.readLine();
    }
    return report.Failures() == 0 ? ExitSuccess : ExitFailure;
}

} // namespace

KIBIC_CLI_COMMAND("sprawdz", "sprawdz [KATALOG] [--czekaj]", Sprawdz);

} // namespace kibic::cli
