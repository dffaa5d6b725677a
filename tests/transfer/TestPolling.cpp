// The transfer pass over received scores, the grid's refresh, and the polling interval.
#include "TransferFixture.h"
#include "support/SqliteFile.h"

#include "common/KibicError.h"
#include "transfer/GridLayout.h"
#include "transfer/Polling.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTest>
#include <QThread>
#include <atomic>

using namespace kibic;
using namespace kibic::testing;

namespace {

class CountingFeedback : public PassFeedback
{
public:
    void PassStarted() override { ++Started; }
    void PassFinished() override { ++Finished; }
    void PassRefused() override { ++Refused; }
    void PassFailed(const KibicError&) override { ++Failed; }
    void PassPostponed(const KibicError&) override { ++Postponed; }
    int Started = 0, Finished = 0, Refused = 0, Failed = 0, Postponed = 0;
};

// Another connection takes the whole database for holdMs, as the terminal server may while it writes.
class DatabaseHolder
{
public:
    DatabaseHolder(const QString& file, int holdMs)
        : m_thread(QThread::create([this, file, holdMs] {
            // The file's own lock, taken with SQLite itself: whichever driver Kibic uses finds the file held.
            const test::SqliteFile other(file);
            (void)other.Rows(QStringLiteral("BEGIN EXCLUSIVE"));
            m_held = true;
            QThread::msleep(static_cast<unsigned long>(holdMs));
            (void)other.Rows(QStringLiteral("COMMIT"));
        }))
    {
        m_thread->start();
        while (!m_held)
            QThread::msleep(1);
    }
    ~DatabaseHolder()
    {
        m_thread->wait();
        delete m_thread;
    }
    DatabaseHolder(const DatabaseHolder&) = delete;
    DatabaseHolder& operator=(const DatabaseHolder&) = delete;

private:
    std::atomic<bool> m_held { false };
    QThread* m_thread;
};

// Board bd of board set b in round r at its table.
ReceivedRow Played(
    int board, int round, const QString& contract = QStringLiteral("4 S"), const QString& result = QStringLiteral("="))
{
    ReceivedRow row;
    row.Board = board;
    row.Round = round;
    row.Table = TransferFixture::TableOf((board + 1) / 2, round);
    row.Contract = contract;
    row.Result = result;
    return row;
}

int Record(int board, int round)
{
    return (board - 1) * 3 + round - 1;
}

} // namespace

class TestPolling : public QObject
{
    Q_OBJECT

private:
    struct Pass
    {
        explicit Pass(TransferFixture& fixture)
            : Rec(ScoringConnectionString(fixture.DbFile), QStringLiteral("ReceivedData"))
            , Rda(ScoringConnectionString(fixture.DbFile), QStringLiteral("RoundData"))
            , Grid(fixture.Model.BoardCount + 1, fixture.Model.GridTableCount + 1)
        {
            FillGridHeaders(fixture.Model, Grid);
        }
        PassCounts Run(TransferFixture& fixture)
        {
            return TransferResults(fixture.Model, Rec, Rda, Grid, Scorer, Feedback);
        }

        TTable Rec;
        TTable Rda;
        MemoryGrid Grid;
        TScoreProvider Scorer;
        CountingFeedback Feedback;
    };

private slots:
    void processedColumnNames()
    {
        QCOMPARE(ProcessedColumnName(0), QStringLiteral("Processed"));
        QCOMPARE(ProcessedColumnName(1), QStringLiteral("Processed1"));
        QCOMPARE(ProcessedColumnName(4), QStringLiteral("Processed4"));
    }

