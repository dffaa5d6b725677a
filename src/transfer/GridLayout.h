// The results grid without its window: labels, headers, the window's size, cell colours and what a cell
// stands for.
#pragma once

#include "tournament/TournamentModel.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QtGlobal>

namespace kibic {

inline constexpr int GridDefaultColumnWidth = 18;
inline constexpr int GridDefaultRowHeight = 18;
inline constexpr int GridFirstColumnWidth = 28;
inline constexpr int GridCellTextTop = 2; // text is drawn this far below a cell's top

// Column 0 of rows 0..GridTableCount: element 0 (the corner) is empty, then one label per table: the
// section's letter (a space with one section and no non-typical sectors) and the table's number within
// its section. A single section's non-typical tables are labelled "H".
[[nodiscard]] QStringList GridRowLabels(const TournamentModel& model);

// Row 0 of columns 0..BoardCount: element 0 empty, then the printed number of each board in order.
// BoardNumbers shorter than BoardCount + 1 is a KibicError.
[[nodiscard]] QStringList GridColumnHeaders(const TournamentModel& model);

// The main window sized to the grid; all sizes in pixels.
struct GridGeometry
{
    int WindowLeft = 1;
    int WindowTop = 1;
    int WindowWidth = 0;
    int WindowHeight = 0;
    int GridWidth = 0;
    int GridHeight = 0;
    // The status label directly under the grid.
    int LabelLeft = 0;
    int LabelTop = 0;
    int LabelWidth = 0;

    friend bool operator==(const GridGeometry&, const GridGeometry&) = default;
};

// Up to 33 rows and 50 columns show; a scroll bar takes 16 pixels and one row or column from the other
// direction. gridLeft and gridTop are the grid's place on the window.
[[nodiscard]] GridGeometry FitWindowToGrid(int rowCount, int columnCount, int gridLeft, int gridTop);

// Where the grid sits in the main window once FitWindowToGrid has sized both, for resizing the window.
struct GridPlace
{
    int Left = 0;
    int Top = 0;
    int FittedWidth = 0; // the width FitWindowToGrid gave the grid
    int BottomMargin = 0; // from the grid's bottom to the window's
};

struct GridSize
{
    int Width = 0;
    int Height = 0;
    friend bool operator==(const GridSize&, const GridSize&) = default;
};

// The smallest grid that still shows its headers, one cell and both scroll bars.
[[nodiscard]] GridSize SmallestGrid();

// The grid in a window of this client size: anchored to the left, top and bottom, as wide as it was
// fitted but never past the window's right edge (its left margin stays free there), never smaller than
// SmallestGrid. So the grid and both its scroll bars stay inside the window, whatever its size.
[[nodiscard]] GridSize GridInWindow(int windowWidth, int windowHeight, const GridPlace& place);

// The smallest client size of the window that holds SmallestGrid in its place.
[[nodiscard]] GridSize SmallestWindow(const GridPlace& place);

enum class CellColour {
    Fixed, // header cells: sky blue
    Received, // a data cell with a round number: light green
    Waiting, // an empty data cell: yellow
    Late, // the label of a table that lacks a board of a round before the current one: orange
    Suspicious, // a data cell whose entry the check of results finds suspicious: violet
};

struct CellRgb
{
    int Red;
    int Green;
    int Blue;
};

[[nodiscard]] CellRgb RgbOf(CellColour colour);

// The sign drawn in a data cell whose last entry was erased at the table, so that it differs at a glance
// from a board not played yet, on the same yellow. It is only drawn: the cell's text stays empty, as the
// transfer, the grid's actions and the count of results read it.
inline constexpr QStringView ErasedCellSign = u"\u00D7";

// What a data cell shows: its text, or ErasedCellSign when it is empty and its last entry was an erasure.
[[nodiscard]] QString CellShownText(const QString& text, bool erased);

// The colour of a cell: header, waiting (empty), received, or suspicious (a received entry that the check
// of results questions).
[[nodiscard]] CellColour CellColourOf(int column, int row, const QString& text, bool suspicious = false);

// The horizontal offset that centres text of textWidth in a cell of cellWidth, never less than 0.
[[nodiscard]] int CellTextOffset(int cellWidth, int textWidth);

// What the data cell at column X, row Y stands for, read from the grid alone.
struct CellRef
{
    qint32 BoardSet = 0;
    qint32 Board = 0;
    qint32 Section = 0;
    qint32 Table = 0;
    bool HasRound = false; // the cell's text is a whole number
    qint32 Round = 0;
    bool Usable = false; // a data cell with a board, a section and a table number above 0

    friend bool operator==(const CellRef&, const CellRef&) = default;
};

// rowLabel is the text of column 0 of row Y, cellText the cell's own text. A label starting with a capital
// letter names the section by its place in the alphabet, except in the layout of one section without
// non-typical sectors, where a lettered label ("H") is section 2.
[[nodiscard]] CellRef CellRefOf(
    const TournamentModel& model, int column, int row, const QString& rowLabel, const QString& cellText);

} // namespace kibic
