// The terminals' options of one tournament: the first row of the Settings table, as the settings
// window shows and changes them.
#pragma once

#include "tournament/TournamentModel.h"

#include <QtGlobal>
#include <optional>

namespace kibic {

class TTable;

// The columns the settings window shows. Flags as the window shows them; ScorePoints and
// EnterResultsMethod as stored (0 ticks "Pokaż zapis z pozycji NS" and "Ilość lew jako +/-/=").
struct TerminalOptions
{
    bool ShowResults = true;
    bool ShowPercentage = true;
    bool RepeatResults = false;
    qint32 ScorePoints = 0;
    qint32 EnterResultsMethod = 0;
    bool ShowPairNumbers = true;
    qint32 AutopoweroffTime = 10;
    qint32 VerificationTime = 1;
    bool LeadCard = true;
    bool MemberNumbers = false;
    // Empty when the file's Settings has no such column (files of older servers) or it cannot be read.
    std::optional<bool> MemberNumbersNoBlankEntry = false;

    friend bool operator==(const TerminalOptions&, const TerminalOptions&) = default;
};

// The options of the current row of an open Settings table. RepeatResults and ShowPercentage read as
// false when ShowResults is false. A missing column (other than MemberNumbersNoBlankEntry) raises
// KibicError.
[[nodiscard]] TerminalOptions ReadTerminalOptions(const TTable& settings);

// What the window starts with: after a fresh build (OpenedExisting false) ShowPercentage follows the
// scoring kind (ScoringKind != 0) and MemberNumbers is on; an opened file shows what it stores.
[[nodiscard]] TerminalOptions OptionsToShow(const TerminalOptions& stored, const TournamentModel& model);

// Puts the current row into edit mode, writes the options column by column and posts the row. Only
// the columns above are written; MemberNumbersNoBlankEntry is left alone when it is empty or the
// column is missing.
void WriteTerminalOptions(TTable& settings, const TerminalOptions& options);

// The lowest and highest accepted values of the two times, in seconds.
inline constexpr qint32 kAutopoweroffMin = 5;
inline constexpr qint32 kAutopoweroffMax = 60;
inline constexpr qint32 kVerificationMin = 1;
inline constexpr qint32 kVerificationMax = 7;

// The number in an edit's text when it is an integer within [low, high]: the text trimmed, then read
// as a decimal integer.
[[nodiscard]] std::optional<qint32> TimeInRange(const QString& text, qint32 low, qint32 high);

} // namespace kibic
