// The Jet stand-in ODBC driver against what Microsoft documents of the Jet 4.0 ODBC driver, through
// unixODBC's driver manager: the schema's statements, Jet's SQL, parameters taken literally, text
// limits, the connection string, file creation, locks in Polish and every injected fault.
#include "support/JetOdbcClient.h"
#include "support/ProgramRun.h"

#include <odbcinst.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic::test;

namespace {

QStringList SchemaStatements()
{
    QFile file(QStringLiteral(KIBIC_TEST_DATA_DIR "/jet-standin/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList statements;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty() && !line.startsWith("--"))
            statements << QString::fromUtf8(line);
    }
    return statements;
}

QString TableOf(const QString& createTable)
{
    return createTable.section(QLatin1Char('['), 1, 1).section(QLatin1Char(']'), 0, 0);
}

// A new empty database file made through SQLConfigDataSource, as Kibic makes one.
bool CreateDatabase(const QString& path)
{
    const QByteArray attributes = "CREATE_DBV4=\"" + path.toUtf8() + "\" General" + QByteArray(2, '\0');
    return SQLConfigDataSource(nullptr, ODBC_ADD_DSN, "Microsoft Access Driver (*.mdb)", attributes.constData());
}

QString InstallerError()
{
    DWORD code = 0;
    char message[1024] = {};
    WORD length = 0;
    SQLInstallerError(1, &code, message, sizeof message, &length);
    return QString::fromUtf8(message);
}

QString ProbeProgram()
{
    return QStringLiteral(KIBIC_BINARY_DIR "/bin/jet-standin-probe");
}

QStringList TraceLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestJetStandin : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    QString NewDatabase()
    {
        const QString path = m_dir.filePath(QStringLiteral("t%1.bws").arg(++m_files));
        if (!CreateDatabase(path))
            qWarning("SQLConfigDataSource: %s", qPrintable(InstallerError()));
        return path;
    }

    // A new file with the eleven tables, made over ExtendedAnsiSQL=1.
    QString NewScoringDatabase()
    {
        const QString path = NewDatabase();
        OdbcSession session;
        if (!session.Connect(AccessConnectionString(path)))
            return path;
        for (const QString& statement : SchemaStatements()) {
            if (!session.Execute(statement))
                qWarning("%s: %s", qPrintable(TableOf(statement)), qPrintable(session.Last().Message));
        }
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void driverDescribesItselfAsJet();
    void schemaStatements_data();
    void schemaStatements();
    void declaredTypesStayInTheFile();
    void columnsDescribedAsJetDoes_data();
    void columnsDescribedAsJetDoes();
    void defaultsFillUnnamedColumns();
    void identityIsPerConnection();
    void yesNoKeepsMinusOne_data();
    void yesNoKeepsMinusOne();
    void bigIntRefused_data();
    void bigIntRefused();
    void boundLengthTakenLiterally_data();
    void boundLengthTakenLiterally();
    void textLongerThanColumn_data();
    void textLongerThanColumn();
    void jetSqlRefusals_data();
    void jetSqlRefusals();
    void textComparedWithoutCase();
    void longTextInPieces();
    void datesAndTimes();
    void getDataConversions_data();
    void getDataConversions();
    void preparedStatementRunsAgainWithNewValues();
    void odbc2ApplicationSeesSqlTimestamp();
    void autocommitOnCommitsTheTransaction();
    void kibicStatementsRun();
    void connectFailures_data();
    void connectFailures();
    void bracedPathWithSemicolon();
    void createDatabase();
    void transactions();
    void lockReportedInPolishAfterTheWait();
    void injectedFaults_data();
    void injectedFaults();
    void traceLines();
};

void TestJetStandin::driverDescribesItselfAsJet()
{
    OdbcSession session;
    QVERIFY2(session.Connect(AccessConnectionString(NewDatabase())), qPrintable(session.Last().Message));
    QCOMPARE(session.InfoText(SQL_DRIVER_NAME), QStringLiteral("odbcjt32.dll"));
    QCOMPARE(session.InfoText(SQL_DRIVER_VER), QStringLiteral("04.00.6305"));
    QCOMPARE(session.InfoText(SQL_DBMS_NAME), QStringLiteral("ACCESS"));
    QCOMPARE(session.InfoText(SQL_DBMS_VER), QStringLiteral("04.00.0000"));
    QCOMPARE(session.InfoNumber(SQL_CURSOR_COMMIT_BEHAVIOR), SQLUSMALLINT(SQL_CB_CLOSE));
    QCOMPARE(session.InfoNumber(SQL_TXN_CAPABLE), SQLUSMALLINT(SQL_TC_ALL));
}

void TestJetStandin::schemaStatements_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("extendedAnsiSql");
    QTest::addColumn<bool>("accepted");
    const QStringList statements = SchemaStatements();
    QCOMPARE(statements.size(), 11);
    for (const QString& statement : statements) {
        const bool hasDefault = statement.contains(QStringLiteral(" DEFAULT "));
        QTest::newRow(qPrintable(TableOf(statement) + QStringLiteral(" ExtendedAnsiSQL=1")))
            << statement << true << true;
        QTest::newRow(qPrintable(TableOf(statement) + QStringLiteral(" without ExtendedAnsiSQL")))
            << statement << false << !hasDefault;
    }
}

// DEFAULT is ANSI-92 syntax, which Jet takes only with ExtendedAnsiSQL=1.
void TestJetStandin::schemaStatements()
{
    QFETCH(QString, statement);
    QFETCH(bool, extendedAnsiSql);
    QFETCH(bool, accepted);
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(NewDatabase(), extendedAnsiSql)));
    QCOMPARE(session.Execute(statement), accepted);
    if (!accepted) {
        QCOMPARE(session.Last().State, QStringLiteral("42000"));
        QCOMPARE(session.Last().Native, -3551);
        QCOMPARE(session.Last().Message,
            QStringLiteral("[Microsoft][Sterownik ODBC Microsoft Access] Błąd składni w instrukcji CREATE TABLE."));
    }
}

