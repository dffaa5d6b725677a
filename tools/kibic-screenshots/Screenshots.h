// The windows kibic-screenshots renders: each Shot*.cpp registers its windows under a name.
#pragma once

#include "tournament/NonTypicalSector.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

namespace kibic::screenshots {

// Builds a window in a typical state, not yet shown. The tool shows it offscreen, grabs it into
// NAME.png and destroys it.
using ShotBuilder = std::function<std::unique_ptr<QWidget>()>;

struct Shot
{
    QString Name; // the PNG's file name without ".png": lower case, words joined by "-"
    ShotBuilder Build;
};

// Adds a shot to the table; used through KIBIC_SCREENSHOT at namespace scope.
bool RegisterShot(Shot shot);

// A folder that lives as long as the tool: shots that need files (a tournament, a registry key)
// make them there.
[[nodiscard]] QString ScratchFolder();

// A folder with a short, plain path for shots whose caption shows a tournament's path: the system's
// temporary folder followed by ZyRT/Turnieje when no such folder exists yet (it is removed again when the
// tool ends), else the same inside the scratch folder.
[[nodiscard]] QString TidyFolder();

// The demo tournaments have no non-typical sector: nothing is ever handed over.
class NoNonTypicalSector : public NonTypicalSectorCompleter
{
public:
    bool CompleteNonTypicalSector(TournamentModel&, const NonTypicalSectorHandOver&) override { return false; }
    bool CompleteIndividualNonTypicalSector(TournamentModel&, const NonTypicalSectorHandOver&) override
    {
        return false;
    }
};

} // namespace kibic::screenshots

#define KIBIC_SHOT_CONCAT2(a, b) a##b
#define KIBIC_SHOT_CONCAT(a, b) KIBIC_SHOT_CONCAT2(a, b)
#define KIBIC_SCREENSHOT(name, builder)                                                                                \
    static const bool KIBIC_SHOT_CONCAT(kibicShotRegistered, __LINE__)                                                 \
        = ::kibic::screenshots::RegisterShot({ QStringLiteral(name), builder })
