// What the rehearsal terminal server plays: its command line, the rows of a round, the identifiers at
// the seats, and the waiting for a busy database.
#include "PlannedRows.h"
#include "RehearsalOptions.h"
#include "RehearsalPlan.h"
#include "RehearsalServer.h"
#include "ResultChecks.h"
#include "ScoringFixture.h"

#include "common/KibicError.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <map>

using namespace kibic;
using namespace kibic::terminals;
using namespace kibic::test;

namespace {

RehearsalOptions Options(quint64 seed, double erase, double notPlayed, double split)
{
    RehearsalOptions options;
    options.Seed = seed;
    options.EraseProbability = erase;
    options.NotPlayedProbability = notPlayed;
    options.SplitProbability = split;
    return options;
}

} // namespace

class TestRehearsalPlan : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString pairs = m_dir.filePath(QStringLiteral("puchar.bws"));
        CreateScoringDatabase(pairs, DemoPairs());
        m_pairs = ReadScoringLayout(pairs);
        FixtureTournament individual = DemoIndividual();
        individual.LeadCard = false;
        const QString single = m_dir.filePath(QStringLiteral("indyw.bws"));
        CreateScoringDatabase(single, individual);
        m_individual = ReadScoringLayout(single);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("rate");
        QTest::addColumn<int>("rounds");

        QTest::newRow("as Kibic starts the server") << QStringList { QStringLiteral("/f:[/t/cup.bws]"),
            QStringLiteral("/s"), QStringLiteral("/r"), QStringLiteral("/m") }
                                                    << true << QStringLiteral("/t/cup.bws") << 1.0 << 0;
        QTest::newRow("one argument, spaces in the name")
            << QStringList { QStringLiteral("/f:[/t/Puchar  Lata/cup 2.bws] /s /r /m") } << true
            << QStringLiteral("/t/Puchar  Lata/cup 2.bws") << 1.0 << 0;
        QTest::newRow("split at the spaces of the name")
            << QStringList { QStringLiteral("/f:[/t/Puchar"), QStringLiteral("Lata/cup.bws]"), QStringLiteral("/s") }
            << true << QStringLiteral("/t/Puchar Lata/cup.bws") << 1.0 << 0;
        QTest::newRow("a bracket inside the name")
            << QStringList { QStringLiteral("/f:[/t/a]b.bws]") } << true << QStringLiteral("/t/a]b.bws") << 1.0 << 0;
        QTest::newRow("a folder whose name holds \"] \"")
            << QStringList { QStringLiteral("/f:[/t/Puchar] Lata/cup.bws]"), QStringLiteral("/s"), QStringLiteral("/r"),
                   QStringLiteral("/m") }
            << true << QStringLiteral("/t/Puchar] Lata/cup.bws") << 1.0 << 0;
        QTest::newRow("unknown switches ignored, options")
            << QStringList { QStringLiteral("/x"), QStringLiteral("/F:[c.bws]"), QStringLiteral("/q"),
                   QStringLiteral("--rate"), QStringLiteral("2.5"), QStringLiteral("--rounds=3") }
            << true << QStringLiteral("c.bws") << 2.5 << 3;
        QTest::newRow("without brackets") << QStringList { QStringLiteral("/f:c.bws"), QStringLiteral("/s") } << true
                                          << QStringLiteral("c.bws") << 1.0 << 0;
        // Windows splits "/f:[C:\Turnieje\Puchar -2024\cup.bws]" at the space: the piece is no option.
        QTest::newRow("a piece of the name begins with a dash")
            << QStringList { QStringLiteral("/f:[/t/Puchar"), QStringLiteral("-2024/cup.bws]"), QStringLiteral("/s"),
                   QStringLiteral("--rate=4") }
            << true << QStringLiteral("/t/Puchar -2024/cup.bws") << 4.0 << 0;
        QTest::newRow("a value that begins with dashes")
            << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--rounds"), QStringLiteral("--2") } << false
            << QString() << 0.0 << 0;
        QTest::newRow("no file") << QStringList { QStringLiteral("/s"), QStringLiteral("/r") } << false << QString()
                                 << 0.0 << 0;
        QTest::newRow("empty brackets") << QStringList { QStringLiteral("/f:[]") } << false << QString() << 0.0 << 0;
        QTest::newRow("unclosed bracket")
            << QStringList { QStringLiteral("/f:[c.bws") } << false << QString() << 0.0 << 0;
        QTest::newRow("rate zero") << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--rate"),
            QStringLiteral("0") } << false
                                   << QString() << 0.0 << 0;
        QTest::newRow("rate too slow to wait for")
            << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--rate=1e-300") } << false << QString()
            << 0.0 << 0;
        QTest::newRow("rate missing") << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--rate") } << false
                                      << QString() << 0.0 << 0;
        QTest::newRow("probability above 1")
            << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--erase"), QStringLiteral("1.5") } << false
            << QString() << 0.0 << 0;
        QTest::newRow("negative seed") << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--seed=-1") }
                                       << false << QString() << 0.0 << 0;
        QTest::newRow("round zero") << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--rounds"),
            QStringLiteral("0") } << false
                                    << QString() << 0.0 << 0;
        QTest::newRow("unknown option") << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--fast") }
                                        << false << QString() << 0.0 << 0;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, ok);
        const ParsedRehearsalArguments parsed = ParseRehearsalArguments(arguments);
        QCOMPARE(parsed.Ok, ok);
        if (!ok) {
            QVERIFY(!parsed.Error.isEmpty());
            return;
        }
        QTEST(parsed.Options.DatabaseFile, "file");
        QTEST(parsed.Options.RowsPerSecond, "rate");
        QTEST(parsed.Options.LastRound, "rounds");
    }

    // The refusals of the command line say what is wrong with which option.
    void commandLineRefusals_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown") << QStringList { QStringLiteral("--fast") }
                                 << QStringLiteral("Nieznana opcja --fast.");
        QTest::newRow("unknown with a value")
            << QStringList { QStringLiteral("--fast=2") } << QStringLiteral("Nieznana opcja --fast.");
        QTest::newRow("value missing at the end") << QStringList { QStringLiteral("--once"), QStringLiteral("--split") }
                                                  << QStringLiteral("Opcja --split wymaga wartości.");
        QTest::newRow("a value given to --once")
            << QStringList { QStringLiteral("--once=1") } << QStringLiteral("Opcja --once nie przyjmuje wartości.");
        QTest::newRow("given twice") << QStringList { QStringLiteral("--seed"), QStringLiteral("1"),
            QStringLiteral("--seed=2") }
                                     << QStringLiteral("Opcja --seed podana więcej niż raz.");
        QTest::newRow("once twice") << QStringList { QStringLiteral("--once"), QStringLiteral("--once") }
                                    << QStringLiteral("Opcja --once podana więcej niż raz.");
        QTest::newRow("bad value") << QStringList { QStringLiteral("--split"), QStringLiteral("-0.5") }
                                   << QStringLiteral(
                                          "Prawdopodobieństwo --split musi być liczbą od 0 do 1, a jest \"-0.5\".");
    }

    void commandLineRefusals()
    {
        QFETCH(QStringList, options);
        const ParsedRehearsalArguments parsed
            = ParseRehearsalArguments(QStringList { QStringLiteral("/f:[c.bws]") } + options);
        QVERIFY(!parsed.Ok);
        QTEST(parsed.Error, "error");
    }

    // A value of any length is quoted cut, so that the message stays readable.
    void longValuesAreQuotedCut_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("quoted");
        const QString value(10000, QLatin1Char('x'));
        QTest::newRow("rate") << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--rate"), value } << value;
        QTest::newRow("seed") << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--seed=") + value }
                              << value;
        QTest::newRow("option") << QStringList { QStringLiteral("/f:[c.bws]"), QStringLiteral("--") + value,
            QStringLiteral("1") }
                                << QStringLiteral("--") + value;
        QTest::newRow("option without value") << QStringList { QStringLiteral("/f:[c.bws]"),
            QStringLiteral("--") + value } << QStringLiteral("--") + value;
    }

    void longValuesAreQuotedCut()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, quoted);
        const ParsedRehearsalArguments parsed = ParseRehearsalArguments(arguments);
        QVERIFY(!parsed.Ok);
        QVERIFY2(parsed.Error.size() < 200, qPrintable(parsed.Error.left(200)));
        QVERIFY2(parsed.Error.contains(quoted.left(40) + QChar(0x2026)), qPrintable(parsed.Error));
    }

    void optionsReachTheirFields()
    {
        const ParsedRehearsalArguments parsed = ParseRehearsalArguments(
            { QStringLiteral("/f:[c.bws]"), QStringLiteral("--once"), QStringLiteral("--seed"),
                QStringLiteral("18446744073709551615"), QStringLiteral("--erase=0.5"), QStringLiteral("--not-played"),
                QStringLiteral("0.25"), QStringLiteral("--split"), QStringLiteral("1") });
        QVERIFY2(parsed.Ok, qPrintable(parsed.Error));
        QVERIFY(parsed.Options.Once);
        QCOMPARE(parsed.Options.Seed, Q_UINT64_C(18446744073709551615));
        QCOMPARE(parsed.Options.EraseProbability, 0.5);
        QCOMPARE(parsed.Options.NotPlayedProbability, 0.25);
        QCOMPARE(parsed.Options.SplitProbability, 1.0);
    }

    void layoutReadFromTheDatabase()
    {
        QCOMPARE(m_pairs.Tables.size(), std::size_t(10));
        QCOMPARE(m_pairs.Seatings.size(), std::size_t(50));
        QCOMPARE(m_pairs.Rounds, std::vector<int>({ 1, 2, 3, 4, 5 }));
        QVERIFY(m_pairs.Settings.PairsEvent);
        QVERIFY(m_pairs.Settings.LeadCard);
        QVERIFY(!m_individual.Settings.PairsEvent);
        QVERIFY(!m_individual.Settings.LeadCard);
        QCOMPARE(m_pairs.IgnoredSeatings, 0);
    }

    // Every row of a round belongs to it, every board of every table's set is keyed in once, in the
    // order the table plays them, and the tables go side by side.
    void roundByRoundOrder()
    {
        const RehearsalOptions options = Options(3, 0.1, 0.02, 0.02);
        for (const int round : m_pairs.Rounds) {
            const auto rows = PlanRound(m_pairs, round, options);
            std::map<std::pair<int, int>, std::vector<int>> boardsAt;
            for (const ReceivedRow& row : rows) {
                QCOMPARE(row.Round, round);
                if (row.Kind == RowKind::Result)
                    boardsAt[{ row.Section, row.Table }].push_back(row.Board);
            }
            QCOMPARE(boardsAt.size(), std::size_t(10));
            for (const Seating& seating : m_pairs.Seatings) {
                if (seating.Round != round)
                    continue;
                std::vector<int> expected;
                for (int board = seating.LowBoard; board <= seating.HighBoard; ++board)
                    expected.push_back(board);
                QCOMPARE((boardsAt[{ seating.Section, seating.Table }]), expected);
            }
            // The first ten rows are the first board of each of the ten tables.
            QSet<QPair<int, int>> first;
            for (int i = 0; i < 10; ++i)
                first.insert({ rows[i].Section, rows[i].Table });
            QCOMPARE(first.size(), 10);
        }
    }

    void rowsCarryTheSeating()
    {
        const auto rows = PlanAll(m_pairs, Options(5, 0, 0, 0));
        for (const ReceivedRow& row : rows) {
            const auto seating = std::find_if(m_pairs.Seatings.begin(), m_pairs.Seatings.end(), [&](const Seating& s) {
                return s.Section == row.Section && s.Table == row.Table && s.Round == row.Round;
            });
            QVERIFY(seating != m_pairs.Seatings.end());
            QCOMPARE(row.PairNS, seating->NSPair);
            QCOMPARE(row.PairEW, seating->EWPair);
            QVERIFY(row.Board >= 21 && row.Board <= 35);
            const QString& declarer = row.Keyed.Declarer;
            const int side = declarer.isEmpty()                                        ? 0
                : (declarer == QStringLiteral("N") || declarer == QStringLiteral("S")) ? seating->NSPair
                                                                                       : seating->EWPair;
            QCOMPARE(row.Declarer, side);
        }
        // An individual event names the declaring player.
        for (const ReceivedRow& row : PlanAll(m_individual, Options(5, 0, 0, 0))) {
            if (row.Keyed.Declarer != QStringLiteral("W"))
                continue;
            const auto seating
                = std::find_if(m_individual.Seatings.begin(), m_individual.Seatings.end(), [&](const Seating& s) {
                      return s.Section == row.Section && s.Table == row.Table && s.Round == row.Round;
                  });
            QCOMPARE(row.Declarer, seating->West);
        }
    }

    void everyResultIsPossible_data()
    {
        QTest::addColumn<bool>("individual");
        QTest::newRow("pairs, lead cards") << false;
        QTest::newRow("individual, no lead cards") << true;
    }

    void everyResultIsPossible()
    {
        QFETCH(bool, individual);
        const ScoringLayout& layout = individual ? m_individual : m_pairs;
        for (quint64 seed = 1; seed <= 40; ++seed) {
            for (const ReceivedRow& row : PlanAll(layout, Options(seed, 0.1, 0.05, 0.05))) {
                const KeyedResult& k = row.Keyed;
                const QString problem = WhatIsImpossible(
                    k.Contract, k.Declarer, k.Result, k.LeadCard, k.Remarks, layout.Settings.LeadCard);
                QVERIFY2(problem.isEmpty(), qPrintable(problem));
            }
        }
    }

    // Over many boards the contracts look like a club's evening: mostly part scores and games, a few
    // slams and passed-out boards, results mostly within a trick of the contract.
    void contractsArePlausible()
    {
        int boards = 0, passed = 0, slams = 0, games = 0, partScores = 0, doubled = 0, nearContract = 0, made = 0;
        std::map<QString, int> declarers;
        for (quint64 seed = 1; seed <= 60; ++seed) {
            for (const ReceivedRow& row : PlanAll(m_pairs, Options(seed, 0, 0, 0))) {
                ContractText contract;
                QVERIFY(ParseContract(row.Keyed.Contract, contract));
                ++boards;
                if (contract.Level == 0) {
                    ++passed;
                    continue;
                }
                int against = 0;
                QVERIFY(ParseResult(row.Keyed.Result, against));
                const bool minor
                    = contract.Denomination == QStringLiteral("C") || contract.Denomination == QStringLiteral("D");
                const bool major
                    = contract.Denomination == QStringLiteral("H") || contract.Denomination == QStringLiteral("S");
                if (contract.Level >= 6)
                    ++slams;
                else if ((contract.Denomination == QStringLiteral("NT") && contract.Level >= 3)
                    || (major && contract.Level >= 4) || (minor && contract.Level == 5))
                    ++games;
                else
                    ++partScores;
                doubled += contract.Doubling > 0 ? 1 : 0;
                nearContract += std::abs(against) <= 1 ? 1 : 0;
                made += against >= 0 ? 1 : 0;
                ++declarers[row.Keyed.Declarer];
            }
        }
        QCOMPARE(boards, 60 * 150);
        const auto share = [&](int count) { return double(count) / boards; };
        const int playedOut = boards - passed;
        const auto ofPlayed = [&](int count) { return double(count) / playedOut; };
        QVERIFY2(share(passed) > 0.01 && share(passed) < 0.05, qPrintable(QString::number(share(passed))));
        QVERIFY2(share(slams) > 0.02 && share(slams) < 0.10, qPrintable(QString::number(share(slams))));
        QVERIFY2(share(games) > 0.35 && share(games) < 0.65, qPrintable(QString::number(share(games))));
        QVERIFY2(share(partScores) > 0.25 && share(partScores) < 0.55, qPrintable(QString::number(share(partScores))));
        QVERIFY2(share(doubled) > 0.03 && share(doubled) < 0.15, qPrintable(QString::number(share(doubled))));
        QVERIFY2(ofPlayed(nearContract) > 0.7, qPrintable(QString::number(ofPlayed(nearContract))));
        QVERIFY2(ofPlayed(made) > 0.55 && ofPlayed(made) < 0.8, qPrintable(QString::number(ofPlayed(made))));
        QCOMPARE(declarers.size(), std::size_t(4));
        for (const auto& [seat, count] : declarers)
            QVERIFY2(ofPlayed(count) > 0.2 && ofPlayed(count) < 0.3, qPrintable(seat));
    }

    void sameSeedSameRows()
    {
        const auto a = PlanAll(m_pairs, Options(11, 0.2, 0.05, 0.05));
        const auto b = PlanAll(m_pairs, Options(11, 0.2, 0.05, 0.05));
        const auto c = PlanAll(m_pairs, Options(12, 0.2, 0.05, 0.05));
        QCOMPARE(a.size(), b.size());
        int differ = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            QVERIFY(SameKeyed(a[i].Keyed, b[i].Keyed) && a[i].Board == b[i].Board && a[i].Kind == b[i].Kind);
        for (std::size_t i = 0; i < std::min(a.size(), c.size()); ++i)
            differ += SameKeyed(a[i].Keyed, c[i].Keyed) ? 0 : 1;
        QVERIFY(differ > 100);
    }

    void erasuresAndReEntries_data()
    {
        QTest::addColumn<double>("erase");
        QTest::newRow("never") << 0.0;
        QTest::newRow("sometimes") << 0.3;
        QTest::newRow("always") << 1.0;
    }

    // An erasure repeats the erased result with Erased set and the remark "Result erased", right after
    // it at the same table; a re-entry of the same board follows most of them. The first entries are
    // those of a run without erasures.
    void erasuresAndReEntries()
    {
        QFETCH(double, erase);
        const auto plain = PlanAll(m_pairs, Options(21, 0, 0.05, 0.05));
        const auto rows = PlanAll(m_pairs, Options(21, erase, 0.05, 0.05));
        std::map<std::tuple<int, int, int>, std::vector<const ReceivedRow*>> atTable;
        for (const ReceivedRow& row : rows)
            atTable[{ row.Section, row.Table, row.Round }].push_back(&row);
        int results = 0, erasures = 0, reEntries = 0;
        for (const auto& [place, list] : atTable) {
            for (std::size_t i = 0; i < list.size(); ++i) {
                const ReceivedRow& row = *list[i];
                QCOMPARE(row.Erased, row.Kind == RowKind::Erasure);
                if (row.Kind == RowKind::Result) {
                    ++results;
                    continue;
                }
                QVERIFY(i > 0);
                const ReceivedRow& before = *list[i - 1];
                QCOMPARE(row.Board, before.Board);
                if (row.Kind == RowKind::Erasure) {
                    ++erasures;
                    QCOMPARE(before.Kind, RowKind::Result);
                    QCOMPARE(row.Keyed.Remarks, QStringLiteral("Result erased"));
                    QCOMPARE(row.Keyed.Contract, before.Keyed.Contract);
                    QCOMPARE(row.Keyed.Result, before.Keyed.Result);
                    QCOMPARE(row.Declarer, before.Declarer);
                } else {
                    ++reEntries;
                    QCOMPARE(before.Kind, RowKind::Erasure);
                }
            }
        }
        QCOMPARE(results, 150);
        std::map<std::tuple<int, int, int, int>, KeyedResult> withoutErasures;
        for (const ReceivedRow& row : plain)
            withoutErasures[{ row.Section, row.Table, row.Round, row.Board }] = row.Keyed;
        for (const ReceivedRow& row : rows) {
            if (row.Kind == RowKind::Result)
                QVERIFY(SameKeyed(row.Keyed, withoutErasures[{ row.Section, row.Table, row.Round, row.Board }]));
        }
        if (erase == 0.0) {
            QCOMPARE(erasures, 0);
        } else if (erase == 1.0) {
            QCOMPARE(erasures, 150);
            QVERIFY2(reEntries > 80 && reEntries < 130, qPrintable(QString::number(reEntries)));
        } else {
            QVERIFY2(erasures > 25 && erasures < 70, qPrintable(QString::number(erasures)));
            QVERIFY(reEntries > 0 && reEntries < erasures);
        }
    }

    void remarksByProbability_data()
    {
        QTest::addColumn<double>("notPlayed");
        QTest::addColumn<double>("split");
        QTest::addColumn<QString>("expected"); // "none", "not played", "split", "some"
        QTest::newRow("neither") << 0.0 << 0.0 << QStringLiteral("none");
        QTest::newRow("every board not played") << 1.0 << 0.0 << QStringLiteral("not played");
        QTest::newRow("every board split") << 0.0 << 1.0 << QStringLiteral("split");
        QTest::newRow("not played wins over split") << 1.0 << 1.0 << QStringLiteral("not played");
        QTest::newRow("some of both") << 0.2 << 0.2 << QStringLiteral("some");
    }

    void remarksByProbability()
    {
        QFETCH(double, notPlayed);
        QFETCH(double, split);
        QFETCH(QString, expected);
        int notPlayedRows = 0, splitRows = 0, plainRows = 0;
        QSet<QString> splits;
        for (const ReceivedRow& row : PlanAll(m_pairs, Options(8, 0, notPlayed, split))) {
            const QString& remark = row.Keyed.Remarks;
            if (remark == QStringLiteral("Not played")) {
                ++notPlayedRows;
                QVERIFY(row.Keyed.Contract.isEmpty());
            } else if (IsSplitScore(remark)) {
                ++splitRows;
                splits.insert(remark);
                QVERIFY(row.Keyed.Contract.isEmpty());
            } else {
                QCOMPARE(remark, QString());
                ++plainRows;
            }
        }
        if (expected == QStringLiteral("none")) {
            QCOMPARE(plainRows, 150);
        } else if (expected == QStringLiteral("not played")) {
            QCOMPARE(notPlayedRows, 150);
        } else if (expected == QStringLiteral("split")) {
            QCOMPARE(splitRows, 150);
            QVERIFY(splits.size() > 5);
        } else {
            QVERIFY(notPlayedRows > 10 && notPlayedRows < 50);
            QVERIFY(splitRows > 5 && splitRows < 50);
        }
    }

    void knownIdentifiersAreDistinctNumbers()
    {
        QSet<QString> seen;
        static const QRegularExpression digits(QStringLiteral("^[1-9][0-9]{3,5}$"));
        for (int person = 1; person <= 2000; ++person) {
            const QString id = KnownIdentifier(person);
            QVERIFY2(digits.match(id).hasMatch(), qPrintable(id));
            QVERIFY(id.toInt() >= 1000);
            QVERIFY2(!seen.contains(id), qPrintable(id));
            seen.insert(id);
        }
        QCOMPARE(KnownIdentifier(1), QStringLiteral("5099"));
        QCOMPARE(KnownIdentifier(10), QStringLiteral("140990"));
    }

    void personAtASeat_data()
    {
        QTest::addColumn<bool>("pairs");
        QTest::addColumn<QString>("direction");
        QTest::addColumn<int>("person");
        // NS pair 3, EW pair 8; individual N 3, E 8, S 13, W 18.
        QTest::newRow("pairs N") << true << QStringLiteral("N") << 5;
        QTest::newRow("pairs S") << true << QStringLiteral("S") << 6;
        QTest::newRow("pairs E") << true << QStringLiteral("E") << 15;
        QTest::newRow("pairs W") << true << QStringLiteral("W") << 16;
        QTest::newRow("individual S") << false << QStringLiteral("S") << 13;
        QTest::newRow("individual W") << false << QStringLiteral("W") << 18;
        QTest::newRow("unknown seat") << false << QStringLiteral("X") << 0;
    }

    void personAtASeat()
    {
        QFETCH(bool, pairs);
        QFETCH(QString, direction);
        const Seating seating { 1, 3, 1, 3, 8, 13, 18, 1, 3 };
        QTEST(PersonAt(seating, direction, pairs), "person");
    }

    // Most seats key in the player's own identifier; the rest key nothing, a text that is no identifier,
    // or a well-formed identifier of nobody.
    void identifiersAtTheSeats()
    {
        QSet<QString> known;
        for (int person = 1; person <= 2000; ++person)
            known.insert(KnownIdentifier(person));
        std::map<IdentifierKind, int> kinds;
        for (quint64 seed = 1; seed <= 20; ++seed) {
            const auto seats = PlanIdentifiers(m_pairs, seed);
            QCOMPARE(seats.size(), std::size_t(40));
            QSet<int> persons;
            for (const SeatIdentifier& seat : seats) {
                persons.insert(seat.Person);
                ++kinds[seat.Kind];
                bool number = false;
                const int value = seat.Number.toInt(&number);
                switch (seat.Kind) {
                case IdentifierKind::Known:
                    QCOMPARE(seat.Number, KnownIdentifier(seat.Person));
                    break;
                case IdentifierKind::Unknown:
                    QVERIFY(number && value >= 1000 && seat.Number.size() <= 6);
                    QVERIFY(!known.contains(seat.Number));
                    break;
                case IdentifierKind::Malformed:
                    QVERIFY(!number || value < 1000);
                    break;
                case IdentifierKind::Missing:
                    QVERIFY(seat.Number.isEmpty());
                    break;
                }
            }
            // Forty players of twenty pairs, each once.
            QCOMPARE(persons.size(), 40);
        }
        const int total = 20 * 40;
        QVERIFY(kinds[IdentifierKind::Known] > total * 0.8);
        QVERIFY(kinds[IdentifierKind::Missing] > 0);
        QVERIFY(kinds[IdentifierKind::Malformed] > 0);
        QVERIFY(kinds[IdentifierKind::Unknown] > 0);
    }

    // A row held back by a busy file is tried until it is written, however many tries it takes.
    void busyWriteIsRetriedNotDropped()
    {
        int attempts = 0;
        int told = 0;
        const auto outcome = WriteWhileBusy(
            [&] {
                if (++attempts < 6)
                    throw KibicError(QStringLiteral("Błąd bazy danych /t/c.bws (BEGIN IMMEDIATE): zajęta"),
                        FailureKind::DatabaseBusy, QStringLiteral("/t/c.bws"));
            },
            [] { return false; }, [&](const QString&) { ++told; }, std::chrono::milliseconds(1));
        QCOMPARE(outcome, WriteOutcome::Written);
        QCOMPARE(attempts, 6);
        QCOMPARE(told, 1);
    }

    // Only the driver's codes make a failure busy: a text that speaks of a lock does not.
    void otherFailuresEndTheRun()
    {
        int attempts = 0;
        QVERIFY_THROWS_EXCEPTION(KibicError,
            (void)WriteWhileBusy(
                [&] {
                    ++attempts;
                    throw KibicError(QStringLiteral("Błąd bazy danych /t/locks/c.bws (INSERT): database is locked"));
                },
                [] { return false; }, [](const QString&) {}, std::chrono::milliseconds(1)));
        QCOMPARE(attempts, 1);
    }

    void busyWriteGivenUpOnlyWhenAsked()
    {
        int attempts = 0;
        const auto outcome = WriteWhileBusy(
            [&] {
                ++attempts;
                throw KibicError(QStringLiteral("zajęta"), FailureKind::DatabaseBusy, QStringLiteral("/t/c.bws"));
            },
            [&] { return attempts >= 3; }, [](const QString&) {}, std::chrono::milliseconds(1));
        QCOMPARE(outcome, WriteOutcome::Abandoned);
        QCOMPARE(attempts, 3);
    }

    void rowCountInPolish_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << QStringLiteral("1 wiersz");
        QTest::newRow("3") << 3 << QStringLiteral("3 wiersze");
        QTest::newRow("5") << 5 << QStringLiteral("5 wierszy");
        QTest::newRow("12") << 12 << QStringLiteral("12 wierszy");
        QTest::newRow("22") << 22 << QStringLiteral("22 wiersze");
        QTest::newRow("0") << 0 << QStringLiteral("0 wierszy");
        QTest::newRow("114") << 114 << QStringLiteral("114 wierszy");
    }

    void rowCountInPolish()
    {
        QFETCH(int, count);
        QTEST(RowCountText(count), "text");
    }

private:
    QTemporaryDir m_dir;
    ScoringLayout m_pairs;
    ScoringLayout m_individual;
};

QTEST_GUILESS_MAIN(TestRehearsalPlan)
#include "TestRehearsalPlan.moc"
