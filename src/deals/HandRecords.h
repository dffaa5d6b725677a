// The session's deals in the scoring database: HandRecord (the hands) and HandEvaluation (the double-dummy
// tricks and the high-card points), for every section that plays each board, by the boards' printed numbers.
#pragma once

#include "deals/Deal.h"
#include "deals/DoubleDummy.h"
#include "tournament/TournamentModel.h"

#include <QList>
#include <QString>
#include <vector>

namespace kibic {

class DbConnection;

// A board as the terminals know it: its section and its printed number.
struct SessionBoard
{
    qint32 Section = 0;
    qint32 Board = 0;
    friend auto operator<=>(const SessionBoard&, const SessionBoard&) = default;
};

// The boards each section plays, in section and board order: section s plays the boards of every board set
// (custom_Komp) of its RoundData rows, numbered as model.BoardNumbers numbers them. Reads RoundData of the
// database fileName; board sets outside 1..TableCount are left out.
[[nodiscard]] std::vector<SessionBoard> PlayedBoards(const TournamentModel& model, const QString& fileName);

// The deals of a PBN file against the boards the tournament plays: each played board that the file has, and
// the board numbers found on one side only.
struct DealMatch
{
    struct Row
    {
        SessionBoard Board;
        std::size_t DealIndex = 0; // into the deals matched
    };
    std::vector<Row> Rows;
    QList<qint32> NotPlayed; // boards of the file that the tournament does not play, ascending
    QList<qint32> Missing; // boards the tournament plays that the file lacks, ascending
    // Printed numbers that stand for more than one board of the tournament (an .INR numbering that repeats):
    // the terminals know one deal a number, so those boards get the file's deal of that number.
    QList<qint32> Repeated;

    // One message naming the lists and the file, for the operator; empty when they are empty.
    [[nodiscard]] QString Message(const QString& pbnFile) const;
};

[[nodiscard]] DealMatch MatchDeals(const std::vector<Deal>& deals, const std::vector<SessionBoard>& played);

// The printed numbers of model.BoardNumbers (1..BoardCount) that more than one board has, ascending.
[[nodiscard]] QList<qint32> RepeatedBoardNumbers(const TournamentModel& model);

// Replaces the deals of the database fileName in one write transaction: HandRecord (and HandEvaluation, made
// by HandEvaluationStatement when missing) are created when the database lacks them, every row they held is
// removed, and a row is written for each matched board. HandEvaluation gets rows only with analyses (one per
// deal, as Analyse gives them); without, it is left empty, so that no tricks of an earlier file stay. A failure
// rolls the whole change back and raises KibicError naming the table.
void WriteHandRecords(const QString& fileName, const std::vector<Deal>& deals, const DealMatch& match,
    const std::vector<DealAnalysis>* analyses);

// Whether the database of the connection has the table.
[[nodiscard]] bool HasTable(DbConnection& connection, const QString& table);

// The sixteen HandRecord columns after Section and Board, hand by hand, suits from spades down.
[[nodiscard]] QStringList HandRecordColumns();
// The twenty trick columns of HandEvaluation after Section and Board, then the four high-card point columns.
[[nodiscard]] QStringList HandEvaluationTrickColumns();
[[nodiscard]] QStringList HandEvaluationPointColumns();

} // namespace kibic
