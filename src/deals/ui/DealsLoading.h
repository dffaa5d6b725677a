// Loading deals from the main window: the double-dummy analysis runs on a thread of its own behind a
// progress window with a cancel button, so that the window keeps drawing and answering.
#pragma once

#include "tournament/TournamentModel.h"

#include <QString>

class QProgressDialog;
class QWidget;

namespace kibic {

class DoubleDummySolver;
class Operator;

// The progress window of an analysis: "Analiza rozdań w widne karty…", done of total deals, "Przerwij".
// Shown at once (an analysis of a session takes seconds, not minutes).
[[nodiscard]] QProgressDialog* MakeAnalysisProgress(QWidget* parent, int total);

// Loads the deals of pbnFile into databaseFile for the tournament in model: reads and matches them, analyses
// them off the user interface thread while the progress window is shown, and writes them. Returns true when the
// deals were written (the operator is then told what was loaded); false when the operator cancelled the
// analysis, in which case nothing is written and the operator is told so. Failures raise KibicError.
bool LoadDealsInWindow(QWidget* parent, const TournamentModel& model, const QString& databaseFile,
    const QString& pbnFile, DoubleDummySolver& solver, Operator& op);

} // namespace kibic
