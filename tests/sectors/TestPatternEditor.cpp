// The pattern editor's logic: sizing, pages, the help, storing a page and the run page by page.
#include "SectorModels.h"

#include "sectors/PatternFile.h"
#include "sectors/uNietyp.h"

#include <QTemporaryDir>
#include <QTest>
#include <deque>

using namespace kibic;
using namespace kibic::test;

namespace {

// A window without widgets: each page answers with the next scripted step, which may edit the cells.
class ScriptedView : public PatternEditorView
{
public:
    struct Step
    {
        ModalResult Result = ModalResult::Ok;
        std::function<void(ScriptedView&)> Edit;
    };

    void ShowPage(const PatternPage& page) override
    {
        Pages.push_back(page);
        Tables.clear();
        Rounds.clear();
        for (const auto& cells : page.Cells) {
            Tables.append(cells[static_cast<size_t>(PatternColumn::Table)]);
            Rounds.append(cells[static_cast<size_t>(PatternColumn::Round)]);
        }
    }

    ModalResult ShowModalPage() override
    {
        if (Steps.empty())
            return ModalResult::Cancel;
        Step step = Steps.front();
        Steps.pop_front();
        if (step.Edit)
            step.Edit(*this);
        return step.Result;
    }

    QStringList TableTexts() const override { return Tables; }
    QStringList RoundTexts() const override { return Rounds; }
    QString AskLoadPatternFile() override { return LoadName; }
    QString AskSavePatternFile() override { return SaveName; }

    std::deque<Step> Steps;
    std::vector<PatternPage> Pages;
    QStringList Tables;
    QStringList Rounds;
    QString LoadName;
    QString SaveName;
};

ScriptedView::Step Press(ModalResult result, std::function<void(ScriptedView&)> edit = {})
{
    return { result, std::move(edit) };
}

// Fills every cell of the page shown: table i, round b.
void StateAll(ScriptedView& view)
{
    const qint32 b = view.Pages.back().BoardSet;
    for (qsizetype i = 0; i < view.Tables.size(); ++i) {
        view.Tables[i] = QString::number(i + 1);
        view.Rounds[i] = QString::number(b);
    }
}

} // namespace

