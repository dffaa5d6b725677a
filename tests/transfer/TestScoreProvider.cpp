// Duplicate scores from North-South's side, checked against the scoring table of the Laws.
#include "common/KibicError.h"
#include "transfer/uScoreProvider.h"

#include <QTest>

using namespace kibic;

namespace {

const char* const StrainLetters[5] = { "C", "D", "H", "S", "NT" };
const char* const DoublingSuffixes[3] = { "", "x", "xx" };

// The Laws' scoring for the declaring side, trick by trick, as the scoring table lays it out.
int LawsScore(int level, int strain, int doubling, bool vulnerable, int tricksTaken)
{
    const int needed = level + 6;
    if (tricksTaken < needed) {
        int penalty = 0;
        for (int down = 1; down <= needed - tricksTaken; ++down) {
            if (doubling == 0) {
                penalty += vulnerable ? 100 : 50;
                continue;
            }
            int doubled = 0;
            if (vulnerable)
                doubled = down == 1 ? 200 : 300;
            else
                doubled = down == 1 ? 100 : down <= 3 ? 200 : 300;
            penalty += doubling == 2 ? 2 * doubled : doubled;
        }
        return -penalty;
    }
    const int factor = doubling == 0 ? 1 : doubling == 1 ? 2 : 4;
    int contractPoints = 0;
    for (int trick = 1; trick <= level; ++trick) {
        const int value = strain <= 1 ? 20 : (strain == 4 && trick == 1) ? 40 : 30;
        contractPoints += value * factor;
    }
    int score = contractPoints;
    if (contractPoints >= 100)
        score += vulnerable ? 500 : 300;
    else
        score += 50;
    if (level == 6)
        score += vulnerable ? 750 : 500;
    if (level == 7)
        score += vulnerable ? 1500 : 1000;
    if (doubling == 1)
        score += 50;
    if (doubling == 2)
        score += 100;
    for (int over = 1; over <= tricksTaken - needed; ++over) {
        if (doubling == 0)
            score += strain <= 1 ? 20 : 30;
        else
            score += (vulnerable ? 200 : 100) * (doubling == 2 ? 2 : 1);
    }
    return score;
}

int ContractNumber(int level, int strain, int doubling)
{
    return 35 * doubling + 5 * (level - 1) + strain + 1;
}

// The standard board cycle: which side is vulnerable on boards 1..16.
enum Side { Nobody, NorthSouth, EastWest, Both };
Side BoardSide(int board)
{
    const int b = (board - 1) % 16 + 1;
    for (int nobody : { 1, 8, 11, 14 })
        if (b == nobody)
            return Nobody;
    for (int ns : { 2, 5, 12, 15 })
        if (b == ns)
            return NorthSouth;
    for (int ew : { 3, 6, 9, 16 })
        if (b == ew)
            return EastWest;
    return Both;
}

} // namespace

