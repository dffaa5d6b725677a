// Test scoring databases with the build's tables.
#include "ScoringFixture.h"

#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "support/ScoringTables.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace kibic::test {

namespace {

int Wrap(int value, int tables)
{
    if (value < 1)
        value += tables;
    if (value > tables)
        value -= tables;
    return value;
}

} // namespace

FixtureTournament DemoPairs()
{
    FixtureTournament t;
    t.Tables = 5;
    t.Rounds = 5;
    t.BoardsPerRound = 3;
    t.Sections = 2;
    t.BoardsNumberedAfter = 20;
    return t;
}

FixtureTournament DemoIndividual()
{
    FixtureTournament t;
    t.Tables = 5;
    t.Rounds = 5;
    t.BoardsPerRound = 2;
    t.Sections = 1;
    t.Individual = true;
    return t;
}

void CreateScoringDatabase(const QString& file, const FixtureTournament& t)
{
    CreateScoringTables(file);
    DbConnection db(ScoringConnectionString(file));
    db.BeginTransaction();
    for (int s = 1; s <= t.Sections; ++s) {
        (void)db.Execute(
            QStringLiteral("INSERT INTO [Section] ([ID],[Letter],[Tables],[MissingPair]) VALUES (?,?,?,0)"),
            { s, QString(QChar(u'A' + s - 1)), t.Tables });
        for (int table = 1; table <= t.Tables; ++table) {
            (void)db.Execute(
                QStringLiteral("INSERT INTO [Tables] ([Section],[Table],[ComputerID]) VALUES (?,?,1)"), { s, table });
            for (const char* direction : { "N", "E", "S", "W" })
                (void)db.Execute(
                    QStringLiteral("INSERT INTO [PlayerNumbers] ([Section],[Table],[Direction]) VALUES (?,?,?)"),
                    { s, table, QString::fromLatin1(direction) });
        }
    }
    // The movement, board set by board set in slot order, as a build writes it.
    const int T = t.Tables;
    for (int b = 1; b <= T; ++b) {
        const int low = t.BoardsNumberedAfter + (b - 1) * t.BoardsPerRound + 1;
        const int high = t.BoardsNumberedAfter + b * t.BoardsPerRound;
        for (int s = 1; s <= t.Sections; ++s) {
            int ns = b;
            int ew = b;
            int south = b;
            int west = b;
            for (int r = 1; r <= t.Rounds; ++r) {
                if (r > 1) {
                    ns = Wrap(ns - 1, T);
                    if (t.Individual) {
                        south = Wrap(south + 1, T);
                        west = Wrap(west + 2, T);
                    } else {
                        ew = ew - 2;
                        if (T % 2 == 0 && r == T / 2 + 1)
                            ew -= 1;
                        ew = Wrap(ew, T);
                    }
                }
                const int seats = t.Individual ? 4 : 2;
                const int offset = seats * T * (s - 1);
                const int slot = t.Rounds * (s - 1) + r;
                (void)db.Execute(
                    QStringLiteral("INSERT INTO [RoundData] ([Section],[Table],[Round],[NSPair],[EWPair],[LowBoard],"
                                   "[HighBoard],[custom_Zyrt],[custom_Komp],[custom_S],[custom_W]) "
                                   "VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
                    { s, ns, r, ns + offset, ew + T + offset, low, high, slot, b,
                        t.Individual ? south + 2 * T + offset : 0, t.Individual ? west + 3 * T + offset : 0 });
            }
        }
    }
    (void)db.Execute(
        QStringLiteral("INSERT INTO [Settings] ([ShowResults],[GroupSections],[ScorePoints],[AutopoweroffTime],"
                       "[VerificationTime],[ShowContract],[LeadCard],[MemberNumbers],[custom_pairs]) "
                       "VALUES (1,1,0,10,1,0,?,?,?)"),
        { t.LeadCard ? 1 : 0, t.MemberNumbers ? 1 : 0, t.Individual ? 0 : 1 });
    db.CommitTransaction();
}

std::vector<StoredRow> ReadReceivedRows(const QString& file)
{
    TTable table(ScoringConnectionString(file), QStringLiteral("ReceivedData"));
    table.Open();
    table.SetSort(QStringLiteral("ID"));
    std::vector<StoredRow> rows;
    for (table.First(); !table.Eof(); table.Next()) {
        StoredRow row;
        for (const QString& column : table.FieldNames()) {
            if (column.compare(QStringLiteral("DateLog"), Qt::CaseInsensitive) != 0
                && column.compare(QStringLiteral("TimeLog"), Qt::CaseInsensitive) != 0)
                row.Values.append(table.FieldValue(column));
        }
        row.Section = table.FieldAsInteger(QStringLiteral("Section"));
        row.Table = table.FieldAsInteger(QStringLiteral("Table"));
        row.Round = table.FieldAsInteger(QStringLiteral("Round"));
        row.Board = table.FieldAsInteger(QStringLiteral("Board"));
        row.Contract = table.FieldAsString(QStringLiteral("Contract"));
        row.Declarer = table.FieldAsString(QStringLiteral("NS/EW"));
        row.Result = table.FieldAsString(QStringLiteral("Result"));
        row.LeadCard = table.FieldAsString(QStringLiteral("LeadCard"));
        row.Remarks = table.FieldAsString(QStringLiteral("Remarks"));
        row.Erased = table.FieldAsBoolean(QStringLiteral("Erased"));
        for (const char* processed : { "Processed", "Processed1", "Processed2", "Processed3", "Processed4" })
            row.AnyProcessed = row.AnyProcessed || table.FieldAsBoolean(QString::fromLatin1(processed));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace kibic::test