void TestJetStandin::declaredTypesStayInTheFile()
{
    const QString path = NewScoringDatabase();
    const auto columns = SqliteRows(path, QStringLiteral("SELECT name, type FROM pragma_table_info('ReceivedData')"));
    QCOMPARE(columns.size(), 21);
    QCOMPARE(columns[8], (QStringList { QStringLiteral("NS/EW"), QStringLiteral("TEXT(2)") }));
    QCOMPARE(columns[13], (QStringList { QStringLiteral("DateLog"), QStringLiteral("DATE") }));
    QCOMPARE(columns[14], (QStringList { QStringLiteral("TimeLog"), QStringLiteral("TIME") }));
    QCOMPARE(columns[15], (QStringList { QStringLiteral("Processed"), QStringLiteral("YESNO") }));
    const auto sql = SqliteRows(path, QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'ReceivedData'"));
    QVERIFY(sql.value(0).value(0).contains(QStringLiteral("/* Jet: COUNTER */")));
    QCOMPARE(
        SqliteRows(path, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table'")).value(0).value(0),
        QStringLiteral("12")); // the eleven and SQLite's own sqlite_sequence
}

void TestJetStandin::columnsDescribedAsJetDoes_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("sqlType");
    QTest::addColumn<int>("size");
    QTest::newRow("COUNTER") << QStringLiteral("ID") << int(SQL_INTEGER) << 10;
    QTest::newRow("INTEGER") << QStringLiteral("Board") << int(SQL_INTEGER) << 10;
    QTest::newRow("TEXT(2)") << QStringLiteral("[NS/EW]") << int(SQL_WVARCHAR) << 2;
    QTest::newRow("TEXT(255)") << QStringLiteral("Remarks") << int(SQL_WVARCHAR) << 255;
    QTest::newRow("YESNO") << QStringLiteral("Processed") << int(SQL_BIT) << 1;
    QTest::newRow("DATE") << QStringLiteral("DateLog") << int(SQL_TYPE_TIMESTAMP) << 19;
    QTest::newRow("TIME") << QStringLiteral("TimeLog") << int(SQL_TYPE_TIMESTAMP) << 19;
}

void TestJetStandin::columnsDescribedAsJetDoes()
{
    QFETCH(QString, column);
    QFETCH(int, sqlType);
    QFETCH(int, size);
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(NewScoringDatabase())));
    SQLHSTMT statement
        = session.OpenCursor(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM [ReceivedData] WHERE 1=0"));
    QVERIFY2(statement != SQL_NULL_HSTMT, qPrintable(session.Last().Message));
    SQLSMALLINT type = 0;
    SQLULEN columnSize = 0;
    QVERIFY(SQL_SUCCEEDED(SQLDescribeColW(statement, 1, nullptr, 0, nullptr, &type, &columnSize, nullptr, nullptr)));
    QCOMPARE(int(type), sqlType);
    QCOMPARE(int(columnSize), size);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

void TestJetStandin::defaultsFillUnnamedColumns()
{
    const QString path = NewScoringDatabase();
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(path)));
    QVERIFY2(session.Execute(QStringLiteral("INSERT INTO [Settings] ([ShowResults],[ScorePoints]) VALUES (?,?)"),
                 { OdbcParameter::Int(0), OdbcParameter::Int(2) }),
        qPrintable(session.Last().Message));
    QVERIFY(
        session.Execute(QStringLiteral("INSERT INTO [PlayerNumbers] ([Section],[Table],[Direction]) VALUES (?,?,?)"),
            { OdbcParameter::Int(1), OdbcParameter::Int(3), OdbcParameter::Text(QStringLiteral("N")) }));
    QCOMPARE(SqliteRows(path,
                 QStringLiteral(
                     "SELECT ShowResults, ShowOwnResult, ScorePoints, AutopoweroffTime, BM2PINcode, custom_pairs, "
                     "Section FROM Settings")),
        (QList<QStringList> { { QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("2"), QStringLiteral("20"),
            QStringLiteral("9642"), QStringLiteral("-1"), QStringLiteral("<null>") } }));
    QCOMPARE(SqliteRows(path, QStringLiteral("SELECT Number, Name, Updated FROM PlayerNumbers")),
        (QList<QStringList> { { QString(), QString(), QStringLiteral("0") } }));
}

void TestJetStandin::identityIsPerConnection()
{
    const QString path = NewScoringDatabase();
    OdbcSession first;
    OdbcSession second;
    QVERIFY(first.Connect(AccessConnectionString(path)));
    QVERIFY(second.Connect(AccessConnectionString(path)));
    QCOMPARE(first.Query(QStringLiteral("SELECT @@IDENTITY")), (QList<QStringList> { { QStringLiteral("0") } }));
    const QString insert = QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES (?)");
    QVERIFY(first.Execute(insert, { OdbcParameter::Text(QStringLiteral("A")) }));
    QVERIFY(second.Execute(insert, { OdbcParameter::Text(QStringLiteral("B")) }));
    QVERIFY(second.Execute(insert, { OdbcParameter::Text(QStringLiteral("C")) }));
    QVERIFY(first.Execute(QStringLiteral("INSERT INTO [Tables] ([Section],[Table],[ComputerID]) VALUES (1,1,1)")));
    QCOMPARE(first.Query(QStringLiteral("SELECT @@IDENTITY")), (QList<QStringList> { { QStringLiteral("1") } }));
    QCOMPARE(second.Query(QStringLiteral("SELECT @@IDENTITY")), (QList<QStringList> { { QStringLiteral("3") } }));
}

void TestJetStandin::yesNoKeepsMinusOne_data()
{
    QTest::addColumn<bool>("asBit");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("stored");
    QTest::newRow("SQL_C_BIT 1") << true << 1 << QStringLiteral("-1");
    QTest::newRow("SQL_C_BIT 0") << true << 0 << QStringLiteral("0");
    QTest::newRow("SQL_C_SLONG -1") << false << -1 << QStringLiteral("-1");
    QTest::newRow("SQL_C_SLONG 1") << false << 1 << QStringLiteral("-1");
    QTest::newRow("SQL_C_SLONG 5") << false << 5 << QStringLiteral("-1");
    QTest::newRow("SQL_C_SLONG 0") << false << 0 << QStringLiteral("0");
}

// Jet keeps Yes as -1 whatever nonzero value is written; read over ODBC the column is an SQL_BIT.
void TestJetStandin::yesNoKeepsMinusOne()
{
    QFETCH(bool, asBit);
    QFETCH(int, value);
    QFETCH(QString, stored);
    const QString path = NewScoringDatabase();
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(path)));
    QVERIFY(session.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([Section]) VALUES (1)")));
    const OdbcParameter flag = asBit ? OdbcParameter::Bit(static_cast<quint8>(value)) : OdbcParameter::Int(value);
    QVERIFY2(session.Execute(QStringLiteral("UPDATE [ReceivedData] SET [Processed]=? WHERE [ID] IN (?)"),
                 { flag, OdbcParameter::Int(1) }),
        qPrintable(session.Last().Message));
    QCOMPARE(SqliteRows(path, QStringLiteral("SELECT Processed FROM ReceivedData")).value(0).value(0), stored);
    QCOMPARE(session.Query(QStringLiteral("SELECT [Processed] FROM [ReceivedData]")).value(0).value(0),
        stored == QStringLiteral("0") ? QStringLiteral("0") : QStringLiteral("1"));
    QCOMPARE(
        session.Query(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed]=True")).value(0).value(0),
        stored == QStringLiteral("0") ? QStringLiteral("0") : QStringLiteral("1"));
}

void TestJetStandin::bigIntRefused_data()
{
    QTest::addColumn<int>("cType");
    QTest::addColumn<int>("sqlType");
    QTest::newRow("SQL_C_SBIGINT/SQL_BIGINT") << int(SQL_C_SBIGINT) << int(SQL_BIGINT);
    QTest::newRow("SQL_C_SBIGINT/SQL_INTEGER") << int(SQL_C_SBIGINT) << int(SQL_INTEGER);
    QTest::newRow("SQL_C_SLONG/SQL_BIGINT") << int(SQL_C_SLONG) << int(SQL_BIGINT);
}

