// A small pairs tournament with its scoring database and result files, for the transfer's tests:
// one section of 3 tables, 3 rounds of 2 boards, 3 result slots per board.
#pragma once

#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "support/ScoringTables.h"
#include "support/TournamentModels.h"
#include "transfer/ResultConversion.h"
#include "transfer/ResultFiles.h"
#include "tournament/TournamentModel.h"

#include "transfer/ResultGrid.h"

#include <QFile>
#include <QTemporaryDir>
#include <map>

namespace kibic::testing {

struct ReceivedRow
{
    int Section = 1;
    int Table = 1;
    int Round = 1;
    int Board = 1;
    QString Contract = QStringLiteral("4 S");
    QString Declarer = QStringLiteral("N");
    QString Result = QStringLiteral("=");
    QString Remarks;
    bool Erased = false;
};

// A grid that keeps what each data cell stands for, as the window's grid does for its tooltips.
class EntryGrid : public MemoryGrid
{
public:
    using MemoryGrid::MemoryGrid;
    bool KeepsEntries() const override { return true; }
    void SetCellEntry(int column, int row, const CellEntry& entry) override { Entries[{ column, row }] = entry; }
    std::map<std::pair<int, int>, CellEntry> Entries; // (column, row) -> entry
};

class TransferFixture
{
public:
    TransferFixture()
    {
        test::ModelCounts counts;
        counts.Tables = 3;
        counts.Rounds = 3;
        counts.BoardsPerRound = 2;
        counts.ResultsPerBoard = 3;
        Model = test::MakeModel(counts, Dir.filePath(QStringLiteral("cup")));
        Model.ParticipantCount = 6;
        Model.CellClicked = true;
        WriteEmptyResultFiles(Model.BoardCount * Model.ResultsPerBoard);

        DbFile = Model.TournamentBase + QStringLiteral(".bws");
        test::CreateScoringTables(DbFile);
        DbConnection db(ScoringConnectionString(DbFile));
        // Board set b is played in round r at table ((b - r) mod 3) + 1, as ZyRT's slot r.
        for (int b = 1; b <= 3; ++b) {
            for (int r = 1; r <= 3; ++r) {
                const int table = ((b - r) % 3 + 3) % 3 + 1;
                (void)db.Execute(QStringLiteral("INSERT INTO [RoundData] ([Section],[Table],[Round],[NSPair],[EWPair],"
                                                "[LowBoard],[HighBoard],[custom_Zyrt],[custom_Komp]) "
                                                "VALUES (1,?,?,?,?,?,?,?,?)"),
                    {table, r, table, table + 3, 2 * b - 1, 2 * b, r, b});
            }
        }
    }

    // Prints the boards with other numbers (position 1..6 in the tournament's order) and writes each
    // round row's "LowBoard" and "HighBoard" as a build does: the first and last number of its board set.
    void Renumber(const QList<int>& numbers)
    {
        for (int i = 1; i <= Model.BoardCount; ++i)
            Model.BoardNumbers[size_t(i)] = numbers.at(i - 1);
        DbConnection db(ScoringConnectionString(DbFile));
        for (int b = 1; b <= 3; ++b)
            (void)db.Execute(QStringLiteral("UPDATE [RoundData] SET [LowBoard]=?,[HighBoard]=? WHERE [custom_Komp]=?"),
                {numbers.at(2 * b - 2), numbers.at(2 * b - 1), b});
    }

    // The table at which board set b is played in round r.
    static int TableOf(int boardSet, int round) { return ((boardSet - round) % 3 + 3) % 3 + 1; }

    void WriteEmptyResultFiles(int records)
    {
        QFile scores(Model.TournamentBase + QStringLiteral(".ZAP"));
        QFile contracts(Model.TournamentBase + QStringLiteral(".KNT"));
        if (!scores.open(QIODevice::WriteOnly) || !contracts.open(QIODevice::WriteOnly))
            qFatal("cannot write the result files");
        for (int i = 0; i < records; ++i) {
            const qint16 empty = ScoreWordEmptySlot;
            scores.write(reinterpret_cast<const char*>(&empty), 2);
            contracts.write(ContractRecord::EmptySlot().ToBytes());
        }
    }

    int Append(const ReceivedRow& row)
    {
        DbConnection db(ScoringConnectionString(DbFile));
        (void)db.Execute(QStringLiteral("INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[PairNS],[PairEW],"
                                        "[NS/EW],[Contract],[Result],[Remarks],[Erased]) VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
            {row.Section, row.Table, row.Round, row.Board, row.Table, row.Table + 3, row.Declarer, row.Contract,
                row.Result, row.Remarks, row.Erased ? 1 : 0});
        return static_cast<int>(db.LastInsertRowId());
    }

    qint64 Count(const QString& condition)
    {
        DbConnection db(ScoringConnectionString(DbFile));
        return db.ScalarInteger(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData] WHERE ") + condition);
    }

    std::vector<qint16> Scores() const { return ReadScoreWords(ScoreFileName(Model)); }
    std::vector<ContractRecord> Contracts() const { return ReadContractRecords(ContractFileName(Model)); }

    QTemporaryDir Dir;
    TournamentModel Model;
    QString DbFile;
};

} // namespace kibic::testing
