// Whole tournaments with a non-typical sector read through "kibic-cli read" and the sector options.
#include "sectors/HowellSector.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kibic::test::kHowellMovement;
using kibic::test::kHowellPairs;

namespace {

using kibic::test::ProgramRun;

ProgramRun RunRead(const QString& folder, const QStringList& arguments)
{
    kibic::test::RunOptions options;
    options.WorkingDirectory = folder;
    return kibic::test::RunCli(QStringList { QStringLiteral("read") } + arguments, options);
}

// The listing's lines of the sector: "Movement b slot ..." for slots after the ordinary ones.
QStringList SectorLines(const QStringList& listing, int firstSlot)
{
    QStringList lines;
    for (const QString& line : listing) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.value(0) == QLatin1String("Movement") && fields.value(2).toInt() >= firstSlot)
            lines.append(fields.mid(1).join(QLatin1Char(' ')));
    }
    return lines;
}

// "b slot NS EW South West Round Table" for board sets 1.., rows 1..n after o ordinary slots.
QStringList Expected(int o, const std::vector<std::vector<std::array<int, 6>>>& sector)
{
    QStringList lines;
    for (size_t b = 0; b < sector.size(); ++b)
        for (size_t i = 0; i < sector[b].size(); ++i) {
            const auto& e = sector[b][i];
            lines.append(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                             .arg(b + 1)
                             .arg(o + int(i) + 1)
                             .arg(e[0])
                             .arg(e[1])
                             .arg(e[2])
                             .arg(e[3])
                             .arg(e[4])
                             .arg(e[5]));
        }
    return lines;
}

QStringList HowellListing(bool byTableNumber)
{
    std::vector<std::vector<std::array<int, 6>>> sector;
    for (size_t b = 0; b < kHowellPairs.size(); ++b) {
        sector.emplace_back();
        for (size_t i = 0; i < kHowellPairs[b].size(); ++i) {
            const auto [table, round]
                = byTableNumber ? std::pair<int, int>(int(i) + 1, int(b) + 1) : kHowellMovement[b][i];
            sector.back().push_back({ kHowellPairs[b][i].first, kHowellPairs[b][i].second, 0, 0, round, table });
        }
    }
    return Expected(7, sector);
}

} // namespace

class TestSectorReadEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        const QDir data(QStringLiteral(KIBIC_TEST_DATA_DIR "/sectors"));
        for (const QString& name : data.entryList(QDir::Files)) {
            QFile::remove(m_folder.filePath(name));
            QVERIFY(QFile::copy(data.filePath(name), m_folder.filePath(name)));
        }
    }

    // One Mitchell section of 7 tables and a Howell sector of 4 tables.
    void pairsTournament_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("sector"); // empty: the read fails
        QTest::addColumn<QString>("failure");
        QTest::newRow("big Howell by table number")
            << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("502") } << HowellListing(true)
            << QString();
        QTest::newRow("Howell proposal, then the pattern") << QStringList { QStringLiteral("--sector-kind"),
            QStringLiteral("501"), QStringLiteral("--pattern"), QStringLiteral("howell.bmt") }
                                                           << HowellListing(false) << QString();
        QTest::newRow("something else, the pattern") << QStringList { QStringLiteral("--sector-kind"),
            QStringLiteral("504"), QStringLiteral("--pattern"), QStringLiteral("howell.bmt") }
                                                     << HowellListing(false) << QString();
        QTest::newRow("no kind") << QStringList {} << QStringList {}
                                 << QStringLiteral("podaj jego rodzaj opcją --sector-kind RODZAJ. Do wyboru są:\n"
                                                   "  501 – Jeden zbiornicowy sektor Howella, bez sprzężeń\n"
                                                   "  502 – Jeden sektor dużego Howella, zapis przy numerze stołu\n"
                                                   "  504 – Coś innego");
        QTest::newRow("no barometer beside a section")
            << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("503") } << QStringList {}
            << QStringLiteral("Rodzaj sektora 503 („Barometr na dochodzenie, zapis przy numerze stołu”) nie pasuje");
        QTest::newRow("the editor's kind without a pattern") << QStringList { QStringLiteral("--sector-kind"),
            QStringLiteral("501") } << QStringList {} << QStringLiteral("opcją --pattern PLIK.bmt");
        QTest::newRow("a pattern of another tournament")
            << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("504"), QStringLiteral("--pattern"),
                   QStringLiteral("baro.bmt") }
            << QStringList {} << QStringLiteral("To nie jest wzorzec dla tego turnieju\nTutaj baza=3, stołów jest 2.");
    }

    void pairsTournament()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, sector);
        QFETCH(QString, failure);
        WriteBarometerPattern();

        const ProgramRun run = RunRead(m_folder.path(), QStringList { QStringLiteral("howell.inf") } + options);

        if (sector.isEmpty()) {
            QCOMPARE(run.ExitCode, 1);
            QVERIFY2(run.Err.contains(failure), qPrintable(run.Err));
            return;
        }
        QVERIFY2(run.ExitCode == 0, qPrintable(run.Err));
        QCOMPARE(SectorLines(run.OutLines(), 8), sector);
        // The Mitchell section is left as the reader made it: board set 1 at table 1 in round 1.
        QVERIFY(run.OutLines().contains(QStringLiteral("Movement\t1\t1\t1\t8\t0\t0\t1\t1")));
    }

    // One section of 3 tables and a sector of 2 tables, players 31..38.
    void individualTournament_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("sector");
        QTest::addColumn<QString>("failure");
        const QStringList byTableNumber = Expected(3,
            { { { 31, 32, 33, 34, 1, 1 }, { 35, 36, 37, 38, 1, 2 } },
                { { 31, 33, 35, 37, 2, 1 }, { 32, 34, 36, 38, 2, 2 } },
                { { 31, 36, 32, 37, 3, 1 }, { 33, 38, 34, 35, 3, 2 } } });
        const QStringList byPattern = Expected(3,
            { { { 31, 32, 33, 34, 1, 2 }, { 35, 36, 37, 38, 3, 1 } },
                { { 31, 33, 35, 37, 2, 2 }, { 32, 34, 36, 38, 1, 1 } },
                { { 31, 36, 32, 37, 3, 2 }, { 33, 38, 34, 35, 2, 1 } } });
        QTest::newRow("barometer") << QStringList { QStringLiteral("--barometer"), QStringLiteral("yes") }
                                   << byTableNumber << QString();
        QTest::newRow("no barometer: the pattern") << QStringList { QStringLiteral("--barometer"),
            QStringLiteral("nie"), QStringLiteral("--pattern"), QStringLiteral("baro.bmt") }
                                                   << byPattern << QString();
        QTest::newRow("no answer") << QStringList {} << QStringList {} << QStringLiteral("opcją --barometer yes|no.");
        QTest::newRow("no barometer, no pattern")
            << QStringList { QStringLiteral("--barometer"), QStringLiteral("no") } << QStringList {}
            << QStringLiteral("Opcja --barometer no wymaga wzorca sektora");
    }

    void individualTournament()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, sector);
        QFETCH(QString, failure);
        WriteBarometerPattern();

        const ProgramRun run = RunRead(m_folder.path(), QStringList { QStringLiteral("baro.ind") } + options);

        if (sector.isEmpty()) {
            QCOMPARE(run.ExitCode, 1);
            QVERIFY2(run.Err.contains(failure), qPrintable(run.Err));
            return;
        }
        QVERIFY2(run.ExitCode == 0, qPrintable(run.Err));
        QCOMPARE(SectorLines(run.OutLines(), 4), sector);
    }

private:
    // A pattern of 3 board sets and 2 tables: row 1 at table 2, row 2 at table 1, rounds shifted.
    void WriteBarometerPattern()
    {
        QFile file(m_folder.filePath(QStringLiteral("baro.bmt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("* BAZA=3, STOLY=2\r\n3\t2\r\n"
                   "* KOMPLET 1\t\tN\tS\tW\tE\r\n2\t1\t*\r\n1\t3\t*\r\n"
                   "* KOMPLET 2\t\tN\tS\tW\tE\r\n2\t2\t*\r\n1\t1\t*\r\n"
                   "* KOMPLET 3\t\tN\tS\tW\tE\r\n2\t3\t*\r\n1\t2\t*\r\n");
    }

    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(TestSectorReadEndToEnd)
#include "TestSectorReadEndToEnd.moc"
