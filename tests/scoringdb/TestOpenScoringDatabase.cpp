// Opening a scoring database as a whole, with a window that records what it was asked to do; and
// opening while the terminal server keeps appending scores.
// Runs once on SQLite directly and once through ODBC (KIBIC_DB_BACKEND=odbc).
#include "ScoringDbTestSupport.h"
#include "common/KibicError.h"
#include "common/Operator.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uBuildBWS.h"
#include "scoringdb/uOpenBWS.h"
#include "support/TournamentModels.h"
#include "tournament/TournamentReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>

using namespace kibic;
using namespace kibic::test;

namespace {

// Answers the settings window with a scripted result, after changing one option, and records
// every call in order.
class RecordingWindow : public ScoringDatabaseWindow
{
public:
    void AttachTables(const QString& connectionString) override
    {
        Calls << QStringLiteral("attach ") + connectionString;
    }
    void SetCaption(const QString& caption) override { Calls << QStringLiteral("caption ") + caption; }
    void SetUpGrid() override
    {
        Calls << QStringLiteral("grid %1 tables %2 boards").arg(Model->GridTableCount).arg(Model->BoardCount);
        BoardNumbersAtGrid = Model->BoardNumbers;
    }
    ModalResult ShowSettingsWindow(TerminalOptions& options, bool namesFileKnown) override
    {
        Calls << QStringLiteral("settings");
        Shown = options;
        NamesFileKnown = namesFileKnown;
        options.LeadCard = false;
        options.MemberNumbers = MemberNumbersAnswer;
        return Result;
    }
    void ShowIdentifierControls(bool visible) override
    {
        Calls << (visible ? QStringLiteral("identifiers shown") : QStringLiteral("identifiers hidden"));
    }

    const TournamentModel* Model = nullptr;
    ModalResult Result = ModalResult::No;
    bool MemberNumbersAnswer = false;
    QStringList Calls;
    TerminalOptions Shown;
    bool NamesFileKnown = false;
    std::vector<qint32> BoardNumbersAtGrid;
};

class CursorOperator : public ScriptedOperator
{
public:
    void SetBusyCursor(bool busy) override
    {
        Cursor << busy;
        ScriptedOperator::SetBusyCursor(busy);
    }
    QList<bool> Cursor;
};

// The server's scores as rows, to see that none was lost or changed.
QStringList ReceivedRows(const QString& file)
{
    return Rows(file, QStringLiteral("ReceivedData"), Columns("ID,Section,Table,Round,Board,Contract,Processed"));
}

} // namespace

class TestOpenScoringDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(QStringLiteral("cup"));
        m_file = m_base + QStringLiteral(".bws");
        QVERIFY(QFile::copy(QStringLiteral(KIBIC_TEST_DATA_DIR "/scoringdb/cup.inf"), m_base + QStringLiteral(".inf")));
        QFile::setPermissions(m_base + QStringLiteral(".inf"), QFile::ReadOwner | QFile::WriteOwner);
        qputenv("KIBIC_COMPUTER_NAME", "SALA-1");
    }

    void cleanup() { qunsetenv("KIBIC_COMPUTER_NAME"); }

    // The tournament read from its description, built, then opened: what the window is asked in order.
    void freshBuildOpened_data()
    {
        QTest::addColumn<ModalResult>("result");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("started");
        QTest::newRow("Tak") << ModalResult::Yes << true << true;
        QTest::newRow("Nie") << ModalResult::No << true << false;
        QTest::newRow("Zaniechaj") << ModalResult::Cancel << false << false;
    }

    void freshBuildOpened()
    {
        QFETCH(ModalResult, result);
        QFETCH(bool, saved);
        QFETCH(bool, started);
        TournamentModel model = ReadCup();
        model.BMProPath = m_dir->filePath(QStringLiteral("no-server/BMPro.exe"));
        CursorOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        op.Cursor.clear();
        model.TableCount = 0; // the counts must come from the description again
        model.BoardNumbers.clear();

        RecordingWindow window;
        window.Model = &model;
        window.Result = result;
        OpenScoringDatabase(model, m_file, window, op);

        QCOMPARE(window.Calls,
            QStringList({ QStringLiteral("attach ") + ScoringConnectionString(m_file),
                QStringLiteral("caption ") + QDir::toNativeSeparators(m_base) + QStringLiteral(" (turniej par)"),
                QStringLiteral("grid 7 tables 21 boards"), QStringLiteral("settings"),
                saved ? QStringLiteral("identifiers hidden") : QStringLiteral("identifiers shown") }));
        QCOMPARE(window.BoardNumbersAtGrid.size(), std::size_t(22));
        QCOMPARE(window.BoardNumbersAtGrid.back(), 21);
        // After a fresh build identifiers are offered and the percentage follows the scoring kind.
        QVERIFY(window.Shown.MemberNumbers);
        QCOMPARE(window.Shown.ShowPercentage, true);
        QCOMPARE(window.Shown.AutopoweroffTime, 10);
        QVERIFY(!window.NamesFileKnown);
        QCOMPARE(model.MemberNumbers, !saved);

        QCOMPARE(
            Rows(m_file, QStringLiteral("Settings"), { QStringLiteral("LeadCard") }), saved ? L({ "0" }) : L({ "1" }));
        QCOMPARE(op.Messages, started ? QStringList({ QStringLiteral("Nie znaleziono kartoteki.") }) : QStringList());
        QStringList computers = Rows(m_file, QStringLiteral("Tables"), { QStringLiteral("ComputerID") });
        computers.removeDuplicates();
        QCOMPARE(computers, L({ "1" }));
        QCOMPARE(Rows(m_file, QStringLiteral("Clients"), Columns("ID,Computer")), L({ "1|SALA-1" }));
        QVERIFY(op.Cursor.isEmpty()); // the caller owns the hourglass of a successful opening
    }

    void reopenedFromAnotherComputer()
    {
        TournamentModel model = ReadCup();
        CursorOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        RecordingWindow window;
        window.Model = &model;
        window.MemberNumbersAnswer = true;
        OpenScoringDatabase(model, m_file, window, op);
        OpenScoringDatabase(model, m_file, window, op);
        QCOMPARE(Rows(m_file, QStringLiteral("Clients"), { QStringLiteral("Computer") }), L({ "SALA-1" }));

        TournamentModel reopened;
        reopened.OpenedExisting = true;
        reopened.ScoringKind = 0;
        reopened.NamesDatabasePath = QStringLiteral("/zyrt/nazwiska.ban");
        qputenv("KIBIC_COMPUTER_NAME", "SALA-2");
        RecordingWindow second;
        second.Model = &reopened;
        second.Result = ModalResult::Cancel;
        OpenScoringDatabase(reopened, m_file, second, op);
        QCOMPARE(Rows(m_file, QStringLiteral("Clients"), Columns("ID,Computer")), L({ "1|SALA-1", "2|SALA-2" }));
        QStringList computers = Rows(m_file, QStringLiteral("Tables"), { QStringLiteral("ComputerID") });
        computers.removeDuplicates();
        QCOMPARE(computers, L({ "2" }));
        // An opened file shows what it stores: the identifiers saved by the first opening.
        QVERIFY(second.Shown.MemberNumbers);
        QVERIFY(!second.Shown.LeadCard);
        QVERIFY(second.NamesFileKnown);
        QVERIFY(reopened.PairsEvent);
        QCOMPARE(reopened.TournamentBase, m_base);
        QCOMPARE(reopened.GridTableCount, 7);
        QCOMPARE(second.Calls.last(), QStringLiteral("identifiers shown"));
    }

    void individualTournament()
    {
        TournamentModel model = HandFilledIndividual();
        CursorOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        QFile::remove(m_base + QStringLiteral(".inf"));
        WriteText(m_base + QStringLiteral(".ind"), "2 2 2 1 10204 0 0 8 1 0 0 0 0 4 0\r\n");
        TournamentModel opened;
        opened.OpenedExisting = true;
        opened.PairsEvent = true;
        RecordingWindow window;
        window.Model = &opened;
        OpenScoringDatabase(opened, m_file, window, op);
        QVERIFY(!opened.PairsEvent);
        QCOMPARE(window.Calls.at(1),
            QStringLiteral("caption ") + QDir::toNativeSeparators(m_base) + QStringLiteral(" (turniej indywidualny)"));
        QCOMPARE(opened.ExtraSectionCount, 2);
        QCOMPARE(opened.ExtraTableCount, 4);
        QCOMPARE(opened.GridTableCount, 2 * 1 + 4);
    }

    void customPairsMissingMeansPairs()
    {
        TournamentModel model = ReadCup();
        CursorOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        RecreateSettingsWithout(m_file, { QStringLiteral("custom_pairs"), QStringLiteral("MemberNumbersNoBlankEntry") });
        TournamentModel opened;
        opened.OpenedExisting = true;
        RecordingWindow window;
        window.Model = &opened;
        OpenScoringDatabase(opened, m_file, window, op);
        QVERIFY(opened.PairsEvent);
        QVERIFY(!window.Shown.MemberNumbersNoBlankEntry.has_value());
        QCOMPARE(Rows(m_file, QStringLiteral("Settings"), { QStringLiteral("LeadCard") }), L({ "0" }));
    }

    // A Settings table without its row: the message names the file, and no window is asked.
    void settingsWithoutARow()
    {
        TournamentModel model = ReadCup();
        CursorOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        {
            DbConnection connection(ScoringConnectionString(m_file));
            (void)connection.Execute(QStringLiteral("DELETE FROM [Settings]"));
        }
        TournamentModel opened;
        opened.OpenedExisting = true;
        RecordingWindow window;
        window.Model = &opened;
        try {
            OpenScoringDatabase(opened, m_file, window, op);
            QFAIL("a Settings table without a row was read");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(m_file), qPrintable(error.Message()));
            QVERIFY2(error.Message().contains(QStringLiteral("Settings")), qPrintable(error.Message()));
        }
        QVERIFY(window.Calls.filter(QStringLiteral("settings")).isEmpty());
    }

    // The description beside the file is gone: the opening ends with its error, the tables already
    // given to this computer stay so, the grid is not set up and the cursor is back.
    void descriptionMissing()
    {
        TournamentModel model = ReadCup();
        CursorOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        op.Cursor.clear();
        QVERIFY(QFile::remove(m_base + QStringLiteral(".inf")));
        qputenv("KIBIC_COMPUTER_NAME", "SALA-9");
        RecordingWindow window;
        window.Model = &model;
        QVERIFY_THROWS_EXCEPTION(KibicError, OpenScoringDatabase(model, m_file, window, op));
        QCOMPARE(op.Cursor, QList<bool>({ false }));
        QVERIFY(window.Calls.filter(QStringLiteral("grid")).isEmpty());
        QCOMPARE(Rows(m_file, QStringLiteral("Tables"), { QStringLiteral("ComputerID") }).first(), QStringLiteral("1"));
    }

    void accessFileWithoutTheDriver()
    {
        const QString sample = QStringLiteral(KIBIC_SAMPLES_DIR "/real-session-jet3.bws");
        if (!QFile::exists(sample))
            QSKIP("the outside sample database is not on this machine");
        if (AccessDriverAvailable())
            QSKIP("this machine has the Access driver");
        TournamentModel model;
        CursorOperator op;
        RecordingWindow window;
        window.Model = &model;
        try {
            OpenScoringDatabase(model, sample, window, op);
            QFAIL("an Access file must be refused without the Access driver");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(sample), qPrintable(error.Message()));
            QVERIFY(error.Message().contains(QStringLiteral("Access")));
        }
        QCOMPARE(window.Calls, QStringList({ QStringLiteral("attach ") + ScoringConnectionString(sample) }));
        QCOMPARE(op.Cursor, QList<bool>({ false }));
    }

    void notADatabase()
    {
        WriteText(m_file, "PK\x03\x04 a zip file renamed");
        TournamentModel model;
        CursorOperator op;
        RecordingWindow window;
        window.Model = &model;
        QVERIFY_THROWS_EXCEPTION(KibicError, OpenScoringDatabase(model, m_file, window, op));
        QCOMPARE(window.Calls.size(), 1);
    }

    // The terminal server appends a score every few milliseconds while the file is opened again and
    // again (computer, tables, options saved): every step succeeds and every score stays as written.
    void openingWhileTheServerWrites()
    {
        TournamentModel model = ReadCup();
        CursorOperator op;
        QVERIFY(BuildScoringDatabase(model, op));
        std::atomic<bool> stop { false };
        std::atomic<int> appended { 0 };
        QString writerFailure;
        const QString file = m_file;
        QThread* server = QThread::create([&] {
            try {
                DbConnection connection(ScoringConnectionString(file));
                for (int n = 1; !stop; ++n) {
                    (void)connection.Execute(
                        QStringLiteral("INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],"
                                       "[Contract]) VALUES (1,?,?,?,?)"),
                        { n % 7 + 1, n % 7 + 1, n % 21 + 1, QStringLiteral("%1 NT").arg(n % 7 + 1) });
                    ++appended;
                    QThread::msleep(3);
                }
            } catch (const KibicError& error) {
                writerFailure = error.Message();
            }
        });
        server->start();
        int openings = 0;
        QElapsedTimer clock;
        clock.start();
        // Enough of both, whatever the machine's load: at least 1.5 s, 3 openings and 51 scores.
        while ((clock.elapsed() < 1500 || openings < 3 || appended <= 50) && clock.elapsed() < 60000) {
            qputenv("KIBIC_COMPUTER_NAME", QByteArray("SALA-") + QByteArray::number(openings % 3));
            RecordingWindow window;
            window.Model = &model;
            window.MemberNumbersAnswer = openings % 2 == 0;
            OpenScoringDatabase(model, m_file, window, op);
            ++openings;
            QThread::msleep(20);
        }
        stop = true;
        server->wait();
        delete server;
        QCOMPARE(writerFailure, QString());
        qInfo("%d openings while the server appended %d scores", openings, appended.load());
        QVERIFY(appended > 50);

        const QStringList rows = ReceivedRows(m_file);
        QCOMPARE(rows.size(), appended.load());
        for (int n = 1; n <= appended; ++n)
            QCOMPARE(rows.at(n - 1),
                QStringLiteral("%1|1|%2|%2|%3|%4 NT|0").arg(n).arg(n % 7 + 1).arg(n % 21 + 1).arg(n % 7 + 1));
        QCOMPARE(Rows(m_file, QStringLiteral("Clients"), { QStringLiteral("Computer") }).size(), 3);
        QStringList computers = Rows(m_file, QStringLiteral("Tables"), { QStringLiteral("ComputerID") });
        computers.removeDuplicates();
        QCOMPARE(computers.size(), 1);
        QCOMPARE(Rows(m_file, QStringLiteral("Settings"), { QStringLiteral("MemberNumbers") }),
            L({ (openings - 1) % 2 == 0 ? "1" : "0" }));
    }

