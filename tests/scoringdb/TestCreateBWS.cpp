// A new scoring database: the statements' texts and the schema the created file reports.
// Runs once on SQLite directly and once through ODBC (KIBIC_DB_BACKEND=odbc).
#include "ScoringDbTestSupport.h"
#include "support/SqliteFile.h"
#include "common/KibicError.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uCreateBWS.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

namespace {

// Columns as "Name|Type|Default|NOT NULL", written from the table definitions the terminal server
// expects (types in Jet's words).
using Schema = QList<QPair<QString, QStringList>>;

const QStringList kReceivedSchema = L({ "ID|COUNTER||", "Section|INTEGER||", "Table|INTEGER||", "Round|INTEGER||",
    "Board|INTEGER||", "PairNS|INTEGER||", "PairEW|INTEGER||", "Declarer|INTEGER||", "NS/EW|TEXT(2)||",
    "Contract|TEXT(10)||", "Result|TEXT(10)||", "LeadCard|TEXT(10)||", "Remarks|TEXT(255)||", "DateLog|DATE||",
    "TimeLog|TIME||", "Processed|YESNO|False|", "Processed1|YESNO|False|", "Processed2|YESNO|False|",
    "Processed3|YESNO|False|", "Processed4|YESNO|False|", "Erased|YESNO|False|" });

QStringList SettingsSchema(bool withPlayTables, bool withBM2)
{
    QStringList columns = L({ "Section|INTEGER||", "ShowResults|YESNO|True|", "ShowOwnResult|YESNO|True|",
        "RepeatResults|YESNO|False|", "MaximumResults|INTEGER|0|", "ShowPercentage|YESNO|True|",
        "GroupSections|YESNO|False|", "ScorePoints|INTEGER|1|", "EnterResultsMethod|INTEGER|0|",
        "ShowPairNumbers|YESNO|True|", "IntermediateResults|YESNO|False|", "AutopoweroffTime|INTEGER|20|",
        "VerificationTime|INTEGER|2|", "ShowContract|INTEGER|1|", "LeadCard|YESNO|False|", "MemberNumbers|YESNO|False|",
        "MemberNumbersNoBlankEntry|YESNO|False|", "BoardOrderVerification|YESNO|True|" });
    if (withPlayTables)
        columns << QStringLiteral("HandRecordValidation|YESNO|True|");
    if (withBM2) {
        columns << QStringLiteral("AutoShutDownBPC|YESNO|True|") << QStringLiteral("BM2PINcode|TEXT(4)|\"9642\"|")
                << QStringLiteral("BM2ConfirmNP|YESNO|False|") << QStringLiteral("BM2RemainingBoards|YESNO|True|")
                << QStringLiteral("BM2NextSeatings|YESNO|True|") << QStringLiteral("BM2ScoreRecap|YESNO|False|")
                << QStringLiteral("BM2ScoreCorrection|YESNO|False|") << QStringLiteral("BM2AutoBoardNumber|YESNO|True|")
                << QStringLiteral("BM2ResultsOverview|INTEGER|0|") << QStringLiteral("BM2ShowPlayerNames|INTEGER|0|")
                << QStringLiteral("BM2Ranking|INTEGER|0|") << QStringLiteral("BM2PairNumberEntry|INTEGER|0|");
    } else {
        columns << QStringLiteral("AutoShutDownBPC|YESNO|False|");
    }
    columns << QStringLiteral("custom_pairs|YESNO|True|");
    return columns;
}

Schema ExpectedSchema(bool withPlayTables, bool withBM2)
{
    Schema schema = {
        { QStringLiteral("Clients"), L({ "ID|COUNTER||", "Computer|TEXT(255)||yes" }) },
        { QStringLiteral("Section"),
            L({ "ID|INTEGER||", "Letter|TEXT(2)||yes", "Tables|INTEGER||", "MissingPair|INTEGER|0|",
                "custom_MySQL|TEXT(255)||" }) },
        { QStringLiteral("Tables"),
            L({ "Section|INTEGER||", "Table|INTEGER||", "ComputerID|INTEGER|0|", "Status|INTEGER|0|",
                "LogOnOff|INTEGER|2|", "UpdateFromRound|INTEGER|0|", "CurrentRound|INTEGER|0|",
                "CurrentBoard|INTEGER|0|" }) },
        { QStringLiteral("RoundData"),
            L({ "Section|INTEGER||", "Table|INTEGER||", "Round|INTEGER||", "NSPair|INTEGER||", "EWPair|INTEGER||",
                "LowBoard|INTEGER||", "HighBoard|INTEGER||", "CustomBoards|TEXT(255)||", "custom_Zyrt|INTEGER||",
                "custom_Komp|INTEGER||", "custom_S|INTEGER|0|", "custom_W|INTEGER|0|",
                "custom_LowBoard|INTEGER|0|" }) },
        { QStringLiteral("ReceivedData"), kReceivedSchema },
        { QStringLiteral("IntermediateData"), kReceivedSchema },
    };
    if (withPlayTables) {
        QStringList bidding = L({ "ID|COUNTER||", "Section|INTEGER||", "Table|INTEGER||", "Round|INTEGER||",
            "Board|INTEGER||", "Counter|INTEGER||", "Direction|TEXT(2)||", "Bid|TEXT(10)||", "DateLog|DATE||",
            "TimeLog|TIME||", "Erased|YESNO|False|" });
        schema.append({ QStringLiteral("BiddingData"), bidding });
        bidding[7] = QStringLiteral("Card|TEXT(10)||");
        schema.append({ QStringLiteral("PlayData"), bidding });
        QStringList hands = L({ "Section|INTEGER||", "Board|INTEGER||" });
        for (const char* hand : { "North", "East", "South", "West" })
            for (const char* suit : { "Spades", "Hearts", "Diamonds", "Clubs" })
                hands << QString::fromLatin1(hand) + QString::fromLatin1(suit) + QStringLiteral("|TEXT(13)||");
        schema.append({ QStringLiteral("HandRecord"), hands });
    }
    schema.append({ QStringLiteral("PlayerNumbers"),
        L({ "Section|INTEGER||", "Table|INTEGER||", "Direction|TEXT(2)||yes", "Number|TEXT(16)|''|",
            "Name|TEXT(19)|''|", "Updated|YESNO|False|" }) });
    schema.append({ QStringLiteral("Settings"), SettingsSchema(withPlayTables, withBM2) });
    return schema;
}

// The columns of one table as the file reports them, in the form of ExpectedSchema. An auto-numbered
// column is the row's INTEGER PRIMARY KEY with AUTOINCREMENT: that is what COUNTER becomes here.
QStringList ReportedColumns(const QString& file, const QString& table)
{
    QStringList columns;
    for (const QVariantList& column : test::SqliteFile(file).Rows(QStringLiteral("PRAGMA table_info([%1])").arg(table))) {
        QString type = column[2].toString();
        if (type == QStringLiteral("INTEGER") && column[5].toInt() == 1)
            type = QStringLiteral("COUNTER");
        columns << column[1].toString() + QLatin1Char('|') + type + QLatin1Char('|') + column[4].toString()
                + QLatin1Char('|') + (column[3].toInt() != 0 ? QStringLiteral("yes") : QString());
    }
    return columns;
}

QStringList ReportedTables(const QString& file)
{
    QStringList tables;
    for (const QVariantList& table : test::SqliteFile(file).Rows(QStringLiteral(
             "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid")))
        tables << table[0].toString();
    return tables;
}

bool CounterIsAutoIncrement(const QString& file, const QString& table)
{
    return test::SqliteFile(file)
               .Value(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name=? AND sql LIKE '%AUTOINCREMENT%'"),
                   { table })
               .toInt()
        == 1;
}

} // namespace

