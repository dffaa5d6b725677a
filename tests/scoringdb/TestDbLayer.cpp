// The database layer: table and query objects on a scoring database, shared with another writer.
// Runs once on SQLite directly and once through ODBC (KIBIC_DB_BACKEND=odbc).
#include "common/KibicError.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TQuery.h"
#include "scoringdb/TTable.h"
#include "support/SqliteFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>

using namespace kibic;

namespace {

const QString kReceived = QStringLiteral(
    "CREATE TABLE [ReceivedData] ([ID] COUNTER,[Section] INTEGER,[Table] INTEGER,[Round] INTEGER,[Board] INTEGER,"
    "[Contract] TEXT(10),[Remarks] TEXT(255),[Processed] YESNO DEFAULT False,[Processed1] YESNO DEFAULT False,"
    "[Erased] YESNO DEFAULT False)");
const QString kTables = QStringLiteral(
    "CREATE TABLE [Tables] ([Section] INTEGER,[Table] INTEGER,[ComputerID] INTEGER DEFAULT 0,[Status] INTEGER "
    "DEFAULT 0,[LogOnOff] INTEGER DEFAULT 2,[CurrentRound] INTEGER DEFAULT 0)");

void AppendReceived(TTable& table, int section, int tableNo, int round, int board, const QString& contract)
{
    table.Append();
    table.SetField(QStringLiteral("Section"), section);
    table.SetField(QStringLiteral("Table"), tableNo);
    table.SetField(QStringLiteral("Round"), round);
    table.SetField(QStringLiteral("Board"), board);
    table.SetField(QStringLiteral("Contract"), contract);
    table.Post();
}

} // namespace