    void pollIntervals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("5") << "5" << 5 << false;
        QTest::newRow("blanks") << " 12 " << 12 << false;
        QTest::newRow("4") << "4" << 10 << true;
        QTest::newRow("abc") << "abc" << 10 << true;
        QTest::newRow("empty") << "" << 10 << true;
        QTest::newRow("-3") << "-3" << 10 << true;
        QTest::newRow("fraction") << "7.5" << 10 << true;
        QTest::newRow("largest timer") << "2147483" << 2147483 << false;
        QTest::newRow("milliseconds overflow") << "2147484" << 10 << true;
        QTest::newRow("huge") << "99999999999" << 10 << true;
    }

    void pollIntervals()
    {
        QFETCH(QString, text);
        QFETCH(int, seconds);
        QFETCH(bool, replaced);
        bool wasReplaced = false;
        QCOMPARE(AcceptedPollSeconds(text, wasReplaced), seconds);
        QCOMPARE(wasReplaced, replaced);
    }

    void passWritesBothFilesSetsTheCellAndMarks()
    {
        TransferFixture fixture;
        // Four spades doubled made with an overtrick by North on board 1 (nobody vulnerable): 690.
        fixture.Append(Played(1, 2, QStringLiteral("4 S x"), QStringLiteral("+1")));
        Pass pass(fixture);
        const PassCounts counts = pass.Run(fixture);
        QCOMPARE(counts.Placed, 1);
        QCOMPARE(counts.Unplaced, 0);
        QCOMPARE(fixture.Scores()[Record(1, 2)], qint16(690));
        const ContractRecord contract = fixture.Contracts()[Record(1, 2)];
        QCOMPARE(contract.Level, quint8(4));
        QCOMPARE(contract.Doubling, Doubling::Doubled);
        QCOMPARE(contract.ResultValue, qint16(1));
        QCOMPARE(pass.Grid.Cell(1, TransferFixture::TableOf(1, 2)), QStringLiteral("2"));
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 1);
        QCOMPARE(fixture.Count(QStringLiteral("[Processed1]<>0")), 0);
        QVERIFY(!fixture.Model.Busy);
        QCOMPARE(pass.Feedback.Started, 1);
        QCOMPARE(pass.Feedback.Finished, 1);
        // Every other record is untouched.
        for (int i = 0; i < 18; ++i) {
            if (i != Record(1, 2))
                QCOMPARE(fixture.Scores()[i], ScoreWordEmptySlot);
        }
    }

    void laterEntryOfTheSameBoardWinsAndHandledRowsAreNotReadAgain()
    {
        TransferFixture fixture;
        fixture.Append(Played(3, 1, QStringLiteral("3 NT"), QStringLiteral("=")));
        fixture.Append(Played(3, 1, QStringLiteral("3 NT"), QStringLiteral("-1")));
        Pass pass(fixture);
        const PassCounts first = pass.Run(fixture);
        QCOMPARE(first.Placed, 1);
        QCOMPARE(first.Superseded, 1);
        // Board 3: East-West vulnerable; North-South declare three no trump one down, not vulnerable: -50.
        QCOMPARE(fixture.Scores()[Record(3, 1)], qint16(-50));
        const PassCounts second = pass.Run(fixture);
        QCOMPARE(second.Placed, 0);
        QCOMPARE(second.Unplaced, 0);
        QCOMPARE(second.Superseded, 0);
    }

    // Rows of one play (board 1 at its table in round 1): what each row is, and which are already marked
    // (as by a copy that handled them, or by this one before a row was unmarked). The files start with
    // what the marked rows wrote. No pass may put an older entry back over a newer one.
    void olderEntryNeverReplacesANewerOne_data()
    {
        QTest::addColumn<QString>("entries"); // "420", "-400" or "erased" in ID order; "*": handled
        QTest::addColumn<int>("placed");
        QTest::addColumn<int>("erased");
        QTest::addColumn<int>("superseded");
        QTest::addColumn<int>("score");
        QTest::newRow("re-entered, the later entry written") << QStringLiteral("420 -400*") << 0 << 0 << 1 << -400;
        QTest::newRow("erased, the erasure written")
            << QStringLiteral("420 erased*") << 0 << 0 << 1 << int(ScoreWordEmptySlot);
        QTest::newRow("erased and re-entered, none written")
            << QStringLiteral("420 erased -400") << 1 << 0 << 2 << -400;
        QTest::newRow("erased and re-entered, last written")
            << QStringLiteral("420 erased -400*") << 0 << 0 << 2 << -400;
        QTest::newRow("entered then erased") << QStringLiteral("420 erased") << 0 << 1 << 1 << int(ScoreWordEmptySlot);
        QTest::newRow("one entry") << QStringLiteral("-400") << 1 << 0 << 0 << -400;
    }

    void olderEntryNeverReplacesANewerOne()
    {
        QFETCH(QString, entries);
        QFETCH(int, placed);
        QFETCH(int, erased);
        QFETCH(int, superseded);
        QFETCH(int, score);
        TransferFixture fixture;
        for (QString entry : entries.split(QLatin1Char(' '))) {
            const bool handled = entry.endsWith(QLatin1Char('*'));
            entry.remove(QLatin1Char('*'));
            // Board 1, nobody vulnerable: four spades made by North 420, three no trump made by East -400.
            ReceivedRow row = entry == u"-400" ? Played(1, 1, QStringLiteral("3 NT")) : Played(1, 1);
            if (entry == u"-400")
                row.Declarer = QStringLiteral("E");
            row.Erased = entry == u"erased";
            const int id = fixture.Append(row);
            if (!handled)
                continue;
            DbConnection db(ScoringConnectionString(fixture.DbFile));
            (void)db.Execute(QStringLiteral("UPDATE [ReceivedData] SET [Processed]=1 WHERE [ID]=?"), { id });
            WriteScoreWord(ScoreFileName(fixture.Model), Record(1, 1), qint16(row.Erased ? ScoreWordEmptySlot : -400));
        }
        Pass pass(fixture);
        const PassCounts counts = pass.Run(fixture);
        QCOMPARE(counts.Placed, placed);
        QCOMPARE(counts.Erased, erased);
        QCOMPARE(counts.Superseded, superseded);
        QCOMPARE(int(fixture.Scores()[Record(1, 1)]), score);
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]=0")), 0);
    }

    // The terminal server keys in a corrected entry of a play after the pass has read its rows but before
    // it asks which row of each play is the latest: the older entry must not be written over the newer one
    // (the next pass writes the newer one).
    void entryKeyedInDuringThePassSupersedesTheOneRead()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1)); // four spades made by North: 420
        fixture.Append(Played(2, 1, QStringLiteral("1 NT"))); // another play, not corrected
        bool keyedIn = false;
        SetStatementObserver([&](const QString& sql) {
            if (keyedIn || !sql.startsWith(QStringLiteral("SELECT")) || !sql.contains(QStringLiteral("[ID]>=?")))
                return;
            keyedIn = true;
            fixture.Append(Played(1, 1, QStringLiteral("4 S"), QStringLiteral("-1")));
        });
        const auto stopObserving = qScopeGuard([] { SetStatementObserver({}); });
        Pass pass(fixture);
        const PassCounts first = pass.Run(fixture);
        QVERIFY2(keyedIn, "the pass never asked for the latest rows");
        QCOMPARE(first.Superseded, 1);
        QCOMPARE(first.Placed, 1);
        QCOMPARE(fixture.Scores()[Record(1, 1)], ScoreWordEmptySlot);
        QCOMPARE(fixture.Scores()[Record(2, 1)], qint16(90)); // board 2, North-South vulnerable: 1 NT made
        const PassCounts second = pass.Run(fixture);
        QCOMPARE(second.Placed, 1);
        QCOMPARE(second.Superseded, 0);
        QCOMPARE(fixture.Scores()[Record(1, 1)], qint16(-50)); // board 1, nobody vulnerable: one down
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]=0")), 0);
    }

    // A pass during the session reads only the RoundData rows of the rounds it meets, and only the columns
    // that place a score; the table object is left to read every round and every column again (the grid's
    // actions and the tournament plan need them all).
    void passReadsTheRoundsItMeetsAndLeavesTheRoundTableWhole()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 3));
        fixture.Append(Played(4, 2, QStringLiteral("1 NT")));
        QStringList roundReads;
        SetStatementObserver([&](const QString& sql) {
            if (sql.contains(QStringLiteral("FROM [RoundData]")) && !sql.endsWith(QStringLiteral("WHERE 1=0")))
                roundReads.append(sql);
        });
        const auto stopObserving = qScopeGuard([] { SetStatementObserver({}); });
        Pass pass(fixture);
        QCOMPARE(pass.Run(fixture).Placed, 2);
        QCOMPARE(roundReads.size(), 1);
        QVERIFY2(roundReads[0].endsWith(QStringLiteral("WHERE [Round]>=2 AND [Round]<=3")), qPrintable(roundReads[0]));
        QVERIFY2(roundReads[0].contains(QStringLiteral("[custom_Zyrt]"))
                && !roundReads[0].contains(QStringLiteral("CustomBoards")),
            qPrintable(roundReads[0]));
        QCOMPARE(fixture.Scores()[Record(1, 3)], qint16(420));
        QCOMPARE(fixture.Scores()[Record(4, 2)], qint16(90)); // board 4, both vulnerable: 1 NT made

        for (TTable* table : { &pass.Rda, &pass.Rec }) {
            table->Open();
            QVERIFY2(table->HasField(QStringLiteral("PairNS")) || table->HasField(QStringLiteral("NSPair")),
                qPrintable(table->TableName()));
            table->Close();
        }
        pass.Rda.Open();
        QCOMPARE(pass.Rda.RecordCount(), 9); // three tables in each of three rounds
        pass.Rda.Close();
    }

    void erasureEmptiesTheSlotAndTheCell()
    {
        TransferFixture fixture;
        fixture.Append(Played(2, 3));
        Pass pass(fixture);
        (void)pass.Run(fixture);
        QVERIFY(!pass.Grid.Cell(2, TransferFixture::TableOf(1, 3)).isEmpty());
        ReceivedRow erased = Played(2, 3);
        erased.Erased = true;
        erased.Remarks = QStringLiteral("Result erased");
        fixture.Append(erased);
        const PassCounts counts = pass.Run(fixture);
        QCOMPARE(counts.Erased, 1);
        QCOMPARE(fixture.Scores()[Record(2, 3)], ScoreWordEmptySlot);
        QCOMPARE(fixture.Contracts()[Record(2, 3)], ContractRecord::EmptySlot());
        QCOMPARE(pass.Grid.Cell(2, TransferFixture::TableOf(1, 3)), QString());
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]=0")), 0);
    }

    // Rows of a table and round that have no round row, or a board outside the round's board set, are
    // left unmarked and silently offered again on every pass.
    void rowsThatCannotBePlacedStayUnmarked()
    {
        TransferFixture fixture;
        ReceivedRow wrongBoard = Played(1, 1);
        wrongBoard.Board = 5;
        fixture.Append(wrongBoard);
        ReceivedRow noRound = Played(1, 1);
        noRound.Round = 7;
        fixture.Append(noRound);
        ReceivedRow otherSection = Played(1, 1);
        otherSection.Section = 2;
        fixture.Append(otherSection);
        Pass pass(fixture);
        for (int i = 0; i < 2; ++i) {
            const PassCounts counts = pass.Run(fixture);
            QCOMPARE(counts.Unplaced, 3);
            QCOMPARE(counts.Placed, 0);
        }
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 0);
        QCOMPARE(pass.Feedback.Failed, 0);
    }

    void twoInstancesEachHandleEveryRowOnce()
    {
        TransferFixture fixture;
        for (int board = 1; board <= 6; ++board)
            fixture.Append(Played(board, 1));
        Pass first(fixture);
        fixture.Model.ProcessedColumnNo = 1;
        QCOMPARE(first.Run(fixture).Placed, 6);
        QCOMPARE(first.Run(fixture).Placed, 0);
        fixture.Append(Played(1, 2));
        TournamentModel secondModel = fixture.Model;
        secondModel.ProcessedColumnNo = 2;
        Pass second(fixture);
        TournamentModel firstModel = fixture.Model;
        fixture.Model = secondModel;
        QCOMPARE(second.Run(fixture).Placed, 7);
        QCOMPARE(second.Run(fixture).Placed, 0);
        fixture.Model = firstModel;
        QCOMPARE(first.Run(fixture).Placed, 1);
        QCOMPARE(fixture.Count(QStringLiteral("[Processed1]<>0 AND [Processed2]<>0")), 7);
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0 OR [Processed3]<>0 OR [Processed4]<>0")), 0);
    }

    void busyRefusesThePass()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        fixture.Model.Busy = true;
        Pass pass(fixture);
        QVERIFY(pass.Run(fixture).Refused);
        QCOMPARE(pass.Feedback.Refused, 1);
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 0);
    }

    // A score file shorter than the tournament ends the pass at the row it cannot write: the rows before
    // keep their marks, Busy is clear again, and the next pass tries the rest again (and fails the same way
    // until the file is mended), writing nothing twice.
    void failedPassKeepsEarlierMarksAndIsTriedAgain()
    {
        TransferFixture fixture;
        fixture.WriteEmptyResultFiles(9); // boards 1..3 only
        fixture.Append(Played(1, 1));
        fixture.Append(Played(2, 1));
        fixture.Append(Played(5, 1));
        fixture.Append(Played(3, 1));
        Pass pass(fixture);
        for (int attempt = 1; attempt <= 2; ++attempt) {
            try {
                (void)pass.Run(fixture);
                QFAIL("the pass must fail on the short score file");
            } catch (const KibicError& error) {
                QVERIFY(error.Message().contains(QStringLiteral("cup.")));
            }
            QVERIFY(!fixture.Model.Busy);
            QCOMPARE(pass.Feedback.Failed, attempt);
            QCOMPARE(fixture.Count(QStringLiteral("[Processed]<>0")), 2);
            QCOMPARE(fixture.Count(QStringLiteral("[Processed]=0 AND [Board]=5")), 1);
            QVERIFY(!pass.Rec.Active());
        }
        // The director mends the files (ZyRT makes them whole again): the waiting rows go in.
        for (const char* extension : { ".ZAP", ".KNT" }) {
            QFile file(fixture.Model.TournamentBase + QLatin1String(extension));
            QVERIFY(file.open(QIODevice::Append));
            for (int record = 0; record < 9; ++record) {
                const qint16 empty = ScoreWordEmptySlot;
                file.write(QLatin1String(extension) == QLatin1String(".ZAP")
                        ? QByteArray(reinterpret_cast<const char*>(&empty), 2)
                        : ContractRecord::EmptySlot().ToBytes());
            }
        }
        const PassCounts mended = pass.Run(fixture);
        QCOMPARE(mended.Placed, 2);
        QCOMPARE(fixture.Count(QStringLiteral("[Processed]=0")), 0);
    }

    // The line under the status names the tournament's files without their folder, so that the reason and
    // the late tables fit; files elsewhere keep their whole path.
    void retryLineNamesTheTournamentsFilesShortly()
    {
        const KibicError missing(QStringLiteral("Brak pliku /t/Turnieje/puchar.ZAP; kopia w /inne/puchar.ZAP."));
        QCOMPARE(RetryStatusText(missing, 2, QStringLiteral("/t/Turnieje")),
            QStringLiteral("przebieg nieudany (2 z 3), ponowię: Brak pliku puchar.ZAP; kopia w /inne/puchar.ZAP"));
        QCOMPARE(RetryStatusText(missing, 1, QString()),
            QStringLiteral("przebieg nieudany (1 z 3), ponowię: ") + missing.Message().chopped(1));
    }

    // Only the same failure on three passes in a row stops the transfers; a success, another failure in
    // between or a Start begin the count anew, and a file held by the other program is not counted.
    void sameFailureThreeTimesInARowStops_data()
    {
        QTest::addColumn<QStringList>("passes"); // "a"/"b": two failures, "ok": a success, "busy": postponed
        QTest::addColumn<bool>("stops");
        QTest::addColumn<int>("atPass");
        QTest::newRow("three alike") << QStringLiteral("a a a").split(QLatin1Char(' ')) << true << 3;
        QTest::newRow("two alike") << QStringLiteral("a a").split(QLatin1Char(' ')) << false << 0;
        QTest::newRow("a success between") << QStringLiteral("a a ok a a").split(QLatin1Char(' ')) << false << 0;
        QTest::newRow("another failure between") << QStringLiteral("a a b a a").split(QLatin1Char(' ')) << false << 0;
        QTest::newRow("busy is not counted") << QStringLiteral("a busy a busy a").split(QLatin1Char(' ')) << true << 5;
        QTest::newRow("a new failure counts from one") << QStringLiteral("a b b b").split(QLatin1Char(' ')) << true << 4;
    }

    void sameFailureThreeTimesInARowStops()
    {
        QFETCH(QStringList, passes);
        QFETCH(bool, stops);
        QFETCH(int, atPass);
        // Two database failures with the same codes and different texts are the same failure.
        const auto failure = [](const QString& which) {
            KibicError error(QStringLiteral("Błąd bazy danych cup.bws (%1): ...").arg(which == QStringLiteral("a") ? 1 : 2));
            error.WithDiagnostics({ DriverDiagnostic { QStringLiteral("HY000"),
                which == QStringLiteral("a") ? -1022 : -1809, QStringLiteral("tekst ") + which } });
            return error;
        };
        PassFailureRule rule;
        int stoppedAt = 0;
        for (int i = 0; i < passes.size() && stoppedAt == 0; ++i) {
            if (passes[i] == QStringLiteral("ok")) {
                rule.Succeeded();
                continue;
            }
            const KibicError error = passes[i] == QStringLiteral("busy")
                ? KibicError(QStringLiteral("zajęta"), FailureKind::DatabaseBusy, QStringLiteral("cup.bws"))
                : failure(passes[i]);
            if (rule.Failed(error) == PassFailureRule::Answer::Stop)
                stoppedAt = i + 1;
        }
        QCOMPARE(stoppedAt != 0, stops);
        QCOMPARE(stoppedAt, atPass);
    }

    // The grid of the window keeps, for each cell, the entry transferred into it and when it was keyed in,
    // or the erasure that emptied it; the refresh at set-up gives the same.
    void cellsKeepTheirEntriesForAGridThatWantsThem()
    {
        TransferFixture fixture;
        const int first = fixture.Append(Played(1, 1, QStringLiteral("4 S x"), QStringLiteral("+1")));
        fixture.Append(Played(4, 2));
        ReceivedRow erased = Played(4, 2);
        erased.Erased = true;
        fixture.Append(erased);
        {
            DbConnection db(ScoringConnectionString(fixture.DbFile));
            (void)db.Execute(QStringLiteral("UPDATE [ReceivedData] SET [TimeLog]='17:05:12' WHERE [ID]=?"), { first });
        }
        Pass pass(fixture);
        EntryGrid grid(fixture.Model.BoardCount + 1, fixture.Model.GridTableCount + 1);
        (void)TransferResults(fixture.Model, pass.Rec, pass.Rda, grid, pass.Scorer, pass.Feedback);
        EntryGrid refreshed(fixture.Model.BoardCount + 1, fixture.Model.GridTableCount + 1);
        RefreshGrid(fixture.Model, pass.Rec, pass.Rda, refreshed);
        for (const EntryGrid* shown : { &grid, &refreshed }) {
            QCOMPARE(shown->Entries.size(), size_t(2));
            const CellEntry& played = shown->Entries.at({ 1, TransferFixture::TableOf(1, 1) });
            QCOMPARE(int(played.State), int(CellEntry::Why::Transferred));
            QCOMPARE(played.Received.Contract, QStringLiteral("4 S x"));
            QCOMPARE(played.Received.Result, QStringLiteral("+1"));
            QCOMPARE(played.KeyedIn, QStringLiteral("17:05:12"));
            const CellEntry& wiped = shown->Entries.at({ 4, TransferFixture::TableOf(2, 2) });
            QCOMPARE(int(wiped.State), int(CellEntry::Why::Erased));
            QCOMPARE(wiped.KeyedIn, QString());
        }
    }

    // The terminal server holds the database for longer than the wait: the pass stops without sticking
    // (Busy clear, no row marked, the tables closed) and says so as a busy failure; the next pass, after
    // the hold, transfers the waiting row.
    void databaseHeldByTheOtherProgramPostponesThePass()
    {
        TransferFixture fixture;
        fixture.Append(Played(2, 3));
        Pass pass(fixture);
        QString held;
        {
            DatabaseHolder holder(fixture.DbFile, 1600);
            QElapsedTimer clock;
            clock.start();
            try {
                (void)pass.Run(fixture);
                QFAIL("the pass must stop on the held database");
            } catch (const KibicError& error) {
                QCOMPARE(int(error.Kind()), int(FailureKind::DatabaseBusy));
                held = error.HeldFile();
            }
            QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
        }
        QCOMPARE(held, fixture.DbFile);
        QVERIFY(!fixture.Model.Busy);
        QCOMPARE(pass.Feedback.Postponed, 1);
        QCOMPARE(pass.Feedback.Failed, 0);
        QVERIFY(!pass.Rec.Active());
        QVERIFY(!pass.Rda.Active());
        QCOMPARE(pass.Run(fixture).Placed, 1);
        QCOMPARE(pass.Grid.Cell(2, TransferFixture::TableOf(1, 3)), QStringLiteral("3"));
    }

    void refreshShowsTheLastHandledRowOfEachCell()
    {
        TransferFixture fixture;
        fixture.Append(Played(1, 1));
        fixture.Append(Played(4, 2));
        ReceivedRow erased = Played(4, 2);
        erased.Erased = true;
        fixture.Append(erased);
        fixture.Append(Played(6, 3));
        Pass pass(fixture);
        (void)pass.Run(fixture);
        fixture.Append(Played(2, 1)); // not handled yet: not shown
        MemoryGrid grid(7, 4);
        RefreshGrid(fixture.Model, pass.Rec, pass.Rda, grid);
        QCOMPARE(grid.Cell(1, TransferFixture::TableOf(1, 1)), QStringLiteral("1"));
        QCOMPARE(grid.Cell(4, TransferFixture::TableOf(2, 2)), QString());
        QCOMPARE(grid.Cell(6, TransferFixture::TableOf(3, 3)), QStringLiteral("3"));
        QCOMPARE(grid.Cell(2, TransferFixture::TableOf(1, 1)), QString());
        QVERIFY(!pass.Rec.Active());
        QVERIFY(!pass.Rda.Active());
    }

    void handledMarkOfEveryStoredValue_data()
    {
        QTest::addColumn<QVariant>("mark");
        QTest::addColumn<bool>("handled");
        QTest::newRow("0") << QVariant(0) << false;
        QTest::newRow("1") << QVariant(1) << true;
        QTest::newRow("-1") << QVariant(-1) << true;
        QTest::newRow("2") << QVariant(2) << true;
        QTest::newRow("NULL") << QVariant(QMetaType(QMetaType::Int)) << false;
        QTest::newRow("text False") << QVariant(QStringLiteral("False")) << false;
        QTest::newRow("text True") << QVariant(QStringLiteral("True")) << true;
        QTest::newRow("text no") << QVariant(QStringLiteral("no")) << false;
        QTest::newRow("text yes") << QVariant(QStringLiteral("yes")) << true;
        QTest::newRow("empty text") << QVariant(QStringLiteral("")) << false;
        QTest::newRow("text 0 with spaces") << QVariant(QStringLiteral(" 0 ")) << false;
    }

    // The pass's reading of the mark agrees with FieldAsBoolean (and so with the grid's refresh): a row
    // is transferred exactly when its mark reads as not handled.
    void handledMarkOfEveryStoredValue()
    {
        QFETCH(QVariant, mark);
        QFETCH(bool, handled);
        if (mark.typeId() == QMetaType::QString && CreatesAccessFiles())
            QSKIP("a Jet Yes/No column holds no text");
        TransferFixture fixture;
        const int id = fixture.Append(Played(1, 1));
        // Stored by another program, whatever Kibic itself would write.
        (void)test::SqliteFile(fixture.DbFile)
            .Rows(QStringLiteral("UPDATE [ReceivedData] SET [Processed]=? WHERE [ID]=?"), { mark, id });
        Pass pass(fixture);
        QCOMPARE(pass.Run(fixture).Placed, handled ? 0 : 1);
        QCOMPARE(fixture.Scores()[size_t(Record(1, 1))], handled ? ScoreWordEmptySlot : qint16(420));
    }

    void boardsOfEveryNumberingArePlacedAtTheirPosition_data()
    {
        QTest::addColumn<QList<int>>("numbers");
        QTest::newRow("consecutive") << QList<int> { 1, 2, 3, 4, 5, 6 };
        QTest::newRow("consecutive from 11") << QList<int> { 11, 12, 13, 14, 15, 16 };
        QTest::newRow("swapped across board sets") << QList<int> { 1, 3, 2, 4, 5, 6 };
        QTest::newRow("starting again every 3 boards") << QList<int> { 1, 2, 3, 1, 2, 3 };
        QTest::newRow("descending") << QList<int> { 6, 5, 4, 3, 2, 1 };
    }

    // Every board of the tournament is played in round 1, keyed in with its position as the level, so its
    // records must land at its own position of the files and of the grid, in the pass and in the refresh.
    void boardsOfEveryNumberingArePlacedAtTheirPosition()
    {
        QFETCH(QList<int>, numbers);
        TransferFixture fixture;
        fixture.Renumber(numbers);
        for (int position = 1; position <= 6; ++position) {
            ReceivedRow row = Played(position, 1, QString::number(position) + QStringLiteral(" S"));
            row.Board = numbers.at(position - 1);
            fixture.Append(row);
        }
        Pass pass(fixture);
        const PassCounts counts = pass.Run(fixture);
        QCOMPARE(counts.Placed, 6);
        QCOMPARE(counts.Unplaced, 0);
        MemoryGrid refreshed(7, 4);
        RefreshGrid(fixture.Model, pass.Rec, pass.Rda, refreshed);
        const auto contracts = fixture.Contracts();
        for (int position = 1; position <= 6; ++position) {
            const int table = TransferFixture::TableOf((position + 1) / 2, 1);
            QCOMPARE(contracts[size_t(Record(position, 1))].Level, quint8(position));
            QCOMPARE(pass.Grid.Cell(position, table), QStringLiteral("1"));
            QCOMPARE(refreshed.Cell(position, table), QStringLiteral("1"));
        }
    }

    void headersOfTheGrid()
    {
        TransferFixture fixture;
        MemoryGrid grid(7, 4);
        FillGridHeaders(fixture.Model, grid);
        QCOMPARE(grid.Cell(0, 0), QString());
        QCOMPARE(grid.Cell(6, 0), QStringLiteral("6"));
        QCOMPARE(grid.Cell(0, 3), QStringLiteral(" 3"));
    }
};

QTEST_GUILESS_MAIN(TestPolling)
#include "TestPolling.moc"
