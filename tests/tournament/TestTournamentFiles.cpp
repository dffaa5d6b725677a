// Tournament files are found whatever the letter case of their extension.
#include "tournament/TournamentFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;

class TestTournamentFiles : public QObject
{
    Q_OBJECT

private slots:
    void fileInOtherCaseIsFound_data()
    {
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("expected");
        QTest::newRow("exact") << "cup.KNT" << ".KNT" << "cup.KNT";
        QTest::newRow("lower on disk") << "cup.knt" << ".KNT" << "cup.knt";
        QTest::newRow("mixed on disk") << "cup.Inr" << ".INR" << "cup.Inr";
        QTest::newRow("missing keeps the asked case") << "other.knt" << ".KNT" << "cup.KNT";
        QTest::newRow("stem must match exactly") << "CUP.knt" << ".KNT" << "cup.KNT";
    }

    void fileInOtherCaseIsFound()
    {
        QFETCH(QString, onDisk);
        QFETCH(QString, asked);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QFile file(dir.filePath(onDisk));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QCOMPARE(TournamentFile(dir.filePath(QStringLiteral("cup")), asked), dir.filePath(expected));
    }

    void extensionIsRemovedFromTheFileNameOnly_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "/t/cup.inf" << "/t/cup";
        QTest::newRow("two dots") << "/t/cup.2026.inf" << "/t/cup.2026";
        QTest::newRow("dot in folder only") << "/t.d/cup" << "/t.d/cup";
        QTest::newRow("windows folder") << "C:\\t.d\\cup" << "C:\\t.d\\cup";
    }

    void extensionIsRemovedFromTheFileNameOnly()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(WithoutExtension(path), expected);
    }
};

QTEST_GUILESS_MAIN(TestTournamentFiles)
#include "TestTournamentFiles.moc"
