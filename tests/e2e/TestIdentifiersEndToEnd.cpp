// Identifiers from the tables to ZyRT's lists, end to end: the demo tournaments are built by kibic-cli,
// the rehearsal terminal server keys the players' identifiers into PlayerNumbers, and kibic-cli ids writes
// the identifier and name lists. Each list is checked byte for byte against the one worked out here from
// the player database, ZyRT's names database and round 1 of the scoring database.
#include "support/ProgramRun.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/TTable.h"
#include "tournament/TextData.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <array>
#include <map>

using namespace kibic;

namespace {

using kibic::test::ProgramRun;

// The 18 Polish letters as the player database holds them, in Windows-1250 and in ZyRT's own codes.
const QString kPolishLetters = QStringLiteral("ąćęłńóśżźĄĆĘŁŃÓŚŻŹ");
const QByteArray kCp1250Letters = QByteArrayLiteral(
    "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\xBF\x9F\xA5\xC6\xCA\xA3\xD1\xD3\x8C\xAF\x8F");
const QByteArray kZyrtLetters = QByteArrayLiteral(
    "\xA0\x9B\x82\x9F\xA4\xA2\x87\x91\xA8\x8F\x80\x90\x9C\xA5\x93\x98\x92\x9D");

// Windows-1250 bytes of a text made of ASCII and the 18 letters; anything else becomes 0x01, which no
// list ever holds, so a comparison shows it.
QByteArray Cp1250(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const qsizetype letter = kPolishLetters.indexOf(c);
        if (letter >= 0)
            bytes.append(kCp1250Letters[letter]);
        else
            bytes.append(c.unicode() < 0x80 ? char(c.unicode()) : '\x01');
    }
    return bytes;
}

QByteArray ZyrtCodes(QByteArray bytes)
{
    for (char& byte : bytes) {
        const qsizetype letter = kCp1250Letters.indexOf(byte);
        if (letter >= 0)
            byte = kZyrtLetters[letter];
    }
    return bytes;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(brak pliku)");
}

// One player of the expected lists; texts are the bytes written into the lists.
struct Player
{
    qint32 ParticipantNo = 0;
    QByteArray FirstName = "?";
    QByteArray Surname = "?";
    QByteArray Wk = "?";
    QByteArray Region = "?";
    QByteArray Info = "?";
    QByteArray Club = "?";
    QByteArray Id = "?";
};

// What the tables keyed in: the PlayerNumbers rows in table order, and who sat where in round 1.
struct KeyedSeat
{
    int Section = 0;
    int Table = 0;
    QString Direction;
    QString Number;
};

struct FirstRound
{
    int NSPair = 0;
    int EWPair = 0;
    int South = 0;
    int West = 0;
};

struct ScoringData
{
    std::vector<KeyedSeat> Seats;
    std::map<std::pair<int, int>, FirstRound> Round1; // by section and table: the first round-1 row
};

ScoringData ReadScoringData(const QString& bws)
{
    ScoringData data;
    const QString name = QStringLiteral("expected-") + bws;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(bws);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery seats(QStringLiteral("SELECT [Section],[Table],[Direction],[Number] FROM [PlayerNumbers] "
                                           "ORDER BY rowid"),
                db);
            while (seats.next())
                data.Seats.push_back({ seats.value(0).toInt(), seats.value(1).toInt(), seats.value(2).toString(),
                    seats.value(3).toString() });
            QSqlQuery rounds(QStringLiteral("SELECT [Section],[Table],[NSPair],[EWPair],[custom_S],[custom_W] "
                                            "FROM [RoundData] WHERE [Round]=1 ORDER BY rowid"),
                db);
            while (rounds.next())
                data.Round1.emplace(std::pair(rounds.value(0).toInt(), rounds.value(1).toInt()),
                    FirstRound { rounds.value(2).toInt(), rounds.value(3).toInt(), rounds.value(4).toInt(),
                        rounds.value(5).toInt() });
        }
    }
    QSqlDatabase::removeDatabase(name);
    return data;
}

