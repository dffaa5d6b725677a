// Completion of a non-typical sector: the choice of its kind, the computed proposals, the pattern check.
#pragma once

#include "tournament/NonTypicalSector.h"

#include <QString>
#include <array>
#include <optional>

namespace kibic {

class Operator;

// The kinds offered by TForm2, each the modal result of its radio button.
enum class SectorKind : int {
    OneHowell = 501, // "Jeden zbiornicowy sektor Howella, bez sprzężeń": proposal computed, checked in the editor
    BigHowell = 502, // "Jeden sektor dużego Howella, zapis przy numerze stołu": filled directly
    Barometer = 503, // "Barometr na dochodzenie, zapis przy numerze stołu": filled directly
    Other = 504 // "Coś innego": everything is stated in the editor
};

// The caption of the radio button that offers the kind.
[[nodiscard]] QString SectorKindCaption(SectorKind kind);

// The kind whose number is code (501..504); none for any other number (a window closed unanswered).
[[nodiscard]] std::optional<SectorKind> SectorKindOf(int code);

// Which of TForm2's four radio buttons are enabled, RadioButton1 first.
struct SectorKindChoice
{
    std::array<bool, 4> Enabled = { true, true, true, true };

    [[nodiscard]] bool IsEnabled(SectorKind kind) const { return Enabled[static_cast<int>(kind) - 501]; }
    [[nodiscard]] int EnabledCount() const;
};

// The enabling rules of TForm2: a shift above 0 leaves only "Coś innego"; a sector of TableCount - 1
// tables or more cannot be a Howell of either kind; ordinary sections beside it rule out the barometer.
[[nodiscard]] SectorKindChoice EnabledSectorKinds(const TournamentModel& model, const NonTypicalSectorHandOver& sector);

// What the completion asks the operator beyond a plain question. The window answers with TForm2 and
// the pattern editor TfrmNietyp; the CLI answers from its options; tests from a script.
class SectorOperator
{
public:
    virtual ~SectorOperator() = default;

    // TForm2 with the given radio buttons enabled: the kind chosen, or none when the window was closed
    // without a choice.
    [[nodiscard]] virtual std::optional<SectorKind> ChooseSectorKind(const SectorKindChoice& choice) = 0;

    // The pattern editor over rows 1..n of the sector (slots o+1..o+n of every board set). Changes Table
    // and Round in place; true only when the operator accepted and every Table and Round is at least 1.
    [[nodiscard]] virtual bool EditSectorPattern(TournamentModel& model, qint32 n, qint32 o) = 0;
};

// Raises KibicError unless the model holds board sets 1..TableCount with slots 1..o+n each, n >= 1.
void CheckSectorShape(const TournamentModel& model, qint32 n, qint32 o);

// The meeting in row i of board set b (slot o + i).
[[nodiscard]] MovementEntry& SectorEntry(TournamentModel& model, qint32 o, qint32 b, qint32 i);
[[nodiscard]] const MovementEntry& SectorEntry(const TournamentModel& model, qint32 o, qint32 b, qint32 i);

// The participant at position v of the sector: ParticipantNumbers[p + v] for v >= 1, 0 for no meeting
// (v = 0). A negative position, or one beyond the participant list, raises KibicError naming the
// tournament's description file.
[[nodiscard]] qint32 SectorParticipant(const TournamentModel& model, qint32 p, qint32 v);

// Turns NS and EW of every entry of the sector from positions into pair numbers.
void TranslateSectorPositions(TournamentModel& model, const NonTypicalSectorHandOver& sector);

// Kinds 502 and 503: row i of board set b is recorded at table i in round b; a row without a meeting
// gets the sector's positions 1 and 2. Translates the positions.
void FillByTableNumber(TournamentModel& model, const NonTypicalSectorHandOver& sector);

// Kind 501: the proposed Table and Round of every entry, computed on the positions (not translated).
// Row 1 of each board set stays at the table of the previous board set while the same pair is seen
// again, then moves to the next table; the other rows walk down the tables; each table then plays the
// following board sets in the following rounds.
void ProposeHowellSector(TournamentModel& model, const NonTypicalSectorHandOver& sector);

// True when every Round and Table of rows 1..n of every board set is at least 1.
[[nodiscard]] bool SectorPatternComplete(const TournamentModel& model, qint32 n, qint32 o);

// A fault of a complete pattern and where it is: empty Text when there is none.
struct PatternFault
{
    QString Text;
    qint32 BoardSet = 0;
    qint32 Row = 0;
};

// What makes a complete pattern one that the terminal server cannot play: a meeting at a table outside the
// sector's tables 1..n, or two meetings at one table in one round (the server would keep only one of them,
// and the other's results would never arrive). The text names the board set and the row. A sector split
// into several sections (an individual event with ExtraSectionCount >= 1) numbers its tables section by
// section and is not checked here.
[[nodiscard]] PatternFault SectorPatternFault(const TournamentModel& model, qint32 n, qint32 o);

// The completion of the sector that the movement readers call. Cancelling the kind choice, declining
// the barometer question without an answer, or leaving the editor other than with a complete pattern
// abandons the opening of the tournament (false).
class SectorCompletion : public NonTypicalSectorCompleter
{
public:
    // messages asks the individual event's barometer question.
    SectorCompletion(SectorOperator& sectorOperator, Operator& messages);

    [[nodiscard]] bool CompleteNonTypicalSector(
        TournamentModel& model, const NonTypicalSectorHandOver& sector) override;
    [[nodiscard]] bool CompleteIndividualNonTypicalSector(
        TournamentModel& model, const NonTypicalSectorHandOver& sector) override;

private:
    SectorOperator& m_sectorOperator;
    Operator& m_messages;
};

} // namespace kibic
