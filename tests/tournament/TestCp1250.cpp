// Windows-1250 conversion of ZyRT's texts.
#include "tournament/Cp1250.h"

#include <QTest>

using namespace kibic;

class TestCp1250 : public QObject
{
    Q_OBJECT

private slots:
    void polishLettersBothWays()
    {
        const QByteArray bytes("\xA5\xC6\xCA\xA3\xD1\xD3\x8C\xAF\x8F\xB9\xE6\xEA\xB3\xF1\xF3\x9C\xBF\x9F");
        const QString letters = QStringLiteral("ĄĆĘŁŃÓŚŻŹąćęłńóśżź");
        QCOMPARE(FromCp1250(bytes), letters);
        QCOMPARE(ToCp1250(letters), bytes);
    }

    void everyByteSurvivesARoundTrip()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        QCOMPARE(ToCp1250(FromCp1250(all)), all);
    }

    void characterOutsideTheCodePageBecomesQuestionMark()
    {
        QCOMPARE(ToCp1250(QStringLiteral("a\u00E6b")), QByteArray("a?b"));
    }
};

QTEST_GUILESS_MAIN(TestCp1250)
#include "TestCp1250.moc"
