// The Polish form a number gives its noun, where the teens break the rule of the last digit.
#include "common/PolishCounts.h"

#include <QTest>

using namespace kibic;

class TestPolishCounts : public QObject
{
    Q_OBJECT

private slots:
    void nounFollowsTheNumber_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        for (const auto& [count, text] : std::initializer_list<std::pair<int, const char*>> { { 0, "0 rozdań" },
                 { 1, "1 rozdanie" }, { 2, "2 rozdania" }, { 4, "4 rozdania" }, { 5, "5 rozdań" }, { 11, "11 rozdań" },
                 { 12, "12 rozdań" }, { 14, "14 rozdań" }, { 21, "21 rozdań" }, { 22, "22 rozdania" },
                 { 112, "112 rozdań" }, { 124, "124 rozdania" } })
            QTest::newRow(text) << count << QString::fromUtf8(text);
    }

    void nounFollowsTheNumber()
    {
        QFETCH(int, count);
        QFETCH(QString, text);
        QCOMPARE(Counted(count, u"rozdanie", u"rozdania", u"rozdań"), text);
    }
};

QTEST_GUILESS_MAIN(TestPolishCounts)
#include "TestPolishCounts.moc"
