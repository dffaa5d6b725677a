// Opening a scoring database, part by part: this computer in Clients and at every table, the kind of
// tournament, the terminals' options, and the start of the terminal server.
// Runs once on SQLite directly and once through ODBC (KIBIC_DB_BACKEND=odbc).
#include "ScoringDbTestSupport.h"
#include "support/SqliteFile.h"
#include "common/KibicError.h"
#include "common/Operator.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "scoringdb/TerminalOptions.h"
#include "scoringdb/uBuildBWS.h"
#include "scoringdb/uOpenBWS.h"
#include "support/TournamentModels.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

using namespace kibic;
using namespace kibic::test;

namespace {

TournamentModel SmallTournament(const QString& base, bool pairs)
{
    ModelCounts counts;
    counts.PairsEvent = pairs;
    counts.Sections = 2;
    counts.Tables = 3;
    counts.Rounds = 2;
    counts.BoardsPerRound = 2;
    TournamentModel model = MakeModel(counts, base);
    for (std::size_t b = 1; b <= 3; ++b) {
        for (std::size_t k = 1; k <= 4; ++k)
            model.Movement[b][k] = { static_cast<qint32>(k), static_cast<qint32>(k + 3), 0, 0,
                static_cast<qint32>((k - 1) % 2 + 1), static_cast<qint32>(b) };
    }
    return model;
}

} // namespace

