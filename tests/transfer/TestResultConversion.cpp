// A received result: where it is placed and the records it becomes.
#include "transfer/ResultConversion.h"
#include "support/TournamentModels.h"
#include "transfer/uScoreProvider.h"

#include <QTest>

Q_DECLARE_METATYPE(kibic::RoundDataRow)

using namespace kibic;

namespace {

// Two sections of 10 tables, 3 rounds of 2 boards: 20 boards in ZyRT's order, 12 result slots per board.
TournamentModel PairsModel()
{
    test::ModelCounts counts;
    counts.Sections = 2;
    counts.Tables = 10;
    counts.Rounds = 3;
    counts.BoardsPerRound = 2;
    counts.ResultsPerBoard = 12;
    return test::MakeModel(counts);
}

// Board set 2 (boards 3 and 4) played at result slot 5.
RoundDataRow BoardSetTwo(qint32 slot = 5)
{
    RoundDataRow row;
    row.Found = true;
    row.Slot = slot;
    row.BoardSet = 2;
    row.LowBoard = 3;
    row.HighBoard = 4;
    return row;
}

void AddConversion(const char* name, const char* remarks, const char* contract, const char* declarer, const char* lead,
    const char* result, int board, bool erased, int scoreWord, const char* record)
{
    QTest::newRow(name) << QString::fromUtf8(remarks) << QString::fromUtf8(contract) << QString::fromUtf8(declarer)
                        << QString::fromUtf8(lead) << QString::fromUtf8(result) << board << erased << scoreWord
                        << QByteArray(record);
}

ReceivedResult Received(qint32 section, qint32 table, qint32 board)
{
    ReceivedResult received;
    received.Section = section;
    received.Table = table;
    received.Round = 2;
    received.Board = board;
    return received;
}

} // namespace

class TestResultConversion : public QObject
{
    Q_OBJECT

private slots:
    void gridRowOfSectionAndTable_data()
    {
        QTest::addColumn<bool>("pairs");
        QTest::addColumn<int>("sections");
        QTest::addColumn<int>("tables");
        QTest::addColumn<int>("extraTables");
        QTest::addColumn<int>("extraSections");
        QTest::addColumn<int>("section");
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("expected");
        QTest::newRow("pairs, section 2 table 3") << true << 2 << 10 << 0 << 0 << 2 << 3 << 13;
        QTest::newRow("pairs, section 1 table 1") << true << 2 << 10 << 0 << 0 << 1 << 1 << 1;
        QTest::newRow("pairs, non-typical tables") << true << 1 << 6 << 3 << 0 << 2 << 2 << 8;
        QTest::newRow("individual sector 2 of 2") << false << 1 << 8 << 6 << 2 << 3 << 2 << 13;
        QTest::newRow("individual sector 1 of 2") << false << 1 << 8 << 6 << 2 << 2 << 1 << 9;
        QTest::newRow("individual ordinary section") << false << 1 << 8 << 6 << 2 << 1 << 5 << 5;
        QTest::newRow("individual without sectors") << false << 1 << 8 << 4 << 0 << 2 << 3 << 11;
        QTest::newRow("pairs ignore sectors") << true << 1 << 8 << 6 << 2 << 3 << 2 << 18;
        QTest::newRow("too large for the grid") << true << 2 << 2000000000 << 0 << 0 << 3 << 1 << 0;
    }

    void gridRowOfSectionAndTable()
    {
        QFETCH(bool, pairs);
        QFETCH(int, sections);
        QFETCH(int, tables);
        QFETCH(int, extraTables);
        QFETCH(int, extraSections);
        QFETCH(int, section);
        QFETCH(int, table);
        QFETCH(int, expected);
        TournamentModel model;
        model.PairsEvent = pairs;
        model.SectionCount = sections;
        model.TableCount = tables;
        model.ExtraTableCount = extraTables;
        model.ExtraSectionCount = extraSections;
        QCOMPARE(GridRowOf(model, section, table), expected);
    }

    void gridColumnOfBoardInItsBoardSet_data()
    {
        QTest::addColumn<bool>("columnsRead");
        QTest::addColumn<int>("board");
        QTest::addColumn<int>("expected");
        QTest::newRow("first board of set 2") << true << 13 << 3;
        QTest::newRow("last board of set 2") << true << 14 << 4;
        QTest::newRow("below LowBoard") << true << 12 << 0;
        QTest::newRow("above HighBoard") << true << 15 << 0;
        QTest::newRow("by board numbers") << false << 13 << 3;
        QTest::newRow("by board numbers, unknown board") << false << 99 << 0;
    }