class TestCreateBWS : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_file = m_dir->filePath(QStringLiteral("cup.bws"));
    }

    void statementText_data()
    {
        QTest::addColumn<bool>("withPlayTables");
        QTest::addColumn<bool>("withBM2");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        const QString received = QStringLiteral(
            "[ID] COUNTER,[Section] INTEGER,[Table] INTEGER,[Round] INTEGER,[Board] INTEGER,[PairNS] INTEGER,[PairEW] "
            "INTEGER,[Declarer] INTEGER,[NS/EW] TEXT(2),[Contract] TEXT(10),[Result] TEXT(10),[LeadCard] TEXT(10),"
            "[Remarks] TEXT(255),[DateLog] DATE,[TimeLog] TIME,[Processed] YESNO DEFAULT False,[Processed1] YESNO "
            "DEFAULT False,[Processed2] YESNO DEFAULT False,[Processed3] YESNO DEFAULT False,[Processed4] YESNO "
            "DEFAULT "
            "False,[Erased] YESNO DEFAULT False)");
        const QString settingsHead = QStringLiteral(
            "CREATE TABLE [Settings] ([Section] INTEGER,[ShowResults] YESNO DEFAULT True,[ShowOwnResult] YESNO DEFAULT "
            "True,[RepeatResults] YESNO DEFAULT False,[MaximumResults] INTEGER DEFAULT 0,[ShowPercentage] YESNO "
            "DEFAULT "
            "True,[GroupSections] YESNO DEFAULT False,[ScorePoints] INTEGER DEFAULT 1,[EnterResultsMethod] INTEGER "
            "DEFAULT 0,[ShowPairNumbers] YESNO DEFAULT True,[IntermediateResults] YESNO DEFAULT False,"
            "[AutopoweroffTime] INTEGER DEFAULT 20,[VerificationTime] INTEGER DEFAULT 2,[ShowContract] INTEGER DEFAULT "
            "1,[LeadCard] YESNO DEFAULT False,[MemberNumbers] YESNO DEFAULT False,[MemberNumbersNoBlankEntry] YESNO "
            "DEFAULT False,[BoardOrderVerification] YESNO DEFAULT True,");
        const QString bm2Tail = QStringLiteral(
            "[AutoShutDownBPC] YESNO DEFAULT True,[BM2PINcode] TEXT(4) DEFAULT \"9642\",[BM2ConfirmNP] YESNO DEFAULT "
            "False,[BM2RemainingBoards] YESNO DEFAULT True,[BM2NextSeatings] YESNO DEFAULT True,[BM2ScoreRecap] YESNO "
            "DEFAULT False,[BM2ScoreCorrection] YESNO DEFAULT False,[BM2AutoBoardNumber] YESNO DEFAULT True,"
            "[BM2ResultsOverview] INTEGER DEFAULT 0,[BM2ShowPlayerNames] INTEGER DEFAULT 0,[BM2Ranking] INTEGER "
            "DEFAULT "
            "0,[BM2PairNumberEntry] INTEGER DEFAULT 0,[custom_pairs] YESNO DEFAULT True)");
        const QString basicTail
            = QStringLiteral("[AutoShutDownBPC] YESNO DEFAULT False,[custom_pairs] YESNO DEFAULT True)");
        const QString validation = QStringLiteral("[HandRecordValidation] YESNO DEFAULT True,");

        QTest::newRow("1 Clients") << false << false << 1
                                   << "CREATE TABLE [Clients] ([ID] COUNTER,[Computer] TEXT(255) NOT NULL)";
        QTest::newRow("2 Section") << false << false << 2
                                   << "CREATE TABLE [Section] ([ID] INTEGER,[Letter] TEXT(2) NOT NULL,[Tables] INTEGER,"
                                      "[MissingPair] INTEGER DEFAULT 0,[custom_MySQL] TEXT(255))";
        QTest::newRow("3 Tables") << false << false << 3
                                  << "CREATE TABLE [Tables] ([Section] INTEGER,[Table] INTEGER,[ComputerID] INTEGER "
                                     "DEFAULT 0,[Status] INTEGER DEFAULT 0,[LogOnOff] INTEGER DEFAULT 2,"
                                     "[UpdateFromRound] INTEGER DEFAULT 0,[CurrentRound] INTEGER DEFAULT 0,"
                                     "[CurrentBoard] INTEGER DEFAULT 0)";
        QTest::newRow("4 RoundData") << false << false << 4
                                     << "CREATE TABLE [RoundData] ([Section] INTEGER,[Table] INTEGER,[Round] INTEGER,"
                                        "[NSPair] INTEGER,[EWPair] INTEGER,[LowBoard] INTEGER,[HighBoard] INTEGER,"
                                        "[CustomBoards] TEXT(255),[custom_Zyrt] INTEGER,[custom_Komp] INTEGER,"
                                        "[custom_S] INTEGER DEFAULT 0,[custom_W] INTEGER DEFAULT 0,[custom_LowBoard] "
                                        "INTEGER DEFAULT 0)";
        QTest::newRow("5 ReceivedData") << false << false << 5
                                        << QStringLiteral("CREATE TABLE [ReceivedData] (") + received;
        QTest::newRow("6 IntermediateData")
            << false << false << 6 << QStringLiteral("CREATE TABLE [IntermediateData] (") + received;
        QTest::newRow("7 BiddingData") << true << false << 7
                                       << "CREATE TABLE [BiddingData] ([ID] COUNTER,[Section] INTEGER,[Table] INTEGER,"
                                          "[Round] INTEGER,[Board] INTEGER,[Counter] INTEGER,[Direction] TEXT(2),[Bid] "
                                          "TEXT(10),[DateLog] DATE,[TimeLog] TIME,[Erased] YESNO DEFAULT False)";
        QTest::newRow("8 PlayData")
            << true << false << 8
            << "CREATE TABLE [PlayData] ([ID] COUNTER,[Section] INTEGER,[Table] INTEGER,[Round] "
               "INTEGER,[Board] INTEGER,[Counter] INTEGER,[Direction] TEXT(2),[Card] TEXT(10),"
               "[DateLog] DATE,[TimeLog] TIME,[Erased] YESNO DEFAULT False)";
        QTest::newRow("9 HandRecord")
            << true << false << 9
            << "CREATE TABLE [HandRecord] ([Section] INTEGER,[Board] INTEGER,[NorthSpades] TEXT(13),[NorthHearts] "
               "TEXT(13),[NorthDiamonds] TEXT(13),[NorthClubs] TEXT(13),[EastSpades] TEXT(13),[EastHearts] TEXT(13),"
               "[EastDiamonds] TEXT(13),[EastClubs] TEXT(13),[SouthSpades] TEXT(13),[SouthHearts] TEXT(13),"
               "[SouthDiamonds] TEXT(13),[SouthClubs] TEXT(13),[WestSpades] TEXT(13),[WestHearts] TEXT(13),"
               "[WestDiamonds] TEXT(13),[WestClubs] TEXT(13))";
        QTest::newRow("10 PlayerNumbers")
            << false << false << 10
            << "CREATE TABLE [PlayerNumbers] ([Section] INTEGER,[Table] INTEGER,[Direction] "
               "TEXT(2) NOT NULL,[Number] TEXT(16) DEFAULT '',[Name] TEXT(19) DEFAULT '',"
               "[Updated] YESNO DEFAULT False)";
        QTest::newRow("11 basic, play tables") << true << false << 11 << settingsHead + validation + basicTail;
        QTest::newRow("11 basic, no play tables") << false << false << 11 << settingsHead + basicTail;
        QTest::newRow("11 BM2, play tables") << true << true << 11 << settingsHead + validation + bm2Tail;
        QTest::newRow("11 BM2, no play tables") << false << true << 11 << settingsHead + bm2Tail;
    }

    void statementText()
    {
        QFETCH(bool, withPlayTables);
        QFETCH(bool, withBM2);
        QFETCH(int, number);
        QFETCH(QString, text);
        const QStringList statements = TableStatements(withPlayTables, withBM2);
        QCOMPARE(statements.size(), 11);
        QCOMPARE(statements.at(number - 1), text);
    }

    void playTablesRemoveExactlyTheValidationColumn()
    {
        for (const bool bm2 : { false, true }) {
            const QString with = TableStatements(true, bm2).at(10);
            const QString without = TableStatements(false, bm2).at(10);
            QCOMPARE(with.size() - without.size(), 42);
            QCOMPARE(QString(with).remove(kHandRecordValidationColumn.toString()), without);
            QVERIFY(!without.contains(QStringLiteral("HandRecordValidation")));
        }
    }

    void createdFileReportsTheSchema_data()
    {
        QTest::addColumn<bool>("withPlayTables");
        QTest::addColumn<bool>("withBM2");
        QTest::newRow("as the build makes it") << false << false;
        QTest::newRow("play tables") << true << false;
        QTest::newRow("BM2 settings") << false << true;
        QTest::newRow("both") << true << true;
    }

    void createdFileReportsTheSchema()
    {
        QFETCH(bool, withPlayTables);
        QFETCH(bool, withBM2);
        QString error = QStringLiteral("not cleared");
        CreateBWS(m_file, withPlayTables, withBM2, error);
        QCOMPARE(error, QString());
        QCOMPARE(DetectDatabaseFormat(m_file), DatabaseFormat::Sqlite);

        Schema expected = ExpectedSchema(withPlayTables, withBM2);
        // On the Access path the file holds what the Jet driver made of the defaults: Yes as -1, No as 0.
        if (CreatesAccessFiles()) {
            for (auto& [table, columns] : expected) {
                columns.replaceInStrings(QStringLiteral("|True|"), QStringLiteral("|-1|"));
                columns.replaceInStrings(QStringLiteral("|False|"), QStringLiteral("|0|"));
                columns.replaceInStrings(QStringLiteral("|\"9642\"|"), QStringLiteral("|'9642'|"));
            }
        }
        QStringList expectedTables;
        for (const auto& [table, columns] : expected)
            expectedTables << table;
        QCOMPARE(ReportedTables(m_file), expectedTables);
        for (const auto& [table, columns] : expected) {
            QCOMPARE(ReportedColumns(m_file, table), columns);
            if (columns.first().contains(QStringLiteral("COUNTER")))
                QVERIFY2(CounterIsAutoIncrement(m_file, table), qPrintable(table));
        }
    }

    void settingsColumnsOfTheDefaultDatabase()
    {
        QString error;
        CreateBWS(m_file, false, false, error);
        QCOMPARE(error, QString());
        TTable settings(ScoringConnectionString(m_file), QStringLiteral("Settings"));
        settings.Open();
        const QStringList names = settings.FieldNames();
        QCOMPARE(names.size(), 20);
        QCOMPARE(names.mid(17), L({ "BoardOrderVerification", "AutoShutDownBPC", "custom_pairs" }));
    }

    void defaultsOfAnAppendedRow()
    {
        QString error;
        CreateBWS(m_file, false, true, error);
        QCOMPARE(error, QString());
        TTable tables(ScoringConnectionString(m_file), QStringLiteral("Tables"));
        tables.Open();
        tables.Append();
        tables.SetField(QStringLiteral("Section"), 1);
        tables.SetField(QStringLiteral("Table"), 4);
        tables.Post();
        tables.Close();
        tables.Open();
        QCOMPARE(tables.RecordCount(), 1);
        QCOMPARE(tables.FieldAsInteger(QStringLiteral("Table")), 4);
        QCOMPARE(tables.FieldAsInteger(QStringLiteral("ComputerID")), 0);
        QCOMPARE(tables.FieldAsInteger(QStringLiteral("Status")), 0);
        QCOMPARE(tables.FieldAsInteger(QStringLiteral("LogOnOff")), 2);
        QCOMPARE(tables.FieldAsInteger(QStringLiteral("UpdateFromRound")), 0);
        QCOMPARE(tables.FieldAsInteger(QStringLiteral("CurrentRound")), 0);
        QCOMPARE(tables.FieldAsInteger(QStringLiteral("CurrentBoard")), 0);

        TTable settings(ScoringConnectionString(m_file), QStringLiteral("Settings"));
        settings.Open();
        settings.Append();
        settings.Post();
        settings.Close();
        settings.Open();
        QCOMPARE(settings.FieldAsBoolean(QStringLiteral("AutoShutDownBPC")), true);
        QCOMPARE(settings.FieldAsBoolean(QStringLiteral("BM2ScoreRecap")), false);
        QCOMPARE(settings.FieldAsString(QStringLiteral("BM2PINcode")), QStringLiteral("9642"));
        QCOMPARE(settings.FieldAsInteger(QStringLiteral("AutopoweroffTime")), 20);
        QVERIFY(settings.FieldValue(QStringLiteral("Section")).isNull());

        TTable seats(ScoringConnectionString(m_file), QStringLiteral("PlayerNumbers"));
        seats.Open();
        seats.Append();
        seats.SetField(QStringLiteral("Direction"), QStringLiteral("N"));
        seats.Post();
        QCOMPARE(seats.FieldValue(QStringLiteral("Number")).toString(), QString());
        QVERIFY(!seats.FieldValue(QStringLiteral("Number")).isNull());
        seats.Append();
        QVERIFY_THROWS_EXCEPTION(KibicError, seats.Post()); // Direction is NOT NULL
    }

    void existingFileFailsBeforeAnyStatement_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("text") << QByteArray("a file that is not a database");
        QTest::newRow("empty") << QByteArray();
    }

    void existingFileFailsBeforeAnyStatement()
    {
        QFETCH(QByteArray, content);
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        QString error;
        CreateBWS(m_file, false, false, error);
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(m_file), qPrintable(error));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }

    void existingDatabaseKeepsItsTables()
    {
        QString error;
        CreateBWS(m_file, false, false, error);
        QCOMPARE(error, QString());
        {
            DbConnection connection(ScoringConnectionString(m_file));
            (void)connection.Execute(QStringLiteral("DROP TABLE [Settings]"));
        }
        CreateBWS(m_file, false, false, error);
        QVERIFY(!error.isEmpty());
        QVERIFY(!ReportedTables(m_file).contains(QStringLiteral("Settings")));
    }

    void folderThatCannotHoldTheFile()
    {
        const QString file = m_dir->filePath(QStringLiteral("no/such/folder/cup.bws"));
        QString error;
        CreateEmptyDatabase(file, error);
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(file));
        CreateBWS(file, false, false, error);
        QVERIFY(!error.isEmpty());
    }

    // A folder name with ";" must not cut the path short: the file is made where it was asked for.
    void pathWithSemicolon()
    {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("club;2024")));
        const QString file = m_dir->filePath(QStringLiteral("club;2024/cup.bws"));
        QCOMPARE(DataSourceOf(CreationConnectionString(file)), file);
        QCOMPARE(DataSourceOf(StatementConnectionString(file)), file);
        QCOMPARE(DataSourceOf(ScoringConnectionString(file)), file);
        if (qEnvironmentVariable("KIBIC_DB_BACKEND") == QStringLiteral("odbc"))
            return; // the ODBC connection string itself cannot carry such a path
        QString error;
        CreateBWS(file, false, false, error);
        QCOMPARE(error, QString());
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("club"))));
        TTable settings(ScoringConnectionString(file), QStringLiteral("Settings"));
        settings.Open();
        QCOMPARE(settings.RecordCount(), 0);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

QTEST_GUILESS_MAIN(TestCreateBWS)
#include "TestCreateBWS.moc"