class TestPatternEditor : public QObject
{
    Q_OBJECT

private slots:
    void gridGeometry_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("one table") << 1 << 2 << 167 << 41 << false;
        QTest::newRow("22 tables fit") << 22 << 23 << 167 << 440 << false;
        QTest::newRow("23 tables scroll") << 23 << 24 << 183 << 440 << true;
        QTest::newRow("40 tables scroll") << 40 << 41 << 183 << 440 << true;
    }

    void gridGeometry()
    {
        QFETCH(int, n);
        QFETCH(int, rowCount);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(bool, scrolls);
        const PatternGridGeometry geometry = PatternGridGeometryFor(n);
        QCOMPARE(geometry.RowCount, rowCount);
        QCOMPARE(geometry.GridWidth, width);
        QCOMPARE(geometry.GridHeight, height);
        QCOMPARE(geometry.Scrolls, scrolls);
        QCOMPARE(geometry.WindowHeight, height + 100);
    }

    void help_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("roundCount");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::vector<qint32>>("fill");
        const int table = int(PatternColumn::Table);
        const int round = int(PatternColumn::Round);
        QTest::newRow("table numbers walk down") << 5 << 7 << 1 << table << "2" << std::vector<qint32> { 1, 5, 4, 3 };
        QTest::newRow("round numbers wrap") << 4 << 7 << 2 << round << "6" << std::vector<qint32> { 7, 1 };
        QTest::newRow("trimmed") << 3 << 7 << 1 << table << " 2 " << std::vector<qint32> { 1, 3 };
        QTest::newRow("negative table") << 3 << 7 << 1 << table << "-1" << std::vector<qint32> { 3, 2 };
        QTest::newRow("last row fills nothing") << 4 << 7 << 4 << table << "2" << std::vector<qint32> {};
        QTest::newRow("no integer") << 4 << 7 << 1 << table << "2a" << std::vector<qint32> {};
        QTest::newRow("zero") << 4 << 7 << 1 << round << "0" << std::vector<qint32> {};
        QTest::newRow("empty") << 4 << 7 << 1 << round << "" << std::vector<qint32> {};
        QTest::newRow("the value it knew") << 4 << 7 << 1 << table << "3" << std::vector<qint32> {};
        QTest::newRow("fixed column") << 4 << 7 << 1 << int(PatternColumn::EW) << "3" << std::vector<qint32> {};
    }

    void help()
    {
        QFETCH(int, n);
        QFETCH(int, roundCount);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, text);
        QFETCH(std::vector<qint32>, fill);
        PatternHelp helper;
        helper.Start(n, roundCount);
        helper.Remember(1, 3, 5); // the page showed table 3, round 5 in row 1

        QCOMPARE(helper.CellChanged(row, static_cast<PatternColumn>(column), text), fill);
    }

    // What the help filled in it knows, so those cells changing to the same text fill nothing more, while
    // the operator's own change in a filled row numbers the rows after it again.
    void helpRemembersWhatItFilled()
    {
        PatternHelp helper;
        helper.Start(5, 7);
        QCOMPARE(
            helper.CellChanged(1, PatternColumn::Table, QStringLiteral("2")), (std::vector<qint32> { 1, 5, 4, 3 }));
        QCOMPARE(helper.TableValues, (std::vector<qint32> { 0, 2, 1, 5, 4, 3 }));
        QCOMPARE(helper.CellChanged(2, PatternColumn::Table, QStringLiteral("1")), std::vector<qint32> {});
        QCOMPARE(helper.CellChanged(3, PatternColumn::Table, QStringLiteral("2")), (std::vector<qint32> { 1, 5 }));
        QCOMPARE(helper.RoundValues, (std::vector<qint32>(6, 0)));
    }

    void page_data()
    {
        QTest::addColumn<int>("boardSet");
        QTest::addColumn<QString>("label1");
        QTest::addColumn<QString>("label2");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        QTest::newRow("first") << 1 << "Kpl.1"
                               << "21-23" << false << true;
        QTest::newRow("middle") << 2 << "Kpl.2"
                                << "24-26" << true << true;
        QTest::newRow("last") << 3 << "Kpl.3"
                              << "27-29" << true << false;
    }

    void page()
    {
        QFETCH(int, boardSet);
        QFETCH(QString, label1);
        QFETCH(QString, label2);
        QFETCH(bool, previous);
        QFETCH(bool, next);
        SectorTournament t = MakeSectorTournament(3, 2, 1, 3);
        t.Model.BoardsPerRound = 3;
        t.Model.BoardCount = 9;
        t.Model.BoardNumbers = { 0, 21, 22, 23, 24, 25, 26, 27, 28, 29 };
        t.SetRow(boardSet, 1, 7, 12);
        t.SetTableRound(boardSet, 1, 2, 0);
        t.SetRow(boardSet, 2, 8, 11);
        t.SetTableRound(boardSet, 2, -1, 3);

        const PatternPage page = MakePatternPage(t.Model, 2, 3, boardSet);

        QCOMPARE(page.Label1, label1);
        QCOMPARE(page.Label2, label2);
        QCOMPARE(page.PreviousEnabled, previous);
        QCOMPARE(page.NextEnabled, next);
        using Cells = std::array<QString, PatternColumnCount>;
        QCOMPARE(page.Cells.size(), size_t(2));
        QCOMPARE(
            page.Cells[0], (Cells { QStringLiteral("  7"), QStringLiteral("  12"), QStringLiteral("2"), QString() }));
        QCOMPARE(
            page.Cells[1], (Cells { QStringLiteral("  8"), QStringLiteral("  11"), QString(), QStringLiteral("3") }));
        QCOMPARE(page.Tables, (std::vector<qint32> { 2, -1 }));
        QCOMPARE(page.Rounds, (std::vector<qint32> { 0, 3 }));
    }

    void storedCell_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("number") << "12" << 12;
        QTest::newRow("blanks around") << "  4 " << 4;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("letters") << "x" << 0;
        QTest::newRow("number and letters") << "3a" << 0;
        QTest::newRow("decimal point") << "2.5" << 0;
        QTest::newRow("negative") << "-2" << -2;
    }

    void storedCell()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        SectorTournament t = MakeSectorTournament(2, 1);
        StorePatternPage(t.Model, 1, 0, 2, { text }, { QStringLiteral("1") });
        QCOMPARE(t.Row(2, 1).Table, value);
        QCOMPARE(t.Row(2, 1).Round, 1);
    }

    void navigation()
    {
        SectorTournament t = MakeSectorTournament(3, 2);
        ScriptedView view;
        view.Steps
            = { Press(ModalResult::Yes, StateAll), Press(ModalResult::Yes, StateAll), Press(ModalResult::Yes, StateAll),
                  Press(ModalResult::No), Press(ModalResult::No), Press(ModalResult::No), Press(ModalResult::Ok) };
        RecordingOperator messages;

        QVERIFY(RunPatternEditor(t.Model, 2, 0, view, messages));

        std::vector<qint32> shown;
        for (const auto& page : view.Pages)
            shown.push_back(page.BoardSet);
        QCOMPARE(shown, (std::vector<qint32> { 1, 2, 3, 3, 2, 1, 1 }));
        QCOMPARE(t.Row(3, 2).Table, 2);
        QCOMPARE(t.Row(3, 2).Round, 3);
    }

    void oneEmptyCellFails_data()
    {
        QTest::addColumn<int>("boardSet");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("table");
        QTest::newRow("table on the first board set") << 1 << 1 << true;
        QTest::newRow("round on the last board set") << 3 << 2 << false;
    }

    void oneEmptyCellFails()
    {
        QFETCH(int, boardSet);
        QFETCH(int, row);
        QFETCH(bool, table);
        SectorTournament t = MakeSectorTournament(3, 2);
        ScriptedView view;
        auto stateAllButOne = [=](ScriptedView& v) {
            StateAll(v);
            if (v.Pages.back().BoardSet == boardSet)
                (table ? v.Tables : v.Rounds)[row - 1] = QString();
        };
        view.Steps = { Press(ModalResult::Yes, stateAllButOne), Press(ModalResult::Yes, stateAllButOne),
            Press(ModalResult::Ok, stateAllButOne) };
        RecordingOperator messages;

        QVERIFY(!RunPatternEditor(t.Model, 2, 0, view, messages));

        // The model keeps what was typed, the empty cell as 0; no message is shown.
        QCOMPARE(table ? t.Row(boardSet, row).Table : t.Row(boardSet, row).Round, 0);
        QCOMPARE(t.Row(2, 1).Table, 1);
        QVERIFY(messages.Messages.empty());
        QVERIFY(messages.Errors.isEmpty());
    }

    // A complete pattern that the terminal server could not play is refused, saying which board set and
    // row: a meeting at a table outside the sector's two tables, or a second meeting at a table in a round.
    // The editor stays open on that board set and row with everything entered; once put right, "OK" accepts.
    void unplayablePatternIsRefused_data()
    {
        QTest::addColumn<int>("boardSet");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("round");
        QTest::addColumn<QString>("message");
        QTest::newRow("table 3 of 2") << 2 << 2 << QStringLiteral("3") << QStringLiteral("2")
                                      << QStringLiteral("komplet 2, wiersz 2 – stolik 3 jest poza sektorem");
        QTest::newRow("table 1 twice in round 2") << 2 << 2 << QStringLiteral("1") << QStringLiteral("2")
                                                  << QStringLiteral("komplet 2, wiersz 2 – stolik 1 w rundzie 2 ma już "
                                                                    "spotkanie kompletu 2 z wiersza 1");
        QTest::newRow("table 2 in round 1, as board set 1") << 3 << 2 << QStringLiteral("2") << QStringLiteral("1")
                                                            << QStringLiteral("komplet 3, wiersz 2 – stolik 2 w rundzie 1 "
                                                                              "ma już spotkanie kompletu 1 z wiersza 2");
    }

    void unplayablePatternIsRefused()
    {
        QFETCH(int, boardSet);
        QFETCH(int, row);
        QFETCH(QString, table);
        QFETCH(QString, round);
        QFETCH(QString, message);
        SectorTournament t = MakeSectorTournament(3, 2);
        ScriptedView view;
        auto stateOneWrong = [=](ScriptedView& v) {
            StateAll(v);
            if (v.Pages.back().BoardSet == boardSet) {
                v.Tables[row - 1] = table;
                v.Rounds[row - 1] = round;
            }
        };
        view.Steps = { Press(ModalResult::Yes, stateOneWrong), Press(ModalResult::Yes, stateOneWrong),
            Press(ModalResult::Ok, stateOneWrong), Press(ModalResult::Ok, StateAll) };
        RecordingOperator messages;

        QVERIFY(RunPatternEditor(t.Model, 2, 0, view, messages));

        QCOMPARE(messages.Errors.size(), 1);
        QVERIFY2(messages.Errors.first().contains(message), qPrintable(messages.Errors.first()));
        QCOMPARE(view.Pages.size(), size_t(4));
        const PatternPage& atFault = view.Pages[3];
        QCOMPARE(atFault.BoardSet, boardSet);
        QCOMPARE(atFault.CurrentRow, row);
        QCOMPARE(atFault.Cells[size_t(row - 1)][size_t(PatternColumn::Table)], table);
        QCOMPARE(atFault.Cells[size_t(row - 1)][size_t(PatternColumn::Round)], round);
        QCOMPARE(view.Pages[0].CurrentRow, 1);
        // What was entered on the other board sets is still there.
        QCOMPARE(t.Row(1, 2).Table, 2);
        QCOMPARE(t.Row(1, 2).Round, 1);
    }

    void cancelStoresNothing()
    {
        SectorTournament t = MakeSectorTournament(2, 2);
        ScriptedView view;
        view.Steps = { Press(ModalResult::Yes, StateAll), Press(ModalResult::Cancel, StateAll) };
        RecordingOperator messages;

        QVERIFY(!RunPatternEditor(t.Model, 2, 0, view, messages));

        QCOMPARE(t.Row(1, 1).Table, 1);
        QCOMPARE(t.Row(2, 1).Table, 0);
    }

    // Saving stores the page first; loading refreshes the page from the file.
    void saveThenLoadInTheRun()
    {
        QTemporaryDir dir;
        SectorTournament t = MakeSectorTournament(2, 2);
        ScriptedView view;
        view.SaveName = dir.filePath(QStringLiteral("wzor.bmt"));
        view.LoadName = view.SaveName;
        auto clear = [](ScriptedView& v) {
            v.Tables = { QString(), QString() };
            v.Rounds = { QString(), QString() };
        };
        view.Steps = { Press(ModalResult::Yes, StateAll), Press(ModalResult::Ignore, StateAll),
            Press(ModalResult::No, clear), Press(ModalResult::Retry, clear), Press(ModalResult::Ok) };
        RecordingOperator messages;

        QVERIFY(RunPatternEditor(t.Model, 2, 0, view, messages));

        QCOMPARE(view.Pages.size(), size_t(5));
        QCOMPARE(view.Pages[4].BoardSet, 1);
        QCOMPARE(view.Pages[4].Cells[1][2], QStringLiteral("2"));
        QCOMPARE(view.Pages[4].Cells[1][3], QStringLiteral("1"));
        const std::vector<std::vector<std::pair<qint32, qint32>>> expected
            = { { { 1, 1 }, { 2, 1 } }, { { 1, 2 }, { 2, 2 } } };
        QCOMPARE(t.TablesAndRounds(), expected);
    }

    // A pattern file that cannot be written or read is reported; the operator stays at the page.
    void fileFailureKeepsTheEditorOpen()
    {
        QTemporaryDir dir;
        SectorTournament t = MakeSectorTournament(1, 1);
        ScriptedView view;
        view.SaveName = dir.filePath(QStringLiteral("brak/wzor.bmt"));
        view.LoadName = dir.filePath(QStringLiteral("brak.bmt"));
        view.Steps = { Press(ModalResult::Ignore, StateAll), Press(ModalResult::Retry), Press(ModalResult::Ok) };
        RecordingOperator messages;

        QVERIFY(RunPatternEditor(t.Model, 1, 0, view, messages));

        QCOMPARE(messages.Errors.size(), 2);
        QVERIFY2(messages.Errors[0].contains(view.SaveName), qPrintable(messages.Errors[0]));
        QVERIFY2(messages.Errors[1].contains(view.LoadName), qPrintable(messages.Errors[1]));
    }
};

QTEST_GUILESS_MAIN(TestPatternEditor)
#include "TestPatternEditor.moc"
