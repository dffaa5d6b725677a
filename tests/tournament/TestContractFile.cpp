// Creation of the contract file (.KNT) of a tournament.
#include "support/SmallDisk.h"
#include "TournamentTestSupport.h"

#include "common/KibicError.h"
#include "tournament/ContractFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

class TestContractFile : public QObject
{
    Q_OBJECT

private slots:
    void newFileHoldsEmptyRecords_data()
    {
        QTest::addColumn<int>("records");
        QTest::newRow("75 records") << 75;
        QTest::newRow("one") << 1;
        QTest::newRow("none") << 0;
    }

    void newFileHoldsEmptyRecords()
    {
        QFETCH(int, records);
        QTemporaryDir dir;
        const QString base = dir.filePath(QStringLiteral("cup"));
        CreateContractFile(base, records);
        const QByteArray bytes = ReadFile(base + QStringLiteral(".KNT"));
        QVERIFY(QFileInfo::exists(base + QStringLiteral(".KNT")));
        QCOMPARE(bytes.size(), records * 8);
        for (int r = 0; r < records; ++r)
            QCOMPARE(bytes.mid(r * 8, 8), QByteArray("\x09\0\0\0\0\0\0\0", 8));
    }

    void existingFileIsNeverChanged_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("same case") << QStringLiteral("cup.KNT");
        QTest::newRow("lower case") << QStringLiteral("cup.knt");
    }

    void existingFileIsNeverChanged()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QByteArray kept("\x03\x01\x00\x02\x00\x00\x00\x00 short", 14);
        WriteFile(dir.filePath(name), kept);
        CreateContractFile(dir.filePath(QStringLiteral("cup")), 75);
        QCOMPARE(ReadFile(dir.filePath(name)), kept);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { name });
    }

    void fileThatCannotBeCreatedNamesIt_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("folder");
        QTest::newRow("its folder is missing") << QStringLiteral("missing-folder/cup") << QString();
        QTest::newRow("a folder in its place") << QStringLiteral("cup") << QStringLiteral("cup.KNT");
    }

    void fileThatCannotBeCreatedNamesIt()
    {
        QFETCH(QString, base);
        QFETCH(QString, folder);
        QTemporaryDir dir;
        if (!folder.isEmpty())
            QVERIFY(QDir(dir.path()).mkdir(folder));
        base = dir.filePath(base);
        try {
            CreateContractFile(base, 3);
            QFAIL("no error for a contract file that cannot be a file");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(base + QStringLiteral(".KNT")), qPrintable(error.Message()));
        }
    }

    // A full disk is an error with the system's own text, whether the records wait in a buffer (a small
    // file) or go straight to the disk (a large one); no file, not even an empty one, is left.
    void fullDiskIsAnErrorNamingTheFile_data()
    {
        QTest::addColumn<int>("records");
        QTest::newRow("small") << 75;
        QTest::newRow("larger than the disk") << 20000;
    }

    void fullDiskIsAnErrorNamingTheFile()
    {
        QFETCH(int, records);
        KIBIC_SMALL_DISK(disk);
        QVERIFY(disk.Fill());
        const QString base = disk.Path(QStringLiteral("cup"));
        try {
            CreateContractFile(base, records);
            QFAIL("a full disk reported as success");
        } catch (const KibicError& error) {
            QVERIFY2(
                error.Message().contains(base + QStringLiteral(".KNT: ") + NoSpaceText()), qPrintable(error.Message()));
        }
        QCOMPARE(QDir(disk.Path(QString())).entryList(QDir::Files), QStringList { QStringLiteral("filler") });
    }

    void absurdRecordCountIsRefused()
    {
        QTemporaryDir dir;
        const QString base = dir.filePath(QStringLiteral("cup"));
        QVERIFY_THROWS_EXCEPTION(KibicError, CreateContractFile(base, qint64(2147483647) * 5));
        QVERIFY_THROWS_EXCEPTION(KibicError, CreateContractFile(base, -8));
        QVERIFY(!QFileInfo::exists(base + QStringLiteral(".KNT")));
    }
};

QTEST_GUILESS_MAIN(TestContractFile)
#include "TestContractFile.moc"
