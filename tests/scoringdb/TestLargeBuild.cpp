// The build of a large tournament (10 sections of 30 tables, 30 rounds): every row of every table, where a
// fault in counting, numbering or batching rows would show only at this size. Its speed is the bench's
// ("make bench", lines build and fill).
#include "ScoringDbTestSupport.h"
#include "common/Operator.h"
#include "scoringdb/uBuildBWS.h"
#include "support/TournamentModels.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

namespace {

constexpr int kSections = 10;
constexpr int kTables = 30;
constexpr int kRounds = 30;

TournamentModel LargeTournament(const QString& base)
{
    ModelCounts counts;
    counts.Sections = kSections;
    counts.Tables = kTables;
    counts.Rounds = kRounds;
    counts.BoardsPerRound = 1;
    TournamentModel model = MakeModel(counts, base);
    for (qint32 b = 1; b <= kTables; ++b) {
        auto& boardSet = model.Movement[static_cast<std::size_t>(b)];
        for (qint32 k = 1; k <= kSections * kRounds; ++k) {
            const qint32 round = (k - 1) % kRounds + 1;
            const qint32 table = (b + round - 2) % kTables + 1;
            boardSet[static_cast<std::size_t>(k)] = { 1000 * b + k, 2000 * b + k, 0, 0, round, table };
        }
    }
    return model;
}

} // namespace

class TestLargeBuild : public QObject
{
    Q_OBJECT

private slots:
    void everyRowOfALargeTournament()
    {
        QTemporaryDir dir;
        TournamentModel model = LargeTournament(dir.filePath(QStringLiteral("large")));
        ScriptedOperator op;
        QVERIFY2(BuildScoringDatabase(model, op), qPrintable(op.Messages.join(QLatin1Char('\n'))));
        const QString file = ScoringDatabaseFileName(model);

        QStringList tables;
        QStringList seats;
        for (int s = 1; s <= kSections; ++s) {
            for (int t = 1; t <= kTables; ++t) {
                tables << QStringLiteral("%1|%2").arg(s).arg(t);
                for (const char* seat : { "N", "E", "S", "W" })
                    seats << QStringLiteral("%1|%2|%3").arg(s).arg(t).arg(QLatin1String(seat));
            }
        }
        QCOMPARE(Rows(file, QStringLiteral("Tables"), Columns("Section,Table")), tables);
        QCOMPARE(Rows(file, QStringLiteral("PlayerNumbers"), Columns("Section,Table,Direction")), seats);
        QCOMPARE(Rows(file, QStringLiteral("[Section]"), Columns("ID,Letter,Tables")),
            L({ "1|A|30", "2|B|30", "3|C|30", "4|D|30", "5|E|30", "6|F|30", "7|G|30", "8|H|30", "9|I|30", "10|J|30" }));

        QStringList rounds;
        for (int b = 1; b <= kTables; ++b) {
            for (int k = 1; k <= kSections * kRounds; ++k) {
                const MovementEntry& e = model.Movement[b][k];
                rounds << QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9")
                              .arg((k - 1) / kRounds + 1)
                              .arg(e.Table)
                              .arg(e.Round)
                              .arg(e.NS)
                              .arg(e.EW)
                              .arg(b)
                              .arg(b)
                              .arg(k)
                              .arg(b);
            }
        }
        QCOMPARE(Rows(file, QStringLiteral("RoundData"),
                     Columns("Section,Table,Round,NSPair,EWPair,LowBoard,HighBoard,custom_Zyrt,custom_Komp")),
            rounds);
        QCOMPARE(Rows(file, QStringLiteral("Settings"), Columns("AutopoweroffTime")), L({ "10" }));
    }
};

QTEST_GUILESS_MAIN(TestLargeBuild)
#include "TestLargeBuild.moc"
