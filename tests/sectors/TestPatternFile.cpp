// Pattern files (*.bmt): the exact bytes written, loading back, patterns of another shape refused.
#include "SectorModels.h"
#include "support/SmallDisk.h"

#include "common/KibicError.h"
#include "sectors/PatternFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

namespace {

// Two board sets of a sector of two tables, after a section of 2 rounds.
SectorTournament SmallSector(bool pairsEvent)
{
    SectorTournament t = MakeSectorTournament(2, 2, 1, 2, pairsEvent, 0, 8);
    // NS, EW, South, West
    t.Row(1, 1) = { 101, 102, 103, 104 };
    t.Row(1, 2) = { 105, 106, 107, 108 };
    t.Row(2, 1) = { 101, 105, 102, 106 };
    t.Row(2, 2) = { 103, 107, 104, 108 };
    t.SetTableRound(1, 1, 1, 1);
    t.SetTableRound(1, 2, 2, 0);
    t.SetTableRound(2, 1, -1, 2);
    t.SetTableRound(2, 2, 12, 2);
    return t;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestPatternFile : public QObject
{
    Q_OBJECT

private slots:
    void savedBytes_data()
    {
        QTest::addColumn<bool>("pairsEvent");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("pairs") << true
                               << QByteArray("* BAZA=2, STOLY=2\r\n"
                                             "2\t2\r\n"
                                             "* KOMPLET 1\t\tNS\tEW\r\n"
                                             "1\t1\t*\t101\t102\r\n"
                                             "2\t0\t*\t105\t106\r\n"
                                             "* KOMPLET 2\t\tNS\tEW\r\n"
                                             "0\t2\t*\t101\t105\r\n"
                                             "12\t2\t*\t103\t107\r\n");
        QTest::newRow("individual") << false
                                    << QByteArray("* BAZA=2, STOLY=2\r\n"
                                                  "2\t2\r\n"
                                                  "* KOMPLET 1\t\tN\tS\tW\tE\r\n"
                                                  "1\t1\t*\t101\t103\t104\t102\r\n"
                                                  "2\t0\t*\t105\t107\t108\t106\r\n"
                                                  "* KOMPLET 2\t\tN\tS\tW\tE\r\n"
                                                  "0\t2\t*\t101\t102\t106\t105\r\n"
                                                  "12\t2\t*\t103\t104\t108\t107\r\n");
    }

    void savedBytes()
    {
        QFETCH(bool, pairsEvent);
        QFETCH(QByteArray, expected);
        SectorTournament t = SmallSector(pairsEvent);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("wzor.bmt"));

        SavePattern(path, t.Model, t.Sector.RowCount, t.Sector.SlotOffset);

        QCOMPARE(ReadFile(path), expected);
    }

    // Every stated Table and Round comes back; unstated ones come back as 0.
    void saveThenLoad()
    {
        SectorTournament saved = MakeSectorTournament(7, 4, 1, 7);
        for (qint32 b = 1; b <= 7; ++b)
            for (qint32 i = 1; i <= 4; ++i)
                saved.Row(b, i) = { 100 + i, 200 + i, 0, 0, (b + i) % 5, 10 * b + i };
        saved.Row(3, 2).Round = -4;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("howell.bmt"));
        SavePattern(path, saved.Model, 4, 7);

        SectorTournament loaded = MakeSectorTournament(7, 4, 1, 7);
        for (qint32 b = 1; b <= 7; ++b)
            for (qint32 i = 1; i <= 4; ++i)
                loaded.Row(b, i) = { 300 + i, 400 + i, 0, 0, 99, 99 };
        RecordingOperator messages;
        QVERIFY(LoadPattern(path, loaded.Model, 4, 7, messages));

        QVERIFY(messages.Messages.empty());
        for (qint32 b = 1; b <= 7; ++b) {
            for (qint32 i = 1; i <= 4; ++i) {
                const MovementEntry& entry = loaded.Row(b, i);
                const MovementEntry& original = saved.Row(b, i);
                QCOMPARE(entry.Table, std::max(original.Table, 0));
                QCOMPARE(entry.Round, std::max(original.Round, 0));
                // The pairs written after "*" are never read back.
                QCOMPARE(entry.NS, 300 + i);
                QCOMPARE(entry.EW, 400 + i);
            }
        }
    }

