// The texts that explain the results grid: tooltips of cells and row labels, the line under the status.
#include "deals/SessionDeals.h"
#include "transfer/CellHints.h"
#include "transfer/uScoreProvider.h"

#include <QTest>

using namespace kibic;

namespace {

// "5:13,5:14" as missing boards.
QList<MissingBoard> MissingOf(const QString& text)
{
    QList<MissingBoard> missing;
    for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char(':'));
        missing.append({ parts[0].toInt(), parts[1].toInt() });
    }
    return missing;
}

} // namespace

class TestCellHints : public QObject
{
    Q_OBJECT

private slots:
    void doubleDummyHints_data()
    {
        QTest::addColumn<QString>("contract");
        QTest::addColumn<QString>("declarer");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("remarks");
        QTest::addColumn<QString>("hint");
        // Section 1, board 5: North 10 tricks in spades, South 9; East 4 in no trump; West 1 in hearts.
        QTest::newRow("one down against ten") << "4 S"
                                              << "N"
                                              << "-1"
                                              << ""
                                              << "4♠ N: na obiegu 10 lew, zagrano 9";
        QTest::newRow("made with one over") << "3 S x"
                                            << "S"
                                            << "+1"
                                            << ""
                                            << "3♠ S: na obiegu 9 lew, zagrano 10";
        QTest::newRow("no trump") << "1 NT"
                                  << "E"
                                  << "-3"
                                  << ""
                                  << "1BA E: na obiegu 4 lewy, zagrano 4";
        QTest::newRow("one trick") << "2 H xx"
                                   << "W"
                                   << "="
                                   << ""
                                   << "2♥ W: na obiegu 1 lewa, zagrano 8";
        QTest::newRow("passed out") << "PASS"
                                    << ""
                                    << ""
                                    << ""
                                    << "";
        QTest::newRow("a split score") << ""
                                       << ""
                                       << ""
                                       << "60%-40%"
                                       << "";
        QTest::newRow("no declarer") << "4 S"
                                     << ""
                                     << "="
                                     << ""
                                     << "";
    }

    // A result against the deal's double-dummy tricks, for the declarer and the strain played.
    void doubleDummyHints()
    {
        QFETCH(QString, contract);
        QFETCH(QString, declarer);
        QFETCH(QString, result);
        QFETCH(QString, remarks);
        QFETCH(QString, hint);
        DoubleDummyTable table;
        table.SetTricks(Seat::North, Denomination::Spades, 10);
        table.SetTricks(Seat::South, Denomination::Spades, 9);
        table.SetTricks(Seat::East, Denomination::NoTrump, 4);
        table.SetTricks(Seat::West, Denomination::Hearts, 1);
        SessionDeals deals;
        deals.Add({ 1, 5 }, { Deal {}, table });
        deals.Add({ 2, 5 }, { Deal {}, std::nullopt });
        ReceivedResult received;
        received.Section = 1;
        received.Board = 5;
        received.Contract = contract;
        received.NsEw = declarer;
        received.Result = result;
        received.Remarks = remarks;
        QCOMPARE(DoubleDummyHint(received, deals), hint);
        // Another section, or the same board without an analysis: nothing to say.
        received.Section = 2;
        QCOMPARE(DoubleDummyHint(received, deals), QString());
        received.Section = 3;
        QCOMPARE(DoubleDummyHint(received, deals), QString());
    }

    // The line stands after the entry's lines and before when it was keyed in; without deals the tooltip is as
    // before.
    void cellHintWithADeal()
    {
        DoubleDummyTable table;
        table.SetTricks(Seat::North, Denomination::Spades, 10);
        SessionDeals deals;
        deals.Add({ 1, 5 }, { Deal {}, table });
        CellEntry entry;
        entry.State = CellEntry::Why::Transferred;
        entry.Received.Section = 1;
        entry.Received.Board = 5;
        entry.Received.Round = 2;
        entry.Received.Contract = QStringLiteral("4 S");
        entry.Received.NsEw = QStringLiteral("N");
        entry.Received.Result = QStringLiteral("-1");
        entry.KeyedIn = QStringLiteral("12:30:15");
        const TScoreProvider scorer;
        const QString without = CellHint(QStringLiteral("A3"), QStringLiteral("5"), entry, scorer);
        const QString with = CellHint(QStringLiteral("A3"), QStringLiteral("5"), entry, scorer, &deals);
        QVERIFY(!without.contains(QStringLiteral("na obiegu")));
        QCOMPARE(with,
            QString(without).replace(
                QStringLiteral("\nWpisano:"), QStringLiteral("\n4♠ N: na obiegu 10 lew, zagrano 9\nWpisano:")));
    }

