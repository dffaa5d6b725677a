// New scoring databases through ADOX and ADO where new files are Access files: the connection strings
// and statements handed to the COM side (a recording catalog in its place), the fall-back to the Access
// ODBC driver when ADOX.Catalog is not registered, ADO's answer in the messages, the route the build and
// the pre-flight check report, and what this computer's COM itself answers (under wine: no such class).
#include "common/Operator.h"
#include "platform/ComAutomation.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/CreationRoute.h"
#include "scoringdb/Database.h"
#include "scoringdb/OleDbCatalog.h"
#include "scoringdb/uBuildBWS.h"
#include "scoringdb/uCreateBWS.h"
#include "support/TournamentModels.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;

namespace {

// The first bytes of an Access file whose version byte (offset 0x14) is version.
QByteArray AccessHeader(char version, const char* id = "Standard Jet DB")
{
    QByteArray head = QByteArrayLiteral("\x00\x01\x00\x00") + QByteArray(id) + QByteArray(1, '\0');
    head += QByteArray(1, version) + QByteArray(2048 - 0x15, '\0');
    return head;
}

// What the COM side was given, and what it answers: a failure of Create, or of one statement; when it
// succeeds it writes a Jet 4 header at the Data Source, as ADOX writes a new file.
struct CatalogScript
{
    QStringList CreateStrings;
    QStringList ExecuteStrings;
    QStringList Statements;
    std::optional<OleDbFailure> CreateFails;
    std::optional<OleDbFailure> ExecuteFails;
    bool WritesFile = false;
};

class RecordingCatalog final : public OleDbCatalog
{
public:
    explicit RecordingCatalog(CatalogScript& script)
        : m_script(script)
    {
    }

    void Create(const QString& connectionString) override
    {
        m_script.CreateStrings.append(connectionString);
        if (m_script.CreateFails)
            throw *m_script.CreateFails;
        if (m_script.WritesFile) {
            QString path = connectionString.section(QStringLiteral("Data Source="), 1).section(QLatin1Char(';'), 0, 0);
            QFile file(QDir::fromNativeSeparators(path));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(AccessHeader(1));
        }
    }

    void Execute(const QString& connectionString, const QStringList& statements) override
    {
        m_script.ExecuteStrings.append(connectionString);
        m_script.Statements += statements;
        if (m_script.ExecuteFails)
            throw *m_script.ExecuteFails;
    }

private:
    CatalogScript& m_script;
};

} // namespace

class TestAdoxCreation : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CatalogScript m_script;
    QByteArray m_backend;

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    void UseRecordingCatalog()
    {
        SetOleDbCatalogMaker([this] { return std::make_unique<RecordingCatalog>(m_script); });
    }