void TestJetStandin::bigIntRefused()
{
    QFETCH(int, cType);
    QFETCH(int, sqlType);
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(NewScoringDatabase())));
    SQLHSTMT statement = session.NewStatement();
    const QString sql = QStringLiteral("SELECT [ID] FROM [ReceivedData] WHERE [ID]>=?");
    QVERIFY(SQL_SUCCEEDED(
        SQLPrepareW(statement, reinterpret_cast<SQLWCHAR*>(const_cast<QChar*>(sql.constData())), SQL_NTS)));
    qint64 value = 1;
    SQLLEN indicator = 8;
    QCOMPARE(SQLBindParameter(statement, 1, SQL_PARAM_INPUT, static_cast<SQLSMALLINT>(cType),
                 static_cast<SQLSMALLINT>(sqlType), 19, 0, &value, 8, &indicator),
        SQLRETURN(SQL_ERROR));
    const OdbcDiag diag = session.StatementDiag(statement);
    QCOMPARE(diag.State, QStringLiteral("HYC00"));
    QCOMPARE(diag.Native, 106);
    QCOMPARE(diag.Message,
        QStringLiteral("[Microsoft][Sterownik ODBC Microsoft Access] Funkcja opcjonalna nie jest zaimplementowana."));
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

void TestJetStandin::boundLengthTakenLiterally_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("how"); // 0 exact length, 1 length counting the NUL, 2 SQL_NTS
    QTest::addColumn<QString>("storedHex");
    QTest::newRow("N exact") << QStringLiteral("N") << 0 << QStringLiteral("4E");
    QTest::newRow("N with its NUL") << QStringLiteral("N") << 1 << QStringLiteral("4E00");
    QTest::newRow("N as SQL_NTS") << QStringLiteral("N") << 2 << QStringLiteral("4E");
    QTest::newRow("empty with its NUL") << QString() << 1 << QStringLiteral("00");
    QTest::newRow("Polish exact") << QStringLiteral("ŁÓDŹ") << 0 << QStringLiteral("C581C39344C5B9");
}

// A text bound with its terminating NUL inside its length is stored with the NUL, so a test reading
// the file sees what the terminal server would read.
void TestJetStandin::boundLengthTakenLiterally()
{
    QFETCH(QString, text);
    QFETCH(int, how);
    QFETCH(QString, storedHex);
    const QString path = NewScoringDatabase();
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(path)));
    const OdbcParameter value = how == 2 ? OdbcParameter::NtsText(text) : OdbcParameter::Text(text, how == 1);
    QVERIFY2(session.Execute(QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES (?)"), { value }),
        qPrintable(session.Last().Message));
    QCOMPARE(SqliteRows(path, QStringLiteral("SELECT hex(Computer) FROM Clients")).value(0).value(0), storedHex);
}

void TestJetStandin::textLongerThanColumn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("literal"); // written as a quoted literal instead of a bound text
    QTest::addColumn<bool>("extendedAnsiSql");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("stored");
    for (const bool literal : { false, true }) {
        const QString how = literal ? QStringLiteral(" literal") : QStringLiteral(" bound");
        QTest::newRow(qPrintable(QStringLiteral("fits") + how))
            << QStringLiteral("NS") << literal << true << true << QStringLiteral("NS");
        QTest::newRow(qPrintable(QStringLiteral("one too long, ExtendedAnsiSQL") + how))
            << QStringLiteral("NSE") << literal << true << false << QString();
        QTest::newRow(qPrintable(QStringLiteral("one too long, without") + how))
            << QStringLiteral("NSE") << literal << false << true << QStringLiteral("NS");
        QTest::newRow(qPrintable(QStringLiteral("Polish fits") + how))
            << QStringLiteral("ŁÓ") << literal << true << true << QStringLiteral("ŁÓ");
        QTest::newRow(qPrintable(QStringLiteral("quote fits") + how))
            << QStringLiteral("'a") << literal << true << true << QStringLiteral("'a");
    }
}

// "Data Truncation Detection Enabled Using ExtendedAnsiSQL": refused with the flag, cut without it.
void TestJetStandin::textLongerThanColumn()
{
    QFETCH(QString, text);
    QFETCH(bool, literal);
    QFETCH(bool, extendedAnsiSql);
    QFETCH(bool, accepted);
    QFETCH(QString, stored);
    const QString path = NewScoringDatabase();
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(path, extendedAnsiSql)));
    const bool done = literal ? session.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([NS/EW]) VALUES ('")
                          + QString(text).replace(QStringLiteral("'"), QStringLiteral("''")) + QStringLiteral("')"))
                              : session.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([NS/EW]) VALUES (?)"),
                                  { OdbcParameter::Text(text) });
    QCOMPARE(done, accepted);
    if (!accepted) {
        QCOMPARE(session.Last().State, QStringLiteral("22001"));
        QCOMPARE(session.Last().Native, -3163);
        QVERIFY2(
            session.Last().Message.contains(QStringLiteral("ReceivedData.NS/EW")), qPrintable(session.Last().Message));
        QVERIFY(SqliteRows(path, QStringLiteral("SELECT * FROM ReceivedData")).isEmpty());
    } else {
        QCOMPARE(SqliteRows(path, QStringLiteral("SELECT [NS/EW] FROM ReceivedData")).value(0).value(0), stored);
    }
}

void TestJetStandin::jetSqlRefusals_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("native");
    QTest::newRow("DEFAULT VALUES") << QStringLiteral("INSERT INTO [Clients] DEFAULT VALUES") << QStringLiteral("42000")
                                    << -3502;
    QTest::newRow("missing table") << QStringLiteral("SELECT * FROM [players]") << QStringLiteral("42S02") << -1305;
    QTest::newRow("unknown column") << QStringLiteral("SELECT [Nothing] FROM [Clients]") << QStringLiteral("07002")
                                    << -3010;
    QTest::newRow("table exists") << QStringLiteral("CREATE TABLE [Clients] ([ID] COUNTER)") << QStringLiteral("42S01")
                                  << -1303;
    QTest::newRow("unknown type") << QStringLiteral("CREATE TABLE [X] ([A] WHATEVER)") << QStringLiteral("42000")
                                  << -3551;
    QTest::newRow("NOT NULL") << QStringLiteral("INSERT INTO [Section] ([ID]) VALUES (1)") << QStringLiteral("23000")
                              << -1504;
}

void TestJetStandin::jetSqlRefusals()
{
    QFETCH(QString, sql);
    QFETCH(QString, state);
    QFETCH(int, native);
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(NewScoringDatabase())));
    QVERIFY(!session.Execute(sql));
    QCOMPARE(session.Last().State, state);
    QCOMPARE(session.Last().Native, native);
    QVERIFY(session.Last().Message.startsWith(QStringLiteral("[Microsoft][Sterownik ODBC Microsoft Access] ")));
}

