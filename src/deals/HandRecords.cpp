// Writing the session's deals into HandRecord and HandEvaluation.
#include "deals/HandRecords.h"

#include "common/KibicError.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uCreateBWS.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <map>
#include <set>

namespace kibic {

namespace {

constexpr int kHandRecordStatement = 9; // among TableStatements, 1-based

QString ListOfBoards(const QList<qint32>& boards)
{
    QStringList numbers;
    for (const qint32 board : boards)
        numbers.append(QString::number(board));
    return numbers.join(QStringLiteral(", "));
}

QString InsertStatement(const QString& table, const QStringList& columns)
{
    QStringList names { QStringLiteral("[Section]"), QStringLiteral("[Board]") };
    for (const QString& column : columns)
        names.append(QLatin1Char('[') + column + QLatin1Char(']'));
    QStringList marks;
    marks.fill(QStringLiteral("?"), names.size());
    return QStringLiteral("INSERT INTO [%1] (%2) VALUES (%3)")
        .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
}

QVariantList HandRecordValues(const SessionBoard& board, const Deal& deal)
{
    QVariantList values { board.Section, board.Board };
    for (const Seat seat : kSeats) {
        for (const Suit suit : kSuits)
            values.append(HoldingText(deal.HoldingOf(seat, suit)));
    }
    return values;
}

QVariantList HandEvaluationValues(const SessionBoard& board, const Deal& deal, const DoubleDummyTable& table)
{
    QVariantList values { board.Section, board.Board };
    for (const Seat seat : kSeats) {
        for (const Denomination strain : kStrains)
            values.append(table.TricksOf(seat, strain));
    }
    for (const Seat seat : kSeats)
        values.append(deal.HighCardPoints(seat));
    return values;
}

void CreateWhenMissing(DbConnection& connection, const QString& table, const QString& statement)
{
    if (!HasTable(connection, table))
        connection.Execute(connection.Translate(statement));
}

void FillTables(DbConnection& connection, const std::vector<Deal>& deals, const DealMatch& match,
    const std::vector<DealAnalysis>* analyses)
{
    CreateWhenMissing(
        connection, QStringLiteral("HandRecord"), TableStatements(true, false).at(kHandRecordStatement - 1));
    CreateWhenMissing(connection, QStringLiteral("HandEvaluation"), HandEvaluationStatement());
    connection.Execute(QStringLiteral("DELETE FROM [HandRecord]"));
    connection.Execute(QStringLiteral("DELETE FROM [HandEvaluation]"));
    const QString handRecord = InsertStatement(QStringLiteral("HandRecord"), HandRecordColumns());
    const QString handEvaluation = InsertStatement(
        QStringLiteral("HandEvaluation"), HandEvaluationTrickColumns() + HandEvaluationPointColumns());
    for (const DealMatch::Row& row : match.Rows) {
        const Deal& deal = deals.at(row.DealIndex);
        connection.Execute(handRecord, HandRecordValues(row.Board, deal));
        if (analyses)
            connection.Execute(
                handEvaluation, HandEvaluationValues(row.Board, deal, analyses->at(row.DealIndex).Table));
    }
}

} // namespace

QStringList HandRecordColumns()
{
    QStringList columns;
    for (const Seat seat : kSeats) {
        for (const Suit suit : kSuits)
            columns.append(SeatName(seat) + StrainName(suit));
    }
    return columns;
}

QStringList HandEvaluationTrickColumns()
{
    QStringList columns;
    for (const Seat seat : kSeats) {
        for (const Denomination strain : kStrains)
            columns.append(SeatName(seat) + StrainName(strain));
    }
    return columns;
}

QStringList HandEvaluationPointColumns()
{
    QStringList columns;
    for (const Seat seat : kSeats)
        columns.append(SeatName(seat) + QStringLiteral("Hcp"));
    return columns;
}

bool HasTable(DbConnection& connection, const QString& table)
{
    try {
        (void)connection.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [%1] WHERE 1=0").arg(table));
        return true;
    } catch (const KibicError& error) {
        if (error.Busy())
            throw;
        return false;
    }
}

std::vector<SessionBoard> PlayedBoards(const TournamentModel& model, const QString& fileName)
{
    TTable rounds(ScoringConnectionString(fileName), QStringLiteral("RoundData"));
    rounds.SetReadColumns({ QStringLiteral("Section"), QStringLiteral("custom_Komp") });
    rounds.Open();
    const TTable::Column section = rounds.ColumnOf(QStringLiteral("Section"));
    const TTable::Column boardSet = rounds.ColumnOf(QStringLiteral("custom_Komp"));
    std::set<SessionBoard> played;
    for (rounds.First(); !rounds.Eof(); rounds.Next()) {
        const qint32 set = rounds.FieldAsInteger(boardSet);
        if (set < 1 || set > model.TableCount)
            continue;
        for (qint32 i = (set - 1) * model.BoardsPerRound + 1; i <= set * model.BoardsPerRound; ++i) {
            if (i < static_cast<qint32>(model.BoardNumbers.size()))
                played.insert({ rounds.FieldAsInteger(section), model.BoardNumbers[static_cast<std::size_t>(i)] });
        }
    }
    rounds.Close();
    return { played.begin(), played.end() };
}

QString DealMatch::Message(const QString& pbnFile) const
{
    QStringList parts;
    const QString name = QFileInfo(pbnFile).fileName();
    if (!NotPlayed.isEmpty())
        parts.append(QStringLiteral("Rozdań %1 z pliku %2 turniej nie gra.").arg(ListOfBoards(NotPlayed), name));
    if (!Missing.isEmpty())
        parts.append(QStringLiteral("Rozdań %1, które turniej gra, brak w pliku %2.").arg(ListOfBoards(Missing), name));
    if (!Repeated.isEmpty())
        parts.append(
            QStringLiteral("Numery rozdań %1 powtarzają się w numeracji turnieju (.INR), a pierniczki znają "
                           "jeden rozkład na numer: wszystkie rozdania o tym numerze dostały rozkład z pliku %2.")
                .arg(ListOfBoards(Repeated), name));
    return parts.join(QLatin1Char('\n'));
}

QList<qint32> RepeatedBoardNumbers(const TournamentModel& model)
{
    std::map<qint32, int> uses;
    for (qint32 i = 1; i <= model.BoardCount && i < static_cast<qint32>(model.BoardNumbers.size()); ++i)
        ++uses[model.BoardNumbers[static_cast<std::size_t>(i)]];
    QList<qint32> repeated;
    for (const auto& [number, count] : uses) {
        if (count > 1)
            repeated.append(number);
    }
    return repeated;
}

DealMatch MatchDeals(const std::vector<Deal>& deals, const std::vector<SessionBoard>& played)
{
    QHash<qint32, std::size_t> byBoard;
    for (std::size_t i = 0; i < deals.size(); ++i)
        byBoard.insert(deals[i].Board, i);
    DealMatch match;
    QSet<qint32> playedNumbers;
    std::set<qint32> missing;
    for (const SessionBoard& board : played) {
        playedNumbers.insert(board.Board);
        const auto found = byBoard.constFind(board.Board);
        if (found == byBoard.constEnd())
            missing.insert(board.Board);
        else
            match.Rows.push_back({ board, found.value() });
    }
    match.Missing = QList<qint32>(missing.begin(), missing.end());
    for (const Deal& deal : deals) {
        if (!playedNumbers.contains(deal.Board))
            match.NotPlayed.append(deal.Board);
    }
    std::sort(match.NotPlayed.begin(), match.NotPlayed.end());
    return match;
}

void WriteHandRecords(const QString& fileName, const std::vector<Deal>& deals, const DealMatch& match,
    const std::vector<DealAnalysis>* analyses)
{
    if (analyses && analyses->size() != deals.size())
        throw KibicError(QStringLiteral("Analiza nie objęła wszystkich rozdań: nie zapisano ich w %1.").arg(fileName));
    DbConnection connection(ScoringConnectionString(fileName));
    connection.BeginTransaction();
    try {
        FillTables(connection, deals, match, analyses);
        connection.CommitTransaction();
    } catch (...) {
        connection.RollbackTransaction();
        throw;
    }
}

} // namespace kibic
