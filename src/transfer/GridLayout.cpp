// The results grid without its window.
#include "transfer/GridLayout.h"

#include "common/KibicError.h"

#include <algorithm>

namespace kibic {

namespace {

constexpr int MaxVisibleRows = 33;
constexpr int MaxVisibleColumns = 50;
constexpr int ScrollBarSize = 16;
constexpr int MinWindowWidth = 460;

bool ReadWholeNumber(const QString& text, qint32& value)
{
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber)
        value = number;
    return isNumber;
}

} // namespace

QStringList GridRowLabels(const TournamentModel& model)
{
    QStringList labels;
    labels.append(QString());
    const auto add = [&labels](QChar letter, int table) { labels.append(letter + QString::number(table)); };
    const auto next = [](QChar letter) { return QChar(static_cast<char16_t>(letter.unicode() + 1)); };

    QChar letter = (model.SectionCount > 1 || model.ExtraSectionCount > 0) ? QLatin1Char('A') : QLatin1Char(' ');
    for (int section = 1; section <= model.SectionCount; ++section) {
        for (int table = 1; table <= model.TableCount; ++table)
            add(letter, table);
        letter = next(letter);
    }
    if (model.PairsEvent || model.ExtraSectionCount == 0) {
        if (model.SectionCount == 0)
            letter = QLatin1Char(' ');
        else if (model.SectionCount == 1)
            letter = QLatin1Char('H');
        for (int table = 1; table <= model.ExtraTableCount; ++table)
            add(letter, table);
    } else if (model.ExtraSectionCount > 0) {
        const int sectorTables = model.ExtraTableCount / model.ExtraSectionCount;
        for (int sector = 1; sector <= model.ExtraSectionCount; ++sector) {
            for (int table = 1; table <= sectorTables; ++table)
                add(letter, table);
            letter = next(letter);
        }
    }

    // The grid has GridTableCount table rows, whatever the labels would make.
    const qsizetype rows = std::max<qsizetype>(model.GridTableCount, 0) + 1;
    if (labels.size() > rows)
        labels.resize(rows);
    while (labels.size() < rows)
        labels.append(QString());
    return labels;
}

QStringList GridColumnHeaders(const TournamentModel& model)
{
    if (model.BoardCount > 0 && model.BoardNumbers.size() < static_cast<size_t>(model.BoardCount) + 1)
        throw KibicError(QStringLiteral("Numeracja rozdań ma %1 pozycji, a turniej ma %2 rozdań.")
                             .arg(qMax<qsizetype>(qsizetype(model.BoardNumbers.size()) - 1, 0))
                             .arg(model.BoardCount));
    QStringList headers;
    headers.append(QString());
    for (int board = 1; board <= model.BoardCount; ++board)
        headers.append(QString::number(model.BoardNumbers[static_cast<size_t>(board)]));
    return headers;
}

GridGeometry FitWindowToGrid(int rowCount, int columnCount, int gridLeft, int gridTop)
{
    const int rowHeight = GridDefaultRowHeight + 1;
    const int columnWidth = GridDefaultColumnWidth + 1;
    GridGeometry geometry;
    int visibleRows = std::min(rowCount, MaxVisibleRows);
    geometry.WindowHeight = visibleRows * rowHeight + 169;
    int visibleColumns = std::min(columnCount, MaxVisibleColumns);
    geometry.WindowWidth = std::max(visibleColumns * columnWidth + 113, MinWindowWidth);

    int extraWidth = 0;
    if (visibleRows < rowCount) {
        extraWidth = ScrollBarSize;
        if (visibleColumns == MaxVisibleColumns)
            visibleColumns = MaxVisibleColumns - 1;
    }
    int extraHeight = 0;
    if (visibleColumns < columnCount) {
        extraHeight = ScrollBarSize;
        if (visibleRows == MaxVisibleRows)
            visibleRows = MaxVisibleRows - 1;
    }
    geometry.GridHeight = visibleRows * rowHeight + extraHeight + 4;
    geometry.GridWidth = visibleColumns * columnWidth + extraWidth + 14;

    geometry.LabelLeft = gridLeft + 1;
    geometry.LabelTop = gridTop + geometry.GridHeight;
    geometry.LabelWidth = geometry.GridWidth - 2;
    return geometry;
}