class TestOpenBWS : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(QStringLiteral("cup"));
        m_file = m_base + QStringLiteral(".bws");
    }

    void computerIsRegisteredOnce()
    {
        BuildDatabase();
        const qint32 first = RegisterComputer(m_file, QStringLiteral("SALA-1"));
        QCOMPARE(first, 1);
        QCOMPARE(RegisterComputer(m_file, QStringLiteral("SALA-1")), first);
        QCOMPARE(RegisterComputer(m_file, QStringLiteral("sala-1")), 2); // the name as the system reports it
        QCOMPARE(RegisterComputer(m_file, QStringLiteral("SALA-1")), first);
        QCOMPARE(Rows(m_file, QStringLiteral("Clients"), Columns("ID,Computer")), L({ "1|SALA-1", "2|sala-1" }));
    }

    // The texts the terminal server looks up (its computer, the sections' letters, the seats' directions)
    // reach the file exactly: read back with SQLite itself, no terminator inside a length, Polish letters
    // whole.
    void textsTheServerLooksUpAreStoredExactly()
    {
        BuildDatabase();
        // Windows keeps the environment in UTF-16: an 8-bit value would be read in the ANSI code page.
#ifdef Q_OS_WIN
        _wputenv_s(L"KIBIC_COMPUTER_NAME", L"S\u0118DZIA-\u0141\u00D3D\u0179");
#else
        qputenv("KIBIC_COMPUTER_NAME", QStringLiteral("SĘDZIA-ŁÓDŹ").toUtf8());
#endif
        (void)ServeTablesFromThisComputer(m_file);
        qunsetenv("KIBIC_COMPUTER_NAME");
        const test::SqliteFile file(m_file);
        const auto hex = [](const QString& text) { return QString::fromLatin1(text.toUtf8().toHex().toUpper()); };
        QCOMPARE(file.Value(QStringLiteral("SELECT hex([Computer]) FROM [Clients]")).toString(),
            hex(QStringLiteral("SĘDZIA-ŁÓDŹ")));
        QCOMPARE(file.Value(QStringLiteral("SELECT hex([Letter]) FROM [Section] WHERE [ID]=1")).toString(), hex(QStringLiteral("A")));
        QStringList directions;
        for (const QVariantList& row : file.Rows(QStringLiteral(
                 "SELECT DISTINCT hex([Direction]) FROM [PlayerNumbers] ORDER BY 1")))
            directions.append(row.front().toString());
        QCOMPARE(directions, QStringList({ hex(QStringLiteral("E")), hex(QStringLiteral("N")), hex(QStringLiteral("S")),
                                  hex(QStringLiteral("W")) }));
        QCOMPARE(file.Value(QStringLiteral("SELECT COUNT(*) FROM [Clients] WHERE [Computer]=?"), { QStringLiteral("SĘDZIA-ŁÓDŹ") })
                     .toInt(),
            1);
    }

    // A file built on another computer: every table goes to this one.
    void everyTableTakesThisComputer()
    {
        BuildDatabase();
        QCOMPARE(RegisterComputer(m_file, QStringLiteral("BIURO")), 1);
        qputenv("KIBIC_COMPUTER_NAME", "SALA-2");
        const qint32 number = ServeTablesFromThisComputer(m_file);
        qunsetenv("KIBIC_COMPUTER_NAME");
        QCOMPARE(number, 2);
        QStringList computers = Rows(m_file, QStringLiteral("Tables"), { QStringLiteral("ComputerID") });
        QCOMPARE(computers.size(), 6);
        computers.removeDuplicates();
        QCOMPARE(computers, L({ "2" }));
        QCOMPARE(Rows(m_file, QStringLiteral("Clients"), { QStringLiteral("Computer") }), L({ "BIURO", "SALA-2" }));
    }

    // Newer servers add columns to their tables; they are carried along untouched.
    void extraColumnsOfNewerServers()
    {
        BuildDatabase();
        {
            // The newer server's own changes of the file, made with SQLite itself.
            const test::SqliteFile server(m_file);
            (void)server.Rows(QStringLiteral("ALTER TABLE [Tables] ADD COLUMN [ExternalUpdate] YESNO DEFAULT 1"));
            (void)server.Rows(QStringLiteral("ALTER TABLE [Clients] ADD COLUMN [SuspiciousContract] INTEGER DEFAULT 7"));
            (void)server.Rows(QStringLiteral("ALTER TABLE [Settings] ADD COLUMN [SuspiciousContract] INTEGER DEFAULT 7"));
        }
        AssignTablesToComputer(m_file, RegisterComputer(m_file, QStringLiteral("SALA")));
        QStringList rows = Rows(m_file, QStringLiteral("Tables"), Columns("ComputerID,ExternalUpdate"));
        rows.removeDuplicates();
        QCOMPARE(rows, L({ "1|1" }));
        QVERIFY(ReadPairsEvent(m_file));
        TTable settings(ScoringConnectionString(m_file), QStringLiteral("Settings"));
        settings.Open();
        WriteTerminalOptions(settings, ReadTerminalOptions(settings));
        QCOMPARE(Rows(m_file, QStringLiteral("Settings"), { QStringLiteral("SuspiciousContract") }), L({ "7" }));
    }

    void kindOfTournament_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("pairs");
        QTest::addColumn<bool>("fails");
        QTest::newRow("pairs") << "" << true << false;
        QTest::newRow("individual") << "UPDATE [Settings] SET [custom_pairs]=0" << false << false;
        QTest::newRow("no Settings row") << "DELETE FROM [Settings]" << true << false;
        // A damaged value is no missing column: taken for pairs it would send an individual event's scores
        // into a pairs score file.
        QTest::newRow("unreadable value") << "UPDATE [Settings] SET [custom_pairs]='maybe'" << true << true;
        QTest::newRow("column missing") << "ALTER TABLE [Settings] DROP COLUMN [custom_pairs]" << true << false;
    }

    void kindOfTournament()
    {
        BuildDatabase();
        QFETCH(QString, change);
        QFETCH(bool, pairs);
        QFETCH(bool, fails);
        if (fails && CreatesAccessFiles())
            QSKIP("a Jet Yes/No column holds no text");
        // The file as another program left it, changed with SQLite itself.
        if (!change.isEmpty())
            (void)test::SqliteFile(m_file).Rows(change);
        if (fails)
            QVERIFY_THROWS_EXCEPTION(KibicError, (void)ReadPairsEvent(m_file));
        else
            QCOMPARE(ReadPairsEvent(m_file), pairs);
    }

    void individualBuildReadsBackAsIndividual()
    {
        BuildDatabase();
        QVERIFY(QFile::remove(m_file));
        TournamentModel model = SmallTournament(m_base, false);
        ScriptedOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        QVERIFY(!ReadPairsEvent(m_file));
    }

    void settingsWithoutTheTableIsAnError()
    {
        BuildDatabase();
        {
            DbConnection connection(ScoringConnectionString(m_file));
            (void)connection.Execute(QStringLiteral("DROP TABLE [Settings]"));
        }
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)ReadPairsEvent(m_file));
    }

    void optionsOfAFreshBuild()
    {
        BuildDatabase();
        TTable settings(ScoringConnectionString(m_file), QStringLiteral("Settings"));
        settings.Open();
        QCOMPARE(ReadTerminalOptions(settings), FreshBuildOptions());
    }

    void optionsToShow_data()
    {
        QTest::addColumn<bool>("openedExisting");
        QTest::addColumn<int>("scoringKind");
        QTest::addColumn<bool>("showResults");
        QTest::addColumn<bool>("percentage");
        QTest::addColumn<bool>("memberNumbers");
        QTest::newRow("fresh, kind 2") << false << 2 << true << true << true;
        QTest::newRow("fresh, kind 0") << false << 0 << true << false << true;
        QTest::newRow("fresh, results off") << false << 2 << false << false << true;
        QTest::newRow("opened: as stored") << true << 0 << true << true << false;
    }

    void optionsToShow()
    {
        QFETCH(bool, openedExisting);
        QFETCH(int, scoringKind);
        QFETCH(bool, showResults);
        QFETCH(bool, percentage);
        QFETCH(bool, memberNumbers);
        TournamentModel model;
        model.OpenedExisting = openedExisting;
        model.ScoringKind = scoringKind;
        TerminalOptions stored;
        stored.ShowResults = showResults;
        stored.ShowPercentage = showResults;
        stored.MemberNumbers = false;
        const TerminalOptions shown = OptionsToShow(stored, model);
        QCOMPARE(shown.ShowPercentage, percentage);
        QCOMPARE(shown.MemberNumbers, memberNumbers);
    }

    void optionsWrittenAndReadBack()
    {
        BuildDatabase();
        TerminalOptions options;
        options.ShowResults = false;
        options.ShowPercentage = false;
        options.RepeatResults = false;
        options.ScorePoints = 1;
        options.EnterResultsMethod = 1;
        options.ShowPairNumbers = false;
        options.AutopoweroffTime = 60;
        options.VerificationTime = 7;
        options.LeadCard = false;
        options.MemberNumbers = true;
        options.MemberNumbersNoBlankEntry = true;
        {
            TTable settings(ScoringConnectionString(m_file), QStringLiteral("Settings"));
            settings.Open();
            WriteTerminalOptions(settings, options);
        }
        TTable settings(ScoringConnectionString(m_file), QStringLiteral("Settings"));
        settings.Open();
        QCOMPARE(ReadTerminalOptions(settings), options);
        // Columns the window does not show keep what the build wrote.
        QCOMPARE(settings.FieldAsBoolean(QStringLiteral("GroupSections")), true);
        QCOMPARE(settings.FieldAsInteger(QStringLiteral("ShowContract")), 0);
    }

    void olderFileWithoutNoBlankEntry()
    {
        BuildDatabase();
        RecreateSettingsWithout(m_file, { QStringLiteral("MemberNumbersNoBlankEntry") });
        TTable settings(ScoringConnectionString(m_file), QStringLiteral("Settings"));
        settings.Open();
        TerminalOptions options = ReadTerminalOptions(settings);
        QVERIFY(!options.MemberNumbersNoBlankEntry.has_value());
        options.LeadCard = false;
        WriteTerminalOptions(settings, options);
        options.MemberNumbersNoBlankEntry = true; // a value for a column that is not there is dropped
        WriteTerminalOptions(settings, options);
        QCOMPARE(Rows(m_file, QStringLiteral("Settings"), { QStringLiteral("LeadCard") }), L({ "0" }));
    }

    void timeInRange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected"); // -1: refused
        QTest::newRow("5") << "5" << 5;
        QTest::newRow("60") << "60" << 60;
        QTest::newRow("4") << "4" << -1;
        QTest::newRow("61") << "61" << -1;
        QTest::newRow("spaces") << " 30 " << 30;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("letters") << "3O" << -1;
        QTest::newRow("fraction") << "10.5" << -1;
    }

    void timeInRange()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<qint32> value = TimeInRange(text, kAutopoweroffMin, kAutopoweroffMax);
        QCOMPARE(value.value_or(-1), expected);
    }

    void serverProgram_data()
    {
        QTest::addColumn<QString>("bmpro");
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QString>("programFiles");
        QTest::addColumn<QString>("expected");
        QTest::newRow("from the registry") << "D:\\BM\\BMPro.exe" << true << "C:\\Program Files"
                                           << "D:\\BM\\BMPro.exe";
        QTest::newRow("Program Files") << "" << true << "C:\\Program Files"
                                       << "C:\\Program Files\\Bridgemate Pro\\BMPro.exe";
        QTest::newRow("elsewhere: rehearsal") << "" << false << ""
                                              << "/opt/kibic/bin/kibic-terminals";
        QTest::newRow("elsewhere, registry") << "/srv/bmpro" << false << ""
                                             << "/srv/bmpro";
    }

    void serverProgram()
    {
        QFETCH(QString, bmpro);
        QFETCH(bool, windows);
        QFETCH(QString, programFiles);
        QFETCH(QString, expected);
        QCOMPARE(TerminalServerProgram(bmpro, windows, programFiles, QStringLiteral("/opt/kibic/bin/kibic-terminals")),
            expected);
    }

    void serverArguments()
    {
        const QStringList arguments = TerminalServerArguments(QStringLiteral("C:\\T\\cup.bws"));
        QCOMPARE(arguments, L({ "/f:[C:\\T\\cup.bws]", "/s", "/r", "/m" }));
        QCOMPARE(arguments.join(QLatin1Char(' ')), QStringLiteral("/f:[C:\\T\\cup.bws] /s /r /m"));
    }

    void shellResult_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("0") << 0 << "Brak zasobów.";
        QTest::newRow("8") << 8 << "Brak zasobów.";
        QTest::newRow("2") << 2 << "Nie znaleziono pliku";
        QTest::newRow("3") << 3 << "Nie znaleziono kartoteki.";
        QTest::newRow("5") << 5 << "Dostęp zabroniony.";
        QTest::newRow("11") << 11 << "Uszkodzony plik.";
        QTest::newRow("1") << 1 << "Błąd wykonania:1";
        QTest::newRow("32") << 32 << "Błąd wykonania:32";
        QTest::newRow("33") << 33 << "";
        QTest::newRow("42") << 42 << "";
    }

    void shellResult()
    {
        QFETCH(int, code);
        QFETCH(QString, message);
        QCOMPARE(ShellResultMessage(code), message);
    }

    void serverThatCannotStart_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such folder") << "missing/BMPro.exe"
                                        << "Nie znaleziono kartoteki.";
        QTest::newRow("no such program") << "BMPro.exe"
                                         << "Nie znaleziono pliku";