    void gridColumnOfBoardInItsBoardSet()
    {
        QFETCH(bool, columnsRead);
        QFETCH(int, board);
        QFETCH(int, expected);
        TournamentModel model = PairsModel();
        // Printed numbers differ from the positions: the fallback must find the position.
        for (int i = 1; i <= 20; ++i)
            model.BoardNumbers[size_t(i)] = 10 + i;
        RoundDataRow row = BoardSetTwo();
        row.LowBoard = 13;
        row.HighBoard = 14;
        row.BoardSetColumnsRead = columnsRead;
        if (!columnsRead) {
            row.LowBoard = 0;
            row.HighBoard = 0;
        }
        QCOMPARE(GridColumnOf(model, row, board), expected);
    }

    void gridColumnOfBoardInANumberingThatIsNotConsecutive_data()
    {
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<int>("boardsPerRound");
        QTest::addColumn<int>("boardSet");
        QTest::addColumn<int>("board");
        QTest::addColumn<int>("expected");
        const QList<int> swapped{1, 3, 2, 4, 5, 6};
        QTest::newRow("1 3 2 4: board 3 in set 1") << swapped << 2 << 1 << 3 << 2;
        QTest::newRow("1 3 2 4: board 2 in set 2") << swapped << 2 << 2 << 2 << 3;
        QTest::newRow("1 3 2 4: board 2 not in set 1") << swapped << 2 << 1 << 2 << 0;
        const QList<int> again{1, 2, 3, 4, 5, 6, 7, 8, 1};
        QTest::newRow("-8 by 3: board 7 in set 3") << again << 3 << 3 << 7 << 7;
        QTest::newRow("-8 by 3: board 1 in set 3") << again << 3 << 3 << 1 << 9;
        QTest::newRow("-8 by 3: board 1 in set 1") << again << 3 << 1 << 1 << 1;
        QTest::newRow("-8 by 3: board 4 not in set 3") << again << 3 << 3 << 4 << 0;
        const QList<int> descending{6, 5, 4, 3, 2, 1};
        QTest::newRow("descending: board 5 in set 1") << descending << 2 << 1 << 5 << 2;
        QTest::newRow("descending: board 1 in set 3") << descending << 2 << 3 << 1 << 6;
        QTest::newRow("board set 0") << descending << 2 << 0 << 6 << 0;
        QTest::newRow("board set past the last") << descending << 2 << 4 << 1 << 0;
    }

    // The round row carries "LowBoard" and "HighBoard" as a build writes them: the first and last printed
    // number of its board set.
    void gridColumnOfBoardInANumberingThatIsNotConsecutive()
    {
        QFETCH(QList<int>, numbers);
        QFETCH(int, boardsPerRound);
        QFETCH(int, boardSet);
        QFETCH(int, board);
        QFETCH(int, expected);
        TournamentModel model;
        model.BoardsPerRound = boardsPerRound;
        model.BoardCount = int(numbers.size());
        model.BoardNumbers.assign(1, 0);
        model.BoardNumbers.insert(model.BoardNumbers.end(), numbers.begin(), numbers.end());
        RoundDataRow row;
        row.Found = true;
        row.Slot = 1;
        row.BoardSet = boardSet;
        if (boardSet >= 1 && boardSet * boardsPerRound <= numbers.size()) {
            row.LowBoard = numbers.at((boardSet - 1) * boardsPerRound);
            row.HighBoard = numbers.at(boardSet * boardsPerRound - 1);
        }
        QCOMPARE(GridColumnOf(model, row, board), expected);
    }

    void placement_data()
    {
        QTest::addColumn<RoundDataRow>("roundRow");
        QTest::addColumn<int>("section");
        QTest::addColumn<int>("table");
        QTest::addColumn<int>("board");
        QTest::addColumn<bool>("placed");
        QTest::addColumn<int>("gridRow");
        QTest::addColumn<int>("column");
        QTest::addColumn<qint64>("recordIndex");
        RoundDataRow missing;
        QTest::newRow("column 3 slot 5") << BoardSetTwo() << 2 << 3 << 3 << true << 13 << 3 << qint64(28);
        QTest::newRow("last slot of a board") << BoardSetTwo(12) << 1 << 1 << 4 << true << 1 << 4 << qint64(47);
        QTest::newRow("slot past ResultsPerBoard") << BoardSetTwo(13) << 1 << 1 << 3 << false << 1 << 3 << qint64(-1);
        QTest::newRow("slot 0") << BoardSetTwo(0) << 1 << 1 << 3 << false << 1 << 3 << qint64(-1);
        QTest::newRow("no round row") << missing << 1 << 1 << 3 << false << 1 << 0 << qint64(-1);
        QTest::newRow("board outside its set") << BoardSetTwo() << 1 << 1 << 5 << false << 1 << 0 << qint64(-1);
        QTest::newRow("table past the grid") << BoardSetTwo() << 3 << 1 << 3 << false << 21 << 3 << qint64(-1);
        QTest::newRow("table 0") << BoardSetTwo() << 1 << 0 << 3 << false << 0 << 3 << qint64(-1);
    }

