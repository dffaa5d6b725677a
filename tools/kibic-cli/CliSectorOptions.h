// The options of "read" and "build" that answer a non-typical sector's questions without a window.
#pragma once

#include "tournament/NonTypicalSector.h"

#include <QStringList>
#include <memory>

namespace kibic::cli {

// Takes --sector-kind, --pattern and --barometer (each with its value) out of arguments and returns the
// completer that answers the hand-over with them. A bad option value raises CliUsageError.
[[nodiscard]] std::unique_ptr<NonTypicalSectorCompleter> TakeSectorOptions(QStringList& arguments);

} // namespace kibic::cli