#ifdef Q_OS_WIN
        // Windows runs a program by its content: a damaged one is refused as such.
        QTest::newRow("not a program") << "damaged.exe"
                                       << "Uszkodzony plik.";
#else
        QTest::newRow("not a program") << "cup.bws"
                                       << "Dostęp zabroniony.";
#endif
    }

    void serverThatCannotStart()
    {
        BuildDatabase();
        QFETCH(QString, program);
        QFETCH(QString, message);
        TournamentModel model;
        model.BMProPath = m_dir->filePath(program);
        if (program == u"damaged.exe") {
            QFile damaged(model.BMProPath);
            QVERIFY(damaged.open(QIODevice::WriteOnly));
            damaged.write("MZ to nie jest program");
        }
        ScriptedOperator op;
        StartTerminalServer(model, m_file, op);
        QCOMPARE(op.Messages, QStringList({ message }));
        QCOMPARE(op.Kinds, QList<DialogKind>({ DialogKind::Error }));
    }

    void serverStartsWithTheFile()
    {
#ifdef Q_OS_WIN
        QSKIP("a shell script cannot stand in for the terminal server on Windows");
#endif
        BuildDatabase();
        const QString out = m_dir->filePath(QStringLiteral("arguments.txt"));
        const QString server = m_dir->filePath(QStringLiteral("server.sh"));
        QFile script(server);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            QByteArrayLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$0.part\" && mv \"$0.part\" ")
            + out.toUtf8() + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        TournamentModel model;
        model.BMProPath = server;
        ScriptedOperator op;
        StartTerminalServer(model, m_file, op);
        QCOMPARE(op.Messages, QStringList());
        QTRY_VERIFY(QFile::exists(out));
        QCOMPARE(QString::fromUtf8(Content(out)), QStringLiteral("/f:[") + m_file + QStringLiteral("]\n/s\n/r\n/m\n"));
    }

private:
    void BuildDatabase()
    {
        TournamentModel model = SmallTournament(m_base, true);
        ScriptedOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    QString m_file;
};

QTEST_GUILESS_MAIN(TestOpenBWS)
#include "TestOpenBWS.moc"
