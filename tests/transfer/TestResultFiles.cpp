// Results written into ZyRT's score and contract files in place, and read back.
#include "common/KibicError.h"
#include "transfer/ResultFiles.h"
#include "transfer/uScoreProvider.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;

namespace {

constexpr int Boards = 4;
constexpr int Slots = 12;
constexpr int Records = Boards * Slots;

// What ZyRT leaves before any result: 30000 in every score, Level 9 in every contract record.
QByteArray FreshScores(int records = Records)
{
    QByteArray bytes;
    for (int i = 0; i < records; ++i)
        bytes.append("\x30\x75", 2);
    return bytes;
}

QByteArray FreshContracts(int records = Records)
{
    QByteArray bytes;
    for (int i = 0; i < records; ++i)
        bytes.append(ContractRecord::EmptySlot().ToBytes());
    return bytes;
}

void WriteFile(const QString& name, const QByteArray& bytes)
{
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("missing");
    return file.readAll();
}

// Whether this process holds the file open (Linux lists its open files in /proc; elsewhere false).
bool OpenHere(const QString& name)
{
    const QString file = QFileInfo(name).canonicalFilePath();
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    for (const QString& descriptor : descriptors.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        if (QFileInfo(descriptors.filePath(descriptor)).symLinkTarget() == file)
            return true;
    }
    return false;
}

TournamentModel ModelIn(const QTemporaryDir& dir, bool pairs)
{
    TournamentModel model;
    model.TournamentBase = dir.filePath(QStringLiteral("cup"));
    model.PairsEvent = pairs;
    model.BoardCount = Boards;
    model.ResultsPerBoard = Slots;
    return model;
}

ConvertedResult FourSpadesDoubledMadeWithOvertrick()
{
    ReceivedResult received;
    received.Board = 1;
    received.Contract = QStringLiteral("4 S x");
    received.NsEw = QStringLiteral("N");
    received.LeadCard = QStringLiteral("H10");
    received.Result = QStringLiteral("+1");
    return ConvertResult(TScoreProvider(), received);
}

} // namespace

class TestResultFiles : public QObject
{
    Q_OBJECT

private slots:
    void recordIsWrittenInPlace_data()
    {
        QTest::addColumn<bool>("pairs");
        QTest::addColumn<QString>("scoreExtension");
        QTest::newRow("pairs") << true << ".ZAP";
        QTest::newRow("individual") << false << ".ZAI";
        QTest::newRow("pairs, lower-case extension on disk") << true << ".zap";
    }

    // Column 3, slot 5 with 12 slots a board is record 28: bytes 56..57 and 224..231, nothing else.
    void recordIsWrittenInPlace()
    {
        QFETCH(bool, pairs);
        QFETCH(QString, scoreExtension);
        QTemporaryDir dir;
        const TournamentModel model = ModelIn(dir, pairs);
        const QString scoreFile = model.TournamentBase + scoreExtension;
        const QString contractFile = model.TournamentBase + QStringLiteral(".KNT");
        WriteFile(scoreFile, FreshScores());
        WriteFile(contractFile, FreshContracts());

        const qint64 index = RecordIndex(model, 3, 5);
        QCOMPARE(index, qint64(28));
        WriteResultRecords(model, index, FourSpadesDoubledMadeWithOvertrick());

        QByteArray expectedScores = FreshScores();
        expectedScores.replace(56, 2, QByteArray::fromHex("b202")); // 690
        QByteArray expectedContracts = FreshContracts();
        expectedContracts.replace(224, 8, QByteArray::fromHex("0403010002090100"));
        QCOMPARE(ReadFile(scoreFile).toHex(), expectedScores.toHex());
        QCOMPARE(ReadFile(contractFile).toHex(), expectedContracts.toHex());
    }

    void erasedRowWritesTheEmptySlot()
    {
        QTemporaryDir dir;
        const TournamentModel model = ModelIn(dir, true);
        QByteArray scores = FreshScores();
        scores.replace(0, 2, QByteArray::fromHex("b202"));
        QByteArray contracts = FreshContracts();
        contracts.replace(0, 8, QByteArray::fromHex("0403010002090100"));
        WriteFile(model.TournamentBase + QStringLiteral(".ZAP"), scores);
        WriteFile(model.TournamentBase + QStringLiteral(".KNT"), contracts);

        ReceivedResult erased;
        erased.Board = 1;
        erased.Contract = QStringLiteral("4 S x");
        erased.NsEw = QStringLiteral("N");
        erased.Erased = true;
        WriteResultRecords(model, 0, ConvertResult(TScoreProvider(), erased));

        QCOMPARE(ReadFile(model.TournamentBase + QStringLiteral(".ZAP")).toHex(), FreshScores().toHex());
        QCOMPARE(ReadFile(model.TournamentBase + QStringLiteral(".KNT")).toHex(), FreshContracts().toHex());
    }

