// Tournaments with a non-typical sector read and built through "kibic-cli build" and the sector options:
// the rows the terminal server gets for the sector, and the refusals that leave no scoring database.
#include "support/ProgramRun.h"
#include "scoringdb/Database.h"
#include "sectors/HowellSector.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <vector>

using kibic::test::kHowellMovement;
using kibic::test::kHowellPairs;

namespace {

using kibic::test::ProgramRun;

// Rows of one table as "v|v|...", in the order they were written.
QStringList Rows(const QString& file, const QString& table, const QString& columns, const QString& where = QString())
{
    QStringList rows;
    const QString name = QStringLiteral("rows-") + file;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            return { QStringLiteral("(nie otwarto %1)").arg(file) };
        QSqlQuery query(db);
        const QString sql = QStringLiteral("SELECT %1 FROM %2 %3 ORDER BY rowid")
                                .arg(columns, table, where.isEmpty() ? QString() : QStringLiteral("WHERE ") + where);
        if (!query.exec(sql))
            return { QStringLiteral("(błąd %1)").arg(sql) };
        const int count = columns.count(QLatin1Char(',')) + 1;
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < count; ++i)
                values.append(query.value(i).toString());
            rows.append(values.join(QLatin1Char('|')));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

// One meeting of the sector: who plays and where and when it is recorded.
struct Meeting
{
    int NS = 0, EW = 0, South = 0, West = 0;
    int Table = 0, Round = 0;
    int Section = 2;
};
using Sector = std::vector<std::vector<Meeting>>; // [board set - 1][row - 1]

Sector HowellSector(bool byTableNumber)
{
    Sector sector;
    for (size_t b = 0; b < kHowellPairs.size(); ++b) {
        sector.emplace_back();
        for (size_t i = 0; i < kHowellPairs[b].size(); ++i) {
            const auto [table, round] = byTableNumber ? std::pair(int(i) + 1, int(b) + 1) : kHowellMovement[b][i];
            sector.back().push_back({ kHowellPairs[b][i].first, kHowellPairs[b][i].second, 0, 0, table, round });
        }
    }
    return sector;
}

// baro.ind: one section of 3 tables (players 1..12) and a sector of 2 tables (players 31..38); the
// players of each meeting (N, E, S, W) and, for the pattern written below, where it is recorded.
const std::vector<std::vector<std::array<int, 4>>> kBarometerPlayers = {
    { { 31, 32, 33, 34 }, { 35, 36, 37, 38 } },
    { { 31, 33, 35, 37 }, { 32, 34, 36, 38 } },
    { { 31, 36, 32, 37 }, { 33, 38, 34, 35 } },
};
const std::vector<std::vector<std::pair<int, int>>> kBarometerPattern = {
    { { 2, 1 }, { 1, 3 } },
    { { 2, 2 }, { 1, 1 } },
    { { 2, 3 }, { 1, 2 } },
};

Sector BarometerSector(bool byTableNumber)
{
    Sector sector;
    for (size_t b = 0; b < kBarometerPlayers.size(); ++b) {
        sector.emplace_back();
        for (size_t i = 0; i < kBarometerPlayers[b].size(); ++i) {
            const auto [table, round] = byTableNumber ? std::pair(int(i) + 1, int(b) + 1) : kBarometerPattern[b][i];
            const auto& p = kBarometerPlayers[b][i];
            sector.back().push_back({ p[0], p[1], p[2], p[3], table, round });
        }
    }
    return sector;
}

// The tournament's shape as the build lays it out: one ordinary section, then the non-typical ones.
struct Shape
{
    int Tables = 0; // of the ordinary section, also the number of board sets
    int Rounds = 0;
    int BoardsPerRound = 0;
    std::vector<int> SectorTables; // tables of each non-typical section
    std::vector<int> SectorSlots; // RoundData rows of each non-typical section per board set
    bool PairsEvent = true;
};

// The RoundData rows of the non-typical sections, board set by board set: the slots follow the
// ordinary section's Rounds slots of the board set.
QStringList SectorRoundData(const Shape& shape, const Sector& sector)
{
    QStringList rows;
    for (int b = 1; b <= int(sector.size()); ++b) {
        for (int i = 1; i <= int(sector[b - 1].size()); ++i) {
            const Meeting& m = sector[b - 1][i - 1];
            rows.append(QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9|%10|%11")
                            .arg(m.Section)
                            .arg(m.Table)
                            .arg(m.Round)
                            .arg(m.NS)
                            .arg(m.EW)
                            .arg((b - 1) * shape.BoardsPerRound + 1)
                            .arg(b * shape.BoardsPerRound)
                            .arg(shape.Rounds + i)
                            .arg(b)
                            .arg(m.South)
                            .arg(m.West));
        }
    }
    return rows;
}

const QString kRoundDataColumns = QStringLiteral(
    "[Section],[Table],[Round],[NSPair],[EWPair],[LowBoard],[HighBoard],[custom_Zyrt],[custom_Komp],[custom_S],"
    "[custom_W]");

// (board set, slot, section) of every RoundData row in the order written.
QStringList RoundDataOrder(const Shape& shape)
{
    QStringList rows;
    for (int b = 1; b <= shape.Tables; ++b) {
        for (int k = 1; k <= shape.Rounds; ++k)
            rows.append(QStringLiteral("%1|%2|1").arg(b).arg(k));
        int slot = shape.Rounds;
        for (size_t e = 0; e < shape.SectorSlots.size(); ++e)
            for (int i = 1; i <= shape.SectorSlots[e]; ++i)
                rows.append(QStringLiteral("%1|%2|%3").arg(b).arg(++slot).arg(int(e) + 2));
    }
    return rows;
}

QStringList SeatRows(const Shape& shape)
{
    QStringList rows;
    for (int s = 1; s <= int(shape.SectorTables.size()) + 1; ++s) {
        for (int t = 1; t <= (s == 1 ? shape.Tables : shape.SectorTables[s - 2]); ++t) {
            for (const char* seat : { "N", "E", "S", "W" })
                rows.append(QStringLiteral("%1|%2|%3|").arg(s).arg(t).arg(QLatin1String(seat)));
        }
    }
    return rows;
}

// A barometer pattern of baro.ind: 3 board sets, 2 tables, stated by kBarometerPattern.
QByteArray BarometerPatternFile()
{
    QByteArray bytes = "* BAZA=3, STOLY=2\r\n3\t2\r\n";
    for (size_t b = 0; b < kBarometerPattern.size(); ++b) {
        bytes += "* KOMPLET " + QByteArray::number(qsizetype(b) + 1) + "\t\tN\tS\tW\tE\r\n";
        for (const auto& [table, round] : kBarometerPattern[b])
            bytes += QByteArray::number(table) + '\t' + QByteArray::number(round) + "\t*\r\n";
    }
    return bytes;
}

} // namespace

class TestSectorBuildEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        const QDir data(QStringLiteral(KIBIC_TEST_DATA_DIR "/sectors"));
        for (const QString& name : data.entryList(QDir::Files)) {
            QVERIFY(QFile::copy(data.filePath(name), Path(name)));
            QFile::setPermissions(Path(name), QFile::ReadOwner | QFile::WriteOwner);
        }
        WriteFile(QStringLiteral("baro.bmt"), BarometerPatternFile());
        // howell.bmt with the table of the last meeting of board set 4 left unstated.
        QByteArray gap = ReadFile(Path(QStringLiteral("howell.bmt")));
        QVERIFY(gap.contains("\n4\t7\t*\t21\t23"));
        gap.replace("\n4\t7\t*\t21\t23", "\n0\t7\t*\t21\t23");
        WriteFile(QStringLiteral("gap.bmt"), gap);
        // howell.inf with only 3 meetings on board set 7 (the last one left empty), baro.ind with the
        // second meeting of board set 3 missing its North and East.
        QByteArray howell = ReadFile(Path(QStringLiteral("howell.inf")));
        QVERIFY(howell.contains("\n4 0  4 0 6 0  2 0 3 0  1 0 5 0  8 0 7 0"));
        howell.replace("\n4 0  4 0 6 0  2 0 3 0  1 0 5 0  8 0 7 0", "\n3 0  4 0 6 0  2 0 3 0  1 0 5 0  8 0 7 0");
        WriteFile(QStringLiteral("short.inf"), howell);
        QByteArray barometer = ReadFile(Path(QStringLiteral("baro.ind")));
        QVERIFY(barometer.contains("13 18 14 19  15 20 16 17"));
        barometer.replace("13 18 14 19  15 20 16 17", "13 18 14 19  0 0 16 17");
        WriteFile(QStringLiteral("short.ind"), barometer);
    }

    void pairsSector_data()
    {
        QTest::addColumn<QString>("tournament");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("byTableNumber");
        const QStringList bigHowell { QStringLiteral("--sector-kind"), QStringLiteral("502") };
        QTest::newRow("big Howell, by table number") << QStringLiteral("howell") << bigHowell << true;
        QTest::newRow("big Howell, an empty meeting") << QStringLiteral("short") << bigHowell << true;
        QTest::newRow("one Howell sector, proposal checked by the pattern")
            << QStringLiteral("howell")
            << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("501"), QStringLiteral("--pattern"),
                   QStringLiteral("howell.bmt") }
            << false;
        QTest::newRow("something else, from the pattern")
            << QStringLiteral("howell")
            << QStringList { QStringLiteral("--sector-kind"), QStringLiteral("504"), QStringLiteral("--pattern"),
                   QStringLiteral("howell.bmt") }
            << false;
    }

    // The Howell sector becomes section 2 with its own 4 tables; every board set's sector rows follow its
    // 7 Mitchell rows, the positions turned into pair numbers. A meeting the description leaves empty
    // is given the sector's first two pairs.
    void pairsSector()
    {
        QFETCH(QString, tournament);
        QFETCH(QStringList, options);
        QFETCH(bool, byTableNumber);
        const Shape shape { 7, 7, 2, { 4 }, { 4 }, true };
        const QString bws = Path(tournament + QStringLiteral(".bws"));
        Sector sector = HowellSector(byTableNumber);
        if (tournament == QStringLiteral("short"))
            sector[6][3] = { 21, 22, 0, 0, 4, 7 };

        const ProgramRun run = Build(QStringList { Path(tournament + QStringLiteral(".inf")) } + options);

        QVERIFY2(run.ExitCode == 0, qPrintable(run.Err));
        QCOMPARE(run.OutLines(), QStringList { bws });
        QCOMPARE(Rows(bws, QStringLiteral("RoundData"), kRoundDataColumns, QStringLiteral("[Section]=2")),
            SectorRoundData(shape, sector));
        CheckLayout(bws, shape);
        // The Mitchell section as the reader made it: board set 1 at table 1 in round 1, NS 1 against EW 8.
        QCOMPARE(Rows(bws, QStringLiteral("RoundData"), kRoundDataColumns).front(),
            QStringLiteral("1|1|1|1|8|1|2|1|1|0|0"));
    }

    void individualSector_data()
    {
        QTest::addColumn<QString>("tournament");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("byTableNumber");
        const QStringList barometer { QStringLiteral("--barometer"), QStringLiteral("yes") };
        QTest::newRow("barometer") << QStringLiteral("baro") << barometer << true;
        QTest::newRow("barometer, a meeting without North and East") << QStringLiteral("short") << barometer << true;
        QTest::newRow("no barometer, the pattern")
            << QStringLiteral("baro")
            << QStringList { QStringLiteral("--barometer"), QStringLiteral("no"), QStringLiteral("--pattern"),
                   QStringLiteral("baro.bmt") }
            << false;
    }

    // The sector of 2 tables becomes section 2; its rows carry all four players. A meeting without North
    // or East is given the sector's first or second player there.
    void individualSector()
    {
        QFETCH(QString, tournament);
        QFETCH(QStringList, options);
        QFETCH(bool, byTableNumber);
        const Shape shape { 3, 3, 2, { 2 }, { 2 }, false };
        const QString bws = Path(tournament + QStringLiteral(".bws"));
        Sector sector = BarometerSector(byTableNumber);
        if (tournament == QStringLiteral("short")) {
            sector[2][1].NS = 31;
            sector[2][1].EW = 32;
        }

        const ProgramRun run = Build(QStringList { Path(tournament + QStringLiteral(".ind")) } + options);

        QVERIFY2(run.ExitCode == 0, qPrintable(run.Err));
        QCOMPARE(run.OutLines(), QStringList { bws });
        QCOMPARE(Rows(bws, QStringLiteral("RoundData"), kRoundDataColumns, QStringLiteral("[Section]=2")),
            SectorRoundData(shape, sector));
        CheckLayout(bws, shape);
    }

    // An individual event with two barometer sectors of 3 tables (the fifth number 10206): the reader
    // moves their board sets itself, down one table a round like North, and nobody is asked. Each sector
    // is a section of its own with RoundCount rows per board set.
    void individualSeveralSectors()
    {
        const Shape shape { 3, 3, 2, { 3, 3 }, { 3, 3 }, false };
        // Players 1..12 in the ordinary section, 41..52 and 53..64 in the sectors (list indices 13..36).
        QByteArray description = "3 3 2 1 10206 0 0 36 5 0 0 0 0 6 3\r\n";
        for (int i = 1; i <= 36; ++i)
            description += QByteArray::number(i <= 12 ? i : i + 28) + (i % 12 == 0 ? "\r\n" : " ");
        description += "-1 0 1 2\r\n";
        Sector sector(3);
        for (int b = 1; b <= 3; ++b) {
            for (int t = 1; t <= 2; ++t) {
                for (int r = 1; r <= 3; ++r) {
                    const int north = 13 + 12 * (t - 1) + (b + r) % 3;
                    for (const int seat : { north, north + 3, north + 6, north + 9 })
                        description += QByteArray::number(seat) + ' ';
                    const int table = ((b - r) % 3 + 3) % 3 + 1; // b in round 1, then one lower
                    sector[size_t(b - 1)].push_back(
                        { north + 28, north + 31, north + 34, north + 37, table, r, 1 + t });
                }
            }
            description += "\r\n";
        }
        WriteFile(QStringLiteral("multi.ind"), description);
        const QString bws = Path(QStringLiteral("multi.bws"));

        const ProgramRun run = Build({ Path(QStringLiteral("multi.ind")) });

        QVERIFY2(run.ExitCode == 0, qPrintable(run.Err));
        QCOMPARE(run.OutLines(), QStringList { bws });
        QCOMPARE(Rows(bws, QStringLiteral("RoundData"), kRoundDataColumns, QStringLiteral("[Section]>=2")),
            SectorRoundData(shape, sector));
        CheckLayout(bws, shape);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        const QString kind = QStringLiteral("--sector-kind");
        const QString pattern = QStringLiteral("--pattern");
        const QString barometer = QStringLiteral("--barometer");
        QTest::newRow("no kind") << QStringLiteral("howell.inf") << QStringList()
                                 << QStringLiteral("Turniej ma sektor nietypowy: podaj jego rodzaj opcją --sector-kind "
                                                   "RODZAJ. Do wyboru są:\n"
                                                   "  501 – Jeden zbiornicowy sektor Howella, bez sprzężeń\n"
                                                   "  502 – Jeden sektor dużego Howella, zapis przy numerze stołu\n"
                                                   "  504 – Coś innego\n");
        QTest::newRow("barometer beside a Mitchell section")
            << QStringLiteral("howell.inf") << QStringList { kind, QStringLiteral("503") }
            << QStringLiteral("Rodzaj sektora 503 („Barometr na dochodzenie, zapis przy numerze stołu”) nie pasuje");
        QTest::newRow("kind of the editor without a pattern")
            << QStringLiteral("howell.inf") << QStringList { kind, QStringLiteral("501") }
            << QStringLiteral("podaj plik wzorca opcją --pattern PLIK.bmt.");
        QTest::newRow("pattern of another shape")
            << QStringLiteral("howell.inf") << QStringList { kind, QStringLiteral("504"), pattern, QStringLiteral("baro.bmt") }
            << QStringLiteral("To nie jest wzorzec dla tego turnieju\nTutaj baza=3, stołów jest 2.\n");
        QTest::newRow("pattern with a meeting unstated")
            << QStringLiteral("howell.inf") << QStringList { kind, QStringLiteral("504"), pattern, QStringLiteral("gap.bmt") }
            << QStringLiteral("nie podaje stołu i rundy kompletu 4 w wierszu 4 (stolik 0, runda 7).");
        QTest::newRow("individual, no answer") << QStringLiteral("baro.ind") << QStringList()
                                               << QStringLiteral("opcją --barometer yes|no.");
        QTest::newRow("individual, no barometer and no pattern")
            << QStringLiteral("baro.ind") << QStringList { barometer, QStringLiteral("no") }
            << QStringLiteral("Opcja --barometer no wymaga wzorca sektora");
        QTest::newRow("individual, pattern of another shape")
            << QStringLiteral("baro.ind") << QStringList { barometer, QStringLiteral("no"), pattern, QStringLiteral("howell.bmt") }
            << QStringLiteral("Tutaj baza=7, stołów jest 4.");
    }

    // A refused sector ends the build before a scoring database is made.
    void refusals()
    {
        QFETCH(QString, description);
        QFETCH(QStringList, options);
        QFETCH(QString, message);

        const ProgramRun run = Build(QStringList { Path(description) } + options);

        QCOMPARE(run.ExitCode, 1);
        QVERIFY2(run.Err.contains(message), qPrintable(run.Err));
        QCOMPARE(run.OutLines(), QStringList());
        QCOMPARE(QDir(m_dir->path()).entryList({ QStringLiteral("*.bws") }, QDir::Files), QStringList());
    }

    // With --overwrite, a refused sector leaves the database built before untouched.
    void refusalKeepsTheOldDatabase()
    {
        const QString bws = Path(QStringLiteral("howell.bws"));
        QCOMPARE(Build({ Path(QStringLiteral("howell.inf")), QStringLiteral("--sector-kind"), QStringLiteral("502") })
                     .ExitCode,
            0);
        const QByteArray before = ReadFile(bws);

        const ProgramRun run = Build({ Path(QStringLiteral("howell.inf")), QStringLiteral("--overwrite"),
            QStringLiteral("--sector-kind"), QStringLiteral("503") });

        QCOMPARE(run.ExitCode, 1);
        QVERIFY2(run.Err.contains(QStringLiteral("nie pasuje")), qPrintable(run.Err));
        QCOMPARE(ReadFile(bws), before);
    }

