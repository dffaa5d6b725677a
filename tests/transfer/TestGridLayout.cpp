// The results grid's labels, size, colours and the reading of a cell back into section, table and board.
#include "common/KibicError.h"
#include "support/TournamentModels.h"
#include "transfer/GridLayout.h"
#include "transfer/ResultConversion.h"

#include <QTest>
#include <cmath>

using namespace kibic;

Q_DECLARE_METATYPE(kibic::TournamentModel)

namespace {

TournamentModel Layout(bool pairs, int sections, int tables, int extraTables, int extraSections)
{
    test::ModelCounts counts;
    counts.PairsEvent = pairs;
    counts.Sections = sections;
    counts.Tables = tables;
    counts.ExtraTables = extraTables;
    counts.ExtraSections = extraSections;
    counts.BoardsPerRound = 4;
    counts.BoardCount = 8;
    return test::MakeModel(counts);
}

QStringList Labels(QChar letter, int from, int to)
{
    QStringList labels;
    for (int table = from; table <= to; ++table)
        labels.append(letter + QString::number(table));
    return labels;
}

} // namespace

class TestGridLayout : public QObject
{
    Q_OBJECT

private slots:
    void rowLabels_data()
    {
        QTest::addColumn<TournamentModel>("model");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one section") << Layout(true, 1, 5, 0, 0) << Labels(u' ', 1, 5);
        QTest::newRow("two sections") << Layout(true, 2, 10, 0, 0) << Labels(u'A', 1, 10) + Labels(u'B', 1, 10);
        QTest::newRow("one section and H tables")
            << Layout(true, 1, 6, 3, 0) << Labels(u' ', 1, 6) + Labels(u'H', 1, 3);
        QTest::newRow("two sections and extra tables")
            << Layout(true, 2, 2, 2, 0) << Labels(u'A', 1, 2) + Labels(u'B', 1, 2) + Labels(u'C', 1, 2);
        QTest::newRow("only a non-typical sector") << Layout(true, 0, 0, 4, 0) << Labels(u' ', 1, 4);
        QTest::newRow("individual sectors")
            << Layout(false, 1, 8, 6, 2) << Labels(u'A', 1, 8) + Labels(u'B', 1, 3) + Labels(u'C', 1, 3);
        QTest::newRow("individual, one non-typical part")
            << Layout(false, 1, 4, 2, 0) << Labels(u' ', 1, 4) + Labels(u'H', 1, 2);
        // Seven tables cannot be shared by two sectors: the grid's last row stays unlabelled.
        QTest::newRow("individual, uneven sectors") << Layout(
            false, 1, 2, 7, 2) << Labels(u'A', 1, 2) + Labels(u'B', 1, 3) + Labels(u'C', 1, 3) + QStringList(QString());
    }

    void rowLabels()
    {
        QFETCH(TournamentModel, model);
        QFETCH(QStringList, expected);
        QCOMPARE(GridRowLabels(model), QStringList(QString()) + expected);
    }

    // Reading every label back gives the section and table whose results the row shows.
    void labelsReadBackToTheirRows_data()
    {
        QTest::addColumn<TournamentModel>("model");
        QTest::newRow("one section") << Layout(true, 1, 5, 0, 0);
        QTest::newRow("two sections") << Layout(true, 2, 10, 0, 0);
        QTest::newRow("one section and H tables") << Layout(true, 1, 6, 3, 0);
        QTest::newRow("three sections and extra tables") << Layout(true, 3, 2, 2, 0);
        QTest::newRow("individual sectors") << Layout(false, 1, 8, 6, 2);
        QTest::newRow("individual, two sections and sectors") << Layout(false, 2, 3, 4, 2);
        QTest::newRow("individual, one non-typical part") << Layout(false, 1, 4, 2, 0);
    }

    void labelsReadBackToTheirRows()
    {
        QFETCH(TournamentModel, model);
        const QStringList labels = GridRowLabels(model);
        for (int row = 1; row <= model.GridTableCount; ++row) {
            const CellRef ref = CellRefOf(model, 1, row, labels.at(row), QString());
            QVERIFY2(ref.Usable, qPrintable(labels.at(row)));
            QCOMPARE(GridRowOf(model, ref.Section, ref.Table), row);
        }
    }

