// Fault injection of the Jet stand-in, read from the environment.
#include "Faults.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace jetstandin {
namespace {

std::mutex& FaultMutex()
{
    static std::mutex mutex;
    return mutex;
}

// "N" or "N:M"; second is left unchanged without ":M". False when the text is not of that form.
bool ParsePair(const char* text, long& first, long& second)
{
    if (text == nullptr || *text == '\0')
        return false;
    char* end = nullptr;
    first = std::strtol(text, &end, 10);
    if (end == text || first < 1)
        return false;
    if (*end == ':') {
        const char* rest = end + 1;
        second = std::strtol(rest, &end, 10);
        if (end == rest || second < 0)
            return false;
    }
    return *end == '\0';
}

} // namespace

Faults& Faults::Process()
{
    static Faults faults;
    return faults;
}

Faults::Faults()
{
    long from = 0;
    long ms = 0;
    if (ParsePair(std::getenv("KIBIC_JET_LOCK_WRITE"), from, ms)) {
        m_lockFrom = from;
        m_lockMs = ms;
    }
    long count = 1;
    if (ParsePair(std::getenv("KIBIC_JET_REFUSE_CONNECT"), from, count))
        m_refuseConnect = { from, count };
    count = 0;
    if (ParsePair(std::getenv("KIBIC_JET_FAIL_COMMIT"), from, count))
        m_failCommit = from;
    count = 1;
    if (ParsePair(std::getenv("KIBIC_JET_FAIL_WRITE"), from, count))
        m_failWrite = { from, count };
    count = 0;
    if (ParsePair(std::getenv("KIBIC_JET_LOSE_CONNECTION"), from, count))
        m_loseConnection = from;
}

WriteFault Faults::NextWrite()
{
    const std::lock_guard guard(FaultMutex());
    const long number = ++m_writes;
    if (m_failWrite.First != 0 && number >= m_failWrite.First && number < m_failWrite.First + m_failWrite.Count)
        return WriteFault::Fails;
    if (m_lockFrom != 0 && number >= m_lockFrom) {
        if (!m_lockStarted) {
            m_lockStarted = true;
            m_lockStart = std::chrono::steady_clock::now();
        }
        if (std::chrono::steady_clock::now() - m_lockStart < std::chrono::milliseconds(m_lockMs))
            return WriteFault::Locked;
    }
    return WriteFault::None;
}

bool Faults::InjectedLockHolds() const
{
    const std::lock_guard guard(FaultMutex());
    return m_lockStarted && std::chrono::steady_clock::now() - m_lockStart < std::chrono::milliseconds(m_lockMs);
}

bool Faults::NextConnectRefused()
{
    const std::lock_guard guard(FaultMutex());
    const long number = ++m_connects;
    return m_refuseConnect.First != 0 && number >= m_refuseConnect.First
        && number < m_refuseConnect.First + m_refuseConnect.Count;
}

bool Faults::NextCommitFails()
{
    const std::lock_guard guard(FaultMutex());
    return ++m_commits == m_failCommit;
}

bool Faults::NextExecutionLosesConnection()
{
    const std::lock_guard guard(FaultMutex());
    return ++m_executions == m_loseConnection;
}

} // namespace jetstandin
