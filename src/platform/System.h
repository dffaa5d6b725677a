// The computer's name and the places of the companion programs.
#pragma once

#include <QString>

namespace kibic {

// The computer's network name, as the terminal server's Clients table records it.
[[nodiscard]] QString ComputerName();

// The value of the environment variable "ProgramFiles" (empty when it is not set).
[[nodiscard]] QString ProgramFilesDirectory();

// The rehearsal terminal server beside the running program.
[[nodiscard]] QString RehearsalTerminalServerPath();

} // namespace kibic
