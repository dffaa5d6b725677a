// How far each table has come, read off a results grid and the rounds of RoundData.
#include "TransferFixture.h"

#include "transfer/ResultGrid.h"
#include "transfer/TableProgress.h"

#include <QTest>

using namespace kibic;
using namespace kibic::testing;

class TestTableProgress : public QObject
{
    Q_OBJECT

private slots:
    // Three tables, three rounds of two boards printed 3 1 2 6 5 4. Table 1 plays board sets 1, 2, 3 in
    // rounds 1, 2, 3; table 2 sets 2, 3, 1; table 3 sets 3, 1, 2.
    void missingBoardsUpToTheCurrentRound()
    {
        TransferFixture fixture;
        fixture.Renumber({3, 1, 2, 6, 5, 4});
        MemoryGrid grid(fixture.Model.BoardCount + 1, fixture.Model.GridTableCount + 1);
        FillGridHeaders(fixture.Model, grid);
        grid.SetCell(1, 1, QStringLiteral("1"));
        grid.SetCell(2, 1, QStringLiteral("1"));
        grid.SetCell(3, 1, QStringLiteral("2"));
        grid.SetCell(3, 2, QStringLiteral("1"));
        // A cell that shows another round than the one in which the table plays that board is no
        // board of that round received.
        grid.SetCell(6, 3, QStringLiteral("2"));

        TTable rdaTable(ScoringConnectionString(fixture.DbFile), QStringLiteral("RoundData"));
        const TournamentProgress progress = ReadTableProgress(fixture.Model, rdaTable, grid);
        QCOMPARE(progress.CurrentRound, 2);
        QCOMPARE(progress.Tables.size(), 3);
        QCOMPARE(progress.Tables[0].Label, grid.Cell(0, 1));
        QCOMPARE(progress.Tables[0].CompleteRounds, 1);
        QCOMPARE(progress.Tables[0].HighestRound, 2);
        QCOMPARE(progress.Tables[0].Missing, (QList<MissingBoard>{{2, 6}}));
        QCOMPARE(progress.Tables[1].CompleteRounds, 0);
        QCOMPARE(progress.Tables[1].HighestRound, 1);
        QCOMPARE(progress.Tables[1].Missing, (QList<MissingBoard>{{1, 6}, {2, 5}, {2, 4}}));
        QCOMPARE(progress.Tables[2].HighestRound, 0);
        QCOMPARE(progress.Tables[2].Missing, (QList<MissingBoard>{{1, 5}, {1, 4}, {2, 3}, {2, 1}}));
        QVERIFY(!rdaTable.Active());
        QCOMPARE(progress.Tables[0].Complete, QList<qint32>{1});
        QCOMPARE(progress.Received, 4);
        QCOMPARE(progress.Expected, 18);
        // Table 1 still plays its board of the current round; the other two lack boards of round 1.
        QVERIFY(!IsLate(progress.Tables[0], progress.CurrentRound));
        QVERIFY(IsLate(progress.Tables[1], progress.CurrentRound));
        QVERIFY(IsLate(progress.Tables[2], progress.CurrentRound));

        QCOMPARE(TableProgressLines(progress),
            (QStringList{grid.Cell(0, 1) + QStringLiteral("\t1\t2\t2:6"), grid.Cell(0, 2) + QStringLiteral("\t0\t1\t1:6,2:5,2:4"),
                grid.Cell(0, 3) + QStringLiteral("\t0\t0\t1:5,1:4,2:3,2:1"), QStringLiteral("runda\t2")}));
    }

    void emptyGridHasNoCurrentRoundAndNothingMissing()
    {
        TransferFixture fixture;
        MemoryGrid grid(fixture.Model.BoardCount + 1, fixture.Model.GridTableCount + 1);
        FillGridHeaders(fixture.Model, grid);
        TTable rdaTable(ScoringConnectionString(fixture.DbFile), QStringLiteral("RoundData"));
        const QStringList lines = TableProgressLines(ReadTableProgress(fixture.Model, rdaTable, grid));
        QCOMPARE(lines.size(), 4);
        for (int row = 1; row <= 3; ++row)
            QCOMPARE(lines[row - 1], grid.Cell(0, row) + QStringLiteral("\t0\t0\t-"));
        QCOMPARE(lines[3], QStringLiteral("runda\t0"));
    }

    void everyBoardOfEveryRoundIsComplete()
    {
        TransferFixture fixture;
        MemoryGrid grid(fixture.Model.BoardCount + 1, fixture.Model.GridTableCount + 1);
        FillGridHeaders(fixture.Model, grid);
        for (int table = 1; table <= 3; ++table) {
            for (int round = 1; round <= 3; ++round) {
                const int set = (table - 1 + round - 1) % 3 + 1;
                grid.SetCell(2 * set - 1, table, QString::number(round));
                grid.SetCell(2 * set, table, QString::number(round));
            }
        }
        TTable rdaTable(ScoringConnectionString(fixture.DbFile), QStringLiteral("RoundData"));
        const TournamentProgress progress = ReadTableProgress(fixture.Model, rdaTable, grid);
        QCOMPARE(progress.CurrentRound, 3);
        QCOMPARE(progress.Received, 18);
        QCOMPARE(progress.Expected, 18);
        for (const TableProgress& table : progress.Tables) {
            QCOMPARE(table.CompleteRounds, 3);
            QCOMPARE(table.HighestRound, 3);
            QVERIFY(table.Missing.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TestTableProgress)
#include "TestTableProgress.moc"
