// Looking players up in ZyRT's names file: both record sizes, exact identifiers, the first match.
#include "PlayersFixture.h"

#include "common/KibicError.h"
#include "players/NamesFile.h"

using namespace kibic;
using namespace kibic::test;

namespace {

PlayerEntry Looked(const QString& file, const QByteArray& id)
{
    PlayerEntries entries(2);
    entries[1].Id = id;
    LookUpNamesFile(kDataDir + file, entries);
    return entries[1];
}

} // namespace

class TestNamesFile : public QObject
{
    Q_OBJECT

private slots:
    void recordSize_data()
    {
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<int>("size");
        QTest::newRow("signature") << QByteArray("FULL_NAMES_FOR_ABACS and more") << 63;
        QTest::newRow("signature alone") << QByteArray("FULL_NAMES_FOR_ABACS") << 63;
        QTest::newRow("signature cut short") << QByteArray("FULL_NAMES_FOR_ABAC") << 31;
        QTest::newRow("lower case") << QByteArray("full_names_for_abacs") << 31;
        QTest::newRow("empty file") << QByteArray() << 31;
    }

    void recordSize()
    {
        QFETCH(QByteArray, start);
        QFETCH(int, size);
        QCOMPARE(NamesRecordSize(start), size);
    }

    void lookUp_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QByteArrayList>("fields"); // FirstName, Surname, Wk, Region
        QTest::newRow("31: first record takes part")
            << QStringLiteral("names31.dat") << QByteArray("00001") << QByteArrayList { "A", "Pierwszy", "7", "GDA" };
        QTest::newRow("31: trimmed, district cut at comma, first match wins")
            << QStringLiteral("names31.dat") << QByteArray("01001") << QByteArrayList { "J", "Nowak", "12", "WA" };
        QTest::newRow("31: ZyRT's letter codes kept") << QStringLiteral("names31.dat") << QByteArray("00007")
                                                      << QByteArrayList { "M",
                                                             "\x9C\xA2"
                                                             "d\xA8",
                                                             "3", "LDZ" };
        QTest::newRow("31: last whole record, full surname field") << QStringLiteral(
            "names31.dat") << QByteArray("12345") << QByteArrayList { "K", "Konstantynopoli", "123", "OPOLE" };
        QTest::newRow("31: identifier compared exactly")
            << QStringLiteral("names31.dat") << QByteArray("7") << QByteArrayList { "?", "?", "?", "?" };
        QTest::newRow("31: not found") << QStringLiteral("names31.dat") << QByteArray("99999")
                                       << QByteArrayList { "?", "?", "?", "?" };
        QTest::newRow("31: unknown identifier")
            << QStringLiteral("names31.dat") << QByteArray("?") << QByteArrayList { "?", "?", "?", "?" };
        QTest::newRow("63: signature record takes part")
            << QStringLiteral("names63.dat") << QByteArray("00001") << QByteArrayList { "F", "OR_ABACS", "9", "HDR" };
        QTest::newRow("63: 17-letter surname, district cut") << QStringLiteral(
            "names63.dat") << QByteArray("01001") << QByteArrayList { "J", "Konstantynopolita", "12", "WAR" };
        QTest::newRow("63: full WK and district")
            << QStringLiteral("names63.dat") << QByteArray("00007") << QByteArrayList { "E", "Ewa", "1234", "SZCZE" };
        QTest::newRow("63: identifier of the 31-byte layout not read")
            << QStringLiteral("names63.dat") << QByteArray("##########") << QByteArrayList { "?", "?", "?", "?" };
    }

    void lookUp()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, id);
        QFETCH(QByteArrayList, fields);
        const PlayerEntry entry = Looked(file, id);
        QCOMPARE((QByteArrayList { entry.FirstName, entry.Surname, entry.Wk, entry.Region }), fields);
        QCOMPARE(entry.Info, QByteArray("?"));
        QCOMPARE(entry.Club, QByteArray("?"));
        QCOMPARE(entry.Id, id);
    }

    void everyEntrySearchesFromTheFirstRecord()
    {
        PlayerEntries entries(4);
        entries[1].Id = "12345";
        entries[2].Id = "00001";
        entries[3].Id = "12345";
        LookUpNamesFile(kDataDir + QStringLiteral("names31.dat"), entries);
        QCOMPARE(entries[1].Surname, QByteArray("Konstantynopoli"));
        QCOMPARE(entries[2].Surname, QByteArray("Pierwszy"));
        QCOMPARE(entries[3].Surname, QByteArray("Konstantynopoli"));
    }

    void unreadableFiles()
    {
        PlayerEntries entries(2);
        try {
            LookUpNamesFile(QString(), entries);
            QFAIL("an empty path was read");
        } catch (const KibicError& error) {
            QCOMPARE(error.Message(), QStringLiteral("Brak bazy z nazwiskami!"));
        }
        const QString missing = kDataDir + QStringLiteral("no-such-names.dat");
        try {
            LookUpNamesFile(missing, entries);
            QFAIL("a missing file was read");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(missing), qPrintable(error.Message()));
        }
    }

    void filesTooShortForOneRecordAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("refused");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("19 bytes") << QByteArray(19, '0') << true;
        QTest::newRow("30 bytes of 31-byte records") << QByteArray(30, '0') << true;
        QTest::newRow("signature and 42 bytes of a 63-byte record") << FullNamesSignature + QByteArray(42, ' ') << true;
        QTest::newRow("one 31-byte record") << QByteArray(31, '0') << false;
        QTest::newRow("one 31-byte record and a partial one") << QByteArray(40, '0') << false;
        QTest::newRow("signature record of 63 bytes") << FullNamesSignature + QByteArray(43, ' ') << false;
    }

    void filesTooShortForOneRecordAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("NAZWISKA.DAT"));
        WriteAll(path, bytes);
        PlayerEntries entries(2);
        entries[1].Id = "00000";
        try {
            LookUpNamesFile(path, entries);
            QVERIFY2(!refused, "a names file without one whole record was read");
        } catch (const KibicError& error) {
            QVERIFY2(refused, qPrintable(error.Message()));
            QVERIFY2(error.Message().contains(path), qPrintable(error.Message()));
            QCOMPARE(entries[1].Surname, QByteArray("?"));
        }
    }
};

QTEST_GUILESS_MAIN(TestNamesFile)
#include "TestNamesFile.moc"