private slots:
    void init()
    {
        m_script = CatalogScript();
        m_backend = qgetenv("KIBIC_DB_BACKEND");
        qputenv("KIBIC_DB_BACKEND", "access");
        UseRecordingCatalog();
    }

    void cleanup()
    {
        SetOleDbCatalogMaker({});
        if (m_backend.isEmpty())
            qunsetenv("KIBIC_DB_BACKEND");
        else
            qputenv("KIBIC_DB_BACKEND", m_backend);
    }

    void statementsGoToAdoAsWritten_data()
    {
        QTest::addColumn<bool>("withPlayTables");
        QTest::addColumn<bool>("withBM2");
        QTest::addColumn<int>("count");
        QTest::newRow("tournament build") << false << false << 8;
        QTest::newRow("play tables") << true << false << 11;
        QTest::newRow("BM2 settings") << false << true << 8;
    }

    void statementsGoToAdoAsWritten()
    {
        QFETCH(bool, withPlayTables);
        QFETCH(bool, withBM2);
        QFETCH(int, count);
        const QString file = Path(QStringLiteral("nowa.bws"));
        QString error;
        CreationRoute route;
        CreateBWS(file, withPlayTables, withBM2, error, route);
        QCOMPARE(error, QString());
        QVERIFY(route.Way == CreationWay::Adox);
        const QString native = QDir::toNativeSeparators(file);
        QCOMPARE(m_script.CreateStrings,
            QStringList { QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + native
                + QStringLiteral(";Jet OLEDB:Engine Type=5") });
        QCOMPARE(m_script.ExecuteStrings,
            QStringList { QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + native
                + QStringLiteral(";Persist Security Info=False") });
        const QStringList all = TableStatements(withPlayTables, withBM2);
        QStringList expected;
        for (const int number : ChosenStatementNumbers(withPlayTables))
            expected.append(all.at(number - 1));
        QCOMPARE(m_script.Statements.size(), count);
        QCOMPARE(m_script.Statements, expected);
        // The defaults travel to the provider: the reason for this route.
        QVERIFY(m_script.Statements.at(4).contains(QStringLiteral("[Processed] YESNO DEFAULT False")));
        QVERIFY(LastCreationRoute().Way == CreationWay::Adox);
    }

    void pathsAreOleDbValues_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << QStringLiteral("/t/a.bws") << QDir::toNativeSeparators(QStringLiteral("/t/a.bws"));
        QTest::newRow("semicolon") << QStringLiteral("/t/a;b/c.bws")
                                   << QLatin1Char('"') + QDir::toNativeSeparators(QStringLiteral("/t/a;b/c.bws"))
                + QLatin1Char('"');
        QTest::newRow("leading space") << QStringLiteral(" a.bws") << QStringLiteral("\" a.bws\"");
        QTest::newRow("trailing space") << QStringLiteral("a.bws ") << QStringLiteral("\"a.bws \"");
        QTest::newRow("leading quote") << QStringLiteral("'a.bws") << QStringLiteral("\"'a.bws\"");
        QTest::newRow("quote inside") << QStringLiteral("d'Artagnan.bws") << QStringLiteral("d'Artagnan.bws");
    }

    void pathsAreOleDbValues()
    {
        QFETCH(QString, path);
        QFETCH(QString, value);
        QCOMPARE(OleDbPathValue(path), value);
        QCOMPARE(AdoStatementConnectionString(path),
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + value
                + QStringLiteral(";Persist Security Info=False"));
    }

    void missingClassFallsBackToOdbc_data()
    {
        QTest::addColumn<qint32>("result");
        QTest::newRow("REGDB_E_CLASSNOTREG") << kClassNotRegistered;
        QTest::newRow("CO_E_CLASSSTRING") << kInvalidClassString;
    }

    void missingClassFallsBackToOdbc()
    {
        QFETCH(qint32, result);
        m_script.CreateFails = OleDbFailure { result, QStringLiteral("ADOX.Catalog: Invalid class string"), -1, true };
        const QString file = Path(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".bws"));
        QString error;
        CreationRoute route;
        CreateBWS(file, false, false, error, route);
        QVERIFY(route.Way == CreationWay::Odbc);
        QCOMPARE(route.AdoxAnswer, QStringLiteral("ADOX.Catalog: Invalid class string [%1]").arg(HresultText(result)));
        QCOMPARE(route.Driver, AccessDriver());
        QCOMPARE(m_script.ExecuteStrings, QStringList());
        // The ODBC route then does what it always did: the file through the driver, or the driver's absence.
        if (AccessDriver().isEmpty()) {
            QVERIFY2(error.contains(QStringLiteral("nie ma sterownika ODBC")), qPrintable(error));
        } else {
            QCOMPARE(error, QString());
            QVERIFY(QFileInfo::exists(file));
        }
        QCOMPARE(route.Failure, error);
    }

    void adoxFailureCarriesAdoAnswer()
    {
        const qint32 unspecified = static_cast<qint32>(0x80004005);
        m_script.CreateFails = OleDbFailure { unspecified, QStringLiteral("Nie można zapisać pliku."), -1, false };
        const QString file = Path(QStringLiteral("zablokowana.bws"));
        QString error;
        CreationRoute route;
        CreateBWS(file, false, false, error, route);
        QCOMPARE(error,
            QStringLiteral("Nie można utworzyć bazy danych %1 przez ADOX (dostawca Microsoft.Jet.OLEDB.4.0): błąd "
                           "-2147467259 (0x80004005): Nie można zapisać pliku.")
                .arg(QDir::toNativeSeparators(file)));
        QVERIFY(route.Way == CreationWay::Adox);
        QCOMPARE(route.Failure, error);
        // Not the fall-back: ADOX is there and refused.
        QCOMPARE(m_script.ExecuteStrings, QStringList());
        QVERIFY(!QFileInfo::exists(file));
    }

    void failedStatementNamesItsTable_data()
    {
        QTest::addColumn<int>("statement");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ReceivedData") << 4 << QStringLiteral("Nie można utworzyć tabeli ReceivedData w bazie danych %1 przez ADO: ");
        QTest::newRow("Settings") << 7 << QStringLiteral("Nie można utworzyć tabeli Settings w bazie danych %1 przez ADO: ");
        QTest::newRow("opening") << -1 << QStringLiteral("Nie można otworzyć bazy danych %1 przez ADO (dostawca Microsoft.Jet.OLEDB.4.0): ");
    }

    void failedStatementNamesItsTable()
    {
        QFETCH(int, statement);
        QFETCH(QString, expected);
        m_script.ExecuteFails = OleDbFailure { static_cast<qint32>(0x80040E14),
            QStringLiteral("Błąd składniowy w instrukcji CREATE TABLE. [3000, -1]"), statement, false };
        const QString file = Path(QStringLiteral("tabele.bws"));
        QString error;
        CreateBWS(file, false, false, error);
        QCOMPARE(error,
            expected.arg(QDir::toNativeSeparators(file))
                + QStringLiteral("błąd -2147217900 (0x80040E14): Błąd składniowy w instrukcji CREATE TABLE. [3000, -1]"));
    }

    void existingFileIsRefusedBeforeAdox()
    {
        const QString file = Path(QStringLiteral("jest.bws"));
        QFile existing(file);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        QString error;
        CreateBWS(file, false, false, error);
        QVERIFY2(error.contains(QStringLiteral("już istnieje")), qPrintable(error));
        QCOMPARE(m_script.CreateStrings, QStringList());
    }

    void buildSaysWhichRouteMadeTheFile_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("ADOX") << QStringLiteral("adox");
        QTest::newRow("SQLite") << QStringLiteral("sqlite");
    }

    void buildSaysWhichRouteMadeTheFile()
    {
        QFETCH(QString, route);
        m_script.WritesFile = true;
        if (route == QStringLiteral("sqlite"))
            qputenv("KIBIC_DB_BACKEND", "sqlite");
        test::ModelCounts counts;
        counts.Tables = 3;
        counts.Rounds = 3;
        counts.BoardsPerRound = 2;
        counts.ResultsPerBoard = 3;
        TournamentModel model = test::MakeModel(counts, Path(route));
        ScriptedOperator op;
        const DatabaseFiller nothing = [](const TournamentModel&, const QString&) {};
        QVERIFY(BuildScoringDatabase(model, op, nothing));
        const QString file = Path(route + QStringLiteral(".bws"));
        const QString native = QDir::toNativeSeparators(file);
        if (route == QStringLiteral("adox")) {
            QCOMPARE(op.Notes,
                QStringList { QStringLiteral("Bazę %1 utworzono przez ADOX.Catalog i dostawcę Microsoft.Jet.OLEDB.4.0 "
                                             "(tabele przez ADODB.Connection).")
                                  .arg(native) });
            // The file was made under its building name and took its own name only when whole.
            QVERIFY2(m_script.CreateStrings.value(0).contains(QDir::toNativeSeparators(BuildingFileName(file))),
                qPrintable(m_script.CreateStrings.value(0)));
            const CreatedDatabaseCheck check = CheckCreatedDatabase(file, true);
            QVERIFY(check.Passed);
            QCOMPARE(check.Text,
                QStringLiteral("baza próbna %1: utworzona przez ADOX.Catalog i dostawcę Microsoft.Jet.OLEDB.4.0 (tabele "
                               "przez ADODB.Connection); format według nagłówka: Jet 4")
                    .arg(native));
        } else {
            QCOMPARE(op.Notes, QStringList { QStringLiteral("Bazę %1 utworzono jako plik SQLite.").arg(native) });
            QCOMPARE(m_script.CreateStrings, QStringList());
        }
        QCOMPARE(op.Messages, QStringList());
    }

    void buildSaysWhyItFellBack()
    {
        CreationRoute route;
        route.Way = CreationWay::Odbc;
        route.Driver = QStringLiteral("Microsoft Access Driver (*.mdb)");
        route.AdoxAnswer = QStringLiteral("ADOX.Catalog: Invalid class string [0x800401F3]");
        QCOMPARE(CreationRouteText(route, QStringLiteral("C:/t/a.bws")),
            QStringLiteral("Bazę %1 utworzono przez sterownik ODBC \"Microsoft Access Driver (*.mdb)\" (CREATE_DBV4), "
                           "bo ADOX jest niedostępny: ADOX.Catalog: Invalid class string [0x800401F3].")
                .arg(QDir::toNativeSeparators(QStringLiteral("C:/t/a.bws"))));
    }

    void headerGivesTheFormat_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("passed");
        QTest::newRow("Jet 4") << AccessHeader(1) << QStringLiteral("Jet 4") << true;
        QTest::newRow("Jet 3") << AccessHeader(0) << QStringLiteral("Jet 3 (oczekiwano Jet 4)") << false;
        QTest::newRow("ACE") << AccessHeader(3, "Standard ACE DB") << QStringLiteral("ACE (wersja 3) (oczekiwano Jet 4)")
                             << false;
        QTest::newRow("SQLite") << QByteArray("SQLite format 3\0", 16) + QByteArray(100, '\0') << QStringLiteral("SQLite")
                                << true;
        QTest::newRow("short Jet") << AccessHeader(1).left(0x14)
                                   << QStringLiteral("nieznany (ani Jet, ani SQLite) (oczekiwano Jet 4)") << false;
        QTest::newRow("other") << QByteArray("PK\x03\x04 an archive") << QStringLiteral("nieznany (ani Jet, ani SQLite) (oczekiwano Jet 4)")
                               << false;
    }

    void headerGivesTheFormat()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, format);
        QFETCH(bool, passed);
        const QString file = Path(QStringLiteral("naglowek.bws"));
        QFile written(file);
        QVERIFY(written.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(written.write(bytes), bytes.size());
        written.close();
        CreationRoute route;
        route.Way = CreationWay::Adox;
        RememberCreationRoute(route);
        const CreatedDatabaseCheck check = CheckCreatedDatabase(file, true);
        QCOMPARE(check.Passed, passed);
        QVERIFY2(check.Text.endsWith(QStringLiteral("format według nagłówka: ") + format), qPrintable(check.Text));
    }

    void failedCreationGivesTheProviderAnswer()
    {
        CreationRoute route;
        route.Way = CreationWay::Adox;
        route.Failure = QStringLiteral("Nie można utworzyć bazy danych X przez ADOX: błąd -2147467259 (0x80004005): Brak dostępu.");
        RememberCreationRoute(route);
        const CreatedDatabaseCheck check = CheckCreatedDatabase(Path(QStringLiteral("nie.bws")), false);
        QVERIFY(!check.Passed);
        QVERIFY2(check.Text.contains(QStringLiteral("nie utworzona przez ADOX.Catalog")), qPrintable(check.Text));
        QVERIFY2(check.Text.endsWith(route.Failure), qPrintable(check.Text));
    }

    // A build that ADOX refused: the message, the remembered route and the pre-flight line name the
    // tournament's file, not the name it was being built under.
    void failedBuildNamesTheFile()
    {
        m_script.CreateFails = OleDbFailure { static_cast<qint32>(0x80004005), QStringLiteral("Brak dostępu."), -1, false };
        test::ModelCounts counts;
        counts.Tables = 3;
        counts.Rounds = 3;
        counts.BoardsPerRound = 2;
        counts.ResultsPerBoard = 3;
        TournamentModel model = test::MakeModel(counts, Path(QStringLiteral("odmowa")));
        ScriptedOperator op;
        QVERIFY(!BuildScoringDatabase(model, op));
        const QString native = QDir::toNativeSeparators(Path(QStringLiteral("odmowa.bws")));
        const QString expected = QStringLiteral("Nie można utworzyć bazy danych %1 przez ADOX (dostawca "
                                                "Microsoft.Jet.OLEDB.4.0): błąd -2147467259 (0x80004005): Brak dostępu.")
                                     .arg(native);
        QCOMPARE(op.Messages, QStringList { expected });
        QCOMPARE(op.Notes, QStringList());
        QCOMPARE(LastCreationRoute().Failure, expected);
        const CreatedDatabaseCheck check = CheckCreatedDatabase(Path(QStringLiteral("odmowa.bws")), false, op.Messages);
        QVERIFY(!check.Passed);
        QCOMPARE(check.Text,
            QStringLiteral("baza próbna %1: nie utworzona przez ADOX.Catalog i dostawcę Microsoft.Jet.OLEDB.4.0 (tabele "
                           "przez ADODB.Connection): ")
                    .arg(native)
                + expected);
    }

    // This computer's own COM, no catalog in its place: under wine and off Windows ADOX.Catalog is not
    // registered and the creation falls back to the ODBC driver saying so; where it is registered (a
    // director's PC), ADOX makes a Jet 4 file.
    void thisComputersAdox()
    {
        SetOleDbCatalogMaker({});
        const QString file = Path(QStringLiteral("com.bws"));
        QString error;
        CreationRoute route;
        CreateBWS(file, false, false, error, route);
        if (route.Way == CreationWay::Odbc) {
            QVERIFY2(route.AdoxAnswer.startsWith(QStringLiteral("ADOX.Catalog: ")), qPrintable(route.AdoxAnswer));
            QVERIFY2(route.AdoxAnswer.contains(QStringLiteral("0x80040154"))
                    || route.AdoxAnswer.contains(QStringLiteral("0x800401F3")),
                qPrintable(route.AdoxAnswer));
            qInfo("%s", qPrintable(CreationRouteText(route, file)));
            if (!error.isEmpty())
                qInfo("%s", qPrintable(error));
        } else {
            QVERIFY(route.Way == CreationWay::Adox);
            QCOMPARE(error, QString());
            QVERIFY(ReadDatabaseHeader(file).Format == DatabaseHeader::Jet4);
        }
    }
};

QTEST_GUILESS_MAIN(TestAdoxCreation)
#include "TestAdoxCreation.moc"
