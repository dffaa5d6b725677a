// The session's deals on the demo tournament: kibic-cli hands loads a PBN file written by `dealer` into the
// pairs event's database (boards 21-35 of its .INR numbering) and prints the boards, and kibic-terminals then
// plays those deals: contracts near the double-dummy table, leads from the leader's hand.
#include "EndToEnd.h"

#include "deals/SessionDeals.h"
#include "scoringdb/TTable.h"

#include <QFile>
#include <QTest>

using namespace kibic;
using namespace kibic::e2e;

namespace {

QString DealerPbn()
{
    return QStringLiteral(KIBIC_SOURCE_DIR "/tests/data/deals/dealer-40.pbn");
}

// A played board of ReceivedData: section, board, contract, declarer, result, lead.
struct PlayedRow
{
    int Section = 0;
    int Board = 0;
    QString Contract, Declarer, Result, Lead, Remarks;
};

std::vector<PlayedRow> PlayedRows(const QString& database)
{
    TTable table(ScoringConnectionString(database), QStringLiteral("ReceivedData"));
    table.Open();
    std::vector<PlayedRow> rows;
    for (table.First(); !table.Eof(); table.Next()) {
        if (table.FieldAsBoolean(QStringLiteral("Erased")))
            continue;
        rows.push_back({ table.FieldAsInteger(QStringLiteral("Section")), table.FieldAsInteger(QStringLiteral("Board")),
            table.FieldAsString(QStringLiteral("Contract")), table.FieldAsString(QStringLiteral("NS/EW")),
            table.FieldAsString(QStringLiteral("Result")), table.FieldAsString(QStringLiteral("LeadCard")),
            table.FieldAsString(QStringLiteral("Remarks")) });
    }
    return rows;
}

int ResultOf(const QString& text)
{
    return text == QStringLiteral("=") ? 0 : text.toInt();
}

} // namespace

class TestHandsEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_demo = std::make_unique<DemoFolder>();
        QVERIFY2(m_demo->Error.isEmpty(), qPrintable(m_demo->Error));
        m_database = m_demo->Build(QStringLiteral("puchar.inf"));
        QVERIFY2(!m_database.isEmpty(), qPrintable(m_demo->Error));
    }

    // One line per board the tournament plays, in the file's order, with the makeable contracts and the par;
    // the boards of the file that the tournament does not play are named on the standard error.
    void cliLoadsAndPrints()
    {
        const ProgramRun run = Cli({ QStringLiteral("hands"), m_database, DealerPbn() });
        QCOMPARE(run.ExitCode, 0);
        const QStringList lines = run.OutLines();
        QCOMPARE(lines.size(), 15);
        for (int i = 0; i < lines.size(); ++i) {
            const QStringList fields = lines[i].split(QLatin1Char('\t'));
            QCOMPARE(fields.size(), 5);
            QCOMPARE(fields[0], QString::number(21 + i));
            QCOMPARE(fields[1], QStringLiteral("NESW").mid((20 + i) % 4, 1));
            QVERIFY2(fields[4].contains(QRegularExpression(QStringLiteral("^(0|(NS|EW) \\d+ \\(.+\\))$"))),
                qPrintable(fields[4]));
        }
        QVERIFY2(run.Err.contains(QStringLiteral("Wczytano 15 rozdań z pliku dealer-40.pbn dla 2 sektorów do bazy "
                                                 "puchar.bws, z analizą w widne karty.")),
            qPrintable(run.Err));
        QVERIFY(run.Err.contains(QStringLiteral("Rozdań 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, "
                                                "19, 20, 36, 37, 38, 39, 40 z pliku dealer-40.pbn turniej nie gra.")));
        const SessionDeals deals = ReadSessionDeals(m_database);
        QCOMPARE(deals.Size(), std::size_t(30));
        QVERIFY(deals.TableOf(2, 35));
    }

    void cliWithoutAnalysis()
    {
        const ProgramRun run
            = Cli({ QStringLiteral("hands"), m_database, DealerPbn(), QStringLiteral("--no-analysis") });
        QCOMPARE(run.ExitCode, 0);
        QCOMPARE(run.OutLines().first(), QStringLiteral("21\tN\tNS"));
        const SessionDeals deals = ReadSessionDeals(m_database);
        QCOMPARE(deals.Size(), std::size_t(30));
        QVERIFY(!deals.TableOf(1, 21));
    }

    void cliRefuses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no PBN file") << QStringList { QStringLiteral("hands"), QStringLiteral("@db") } << 2
                                     << "użycie: kibic-cli hands";
        QTest::newRow("an unknown option") << QStringList { QStringLiteral("hands"), QStringLiteral("@db"),
            QStringLiteral("@bad"), QStringLiteral("--fast") }
                                           << 2 << "użycie: kibic-cli hands";
        QTest::newRow("a card twice") << QStringList { QStringLiteral("hands"), QStringLiteral("@db"),
            QStringLiteral("@bad") } << 1
                                      << "Plik rozkładów zle.pbn, rozdanie 22: karta ♠A w kilku rękach (N i E)";
        QTest::newRow("no such database")
            << QStringList { QStringLiteral("hands"), QStringLiteral("/nonexistent/x.bws"), DealerPbn() } << 1
            << "Nie ma bazy /nonexistent/x.bws.";
    }

    // Bad usage ends with 2, a bad file with 1 and its message; nothing is written then.
    void cliRefuses()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString bad = m_demo->Path(QStringLiteral("zle.pbn"));
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "[Board \"22\"]\n[Deal \"N:AKQJT98765432... A.AKQJT98765432.. ..AKQJT98765432. ...AKQJT98765432\"]\n");
        file.close();
        for (QString& argument : arguments)
            argument.replace(QStringLiteral("@db"), m_database).replace(QStringLiteral("@bad"), bad);
        const ProgramRun run = Cli(arguments);
        QCOMPARE(run.ExitCode, exitCode);
        QVERIFY2(run.Err.contains(message), qPrintable(run.Err));
        QVERIFY(ReadSessionDeals(m_database).IsEmpty());
    }

    // The rehearsal server plays the deals: every contract's tricks are those of the double-dummy table give or
    // take two, most of them exactly; its level is what the table makes, give or take one; every lead is a
    // card of the hand on the declarer's left.
    void terminalsPlayTheDeals()
    {
        QCOMPARE(Cli({ QStringLiteral("hands"), m_database, DealerPbn() }).ExitCode, 0);
        const ProgramRun played = Run(Program("kibic-terminals"),
            TerminalArguments(m_database, { QStringLiteral("--once"), QStringLiteral("--seed"), QStringLiteral("7") }));
        QCOMPARE(played.ExitCode, 0);
        const SessionDeals deals = ReadSessionDeals(m_database);
        int contracts = 0;
        int exact = 0;
        for (const PlayedRow& row : PlayedRows(m_database)) {
            if (!row.Remarks.isEmpty() || row.Contract == QStringLiteral("PASS"))
                continue;
            ++contracts;
            const std::optional<Contract> contract
                = ParseContract(QString(row.Contract).remove(QLatin1Char(' ')), ContractSpelling::Compact);
            QVERIFY2(contract, qPrintable(row.Contract));
            const Seat declarer = *SeatOfLetter(row.Declarer.front());
            const int makeable = *deals.TricksOf(row.Section, row.Board, declarer, contract->Denomination);
            const int taken = contract->Level + 6 + ResultOf(row.Result);
            QVERIFY2(std::abs(taken - makeable) <= 2,
                qPrintable(QStringLiteral("%1 %2 %3: %4 against %5")
                               .arg(row.Board)
                               .arg(row.Contract, row.Result)
                               .arg(taken)
                               .arg(makeable)));
            QVERIFY(contract->Level == 1 || contract->Level == 7 || std::abs(contract->Level + 6 - makeable) <= 1);
            exact += taken == makeable ? 1 : 0;
            const std::optional<Card> lead = CardOfLeadText(row.Lead);
            QVERIFY2(lead, qPrintable(row.Lead));
            QCOMPARE(deals.HolderOf(row.Section, row.Board, *lead), std::optional<Seat>(NextSeat(declarer)));
        }
        QVERIFY(contracts >= 100);
        QVERIFY2(exact * 2 > contracts, qPrintable(QStringLiteral("%1 of %2").arg(exact).arg(contracts)));
    }

private:
    std::unique_ptr<DemoFolder> m_demo;
    QString m_database;
};

QTEST_GUILESS_MAIN(TestHandsEndToEnd)
#include "TestHandsEndToEnd.moc"