private:
    TournamentModel ReadCup()
    {
        TournamentModel model;
        model.ScoringKind = 2;
        NoSectorExpected completer;
        if (!ReadTournament(model, m_base + QStringLiteral(".inf"), completer))
            qFatal("the description of the cup was not read");
        return model;
    }

    // One ordinary section of 2 tables and two non-typical sectors of 2 tables each.
    TournamentModel HandFilledIndividual()
    {
        test::ModelCounts counts;
        counts.PairsEvent = false;
        counts.Tables = 2;
        counts.Rounds = 2;
        counts.BoardsPerRound = 2;
        counts.ExtraSections = 2;
        counts.ExtraTables = 4;
        TournamentModel model = test::MakeModel(counts, m_base);
        for (std::size_t b = 1; b <= 2; ++b) {
            for (std::size_t k = 1; k <= 6; ++k)
                model.Movement[b][k] = { 1, 2, 3, 4, static_cast<qint32>((k - 1) % 2 + 1), static_cast<qint32>(b) };
        }
        return model;
    }

    static void WriteText(const QString& path, const char* text)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    class NoSectorExpected : public NonTypicalSectorCompleter
    {
    public:
        bool CompleteNonTypicalSector(TournamentModel&, const NonTypicalSectorHandOver&) override { return false; }
        bool CompleteIndividualNonTypicalSector(TournamentModel&, const NonTypicalSectorHandOver&) override
        {
            return false;
        }
    };

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
    QString m_file;
};

QTEST_GUILESS_MAIN(TestOpenScoringDatabase)
#include "TestOpenScoringDatabase.moc"
