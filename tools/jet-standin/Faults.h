// Faults injected by environment variables, so that tests meet the failures a director's PC meets.
//
// Counted per process, from 1:
//   KIBIC_JET_LOCK_WRITE=N:MS      from the Nth write (INSERT, UPDATE or DELETE executed) on, every write
//                                  finds the file locked, for MS milliseconds from the first refusal; the
//                                  lock is waited for like a real one (LockWait.h) and then reported
//   KIBIC_JET_REFUSE_CONNECT=N[:K] the Nth SQLDriverConnect and the K-1 after it (K=1 when left out) fail
//                                  with "placed in a state by an unknown user"
//   KIBIC_JET_FAIL_COMMIT=N        the Nth commit (SQLEndTran) fails with a disk or network error and its
//                                  work is rolled back
//   KIBIC_JET_FAIL_WRITE=N:K       from the Nth write, K writes in a row fail with a disk or network error
//   KIBIC_JET_LOSE_CONNECTION=N    the Nth statement execution fails as a lost link (08S01), and so does
//                                  every later call on that connection until it is disconnected
// A variable that is absent or does not parse injects nothing.
#pragma once

#include <chrono>

namespace jetstandin {

enum class WriteFault { None, Locked, Fails };

class Faults
{
public:
    // The process's one set, read from the environment at first use.
    static Faults& Process();

    // Counts one write and says what it meets.
    [[nodiscard]] WriteFault NextWrite();
    // Whether the injected lock still holds the file now (a write met it and its time is not over).
    [[nodiscard]] bool InjectedLockHolds() const;
    [[nodiscard]] bool NextConnectRefused();
    [[nodiscard]] bool NextCommitFails();
    [[nodiscard]] bool NextExecutionLosesConnection();

private:
    Faults();

    struct Window
    {
        long First = 0; // 0: no fault
        long Count = 0;
    };
    long m_writes = 0;
    long m_connects = 0;
    long m_commits = 0;
    long m_executions = 0;
    long m_lockFrom = 0;
    long m_lockMs = 0;
    bool m_lockStarted = false;
    std::chrono::steady_clock::time_point m_lockStart;
    Window m_refuseConnect;
    long m_failCommit = 0;
    Window m_failWrite;
    long m_loseConnection = 0;
};

} // namespace jetstandin
