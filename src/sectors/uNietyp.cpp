// The pattern editor's logic: its pages, the help that numbers the following rows, its sizing and run.
#include "sectors/uNietyp.h"

#include "common/KibicError.h"
#include "common/Operator.h"
#include "common/uNapisy.h"
#include "sectors/PatternFile.h"
#include "sectors/uSprNietyp.h"

#include <algorithm>
#include <utility>

namespace kibic {

PatternGridGeometry PatternGridGeometryFor(qint32 n)
{
    PatternGridGeometry geometry;
    geometry.RowCount = n + 1;
    geometry.GridWidth = PatternColumnCount * (PatternDefaultColWidth + 1) + 19;
    geometry.Scrolls = n > PatternVisibleRows - 1;
    if (geometry.Scrolls) {
        geometry.GridHeight = PatternVisibleRows * (PatternRowHeight + 1) + 3;
    } else {
        geometry.GridHeight = (n + 1) * (PatternRowHeight + 1) + 3;
        geometry.GridWidth -= 16;
    }
    geometry.WindowHeight = geometry.GridHeight + 100;
    return geometry;
}

std::array<QString, PatternColumnCount> PatternHeaders(bool pairsEvent)
{
    if (pairsEvent)
        return { QStringLiteral("  NS"), QStringLiteral("  EW"), QStringLiteral("stolik"), QStringLiteral("runda") };
    return { QStringLiteral("  N"), QStringLiteral("  E"), QStringLiteral("stolik"), QStringLiteral("runda") };
}

namespace {

// The printed number of the i-th board; a board beyond the numbering keeps its index.
qint32 PrintedBoardNumber(const TournamentModel& model, qint64 i)
{
    if (i >= 1 && i < static_cast<qint64>(model.BoardNumbers.size()))
        return model.BoardNumbers[static_cast<size_t>(i)];
    return static_cast<qint32>(i);
}

QString StatedText(qint32 value)
{
    return value < 1 ? QString() : QString::number(value);
}

} // namespace

PatternPage MakePatternPage(const TournamentModel& model, qint32 n, qint32 o, qint32 b)
{
    CheckSectorShape(model, n, o);
    PatternPage page;
    page.BoardSet = b;
    page.Label1 = uNapisy::Kpl + QString::number(b);
    const qint64 first = qint64(model.BoardsPerRound) * (b - 1) + 1;
    const qint64 last = qint64(model.BoardsPerRound) * b;
    page.Label2 = QString::number(PrintedBoardNumber(model, first)) + QLatin1Char('-')
        + QString::number(PrintedBoardNumber(model, last));
    page.PreviousEnabled = b > 1;
    page.NextEnabled = b < model.TableCount;
    for (qint32 i = 1; i <= n; ++i) {
        const MovementEntry& entry = SectorEntry(model, o, b, i);
        page.Cells.push_back({ QStringLiteral("  ") + QString::number(entry.NS),
            QStringLiteral("  ") + QString::number(entry.EW), StatedText(entry.Table), StatedText(entry.Round) });
        page.Tables.push_back(entry.Table);
        page.Rounds.push_back(entry.Round);
    }
    return page;
}

qint32 CellInteger(const QString& text)
{
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

void StorePatternPage(
    TournamentModel& model, qint32 n, qint32 o, qint32 b, const QStringList& tables, const QStringList& rounds)
{
    CheckSectorShape(model, n, o);
    for (qint32 i = 1; i <= n; ++i) {
        MovementEntry& entry = SectorEntry(model, o, b, i);
        entry.Table = i <= tables.size() ? CellInteger(tables[i - 1]) : 0;
        entry.Round = i <= rounds.size() ? CellInteger(rounds[i - 1]) : 0;
    }
}

void PatternHelp::Start(qint32 n, qint32 roundCount)
{
    PatternRows = n;
    PatternRounds = roundCount;
    TableValues.assign(static_cast<size_t>(std::max(n, 0)) + 1, 0);
    RoundValues.assign(static_cast<size_t>(std::max(n, 0)) + 1, 0);
}

void PatternHelp::Remember(qint32 r, qint32 table, qint32 round)
{
    if (r < 0 || r > PatternRows)
        return;
    TableValues[static_cast<size_t>(r)] = table;
    RoundValues[static_cast<size_t>(r)] = round;
}

std::vector<qint32> PatternHelp::CellChanged(qint32 r, PatternColumn column, const QString& text)
{
    std::vector<qint32> fill;
    if (r < 1 || r > PatternRows || (column != PatternColumn::Table && column != PatternColumn::Round))
        return fill;
    bool ok = false;
    qint32 v = text.trimmed().toInt(&ok, 10);
    if (!ok || v == 0)
        return fill;
    std::vector<qint32>& known = column == PatternColumn::Table ? TableValues : RoundValues;
    if (known[static_cast<size_t>(r)] == v)
        return fill;
    known[static_cast<size_t>(r)] = v;
    for (qint32 row = r + 1; row <= PatternRows; ++row) {
        if (column == PatternColumn::Table) {
            --v;
            if (v <= 0)
                v = PatternRows;
        } else {
            ++v;
            if (v > PatternRounds)
                v = 1;
        }
        known[static_cast<size_t>(row)] = v;
        fill.push_back(v);
    }
    return fill;
}

bool RunPatternEditor(TournamentModel& model, qint32 n, qint32 o, PatternEditorView& view, Operator& messages)
{
    CheckSectorShape(model, n, o);
    qint32 b = 1;
    qint32 row = 1;
    for (;;) {
        PatternPage page = MakePatternPage(model, n, o, b);
        page.CurrentRow = std::exchange(row, 1);
        view.ShowPage(page);
        const ModalResult result = view.ShowModalPage();
        if (result == ModalResult::Cancel)
            return false;
        StorePatternPage(model, n, o, b, view.TableTexts(), view.RoundTexts());
        try {
            switch (result) {
            case ModalResult::Ok: {
                if (!SectorPatternComplete(model, n, o))
                    return false;
                // A pattern the terminal server cannot play is refused with the board set and row at fault,
                // which the editor then shows, so that one wrong cell loses nothing else.
                const PatternFault fault = SectorPatternFault(model, n, o);
                if (fault.Text.isEmpty())
                    return true;
                messages.ShowError(fault.Text);
                b = fault.BoardSet;
                row = fault.Row;
                break;
            }
            case ModalResult::Retry: {
                const QString path = view.AskLoadPatternFile();
                if (!path.isEmpty())
                    (void)LoadPattern(path, model, n, o, messages);
                break;
            }
            case ModalResult::Ignore: {
                const QString path = view.AskSavePatternFile();
                if (!path.isEmpty())
                    SavePattern(path, model, n, o);
                break;
            }
            case ModalResult::Yes:
                if (b < model.TableCount)
                    ++b;
                break;
            case ModalResult::No:
                if (b > 1)
                    --b;
                break;
            default:
                break;
            }
        } catch (const KibicError& error) {
            messages.ShowError(error.Message());
        }
    }
}

} // namespace kibic