// The player database's rows by ID, the first row of each ID, in Windows-1250 like the database program.
std::map<QString, std::array<QByteArray, 6>> ReadPlayerDatabase(const QString& file)
{
    std::map<QString, std::array<QByteArray, 6>> players;
    const QString name = QStringLiteral("expected-players");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery rows(
                QStringLiteral("SELECT ID,IMIE,NAZWISKO,WK,OKREG,INFO,KLUB FROM players ORDER BY rowid"), db);
            while (rows.next()) {
                std::array<QByteArray, 6> fields;
                for (int i = 0; i < 6; ++i)
                    fields[i] = Cp1250(rows.value(i + 1).toString().trimmed());
                players.emplace(rows.value(0).toString(), fields);
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return players;
}

bool IsCezarIdentifier(const QString& text)
{
    bool ok = false;
    const qint32 value = text.toInt(&ok);
    const bool digitsOnly = std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    return ok && digitsOnly && value >= 1000;
}

// The players of the tournament in list order with the identifiers keyed in at their seats in round 1.
std::vector<Player> SeatedPlayers(const QString& description, bool pairsEvent, bool cezar, const ScoringData& data)
{
    TText text(description);
    std::vector<qint32> header;
    for (int i = 0; i < 15; ++i)
        header.push_back(text.ReadInt());
    std::vector<Player> players;
    for (qint32 k = 0; k < header[7]; ++k) {
        const qint32 number = text.ReadInt();
        players.push_back({ number });
        if (pairsEvent)
            players.push_back({ number });
    }
    std::stable_sort(players.begin(), players.end(),
        [](const Player& a, const Player& b) { return a.ParticipantNo < b.ParticipantNo; });

    for (const KeyedSeat& seat : data.Seats) {
        const QString keyed = seat.Number.trimmed();
        const auto round1 = data.Round1.find({ seat.Section, seat.Table });
        if (keyed.isEmpty() || round1 == data.Round1.end())
            continue;
        const FirstRound& r = round1->second;
        const QString& d = seat.Direction;
        qint32 participant = 0;
        bool second = false;
        if (pairsEvent) {
            participant = d.startsWith(u'N') || d.startsWith(u'S') ? r.NSPair : r.EWPair;
            second = d.startsWith(u'S') || d.startsWith(u'W');
        } else {
            participant = d == QStringLiteral("N") ? r.NSPair
                : d == QStringLiteral("E") ? r.EWPair
                : d == QStringLiteral("S") ? r.South
                                            : r.West;
        }
        const auto first = std::find_if(
            players.begin(), players.end(), [&](const Player& p) { return p.ParticipantNo == participant; });
        if (participant < 1 || first == players.end())
            continue;
        const QString id = cezar && !IsCezarIdentifier(keyed) ? QString() : keyed.rightJustified(5, QLatin1Char('0'));
        (second ? *(first + 1) : *first).Id = id.toLatin1();
    }
    return players;
}

// The Cezar flow's look-up: the messages it shows, in entry order.
QStringList LookUpPlayerDatabase(std::vector<Player>& players, const QString& database, bool pairsEvent)
{
    const auto rows = ReadPlayerDatabase(database);
    QStringList messages;
    for (Player& player : players) {
        if (player.Id == "?")
            continue;
        const auto row = rows.find(QString::fromLatin1(player.Id));
        if (player.Id.isEmpty() || row == rows.end()) {
            messages.append(QStringLiteral("Błędne ID ") + (pairsEvent ? QStringLiteral("w parze ") : QStringLiteral("zawodnika "))
                + QString::number(player.ParticipantNo) + QStringLiteral(" !"));
            player.Id = "?";
            continue;
        }
        QByteArray* fields[] = { &player.FirstName, &player.Surname, &player.Wk, &player.Region, &player.Info,
            &player.Club };
        for (int i = 0; i < 6; ++i) {
            if (!row->second[i].isEmpty())
                *fields[i] = row->second[i];
        }
    }
    return messages;
}

// ZyRT's names database, 31-byte records: initial, blank, surname (15), WK (4), district (5), identifier (5).
void LookUpNamesDatabase(std::vector<Player>& players, const QByteArray& names)
{
    QCOMPARE(names.size() % 31, 0);
    for (Player& player : players) {
        for (qsizetype at = 0; at + 31 <= names.size(); at += 31) {
            if (names.mid(at + 26, 5) != player.Id)
                continue;
            player.FirstName = names.mid(at, 1);
            player.Surname = names.mid(at + 2, 15).trimmed();
            player.Wk = names.mid(at + 17, 4).trimmed();
            player.Region = names.mid(at + 21, 5).split(',').front().trimmed();
            break;
        }
    }
}

QByteArray ListLine(const QByteArray& field)
{
    const QByteArray text = field.trimmed();
    if (text.isEmpty())
        return "?\r\n";
    return (text.contains(' ') ? '"' + text + '"' : text) + "\r\n";
}

QByteArray IdentifierList(const std::vector<Player>& players)
{
    QByteArray list = QByteArray("?\r\n").repeated(11);
    for (const Player& p : players) {
        list += QByteArray::number(p.ParticipantNo) + "\r\n";
        for (const QByteArray& field : { p.FirstName, p.Surname, p.Wk, p.Region, p.Info, p.Club, p.Id })
            list += ListLine(field);
    }
    return list;
}

QByteArray NameList(const std::vector<Player>& players, bool convertLetters)
{
    QByteArray list;
    for (const Player& p : players) {
        QByteArray name = p.FirstName.left(1) + ' ' + p.Surname;
        if (convertLetters)
            name = ZyrtCodes(name);
        name.replace('?', "");
        QByteArray wk = QByteArray(p.Wk).replace('?', "");
        QByteArray region = QByteArray(p.Region).replace('?', "");
        list += QByteArray(name + QByteArray(17, ' ')).left(17);
        list += QByteArray(QByteArray(4, ' ') + wk).right(std::max<qsizetype>(4, wk.size())).left(4);
        list += QByteArray(region + QByteArray(5, ' ')).left(5);
    }
    return list;
}

} // namespace

class TestIdentifiersEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QProcess script;
        script.start(QStringLiteral("bash"), { QStringLiteral(KIBIC_SOURCE_DIR "/scripts/prepare-demo"), m_dir->path() });
        QVERIFY(script.waitForFinished(60000));
        QVERIFY2(script.exitCode() == 0, script.readAllStandardError().constData());
    }

    void cezarLists_data()
    {
        QTest::addColumn<QString>("tournament");
        QTest::addColumn<bool>("pairsEvent");
        QTest::newRow("pairs") << QStringLiteral("puchar") << true;
        QTest::newRow("individual") << QStringLiteral("indyw") << false;
    }

    // Both lists from the player database; an identifier that is no Cezar identifier or that nobody has
    // is reported in entry order and written as "?".
    void cezarLists()
    {
        QFETCH(QString, tournament);
        QFETCH(bool, pairsEvent);
        PlayDemo(tournament, pairsEvent);
        if (QTest::currentTestFailed())
            return;
        const ScoringData data = ReadScoringData(Path(tournament + QStringLiteral(".bws")));
        CheckSeatsCoverEveryCase(data, pairsEvent, ReadPlayerDatabase(Path(QStringLiteral("zawodnicy.db"))));
        if (QTest::currentTestFailed())
            return;
        std::vector<Player> players = SeatedPlayers(Path(tournament + (pairsEvent ? QStringLiteral(".inf") : QStringLiteral(".ind"))), pairsEvent, true, data);
        const QStringList messages = LookUpPlayerDatabase(players, Path(QStringLiteral("zawodnicy.db")), pairsEvent);
        QCOMPARE(qsizetype(players.size()), qsizetype(pairsEvent ? 40 : 20));
        QVERIFY(messages.size() >= 3);
        const QString identifierList = Path(tournament + (pairsEvent ? QStringLiteral(".LU2") : QStringLiteral(".LU1")));
        const QString nameList = Path(tournament + (pairsEvent ? QStringLiteral(".LUC") : QStringLiteral(".LZA")));

        const ProgramRun run = Ids({ Path(tournament + QStringLiteral(".bws")), QStringLiteral("--cezar") });

        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.ErrLines(), messages);
        QCOMPARE(run.OutLines(),
            (QStringList { QStringLiteral("Zapisano %1.").arg(identifierList), QStringLiteral("Zapisano %1.").arg(nameList) }));
        const QByteArray expectedIds = IdentifierList(players);
        QCOMPARE(expectedIds.count("\r\n"), 11 + 8 * qsizetype(players.size()));
        QCOMPARE(ReadFile(identifierList), expectedIds);
        const QByteArray expectedNames = NameList(players, true);
        QCOMPARE(expectedNames.size(), 26 * qsizetype(players.size()));
        QCOMPARE(ReadFile(nameList), expectedNames);
    }

    void namesFileList_data()
    {
        cezarLists_data();
    }

    // The name list alone from ZyRT's names database, whose names are in ZyRT's codes already; no messages.
    void namesFileList()
    {
        QFETCH(QString, tournament);
        QFETCH(bool, pairsEvent);
        PlayDemo(tournament, pairsEvent);
        if (QTest::currentTestFailed())
            return;
        const ScoringData data = ReadScoringData(Path(tournament + QStringLiteral(".bws")));
        std::vector<Player> players = SeatedPlayers(Path(tournament + (pairsEvent ? QStringLiteral(".inf") : QStringLiteral(".ind"))), pairsEvent, false, data);
        LookUpNamesDatabase(players, ReadFile(Path(QStringLiteral("ZAWODNICY.BAN"))));
        const qsizetype found = std::count_if(players.begin(), players.end(), [](const Player& p) { return p.Surname != "?"; });
        QVERIFY2(found > qsizetype(players.size()) / 2, qPrintable(QString::number(found)));
        const QString nameList = Path(tournament + (pairsEvent ? QStringLiteral(".LUC") : QStringLiteral(".LZA")));

        const ProgramRun run = Ids({ Path(tournament + QStringLiteral(".bws")), QStringLiteral("--names-file") });

        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.ErrLines(), QStringList());
        QCOMPARE(run.OutLines(), QStringList { QStringLiteral("Zapisano %1.").arg(nameList) });
        QVERIFY(!QFile::exists(Path(tournament + (pairsEvent ? QStringLiteral(".LU2") : QStringLiteral(".LU1")))));
        QCOMPARE(ReadFile(nameList), NameList(players, false));
    }

    void existingLists_data()
    {
        QTest::addColumn<QString>("tournament");
        QTest::addColumn<bool>("pairsEvent");
        QTest::addColumn<bool>("cezar");
        QTest::newRow("pairs, Cezar") << QStringLiteral("puchar") << true << true;
        QTest::newRow("individual, Cezar") << QStringLiteral("indyw") << false << true;
        QTest::newRow("pairs, names file") << QStringLiteral("puchar") << true << false;
    }

    // Without --yes every existing list stays as it was, while a missing one is written without a
    // question; with --yes the lists are written again whole.
    void existingLists()
    {
        QFETCH(QString, tournament);
        QFETCH(bool, pairsEvent);
        QFETCH(bool, cezar);
        PlayDemo(tournament, pairsEvent);
        if (QTest::currentTestFailed())
            return;
        const QString bws = Path(tournament + QStringLiteral(".bws"));
        const QString flow = cezar ? QStringLiteral("--cezar") : QStringLiteral("--names-file");
        QStringList lists;
        if (cezar)
            lists.append(Path(tournament + (pairsEvent ? QStringLiteral(".LU2") : QStringLiteral(".LU1"))));
        lists.append(Path(tournament + (pairsEvent ? QStringLiteral(".LUC") : QStringLiteral(".LZA"))));

        const ProgramRun first = Ids({ bws, flow });
        QCOMPARE(first.ExitCode, 0);
        const QStringList messages = first.ErrLines();
        std::vector<QByteArray> written;
        for (const QString& list : lists) {
            written.push_back(ReadFile(list));
            QFile::remove(list);
            QFile file(list);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("stary plik\r\n");
        }
        QStringList questions;
        QStringList keptLines;
        for (const QString& list : lists) {
            questions.append(list + QStringLiteral(" istnieje. Nadpisać?"));
            keptLines.append(QStringLiteral("Plik %1 pozostawiono bez zmian (--yes go nadpisuje).").arg(list));
        }

        ProgramRun run = Ids({ bws, flow });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.ErrLines(), messages + questions);
        QCOMPARE(run.OutLines(), keptLines);
        for (const QString& list : lists)
            QCOMPARE(ReadFile(list), QByteArray("stary plik\r\n"));

        // The name list gone, the identifier list kept: only the existing one is asked about.
        QFile::remove(lists.back());
        run = Ids({ bws, flow });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.ErrLines(), messages + questions.mid(0, questions.size() - 1));
        QCOMPARE(ReadFile(lists.back()), written.back());
        if (cezar)
            QCOMPARE(ReadFile(lists.front()), QByteArray("stary plik\r\n"));

        run = Ids({ QStringLiteral("--yes"), bws, flow });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.ErrLines(), messages + questions);
        for (size_t i = 0; i < written.size(); ++i) {
            QCOMPARE(ReadFile(lists[qsizetype(i)]), written[i]);
            QCOMPARE(run.OutLines()[qsizetype(i)], QStringLiteral("Zapisano %1.").arg(lists[qsizetype(i)]));
        }
    }

