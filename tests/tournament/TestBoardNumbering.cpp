// Board numbering from ZyRT's .INR file.
#include "TournamentTestSupport.h"

#include "common/KibicError.h"
#include "tournament/BoardNumbering.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

class TestBoardNumbering : public QObject
{
    Q_OBJECT

private slots:
    void numbering_data()
    {
        QTest::addColumn<QByteArray>("inr"); // empty: no .INR file at all
        QTest::addColumn<int>("boardCount");
        QTest::addColumn<QList<qint32>>("expected"); // elements 1..boardCount
        QTest::newRow("no file") << QByteArray() << 4 << QList<qint32> { 1, 2, 3, 4 };
        QTest::newRow("only zeros") << QByteArray("0\n0\n") << 3 << QList<qint32> { 1, 2, 3 };
        QTest::newRow("starts after 20") << QByteArray("20\r\n") << 3 << QList<qint32> { 21, 22, 23 };
        QTest::newRow("repeats every 8") << QByteArray("-8\n") << 18
                                         << QList<qint32> { 1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8, 1, 2 };
        QTest::newRow("listed, fewer than the boards") << QByteArray("5\n0\n7\n") << 3 << QList<qint32> { 5, 7, 3 };
        QTest::newRow("rest of the line ignored") << QByteArray("5 board one\n 7\tx\n") << 2 << QList<qint32> { 5, 7 };
        QTest::newRow("blank lines and byte 26") << QByteArray("\n5\n\n7\n\x1a") << 2 << QList<qint32> { 5, 7 };
        QTest::newRow("CR line ends") << QByteArray("9\r8\r") << 3 << QList<qint32> { 9, 8, 3 };
        QTest::newRow("leading plus") << QByteArray("+4\n") << 2 << QList<qint32> { 5, 6 };
    }

    void numbering()
    {
        QFETCH(QByteArray, inr);
        QFETCH(int, boardCount);
        QFETCH(QList<qint32>, expected);
        QTemporaryDir dir;
        const QString base = dir.filePath(QStringLiteral("cup"));
        if (!inr.isEmpty())
            WriteFile(base + QStringLiteral(".inr"), inr); // found whatever the case of the extension
        TournamentModel model;
        model.TournamentBase = base;
        model.BoardCount = boardCount;
        FillBoardNumbers(model);
        QCOMPARE(model.BoardNumbers.size(), size_t(boardCount) + 1);
        QCOMPARE(model.BoardNumbers[0], 0);
        QCOMPARE(QList<qint32>(model.BoardNumbers.begin() + 1, model.BoardNumbers.end()), expected);
        for (int i = 1; i <= boardCount; ++i)
            QCOMPARE(BoardNumberOf(model, i), expected[i - 1]);
    }

    void lineWithoutNumberNamesFileAndLine_data()
    {
        QTest::addColumn<QByteArray>("inr");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("what");
        const QString noNumber = QStringLiteral("nie zaczyna się od liczby");
        const QString tooLarge = QStringLiteral("zbyt duża");
        QTest::newRow("word") << QByteArray("5\nboard\n") << QStringLiteral("wiersz 2") << noNumber;
        QTest::newRow("sign alone") << QByteArray("\n\n-\n") << QStringLiteral("wiersz 3") << noNumber;
        QTest::newRow("too large") << QByteArray("99999999999\n") << QStringLiteral("wiersz 1") << tooLarge;
        QTest::newRow("2^31") << QByteArray("1\n2147483648 boards\n") << QStringLiteral("wiersz 2") << tooLarge;
        QTest::newRow("below -2^31") << QByteArray("-2147483649\n") << QStringLiteral("wiersz 1") << tooLarge;
    }

    void lineWithoutNumberNamesFileAndLine()
    {
        QFETCH(QByteArray, inr);
        QFETCH(QString, line);
        QFETCH(QString, what);
        QTemporaryDir dir;
        const QString base = dir.filePath(QStringLiteral("cup"));
        WriteFile(base + QStringLiteral(".INR"), inr);
        TournamentModel model;
        model.TournamentBase = base;
        model.BoardCount = 3;
        try {
            FillBoardNumbers(model);
            QFAIL("no error for a bad line");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(base + QStringLiteral(".INR")), qPrintable(error.Message()));
            QVERIFY2(error.Message().contains(line), qPrintable(error.Message()));
            QVERIFY2(error.Message().contains(what), qPrintable(error.Message()));
        }
    }

    void numberBeyond32BitsIsRefused()
    {
        BoardNumbering numbering { QStringLiteral("cup.INR"), { 2147483647 } };
        QCOMPARE(BoardNumberOf(numbering, 0), 2147483647);
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)BoardNumberOf(numbering, 1));
        BoardNumbering cycle { QStringLiteral("cup.INR"), { std::numeric_limits<qint32>::min() } };
        QCOMPARE(BoardNumberOf(cycle, 5), 5);
    }

    void negativeBoardCountIsRefused()
    {
        TournamentModel model;
        model.TournamentBase = QStringLiteral("/nonexistent/cup");
        model.BoardCount = -1;
        QVERIFY_THROWS_EXCEPTION(KibicError, FillBoardNumbers(model));
    }
};

QTEST_GUILESS_MAIN(TestBoardNumbering)
#include "TestBoardNumbering.moc"