class TestScoreProvider : public QObject
{
    Q_OBJECT

private slots:
    void scoresSeenFromNorthSouth_data()
    {
        QTest::addColumn<int>("board");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("4 S x N +1 nobody vulnerable") << 1 << 1 << "4 S xN" << 690;
        QTest::newRow("4 S x N +1 NS vulnerable") << 2 << 1 << "4 S xN" << 990;
        QTest::newRow("3 NT E made, EW vulnerable") << 3 << 0 << "3 NTE" << -600;
        QTest::newRow("3 NT E two down, EW vulnerable") << 3 << -2 << "3 NTE" << 200;
        QTest::newRow("7 NT xx S all down, both vulnerable") << 4 << -13 << "7 NT xxS" << -7600;
        QTest::newRow("3 NT E made, NS vulnerable") << 2 << 0 << "3 NTE" << -400;
        QTest::newRow("PASS") << 1 << 0 << "PASS" << 0;
        QTest::newRow("PASS with declarer") << 5 << 3 << "PASSN" << 0;
        QTest::newRow("pass lower case") << 5 << 0 << "pass" << 0;
        QTest::newRow("upper-case X") << 1 << 1 << "4 S XN" << 9999;
        QTest::newRow("no declarer") << 1 << 0 << "4 S" << 9999;
        QTest::newRow("declarer NS") << 1 << 0 << "4 SNS" << 9999;
        QTest::newRow("declarer lower case") << 1 << 0 << "4 Sw" << -420;
        QTest::newRow("board 17 is board 1") << 17 << 1 << "4 S xN" << 690;
        QTest::newRow("board 18 is board 2") << 18 << 1 << "4 S xN" << 990;
        QTest::newRow("spaces anywhere") << 1 << 0 << "  4  S   N " << 420;
        QTest::newRow("empty") << 1 << 0 << "" << 9999;
        QTest::newRow("blank") << 1 << 0 << "   " << 9999;
        QTest::newRow("no level") << 1 << 0 << "S N" << 9999;
        QTest::newRow("level 8") << 1 << 0 << "8 SN" << 9999;
        QTest::newRow("unknown strain") << 1 << 0 << "4 BN" << 9999;
        QTest::newRow("more than 13 tricks") << 1 << 4 << "4 SN" << 9999;
        QTest::newRow("exactly 13 tricks") << 1 << 3 << "4 SN" << 510;
        QTest::newRow("fewer than 0 tricks") << 1 << -11 << "4 SN" << 9999;
        QTest::newRow("no tricks at all") << 1 << -10 << "4 SN" << -500;
        QTest::newRow("board 0") << 0 << 0 << "4 SN" << 9999;
        QTest::newRow("huge result") << 1 << 2147483647 << "7 NTN" << 9999;
    }

    void scoresSeenFromNorthSouth()
    {
        QFETCH(int, board);
        QFETCH(int, result);
        QFETCH(QString, text);
        QFETCH(int, expected);
        const TScoreProvider scorer;
        QCOMPARE(scorer.ContractScore(board, result, text), expected);
    }

    void contractNamesFollowTheNumbering()
    {
        QCOMPARE(ContractNames.size(), size_t(106));
        for (int doubling = 0; doubling <= 2; ++doubling) {
            for (int level = 1; level <= 7; ++level) {
                for (int strain = 0; strain <= 4; ++strain) {
                    const std::string name = std::to_string(level) + StrainLetters[strain] + DoublingSuffixes[doubling];
                    QCOMPARE(std::string(ContractNames[size_t(ContractNumber(level, strain, doubling))]), name);
                }
            }
        }
    }

    void madeScoresAreTheLaws()
    {
        for (int vulnerable = 0; vulnerable <= 1; ++vulnerable) {
            for (int doubling = 0; doubling <= 2; ++doubling) {
                for (int level = 1; level <= 7; ++level) {
                    for (int strain = 0; strain <= 4; ++strain) {
                        const int n = ContractNumber(level, strain, doubling);
                        QCOMPARE(MadeScores[size_t(vulnerable)][size_t(n)],
                            LawsScore(level, strain, doubling, vulnerable == 1, level + 6));
                    }
                }
            }
        }
    }

    void tellingRowsOfTheMadeScores_data()
    {
        QTest::addColumn<QString>("contract");
        QTest::addColumn<int>("notVulnerable");
        QTest::addColumn<int>("vulnerable");
        QTest::newRow("1C") << "1C" << 70 << 70;
        QTest::newRow("3NT") << "3NT" << 400 << 600;
        QTest::newRow("4S") << "4S" << 420 << 620;
        QTest::newRow("1Cx") << "1Cx" << 140 << 140;
        QTest::newRow("2Hx") << "2Hx" << 470 << 670;
        QTest::newRow("6NT") << "6NT" << 990 << 1440;
        QTest::newRow("7NTxx") << "7NTxx" << 2280 << 2980;
    }

    void tellingRowsOfTheMadeScores()
    {
        QFETCH(QString, contract);
        QFETCH(int, notVulnerable);
        QFETCH(int, vulnerable);
        size_t n = 0;
        for (size_t i = 1; i < ContractNames.size(); ++i)
            if (contract.toStdString() == ContractNames[i])
                n = i;
        QVERIFY(n > 0);
        QCOMPARE(MadeScores[0][n], notVulnerable);
        QCOMPARE(MadeScores[1][n], vulnerable);
    }

