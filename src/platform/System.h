// The computer's name and the places of the companion programs.
#pragma once

#include <QString>

namespace kibic {

// The computer's network name, as the terminal server's Clients table records it: on Windows the
// computer name Windows gives (GetComputerName), elsewhere the host name; KIBIC_COMPUTER_NAME, when
// set, stands in for both (rehearsals and tests).
[[nodiscard]] QString ComputerName();

// The value of the environment variable "ProgramFiles" as this process sees it (empty when it is not
// set): for a 32-bit program on 64-bit Windows that is "Program Files (x86)", where the 32-bit terminal
// server is installed.
[[nodiscard]] QString ProgramFilesDirectory();

// The rehearsal terminal server beside the running program.
[[nodiscard]] QString RehearsalTerminalServerPath();

} // namespace kibic
