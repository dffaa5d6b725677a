// The operator's text of a failed file operation: Polish words of our own for the common causes, the
// system's own text after them.
#pragma once

#include <QString>

class QFileDevice;

namespace kibic {

// The system's code of the last failure: errno, or GetLastError() on Windows. Read at once after the call
// that failed, before anything else can change it; ClearSystemError() before the call makes sure that a
// code left by an earlier failure is never taken for this one's.
[[nodiscard]] int LastSystemError();
void ClearSystemError();

// What a failure with the system's code means to the operator. The common causes (a missing file or folder,
// no permission, a file another program holds, a full disk, a read-only medium) read "our words (the
// system's text)", for example "brak miejsca na dysku (No space left on device)"; any other code gives the
// system's text alone. Code 0 (no failure known) gives an empty text.
[[nodiscard]] QString FileErrorText(int systemCode);

// The same for an operation of a Qt file object that failed: by the system's code when there is one (not
// 0), else the object's own text.
[[nodiscard]] QString FileErrorText(const QFileDevice& file, int systemCode);

} // namespace kibic
