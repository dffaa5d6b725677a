// The notation the correction window accepts, and the tricks a contract level allows.
#include "transfer/ContractNotation.h"

#include <QTest>

using namespace kibic;

Q_DECLARE_METATYPE(std::optional<QString>)

class TestContractNotation : public QObject
{
    Q_OBJECT

private slots:
    void typedContracts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("normalised");
        QTest::addColumn<bool>("clearsSelections");
        QTest::addColumn<bool>("clearsWrongLines");
        QTest::newRow("3 nt X") << "3 nt X" << true << "3 NT x" << false << false;
        QTest::newRow("4 s xx") << "4 s xx" << true << "4 S xx" << false << false;
        QTest::newRow("4 S X") << "4 S X" << true << "4 S x" << false << false;
        QTest::newRow("2 C") << "2 C" << true << "2 C" << false << false;
        QTest::newRow("7 NT") << " 7 nt " << true << "7 NT" << false << false;
        QTest::newRow("pass") << "pass" << true << "PASS" << true << false;
        QTest::newRow("split score") << "40 % - 60 %" << true << "40%-60%" << true << true;
        QTest::newRow("broken split score") << "45%-60" << false << "45%-60" << true << true;
        QTest::newRow("empty") << "   " << false << "" << false << false;
        QTest::newRow("4 S xxx") << "4 S xxx" << false << "4 S xxx" << false << false;
        QTest::newRow("4S") << "4S" << false << "4S" << false << false;
        QTest::newRow("8 C") << "8 C" << false << "8 C" << false << false;
        QTest::newRow("0 C") << "0 C" << false << "0 C" << false << false;
        QTest::newRow("3 N") << "3 N" << false << "3 N" << false << false;
        QTest::newRow("3 NX") << "3 NX" << false << "3 NX" << false << false;
        QTest::newRow("2 C X X") << "2 C X X" << false << "2 C x x" << false << false;
        QTest::newRow("2 Cx") << "2 Cx" << false << "2 CX" << false << false;
        QTest::newRow("3 NTx") << "3 NTx" << false << "3 NTx" << false << false;
        QTest::newRow("2 B") << "2 B" << false << "2 B" << false << false;
        QTest::newRow("passed") << "passed" << false << "PASSed" << false << false;
    }

    void typedContracts()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(QString, normalised);
        QFETCH(bool, clearsSelections);
        QFETCH(bool, clearsWrongLines);
        const ContractCheck check = CheckContractNotation(typed);
        QCOMPARE(check.Accepted, accepted);
        QCOMPARE(check.Text, normalised);
        QCOMPARE(check.ClearSelections, clearsSelections);
        QCOMPARE(check.ClearWrongLines, clearsWrongLines);
    }

    void tricksForTheLevel_data()
    {
        QTest::addColumn<QString>("contract");
        QTest::addColumn<std::optional<QString>>("selected");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("selectedIndex");
        const QStringList levelOne = { QStringLiteral("="), QStringLiteral("+1"), QStringLiteral("-1"),
            QStringLiteral("+2"), QStringLiteral("-2"), QStringLiteral("+3"), QStringLiteral("-3"),
            QStringLiteral("+4"), QStringLiteral("-4"), QStringLiteral("+5"), QStringLiteral("-5"),
            QStringLiteral("+6"), QStringLiteral("-6"), QStringLiteral("-7") };
        QStringList levelSeven = { QStringLiteral("=") };
        for (int i = 1; i <= 13; ++i)
            levelSeven.append(QStringLiteral("-%1").arg(i));
        const QStringList fourSpades = { QStringLiteral("="), QStringLiteral("+1"), QStringLiteral("-1"),
            QStringLiteral("+2"), QStringLiteral("-2"), QStringLiteral("+3"), QStringLiteral("-3"),
            QStringLiteral("-4"), QStringLiteral("-5"), QStringLiteral("-6"), QStringLiteral("-7"),
            QStringLiteral("-8"), QStringLiteral("-9"), QStringLiteral("-10") };
        QStringList sixSpades = { QStringLiteral("="), QStringLiteral("+1") };
        for (int i = 1; i <= 12; ++i)
            sixSpades.append(QStringLiteral("-%1").arg(i));
        const std::optional<QString> none;
        QTest::newRow("level 1") << "1 C" << none << levelOne << -1;
        QTest::newRow("level 7") << "7 NT xx" << none << levelSeven << -1;
        QTest::newRow("4 S x keeps +2") << "4 S x" << std::optional<QString>(QStringLiteral("+2")) << fourSpades << 3;
        QTest::newRow("6 S drops +2") << "6 S" << std::optional<QString>(QStringLiteral("+2")) << sixSpades << -1;
        QTest::newRow("= stays") << "6 S" << std::optional<QString>(QStringLiteral("=")) << sixSpades << 0;
        QTest::newRow("-12 stays") << "6 S" << std::optional<QString>(QStringLiteral("-12")) << sixSpades << 13;
        QTest::newRow("-13 dropped at 6") << "6 S" << std::optional<QString>(QStringLiteral("-13")) << sixSpades << -1;
        QTest::newRow("empty contract") << "" << std::optional<QString>(QStringLiteral("+1")) << QStringList() << -1;
        QTest::newRow("PASS") << "PASS" << std::optional<QString>(QStringLiteral("=")) << QStringList() << -1;
        QTest::newRow("split score") << "35%-60%" << none << QStringList() << -1;
        QTest::newRow("level alone") << "4" << none << QStringList() << -1;
    }

    void tricksForTheLevel()
    {
        QFETCH(QString, contract);
        QFETCH(std::optional<QString>, selected);
        QFETCH(QStringList, items);
        QFETCH(int, selectedIndex);
        const TricksChoice choice = TricksList(contract, selected);
        QCOMPARE(choice.Items, items);
        QCOMPARE(choice.Selected, selectedIndex);
    }

    void fixedLists()
    {
        const QStringList cards = LeadCardItems();
        QCOMPARE(cards.size(), 52);
        QCOMPARE(cards.at(0), QStringLiteral("C2"));
        QCOMPARE(cards.at(8), QStringLiteral("C10"));
        QCOMPARE(cards.at(12), QStringLiteral("CA"));
        QCOMPARE(cards.at(13), QStringLiteral("D2"));
        QCOMPARE(cards.at(51), QStringLiteral("SA"));
        QCOMPARE(InitialTricksItems(),
            TricksList(QStringLiteral("1 C"), std::nullopt).Items
                + QStringList({ QStringLiteral("-8"), QStringLiteral("-9"), QStringLiteral("-10"),
                    QStringLiteral("-11"), QStringLiteral("-12"), QStringLiteral("-13") }));
    }
};

QTEST_GUILESS_MAIN(TestContractNotation)
#include "TestContractNotation.moc"