    void cellRefs_data()
    {
        QTest::addColumn<TournamentModel>("model");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("usable");
        QTest::addColumn<int>("boardSet");
        QTest::addColumn<int>("board");
        QTest::addColumn<int>("section");
        QTest::addColumn<int>("table");
        QTest::addColumn<bool>("hasRound");
        QTest::addColumn<int>("round");
        const TournamentModel one = Layout(true, 1, 6, 3, 0);
        const TournamentModel two = Layout(true, 2, 10, 0, 0);
        const TournamentModel sectors = Layout(false, 1, 8, 6, 2);
        TournamentModel renumbered = two;
        renumbered.BoardNumbers = { 0, 21, 22, 23, 24, 25, 26, 27, 28 };
        QTest::newRow("space label") << one << 1 << 3 << " 3"
                                     << "2" << true << 1 << 1 << 1 << 3 << true << 2;
        QTest::newRow("H label is section 2") << one << 5 << 8 << "H2"
                                              << " 4 " << true << 2 << 5 << 2 << 2 << true << 4;
        QTest::newRow("B label") << two << 8 << 17 << "B7"
                                 << "1" << true << 2 << 8 << 2 << 7 << true << 1;
        QTest::newRow("sector C") << sectors << 2 << 13 << "C2"
                                  << "3" << true << 1 << 2 << 3 << 2 << true << 3;
        QTest::newRow("printed board number") << renumbered << 6 << 1 << "A1"
                                              << "2" << true << 2 << 26 << 1 << 1 << true << 2;
        QTest::newRow("empty cell") << two << 1 << 1 << "A1"
                                    << "" << true << 1 << 1 << 1 << 1 << false << 0;
        QTest::newRow("row label column") << two << 0 << 1 << "A1"
                                          << "A1" << false << 0 << 0 << 1 << 1 << false << 0;
        QTest::newRow("header row") << two << 1 << 0 << ""
                                    << "1" << false << 1 << 1 << 1 << 0 << true << 1;
        QTest::newRow("column past the boards") << two << 9 << 1 << "A1"
                                                << "1" << false << 3 << 0 << 1 << 1 << true << 1;
        QTest::newRow("label past Z") << two << 1 << 1 << "[1"
                                      << "1" << false << 1 << 1 << 1 << 0 << true << 1;
        QTest::newRow("table 0") << two << 1 << 1 << "A0"
                                 << "1" << false << 1 << 1 << 1 << 0 << true << 1;
        QTest::newRow("lower-case letter") << two << 1 << 1 << "a1"
                                           << "1" << false << 1 << 1 << 1 << 0 << true << 1;
    }

    void cellRefs()
    {
        QFETCH(TournamentModel, model);
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(QString, label);
        QFETCH(QString, text);
        QFETCH(bool, usable);
        QFETCH(int, boardSet);
        QFETCH(int, board);
        QFETCH(int, section);
        QFETCH(int, table);
        QFETCH(bool, hasRound);
        QFETCH(int, round);
        const CellRef ref = CellRefOf(model, column, row, label, text);
        QCOMPARE(ref.Usable, usable);
        QCOMPARE(ref.BoardSet, boardSet);
        QCOMPARE(ref.Board, board);
        QCOMPARE(ref.Section, section);
        QCOMPARE(ref.Table, table);
        QCOMPARE(ref.HasRound, hasRound);
        QCOMPARE(ref.Round, round);
    }

    void columnHeadersArePrintedBoardNumbers()
    {
        TournamentModel model = Layout(true, 1, 2, 0, 0);
        model.BoardCount = 3;
        model.BoardNumbers = { 0, 17, 18, 5 };
        QCOMPARE(GridColumnHeaders(model),
            (QStringList { QString(), QStringLiteral("17"), QStringLiteral("18"), QStringLiteral("5") }));
        model.BoardCount = 4;
        QVERIFY_THROWS_EXCEPTION(KibicError, (void)GridColumnHeaders(model));
    }