    void placement()
    {
        QFETCH(RoundDataRow, roundRow);
        QFETCH(int, section);
        QFETCH(int, table);
        QFETCH(int, board);
        QFETCH(bool, placed);
        QFETCH(int, gridRow);
        QFETCH(int, column);
        QFETCH(qint64, recordIndex);
        const ResultPlacement placement = PlaceResult(PairsModel(), Received(section, table, board), roundRow);
        QCOMPARE(placement.Placed, placed);
        QCOMPARE(placement.GridRow, gridRow);
        QCOMPARE(placement.GridColumn, column);
        QCOMPARE(placement.RecordIndex, recordIndex);
    }

    void columnOutsideTheTournamentIsNotPlaced()
    {
        // A round row whose board set lies past the tournament's boards.
        RoundDataRow row = BoardSetTwo();
        row.BoardSet = 11;
        QCOMPARE(PlaceResult(PairsModel(), Received(1, 1, 3), row).Placed, false);
    }

    void splitScores_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("ns");
        QTest::addColumn<int>("ew");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("60-40") << "60%-40%" << true << 60 << 40 << "60%-40%";
        QTest::newRow("spaces everywhere") << " 40 % - 60 % " << true << 40 << 60 << "40%-60%";
        QTest::newRow("need not add up") << "35%-60%" << true << 35 << 60 << "35%-60%";
        QTest::newRow("extremes") << "100%-0%" << true << 100 << 0 << "100%-0%";
        QTest::newRow("tail ignored") << "50%-50%!" << true << 50 << 50 << "50%-50%!";
        QTest::newRow("second percent missing") << "55%-40" << false << 0 << 0 << "55%-40";
        QTest::newRow("second percent first") << "55%-%40" << false << 0 << 0 << "55%-%40";
        QTest::newRow("empty") << "" << false << 0 << 0 << "";
        QTest::newRow("blank") << "   " << false << 0 << 0 << "";
        QTest::newRow("percent first") << "%-50%" << false << 0 << 0 << "%-50%";
        QTest::newRow("no dash") << "50%50%" << false << 0 << 0 << "50%50%";
        QTest::newRow("nothing after percent") << "50%" << false << 0 << 0 << "50%";
        QTest::newRow("not a multiple of 5") << "45%-62%" << false << 0 << 0 << "45%-62%";
        QTest::newRow("above 100") << "105%-0%" << false << 0 << 0 << "105%-0%";
        QTest::newRow("below 0") << "-5%-50%" << false << 0 << 0 << "-5%-50%";
        QTest::newRow("not a number") << "a%-50%" << false << 0 << 0 << "a%-50%";
    }

    void splitScores()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, ns);
        QFETCH(int, ew);
        QFETCH(QString, normalised);
        qint32 parsedNs = -1;
        qint32 parsedEw = -1;
        QCOMPARE(ParseSplitScore(text, parsedNs, parsedEw), ok);
        QCOMPARE(parsedNs, ns);
        QCOMPARE(parsedEw, ew);
        QCOMPARE(text, normalised);
    }

    void splitScoreCodes_data()
    {
        QTest::addColumn<int>("ns");
        QTest::addColumn<int>("ew");
        QTest::addColumn<int>("code");
        QTest::newRow("50-50") << 50 << 50 << 10000;
        QTest::newRow("60-40") << 60 << 40 << 10040;
        QTest::newRow("35-60") << 35 << 60 << 9939;
        QTest::newRow("0-0") << 0 << 0 << 9780;
        QTest::newRow("100-100") << 100 << 100 << 10220;
        QTest::newRow("rounded to 5") << 58 << 42 << 10040;
    }

    void splitScoreCodes()
    {
        QFETCH(int, ns);
        QFETCH(int, ew);
        QFETCH(int, code);
        QCOMPARE(EncodeSplitScore(ns, ew), code);
    }

    void resultNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("made") << "=" << 0;
        QTest::newRow("overtrick") << "+1" << 1;
        QTest::newRow("down") << "-2" << -2;
        QTest::newRow("padded") << " +3 " << 3;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("text") << "abc" << 0;
    }

    void resultNumbers()
    {
        QFETCH(QString, text);
        QFETCH(int, number);
        QCOMPARE(ResultNumber(text), number);
    }

    // Each row: the received values, the ScoreWord and the 8 bytes of the contract record (hex).
    void conversion_data()
    {
        QTest::addColumn<QString>("remarks");
        QTest::addColumn<QString>("contract");
        QTest::addColumn<QString>("declarer");
        QTest::addColumn<QString>("lead");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("board");
        QTest::addColumn<bool>("erased");
        QTest::addColumn<int>("scoreWord");
        QTest::addColumn<QByteArray>("record");
        // clang-format off
        // name, remarks, contract, declarer, lead card, result, board, erased, ScoreWord, contract record
        AddConversion("4 S x N +1 board 1", "", "4 S x", "N", "", "+1", 1, false, 690, "0403010000000100");
        AddConversion("3 NT E = board 2", "", "3 NT", "E", "", "=", 2, false, -400, "0304000100000000");
        AddConversion("PASS", "", "PASS", "", "", "", 1, false, 0, "0000000000000000");
        AddConversion("PASS wrong lines", "*", "PASS", "", "", "", 1, false, 1, "0000000000000000");
        AddConversion("contract wrong lines", " * ", "4 S", "N", "", "=", 1, false, 421, "0403000000000000");
        AddConversion("Not played", "Not played", "4 S", "N", "SA", "=", 1, false, 10000, "0800000000000000");
        AddConversion("60%-40%", "60%-40%", "", "", "", "", 1, false, 10040, "0a00000000003827");
        AddConversion("55%-40 is an average", "55%-40", "", "", "", "", 1, false, 10000, "0800000000000000");
        AddConversion("50%-50%", "50%-50%", "", "", "", "", 1, false, 10000, "0800000000000000");
        AddConversion("lead H10", "", "2 H", "W", "H10", "-1", 1, false, 50, "020200030209ffff");
        AddConversion("lead SA", "", "1 C", "S", "SA", "=", 1, false, 70, "01000002030d0000");
        AddConversion("lead c2 lower case", "", "1 C", "S", "c2", "=", 1, false, 70, "0100000200010000");
        AddConversion("lead unknown suit and rank", "", "1 C", "S", "X1", "=", 1, false, 70, "0100000204090000");
        AddConversion("lead suit without rank", "", "1 C", "S", "H", "=", 1, false, 70, "0100000202000000");
        AddConversion("lead unknown rank", "", "1 C", "S", "DZ", "=", 1, false, 70, "0100000201000000");
        AddConversion("7 NT xx S all down", "", "7 NT xx", "S", "", "-13", 4, false, -7600, "070402020000f3ff");
        AddConversion("upper-case X unscorable", "", "4 S X", "N", "", "+1", 1, false, 9999, "0403010000000100");
        AddConversion("unscorable with wrong lines", "*", "4 S X", "N", "", "+1", 1, false, 9999, "0403010000000100");
        AddConversion("declarer NS", "", "3 NT x", "NS", "", "=", 1, false, 9999, "0304010000000000");
        AddConversion("declarer WE", "", "3 NT x", "WE", "", "=", 1, false, 9999, "0304010100000000");
        AddConversion("no level", "", "8 C", "N", "SA", "=", 1, false, 9999, "0000000000000000");
        AddConversion("padded texts", "", " 4 S xx ", " e ", " ha ", " -2 ", 1, false, 600, "04030201020dfeff");
        AddConversion("erased", "", "4 S x", "N", "SA", "+1", 1, true, 30000, "0900000000000000");
        // clang-format on
    }

    void conversion()
    {
        QFETCH(QString, remarks);
        QFETCH(QString, contract);
        QFETCH(QString, declarer);
        QFETCH(QString, lead);
        QFETCH(QString, result);
        QFETCH(int, board);
        QFETCH(bool, erased);
        QFETCH(int, scoreWord);
        QFETCH(QByteArray, record);
        ReceivedResult received = Received(1, 1, board);
        received.Remarks = remarks;
        received.Contract = contract;
        received.NsEw = declarer;
        received.LeadCard = lead;
        received.Result = result;
        received.Erased = erased;
        const TScoreProvider scorer;
        const ConvertedResult converted = ConvertResult(scorer, received);
        QCOMPARE(int(converted.ScoreWord), scoreWord);
        QCOMPARE(converted.Contract.ToBytes().toHex(), record);
    }

    void contractRecordBytesRoundTrip()
    {
        const QByteArray bytes = QByteArray::fromHex("07040202030d0b80");
        const ContractRecord record = ContractRecord::FromBytes(bytes.constData());
        QCOMPARE(record.Level, quint8(7));
        QCOMPARE(record.LeadRank, quint8(13));
        QCOMPARE(record.ResultValue, qint16(-32757));
        QCOMPARE(record.ToBytes(), bytes);
    }
};

QTEST_GUILESS_MAIN(TestResultConversion)
#include "TestResultConversion.moc"
