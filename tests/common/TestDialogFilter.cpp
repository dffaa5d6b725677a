// Designed dialog filters become the name filters of a file dialog.
#include "common/DialogFilter.h"

#include <QTest>

using namespace kibic;

class TestDialogFilter : public QObject
{
    Q_OBJECT

private slots:
    void filters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("databases") << OpenDialog1Filter.toString()
                                   << QStringList { QStringLiteral("Bazy pierniczkowe (*.bws)") };
        QTest::newRow("patterns") << SaveDialog1Filter.toString()
                                  << QStringList { QStringLiteral("Wzór sektora nietypowego (*.bmt)") };
        QTest::newRow("two patterns") << "Turnieje ZyRTa|*.inf;*.ind"
                                      << QStringList { QStringLiteral("Turnieje ZyRTa (*.inf *.ind)") };
        QTest::newRow("two filters") << "Pary|*.inf|Indywidualne|*.ind"
                                     << QStringList { QStringLiteral("Pary (*.inf)"),
                                            QStringLiteral("Indywidualne (*.ind)") };
        QTest::newRow("description without patterns")
            << "Pary|*.inf|Reszta" << QStringList { QStringLiteral("Pary (*.inf)") };
        QTest::newRow("empty") << "" << QStringList();
    }

    void filters()
    {
        QFETCH(QString, filter);
        QTEST(NameFiltersFromFilter(filter), "nameFilters");
    }
};

QTEST_GUILESS_MAIN(TestDialogFilter)
#include "TestDialogFilter.moc"