    void penaltyScoresAreTheLaws()
    {
        for (int vulnerable = 0; vulnerable <= 1; ++vulnerable) {
            for (int doubling = 0; doubling <= 2; ++doubling) {
                for (int down = 1; down <= 13; ++down)
                    QCOMPARE(PenaltyScores[size_t(vulnerable)][size_t(doubling)][size_t(down)],
                        -LawsScore(7, 4, doubling, vulnerable == 1, 13 - down));
            }
        }
        QCOMPARE(PenaltyScores[0][1][13], 3500);
        QCOMPARE(PenaltyScores[1][1][13], 3800);
    }

    void everyContractAndTrickCountIsTheLaws()
    {
        const TScoreProvider scorer;
        for (int vulnerable = 0; vulnerable <= 1; ++vulnerable) {
            QCOMPARE(scorer.ScoreForTricks(vulnerable, 0, 7), 0);
            for (int doubling = 0; doubling <= 2; ++doubling)
                for (int level = 1; level <= 7; ++level)
                    for (int strain = 0; strain <= 4; ++strain)
                        for (int tricks = 0; tricks <= 13; ++tricks)
                            QCOMPARE(scorer.ScoreForTricks(vulnerable, ContractNumber(level, strain, doubling), tricks),
                                LawsScore(level, strain, doubling, vulnerable == 1, tricks));
        }
    }

    void boardVulnerabilityIsTheStandardCycle()
    {
        for (int board = 1; board <= 16; ++board)
            QCOMPARE(BoardVulnerability[size_t(board - 1)], int(BoardSide(board)));
    }

    // Every contract as the terminals write it, by every declarer, on every board of the cycle; and the same
    // contract already read (as the check of results scores it) gives the same score.
    void everyResultAsTheTerminalsWriteIt()
    {
        const TScoreProvider scorer;
        const char* const spaced[3] = { "", " x", " xx" };
        const char declarers[4] = { 'N', 'E', 'S', 'W' };
        for (int board = 1; board <= 32; ++board) {
            const Side side = BoardSide(board);
            for (char declarer : declarers) {
                const bool northSouth = declarer == 'N' || declarer == 'S';
                const bool vulnerable
                    = side == Both || (side == NorthSouth && northSouth) || (side == EastWest && !northSouth);
                for (int doubling = 0; doubling <= 2; ++doubling)
                    for (int level = 1; level <= 7; ++level)
                        for (int strain = 0; strain <= 4; ++strain) {
                            const QString text = QString::number(level) + QLatin1Char(' ')
                                + QLatin1String(StrainLetters[strain]) + QLatin1String(spaced[doubling])
                                + QLatin1Char(declarer);
                            const Contract read { level, Denomination(strain), Doubling(doubling) };
                            const Seat seat = *SeatOfLetter(QLatin1Char(declarer));
                            for (int tricks = 0; tricks <= 13; ++tricks) {
                                const int expected = LawsScore(level, strain, doubling, vulnerable, tricks);
                                QCOMPARE(scorer.ContractScore(board, tricks - level - 6, text),
                                    northSouth ? expected : -expected);
                                QCOMPARE(scorer.ContractScore(board, tricks - level - 6, read, seat),
                                    northSouth ? expected : -expected);
                            }
                            for (const int beyond : { -level - 7, 8 - level })
                                QCOMPARE(scorer.ContractScore(board, beyond, read, seat), UnscorableContract);
                        }
            }
        }
    }

    void scoreForTricksRefusesImpossibleArguments_data()
    {
        QTest::addColumn<int>("vulnerable");
        QTest::addColumn<int>("contract");
        QTest::addColumn<int>("tricks");
        QTest::newRow("vulnerable 2") << 2 << 1 << 7;
        QTest::newRow("contract 106") << 0 << 106 << 7;
        QTest::newRow("contract -1") << 0 << -1 << 7;
        QTest::newRow("14 tricks") << 0 << 1 << 14;
        QTest::newRow("-1 tricks") << 1 << 1 << -1;
    }

    void scoreForTricksRefusesImpossibleArguments()
    {
        QFETCH(int, vulnerable);
        QFETCH(int, contract);
        QFETCH(int, tricks);
        const TScoreProvider scorer;
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)scorer.ScoreForTricks(vulnerable, contract, tricks));
    }
};

QTEST_GUILESS_MAIN(TestScoreProvider)
#include "TestScoreProvider.moc"