    void otherShapeRefused_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QString>("message");
        QTest::newRow("more tables") << QByteArray("* BAZA=7, STOLY=4\r\n7\t4\r\n")
                                     << QStringLiteral(
                                            "To nie jest wzorzec dla tego turnieju\nTutaj baza=7, stołów jest 4.");
        QTest::newRow("other board sets") << QByteArray(
            "8\t3\r\n") << QStringLiteral("To nie jest wzorzec dla tego turnieju\nTutaj baza=8, stołów jest 3.");
        QTest::newRow("empty file") << QByteArray()
                                    << QStringLiteral(
                                           "To nie jest wzorzec dla tego turnieju\nTutaj baza=0, stołów jest 0.");
    }

    // A tournament of 7 board sets and 3 tables keeps what it had.
    void otherShapeRefused()
    {
        QFETCH(QByteArray, header);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("inny.bmt"));
        WriteFile(path, header.isEmpty() ? QByteArray() : header + "1\t1\r\n2\t2\r\n3\t3\r\n");
        SectorTournament t = MakeSectorTournament(7, 3);
        t.Row(1, 1).Table = 3;
        t.Row(1, 1).Round = 5;
        const auto before = t.Model.Movement;
        RecordingOperator messages;

        QVERIFY(!LoadPattern(path, t.Model, 3, 0, messages));

        QCOMPARE(messages.Messages.size(), size_t(1));
        QCOMPARE(messages.Messages[0].Text, message);
        QCOMPARE(messages.Messages[0].Kind, DialogKind::Info);
        QCOMPARE(messages.Messages[0].Buttons, DialogButtons(DialogButton::Ok));
        QVERIFY(t.Model.Movement == before);
    }

    // Only the numbers before the comments count: a pattern written by hand reads the same.
    void handWrittenPattern()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("reczny.bmt"));
        WriteFile(path,
            "2 2 * two board sets, two tables\n"
            "* KOMPLET 1\n"
            "1 1\n2  5 *  9 10\n"
            "* KOMPLET 2\n"
            "x 2\n");
        SectorTournament t = MakeSectorTournament(2, 2);
        RecordingOperator messages;

        QVERIFY(LoadPattern(path, t.Model, 2, 0, messages));

        const std::vector<std::vector<std::pair<qint32, qint32>>> expected
            = { { { 1, 1 }, { 2, 5 } }, { { 0, 2 }, { 0, 0 } } };
        QCOMPARE(t.TablesAndRounds(), expected);
    }

    // The Howell of the test tournament howell.inf, completed, is saved as tests/data/sectors/howell.bmt.
    void goldenHowellPattern()
    {
        const int seating[7][4][2] = { { { 8, 1 }, { 5, 7 }, { 3, 4 }, { 2, 6 } },
            { { 3, 7 }, { 8, 2 }, { 6, 1 }, { 4, 5 } }, { { 5, 6 }, { 4, 1 }, { 8, 3 }, { 7, 2 } },
            { { 6, 7 }, { 5, 2 }, { 8, 4 }, { 1, 3 } }, { { 2, 4 }, { 7, 1 }, { 6, 3 }, { 8, 5 } },
            { { 3, 5 }, { 1, 2 }, { 7, 4 }, { 8, 6 } }, { { 4, 6 }, { 2, 3 }, { 1, 5 }, { 8, 7 } } };
        const int movement[7][4][2] = { { { 1, 1 }, { 4, 4 }, { 3, 6 }, { 2, 7 } },
            { { 2, 1 }, { 1, 2 }, { 4, 5 }, { 3, 7 } }, { { 3, 1 }, { 2, 2 }, { 1, 3 }, { 4, 6 } },
            { { 3, 2 }, { 2, 3 }, { 1, 4 }, { 4, 7 } }, { { 4, 1 }, { 3, 3 }, { 2, 4 }, { 1, 5 } },
            { { 4, 2 }, { 3, 4 }, { 2, 5 }, { 1, 6 } }, { { 4, 3 }, { 3, 5 }, { 2, 6 }, { 1, 7 } } };
        SectorTournament t = MakeSectorTournament(7, 4, 1, 7);
        for (qint32 b = 1; b <= 7; ++b) {
            for (qint32 i = 1; i <= 4; ++i) {
                t.SetRow(b, i, 20 + seating[b - 1][i - 1][0], 20 + seating[b - 1][i - 1][1]);
                t.SetTableRound(b, i, movement[b - 1][i - 1][0], movement[b - 1][i - 1][1]);
            }
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("howell.bmt"));

        SavePattern(path, t.Model, 4, 7);

        QCOMPARE(ReadFile(path), ReadFile(QStringLiteral(KIBIC_TEST_DATA_DIR "/sectors/howell.bmt")));
    }

    // A pattern saved onto a full disk is an error with the system's text, and no pattern file is left.
    void fullDiskIsAnError()
    {
        KIBIC_SMALL_DISK(disk);
        QVERIFY(disk.Fill());
        SectorTournament t = MakeSectorTournament(7, 4, 1, 7);
        const QString path = disk.Path(QStringLiteral("howell.bmt"));
        try {
            SavePattern(path, t.Model, 4, 7);
            QFAIL("a full disk reported as success");
        } catch (const KibicError& error) {
            QVERIFY2(
                error.Message().contains(path + QStringLiteral(": ") + NoSpaceText()), qPrintable(error.Message()));
        }
        QVERIFY(!QFile::exists(path));
    }

    void fileFailures()
    {
        QTemporaryDir dir;
        SectorTournament t = MakeSectorTournament(2, 2);
        RecordingOperator messages;
        const QString missing = dir.filePath(QStringLiteral("brak.bmt"));
        try {
            (void)LoadPattern(missing, t.Model, 2, 0, messages);
            QFAIL("a missing pattern file was loaded");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(missing), qPrintable(error.Message()));
        }
        const QString unwritable = dir.filePath(QStringLiteral("brak/wzor.bmt"));
        try {
            SavePattern(unwritable, t.Model, 2, 0);
            QFAIL("a pattern was saved into a missing folder");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(unwritable), qPrintable(error.Message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestPatternFile)
#include "TestPatternFile.moc"