GridSize SmallestGrid()
{
    // The fixed column and row, one cell, a scroll bar each way and the frame.
    constexpr int frame = 4;
    return { GridFirstColumnWidth + 1 + GridDefaultColumnWidth + 1 + ScrollBarSize + frame,
        2 * (GridDefaultRowHeight + 1) + ScrollBarSize + frame };
}

GridSize GridInWindow(int windowWidth, int windowHeight, const GridPlace& place)
{
    const GridSize smallest = SmallestGrid();
    const int roomWide = windowWidth - 2 * place.Left;
    const int roomHigh = windowHeight - place.Top - place.BottomMargin;
    return { std::max(std::min(place.FittedWidth, roomWide), smallest.Width), std::max(roomHigh, smallest.Height) };
}

GridSize SmallestWindow(const GridPlace& place)
{
    const GridSize smallest = SmallestGrid();
    return { smallest.Width + 2 * place.Left, place.Top + smallest.Height + place.BottomMargin };
}

CellRgb RgbOf(CellColour colour)
{
    switch (colour) {
    case CellColour::Fixed:
        return { 166, 202, 240 };
    case CellColour::Received:
        return { 136, 255, 136 };
    case CellColour::Late:
        return { 255, 140, 0 };
    case CellColour::Suspicious:
        // Violet: on the blue-yellow axis that readers who do not tell red from green still see, and much
        // darker than the yellow and the green around it (relative luminance about 0.32 against 0.93 and
        // 0.80), so it stands out even without colour; the navy text keeps a contrast of about 5.6 to 1.
        return { 176, 128, 255 };
    case CellColour::Waiting:
        break;
    }
    return { 255, 255, 0 };
}

CellColour CellColourOf(int column, int row, const QString& text, bool suspicious)
{
    if (column == 0 || row == 0)
        return CellColour::Fixed;
    if (text.trimmed().isEmpty())
        return CellColour::Waiting;
    return suspicious ? CellColour::Suspicious : CellColour::Received;
}

QString CellShownText(const QString& text, bool erased)
{
    return erased && text.trimmed().isEmpty() ? ErasedCellSign.toString() : text;
}

int CellTextOffset(int cellWidth, int textWidth)
{
    const int offset = (cellWidth + 1 - textWidth) / 2;
    return offset < 1 ? 0 : offset;
}

CellRef CellRefOf(const TournamentModel& model, int column, int row, const QString& rowLabel, const QString& cellText)
{
    CellRef ref;
    if (column >= 1 && model.BoardsPerRound >= 1)
        ref.BoardSet = (column - 1) / model.BoardsPerRound + 1;
    if (column >= 1 && static_cast<size_t>(column) < model.BoardNumbers.size())
        ref.Board = model.BoardNumbers[static_cast<size_t>(column)];

    const QString label = rowLabel.trimmed();
    QString tableText = label;
    if (!label.isEmpty() && label.front() >= QLatin1Char('A') && label.front() <= QLatin1Char('Z')) {
        const bool oneSectionLayout = model.SectionCount == 1 && model.ExtraSectionCount == 0;
        ref.Section = oneSectionLayout ? 2 : label.front().unicode() - u'A' + 1;
        tableText = label.mid(1);
    } else {
        ref.Section = 1;
    }
    const bool tableRead = ReadWholeNumber(tableText, ref.Table);
    ref.HasRound = ReadWholeNumber(cellText.trimmed(), ref.Round);

    ref.Usable = column >= 1 && row >= 1 && ref.BoardSet >= 1 && ref.Board > 0 && ref.Section > 0 && tableRead
        && ref.Table > 0;
    return ref;
}

} // namespace kibic
