// How long a statement that finds the file locked waits before the lock is reported.
#pragma once

#include <chrono>

namespace jetstandin {

// The Jet engine's settings (HKLM\Software\Microsoft\Jet\x.x\Engines\Jet x.x, "Microsoft Jet Database
// Engine Initialization Settings", DAO SDK): LockRetry, "the number of times to repeat attempts to
// access a locked page before returning a lock conflict message. The default is 20", and LockDelay,
// which "causes each LockRetry to wait 100 milliseconds before issuing another lock request". So a
// lock is reported after about 20 x 100 ms = 2 s. The SQLite file's own locks stand for Jet's page
// locks. KIBIC_JET_LOCK_RETRY and KIBIC_JET_LOCK_DELAY_MS override the two (tests shorten the wait).
struct LockWait
{
    int Retries = 20;
    std::chrono::milliseconds Delay { 100 };

    // The process's settings, read from the environment at first use.
    static const LockWait& Process();
};

} // namespace jetstandin
