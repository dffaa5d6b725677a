// The contract and the seat: the three readers of contract text, side by side on the same texts.
#include "tournament/Contract.h"

#include <QTest>

using namespace kibic;

namespace {

// "level denomination doubling" in the codes of ZyRT's contract record, or "-" for no contract.
QString Shown(const std::optional<Contract>& contract)
{
    if (!contract)
        return QStringLiteral("-");
    return QStringLiteral("%1 %2 %3")
        .arg(contract->Level)
        .arg(static_cast<int>(contract->Denomination))
        .arg(static_cast<int>(contract->Doubling));
}

} // namespace

class TestContract : public QObject
{
    Q_OBJECT

private slots:
    void readersKeepTheirRules_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("compact");
        QTest::addColumn<QString>("spaced");
        QTest::addColumn<QString>("lenient");
        QTest::newRow("4S") << "4S"
                            << "4 3 0"
                            << "-"
                            << "4 3 0";
        QTest::newRow("3NTx") << "3NTx"
                              << "3 4 1"
                              << "-"
                              << "3 4 1";
        QTest::newRow("7NTxx") << "7NTxx"
                               << "7 4 2"
                               << "-"
                               << "7 4 2";
        QTest::newRow("1C") << "1C"
                            << "1 0 0"
                            << "-"
                            << "1 0 0";
        QTest::newRow("2Dx") << "2Dx"
                             << "2 1 1"
                             << "-"
                             << "2 1 1";
        QTest::newRow("6Hxx") << "6Hxx"
                              << "6 2 2"
                              << "-"
                              << "6 2 2";
        QTest::newRow("4 S") << "4 S"
                             << "-"
                             << "4 3 0"
                             << "4 3 0";
        QTest::newRow("3 NT x") << "3 NT x"
                                << "-"
                                << "3 4 1"
                                << "3 4 1";
        QTest::newRow("7 NT xx") << "7 NT xx"
                                 << "-"
                                 << "7 4 2"
                                 << "7 4 2";
        QTest::newRow("small letters") << "4 s"
                                       << "-"
                                       << "-"
                                       << "4 3 0";
        QTest::newRow("capital X") << "4 S X"
                                   << "-"
                                   << "-"
                                   << "4 3 1";
        QTest::newRow("capital XX") << "4SXX"
                                    << "-"
                                    << "-"
                                    << "4 3 2";
        QTest::newRow("N without T") << "3N"
                                     << "-"
                                     << "-"
                                     << "3 4 0";
        QTest::newRow("N without T, spaced") << "3 N"
                                             << "-"
                                             << "-"
                                             << "3 4 0";
        QTest::newRow("NT followed by a letter") << "3NTS"
                                                 << "-"
                                                 << "-"
                                                 << "3 4 0";
        QTest::newRow("two spaces") << "4  S"
                                    << "-"
                                    << "-"
                                    << "4 3 0";
        QTest::newRow("three x") << "4Sxxx"
                                 << "-"
                                 << "-"
                                 << "4 3 2";
        QTest::newRow("unknown denomination") << "4 B x"
                                              << "-"
                                              << "-"
                                              << "4 0 1";
        QTest::newRow("level only") << "4"
                                    << "-"
                                    << "-"
                                    << "4 0 0";
        QTest::newRow("level 8") << "8 S"
                                 << "-"
                                 << "-"
                                 << "-";
        QTest::newRow("level 0") << "0S"
                                 << "-"
                                 << "-"
                                 << "-";
        QTest::newRow("PASS") << "PASS"
                              << "-"
                              << "-"
                              << "-";
        QTest::newRow("empty") << ""
                               << "-"
                               << "-"
                               << "-";
        QTest::newRow("split score starts with a level digit") << "60%-40%"
                                                               << "-"
                                                               << "-"
                                                               << "6 0 0";
    }

    void readersKeepTheirRules()
    {
        QFETCH(QString, text);
        QFETCH(QString, compact);
        QFETCH(QString, spaced);
        QFETCH(QString, lenient);
        QCOMPARE(Shown(ParseContract(text, ContractSpelling::Compact)), compact);
        QCOMPARE(Shown(ParseContract(text, ContractSpelling::Spaced)), spaced);
        QCOMPARE(Shown(ReadContractLeniently(text)), lenient);
    }

    void seatsAndLetters_data()
    {
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<int>("seat"); // -1 for none
        QTest::addColumn<int>("denomination"); // -1 for none
        QTest::newRow("N") << QChar(u'N') << 0 << 4;
        QTest::newRow("E") << QChar(u'E') << 1 << -1;
        QTest::newRow("S") << QChar(u'S') << 2 << 3;
        QTest::newRow("W") << QChar(u'W') << 3 << -1;
        QTest::newRow("C") << QChar(u'C') << -1 << 0;
        QTest::newRow("D") << QChar(u'D') << -1 << 1;
        QTest::newRow("H") << QChar(u'H') << -1 << 2;
        QTest::newRow("small n") << QChar(u'n') << -1 << -1;
        QTest::newRow("small s") << QChar(u's') << -1 << -1;
        QTest::newRow("space") << QChar(u' ') << -1 << -1;
    }

    void seatsAndLetters()
    {
        QFETCH(QChar, letter);
        QFETCH(int, seat);
        QFETCH(int, denomination);
        const std::optional<Seat> foundSeat = SeatOfLetter(letter);
        QCOMPARE(foundSeat ? static_cast<int>(*foundSeat) : -1, seat);
        const std::optional<Denomination> foundDenomination = DenominationOfLetter(letter);
        QCOMPARE(foundDenomination ? static_cast<int>(*foundDenomination) : -1, denomination);
        if (foundSeat)
            QCOMPARE(IsNorthSouth(*foundSeat), seat == 0 || seat == 2);
    }
};

QTEST_GUILESS_MAIN(TestContract)
#include "TestContract.moc"
