// Files that another program may hold for a moment: ZyRT reads its result files while Kibic writes them.
#pragma once

#include <QString>
#include <functional>

namespace kibic {

class KibicError;

// How long an open waits, in all, for a file that another program holds: about a second, so that the
// window never freezes for long; the next pass tries again.
inline constexpr int kFileHoldWaitMs = 1000;

// Whether another program holds the file against writing just now: on Windows an open for reading and
// writing that fails with a sharing or lock violation. Always false elsewhere, where programs do not
// lock files against each other.
[[nodiscard]] bool HeldByAnotherProgram(const QString& fileName);

// Calls open until it returns true. While it fails because another program holds the file (held tells),
// open is tried again after short pauses, about limitMs in all. Returns whether the file opened; when it
// did not, busy says whether the last failure was such a hold. Any other failure returns at once.
[[nodiscard]] bool OpenWaitingForHold(const QString& fileName, const std::function<bool()>& open, bool& busy,
    const std::function<bool(const QString&)>& held = HeldByAnotherProgram, int limitMs = kFileHoldWaitMs);

// The FileBusy failure of a file that another program held for longer than the wait.
[[nodiscard]] KibicError FileHeldError(const QString& fileName);

} // namespace kibic
