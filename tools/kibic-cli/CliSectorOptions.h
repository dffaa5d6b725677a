// The options of "read" and "build" that answer a non-typical sector's questions without a window.
#pragma once

#include "CommandLine.h"

#include "tournament/NonTypicalSector.h"

#include <memory>

namespace kibic::cli {

// --sector-kind RODZAJ, --pattern PLIK.bmt and --barometer tak|nie.
[[nodiscard]] QList<tools::OptionRule> SectorOptionList();

// The completer that answers the hand-over with the sector options read into commandLine. A bad option
// value raises CliUsageError.
[[nodiscard]] std::unique_ptr<NonTypicalSectorCompleter> SectorCompleter(const tools::CommandLine& commandLine);

} // namespace kibic::cli