    // A record at or past the end of either file is refused before anything is written.
    void recordPastTheEndIsRefused_data()
    {
        QTest::addColumn<int>("scoreRecords");
        QTest::addColumn<int>("contractRecords");
        QTest::addColumn<qint64>("index");
        QTest::addColumn<QString>("namedFile");
        QTest::newRow("past both") << Records << Records << qint64(Records) << ".ZAP";
        QTest::newRow("short score file") << Records - 1 << Records << qint64(Records - 1) << ".ZAP";
        QTest::newRow("short contract file") << Records << Records - 1 << qint64(Records - 1) << ".KNT";
        QTest::newRow("negative record") << Records << Records << qint64(-1) << ".ZAP";
    }

    void recordPastTheEndIsRefused()
    {
        QFETCH(int, scoreRecords);
        QFETCH(int, contractRecords);
        QFETCH(qint64, index);
        QFETCH(QString, namedFile);
        QTemporaryDir dir;
        const TournamentModel model = ModelIn(dir, true);
        const QString scoreFile = model.TournamentBase + QStringLiteral(".ZAP");
        const QString contractFile = model.TournamentBase + QStringLiteral(".KNT");
        WriteFile(scoreFile, FreshScores(scoreRecords));
        WriteFile(contractFile, FreshContracts(contractRecords));
        try {
            WriteResultRecords(model, index, FourSpadesDoubledMadeWithOvertrick());
            QFAIL("the record was written");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(model.TournamentBase + namedFile), qPrintable(error.Message()));
            QVERIFY2(error.Message().contains(QStringLiteral("rekordu %1").arg(index)), qPrintable(error.Message()));
        }
        QCOMPARE(ReadFile(scoreFile), FreshScores(scoreRecords));
        QCOMPARE(ReadFile(contractFile), FreshContracts(contractRecords));
    }

    void missingFileIsNamedAndNeverCreated_data()
    {
        QTest::addColumn<bool>("haveScores");
        QTest::addColumn<bool>("haveContracts");
        QTest::addColumn<QString>("missing");
        QTest::newRow("no score file") << false << true << ".ZAP";
        QTest::newRow("no contract file") << true << false << ".KNT";
    }

    void missingFileIsNamedAndNeverCreated()
    {
        QFETCH(bool, haveScores);
        QFETCH(bool, haveContracts);
        QFETCH(QString, missing);
        QTemporaryDir dir;
        const TournamentModel model = ModelIn(dir, true);
        if (haveScores)
            WriteFile(model.TournamentBase + QStringLiteral(".ZAP"), FreshScores());
        if (haveContracts)
            WriteFile(model.TournamentBase + QStringLiteral(".KNT"), FreshContracts());
        try {
            WriteResultRecords(model, 0, FourSpadesDoubledMadeWithOvertrick());
            QFAIL("the record was written");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(model.TournamentBase + missing), qPrintable(error.Message()));
        }
        QVERIFY(!QFile::exists(model.TournamentBase + missing));
        if (haveScores)
            QCOMPARE(ReadFile(model.TournamentBase + QStringLiteral(".ZAP")), FreshScores());
    }

    void fileThatCannotBeOpenedIsNamed()
    {
        QTemporaryDir dir;
        const TournamentModel model = ModelIn(dir, true);
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("cup.ZAP")));
        WriteFile(model.TournamentBase + QStringLiteral(".KNT"), FreshContracts());
        try {
            WriteScoreWord(model.TournamentBase + QStringLiteral(".ZAP"), 0, 1);
            QFAIL("a folder was written as a file");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().startsWith(QStringLiteral("Nie można otworzyć pliku ") + model.TournamentBase),
                qPrintable(error.Message()));
        }
    }

    // ZyRT reads the result files between two rows of a pass: no file stays open after a record is
    // written, and a file that goes away meanwhile is missing at the next row, never created again.
    void passWriterKeepsNoFileOpenAndCreatesNone()
    {
        QTemporaryDir dir;
        const TournamentModel model = ModelIn(dir, true);
        const QString scoreFile = model.TournamentBase + QStringLiteral(".zap");
        const QString contractFile = model.TournamentBase + QStringLiteral(".KNT");
        WriteFile(scoreFile, FreshScores());
        WriteFile(contractFile, FreshContracts());
        ResultFilesWriter writer(model);
        QCOMPARE(writer.ScoreFile(), QString());
        for (qint64 index = 0; index < 3; ++index) {
            writer.Write(index, FourSpadesDoubledMadeWithOvertrick());
            QVERIFY(!OpenHere(scoreFile));
            QVERIFY(!OpenHere(contractFile));
        }
        QCOMPARE(writer.ScoreFile(), scoreFile);
        QCOMPARE(writer.ContractFile(), contractFile);
        QCOMPARE(ReadFile(scoreFile).left(6).toHex(), QByteArray("b202b202b202"));

        QVERIFY(QFile::remove(contractFile));
        try {
            writer.Write(3, FourSpadesDoubledMadeWithOvertrick());
            QFAIL("a record was written into a file that is gone");
        } catch (const KibicError& error) {
            QCOMPARE(error.Message(), QStringLiteral("Brak pliku %1.").arg(contractFile));
        }
        QVERIFY(!QFile::exists(contractFile));
    }

    void recordsAreReadBack()
    {
        QTemporaryDir dir;
        const TournamentModel model = ModelIn(dir, true);
        WriteFile(model.TournamentBase + QStringLiteral(".ZAP"), FreshScores());
        WriteFile(model.TournamentBase + QStringLiteral(".KNT"), FreshContracts());
        WriteScoreWord(ScoreFileName(model), 47, -7600);
        ContractRecord record;
        record.Level = 7;
        record.Denomination = Denomination::NoTrump;
        record.Doubling = Doubling::Redoubled;
        record.Declarer = Seat::South;
        record.ResultValue = -13;
        WriteContractRecord(ContractFileName(model), 47, record);

        const std::vector<qint16> scores = ReadScoreWords(ScoreFileName(model));
        const std::vector<ContractRecord> contracts = ReadContractRecords(ContractFileName(model));
        QCOMPARE(scores.size(), size_t(Records));
        QCOMPARE(contracts.size(), size_t(Records));
        QCOMPARE(scores[0], qint16(30000));
        QCOMPARE(scores[47], qint16(-7600));
        QVERIFY(contracts[0] == ContractRecord::EmptySlot());
        QVERIFY(contracts[47] == record);
    }

    // Both files side by side, in blocks: every record in order, across the block boundaries, and the
    // reading stops when the visitor says so.
    void recordsAreVisitedSideBySide()
    {
        QTemporaryDir dir;
        const int records = 10000;
        const TournamentModel model = ModelIn(dir, true);
        WriteFile(model.TournamentBase + QStringLiteral(".ZAP"), FreshScores(records));
        WriteFile(model.TournamentBase + QStringLiteral(".KNT"), FreshContracts(records));
        for (const int index : { 0, 4095, 4096, 9999 })
            WriteScoreWord(ScoreFileName(model), index, qint16(index));
        QList<qint64> seen;
        ForEachResultRecord(ScoreFileName(model), ContractFileName(model),
            [&](qint64 index, qint16 scoreWord, const ContractRecord& contract) {
                if (index != seen.size() || !(contract == ContractRecord::EmptySlot()))
                    return false;
                if (scoreWord != qint16(30000))
                    seen.append(scoreWord);
                else
                    seen.append(-1);
                return true;
            });
        QCOMPARE(seen.size(), qsizetype(records));
        QCOMPARE(seen[4095], qint64(4095));
        QCOMPARE(seen[4096], qint64(4096));
        QCOMPARE(seen[9999], qint64(9999));
        qint64 visited = 0;
        ForEachResultRecord(ScoreFileName(model), ContractFileName(model),
            [&](qint64, qint16, const ContractRecord&) { return ++visited < 5; });
        QCOMPARE(visited, qint64(5));
    }

    // A 3 GB score file and its 12 GB contract file (sparse: nothing on the disk) are listed from their first
    // records on without being read whole.
    void hugeFilesAreReadInBoundedMemory()
    {
        QTemporaryDir dir;
        const TournamentModel model = ModelIn(dir, true);
        const qint64 records = 1'500'000'000;
        WriteFile(model.TournamentBase + QStringLiteral(".ZAP"), QByteArray());
        WriteFile(model.TournamentBase + QStringLiteral(".KNT"), QByteArray());
        if (!QFile::resize(ScoreFileName(model), records * 2) || !QFile::resize(ContractFileName(model), records * 8))
            QSKIP("this file system has no sparse files of 12 GB");
        qint64 visited = 0;
        ForEachResultRecord(ScoreFileName(model), ContractFileName(model),
            [&](qint64, qint16, const ContractRecord&) { return ++visited < 100000; });
        QCOMPARE(visited, qint64(100000));
    }

    // Files of different record counts are refused before a record is shown.
    void filesThatDoNotMatchAreRefused()
    {
        QTemporaryDir dir;
        const TournamentModel model = ModelIn(dir, true);
        WriteFile(model.TournamentBase + QStringLiteral(".ZAP"), FreshScores(5));
        WriteFile(model.TournamentBase + QStringLiteral(".KNT"), FreshContracts(6));
        bool visited = false;
        try {
            ForEachResultRecord(
                ScoreFileName(model), ContractFileName(model), [&](qint64, qint16, const ContractRecord&) {
                    visited = true;
                    return true;
                });
            QFAIL("files of 5 and 6 records were read together");
        } catch (const KibicError& error) {
            QVERIFY2(error.Message().contains(ContractFileName(model)), qPrintable(error.Message()));
        }
        QVERIFY(!visited);
    }

    void partialRecordIsAnError()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("cup.KNT"));
        WriteFile(name, FreshContracts(2).left(12));
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)ReadContractRecords(name));
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)ReadScoreWords(dir.filePath(QStringLiteral("none.ZAP"))));
    }
};

QTEST_GUILESS_MAIN(TestResultFiles)
#include "TestResultFiles.moc"
