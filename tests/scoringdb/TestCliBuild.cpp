// kibic-cli build: the scoring database of a tournament from the command line, and its exit codes.
#include "ScoringDbTestSupport.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

namespace {

ProgramRun RunBuild(const QStringList& arguments)
{
    RunOptions options;
    options.Environment = { { QStringLiteral("KIBIC_COMPUTER_NAME"), QStringLiteral("SALA-CLI") } };
    return RunCli(QStringList { QStringLiteral("build") } + arguments, options);
}

} // namespace

class TestCliBuild : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_base = m_dir->filePath(QStringLiteral("cup"));
        QVERIFY(QFile::copy(QStringLiteral(KIBIC_TEST_DATA_DIR "/scoringdb/cup.inf"), m_base + QStringLiteral(".inf")));
        QFile::setPermissions(m_base + QStringLiteral(".inf"), QFile::ReadOwner | QFile::WriteOwner);
    }

    void buildsAndServesEveryTable()
    {
        const ProgramRun outcome = RunBuild({m_base + QStringLiteral(".inf")});
        QCOMPARE(outcome.ExitCode, 0);
        const QString file = m_base + QStringLiteral(".bws");
        // The one line of the error output says which way the file was made.
        QCOMPARE(outcome.ErrLines().size(), 1);
        QVERIFY2(outcome.Err.startsWith(QStringLiteral("Bazę %1 utworzono ").arg(QDir::toNativeSeparators(file))),
            qPrintable(outcome.Err));
        QVERIFY2(outcome.Err.contains(
                     qEnvironmentVariable("KIBIC_DB_BACKEND") == QStringLiteral("access")
                         ? QStringLiteral("przez sterownik ODBC")
                         : QStringLiteral("jako plik SQLite")),
            qPrintable(outcome.Err));
        QCOMPARE(outcome.Out, file + QLatin1Char('\n'));
        QCOMPARE(Rows(file, QStringLiteral("Clients"), Columns("ID,Computer")), L({"1|SALA-CLI"}));
        QCOMPARE(Rows(file, QStringLiteral("Tables"), {QStringLiteral("Table")}).size(), 7);
        QCOMPARE(Rows(file, QStringLiteral("PlayerNumbers"), {QStringLiteral("Table")}).size(), 28);
        QCOMPARE(Rows(file, QStringLiteral("RoundData"), {QStringLiteral("Table")}).size(), 49);
        QCOMPARE(Rows(file, QStringLiteral("Settings"), {QStringLiteral("custom_pairs")}), L({"1"}));
    }

    void existingFileChangesNothing()
    {
        const QString file = m_base + QStringLiteral(".bws");
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last week");
        old.close();
        const ProgramRun outcome = RunBuild({m_base + QStringLiteral(".inf")});
        QCOMPARE(outcome.ExitCode, 1);
        QCOMPARE(outcome.Out, QString());
        QVERIFY2(outcome.Err.contains(file) && outcome.Err.contains(QStringLiteral("istnieje")), qPrintable(outcome.Err));
        QCOMPARE(Content(file), QByteArray("last week"));
        QVERIFY(!QFile::exists(m_base + QStringLiteral(".KNT")));
    }

    void overwriteRebuilds()
    {
        const QString file = m_base + QStringLiteral(".bws");
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("last week");
        old.close();
        const ProgramRun outcome = RunBuild({QStringLiteral("--overwrite"), m_base + QStringLiteral(".inf")});
        QCOMPARE(outcome.ExitCode, 0);
        QCOMPARE(DetectDatabaseFormat(file), DatabaseFormat::Sqlite);
        QCOMPARE(Rows(file, QStringLiteral("Tables"), {QStringLiteral("Table")}).size(), 7);
    }

    // The old database held results from the tables: --overwrite keeps it beside the new one and says so.
    void overwriteKeepsACopyOfResults()
    {
        const QString file = m_base + QStringLiteral(".bws");
        QCOMPARE(RunBuild({ m_base + QStringLiteral(".inf") }).ExitCode, 0);
        {
            DbConnection connection(ScoringConnectionString(file));
            (void)connection.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],"
                                                    "[NS/EW],[Contract],[Result]) VALUES (1,2,1,4,'S','4 S','+1')"));
        }
        const QByteArray before = Content(file);
        const ProgramRun outcome = RunBuild({ QStringLiteral("--overwrite"), m_base + QStringLiteral(".inf") });
        QVERIFY2(outcome.Err.startsWith(QStringLiteral("Bazę %1 utworzono ").arg(QDir::toNativeSeparators(file))),
            qPrintable(outcome.Err));
        QCOMPARE(outcome.ExitCode, 0);
        const QStringList copies = QDir(m_dir->path()).entryList({ QStringLiteral("cup-kopia-*.bws") }, QDir::Files);
        QCOMPARE(copies.size(), 1);
        const QString copy = m_dir->filePath(copies.first());
        QCOMPARE(outcome.Out, QStringLiteral("Poprzednią bazę %1 zachowano jako %2.\n%1\n").arg(file, copy));
        QCOMPARE(Content(copy), before);
        QCOMPARE(Rows(file, QStringLiteral("ReceivedData"), { QStringLiteral("Board") }), QStringList());
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("error");
        QTest::newRow("no file") << QStringList() << 2 << "użycie: kibic-cli build";
        QTest::newRow("not a description") << QStringList({QStringLiteral("cup.bws")}) << 2 << "użycie: kibic-cli build";
        QTest::newRow("two files") << QStringList({QStringLiteral("a.inf"), QStringLiteral("b.inf")}) << 2
                                   << "użycie: kibic-cli build";
        QTest::newRow("sector kind 509") << QStringList({QStringLiteral("@/none.inf"), QStringLiteral("--sector-kind"),
                                                QStringLiteral("509")})
                                         << 2 << "Opcja --sector-kind przyjmuje 501, 502, 503 lub 504, a nie „509”.";
        QTest::newRow("missing description") << QStringList({QStringLiteral("@/none.inf")}) << 1 << "none.inf";
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, error);
        for (QString& argument : arguments)
            argument.replace(QLatin1Char('@'), m_dir->path());
        const ProgramRun outcome = RunBuild(arguments);
        QCOMPARE(outcome.ExitCode, exitCode);
        QVERIFY2(outcome.Err.contains(error), qPrintable(outcome.Err));
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("none.bws"))));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_base;
};

QTEST_GUILESS_MAIN(TestCliBuild)
#include "TestCliBuild.moc"