private:
    QString Path(const QString& name) const { return m_dir->filePath(name); }

    ProgramRun Execute(const QString& program, const QStringList& arguments) const
    {
        kibic::test::RunOptions options;
        options.WorkingDirectory = m_dir->path();
        options.Environment = { { QStringLiteral("KIBIC_REGISTRY_DIR"), Path(QStringLiteral("registry")) } };
        options.TimeoutMs = 120000;
        return kibic::test::RunProgram(program, arguments, options);
    }

    ProgramRun Ids(const QStringList& arguments) const
    {
        return Execute(kibic::test::KibicProgram("kibic-cli"), QStringList { QStringLiteral("ids") } + arguments);
    }

    // kibic-cli build, the terminals asked for identifiers (the build leaves that off), then the
    // rehearsal terminal server keys them in and plays the tournament once.
    void PlayDemo(const QString& tournament, bool pairsEvent) const
    {
        const QString bws = Path(tournament + QStringLiteral(".bws"));
        const ProgramRun build = Execute(kibic::test::KibicProgram("kibic-cli"),
            { QStringLiteral("build"), Path(tournament + (pairsEvent ? QStringLiteral(".inf") : QStringLiteral(".ind"))) });
        QVERIFY2(build.ExitCode == 0, qPrintable(build.ErrLines().join(u'\n')));
        QCOMPARE(build.OutLines(), QStringList { bws });
        {
            TTable settings(ScoringConnectionString(bws), QStringLiteral("Settings"));
            settings.Open();
            settings.First();
            QVERIFY(!settings.FieldAsBoolean(QStringLiteral("MemberNumbers")));
            settings.Edit();
            settings.SetField(QStringLiteral("MemberNumbers"), true);
            settings.Post();
            settings.Close();
        }
        const ProgramRun server = Execute(kibic::test::KibicProgram("kibic-terminals"),
            { QStringLiteral("/f:[%1]").arg(bws), QStringLiteral("/s"), QStringLiteral("/r"), QStringLiteral("/m"),
                QStringLiteral("--once"), QStringLiteral("--seed"), QStringLiteral("7") });
        QVERIFY2(server.ExitCode == 0, qPrintable(server.ErrLines().join(u'\n')));
        QVERIFY2(server.OutLines().filter(QStringLiteral("Identyfikatory zawodników: wpisano")).size() == 1,
            qPrintable(server.OutLines().join(u'\n')));
    }

    // With seed 7 the tables key in every kind of identifier the flows must handle: so a change of the
    // server's choices cannot quietly leave a case untested.
    static void CheckSeatsCoverEveryCase(
        const ScoringData& data, bool pairsEvent, const std::map<QString, std::array<QByteArray, 6>>& players)
    {
        int nothing = 0, rejected = 0, unknown = 0, wellFormed = 0, sixDigits = 0, secondOfPair = 0;
        for (const KeyedSeat& seat : data.Seats) {
            const QString keyed = seat.Number.trimmed();
            if (keyed.isEmpty())
                ++nothing;
            else if (!IsCezarIdentifier(keyed))
                ++rejected;
            else if (players.count(keyed.rightJustified(5, QLatin1Char('0'))) == 0)
                ++unknown;
            else {
                ++wellFormed;
                sixDigits += keyed.size() == 6 ? 1 : 0;
                secondOfPair += seat.Direction == QStringLiteral("S") || seat.Direction == QStringLiteral("W") ? 1 : 0;
            }
        }
        QCOMPARE(qsizetype(data.Seats.size()), qsizetype(pairsEvent ? 40 : 20));
        QVERIFY(nothing >= 1);
        QVERIFY(rejected >= 1);
        QVERIFY(unknown >= 1);
        QVERIFY(sixDigits >= 1);
        QVERIFY(secondOfPair >= 1);
        QVERIFY(wellFormed >= 15);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestIdentifiersEndToEnd)
#include "TestIdentifiersEndToEnd.moc"
