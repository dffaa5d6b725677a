// The driver checks of the pre-flight check: on a file built as Kibic builds it every line passes, and on
// a file that breaks one thing Kibic relies on the line of that thing fails with what the driver did.
// Runs on SQLite, through the SQLite ODBC driver and on the Access path through the Jet stand-in.
#include "common/KibicError.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/DriverChecks.h"
#include "scoringdb/uCreateBWS.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kibic;

namespace {

bool OnAccess()
{
    return qEnvironmentVariable("KIBIC_DB_BACKEND") == QStringLiteral("access");
}

// The eleven tables as Kibic makes them, each statement changed by the replacements (old, new) first.
void BuildFile(const QString& path, const QList<QPair<QString, QString>>& replacements)
{
    DbConnection::CreateDatabaseFile(path);
    DbConnection db(StatementConnectionString(path));
    for (QString statement : TableStatements(true, false)) {
        for (const auto& [from, to] : replacements)
            statement.replace(from, to);
        (void)db.Execute(db.Translate(statement));
    }
}

QString Joined(const QList<DriverCheck>& lines)
{
    QStringList texts;
    for (const DriverCheck& line : lines)
        texts << (line.Passed ? QStringLiteral("OK   ") : QStringLiteral("BŁĄD ")) + line.Text;
    return texts.join(QLatin1Char('\n'));
}

} // namespace

