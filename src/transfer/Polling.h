// The polling pass: every received score not yet handled by this instance goes into ZyRT's result files.
#pragma once

#include "scoringdb/TTable.h"
#include "transfer/ResultConversion.h"
#include "transfer/ResultGrid.h"
#include "transfer/uScoreProvider.h"
#include "tournament/TournamentModel.h"

#include <QString>

namespace kibic {

class KibicError;

// The ReceivedData column in which this instance marks rows handled: "Processed" for 0, else
// "Processed1".."Processed4".
[[nodiscard]] QString ProcessedColumnName(qint32 processedColumnNo);

// The polling interval accepted from the interval box: a whole number of seconds, at least 5, whose
// milliseconds fit the timer. Anything else gives 10 and replaced = true (the box then shows "10").
[[nodiscard]] qint32 AcceptedPollSeconds(const QString& text, bool& replaced);

// What one pass did.
struct PassCounts
{
    bool Refused = false; // a pass was still unfinished (Busy): nothing was done
    int Placed = 0;       // scores written into the result files and marked
    int Erased = 0;       // erasures written as empty slots and marked
    int Unplaced = 0;     // rows that belong nowhere in this tournament; left unmarked
    int Superseded = 0;   // rows of a play entered again later: marked, nothing written (the later row is)
    qint32 Suspicious = 0; // findings of the results check among the rows that reached ZyRT so far
};

// What the window shows around a pass: "Pracuje się ..." and the hourglass before the work, "czuwam ..."
// after it, "są problemy..." when a pass is refused.
class PassFeedback
{
public:
    virtual ~PassFeedback() = default;
    virtual void PassStarted() {}
    virtual void PassFinished() {}
    virtual void PassRefused() {}
    // The pass ended with an error: what it did stays done, Busy is clear again, and the caller decides by
    // PassFailureRule whether the next tick tries again or the transfers stop.
    virtual void PassFailed(const KibicError& error) { Q_UNUSED(error); }
    // The other program held the database or a result file for longer than the wait: the pass stopped,
    // Busy is clear again and the next pass tries again; error says which file was held.
    virtual void PassPostponed(const KibicError& error) { Q_UNUSED(error); }
};

// How the transfers answer a failed pass: what it did stays done and the next tick tries again, with the
// reason under the status line; only the same failure on kFailedPassesBeforeStop ticks in a row stops the
// transfers, with the error box. One transient fault (a lock the driver does not name, a result file that
// ZyRT has open for a moment) must not end the transfers of a tournament. A file held by the other program
// only postpones a pass: it is neither counted nor does it break the row. A pass that succeeds, and every
// Start, begin the count anew.
class PassFailureRule
{
public:
    static constexpr int kFailedPassesBeforeStop = 3;
    enum class Answer { TryAgain, Stop };

    [[nodiscard]] Answer Failed(const KibicError& error);
    void Succeeded();
    // How many passes in a row have failed the same way.
    [[nodiscard]] int Streak() const { return m_streak; }

private:
    QString m_last;
    int m_streak = 0;
};

// What makes two failures the same: the driver's codes of a database failure (its texts may differ from
// one statement to the next), otherwise the message, which names the file and what failed.
[[nodiscard]] QString FailureSignature(const KibicError& error);

// The line under the status after a failed pass that will be tried again: "przebieg nieudany (1 z 3),
// ponowię: ..." with the failure's text, the files of the tournament's folder named without the folder
// (the line has room for two lines of text; the whole text goes into the box if the failure stays).
[[nodiscard]] QString RetryStatusText(const KibicError& error, int streak, const QString& tournamentFolder);

// The error that stops the transfers after the last failed pass: its text, and a line saying that the
// transfers stopped and that Start takes them up again.
[[nodiscard]] KibicError StoppedTransfersError(const KibicError& error);

// One pass over ReceivedData in ID order (TransferResults). Every row whose mark is not set is placed,
// converted and written into both result files, its grid cell set (the round; emptied for an erasure)
// and its mark set. A row for which a later row (higher ID) of the same section, table, round and board
// exists is marked without anything written: the later row is written in its turn, so no copy of the
// program on this database ever puts an older entry back over a newer one. The result files are forced
// onto the disk before the marks of the rows written into them are committed. Rows that cannot be placed
// stay unmarked without a message. recTable and rdaTable are the window's table objects on "ReceivedData"
// and "RoundData" (connection string set, closed); both are closed again at the end. An error ends the
// pass, clears Busy and is thrown as a KibicError (whatever it was); marks of the rows handled before it
// are kept. A busy failure (KibicError::Busy: the other program held the database or a result file for
// longer than the wait) is reported as postponed, any other as failed (PassFailureRule decides what
// follows). The marks are committed together in short transactions so the terminal server is never held up
// for more than a moment.
PassCounts TransferResults(TournamentModel& model, TTable& recTable, TTable& rdaTable, ResultGrid& grid,
    const TScoreProvider& scorer, PassFeedback& feedback);

// What the status line says after a pass that a busy file stopped: "baza zajęta – ponowię", or "plik ...
// zajęty – ponowię" with the result file's name.
[[nodiscard]] QString PostponedStatusText(const KibicError& error);

// Fills the data cells from the rows already handled by this instance: the round of the last handled
// row of each table and board, empty where that row was an erasure. No result file is touched.
void RefreshGrid(const TournamentModel& model, TTable& recTable, TTable& rdaTable, ResultGrid& grid);

} // namespace kibic