void TestJetStandin::textComparedWithoutCase()
{
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(NewScoringDatabase())));
    QVERIFY(session.Execute(QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES (?)"),
        { OdbcParameter::Text(QStringLiteral("SĘDZIA-ŁÓDŹ")) }));
    QCOMPARE(session.Query(QStringLiteral("SELECT COUNT(*) FROM [Clients] WHERE [Computer]=?"),
                 { OdbcParameter::Text(QStringLiteral("sędzia-łódź")) }),
        (QList<QStringList> { { QStringLiteral("1") } }));
    QCOMPARE(session.Query(QStringLiteral("SELECT LEN([Computer]) FROM [Clients]")),
        (QList<QStringList> { { QStringLiteral("11") } }));
}

// "SQLGetData": a long text comes in pieces, each with 01004 and the length still to come.
void TestJetStandin::longTextInPieces()
{
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(NewDatabase())));
    QVERIFY(session.Execute(QStringLiteral("CREATE TABLE [Notes] ([Body] MEMO)")));
    const QString body = QString(150, QLatin1Char('a')) + QString(150, QChar(0x0141));
    QVERIFY(session.Execute(QStringLiteral("INSERT INTO [Notes] ([Body]) VALUES (?)"), { OdbcParameter::Text(body) }));
    SQLHSTMT statement = session.OpenCursor(QStringLiteral("SELECT [Body] FROM [Notes]"));
    QVERIFY2(statement != SQL_NULL_HSTMT, qPrintable(session.Last().Message));
    QCOMPARE(SQLFetch(statement), SQLRETURN(SQL_SUCCESS));
    QString read;
    QList<SQLLEN> lengths;
    SQLWCHAR piece[101];
    SQLLEN length = 0;
    SQLRETURN rc = SQL_SUCCESS;
    while ((rc = SQLGetData(statement, 1, SQL_C_WCHAR, piece, sizeof piece, &length)) != SQL_NO_DATA) {
        QVERIFY(SQL_SUCCEEDED(rc));
        lengths << length;
        if (rc == SQL_SUCCESS_WITH_INFO)
            QCOMPARE(session.StatementDiag(statement).State, QStringLiteral("01004"));
        read += QString::fromUtf16(reinterpret_cast<const char16_t*>(piece));
        if (rc == SQL_SUCCESS)
            break;
    }
    QCOMPARE(read, body);
    QCOMPARE(lengths, (QList<SQLLEN> { 600, 400, 200 }));
    QCOMPARE(SQLGetData(statement, 1, SQL_C_WCHAR, piece, sizeof piece, &length), SQLRETURN(SQL_NO_DATA));
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

// Jet has one Date/Time type: a date alone is midnight, a time alone falls on day zero, 1899-12-30.
void TestJetStandin::datesAndTimes()
{
    const QString path = NewScoringDatabase();
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(path)));
    QVERIFY2(session.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([DateLog],[TimeLog]) VALUES (?,?)"),
                 { OdbcParameter::Date(2026, 3, 14, true), OdbcParameter::Time(19, 5, 7, true) }),
        qPrintable(session.Last().Message));
    QVERIFY(session.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([DateLog],[TimeLog]) VALUES (?,?)"),
        { OdbcParameter::Date(2026, 3, 15), OdbcParameter::Time(8, 0, 0) }));
    QCOMPARE(SqliteRows(path, QStringLiteral("SELECT DateLog, TimeLog FROM ReceivedData ORDER BY ID")),
        (QList<QStringList> { { QStringLiteral("2026-03-14 00:00:00"), QStringLiteral("1899-12-30 19:05:07") },
            { QStringLiteral("2026-03-15 00:00:00"), QStringLiteral("1899-12-30 08:00:00") } }));
    SQLHSTMT statement = session.OpenCursor(QStringLiteral("SELECT [TimeLog] FROM [ReceivedData] ORDER BY [ID]"));
    QVERIFY2(statement != SQL_NULL_HSTMT, qPrintable(session.Last().Message));
    QCOMPARE(SQLFetch(statement), SQLRETURN(SQL_SUCCESS));
    SQL_TIME_STRUCT time {};
    SQLLEN length = 0;
    QCOMPARE(SQLGetData(statement, 1, SQL_C_TYPE_TIME, &time, sizeof time, &length), SQLRETURN(SQL_SUCCESS));
    QCOMPARE(time.hour, SQLUSMALLINT(19));
    QCOMPARE(time.second, SQLUSMALLINT(7));
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

void TestJetStandin::getDataConversions_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("cType");
    QTest::addColumn<int>("result"); // SQLRETURN
    QTest::addColumn<QString>("state"); // of the first diagnostic, empty for none
    QTest::addColumn<QString>("value"); // the number read, for a numeric C type
    QTest::newRow("Yes/No as SQL_C_SLONG")
        << QStringLiteral("[Processed]") << int(SQL_C_SLONG) << int(SQL_SUCCESS) << QString() << QStringLiteral("1");
    QTest::newRow("Yes/No as SQL_C_BIT") << QStringLiteral("[Processed]") << int(SQL_C_BIT) << int(SQL_SUCCESS)
                                         << QString() << QStringLiteral("1");
    QTest::newRow("COUNTER as SQL_C_SBIGINT")
        << QStringLiteral("[ID]") << int(SQL_C_SBIGINT) << int(SQL_SUCCESS) << QString() << QStringLiteral("1");
    QTest::newRow("numeric text as SQL_C_SLONG")
        << QStringLiteral("[Contract]") << int(SQL_C_SLONG) << int(SQL_SUCCESS) << QString() << QStringLiteral("12");
    QTest::newRow("other text as SQL_C_SLONG")
        << QStringLiteral("[Result]") << int(SQL_C_SLONG) << int(SQL_ERROR) << QStringLiteral("22018") << QString();
    QTest::newRow("70000 as SQL_C_SSHORT")
        << QStringLiteral("[Board]") << int(SQL_C_SSHORT) << int(SQL_ERROR) << QStringLiteral("22003") << QString();
    QTest::newRow("2.5 as SQL_C_SLONG") << QStringLiteral("[PairNS]") << int(SQL_C_SLONG) << int(SQL_SUCCESS_WITH_INFO)
                                        << QStringLiteral("01S07") << QStringLiteral("2");
    QTest::newRow("time of day as SQL_C_TYPE_DATE")
        << QStringLiteral("[TimeLog]") << int(SQL_C_TYPE_DATE) << int(SQL_SUCCESS_WITH_INFO) << QStringLiteral("01S07")
        << QString();
    QTest::newRow("NULL without an indicator")
        << QStringLiteral("[Remarks]") << int(SQL_C_WCHAR) << int(SQL_ERROR) << QStringLiteral("22002") << QString();
}