class TestDriverChecks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The stand-in counts writes per process: the first write of this program, the defaults check's
        // row in the first case, fails as a disk failure of Jet would, and so does Kibic's one try again
        // on a new connection (Kibic takes the failure for a lost connection).
        if (OnAccess())
            qputenv("KIBIC_JET_FAIL_WRITE", "1:2");
    }

    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // Must stay the first case: the stand-in's injected failure is the process's first write.
    void aFailingWriteGivesTheDriversOwnWords()
    {
        if (!OnAccess())
            QSKIP("the injected failure is the Jet stand-in's");
        const QString file = m_dir->filePath(QStringLiteral("proba.bws"));
        BuildFile(file, {});
        const QList<DriverCheck> lines = CheckDriver(file);
        QVERIFY2(!lines.at(0).Passed, qPrintable(Joined(lines)));
        QVERIFY2(lines.at(0).Text.startsWith(QStringLiteral("sterownik: wartości domyślne: ")), qPrintable(lines.at(0).Text));
        QVERIFY2(lines.at(0).Text.contains(QStringLiteral("Błąd dysku lub sieci. [HY000, -1022]")), qPrintable(lines.at(0).Text));
        for (qsizetype i = 1; i < lines.size(); ++i)
            QVERIFY2(lines.at(i).Passed, qPrintable(Joined(lines)));
    }

    void aFileBuiltByKibicPassesEveryCheck()
    {
        const QString file = m_dir->filePath(QStringLiteral("proba.bws"));
        BuildFile(file, {});
        const QList<DriverCheck> lines = CheckDriver(file);
        QCOMPARE(lines.size(), 6);
        for (const DriverCheck& line : lines)
            QVERIFY2(line.Passed && line.Text.startsWith(QStringLiteral("sterownik: ")), qPrintable(Joined(lines)));
        QCOMPARE(lines.at(0).Text,
            QStringLiteral("sterownik: wartości domyślne działają: wiersz dopisany do ReceivedData z kolumnami serwera "
                           "pierniczków ma Processed, Processed1-4 i Erased = 0 (Nie) i nadany ID"));
        QVERIFY2(lines.at(1).Text.contains(QStringLiteral("tekstu \"E\" = 1, nazwisko \"Zażółć Gęślą Jaźń\" odczytane bez zmian")),
            qPrintable(lines.at(1).Text));
        if (OnAccess()) {
            QCOMPARE(lines.at(2).Text,
                QStringLiteral("sterownik: Tak/Nie w ReceivedData.[Processed]: Tak zapisane jako bit 1 i odczytane jako Tak, "
                               "Nie zapisane jako bit 0 i odczytane jako Nie"));
            QVERIFY2(lines.at(3).Text.startsWith(QStringLiteral("sterownik: @@IDENTITY po dopisaniu wiersza")), qPrintable(lines.at(3).Text));
            QVERIFY2(lines.at(4).Text.contains(QStringLiteral("SQLSTATE HY000, kod -1102, \"[Microsoft][Sterownik ODBC Microsoft "
                                                              "Access] Nie można aktualizować; obiekt jest obecnie zablokowany.\"; "
                                                              "Kibic rozpoznaje blokadę")),
                qPrintable(lines.at(4).Text));
            QVERIFY2(lines.at(5).Text.contains(QStringLiteral("odrzucony; Kibic pokazuje: ")) && lines.at(5).Text.contains(QStringLiteral("[22001, -3163]")),
                qPrintable(lines.at(5).Text));
        } else {
            QVERIFY2(lines.at(4).Text.contains(QStringLiteral("Kibic rozpoznaje blokadę")), qPrintable(lines.at(4).Text));
            QVERIFY2(lines.at(5).Text.contains(QStringLiteral("SQLite nie pilnuje długości, Kibic odrzuca go sam: Tekst \"NNN\" "
                                                              "nie mieści się w kolumnie NS/EW tabeli ReceivedData")),
                qPrintable(lines.at(5).Text));
        }
        // The checks leave no row of theirs behind, and no transaction open.
        DbConnection db(ScoringConnectionString(file));
        QCOMPARE(db.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData]")), 0);
        QCOMPARE(db.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [PlayerNumbers]")), 0);
        (void)db.Execute(QStringLiteral("INSERT INTO [Clients] ([Computer]) VALUES ('po sprawdzeniu')"));
    }

    // A file whose tables differ from Kibic's in one thing: the line of that thing fails and says what
    // the driver gave back; the other lines still pass.
    void aBrokenFileFailsItsLine_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("failing");
        QTest::addColumn<QString>("said");
        QTest::newRow("no defaults") << QStringLiteral(" DEFAULT False") << QString() << 0
                                     << QStringLiteral("ma Processed=NULL, Processed1=NULL, Processed2=NULL, "
                                                       "Processed3=NULL, Processed4=NULL, Erased=NULL");
        QTest::newRow("no auto-number") << QStringLiteral("[ID] COUNTER,[Section] INTEGER,[Table] INTEGER,[Round] INTEGER,[Board]")
                                        << QStringLiteral("[ID] INTEGER,[Section] INTEGER,[Table] INTEGER,[Round] INTEGER,[Board]")
                                        << 0 << QStringLiteral("ID=NULL");
        QTest::newRow("side column wider") << QStringLiteral("[NS/EW] TEXT(2)") << QStringLiteral("[NS/EW] TEXT(3)") << 5
                                           << QStringLiteral("przyjęty przez sterownik i zapisany jako \"NNN\"");
    }

    void aBrokenFileFailsItsLine()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, failing);
        QFETCH(QString, said);
        if (failing == 5 && !OnAccess())
            QSKIP("SQLite keeps texts of any length; Kibic refuses them itself");
        const QString file = m_dir->filePath(QStringLiteral("proba.bws"));
        BuildFile(file, { { from, to } });
        const QList<DriverCheck> lines = CheckDriver(file);
        QCOMPARE(lines.size(), 6);
        QVERIFY2(!lines.at(failing).Passed, qPrintable(Joined(lines)));
        QVERIFY2(lines.at(failing).Text.contains(said), qPrintable(lines.at(failing).Text));
        // Without an auto-number Kibic cannot tell its rows apart: the later lines are not this case's.
        if (from.startsWith(QStringLiteral("[ID]")))
            return;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i != failing)
                QVERIFY2(lines.at(i).Passed, qPrintable(Joined(lines)));
        }
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestDriverChecks)
#include "TestDriverChecks.moc"