    void windowFitsTheGrid_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("windowHeight");
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("gridHeight");
        QTest::addColumn<int>("gridWidth");
        QTest::newRow("6 x 21") << 6 << 21 << 283 << 512 << 118 << 413;
        QTest::newRow("40 x 60") << 40 << 60 << 796 << 1063 << 628 << 961;
        QTest::newRow("narrow window widened") << 6 << 5 << 283 << 460 << 118 << 109;
        QTest::newRow("33 rows, 51 columns") << 33 << 51 << 796 << 1063 << 628 << 964;
        QTest::newRow("40 rows, 30 columns") << 40 << 30 << 796 << 683 << 631 << 600;
        QTest::newRow("40 rows, exactly 50 columns") << 40 << 50 << 796 << 1063 << 628 << 961;
    }

    void windowFitsTheGrid()
    {
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(int, windowHeight);
        QFETCH(int, windowWidth);
        QFETCH(int, gridHeight);
        QFETCH(int, gridWidth);
        const GridGeometry geometry = FitWindowToGrid(rows, columns, 3, 40);
        QCOMPARE(geometry.WindowLeft, 1);
        QCOMPARE(geometry.WindowTop, 1);
        QCOMPARE(geometry.WindowHeight, windowHeight);
        QCOMPARE(geometry.WindowWidth, windowWidth);
        QCOMPARE(geometry.GridHeight, gridHeight);
        QCOMPARE(geometry.GridWidth, gridWidth);
        QCOMPARE(geometry.LabelLeft, 4);
        QCOMPARE(geometry.LabelTop, 40 + gridHeight);
        QCOMPARE(geometry.LabelWidth, gridWidth - 2);
    }

    // The grid as the window is resized: grid at (8, 64), fitted 603 wide, 101 pixels above the window's
    // bottom. It never passes the right edge (8 pixels stay free) nor the bottom, and never grows wider
    // than fitted; below the smallest window it keeps the smallest grid.
    void gridInAResizedWindow_data()
    {
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("windowHeight");
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<int>("gridHeight");
        QTest::newRow("as fitted") << 702 << 758 << 603 << 593;
        QTest::newRow("500 x 400") << 500 << 400 << 484 << 235;
        QTest::newRow("wider and higher") << 1280 << 900 << 603 << 735;
        QTest::newRow("just narrower than the grid") << 618 << 758 << 602 << 593;
        QTest::newRow("smaller than the smallest") << 50 << 100 << 68 << 58;
    }

    void gridInAResizedWindow()
    {
        QFETCH(int, windowWidth);
        QFETCH(int, windowHeight);
        QFETCH(int, gridWidth);
        QFETCH(int, gridHeight);
        const GridPlace place { 8, 64, 603, 101 };
        QCOMPARE(GridInWindow(windowWidth, windowHeight, place), (GridSize { gridWidth, gridHeight }));
        // The smallest window holds the smallest grid in its place.
        const GridSize smallest = SmallestWindow(place);
        const GridSize grid = GridInWindow(smallest.Width, smallest.Height, place);
        QCOMPARE(grid, SmallestGrid());
        QCOMPARE(8 + grid.Width + 8, smallest.Width);
        QCOMPARE(64 + grid.Height + 101, smallest.Height);
    }

    void cellColours_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("suspicious");
        QTest::addColumn<int>("colour");
        QTest::newRow("corner") << 0 << 0 << "" << false << int(CellColour::Fixed);
        QTest::newRow("row label") << 0 << 3 << "A3" << false << int(CellColour::Fixed);
        QTest::newRow("board number") << 2 << 0 << "2" << false << int(CellColour::Fixed);
        QTest::newRow("round number") << 1 << 1 << "3" << false << int(CellColour::Received);
        QTest::newRow("blank") << 1 << 1 << "  " << false << int(CellColour::Waiting);
        QTest::newRow("empty") << 4 << 2 << "" << false << int(CellColour::Waiting);
        QTest::newRow("suspicious round") << 1 << 1 << "3" << true << int(CellColour::Suspicious);
        // A cell emptied for the next pass waits, whatever it held.
        QTest::newRow("suspicious but emptied") << 1 << 1 << "" << true << int(CellColour::Waiting);
        QTest::newRow("suspicious header") << 0 << 1 << "A1" << true << int(CellColour::Fixed);
    }

    void cellColours()
    {
        QFETCH(int, column);
        QFETCH(int, row);
        QFETCH(QString, text);
        QFETCH(bool, suspicious);
        QFETCH(int, colour);
        QCOMPARE(int(CellColourOf(column, row, text, suspicious)), colour);
    }

    // The suspicious colour stands apart from the cells around it also for a reader who does not tell red
    // from green: its relative luminance is far from that of the waiting yellow, the received green and
    // the header's sky blue (and from the late orange), and the navy text on it stays readable.
    void suspiciousColourStandsApart()
    {
        auto luminance = [](CellRgb rgb) {
            auto linear = [](int c) {
                const double v = c / 255.0;
                return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * linear(rgb.Red) + 0.7152 * linear(rgb.Green) + 0.0722 * linear(rgb.Blue);
        };
        const double suspicious = luminance(RgbOf(CellColour::Suspicious));
        for (const CellColour other : { CellColour::Waiting, CellColour::Received, CellColour::Fixed })
            QVERIFY2(std::abs(luminance(RgbOf(other)) - suspicious) > 0.2, qPrintable(QString::number(int(other))));
        QVERIFY(std::abs(luminance(RgbOf(CellColour::Late)) - suspicious) > 0.05);
        // Blue well above red and green: a violet, not a hue on the red-green axis.
        const CellRgb violet = RgbOf(CellColour::Suspicious);
        QVERIFY(violet.Blue - std::max(violet.Red, violet.Green) >= 64);
        const double navy = luminance({ 0, 0, 128 });
        QVERIFY((suspicious + 0.05) / (navy + 0.05) >= 4.5);
    }

    void receivedCellsAreLightGreen()
    {
        const CellRgb green = RgbOf(CellColour::Received);
        QCOMPARE(green.Red, 136);
        QCOMPARE(green.Green, 255);
        QCOMPARE(green.Blue, 136);
    }

    void textIsCentred_data()
    {
        QTest::addColumn<int>("cellWidth");
        QTest::addColumn<int>("textWidth");
        QTest::addColumn<int>("offset");
        QTest::newRow("narrow text") << 18 << 7 << 6;
        QTest::newRow("one pixel to spare") << 18 << 16 << 1;
        QTest::newRow("exact fit") << 18 << 18 << 0;
        QTest::newRow("too wide") << 18 << 30 << 0;
        QTest::newRow("wide column") << 28 << 15 << 7;
    }

    void textIsCentred()
    {
        QFETCH(int, cellWidth);
        QFETCH(int, textWidth);
        QFETCH(int, offset);
        QCOMPARE(CellTextOffset(cellWidth, textWidth), offset);
    }
};

QTEST_GUILESS_MAIN(TestGridLayout)
#include "TestGridLayout.moc"
