// The pattern editor's logic: its pages, the help that numbers the following rows, its sizing and run.
#pragma once

#include "common/DialogTypes.h"
#include "tournament/TournamentModel.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace kibic {

class Operator;

// Columns of the editor's grid; row 0 holds the headers, rows 1..n the sector's tables.
enum class PatternColumn : int { NS = 0, EW = 1, Table = 2, Round = 3 };

inline constexpr int PatternColumnCount = 4;
inline constexpr int PatternDefaultColWidth = 40;
inline constexpr int PatternRowHeight = 18;
// Rows shown at most before the grid scrolls.
inline constexpr int PatternVisibleRows = 23;

// The default extension of pattern files.
inline constexpr auto PatternFileExtension = "bmt";

// Sizes of the editor, in pixels, for n rows.
struct PatternGridGeometry
{
    int RowCount = 0; // grid rows, the header row included
    int GridWidth = 0;
    int GridHeight = 0;
    bool Scrolls = false; // more rows than fit: vertical scroll bar
    int WindowHeight = 0;
};

// Up to 22 rows the grid shows them all without a scroll bar (16 pixels narrower); from 23 rows on it
// keeps 23 visible rows and scrolls. The window is 100 pixels higher than the grid.
[[nodiscard]] PatternGridGeometry PatternGridGeometryFor(qint32 n);

// The header texts of the four columns.
[[nodiscard]] std::array<QString, PatternColumnCount> PatternHeaders(bool pairsEvent);

// What one page of the editor shows: board set b.
struct PatternPage
{
    qint32 BoardSet = 0;
    QString Label1; // "Kpl." and the board set
    QString Label2; // printed numbers of its first and last board
    bool PreviousEnabled = false; // BitBtn1
    bool NextEnabled = false; // BitBtn2
    qint32 CurrentRow = 1; // the row the cursor is put on, in column "stolik"
    // Rows 1..n at indices 0..n-1: the cells' texts and the values behind "stolik" and "runda".
    std::vector<std::array<QString, PatternColumnCount>> Cells;
    std::vector<qint32> Tables;
    std::vector<qint32> Rounds;
};

// The page of board set b for rows 1..n of the sector (slots o+1..o+n).
[[nodiscard]] PatternPage MakePatternPage(const TournamentModel& model, qint32 n, qint32 o, qint32 b);

// A cell's value: its trimmed text as a decimal integer, 0 when it is none (an empty cell included).
[[nodiscard]] qint32 CellInteger(const QString& text);

// Stores the "stolik" and "runda" texts of rows 1..n (indices 0..n-1) into board set b.
void StorePatternPage(
    TournamentModel& model, qint32 n, qint32 o, qint32 b, const QStringList& tables, const QStringList& rounds);

// "Pomagaj": a table number typed in a row numbers the following rows downwards (wrapping to n below 1),
// a round number numbers them upwards (wrapping to 1 after the last round).
class PatternHelp
{
public:
    // n rows, rounds numbered 1..roundCount (TableCount).
    void Start(qint32 n, qint32 roundCount);

    // What a page fill put into row r: the values the help knows.
    void Remember(qint32 r, qint32 table, qint32 round);

    // The operator changed the text of row r in column "stolik" or "runda". Returns the values for rows
    // r+1..n of that column, in order (empty when the help does nothing); they are also remembered.
    [[nodiscard]] std::vector<qint32> CellChanged(qint32 r, PatternColumn column, const QString& text);

    qint32 PatternRows = 0;
    qint32 PatternRounds = 0;
    std::vector<qint32> TableValues; // 0..n: "stolik" of each row, as the help last knew it
    std::vector<qint32> RoundValues; // 0..n: "runda" of each row
};

// The editor's window as its run sees it.
class PatternEditorView
{
public:
    virtual ~PatternEditorView() = default;

    // Puts the page into the window: labels, navigation buttons, cells (without help), cursor.
    virtual void ShowPage(const PatternPage& page) = 0;

    // Shows the window modally; returns its modal result.
    [[nodiscard]] virtual ModalResult ShowModalPage() = 0;

    // The "stolik" and "runda" texts of rows 1..n as the operator left them.
    [[nodiscard]] virtual QStringList TableTexts() const = 0;
    [[nodiscard]] virtual QStringList RoundTexts() const = 0;

    // The file dialogs; an empty name when the operator cancels.
    [[nodiscard]] virtual QString AskLoadPatternFile() = 0;
    [[nodiscard]] virtual QString AskSavePatternFile() = 0;
};

// Runs the editor page by page over board sets 1..TableCount until "OK" or "Cancel"; loads and saves
// pattern files on the way. A pattern file that cannot be read or written is reported through messages
// and the operator stays on the page. "OK" on a complete pattern that the terminal server cannot play
// (SectorPatternFault) shows why and the editor stays open, with everything entered, on the board set and
// row at fault. True only on "OK" with every Table and Round stated and no such fault.
[[nodiscard]] bool RunPatternEditor(
    TournamentModel& model, qint32 n, qint32 o, PatternEditorView& view, Operator& messages);

} // namespace kibic