class TestDbLayer : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_file = m_dir->filePath(QStringLiteral("cup.bws"));
        DbConnection::CreateDatabaseFile(m_file);
        for (const QString& statement : { kReceived, kTables }) {
            TQuery query(StatementConnectionString(m_file));
            query.SetSql(statement);
            query.ExecSql();
        }
    }

    void newFileIsSqliteServedByTheChosenBackend()
    {
        QCOMPARE(DetectDatabaseFormat(m_file), DatabaseFormat::Sqlite);
        const QString chosen = qEnvironmentVariable("KIBIC_DB_BACKEND");
        DbConnection connection(ScoringConnectionString(m_file));
        QCOMPARE(connection.Backend(),
            chosen == QStringLiteral("access")     ? DatabaseBackend::OdbcAccess
                : chosen == QStringLiteral("odbc") ? DatabaseBackend::OdbcSqlite
                                                   : DatabaseBackend::Sqlite);
        QVERIFY_THROWS_EXCEPTION(KibicError, DbConnection::CreateDatabaseFile(m_file));
    }

    void appendTakesDefaultsAndNumbers()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("Tables"));
        table.Open();
        table.Append();
        table.SetField(QStringLiteral("Section"), 1);
        table.SetField(QStringLiteral("Table"), 3);
        table.Post();
        QCOMPARE(table.FieldAsInteger(QStringLiteral("LogOnOff")), 2);
        QCOMPARE(table.FieldAsInteger(QStringLiteral("computerid")), 0);

        TTable received(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        received.Open();
        AppendReceived(received, 1, 1, 1, 1, QStringLiteral("4 S x"));
        AppendReceived(received, 1, 2, 1, 1, QStringLiteral("3 NT"));
        QCOMPARE(received.FieldAsInteger(QStringLiteral("ID")), 2);
        QCOMPARE(received.FieldAsBoolean(QStringLiteral("Processed")), false);
        received.Close();
        received.Open();
        QCOMPARE(received.RecordCount(), 2);
        QCOMPARE(received.FieldAsString(QStringLiteral("Contract")), QStringLiteral("4 S x"));
    }

    void nullReadsAsZeroFalseAndEmpty()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        table.Append();
        table.Post();
        QCOMPARE(table.FieldAsInteger(QStringLiteral("Board")), 0);
        QCOMPARE(table.FieldAsString(QStringLiteral("Remarks")), QString());
        QVERIFY(table.FieldValue(QStringLiteral("Remarks")).isNull());
    }

    void missingColumnNamesTableAndColumn()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        try {
            (void)table.FieldAsInteger(QStringLiteral("custom_Komp"));
            QFAIL("a missing column must raise");
        } catch (const KibicError& error) {
            QVERIFY(error.Message().contains(QStringLiteral("ReceivedData")));
            QVERIFY(error.Message().contains(QStringLiteral("custom_Komp")));
        }
    }

    void missingTableNamesTheFile()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("[Section]"));
        try {
            table.Open();
            QFAIL("a missing table must raise");
        } catch (const KibicError& error) {
            QVERIFY(error.Message().contains(m_file));
            QVERIFY(error.Message().contains(QStringLiteral("Section")));
        }
        QVERIFY(!table.Active());
    }

    // A file that cannot be read is not "not a database": the message says why it cannot be read.
    void unreadableFileSaysWhy()
    {
        const QString folder = QFileInfo(m_file).absolutePath() + QStringLiteral("/folder.bws");
        QVERIFY(QDir().mkpath(folder));
        QCOMPARE(DetectDatabaseFormat(folder), DatabaseFormat::Unreadable);
        try {
            TTable table(ScoringConnectionString(folder), QStringLiteral("ReceivedData"));
            table.Open();
            QFAIL("a folder must not open as a database");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().startsWith(QStringLiteral("Nie można odczytać pliku bazy danych ") + folder),
                qPrintable(error.Message()));
            QVERIFY2(
                error.Message().endsWith(QStringLiteral("w jego miejscu jest folder")), qPrintable(error.Message()));
        }
    }

    // A value quoted in a message is cut, so that a damaged row (written by another program, past its
    // column's size) still gives a message one can read.
    void longValueIsQuotedCut()
    {
        (void)test::SqliteFile(m_file).Rows(QStringLiteral("INSERT INTO [ReceivedData] ([Remarks]) VALUES (?)"),
            { QString(QString(10000, QLatin1Char('7')) + QLatin1Char('x')) });
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        table.First();
        try {
            (void)table.FieldAsInteger(QStringLiteral("Remarks"));
            QFAIL("a text that is no number must raise");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().size() < 300, qPrintable(error.Message().left(300)));
            QVERIFY(error.Message().contains(QStringLiteral("Remarks")));
        }
    }

    // A text longer than its TEXT(n) column is refused before it reaches the driver (Jet would refuse it
    // with 22001, SQLite would keep it whole), naming the table, the column and the file; one that fits
    // goes through whole.
    void textLongerThanItsColumnIsRefused_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("size");
        QTest::newRow("Contract") << QStringLiteral("Contract") << 10;
        QTest::newRow("Remarks, Polish letters") << QStringLiteral("Remarks") << 255;
    }

    void textLongerThanItsColumnIsRefused()
    {
        QFETCH(QString, column);
        QFETCH(int, size);
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        table.Append();
        try {
            table.SetField(column, QString(size + 1, QChar(u'Ź')));
            QFAIL("a text one character too long must be refused");
        } catch (const KibicError& error) {
            for (const QString& named : { column, QStringLiteral("ReceivedData"), m_file, QString::number(size) })
                QVERIFY2(error.Message().contains(named), qPrintable(error.Message()));
        }
        table.SetField(column, QString(size, QChar(u'Ź')));
        table.Post();
        table.Close();
        QCOMPARE(test::SqliteFile(m_file).Value(QStringLiteral("SELECT [%1] FROM [ReceivedData]").arg(column)).toString(),
            QString(size, QChar(u'Ź')));
    }

    void locateIsExactOnEveryKeyColumn()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        AppendReceived(table, 1, 3, 2, 5, QStringLiteral("4 S x"));
        AppendReceived(table, 1, 3, 3, 5, QStringLiteral("4 s x"));
        AppendReceived(table, 2, 3, 2, 5, QStringLiteral("PASS"));
        QVERIFY(table.Locate(QStringLiteral("Section;Table;Round"), { 2, 3, 2 }));
        QCOMPARE(table.FieldAsString(QStringLiteral("Contract")), QStringLiteral("PASS"));
        QVERIFY(table.Locate(QStringLiteral("Contract"), { QStringLiteral("4 s x") }));
        QCOMPARE(table.FieldAsInteger(QStringLiteral("Round")), 3);
        QVERIFY(!table.Locate(QStringLiteral("Contract"), { QStringLiteral("4 S X") }));
        QCOMPARE(table.FieldAsInteger(QStringLiteral("Round")), 3);
        QVERIFY(table.Locate(QStringLiteral("Section;Table;Board;Erased"), { 1, 3, 5, false }));
        QCOMPARE(table.FieldAsInteger(QStringLiteral("ID")), 1);
    }

    void locateSeesRowsChangedAfterTheFirstSearch()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        AppendReceived(table, 1, 1, 1, 1, QStringLiteral("1 C"));
        QVERIFY(!table.Locate(QStringLiteral("Board"), { 7 }));
        table.Edit();
        table.SetField(QStringLiteral("Board"), 7);
        table.Post();
        table.First();
        QVERIFY(table.Locate(QStringLiteral("Board"), { 7 }));
    }

    void sortByIdAndBack()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        for (int board = 1; board <= 3; ++board)
            AppendReceived(table, 1, 1, 1, board, QStringLiteral("1 C"));
        // The other program renumbers nothing, but a row may come back in another natural order: change
        // the boards so that the sort is visible.
        table.Close();
        DbConnection other(ScoringConnectionString(m_file));
        (void)other.Execute(QStringLiteral("UPDATE [ReceivedData] SET [Board]=10-[ID]"));
        table.Open();
        table.SetSort(QStringLiteral("Board"));
        QList<int> ids;
        for (table.First(); !table.Eof(); table.Next())
            ids.append(table.FieldAsInteger(QStringLiteral("ID")));
        QCOMPARE(ids, QList<int>({ 3, 2, 1 }));
        table.SetSort(QStringLiteral("ID"));
        table.First();
        QCOMPARE(table.FieldAsInteger(QStringLiteral("ID")), 1);
    }

    void postWritesOnlyTheColumnsThatWereSet()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        AppendReceived(table, 1, 1, 1, 1, QStringLiteral("1 C"));
        table.Close();
        table.Open();
        // Meanwhile the terminal server corrects the contract of the same row.
        DbConnection server(ScoringConnectionString(m_file));
        (void)server.Execute(QStringLiteral("UPDATE [ReceivedData] SET [Contract]='2 H' WHERE [ID]=1"));
        table.Edit();
        table.SetField(QStringLiteral("Processed"), true);
        table.Post();
        QCOMPARE(server.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Contract]='2 H'")), 1);
        QCOMPARE(server.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed]<>0")), 1);
        QCOMPARE(server.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM `ReceivedData` WHERE `Processed1`=0")), 1);
    }

    // A walk over thousands of rows reads only the columns it looks at, and what tells the rows apart, so
    // that its marks and appends still reach the right rows and nothing else in them.
    void readColumnsCarryOnlyWhatIsAskedAndWhatTellsRowsApart()
    {
        TTable whole(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        whole.Open();
        AppendReceived(whole, 1, 1, 1, 1, QStringLiteral("1 C"));
        AppendReceived(whole, 1, 2, 1, 3, QStringLiteral("3 NT"));
        whole.Close();

        TTable received(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        received.SetReadColumns({ QStringLiteral("board"), QStringLiteral("[Processed]"), QStringLiteral("TimeLog") });
        received.Open();
        QCOMPARE(received.FieldNames(),
            QStringList({ QStringLiteral("ID"), QStringLiteral("Board"), QStringLiteral("Processed") }));
        QVERIFY(!received.HasField(QStringLiteral("Contract")));
        QVERIFY(received.Locate(QStringLiteral("Board"), { 3 }));
        received.Edit();
        received.SetField(QStringLiteral("Processed"), true);
        received.Post();
        received.Append();
        received.SetField(QStringLiteral("Board"), 7);
        received.Post();
        QCOMPARE(received.FieldAsInteger(QStringLiteral("ID")), 3);
        received.Close();

        whole.Open();
        QCOMPARE(whole.RecordCount(), 3);
        QVERIFY(whole.Locate(QStringLiteral("ID"), { 2 }));
        QVERIFY(whole.FieldAsBoolean(QStringLiteral("Processed")));
        QCOMPARE(whole.FieldAsString(QStringLiteral("Contract")), QStringLiteral("3 NT"));
        QVERIFY(whole.Locate(QStringLiteral("ID"), { 1 }));
        QVERIFY(!whole.FieldAsBoolean(QStringLiteral("Processed")));
        whole.Close();

        // Tables is told apart by section and table, which come along without being asked for.
        TTable tables(ScoringConnectionString(m_file), QStringLiteral("Tables"));
        tables.SetReadColumns({ QStringLiteral("Status") });
        tables.Open();
        QCOMPARE(tables.FieldNames(),
            QStringList({ QStringLiteral("Section"), QStringLiteral("Table"), QStringLiteral("Status") }));
        tables.Close();
        // Asked for nothing the table has: only what tells the rows apart.
        tables.SetReadColumns({ QStringLiteral("NoSuchColumn") });
        tables.Open();
        QCOMPARE(tables.FieldNames(), QStringList({ QStringLiteral("Section"), QStringLiteral("Table") }));
    }

    void postOfARowDeletedMeanwhileFails()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        AppendReceived(table, 1, 1, 1, 1, QStringLiteral("1 C"));
        DbConnection server(ScoringConnectionString(m_file));
        (void)server.Execute(QStringLiteral("DELETE FROM [ReceivedData]"));
        table.Edit();
        table.SetField(QStringLiteral("Processed"), true);
        QVERIFY_THROWS_EXCEPTION(KibicError, table.Post());
    }

    void deleteMakesTheNextRowCurrent()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("Tables"));
        table.Open();
        for (int t = 1; t <= 3; ++t) {
            table.Append();
            table.SetField(QStringLiteral("Section"), 1);
            table.SetField(QStringLiteral("Table"), t);
            table.Post();
        }
        table.First();
        table.Delete();
        QCOMPARE(table.FieldAsInteger(QStringLiteral("Table")), 2);
        while (!table.Eof())
            table.Delete();
        table.Close();
        TQuery count(ScoringConnectionString(m_file));
        count.SetSql(QStringLiteral("SELECT COUNT(*) FROM [Tables]"));
        QCOMPARE(count.OpenFirstInteger(), 0);
    }

    void filterReadsOnlyMatchingRows()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        for (int board = 1; board <= 4; ++board)
            AppendReceived(table, 1, 1, 1, board, QStringLiteral("1 C"));
        table.First();
        table.Edit();
        table.SetField(QStringLiteral("Processed"), true);
        table.Post();
        table.Close();
        table.SetFilter(QStringLiteral("[Processed]=0"));
        table.Open();
        QCOMPARE(table.RecordCount(), 3);
    }

    void queryOfNoRowReadsZero()
    {
        TQuery query(ScoringConnectionString(m_file));
        query.SetSql(QStringLiteral("SELECT MAX(`ID`) FROM `ReceivedData` WHERE `Section`=1 AND `Erased`=0"));
        QCOMPARE(query.OpenFirstInteger(), 0);
        query.SetSql(QStringLiteral("UPDATE `ReceivedData` SET `Processed`=0"));
        query.ExecSql();
        query.SetSql(QStringLiteral("SELECT nonsense FROM nowhere"));
        QVERIFY_THROWS_EXCEPTION(KibicError, query.ExecSql());
    }

    void transactionCommitsOrRollsBack()
    {
        {
            TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
            table.Open();
            table.Connection().BeginTransaction();
            AppendReceived(table, 1, 1, 1, 1, QStringLiteral("1 C"));
            table.Connection().CommitTransaction();
            table.Connection().BeginTransaction();
            AppendReceived(table, 1, 1, 1, 2, QStringLiteral("1 C"));
        } // closed without a commit: the second row is not kept
        TQuery count(ScoringConnectionString(m_file));
        count.SetSql(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData]"));
        QCOMPARE(count.OpenFirstInteger(), 1);
    }

    void jetFileNeedsTheAccessDriver()
    {
        const QString sample = QStringLiteral(KIBIC_SAMPLES_DIR "/real-session-jet3.bws");
        if (!QFile::exists(sample))
            QSKIP("the outside sample database is not on this machine");
        QCOMPARE(DetectDatabaseFormat(sample), DatabaseFormat::Jet);
        if (AccessDriverAvailable())
            QSKIP("this machine has the Access driver");
        TTable table(ScoringConnectionString(sample), QStringLiteral("ReceivedData"));
        try {
            table.Open();
            QFAIL("an Access file must be refused without the Access driver");
        } catch (const KibicError& error) {
            QVERIFY(error.Message().contains(sample));
            QVERIFY(error.Message().contains(QStringLiteral("Access")));
        }
    }

    void fileOfAnotherKindIsRefused()
    {
        const QString other = m_dir->filePath(QStringLiteral("notes.bws"));
        QFile file(other);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("This is not a database at all, only some text.");
        file.close();
        TTable table(ScoringConnectionString(other), QStringLiteral("ReceivedData"));
        QVERIFY_THROWS_EXCEPTION(KibicError, table.Open());
        QVERIFY_THROWS_EXCEPTION(KibicError,
            TTable(ScoringConnectionString(m_dir->filePath(QStringLiteral("none.bws"))), QStringLiteral("Tables"))
                .Open());
    }

    // The terminal server changes Status and CurrentRound of a Tables row while Kibic gives the table to
    // this computer: the post finds the row by Section and Table and keeps the server's values.
    void postFindsARowWithoutIdByItsKeyColumns()
    {
        TTable table(ScoringConnectionString(m_file), QStringLiteral("Tables"));
        table.Open();
        for (int t = 1; t <= 2; ++t) {
            table.Append();
            table.SetField(QStringLiteral("Section"), 1);
            table.SetField(QStringLiteral("Table"), t);
            table.Post();
        }
        table.Close();
        table.Open();
        DbConnection server(ScoringConnectionString(m_file));
        (void)server.Execute(QStringLiteral("UPDATE [Tables] SET [Status]=3,[CurrentRound]=2 WHERE [Table]=2"));
        QStringList sent;
        SetStatementObserver([&](const QString& sql) { sent.append(sql); });
        QVERIFY(table.Locate(QStringLiteral("Section;Table"), { 1, 2 }));
        table.Edit();
        table.SetField(QStringLiteral("ComputerID"), 7);
        table.Post();
        SetStatementObserver({});
        QCOMPARE(
            sent, QStringList { QStringLiteral("UPDATE [Tables] SET [ComputerID]=? WHERE [Section]=? AND [Table]=?") });
        QCOMPARE(server.ScalarInteger(QStringLiteral(
                     "SELECT [Status]*100+[CurrentRound]*10+[ComputerID] FROM [Tables] WHERE [Table]=2")),
            327);
        QCOMPARE(server.ScalarInteger(QStringLiteral("SELECT [ComputerID] FROM [Tables] WHERE [Table]=1")), 0);
    }

    // Appends name the columns they set; the new number is asked for only where the table has a COUNTER.
    void appendAsksForTheNumberOnlyOfACounter_data()
    {
        QTest::addColumn<QString>("tableName");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Tables, no ID") << QStringLiteral(
            "Tables") << QStringList { QStringLiteral("INSERT INTO [Tables] ([Section],[Table]) VALUES (?,?)") };
        QTest::newRow("ReceivedData, COUNTER")
            << QStringLiteral("ReceivedData")
            << QStringList { QStringLiteral("INSERT INTO [ReceivedData] ([Section],[Table]) VALUES (?,?)"),
                   QStringLiteral("SELECT last_insert_rowid()") };
    }

    void appendAsksForTheNumberOnlyOfACounter()
    {
        QFETCH(QString, tableName);
        QFETCH(QStringList, expected);
        TTable table(ScoringConnectionString(m_file), tableName);
        table.Open();
        QStringList sent;
        SetStatementObserver([&](const QString& sql) { sent.append(sql); });
        table.Append();
        table.SetField(QStringLiteral("Section"), 1);
        table.SetField(QStringLiteral("Table"), 4);
        table.Post();
        SetStatementObserver({});
        // Direct SQLite knows the new rowid without a statement of its own; Jet is asked for its last COUNTER.
        if (table.Connection().Backend() == DatabaseBackend::Sqlite)
            expected.removeAll(QStringLiteral("SELECT last_insert_rowid()"));
        if (table.Connection().Dialect() == SqlDialect::Access)
            expected.replaceInStrings(QStringLiteral("SELECT last_insert_rowid()"), QStringLiteral("SELECT @@IDENTITY"));
        QCOMPARE(sent, expected);
        QCOMPARE(table.FieldAsInteger(QStringLiteral("Table")), 4);
        if (tableName == QStringLiteral("ReceivedData"))
            QCOMPARE(table.FieldAsInteger(QStringLiteral("ID")), 1);
        else
            QCOMPARE(table.FieldAsInteger(QStringLiteral("LogOnOff")), 2);
    }

    void flagsAreBoundAsTheFileKeepsThem_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("dialect");
        QTest::addColumn<QVariant>("bound");
        QTest::newRow("Jet yes") << QVariant(true) << int(SqlDialect::Access) << QVariant(-1);
        QTest::newRow("Jet no") << QVariant(false) << int(SqlDialect::Access) << QVariant(0);
        QTest::newRow("SQLite yes") << QVariant(true) << int(SqlDialect::Sqlite) << QVariant(1);
        QTest::newRow("null text") << QVariant(QString()) << int(SqlDialect::Access) << QVariant(QStringLiteral(""));
        QTest::newRow("number") << QVariant(12) << int(SqlDialect::Access) << QVariant(12);
    }

    void flagsAreBoundAsTheFileKeepsThem()
    {
        QFETCH(QVariant, value);
        QFETCH(int, dialect);
        QFETCH(QVariant, bound);
        const QVariant result = BindableValue(value, static_cast<SqlDialect>(dialect));
        QCOMPARE(result, bound);
        QCOMPARE(result.typeId(), bound.typeId());
    }

    // A Yes written by Jet (-1) reads as true, like every other non-zero value.
    void anyNonZeroFlagReadsTrue()
    {
        DbConnection server(ScoringConnectionString(m_file));
        (void)server.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([Processed],[Processed1]) VALUES (-1,0)"));
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        QVERIFY(table.FieldAsBoolean(QStringLiteral("Processed")));
        QVERIFY(!table.FieldAsBoolean(QStringLiteral("Processed1")));
        table.SetFilter(QStringLiteral("[Processed]=0"));
        table.Open();
        QCOMPARE(table.RecordCount(), 0);
    }

    // Another program holds the write lock: a short hold is waited out, a long one fails after about a
    // second (never the ten seconds that froze the window), with the provider's text.
    void lockIsWaitedForAboutASecond_data()
    {
        QTest::addColumn<int>("holdMs");
        QTest::addColumn<bool>("succeeds");
        QTest::newRow("held 300 ms") << 300 << true;
        QTest::newRow("held 4 s") << 4000 << false;
    }

    void lockIsWaitedForAboutASecond()
    {
        QFETCH(int, holdMs);
        QFETCH(bool, succeeds);
        std::atomic<bool> locked { false };
        QThread* holder = QThread::create([&] {
            DbConnection other(ScoringConnectionString(m_file));
            other.BeginTransaction();
            (void)other.Execute(QStringLiteral("UPDATE [Tables] SET [Status]=1"));
            locked = true;
            QThread::msleep(static_cast<unsigned long>(holdMs));
            other.CommitTransaction();
        });
        holder->start();
        while (!locked)
            QThread::msleep(1);
        DbConnection connection(ScoringConnectionString(m_file));
#ifndef Q_OS_WIN
        // On Windows SQLite files are only rehearsal files, and SQLite's own busy timeout keeps the bound.
        if (connection.Backend() == DatabaseBackend::Sqlite)
            QVERIFY(connection.HasOwnBusyHandler());
#endif
        QElapsedTimer clock;
        clock.start();
        QString failure;
        bool busy = false;
        try {
            (void)connection.Execute(QStringLiteral("INSERT INTO [Tables] ([Section],[Table]) VALUES (9,9)"));
        } catch (const KibicError& error) {
            failure = error.Message();
            busy = error.Busy();
        }
        const qint64 waited = clock.elapsed();
        holder->wait();
        delete holder;
        if (succeeds) {
            QCOMPARE(failure, QString());
        } else {
            QVERIFY2(busy, qPrintable(failure));
            QVERIFY2(failure.contains(m_file), qPrintable(failure));
            QVERIFY2(
                waited >= kBusyTimeoutMs - 100 && waited < kBusyTimeoutMs + 1500, qPrintable(QString::number(waited)));
        }
    }

    // The terminal server writes row after row, each in its own transaction, as fast as it can, while
    // Kibic marks rows in transactions of its own: Kibic gets its turn every time, within the second.
    void aWriterGoingFlatOutLeavesTheOtherItsTurn()
    {
        std::atomic<bool> stop { false };
        std::atomic<int> written { 0 };
        QString writerFailure;
        QThread* writer = QThread::create([&] {
            try {
                DbConnection server(ScoringConnectionString(m_file));
                while (!stop) {
                    server.BeginTransaction();
                    (void)server.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([Section],[Table]) VALUES (1,1)"));
                    server.CommitTransaction();
                    ++written;
                }
            } catch (const KibicError& error) {
                writerFailure = error.Message();
            }
        });
        writer->start();
        while (written < 10)
            QThread::msleep(1);
        QStringList failures;
        DbConnection kibic(ScoringConnectionString(m_file));
        for (int turn = 0; turn < 40; ++turn) {
            try {
                kibic.BeginTransaction();
                (void)kibic.Execute(
                    QStringLiteral("UPDATE [ReceivedData] SET [Processed]=1 WHERE [ID]=?"), { turn + 1 });
                kibic.CommitTransaction();
            } catch (const KibicError& error) {
                failures.append(error.Message());
                kibic.RollbackTransaction();
            }
        }
        stop = true;
        writer->wait();
        delete writer;
        QCOMPARE(writerFailure, QString());
        QCOMPARE(failures, QStringList());
    }

    // The terminal server appends rows every few milliseconds while Kibic reads and marks them: no row of
    // either side is lost or marked twice, and nothing fails but for the other side's lock (which a machine
    // too busy to run a thread for a second can stretch past the wait; each side then tries again, as the
    // server and the next pass do).
    void sharedWithAWriterThatNeverStops()
    {
        std::atomic<bool> stop { false };
        std::atomic<int> appended { 0 };
        QString writerFailure;
        QThread* writer = QThread::create([&] {
            try {
                DbConnection server(ScoringConnectionString(m_file));
                while (!stop) {
                    try {
                        (void)server.Execute(QStringLiteral(
                            "INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board]) VALUES (1,1,1,1)"));
                    } catch (const KibicError& error) {
                        if (!error.Busy())
                            throw;
                        continue;
                    }
                    ++appended;
                    QThread::msleep(2);
                }
            } catch (const KibicError& error) {
                writerFailure = error.Message();
            }
        });
        writer->start();
        // Until the writer has appended enough rows to meet Kibic's transactions many times: counted in rows,
        // not in time, so that a busy machine only makes it take longer.
        constexpr int kRows = 60;
        int marked = 0;
        QString kibicFailure;
        QElapsedTimer clock;
        clock.start();
        while (appended < kRows && clock.elapsed() < 60000 && kibicFailure.isEmpty()) {
            TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
            table.SetFilter(QStringLiteral("[Processed]=0"));
            try {
                table.Open();
                table.Connection().BeginTransaction();
                int markedNow = 0;
                for (table.First(); !table.Eof(); table.Next()) {
                    table.Edit();
                    table.SetField(QStringLiteral("Processed"), true);
                    table.Post();
                    ++markedNow;
                }
                table.Connection().CommitTransaction();
                marked += markedNow;
            } catch (const KibicError& error) {
                // Rolled back when the table lets its connection go; the next turn marks the rows again.
                if (!error.Busy())
                    kibicFailure = error.Message();
            }
        }
        stop = true;
        writer->wait();
        delete writer;
        QCOMPARE(writerFailure, QString());
        QCOMPARE(kibicFailure, QString());
        TTable table(ScoringConnectionString(m_file), QStringLiteral("ReceivedData"));
        table.Open();
        QCOMPARE(table.RecordCount(), appended.load());
        QVERIFY(appended >= kRows);
        QVERIFY(marked > 0);
        int unmarked = 0;
        for (table.First(); !table.Eof(); table.Next())
            unmarked += table.FieldAsBoolean(QStringLiteral("Processed")) ? 0 : 1;
        QCOMPARE(marked + unmarked, appended.load());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

QTEST_GUILESS_MAIN(TestDbLayer)
#include "TestDbLayer.moc"