    void rowLabelHints_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QList<int>>("complete");
        QTest::addColumn<QString>("missing");
        QTest::addColumn<int>("currentRound");
        QTest::addColumn<QString>("hint");
        QTest::newRow("rounds done, the current one under way")
            << QStringLiteral("A3") << QList<int> { 1, 2, 3, 4 } << QStringLiteral("5:13,5:14") << 5
            << QStringLiteral("A3: rundy 1-4 komplet; brak: 5:13, 5:14");
        QTest::newRow("a gap among the complete rounds")
            << QStringLiteral(" 3") << QList<int> { 1, 2, 4 } << QStringLiteral("3:5") << 4
            << QStringLiteral("3: rundy 1-2, 4 komplet; brak: 3:5");
        QTest::newRow("one complete round") << QStringLiteral("B1") << QList<int> { 2 } << QStringLiteral("1:1,1:2")
                                            << 2 << QStringLiteral("B1: runda 2 komplet; brak: 1:1, 1:2");
        QTest::newRow("no complete round") << QStringLiteral("H2") << QList<int> {} << QStringLiteral("1:1") << 1
                                           << QStringLiteral("H2: żadna runda nie jest kompletna; brak: 1:1");
        QTest::newRow("nothing missing") << QStringLiteral("A1") << QList<int> { 1, 2 } << QString() << 2
                                         << QStringLiteral("A1: rundy 1-2 komplet; niczego nie brakuje");
        QTest::newRow("before the first result")
            << QStringLiteral("A1") << QList<int> {} << QString() << 0 << QStringLiteral("A1: jeszcze nie ma wyników");
        QTest::newRow("a long list is cut")
            << QStringLiteral("C4") << QList<int> {}
            << QStringLiteral("1:1,1:2,2:3,2:4,3:5,3:6,4:7,4:8,5:9,5:10,6:11,6:12,7:13,7:14") << 7
            << QStringLiteral("C4: żadna runda nie jest kompletna; brak: 1:1, 1:2, 2:3, 2:4, 3:5, 3:6, 4:7, 4:8, "
                              "5:9, 5:10, 6:11, 6:12, … (razem 14)");
    }

    void rowLabelHints()
    {
        QFETCH(QString, label);
        QFETCH(QList<int>, complete);
        QFETCH(QString, missing);
        QFETCH(int, currentRound);
        QFETCH(QString, hint);
        TableProgress table;
        table.Label = label;
        table.Complete = complete;
        table.Missing = MissingOf(missing);
        QCOMPARE(RowLabelHint(table, currentRound), hint);
    }

    void cellHints_data()
    {
        QTest::addColumn<int>("why");
        QTest::addColumn<int>("board");
        QTest::addColumn<QString>("contract");
        QTest::addColumn<QString>("declarer");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("lead");
        QTest::addColumn<QString>("remarks");
        QTest::addColumn<QString>("keyedIn");
        QTest::addColumn<QString>("hint");
        const int transferred = int(CellEntry::Why::Transferred);
        const QString title = QStringLiteral("Stół A3, rozdanie 7, runda 2\n");
        QTest::newRow("doubled overtrick, nobody vulnerable")
            << transferred << 1 << QStringLiteral("4 S x") << QStringLiteral("N") << QStringLiteral("+1")
            << QStringLiteral("H10") << QString() << QStringLiteral("17:05:12")
            << title
                + QStringLiteral("Kontrakt: 4 S x, rozgrywa: N, wynik: +1\nWist: H10\nZapis NS: 690\nWpisano: 17:05:12");
        QTest::newRow("East-West's game, no lead, no time")
            << transferred << 2 << QStringLiteral("3 NT") << QStringLiteral("E") << QStringLiteral("=") << QString()
            << QString() << QString()
            << title + QStringLiteral("Kontrakt: 3 NT, rozgrywa: E, wynik: =\nWist: brak\nZapis NS: -400");
        QTest::newRow("passed out in the wrong lines")
            << transferred << 3 << QStringLiteral("PASS") << QString() << QString() << QString()
            << QStringLiteral("*") << QString()
            << title + QStringLiteral("Kontrakt: PASS\nWist: brak\nUwagi: * (złe linie)\nZapis NS: 0");
        QTest::newRow("split score") << transferred << 4 << QString() << QString() << QString() << QString()
                                     << QStringLiteral("60% - 40%") << QString()
                                     << title + QStringLiteral("Zapis dzielony: 60%-40%\nZapis NS: 60%-40%");
        QTest::newRow("not played") << transferred << 4 << QString() << QString() << QString() << QString()
                                    << QStringLiteral("Not played") << QString()
                                    << title + QStringLiteral("Nie grano: średnia 50%-50%\nZapis NS: 50%-50%");
        QTest::newRow("a contract that cannot be scored")
            << transferred << 1 << QStringLiteral("8 S") << QStringLiteral("N") << QStringLiteral("=") << QString()
            << QString() << QString()
            << title
                + QStringLiteral("Kontrakt: 8 S, rozgrywa: N, wynik: =\nWist: brak\nZapis NS: nie da się policzyć "
                                 "(nieznany kontrakt)");
        QTest::newRow("erased at the table")
            << int(CellEntry::Why::Erased) << 1 << QStringLiteral("4 S") << QStringLiteral("N") << QStringLiteral("=")
            << QString() << QString() << QStringLiteral("17:06:00")
            << title + QStringLiteral("Pusta: zapis wymazano przy stole\nWpisano: 17:06:00");
        QTest::newRow("mark cleared") << int(CellEntry::Why::MarkCleared) << 0 << QString() << QString() << QString()
                                      << QString() << QString() << QString()
                                      << QStringLiteral("Stół A3, rozdanie 7\nPusta: zaznaczenie zgaszone, zapis czeka "
                                                        "na następny przebieg");
    }

    void cellHints()
    {
        QFETCH(int, why);
        QFETCH(int, board);
        QFETCH(QString, contract);
        QFETCH(QString, declarer);
        QFETCH(QString, result);
        QFETCH(QString, lead);
        QFETCH(QString, remarks);
        QFETCH(QString, keyedIn);
        QFETCH(QString, hint);
        CellEntry entry;
        entry.State = CellEntry::Why(why);
        entry.Received.Round = 2;
        entry.Received.Board = board;
        entry.Received.Contract = contract;
        entry.Received.NsEw = declarer;
        entry.Received.Result = result;
        entry.Received.LeadCard = lead;
        entry.Received.Remarks = remarks;
        entry.KeyedIn = keyedIn;
        const TScoreProvider scorer;
        QCOMPARE(CellHint(QStringLiteral("A3"), QStringLiteral("7"), entry, scorer), hint);
    }

    void emptyCellSaysNothingArrivedYet()
    {
        QCOMPARE(EmptyCellHint(QStringLiteral(" 2"), QStringLiteral("14")),
            QStringLiteral("Stół 2, rozdanie 14\nPusta: jeszcze nie ma zapisu"));
    }

    // A table is late when it lacks a board of a round before the current one; a board of the current
    // round still being played is no delay.
    void progressLineNamesTheLateTables()
    {
        TournamentProgress progress;
        progress.CurrentRound = 3;
        progress.Received = 10;
        progress.Expected = 18;
        TableProgress onTime;
        onTime.Label = QStringLiteral("A1");
        onTime.Missing = { { 3, 5 }, { 3, 6 } };
        TableProgress late;
        late.Label = QStringLiteral("A2");
        late.Missing = { { 2, 3 }, { 3, 5 } };
        TableProgress lateToo;
        lateToo.Label = QStringLiteral(" 9");
        lateToo.Missing = { { 1, 1 } };
        progress.Tables = { onTime, late, lateToo };
        QCOMPARE(LateTables(progress), (QStringList { QStringLiteral("A2"), QStringLiteral("9") }));
        QCOMPARE(ProgressLine(QStringLiteral("ostatni przebieg 17:00:00"), progress),
            QStringLiteral("ostatni przebieg 17:00:00; wyniki: 10 z 18; spóźnione: A2, 9"));
        progress.Tables = { onTime };
        QCOMPARE(ProgressLine(QString(), progress), QStringLiteral("wyniki: 10 z 18; spóźnionych stołów nie ma"));
    }

    // The suspicious results are counted after the results received, and only when there are any.
    void progressLineCountsTheSuspicious_data()
    {
        QTest::addColumn<int>("suspicious");
        QTest::addColumn<QString>("line");
        QTest::newRow("none") << 0 << QStringLiteral("17:00:00; wyniki: 10 z 18; spóźnionych stołów nie ma");
        QTest::newRow("two") << 2 << QStringLiteral("17:00:00; wyniki: 10 z 18; podejrzane: 2; spóźnionych stołów nie ma");
    }

    void progressLineCountsTheSuspicious()
    {
        QFETCH(int, suspicious);
        TournamentProgress progress;
        progress.Received = 10;
        progress.Expected = 18;
        QTEST(ProgressLine(QStringLiteral("17:00:00"), progress, suspicious), "line");
    }
};

QTEST_GUILESS_MAIN(TestCellHints)
#include "TestCellHints.moc"
