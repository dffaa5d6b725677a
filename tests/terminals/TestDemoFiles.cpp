// The demo tournaments as scripts/prepare-demo lays them out: ZyRT's files sized for the events, the
// names database and the player database that know the identifiers the rehearsal server keys in.
#include "RehearsalPlan.h"
#include "RehearsalServer.h"
#include "ScoringFixture.h"

#include "common/Operator.h"
#include "platform/Registry.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/TQuery.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uBuildBWS.h"
#include "tournament/Cp1250.h"
#include "tournament/TextData.h"
#include "tournament/TournamentReader.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <set>

using namespace kibic;
using namespace kibic::terminals;
using namespace kibic::test;

namespace {

QString Padded(const QString& identifier)
{
    return identifier.rightJustified(5, QLatin1Char('0'));
}

std::vector<qint32> ReadNumbers(const QString& file, int count)
{
    TText text(file);
    std::vector<qint32> numbers;
    for (int i = 0; i < count; ++i)
        numbers.push_back(text.ReadInt());
    return numbers;
}

// The demo has no non-typical sector; being asked to complete one is a fault.
class NoSector : public NonTypicalSectorCompleter
{
public:
    bool CompleteNonTypicalSector(TournamentModel&, const NonTypicalSectorHandOver&) override { return false; }
    bool CompleteIndividualNonTypicalSector(TournamentModel&, const NonTypicalSectorHandOver&) override
    {
        return false;
    }
};

// The RoundData rows of a database, sorted, as text.
QStringList RoundDataRows(const QString& file)
{
    TTable rounds(ScoringConnectionString(file), QStringLiteral("RoundData"));
    rounds.Open();
    QStringList rows;
    for (rounds.First(); !rounds.Eof(); rounds.Next()) {
        QStringList values;
        for (const char* column : { "Section", "Round", "Table", "NSPair", "EWPair", "LowBoard", "HighBoard",
                 "custom_Zyrt", "custom_Komp", "custom_S", "custom_W" })
            values.append(QString::number(rounds.FieldAsInteger(QString::fromLatin1(column))));
        rows.append(values.join(QLatin1Char(' ')));
    }
    rows.sort();
    return rows;
}

} // namespace

class TestDemoFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QProcess script;
        script.start(
            QStringLiteral("bash"), { QStringLiteral(KIBIC_SOURCE_DIR "/scripts/prepare-demo"), m_dir.path() });
        QVERIFY(script.waitForFinished(60000));
        QVERIFY2(script.exitCode() == 0, script.readAllStandardError().constData());
    }

    // The pairs description is the two-section Mitchell that the server's tests play (DemoPairs), with
    // boards numbered from 21; its score file has a 30000 in every one of BoardCount x ResultsPerBoard slots.
    void pairsEvent()
    {
        const auto n = ReadNumbers(Path(QStringLiteral("puchar.inf")), 38);
        const FixtureTournament demo = DemoPairs();
        QCOMPARE(n[0], demo.Tables);
        QCOMPARE(n[1], demo.Rounds);
        QCOMPARE(n[2], demo.BoardsPerRound);
        QCOMPARE(n[3], demo.Sections);
        QVERIFY(n[5] >= demo.Rounds); // no NS/EW switch
        QCOMPARE(n[6], 0); // no shift
        QCOMPARE(n[7], 20); // pairs
        QCOMPARE(n[8], demo.Rounds * demo.Sections);
        QCOMPARE(n[13], demo.Tables * demo.BoardsPerRound);
        QCOMPARE(n[14], 0); // no non-typical sector
        for (int i = 0; i < 20; ++i)
            QCOMPARE(n[15 + i], i + 1);
        QCOMPARE(n[35], -2); // EW step
        QCOMPARE(n[36], 0);
        QCOMPARE(n[37], 0);
        QCOMPARE(
            ReadNumbers(Path(QStringLiteral("puchar.INR")), 2), std::vector<qint32>({ demo.BoardsNumberedAfter, 0 }));
        CheckEmptyScores(Path(QStringLiteral("puchar.ZAP")), n[13] * n[8]);
    }

    void individualEvent()
    {
        const auto n = ReadNumbers(Path(QStringLiteral("indyw.ind")), 39);
        const FixtureTournament demo = DemoIndividual();
        QCOMPARE(n[0], demo.Tables);
        QCOMPARE(n[1], demo.Rounds);
        QCOMPARE(n[2], demo.BoardsPerRound);
        QCOMPARE(n[3], demo.Sections);
        QCOMPARE(n[4], 0);
        QCOMPARE(n[7], 20);
        QCOMPARE(n[8], demo.Rounds);
        QVERIFY(n[11] >= n[12]); // first switch range empty
        QCOMPARE(n[13], demo.Tables * demo.BoardsPerRound);
        QVERIFY(n[14] >= demo.Rounds); // second switch range empty
        for (int i = 0; i < 20; ++i)
            QCOMPARE(n[15 + i], i + 1);
        QCOMPARE(std::vector<qint32>(n.begin() + 35, n.end()), std::vector<qint32>({ -1, 0, 1, 2 }));
        CheckEmptyScores(Path(QStringLiteral("indyw.ZAI")), n[13] * n[8]);
    }

    // The movement the pairs event implies: every table of a section plays one board set a round,
    // every board set once at every table, every pair every round, and no two pairs meet twice.
    void pairsMovementIsValid()
    {
        const QString file = m_dir.filePath(QStringLiteral("movement.bws"));
        CreateScoringDatabase(file, DemoPairs());
        const ScoringLayout layout = ReadScoringLayout(file);
        QCOMPARE(layout.Seatings.size(), std::size_t(50));
        std::set<std::tuple<int, int, int>> setAtTable; // section, table, low board
        std::set<std::tuple<int, int, int>> pairInRound; // section, round, pair
        std::set<std::pair<int, int>> meetings;
        std::map<int, std::set<int>> boardSetsOfPair;
        for (const Seating& s : layout.Seatings) {
            QVERIFY(setAtTable.insert({ s.Section, s.Table, s.LowBoard }).second);
            QVERIFY(pairInRound.insert({ s.Section, s.Round, s.NSPair }).second);
            QVERIFY(pairInRound.insert({ s.Section, s.Round, s.EWPair }).second);
            QVERIFY(meetings.insert({ s.NSPair, s.EWPair }).second);
            QVERIFY(boardSetsOfPair[s.NSPair].insert(s.LowBoard).second);
            QVERIFY(boardSetsOfPair[s.EWPair].insert(s.LowBoard).second);
            QCOMPARE(s.HighBoard - s.LowBoard + 1, 3);
            QVERIFY(s.LowBoard >= 21 && s.HighBoard <= 35);
        }
        QCOMPARE(boardSetsOfPair.size(), std::size_t(20));
        for (const auto& [pair, sets] : boardSetsOfPair)
            QCOMPARE(sets.size(), std::size_t(5));
    }

    void builtByKibic_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("individual");
        QTest::addColumn<int>("rows");
        QTest::newRow("puchar") << QStringLiteral("puchar.inf") << false << 162;
        QTest::newRow("indyw") << QStringLiteral("indyw.ind") << true << 51;
    }

    // Kibic's own reading and build of the demo give the RoundData of the tests' databases (DemoPairs,
    // DemoIndividual), and the rehearsal server plays them into the number of rows the demo relies on
    // (with --once --seed 1 and the default probabilities).
    void builtByKibic()
    {
        QFETCH(QString, description);
        QFETCH(bool, individual);
        TournamentModel model;
        model.ScoringKind = 2;
        NoSector completer;
        QVERIFY(ReadTournament(model, Path(description), completer));
        ScriptedOperator op;
        QVERIFY2(BuildScoringDatabase(model, op), qPrintable(op.Messages.join(QLatin1Char('\n'))));
        const QString built = ScoringDatabaseFileName(model);

        const QString fixture
            = m_dir.filePath(individual ? QStringLiteral("fixture-i.bws") : QStringLiteral("fixture-p.bws"));
        CreateScoringDatabase(fixture, individual ? DemoIndividual() : DemoPairs());
        QCOMPARE(RoundDataRows(built), RoundDataRows(fixture));

        RehearsalOptions options;
        options.DatabaseFile = built;
        options.Once = true;
        options.Seed = 1;
        QStringList output;
        RehearsalServer server(
            options, [] { return 0; }, [&](const QString& line) { output.append(line); },
            [&](const QString& line) { output.append(line); });
        QCOMPARE(server.Run(), 0);
        QFETCH(int, rows);
        QCOMPARE(TQueryCount(built), qint64(rows));
    }

    // Every identifier that the rehearsal server keys in as a player's own is in the player database,
    // as Kibic looks it up (left-padded with zeros to five characters); the well-formed identifiers of
    // nobody are not.
    void playerDatabaseKnowsThePlayers()
    {
        TTable players(ScoringConnectionString(Path(QStringLiteral("zawodnicy.db"))), QStringLiteral("players"));
        players.Open();
        for (const char* column : { "ID", "IMIE", "NAZWISKO", "WK", "OKREG", "INFO", "KLUB" })
            QVERIFY2(players.HasField(QString::fromLatin1(column)), column);
        QSet<QString> ids;
        bool polishLetters = false;
        bool emptyClub = false;
        for (players.First(); !players.Eof(); players.Next()) {
            const QString id = players.FieldAsString(QStringLiteral("ID"));
            QVERIFY2(!ids.contains(id), qPrintable(id));
            ids.insert(id);
            QVERIFY(id.toInt() < 30000 || id.toInt() >= 100000);
            polishLetters = polishLetters || players.FieldAsString(QStringLiteral("NAZWISKO")).contains(QChar(u'ł'));
            emptyClub = emptyClub || players.FieldAsString(QStringLiteral("KLUB")).isEmpty();
        }
        QVERIFY(polishLetters);
        QVERIFY(emptyClub);
        for (int person = 1; person <= 40; ++person)
            QVERIFY2(ids.contains(Padded(KnownIdentifier(person))), qPrintable(KnownIdentifier(person)));

        // The seats of both events for a few seeds.
        for (const bool individual : { false, true }) {
            const QString file = m_dir.filePath(individual ? QStringLiteral("i.bws") : QStringLiteral("p.bws"));
            CreateScoringDatabase(file, individual ? DemoIndividual() : DemoPairs());
            const ScoringLayout layout = ReadScoringLayout(file);
            for (quint64 seed = 1; seed <= 10; ++seed) {
                for (const SeatIdentifier& seat : PlanIdentifiers(layout, seed)) {
                    if (seat.Kind == IdentifierKind::Known)
                        QVERIFY2(ids.contains(Padded(seat.Number)), qPrintable(seat.Number));
                    if (seat.Kind == IdentifierKind::Unknown)
                        QVERIFY2(!ids.contains(Padded(seat.Number)), qPrintable(seat.Number));
                }
            }
        }
    }

    // ZyRT's names database: 31-byte records of the players whose identifiers have five characters,
    // names in ZyRT's letter codes.
    void namesDatabase()
    {
        QFile names(Path(QStringLiteral("ZAWODNICY.BAN")));
        QVERIFY(names.open(QIODevice::ReadOnly));
        const QByteArray bytes = names.readAll();
        QVERIFY(!bytes.startsWith("FULL_NAMES_FOR_ABACS"));
        QCOMPARE(bytes.size() % 31, 0);
        std::map<QByteArray, QByteArray> byIdentifier;
        for (qsizetype at = 0; at < bytes.size(); at += 31) {
            const QByteArray record = bytes.mid(at, 31);
            byIdentifier[record.mid(26, 5)] = record;
        }
        TTable players(ScoringConnectionString(Path(QStringLiteral("zawodnicy.db"))), QStringLiteral("players"));
        players.Open();
        int expected = 0;
        for (players.First(); !players.Eof(); players.Next()) {
            const QString id = players.FieldAsString(QStringLiteral("ID"));
            if (id.size() != 5)
                continue;
            ++expected;
            const auto found = byIdentifier.find(id.toLatin1());
            QVERIFY2(found != byIdentifier.end(), qPrintable(id));
            const QByteArray& record = found->second;
            const QByteArray surname
                = ConvertPolishLetters(ToCp1250(players.FieldAsString(QStringLiteral("NAZWISKO"))));
            QCOMPARE(record.mid(2, 15), surname.leftJustified(15, ' ', true));
            QCOMPARE(record.at(0), ConvertPolishLetters(ToCp1250(players.FieldAsString(QStringLiteral("IMIE")))).at(0));
            QCOMPARE(record.mid(17, 4).trimmed(), players.FieldAsString(QStringLiteral("WK")).toLatin1());
            const QByteArray district = record.mid(21, 5);
            const QByteArray region = district.left(district.indexOf(',') < 0 ? 5 : district.indexOf(',')).trimmed();
            QCOMPARE(region, ConvertPolishLetters(ToCp1250(players.FieldAsString(QStringLiteral("OKREG")))).left(5));
        }
        QCOMPARE(int(byIdentifier.size()), expected);
        QCOMPARE(bytes.size(), expected * 31);
        // A surname with Polish letters, in ZyRT's codes: "Wiśniewski" of the first player.
        QCOMPARE(byIdentifier.at("05099").mid(2, 10), QByteArray("Wi\x87niewski"));
    }

    // ZyRT's configuration names the names database after "[NAZWISKA]" by its full path; the registry
    // files point at the configuration and at the player database.
    void configurationAndRegistry()
    {
        QFile configuration(Path(QStringLiteral("zyrt.ini")));
        QVERIFY(configuration.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = configuration.readAll().split('\n');
        const auto section = std::find_if(lines.begin(), lines.end(),
            [](const QByteArray& line) { return line.trimmed().toUpper().startsWith("[NAZWISKA]"); });
        QVERIFY(section != lines.end() && section + 1 != lines.end());
        const QString namesPath = QString::fromLocal8Bit((section + 1)->trimmed());
        QCOMPARE(namesPath, Path(QStringLiteral("ZAWODNICY.BAN")));
        QVERIFY(QFile::exists(namesPath));

        qputenv("KIBIC_REGISTRY_DIR", Path(QStringLiteral("registry")).toLocal8Bit());
        const auto gawotnik
            = RegistryKey::Open(RegistryHive::LocalMachine, QStringLiteral("Software\\Trevik\\Gawotnik"), false);
        QVERIFY(gawotnik.has_value());
        QCOMPARE(gawotnik->ReadString(QStringLiteral("ZyRT")), Path(QStringLiteral("zyrt.ini")));
        const auto pelikar
            = RegistryKey::Open(RegistryHive::CurrentUser, QStringLiteral("\\Software\\Trevik\\Pelikar"), false);
        QVERIFY(pelikar.has_value());
        QCOMPARE(pelikar->ReadString(QStringLiteral("DatabaseName")), Path(QStringLiteral("zawodnicy.db")));
        qunsetenv("KIBIC_REGISTRY_DIR");
    }

private:
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    static qint64 TQueryCount(const QString& file)
    {
        TQuery count(ScoringConnectionString(file));
        count.SetSql(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData]"));
        return count.OpenFirstInteger();
    }

    static void CheckEmptyScores(const QString& file, int records)
    {
        QFile scores(file);
        QVERIFY(scores.open(QIODevice::ReadOnly));
        const QByteArray bytes = scores.readAll();
        QCOMPARE(bytes.size(), 2 * records);
        for (qsizetype at = 0; at < bytes.size(); at += 2) {
            const qint16 value = qint16(quint8(bytes[at]) | (quint8(bytes[at + 1]) << 8));
            QCOMPARE(value, qint16(30000));
        }
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestDemoFiles)
#include "TestDemoFiles.moc"
