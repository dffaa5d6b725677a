// The rehearsal terminal server's run: the tables' rows written into the scoring database at a pace.
#pragma once

#include "RehearsalOptions.h"
#include "RehearsalPlan.h"

#include <chrono>
#include <functional>
#include <memory>

namespace kibic {
class DbConnection;
}

namespace kibic::terminals {

enum class WriteOutcome {
    Written,
    Abandoned // given up on the operator's second stop request while the file stayed busy
};

// Runs attempt until it succeeds. While the file is busy (the other program, Kibic or a director's tool,
// holds it: a KibicError that is Busy(), as the driver's codes tell) it tells waiting (once) and tries
// again after pause, for as long as it takes: a result is never dropped. Only when abandon() turns true
// between two tries does it give up. Any other failure is rethrown.
[[nodiscard]] WriteOutcome WriteWhileBusy(const std::function<void()>& attempt, const std::function<bool()>& abandon,
    const std::function<void(const QString&)>& waiting, std::chrono::milliseconds pause);

// Plays a tournament: reads the layout, fills PlayerNumbers when the terminals ask for identifiers,
// then writes the rows of every round (up to --rounds) into ReceivedData, each in a short transaction
// of its own with the table's CurrentRound and CurrentBoard, at --rate rows a second (or at once with
// --once). Between two rows it looks at stopRequests(): one request ends the run after the row in hand
// (exit code 0); a second one, while a busy file holds a row back, gives that row up (exit code 1).
class RehearsalServer
{
public:
    RehearsalServer(RehearsalOptions options, std::function<int()> stopRequests,
        std::function<void(const QString&)> print, std::function<void(const QString&)> printError);
    ~RehearsalServer();
    RehearsalServer(const RehearsalServer&) = delete;
    RehearsalServer& operator=(const RehearsalServer&) = delete;

    // The process's exit code: 0 when every round was played or a stop was asked for, 1 on a failure
    // (its message printed).
    [[nodiscard]] int Run();

    // How long a busy file is waited for before the next try (beyond the database's own busy timeout).
    static constexpr std::chrono::milliseconds kRetryPause { 250 };

private:
    struct Counts
    {
        int Results = 0;
        int Erasures = 0;
        int ReEntries = 0;
        [[nodiscard]] int Rows() const { return Results + Erasures + ReEntries; }
        void Add(RowKind kind)
        {
            ++(kind == RowKind::Result ? Results : kind == RowKind::Erasure ? Erasures : ReEntries);
        }
    };

    [[nodiscard]] bool Stopping() const { return m_stopRequests() > 0; }
    [[nodiscard]] bool GivingUp() const { return m_stopRequests() > 1; }
    DbConnection& Connection();
    // Runs one write in a transaction of its own; on failure rolls back, drops the connection and rethrows.
    void Transaction(const std::function<void(DbConnection&)>& work);
    // Writes one row, waiting for a busy file. False when the row was given up.
    [[nodiscard]] bool Write(const QString& what, const std::function<void(DbConnection&)>& work);
    void WriteReceivedRow(DbConnection& db, const ReceivedRow& row);
    void FillPlayerNumbers();
    // Waits until the next row is due; false when a stop was asked for meanwhile.
    [[nodiscard]] bool WaitForTurn();
    [[nodiscard]] QString Finished(const QString& how) const;
    // Writes the list of the mistakes planted so far, whole (--mistakes).
    void WriteMistakesList() const;

    RehearsalOptions m_options;
    std::function<int()> m_stopRequests;
    std::function<void(const QString&)> m_print;
    std::function<void(const QString&)> m_printError;
    ScoringLayout m_layout;
    std::unique_ptr<DbConnection> m_connection;
    std::chrono::steady_clock::time_point m_nextDue;
    Counts m_total;
    QString m_mistakesFile; // empty without --mistakes
    QStringList m_mistakes; // the lines of the mistakes written so far
};

// Where the list of planted mistakes goes: --mistakes-list, or beside the database, "puchar.bws" giving
// "puchar-pomylki.txt".
[[nodiscard]] QString MistakesListFile(const RehearsalOptions& options);

// "1 wiersz", "2 wiersze", "5 wierszy".
[[nodiscard]] QString RowCountText(int count);

} // namespace kibic::terminals
