// kibic-cli sprawdz: the pre-flight check of a director's PC, its lines, its exit code and the scratch
// files it must not leave behind.
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TQuery.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using kibic::test::ProgramRun;

// On Windows the registry is the real one: the keys these cases lay out as files are not seen there.
#ifdef Q_OS_WIN
#define SKIP_WITH_THE_REAL_REGISTRY() QSKIP("the registry of this Windows is not the test's")
#else
#define SKIP_WITH_THE_REAL_REGISTRY() (void)0
#endif

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestCliSprawdz : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir(m_dir->path()).mkpath(QStringLiteral("registry"));
        QDir(m_dir->path()).mkpath(QStringLiteral("scratch"));
    }

    // A PC set up as the demo sets it up: every step passes and nothing stays in the scratch folder.
    void everyPieceInPlacePasses()
    {
        SKIP_WITH_THE_REAL_REGISTRY();
        SetUpRegistry(true, true);
        const ProgramRun outcome = Run({Path(QStringLiteral("scratch"))});
        QVERIFY2(outcome.ExitCode == 0, qPrintable(outcome.OutLines().join(QLatin1Char('\n')) + outcome.Err));
        const QStringList steps = Steps(outcome);
        QVERIFY(steps.size() >= 11);
        for (const QString& line : steps)
            QVERIFY2(line.startsWith(QStringLiteral("OK   ")), qPrintable(line));
        QVERIFY(Has(outcome, QStringLiteral("OK   rejestr: \"ZyRT\" = ") + QDir::toNativeSeparators(Path(QStringLiteral("zyrt.ini")))));
        QVERIFY(Has(outcome, QStringLiteral("OK   baza nazwisk ZyRTa ") + Path(QStringLiteral("NAZWISKA.BAN")) + QStringLiteral(": 2 rekordów po 31 bajtów")));
        QVERIFY(Has(outcome, QStringLiteral("OK   baza zawodników ") + Path(QStringLiteral("pelikar.db")) + QStringLiteral(": tabela players, 3 zawodników")));
        QVERIFY(Has(outcome, QStringLiteral("OK   przebieg próbny: 3 wyniki w plikach .ZAP i .KNT, każdy z 18 rekordów zgodny co do bajtu")));
        QVERIFY(Has(outcome, QStringLiteral("OK   baza próbna: zaznaczenia zgaszone")));
        // The driver's answers come right after the scratch file is built, one line each, before the
        // scratch tournament is played into the file.
        qsizetype built = -1;
        for (qsizetype i = 0; i < steps.size() && built < 0; ++i) {
            if (steps[i].startsWith(QStringLiteral("OK   baza próbna ") + QDir::toNativeSeparators(Path(QStringLiteral("scratch"))))
                && steps[i].contains(QStringLiteral("utworzona i wypełniona")))
                built = i;
        }
        QVERIFY(built >= 0);
        QStringList driverLines;
        for (const QString& line : steps) {
            if (line.startsWith(QStringLiteral("OK   sterownik: ")))
                driverLines << line;
        }
        QCOMPARE(driverLines.size(), 6);
        QCOMPARE(steps.mid(built + 1, 6), driverLines);
        QVERIFY(driverLines.at(4).contains(QStringLiteral("Kibic rozpoznaje blokadę")));
        // Which way the scratch file was made and what its header says (off Windows SQLite, whichever route).
        const QString route = qEnvironmentVariable("KIBIC_DB_BACKEND") == QStringLiteral("access")
            ? QStringLiteral("utworzona przez sterownik ODBC")
            : QStringLiteral("utworzona jako plik SQLite");
        const QStringList made = steps.filter(route);
        QCOMPARE(made.size(), 1);
        QVERIFY2(made.first().startsWith(QStringLiteral("OK   baza próbna ") + QDir::toNativeSeparators(Path(QStringLiteral("scratch"))))
                && made.first().endsWith(QStringLiteral("; format według nagłówka: SQLite")),
            qPrintable(made.first()));
        QCOMPARE(outcome.OutLines().last(), QStringLiteral("Wszystko sprawdzone: ten komputer jest gotowy do turnieju."));
        QCOMPARE(QDir(Path(QStringLiteral("scratch"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // Each missing piece is its own BŁĄD line naming what is missing; the scratch tournament still runs
    // and leaves nothing behind.
    void missingPiecesAreReported_data()
    {
        QTest::addColumn<bool>("gawotnik");
        QTest::addColumn<bool>("pelikar");
        QTest::addColumn<QStringList>("failures");
        QTest::newRow("empty registry")
            << false << false
            << QStringList{QStringLiteral("BŁĄD rejestr: nie ma klucza HKEY_LOCAL_MACHINE\\Software\\Trevik\\Gawotnik z wartością \"ZyRT\""),
                   QStringLiteral("BŁĄD rejestr: nie ma klucza HKEY_CURRENT_USER\\Software\\Trevik\\Pelikar z wartością \"DatabaseName\"")};
        QTest::newRow("no player database")
            << true << false
            << QStringList{QStringLiteral("BŁĄD rejestr: nie ma klucza HKEY_CURRENT_USER\\Software\\Trevik\\Pelikar z wartością \"DatabaseName\"")};
        QTest::newRow("no ZyRT") << false << true
                                 << QStringList{QStringLiteral("BŁĄD rejestr: nie ma klucza HKEY_LOCAL_MACHINE\\Software\\Trevik\\Gawotnik z wartością \"ZyRT\"")};
    }

    void missingPiecesAreReported()
    {
        SKIP_WITH_THE_REAL_REGISTRY();
        QFETCH(bool, gawotnik);
        QFETCH(bool, pelikar);
        QFETCH(QStringList, failures);
        SetUpRegistry(gawotnik, pelikar);
        const ProgramRun outcome = Run({Path(QStringLiteral("scratch"))});
        QCOMPARE(outcome.ExitCode, 1);
        QStringList failed;
        for (const QString& line : Steps(outcome)) {
            if (line.startsWith(QStringLiteral("BŁĄD ")))
                failed.append(line.section(QStringLiteral(" ("), 0, 0));
        }
        QCOMPARE(failed, failures);
        QVERIFY(Has(outcome, QStringLiteral("OK   baza próbna: zaznaczenia zgaszone")));
        QCOMPARE(outcome.OutLines().last(), QStringLiteral("Błędy: %1. Przyślij te wiersze wraz z opisem komputera.").arg(failures.size()));
        QCOMPARE(QDir(Path(QStringLiteral("scratch"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // Values that name files which are not there, and a player database without players.
    void filesNamedButMissing()
    {
        SKIP_WITH_THE_REAL_REGISTRY();
        SetUpRegistry(true, true);
        WriteFile(Path(QStringLiteral("registry/HKLM/Software/Trevik/Gawotnik.ini")),
            QStringLiteral("[General]\nZyRT=%1\nBMPro=%2\n").arg(Path(QStringLiteral("gone.ini")), Path(QStringLiteral("BMPro.exe"))).toUtf8());
        TQuery empty(ScoringConnectionString(Path(QStringLiteral("pelikar.db"))));
        empty.SetSql(QStringLiteral("DELETE FROM [players]"));
        empty.ExecSql();
        const ProgramRun outcome = Run({Path(QStringLiteral("scratch"))});
        QCOMPARE(outcome.ExitCode, 1);
        QVERIFY(Has(outcome, QStringLiteral("BŁĄD rejestr: \"ZyRT\" wskazuje plik %1, którego nie ma").arg(Path(QStringLiteral("gone.ini")))));
        QVERIFY(Has(outcome, QStringLiteral("BŁĄD rejestr: \"BMPro\" wskazuje plik %1, którego nie ma").arg(Path(QStringLiteral("BMPro.exe")))));
        QVERIFY(Has(outcome, QStringLiteral("BŁĄD baza zawodników %1: tabela players jest pusta").arg(Path(QStringLiteral("pelikar.db")))));
    }

    void scratchFolderMustExist()
    {
        SetUpRegistry(true, true);
        const ProgramRun outcome = Run({Path(QStringLiteral("nowhere"))});
        QCOMPARE(outcome.ExitCode, 1);
        QVERIFY(Has(outcome,
            QStringLiteral("BŁĄD katalog próbny: nie ma katalogu ") + QDir::toNativeSeparators(Path(QStringLiteral("nowhere")))));
        QVERIFY(!QFileInfo::exists(Path(QStringLiteral("nowhere"))));
    }

    // --czekaj keeps the console window open: the program waits for Enter after the summary.
    void waitsForEnterWithCzekaj()
    {
        SetUpRegistry(true, true);
        QProcess process;
        process.setProcessEnvironment(Environment());
        process.start(kibic::test::KibicProgram("kibic-cli"),
            {QStringLiteral("sprawdz"), Path(QStringLiteral("scratch")), QStringLiteral("--czekaj")});
        QVERIFY(process.waitForStarted());
        const QString prompt = QStringLiteral("Naciśnij Enter, aby zamknąć okno.\n");
        QString shown;
        QElapsedTimer clock;
        clock.start();
        while (!shown.endsWith(prompt) && clock.elapsed() < 60000 && process.state() == QProcess::Running) {
            process.waitForReadyRead(1000);
            shown += QString::fromUtf8(process.readAllStandardOutput()).remove(QLatin1Char('\r'));
        }
        QVERIFY2(shown.endsWith(prompt), qPrintable(shown));
        QTest::qWait(200);
        QCOMPARE(process.state(), QProcess::Running);
        process.write("\n");
        QVERIFY(process.waitForFinished(15000));
#ifndef Q_OS_WIN
        QCOMPARE(process.exitCode(), 0);
#endif
    }

    void badUsage()
    {
        QCOMPARE(Run({QStringLiteral("--szybko")}).ExitCode, 2);
        QCOMPARE(Run({QStringLiteral("a"), QStringLiteral("b")}).ExitCode, 2);
    }

private:
    QString Path(const QString& name) const { return m_dir->filePath(name); }

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("KIBIC_REGISTRY_DIR"), Path(QStringLiteral("registry")));
        return environment;
    }

    // The two registry keys as the demo writes them, with ZyRT's configuration, a names file of two
    // records and a player database of three players.
    void SetUpRegistry(bool gawotnik, bool pelikar)
    {
        if (gawotnik) {
            WriteFile(Path(QStringLiteral("NAZWISKA.BAN")), QByteArray(62, 'x'));
            WriteFile(Path(QStringLiteral("zyrt.ini")),
                QStringLiteral("[OPCJE]\r\n  [nazwiska] \r\n%1\r\n").arg(Path(QStringLiteral("NAZWISKA.BAN"))).toUtf8());
            WriteFile(Path(QStringLiteral("registry/HKLM/Software/Trevik/Gawotnik.ini")),
                QStringLiteral("[General]\nZyRT=%1\n").arg(Path(QStringLiteral("zyrt.ini"))).toUtf8());
        }
        if (pelikar) {
            const QString players = Path(QStringLiteral("pelikar.db"));
            DbConnection::CreateDatabaseFile(players);
            DbConnection connection(ScoringConnectionString(players));
            (void)connection.Execute(QStringLiteral("CREATE TABLE [players] ([ID] TEXT(8),[NAZWISKO] TEXT(40))"));
            for (const char* name : {"Lis", "Kos", "Sowa"})
                (void)connection.Execute(QStringLiteral("INSERT INTO [players] ([ID],[NAZWISKO]) VALUES ('1',?)"), {QString::fromLatin1(name)});
            WriteFile(Path(QStringLiteral("registry/HKCU/Software/Trevik/Pelikar.ini")),
                QStringLiteral("[General]\nDatabaseName=%1\n").arg(players).toUtf8());
        }
    }

    ProgramRun Run(const QStringList& arguments) const
    {
        kibic::test::RunOptions options;
        options.Environment = { { QStringLiteral("KIBIC_REGISTRY_DIR"), Path(QStringLiteral("registry")) } };
        return kibic::test::RunCli(QStringList { QStringLiteral("sprawdz") } + arguments, options);
    }

    static QStringList Steps(const ProgramRun& outcome)
    {
        QStringList steps = outcome.OutLines();
        if (!steps.isEmpty())
            steps.removeLast();
        return steps;
    }

    static qsizetype IndexStartingWith(const QStringList& lines, const QString& start)
    {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].startsWith(start))
                return i;
        }
        return -1;
    }

    static bool Has(const ProgramRun& outcome, const QString& line)
    {
        if (outcome.OutLines().contains(line))
            return true;
        qWarning("%s\nnot among:\n%s", qPrintable(line), qPrintable(outcome.OutLines().join(QLatin1Char('\n'))));
        return false;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestCliSprawdz)
#include "TestCliSprawdz.moc"