private:
    QString Path(const QString& name) const { return m_dir->filePath(name); }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void WriteFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    ProgramRun Build(const QStringList& arguments) const
    {
        kibic::test::RunOptions options;
        options.WorkingDirectory = m_dir->path();
        options.Environment = { { QStringLiteral("KIBIC_REGISTRY_DIR"), Path(QStringLiteral("registry")) },
            { QStringLiteral("KIBIC_COMPUTER_NAME"), QStringLiteral("SALA-SEKTOR") } };
        return kibic::test::RunCli(QStringList { QStringLiteral("build") } + arguments, options);
    }

    // The rows of the other tables: the sector is section 2 with its own tables and seats, served by this
    // computer; its [Section] row carries the ordinary sections' table count.
    static void CheckLayout(const QString& bws, const Shape& shape)
    {
        QCOMPARE(Rows(bws, QStringLiteral("RoundData"), QStringLiteral("[custom_Komp],[custom_Zyrt],[Section]")),
            RoundDataOrder(shape));
        QCOMPARE(Rows(bws, QStringLiteral("Clients"), QStringLiteral("[ID],[Computer]")),
            QStringList { QStringLiteral("1|SALA-SEKTOR") });
        QStringList tables;
        QStringList sections;
        for (int s = 1; s <= int(shape.SectorTables.size()) + 1; ++s) {
            for (int t = 1; t <= (s == 1 ? shape.Tables : shape.SectorTables[s - 2]); ++t)
                tables.append(QStringLiteral("%1|%2|1").arg(s).arg(t));
            sections.append(QStringLiteral("%1|%2|%3|0").arg(s).arg(QChar(u'A' + s - 1)).arg(shape.Tables));
        }
        QCOMPARE(Rows(bws, QStringLiteral("Tables"), QStringLiteral("[Section],[Table],[ComputerID]")), tables);
        QCOMPARE(Rows(bws, QStringLiteral("PlayerNumbers"), QStringLiteral("[Section],[Table],[Direction],[Number]")),
            SeatRows(shape));
        QCOMPARE(Rows(bws, QStringLiteral("[Section]"), QStringLiteral("[ID],[Letter],[Tables],[MissingPair]")), sections);
        // Yes is kept as Jet keeps it (-1) on the Access path, as SQLite does (1) elsewhere.
        const int yes = kibic::CreatesAccessFiles() ? -1 : 1;
        QCOMPARE(Rows(bws, QStringLiteral("Settings"), QStringLiteral("[custom_pairs],[MemberNumbers]")),
            QStringList { QStringLiteral("%1|0").arg(shape.PairsEvent ? yes : 0) });
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestSectorBuildEndToEnd)
#include "TestSectorBuildEndToEnd.moc"
