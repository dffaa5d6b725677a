// Hand-built tournament models for tests: the counts of a tournament, every board numbered, and the
// movement sized the way the description readers size it.
#pragma once

#include "tournament/DescriptionChecks.h"
#include "tournament/TournamentModel.h"

#include <QString>

namespace kibic::test {

struct ModelCounts
{
    bool PairsEvent = true;
    qint32 Sections = 1;
    qint32 Tables = 0; // per section, and so the board sets
    qint32 Rounds = 0;
    qint32 BoardsPerRound = 0;
    qint32 BoardCount = -1; // -1: Tables x BoardsPerRound, one board set per table
    qint32 ResultsPerBoard = 0;
    qint32 ExtraTables = 0;
    qint32 ExtraSections = 0;
    qint32 FirstBoardNumber = 1; // board i is printed as FirstBoardNumber - 1 + i
};

// The model of a tournament with these counts under base: GridTableCount as an opened database has it,
// BoardNumbers filled, Movement sized with every entry empty.
inline TournamentModel MakeModel(const ModelCounts& counts, const QString& base = {})
{
    TournamentModel model;
    model.TournamentBase = base;
    model.PairsEvent = counts.PairsEvent;
    model.SectionCount = counts.Sections;
    model.TableCount = counts.Tables;
    model.RoundCount = counts.Rounds;
    model.BoardsPerRound = counts.BoardsPerRound;
    model.BoardCount = counts.BoardCount >= 0 ? counts.BoardCount : counts.Tables * counts.BoardsPerRound;
    model.ResultsPerBoard = counts.ResultsPerBoard;
    model.ExtraTableCount = counts.ExtraTables;
    model.ExtraSectionCount = counts.ExtraSections;
    model.GridTableCount = model.SectionCount * model.TableCount + model.ExtraTableCount;
    model.BoardNumbers.assign(static_cast<std::size_t>(model.BoardCount) + 1, 0);
    for (qint32 i = 1; i <= model.BoardCount; ++i)
        model.BoardNumbers[static_cast<std::size_t>(i)] = counts.FirstBoardNumber - 1 + i;
    SizeMovement(model);
    return model;
}

} // namespace kibic::test