// "Converting Data from SQL to C Data Types": the numbers, the warnings and the refusals.
void TestJetStandin::getDataConversions()
{
    QFETCH(QString, column);
    QFETCH(int, cType);
    QFETCH(int, result);
    QFETCH(QString, state);
    QFETCH(QString, value);
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(NewScoringDatabase())));
    QVERIFY(session.Execute(
        QStringLiteral("INSERT INTO [ReceivedData] ([Board],[PairNS],[Contract],[Result],[TimeLog],[Processed]) "
                       "VALUES (70000, 2.5, '12', '=', ?, True)"),
        { OdbcParameter::Time(19, 5, 7) }));
    SQLHSTMT statement
        = session.OpenCursor(QStringLiteral("SELECT ") + column + QStringLiteral(" FROM [ReceivedData]"));
    QVERIFY2(statement != SQL_NULL_HSTMT, qPrintable(session.Last().Message));
    QCOMPARE(SQLFetch(statement), SQLRETURN(SQL_SUCCESS));
    char buffer[64] = {};
    SQLLEN length = 0;
    const bool withIndicator = state != QStringLiteral("22002");
    QCOMPARE(int(SQLGetData(statement, 1, static_cast<SQLSMALLINT>(cType), buffer, sizeof buffer,
                 withIndicator ? &length : nullptr)),
        result);
    QCOMPARE(session.StatementDiag(statement).State, state);
    if (!value.isEmpty()) {
        qint64 number = 0;
        if (cType == SQL_C_SLONG)
            number = *reinterpret_cast<SQLINTEGER*>(buffer);
        else if (cType == SQL_C_BIT)
            number = *reinterpret_cast<SQLCHAR*>(buffer);
        else
            number = *reinterpret_cast<SQLBIGINT*>(buffer);
        QCOMPARE(QString::number(number), value);
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
}

// Kibic prepares a statement once per connection and executes it again: each execution reads the
// bound buffers as they are then.
void TestJetStandin::preparedStatementRunsAgainWithNewValues()
{
    const QString path = NewScoringDatabase();
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(path)));
    SQLHSTMT statement = session.NewStatement();
    const QString sql = QStringLiteral("INSERT INTO [PlayerNumbers] ([Section],[Table],[Direction]) VALUES (?,?,?)");
    QVERIFY(SQL_SUCCEEDED(
        SQLPrepareW(statement, reinterpret_cast<SQLWCHAR*>(const_cast<QChar*>(sql.constData())), SQL_NTS)));
    SQLINTEGER section = 1;
    SQLINTEGER table = 0;
    SQLWCHAR direction[2] = {};
    SQLLEN numberLength = 4;
    SQLLEN directionLength = 2;
    QVERIFY(SQL_SUCCEEDED(
        SQLBindParameter(statement, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 10, 0, &section, 4, &numberLength)));
    QVERIFY(SQL_SUCCEEDED(
        SQLBindParameter(statement, 2, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 10, 0, &table, 4, &numberLength)));
    QVERIFY(SQL_SUCCEEDED(SQLBindParameter(
        statement, 3, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 2, 0, direction, 4, &directionLength)));
    for (const char16_t letter : u"NESW") {
        if (letter == 0)
            break;
        ++table;
        direction[0] = letter;
        QCOMPARE(SQLExecute(statement), SQLRETURN(SQL_SUCCESS));
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    QCOMPARE(SqliteRows(path, QStringLiteral("SELECT [Table] || Direction FROM PlayerNumbers ORDER BY [Table]")),
        (QList<QStringList> {
            { QStringLiteral("1N") }, { QStringLiteral("2E") }, { QStringLiteral("3S") }, { QStringLiteral("4W") } }));
}

