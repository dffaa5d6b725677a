// The tournament held by the main window: its counts, numbering and movement, and run-time flags.
#pragma once

#include <QString>
#include <QtGlobal>
#include <vector>

namespace kibic {

// One play of a board set: who sits where, in which round and at which table. While a movement is
// generated the four seats hold positions; after a successful read they hold pair or player numbers.
struct MovementEntry
{
    qint32 NS = 0;    // NS pair; North player in an individual event
    qint32 EW = 0;    // EW pair; East player
    qint32 South = 0; // individual events only
    qint32 West = 0;  // individual events only
    qint32 Round = 0;
    qint32 Table = 0;

    friend bool operator==(const MovementEntry&, const MovementEntry&) = default;
};

// Arrays are 1-based: element 0 exists and is unused. Resizing keeps existing elements and zeroes new
// ones, which is what a second read in the same run relies on.
class TournamentModel
{
public:
    QString TournamentBase;    // path of the tournament's files without extension
    QString NamesDatabasePath; // ZyRT's names database, empty when unknown
    QString BMProPath;         // the terminal server program from the registry, empty when unknown
    qint32 TableCount = 0;     // tables per ordinary section = number of board sets
    qint32 RoundCount = 0;
    qint32 BoardsPerRound = 0;
    qint32 GridTableCount = 0; // SectionCount * TableCount + ExtraTableCount
    qint32 BoardCount = 0;
    qint32 ParticipantCount = 0;
    qint32 ResultsPerBoard = 0;
    qint32 SectionCount = 0;
    qint32 ExtraTableCount = 0;
    qint32 ExtraSectionCount = 0; // individual events: non-typical sectors sharing ExtraTableCount
    qint32 ProcessedColumnNo = 0; // 0..4: which handled mark of ReceivedData this instance uses
    qint32 ScoringKind = 0;
    qint32 PollSeconds = 0;
    bool PairsEvent = false;
    bool PollingOn = false;
    bool Busy = false;
    bool MemberNumbers = false;
    bool CellClicked = false;
    bool OpenedExisting = false;
    std::vector<qint32> BoardNumbers;       // 0..BoardCount: printed number of the i-th board
    std::vector<qint32> ParticipantNumbers; // 0..ParticipantCount: pair or player at position k
    std::vector<std::vector<MovementEntry>> Movement; // [board set 0..TableCount][slot]

    // Empties the three arrays, inner arrays of Movement first.
    void Release()
    {
        BoardNumbers.clear();
        ParticipantNumbers.clear();
        for (auto& boardSet : Movement)
            boardSet.clear();
        Movement.clear();
    }
};

} // namespace kibic
