// The token reader of ZyRT's text files and the conversion into ZyRT's letter codes.
#include "common/KibicError.h"
#include "tournament/TextData.h"

#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace kibic;

namespace {

QList<qint32> AllInts(const QByteArray& bytes, int count)
{
    TText text = TText::FromBytes(bytes, QStringLiteral("test.inf"));
    QList<qint32> values;
    for (int i = 0; i < count; ++i)
        values << text.ReadInt();
    return values;
}

QByteArrayList AllTokens(const QByteArray& bytes, int count)
{
    TText text = TText::FromBytes(bytes, QStringLiteral("test.bmt"));
    QByteArrayList tokens;
    for (int i = 0; i < count; ++i)
        tokens << text.ReadToken();
    return tokens;
}

} // namespace

class TestTextData : public QObject
{
    Q_OBJECT

private slots:
    void integers_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<qint32>>("expected");
        // Three reads each: past the end of the file every integer is 0.
        QTest::newRow("comment after a blank") << QByteArray("12 * word 99\n7\n") << QList<qint32> { 12, 7, 0 };
        QTest::newRow("comment right after the token") << QByteArray("12*word\n7\n") << QList<qint32> { 12, 7, 0 };
        QTest::newRow("comment on its own lines") << QByteArray("* head\n* more\n3\n4") << QList<qint32> { 3, 4, 0 };
        QTest::newRow("CR LF") << QByteArray("1\r\n2\r\n3\r\n") << QList<qint32> { 1, 2, 3 };
        QTest::newRow("LF") << QByteArray("1\n2\n3\n") << QList<qint32> { 1, 2, 3 };
        QTest::newRow("blank lines and TABs") << QByteArray("\n\n\t1\t\t2\n\n \n3") << QList<qint32> { 1, 2, 3 };
        QTest::newRow("trailing byte 26") << QByteArray("1 2\r\n\x1a") << QList<qint32> { 1, 2, 0 };
        QTest::newRow("byte 26 between numbers") << QByteArray("1\x1a"
                                                               "2")
                                                 << QList<qint32> { 1, 2, 0 };
        QTest::newRow("++ is the largest integer") << QByteArray("++ 5") << QList<qint32> { 2147483647, 5, 0 };
        QTest::newRow("letters read as 0") << QByteArray("abc 5") << QList<qint32> { 0, 5, 0 };
        QTest::newRow("digits then a letter read as 0") << QByteArray("12a 5") << QList<qint32> { 0, 5, 0 };
        QTest::newRow("signs") << QByteArray("-2 +3 - +") << QList<qint32> { -2, 3, 0 };
        QTest::newRow("32-bit limits") << QByteArray("2147483647 -2147483648 2147483648")
                                       << QList<qint32> { std::numeric_limits<qint32>::max(),
                                              std::numeric_limits<qint32>::min(), 0 };
        QTest::newRow("very long digit run reads as 0")
            << QByteArray("99999999999999999999999 1") << QList<qint32> { 0, 1, 0 };
        QTest::newRow("+++ is no number") << QByteArray("+++ 1") << QList<qint32> { 0, 1, 0 };
        QTest::newRow("empty file") << QByteArray() << QList<qint32> { 0, 0, 0 };
        QTest::newRow("comment to the end of the file") << QByteArray("4 *") << QList<qint32> { 4, 0, 0 };
    }

    void integers()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<qint32>, expected);
        QCOMPARE(AllInts(bytes, int(expected.size())), expected);
    }

    void tokens_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArrayList>("expected");
        QTest::newRow("quoted name with two spaces")
            << QByteArray("\"Jan  Kowalski\" 5") << QByteArrayList { "Jan Kowalski", "5", "" };
        QTest::newRow("quoted over a line break")
            << QByteArray("\"Anna\r\n\tNowak\" x") << QByteArrayList { "Anna Nowak", "x", "" };
        QTest::newRow("quoted single word") << QByteArray("\"Ala\" b") << QByteArrayList { "Ala", "b", "" };
        QTest::newRow("lone quote is empty") << QByteArray("\" next") << QByteArrayList { "", "next", "" };
        QTest::newRow("two quotes are empty") << QByteArray("\"\" next") << QByteArrayList { "", "next", "" };
        QTest::newRow("star ends a quoted piece too")
            << QByteArray("\"Jan*comment\nKot\" z") << QByteArrayList { "Jan Kot", "z", "" };
        QTest::newRow("unclosed quote ends at the end of the file")
            << QByteArray("\"Jan Kowalski") << QByteArrayList { "Jan Kowalski", "", "" };
        QTest::newRow("unclosed quote, lone quote last") << QByteArray("\"Jan \"") << QByteArrayList { "Jan", "", "" };
        QTest::newRow("quoted piece inside a quote is unquoted")
            << QByteArray("\"a \"b c\" d\" e") << QByteArrayList { "a b c d", "e", "" };
        QTest::newRow("closed quote inside a quote")
            << QByteArray("\"a \"b\" c\" d") << QByteArrayList { "a b c", "d", "" };
        QTest::newRow("nested open quotes at the end") << QByteArray("\"a \"b c") << QByteArrayList { "a b c", "", "" };
        QTest::newRow("words") << QByteArray("ab\tcd\r\nef") << QByteArrayList { "ab", "cd", "ef" };
    }

    void tokens()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, expected);
        QCOMPARE(AllTokens(bytes, int(expected.size())), expected);
    }

    void atEndAfterTheLastByte()
    {
        TText text = TText::FromBytes("7", QStringLiteral("t"));
        QVERIFY(!text.AtEnd());
        QCOMPARE(text.ReadInt(), 7);
        QVERIFY(text.AtEnd());
    }

    void manyOpenQuotesDoNotExhaustTheStack()
    {
        QByteArray bytes;
        for (int i = 0; i < 200000; ++i)
            bytes += "\"x ";
        TText text = TText::FromBytes(bytes, QStringLiteral("t"));
        const QByteArray token = text.ReadToken();
        QCOMPARE(token.size(), 200000 * 2 - 1);
        QCOMPARE(token.count('x'), 200000);
        QVERIFY(!token.contains('"'));
        QCOMPARE(text.ReadToken(), QByteArray());
    }

    void readsAFile()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("cup.inf"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("3 \"a b\"\r\n");
        file.close();
        TText text(name);
        QCOMPARE(text.ReadInt(), 3);
        QCOMPARE(text.ReadToken(), QByteArray("a b"));
        QCOMPARE(text.FileName(), name);
    }

    void missingFileNamesIt()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("none.inf"));
        try {
            TText text(name);
            QFAIL("no error for a missing file");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(name), qPrintable(error.Message()));
        }
    }

    void polishLetters_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Łódź") << QByteArray("\xA3\xF3\x64\x9F") << QByteArray("\x9C\xA2\x64\xA8");
        QTest::newRow("whole table") << SourceLetters.toByteArray() << TargetLetters.toByteArray();
        QTest::newRow("converted once only: ś then Ł") << QByteArray("\x9C\xA3") << QByteArray("\x87\x9C");
        QTest::newRow("other bytes stay") << QByteArray("Kot 12\xE9\x00", 7) << QByteArray("Kot 12\xE9\x00", 7);
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }

    void polishLetters()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(ConvertPolishLetters(text), expected);
    }

    void letterTableHasEighteenDistinctPairs()
    {
        QCOMPARE(SourceLetters.size(), 18);
        QCOMPARE(TargetLetters.size(), 18);
        for (qsizetype i = 0; i < SourceLetters.size(); ++i)
            QCOMPARE(SourceLetters.indexOf(SourceLetters[i]), i);
    }
};

QTEST_GUILESS_MAIN(TestTextData)
#include "TestTextData.moc"