// An application that declares ODBC 2 gets the ODBC 2 code of the Date/Time type.
void TestJetStandin::odbc2ApplicationSeesSqlTimestamp()
{
    const QString path = NewScoringDatabase();
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    SQLHSTMT statement = SQL_NULL_HSTMT;
    QVERIFY(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment)));
    QVERIFY(SQL_SUCCEEDED(
        SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC2), 0)));
    QVERIFY(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection)));
    const QByteArray text = AccessConnectionString(path).toUtf8();
    QVERIFY(SQL_SUCCEEDED(
        SQLDriverConnect(connection, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.constData())), SQL_NTS,
            nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT)));
    QVERIFY(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, connection, &statement)));
    QVERIFY(SQL_SUCCEEDED(SQLExecDirect(
        statement, reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELECT [DateLog] FROM [ReceivedData]")), SQL_NTS)));
    SQLSMALLINT type = 0;
    QVERIFY(SQL_SUCCEEDED(SQLDescribeCol(statement, 1, nullptr, 0, nullptr, &type, nullptr, nullptr, nullptr)));
    QCOMPARE(type, SQLSMALLINT(SQL_TIMESTAMP));
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    SQLDisconnect(connection);
    SQLFreeHandle(SQL_HANDLE_DBC, connection);
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
}

// "SQLSetConnectAttr": turning autocommit back on commits the open transaction.
void TestJetStandin::autocommitOnCommitsTheTransaction()
{
    const QString path = NewScoringDatabase();
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(path)));
    QVERIFY(session.SetAutocommit(false));
    QVERIFY(session.Execute(QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES ('A')")));
    QVERIFY(SqliteRows(path, QStringLiteral("SELECT * FROM Clients")).isEmpty());
    QVERIFY(session.SetAutocommit(true));
    QCOMPARE(SqliteRows(path, QStringLiteral("SELECT Computer FROM Clients")),
        (QList<QStringList> { { QStringLiteral("A") } }));
}

// Every statement shape Kibic sends on the Access path, bound as Kibic binds it (texts with their NUL
// inside the length, as Qt 6.4.2 binds them, whole numbers as SQL_C_SLONG, a mark as SQL_C_BIT).
void TestJetStandin::kibicStatementsRun()
{
    const QString path = NewScoringDatabase();
    OdbcSession s;
    QVERIFY(s.Connect(AccessConnectionString(path)));
    const auto I = OdbcParameter::Int;
    auto T = [](const QString& text) { return OdbcParameter::Text(text, true); };
    // Values bound as they were read back: a whole number read as unsigned, a Date/Time as a timestamp.
    auto unsignedLong = [](quint32 value) {
        return OdbcParameter { SQL_C_ULONG, SQL_NUMERIC,
            QByteArray(reinterpret_cast<const char*>(&value), sizeof value), 4, 10 };
    };
    const SQL_TIMESTAMP_STRUCT stamp { 2026, 3, 14, 0, 0, 0, 0 };
    const OdbcParameter timestamp { SQL_C_TIMESTAMP, SQL_TIMESTAMP,
        QByteArray(reinterpret_cast<const char*>(&stamp), sizeof stamp), sizeof stamp, 19 };
    struct Step
    {
        QString Sql;
        QList<OdbcParameter> Parameters;
        SQLLEN Rows = -2; // the rows it must change; -2: not counted
    };
    const QList<Step> steps = {
        { QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES (?)"), { T(QStringLiteral("SĘDZIA-ŁÓDŹ")) } },
        { QStringLiteral("SELECT @@IDENTITY"), {} },
        { QStringLiteral("INSERT INTO [Tables] ([Section],[Table],[ComputerID]) VALUES (?,?,?)"),
            { I(1), I(1), I(1) } },
        { QStringLiteral("INSERT INTO [PlayerNumbers] ([Section],[Table],[Direction]) VALUES (?,?,?)"),
            { I(1), I(1), T(QStringLiteral("N")) } },
        { QStringLiteral("INSERT INTO [Section] ([ID],[Letter],[Tables],[MissingPair]) VALUES (?,?,?,?)"),
            { I(1), T(QStringLiteral("A")), I(2), I(0) } },
        { QStringLiteral("INSERT INTO [RoundData] "
                         "([Section],[Table],[Round],[NSPair],[EWPair],[LowBoard],[HighBoard],[custom_Zyrt],"
                         "[custom_Komp],[custom_S],[custom_W]) VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
            { I(1), I(1), I(1), I(1), I(2), I(1), I(2), I(1), I(1), I(0), I(0) } },
        { QStringLiteral(
              "INSERT INTO [Settings] ([ShowResults],[ShowOwnResult],[RepeatResults],[MaximumResults],[ShowPercentage],"
              "[GroupSections],[ScorePoints],[EnterResultsMethod],[ShowPairNumbers],[IntermediateResults],"
              "[AutopoweroffTime],[VerificationTime],[ShowContract],[LeadCard],[MemberNumbers],[custom_pairs]) "
              "VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            { I(-1), I(-1), I(0), I(0), I(-1), I(0), I(1), I(0), I(-1), I(0), I(20), I(2), I(1), I(0), I(0), I(-1) } },
        { QStringLiteral("INSERT INTO [ReceivedData] "
                         "([Section],[Table],[Round],[Board],[PairNS],[PairEW],[Declarer],[NS/EW],[Contract],"
                         "[Result],[LeadCard],[Remarks],[DateLog],[TimeLog]) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
            { I(1), I(1), I(1), I(1), I(1), I(2), I(1), T(QStringLiteral("N")), T(QStringLiteral("4 S x")),
                T(QStringLiteral("=")), T(QStringLiteral("HA")), OdbcParameter::Null(),
                OdbcParameter::Date(2026, 3, 14, true), OdbcParameter::Time(19, 5, 7, true) } },
        { QStringLiteral("UPDATE [ReceivedData] SET [LeadCard]=? WHERE [ID]=? AND [DateLog]=? AND [Remarks] IS NULL"),
            { T(QStringLiteral("SK")), I(1), timestamp }, 1 },
        { QStringLiteral("SELECT * FROM [Tables]"), {} },
        { QStringLiteral("SELECT * FROM [ReceivedData] WHERE 1=0"), {} },
        { QStringLiteral(
              "SELECT "
              "[ID],[Section],[Table],[Round],[Board],[NS/EW],[Contract],[Result],[LeadCard],[Remarks],[TimeLog],"
              "[Processed1],[Erased] FROM [ReceivedData] WHERE [Processed1] IS NULL OR [Processed1] NOT IN (1, -1)"),
            {} },
        { QStringLiteral("SELECT [Section],[Table],[Round],[Board],[ID] FROM [ReceivedData] WHERE [ID]>=? AND ([ID]>? "
                         "OR [Processed] IN (1, -1))"),
            { I(1), I(0) } },
        { QStringLiteral(
              "SELECT [Section],[Table],[Round],[LowBoard],[HighBoard],[custom_Zyrt],[custom_Komp] FROM [RoundData] "
              "WHERE [Round]>=1 AND [Round]<=3"),
            {} },
        { QStringLiteral("SELECT MAX(`ID`) FROM `ReceivedData` WHERE `Section`=1 AND `Table`=1 AND `Board`=1 AND "
                         "`Round`=1 AND `Erased`=0"),
            {} },
        { QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE [Processed]<>0"), {} },
        { QStringLiteral("UPDATE [Tables] SET [ComputerID]=? WHERE [Section]=? AND [Table]=?"), { I(1), I(1), I(1) } },
        { QStringLiteral("UPDATE [ReceivedData] SET [Processed]=? WHERE [ID] IN (?,?)"),
            { OdbcParameter::Bit(1), I(1), I(2) } },
        { QStringLiteral("UPDATE `ReceivedData` SET `Processed2`=0"), {} },
        { QStringLiteral("UPDATE [Settings] SET "
                         "[ShowResults]=?,[RepeatResults]=?,[ShowPercentage]=?,[ScorePoints]=?,[EnterResultsMethod]=?,"
                         "[ShowPairNumbers]=?,[AutopoweroffTime]=?,[VerificationTime]=?,[LeadCard]=?,[MemberNumbers]=?,"
                         "[MemberNumbersNoBlankEntry]=? WHERE [Section] IS NULL"),
            { I(-1), I(0), I(-1), I(1), I(0), I(-1), I(20), I(2), I(0), I(0), I(0) } },
        { QStringLiteral("UPDATE [ReceivedData] SET [Processed]=? WHERE [ID]=?"), { I(0), I(1) } },
        { QStringLiteral("UPDATE [ReceivedData] SET "
                         "[NS/EW]=?,[Contract]=?,[Result]=?,[LeadCard]=?,[Remarks]=?,[Processed]=? WHERE [ID]=?"),
            { T(QStringLiteral("S")), T(QStringLiteral("3 NT")), T(QStringLiteral("+1")), T(QString()), T(QString()),
                I(0), I(1) } },
        { QStringLiteral("SELECT * FROM [Settings] WHERE [Section] IS NULL"), {} },
        { QStringLiteral(
              "UPDATE [RoundData] SET [custom_S]=? WHERE [Section]=? AND [Table]=? AND [CustomBoards] IS NULL"),
            { unsignedLong(1), I(1), I(1) }, 1 },
        { QStringLiteral("DELETE FROM [Tables] WHERE [Section]=? AND [Table]=?"), { I(1), I(1) } },
        { QStringLiteral("INSERT INTO [Tables] ([Section]) VALUES (NULL)"), {} },
    };
    for (const Step& step : steps) {
        SQLLEN rows = -2;
        QVERIFY2(s.Execute(step.Sql, step.Parameters, step.Rows == -2 ? nullptr : &rows),
            qPrintable(step.Sql + QStringLiteral(": ") + s.Last().Message));
        QVERIFY2(rows == step.Rows, qPrintable(step.Sql));
    }
    QCOMPARE(
        SqliteRows(path,
            QStringLiteral("SELECT [NS/EW], Contract, Processed, length(CAST(Remarks AS BLOB)) FROM ReceivedData")),
        (QList<QStringList> {
            { QStringLiteral("S\u0000"), QStringLiteral("3 NT\u0000"), QStringLiteral("0"), QStringLiteral("1") } }));
    QCOMPARE(SqliteRows(path, QStringLiteral("SELECT LeadCard FROM ReceivedData")).value(0).value(0),
        QStringLiteral("\u0000"));
}

void TestJetStandin::connectFailures_data()
{
    QTest::addColumn<QString>("dbq");
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("native");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QStringLiteral("missing.bws") << QStringLiteral("HY000") << -1811
                                  << QStringLiteral("Nie można odnaleźć pliku '%1'.");
    QTest::newRow("missing folder") << QStringLiteral("nofolder/x.bws") << QStringLiteral("HY024") << -1023
                                    << QStringLiteral("'%1' nie jest prawidłową ścieżką.");
    QTest::newRow("not a database") << QStringLiteral("text.bws") << QStringLiteral("HY000") << -1206
                                    << QStringLiteral("Nierozpoznany format bazy danych '%1'.");
    QTest::newRow("a folder") << QString() << QStringLiteral("HY000") << -1044
                              << QStringLiteral("Nieprawidłowa nazwa pliku.");
}

void TestJetStandin::connectFailures()
{
    QFETCH(QString, dbq);
    QFETCH(QString, state);
    QFETCH(int, native);
    QFETCH(QString, message);
    QFile text(m_dir.filePath(QStringLiteral("text.bws")));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("Standard Jet DB, or anything but SQLite");
    text.close();
    const QString path = dbq.isEmpty() ? m_dir.path() : m_dir.filePath(dbq);
    OdbcSession session;
    QVERIFY(!session.Connect(AccessConnectionString(path)));
    QCOMPARE(session.Last().State, state);
    QCOMPARE(session.Last().Native, native);
    QVERIFY2(session.Last().Message.contains(QString(message).replace(QStringLiteral("%1"), path)),
        qPrintable(session.Last().Message));
}

// An unbraced value ends at ';' (so the path is cut, as on Windows); a braced one may hold ';'.
void TestJetStandin::bracedPathWithSemicolon()
{
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("turniej;2026")));
    const QString path = m_dir.filePath(QStringLiteral("turniej;2026/t.bws"));
    QVERIFY2(CreateDatabase(path), qPrintable(InstallerError()));
    OdbcSession unbraced;
    QVERIFY(!unbraced.Connect(AccessConnectionString(path, true, false)));
    QCOMPARE(unbraced.Last().Native, -1811);
    OdbcSession braced;
    QVERIFY2(braced.Connect(AccessConnectionString(path)), qPrintable(braced.Last().Message));
}

void TestJetStandin::createDatabase()
{
    const QString path = m_dir.filePath(QStringLiteral("nowa baza.bws"));
    QVERIFY2(CreateDatabase(path), qPrintable(InstallerError()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(16), QByteArray("SQLite format 3", 16));
    file.close();
    QVERIFY(!CreateDatabase(path));
    QCOMPARE(InstallerError(),
        QStringLiteral("[Microsoft][Sterownik ODBC Microsoft Access] Baza danych '%1' już istnieje.").arg(path));
    const QString wide = m_dir.filePath(QStringLiteral("szeroka.bws"));
    const QString attributes
        = QStringLiteral("CREATE_DB=\"") + wide + QStringLiteral("\" General") + QString(2, QChar());
    QVERIFY(SQLConfigDataSourceW(nullptr, ODBC_ADD_DSN, reinterpret_cast<LPCWSTR>(u"Microsoft Access Driver (*.mdb)"),
        reinterpret_cast<LPCWSTR>(attributes.utf16())));
    QVERIFY(QFile::exists(wide));
}

// Autocommit off starts a transaction that SQLEndTran ends; a prepared statement executes again after a
// commit (SQL_CB_CLOSE closes its cursor only).
void TestJetStandin::transactions()
{
    const QString path = NewScoringDatabase();
    OdbcSession session;
    QVERIFY(session.Connect(AccessConnectionString(path)));
    QVERIFY(session.SetAutocommit(false));
    QVERIFY(session.Execute(QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES ('A')")));
    QVERIFY(session.EndTransaction(false));
    QVERIFY(SqliteRows(path, QStringLiteral("SELECT * FROM Clients")).isEmpty());
    SQLHSTMT statement = session.NewStatement();
    const QString sql = QStringLiteral("SELECT COUNT(*) FROM [Clients]");
    QVERIFY(SQL_SUCCEEDED(
        SQLPrepareW(statement, reinterpret_cast<SQLWCHAR*>(const_cast<QChar*>(sql.constData())), SQL_NTS)));
    QVERIFY(session.Execute(QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES ('B')")));
    QCOMPARE(SQLExecute(statement), SQLRETURN(SQL_SUCCESS));
    QVERIFY(session.EndTransaction(true));
    // The driver manager reads SQL_CB_CLOSE too and puts the statement back in its prepared state.
    QCOMPARE(SQLFetch(statement), SQLRETURN(SQL_ERROR));
    QCOMPARE(session.StatementDiag(statement).State, QStringLiteral("HY010"));
    QCOMPARE(SQLExecute(statement), SQLRETURN(SQL_SUCCESS));
    QCOMPARE(SQLFetch(statement), SQLRETURN(SQL_SUCCESS));
    SQLINTEGER count = 0;
    QCOMPARE(SQLGetData(statement, 1, SQL_C_SLONG, &count, 0, nullptr), SQLRETURN(SQL_SUCCESS));
    QCOMPARE(count, 1);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    QCOMPARE(SqliteRows(path, QStringLiteral("SELECT Computer FROM Clients")),
        (QList<QStringList> { { QStringLiteral("B") } }));
}

// A write that finds the file locked by another connection's transaction waits LockRetry times
// LockDelay apart (shortened for the tests) and is then refused with the Jet lock.
void TestJetStandin::lockReportedInPolishAfterTheWait()
{
    const QString path = NewScoringDatabase();
    OdbcSession holder;
    OdbcSession writer;
    QVERIFY(holder.Connect(AccessConnectionString(path)));
    QVERIFY(writer.Connect(AccessConnectionString(path)));
    QVERIFY(holder.SetAutocommit(false));
    QVERIFY(holder.Execute(QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES ('A')")));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!writer.Execute(QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES ('B')")));
    const qint64 waited = timer.elapsed();
    QCOMPARE(writer.Last().State, QStringLiteral("HY000"));
    QCOMPARE(writer.Last().Native, -1102);
    QCOMPARE(writer.Last().Message,
        QStringLiteral(
            "[Microsoft][Sterownik ODBC Microsoft Access] Nie można aktualizować; obiekt jest obecnie zablokowany."));
    const qint64 retries = qEnvironmentVariableIntValue("KIBIC_JET_LOCK_RETRY");
    const qint64 delay = qEnvironmentVariableIntValue("KIBIC_JET_LOCK_DELAY_MS");
    QVERIFY2(waited >= retries * delay, qPrintable(QString::number(waited)));
    QVERIFY(holder.EndTransaction(true));
    QVERIFY(writer.Execute(QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES ('B')")));
    QCOMPARE(SqliteRows(path, QStringLiteral("SELECT Computer FROM Clients ORDER BY ID")),
        (QList<QStringList> { { QStringLiteral("A") }, { QStringLiteral("B") } }));
}

void TestJetStandin::injectedFaults_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("steps"); // %1 is the connection string
    QTest::addColumn<QStringList>("expected");
    const QString insert = QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES ('x')");
    QTest::newRow("lock from the 2nd write for 400 ms")
        << QStringLiteral("KIBIC_JET_LOCK_WRITE") << QStringLiteral("2:400")
        << QStringList { QStringLiteral("connect"), QStringLiteral("%1"), QStringLiteral("exec"), insert,
               QStringLiteral("exec"), insert, QStringLiteral("exec"), insert, QStringLiteral("sleep"),
               QStringLiteral("450"), QStringLiteral("exec"), insert }
        << QStringList { QStringLiteral("connect ok"), QStringLiteral("exec ok 1"),
               QStringLiteral("exec error HY000 -1102"), QStringLiteral("exec error HY000 -1102"),
               QStringLiteral("sleep ok"), QStringLiteral("exec ok 1") };
    QTest::newRow("2nd connect refused") << QStringLiteral("KIBIC_JET_REFUSE_CONNECT") << QStringLiteral("2")
                                         << QStringList { QStringLiteral("connect"), QStringLiteral("%1"),
                                                QStringLiteral("disconnect"), QStringLiteral("connect"),
                                                QStringLiteral("%1"), QStringLiteral("connect"), QStringLiteral("%1") }
                                         << QStringList { QStringLiteral("connect ok"), QStringLiteral("disconnect ok"),
                                                QStringLiteral("connect error HY000 -1207"),
                                                QStringLiteral("connect ok") };
    QTest::newRow("1st commit fails and rolls back")
        << QStringLiteral("KIBIC_JET_FAIL_COMMIT") << QStringLiteral("1")
        << QStringList { QStringLiteral("connect"), QStringLiteral("%1"), QStringLiteral("autocommit"),
               QStringLiteral("off"), QStringLiteral("exec"), insert, QStringLiteral("commit"), QStringLiteral("exec"),
               QStringLiteral("SELECT * FROM [Clients]"), QStringLiteral("commit") }
        << QStringList { QStringLiteral("connect ok"), QStringLiteral("autocommit ok"), QStringLiteral("exec ok 1"),
               QStringLiteral("commit error HY000 -1022"), QStringLiteral("exec ok -1"), QStringLiteral("commit ok") };
    QTest::newRow("writes 2 and 3 fail") << QStringLiteral("KIBIC_JET_FAIL_WRITE") << QStringLiteral("2:2")
                                         << QStringList { QStringLiteral("connect"), QStringLiteral("%1"),
                                                QStringLiteral("exec"), insert, QStringLiteral("exec"), insert,
                                                QStringLiteral("exec"), insert, QStringLiteral("exec"), insert }
                                         << QStringList { QStringLiteral("connect ok"), QStringLiteral("exec ok 1"),
                                                QStringLiteral("exec error HY000 -1022"),
                                                QStringLiteral("exec error HY000 -1022"), QStringLiteral("exec ok 1") };
    QTest::newRow("link lost at the 2nd execution")
        << QStringLiteral("KIBIC_JET_LOSE_CONNECTION") << QStringLiteral("2")
        << QStringList { QStringLiteral("connect"), QStringLiteral("%1"), QStringLiteral("exec"), insert,
               QStringLiteral("exec"), insert, QStringLiteral("exec"), insert, QStringLiteral("autocommit"),
               QStringLiteral("off"), QStringLiteral("disconnect"), QStringLiteral("connect"), QStringLiteral("%1"),
               QStringLiteral("exec"), insert }
        << QStringList { QStringLiteral("connect ok"), QStringLiteral("exec ok 1"),
               QStringLiteral("exec error 08S01 -1022"), QStringLiteral("exec error 08S01 -1022"),
               QStringLiteral("autocommit error 08S01 -1022"), QStringLiteral("disconnect ok"),
               QStringLiteral("connect ok"), QStringLiteral("exec ok 1") };
}

void TestJetStandin::injectedFaults()
{
    QFETCH(QString, variable);
    QFETCH(QString, value);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    const QString path = NewScoringDatabase();
    for (QString& step : steps)
        step.replace(QStringLiteral("%1"), AccessConnectionString(path));
    RunOptions options;
    options.Environment = { { variable, value } };
    const ProgramRun run = RunProgram(ProbeProgram(), steps, options);
    QCOMPARE(run.ExitCode, 0);
    QCOMPARE(run.OutLines(), expected);
    if (variable == QStringLiteral("KIBIC_JET_FAIL_COMMIT"))
        QVERIFY(SqliteRows(path, QStringLiteral("SELECT * FROM Clients")).isEmpty());
}

void TestJetStandin::traceLines()
{
    const QString path = NewScoringDatabase();
    const QString trace = m_dir.filePath(QStringLiteral("trace.txt"));
    const QString connection = AccessConnectionString(path);
    RunOptions options;
    options.Environment = { { QStringLiteral("KIBIC_JET_TRACE"), trace } };
    const QStringList steps { QStringLiteral("connect"), connection, QStringLiteral("autocommit"),
        QStringLiteral("off"), QStringLiteral("exec"),
        QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES ('a\tb')"), QStringLiteral("exec"),
        QStringLiteral("SELECT * FROM [nothing]"), QStringLiteral("commit"), QStringLiteral("disconnect") };
    QCOMPARE(RunProgram(ProbeProgram(), steps, options).ExitCode, 0);
    QStringList lines = TraceLines(trace);
    QSet<QString> pids;
    for (QString& line : lines) {
        QStringList fields = line.split(QLatin1Char('\t'));
        pids.insert(fields.value(1));
        fields.removeAt(1);
        line = fields.join(QLatin1Char('\t'));
    }
    QCOMPARE(pids.size(), 1);
    QVERIFY(pids.values().constFirst().toInt() > 0);
    QVERIFY(pids.values().constFirst() != QString::number(QCoreApplication::applicationPid()));
    QCOMPARE(lines,
        (QStringList { QStringLiteral("connect\tnts\t") + connection, QStringLiteral("autocommit\toff"),
            QStringLiteral("execdirect\tnts\tINSERT INTO [Clients] ([Computer]) VALUES ('a\\tb')"),
            QStringLiteral("execute\t1"), QStringLiteral("execdirect\tnts\tSELECT * FROM [nothing]"),
            QStringLiteral("error\t42S02\t-1305"), QStringLiteral("endtran\tcommit"), QStringLiteral("disconnect") }));
    // What the lead's tests read: the TextLength and the bound length exactly as given, a NUL inside
    // either shown as \\0.
    QVERIFY(QFile::remove(trace));
    const QStringList counted { QStringLiteral("connect"), connection, QStringLiteral("insert-text"),
        QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES (?)"), QStringLiteral("N") };
    QCOMPARE(RunProgram(ProbeProgram(), counted, options).ExitCode, 0);
    const QStringList second = TraceLines(trace);
    QCOMPARE(second.size(), 4);
    QCOMPARE(second[1].section(QLatin1Char('\t'), 2),
        QStringLiteral("46\tINSERT INTO [Clients] ([Computer]) VALUES (?)\\0"));
    QCOMPARE(second[2].section(QLatin1Char('\t'), 2), QStringLiteral("1\t-8\t-9\t4\t4\t4"));
    QCOMPARE(second[3].section(QLatin1Char('\t'), 2), QStringLiteral("1"));
    QCOMPARE(SqliteRows(path, QStringLiteral("SELECT hex(Computer) FROM Clients")).value(1).value(0),
        QStringLiteral("4E00"));
}

QTEST_GUILESS_MAIN(TestJetStandin)
#include "TestJetStandin.moc"
