// kibic-bench: the transfer and the build on a large tournament, each against a floor of raw SQLite work
// measured in the same process on the same data.
//
// The tournament: 10 sections of 30 tables, 30 rounds of 2 boards: 18,000 received scores.
//   first-pass        the first pass over every score       floor: one query, the same flag updates in
//                                                                   one transaction, the same file writes
//   idle-pass         a pass with every score handled        floor: the same query, finding nothing
//   incremental-pass  100 new scores among 18,000 handled    floor: the raw work for those 100
//   build             building the scoring database          floor: the same rows inserted in one transaction
//   fill              filling the tables of a new database   floor: the same rows inserted raw into the same
//                                                                   empty tables, each table in one transaction
//   first-pass-c      "kibic-cli transfer" as a whole process floor: the same rows read and marked through
//                                                                   SQLite's C API in this process, both result
//                                                                   files opened, written and closed per row
//   first-pass-odbc   the same process through Kibic's ODBC     floor: the same process on SQLite directly
//                     layer and SQLite's ODBC driver
//   first-pass-access the same process on the Access path,      floor: the same process on SQLite directly
//                     through the Jet stand-in
//   hands-load        60 deals into HandRecord for every section floor: the same rows inserted in one
//                     (PBN read, boards matched, no analysis)           transaction
//   hands-36          "kibic-cli hands" on 36 boards, with the   (no floor: the goal is 5 s on 2 cores)
//                     double-dummy analysis and the par, as a
//                     whole process
#include "BenchDeals.h"

#include "common/KibicError.h"
#include "common/Operator.h"
#include "deals/DoubleDummy.h"
#include "deals/HandRecords.h"
#include "deals/LoadDeals.h"
#include "deals/SessionDeals.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TTable.h"
#include "scoringdb/uBuildBWS.h"
#include "scoringdb/uCreateBWS.h"
#include "transfer/Polling.h"
#include "transfer/ResultConversion.h"
#include "transfer/ResultFiles.h"
#include "transfer/ResultsCheck.h"
#include "transfer/uScoreProvider.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sqlite3.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace kibic;

namespace {

constexpr int kSections = 10;
constexpr int kTables = 30;
constexpr int kRounds = 30;
constexpr int kBoardsPerRound = 2;
constexpr int kRuns = 5;
constexpr int kIncrementalRows = 100;

TournamentModel LargeTournament(const QString& base)
{
    TournamentModel model;
    model.TournamentBase = base;
    model.PairsEvent = true;
    model.SectionCount = kSections;
    model.TableCount = kTables;
    model.RoundCount = kRounds;
    model.BoardsPerRound = kBoardsPerRound;
    model.BoardCount = kTables * kBoardsPerRound;
    model.ParticipantCount = 2 * kTables * kSections;
    model.ResultsPerBoard = kSections * kRounds;
    model.GridTableCount = kSections * kTables;
    model.CellClicked = true;
    for (int i = 0; i <= model.BoardCount; ++i)
        model.BoardNumbers.push_back(i);
    for (int i = 0; i <= model.ParticipantCount; ++i)
        model.ParticipantNumbers.push_back(i);
    model.Movement.assign(kTables + 1, std::vector<MovementEntry>(kSections * kRounds + 1));
    for (int b = 1; b <= kTables; ++b) {
        for (int s = 1; s <= kSections; ++s) {
            for (int r = 1; r <= kRounds; ++r) {
                MovementEntry& entry = model.Movement[b][(s - 1) * kRounds + r];
                entry.Table = ((b - r) % kTables + kTables) % kTables + 1;
                entry.Round = r;
                entry.NS = 2 * kTables * (s - 1) + entry.Table;
                entry.EW = 2 * kTables * (s - 1) + kTables + (entry.Table + r - 2) % kTables + 1;
            }
        }
    }
    return model;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double TimeMs(const std::function<void()>& work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// A raw QSQLITE connection, as the floors use it.
class RawDatabase
{
public:
    explicit RawDatabase(const QString& file)
        : m_name(QStringLiteral("bench-raw-%1").arg(++s_counter))
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(file);
        m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!m_db.open())
            throw KibicError(QStringLiteral("bench: cannot open ") + file);
    }
    ~RawDatabase()
    {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase& Db() { return m_db; }
    void Exec(const QString& sql)
    {
        QSqlQuery query(m_db);
        if (!query.exec(sql))
            throw KibicError(QStringLiteral("bench: ") + sql);
    }

private:
    static inline int s_counter = 0;
    QString m_name;
    QSqlDatabase m_db;
};

void WriteEmptyResultFiles(const TournamentModel& model)
{
    QFile scores(model.TournamentBase + QStringLiteral(".ZAP"));
    QFile contracts(model.TournamentBase + QStringLiteral(".KNT"));
    if (!scores.open(QIODevice::WriteOnly) || !contracts.open(QIODevice::WriteOnly))
        throw KibicError(QStringLiteral("bench: cannot write the result files"));
    const int records = model.BoardCount * model.ResultsPerBoard;
    const qint16 empty = ScoreWordEmptySlot;
    const QByteArray emptyContract = ContractRecord::EmptySlot().ToBytes();
    for (int i = 0; i < records; ++i) {
        scores.write(reinterpret_cast<const char*>(&empty), 2);
        contracts.write(emptyContract);
    }
}

// Every table plays both boards of its board set in every round: 18,000 scores.
void AppendReceivedScores(const TournamentModel& model, const QString& file)
{
    static const char* contracts[] = {"4 S", "3 NT", "2 H", "4 H x", "1 NT", "5 D", "PASS", "3 C"};
    static const char* results[] = {"=", "+1", "-1", "=", "-2", "+2", "=", "-1"};
    static const char* declarers[] = {"N", "E", "S", "W"};
    RawDatabase raw(file);
    raw.Exec(QStringLiteral("BEGIN IMMEDIATE"));
    QSqlQuery insert(raw.Db());
    insert.prepare(QStringLiteral("INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[PairNS],[PairEW],"
                                  "[Declarer],[NS/EW],[Contract],[Result],[LeadCard],[Remarks]) "
                                  "VALUES (?,?,?,?,?,?,?,?,?,?,?,'')"));
    int n = 0;
    for (int r = 1; r <= kRounds; ++r) {
        for (int s = 1; s <= kSections; ++s) {
            for (int b = 1; b <= kTables; ++b) {
                const MovementEntry& entry = model.Movement[b][(s - 1) * kRounds + r];
                for (int k = 0; k < kBoardsPerRound; ++k, ++n) {
                    const int board = (b - 1) * kBoardsPerRound + k + 1;
                    for (const QVariant& value : {QVariant(s), QVariant(entry.Table), QVariant(r), QVariant(board),
                             QVariant(entry.NS), QVariant(entry.EW), QVariant(n % 4 + 1),
                             QVariant(QString::fromLatin1(declarers[n % 4])), QVariant(QString::fromLatin1(contracts[n % 8])),
                             QVariant(QString::fromLatin1(results[(n / 8) % 8])), QVariant(QStringLiteral("H10"))})
                        insert.addBindValue(value);
                    if (!insert.exec())
                        throw KibicError(QStringLiteral("bench: cannot insert a received score"));
                }
            }
        }
    }
    insert.finish();
    raw.Exec(QStringLiteral("COMMIT"));
}

// The raw work of a pass: one query for the unhandled scores (and one for the round rows they need),
// then per score the two file writes and the flag update, all in one transaction.
int FloorPass(const TournamentModel& model, const QString& file)
{
    RawDatabase raw(file);
    QSqlQuery query(raw.Db());
    query.setForwardOnly(true);
    query.exec(QStringLiteral("SELECT rowid,[Section],[Table],[Round],[Board],[Contract],[NS/EW],[Result],[LeadCard],"
                              "[Remarks],[Erased] FROM [ReceivedData] WHERE [Processed]=0 ORDER BY [ID]"));
    struct Row
    {
        qint64 Id;
        int Section, Table, Round, Board;
    };
    std::vector<Row> rows;
    while (query.next())
        rows.push_back({query.value(0).toLongLong(), query.value(1).toInt(), query.value(2).toInt(),
            query.value(3).toInt(), query.value(4).toInt()});
    query.finish();
    if (rows.empty())
        return 0;
    QHash<qint64, std::pair<int, int>> rounds; // section, table, round -> slot, low board
    query.exec(QStringLiteral("SELECT [Section],[Table],[Round],[custom_Zyrt],[LowBoard],[custom_Komp] FROM [RoundData]"));
    while (query.next()) {
        const qint64 key = (query.value(0).toLongLong() * 1000 + query.value(1).toLongLong()) * 1000 + query.value(2).toLongLong();
        rounds.insert(key, {query.value(3).toInt(), (query.value(5).toInt() - 1) * kBoardsPerRound + 1 - query.value(4).toInt()});
    }
    query.finish();
    raw.Exec(QStringLiteral("BEGIN IMMEDIATE"));
    QSqlQuery mark(raw.Db());
    mark.prepare(QStringLiteral("UPDATE [ReceivedData] SET [Processed]=? WHERE rowid=?"));
    const QByteArray contract = ContractRecord::EmptySlot().ToBytes();
    for (const Row& row : rows) {
        const auto found = rounds.constFind((qint64(row.Section) * 1000 + row.Table) * 1000 + row.Round);
        const qint64 column = row.Board + found->second;
        const qint64 record = (column - 1) * model.ResultsPerBoard + found->first - 1;
        WriteScoreWord(model.TournamentBase + QStringLiteral(".ZAP"), record, 420);
        WriteContractRecord(model.TournamentBase + QStringLiteral(".KNT"), record, ContractRecord::FromBytes(contract.constData()));
        mark.addBindValue(1);
        mark.addBindValue(row.Id);
        mark.exec();
    }
    mark.finish();
    raw.Exec(QStringLiteral("COMMIT"));
    return static_cast<int>(rows.size());
}

void SetAllMarks(const QString& file, int value)
{
    RawDatabase raw(file);
    raw.Exec(QStringLiteral("UPDATE [ReceivedData] SET [Processed]=%1").arg(value));
}

void ClearMarksOfLastRows(const QString& file, int count)
{
    RawDatabase raw(file);
    raw.Exec(QStringLiteral("UPDATE [ReceivedData] SET [Processed]=0 WHERE [ID] > (SELECT MAX([ID]) FROM [ReceivedData]) - %1")
                 .arg(count));
}

// The floor's empty database: the build's tables created through raw statements.
void FloorTables(const QString& file)
{
    QFile::remove(file);
    DbConnection::CreateDatabaseFile(file);
    RawDatabase raw(file);
    for (const int number : ChosenStatementNumbers(false)) {
        QString statement = TableStatements(false, false)[number - 1];
        statement.replace(QStringLiteral("] COUNTER"), QStringLiteral("] INTEGER PRIMARY KEY AUTOINCREMENT"));
        raw.Exec(statement);
    }
}

// How the floor commits its rows: all in one transaction (the build's floor), or each table in its own,
// as the fill does (the fill's floor).
enum class FloorCommits { Once, PerTable };

// The rows a build writes, inserted into the empty tables through raw prepared statements.
void FloorRows(const TournamentModel& model, const QString& file, FloorCommits commits)
{
    RawDatabase raw(file);
    raw.Exec(QStringLiteral("BEGIN IMMEDIATE"));
    const auto tableDone = [&](QSqlQuery& statement) {
        statement.finish();
        if (commits == FloorCommits::PerTable) {
            raw.Exec(QStringLiteral("COMMIT"));
            raw.Exec(QStringLiteral("BEGIN IMMEDIATE"));
        }
    };
    QSqlQuery tables(raw.Db());
    tables.prepare(QStringLiteral("INSERT INTO [Tables] ([Section],[Table],[ComputerID]) VALUES (?,?,1)"));
    for (int s = 1; s <= kSections; ++s) {
        for (int t = 1; t <= kTables; ++t) {
            tables.addBindValue(s);
            tables.addBindValue(t);
            tables.exec();
        }
    }
    tableDone(tables);
    QSqlQuery seats(raw.Db());
    seats.prepare(QStringLiteral("INSERT INTO [PlayerNumbers] ([Section],[Table],[Direction]) VALUES (?,?,?)"));
    for (int s = 1; s <= kSections; ++s) {
        for (int t = 1; t <= kTables; ++t) {
            for (const char* direction : {"N", "E", "S", "W"}) {
                seats.addBindValue(s);
                seats.addBindValue(t);
                seats.addBindValue(QString::fromLatin1(direction));
                seats.exec();
            }
        }
    }
    tableDone(seats);
    QSqlQuery sections(raw.Db());
    sections.prepare(QStringLiteral("INSERT INTO [Section] ([ID],[Letter],[Tables],[MissingPair]) VALUES (?,?,?,0)"));
    for (int s = 1; s <= kSections; ++s) {
        sections.addBindValue(s);
        sections.addBindValue(QString(QChar(char16_t(u'A' + s - 1))));
        sections.addBindValue(kTables);
        sections.exec();
    }
    tableDone(sections);
    QSqlQuery rounds(raw.Db());
    rounds.prepare(QStringLiteral("INSERT INTO [RoundData] ([Section],[Table],[Round],[NSPair],[EWPair],[LowBoard],"
                                  "[HighBoard],[custom_Zyrt],[custom_Komp],[custom_S],[custom_W]) VALUES (?,?,?,?,?,?,?,?,?,?,?)"));
    for (int b = 1; b <= kTables; ++b) {
        for (int k = 1; k <= kSections * kRounds; ++k) {
            const MovementEntry& entry = model.Movement[b][k];
            for (const QVariant& value : {QVariant((k - 1) / kRounds + 1), QVariant(entry.Table), QVariant(entry.Round),
                     QVariant(entry.NS), QVariant(entry.EW), QVariant((b - 1) * kBoardsPerRound + 1),
                     QVariant(b * kBoardsPerRound), QVariant(k), QVariant(b), QVariant(0), QVariant(0)})
                rounds.addBindValue(value);
            rounds.exec();
        }
    }
    tableDone(rounds);
    raw.Exec(QStringLiteral("INSERT INTO [Settings] ([ShowResults]) VALUES (1)"));
    raw.Exec(QStringLiteral("COMMIT"));
}

// The build's floor: the same tables created and the same rows inserted.
void FloorBuild(const TournamentModel& model, const QString& file)
{
    FloorTables(file);
    FloorRows(model, file, FloorCommits::Once);
}

// The description beside the database, as far as "kibic-cli transfer" reads it: the header's counts.
void WriteDescription(const TournamentModel& model)
{
    QFile description(model.TournamentBase + QStringLiteral(".inf"));
    if (!description.open(QIODevice::WriteOnly))
        throw KibicError(QStringLiteral("bench: cannot write the description"));
    const QByteArray header = QStringLiteral("%1\n%2\n%3\n%4\n0\n%2\n0\n%5\n%6\n0 0 0 0\n%7\n0\n")
                                  .arg(model.TableCount)
                                  .arg(model.RoundCount)
                                  .arg(model.BoardsPerRound)
                                  .arg(model.SectionCount)
                                  .arg(model.ParticipantCount)
                                  .arg(model.ResultsPerBoard)
                                  .arg(model.BoardCount)
                                  .toLatin1();
    if (description.write(header) != header.size())
        throw KibicError(QStringLiteral("bench: cannot write the description"));
}

// One statement of the C floor; a failure ends the bench.
sqlite3_stmt* Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        throw KibicError(QStringLiteral("bench: ") + QString::fromUtf8(sqlite3_errmsg(db)));
    return statement;
}

void ExecC(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw KibicError(QStringLiteral("bench: ") + QString::fromUtf8(sqlite3_errmsg(db)));
}

// One record written the way the pass must: the file opened, the record written at its place, the file
// closed again.
void WriteRecordC(const QByteArray& fileName, qint64 offset, const char* bytes, size_t size)
{
    const int fd = ::open(fileName.constData(), O_RDWR);
    if (fd < 0 || ::pwrite(fd, bytes, size, offset) != static_cast<ssize_t>(size) || ::close(fd) != 0)
        throw KibicError(QStringLiteral("bench: cannot write ") + QString::fromLocal8Bit(fileName));
}

// The unavoidable work of a first pass through SQLite's C API: the unhandled rows read with every column
// the conversion needs, the round rows read once, per row both result files opened, written and closed,
// and every mark set in one transaction.
int FloorPassC(const TournamentModel& model, const QString& file)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw KibicError(QStringLiteral("bench: cannot open ") + file);
    sqlite3_busy_timeout(db, 10000);
    QHash<qint64, std::pair<int, int>> rounds; // section, table, round -> slot, column of the low board - 1
    sqlite3_stmt* query
        = Prepare(db, "SELECT [Section],[Table],[Round],[custom_Zyrt],[LowBoard],[custom_Komp] FROM [RoundData]");
    while (sqlite3_step(query) == SQLITE_ROW) {
        const qint64 key = (sqlite3_column_int64(query, 0) * 1000 + sqlite3_column_int64(query, 1)) * 1000
            + sqlite3_column_int64(query, 2);
        rounds.insert(key,
            { sqlite3_column_int(query, 3),
                (sqlite3_column_int(query, 5) - 1) * kBoardsPerRound + 1 - sqlite3_column_int(query, 4) });
    }
    sqlite3_finalize(query);

    const QByteArray scoreFile = QFile::encodeName(model.TournamentBase + QStringLiteral(".ZAP"));
    const QByteArray contractFile = QFile::encodeName(model.TournamentBase + QStringLiteral(".KNT"));
    const QByteArray contract = ContractRecord::EmptySlot().ToBytes();
    const qint16 score = 420;
    ExecC(db, "BEGIN IMMEDIATE");
    sqlite3_stmt* mark = Prepare(db, "UPDATE [ReceivedData] SET [Processed]=1 WHERE rowid=?");
    query = Prepare(db,
        "SELECT rowid,[Section],[Table],[Round],[Board],[Contract],[NS/EW],[Result],[LeadCard],[Remarks],[Erased] "
        "FROM [ReceivedData] WHERE [Processed]=0 ORDER BY [ID]");
    int rows = 0;
    size_t textBytes = 0;
    while (sqlite3_step(query) == SQLITE_ROW) {
        for (int column = 5; column <= 9; ++column)
            textBytes += static_cast<size_t>(sqlite3_column_bytes(query, column));
        const auto found = rounds.constFind(
            (sqlite3_column_int64(query, 1) * 1000 + sqlite3_column_int64(query, 2)) * 1000
            + sqlite3_column_int64(query, 3));
        if (found == rounds.constEnd())
            throw KibicError(QStringLiteral("bench: a score without its round"));
        const qint64 column = sqlite3_column_int(query, 4) + found->second;
        const qint64 record = (column - 1) * model.ResultsPerBoard + found->first - 1;
        WriteRecordC(scoreFile, record * 2, reinterpret_cast<const char*>(&score), 2);
        WriteRecordC(contractFile, record * ContractRecord::Size, contract.constData(), ContractRecord::Size);
        sqlite3_bind_int64(mark, 1, sqlite3_column_int64(query, 0));
        if (sqlite3_step(mark) != SQLITE_DONE)
            throw KibicError(QStringLiteral("bench: ") + QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_reset(mark);
        ++rows;
    }
    sqlite3_finalize(query);
    sqlite3_finalize(mark);
    ExecC(db, "COMMIT");
    sqlite3_close(db);
    return textBytes > 0 ? rows : 0;
}

// How kibic-cli reaches the database: SQLite directly, through SQLite's ODBC driver, or on the Access path
// through the Jet stand-in registered by the build's own odbcinst.ini.
enum class CliBackend { Sqlite, Odbc, Access };

QProcessEnvironment EnvironmentOf(CliBackend backend)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("KIBIC_DB_BACKEND"));
    if (backend == CliBackend::Odbc)
        environment.insert(QStringLiteral("KIBIC_DB_BACKEND"), QStringLiteral("odbc"));
#ifdef KIBIC_JET_ODBCINST_DIR
    if (backend == CliBackend::Access) {
        environment.insert(QStringLiteral("KIBIC_DB_BACKEND"), QStringLiteral("access"));
        environment.insert(QStringLiteral("ODBCSYSINI"), QStringLiteral(KIBIC_JET_ODBCINST_DIR));
        environment.insert(QStringLiteral("ODBCINSTINI"), QStringLiteral("odbcinst.ini"));
    }
#endif
    return environment;
}

// "kibic-cli transfer" on the database, as a whole process; a failure ends the bench.
void RunCliTransfer(const QString& file, CliBackend backend = CliBackend::Sqlite)
{
    QProcess cli;
    cli.setProcessEnvironment(EnvironmentOf(backend));
    cli.start(QStringLiteral(KIBIC_CLI_PROGRAM), { QStringLiteral("transfer"), file });
    if (!cli.waitForFinished(600000) || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0)
        throw KibicError(QStringLiteral("bench: kibic-cli transfer failed: ") + QString::fromLocal8Bit(cli.readAllStandardError()));
}

void RunCliHands(const QString& file, const QString& pbn)
{
    QProcess cli;
    cli.start(QStringLiteral(KIBIC_CLI_PROGRAM), { QStringLiteral("hands"), file, pbn });
    if (!cli.waitForFinished(600000) || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0)
        throw KibicError(
            QStringLiteral("bench: kibic-cli hands failed: ") + QString::fromLocal8Bit(cli.readAllStandardError()));
}

void WriteFile(const QString& name, const QString& text)
{
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        throw KibicError(QStringLiteral("bench: cannot write ") + name);
}

// The floor of loading deals: the HandRecord rows of every section inserted in one transaction.
void FloorHands(const QString& file, const DealsToLoad& deals)
{
    RawDatabase raw(file);
    raw.Exec(QStringLiteral("DELETE FROM [HandRecord]"));
    raw.Exec(QStringLiteral("BEGIN IMMEDIATE"));
    QSqlQuery insert(raw.Db());
    insert.prepare(QStringLiteral("INSERT INTO [HandRecord] VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (const DealMatch::Row& row : deals.Match.Rows) {
        const Deal& deal = deals.Deals[row.DealIndex];
        insert.addBindValue(row.Board.Section);
        insert.addBindValue(row.Board.Board);
        for (const Seat seat : kSeats)
            for (const Suit suit : kSuits)
                insert.addBindValue(HoldingText(deal.HoldingOf(seat, suit)));
        if (!insert.exec())
            throw KibicError(QStringLiteral("bench: the floor's insert failed"));
    }
    raw.Exec(QStringLiteral("COMMIT"));
}

void Report(const char* name, const std::vector<double>& ours, const std::vector<double>& floor)
{
    const double median = Median(ours);
    const double floorMedian = Median(floor);
    std::printf("bench\t%s\t%.1f\t%.1f\t%.2f\n", name, median, floorMedian, floorMedian > 0 ? median / floorMedian : 0.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    // KIBIC_BENCH_KEEP=1 keeps the tournament's files, to look at one pass of kibic-cli on them.
    if (qEnvironmentVariableIsSet("KIBIC_BENCH_KEEP")) {
        dir.setAutoRemove(false);
        std::fprintf(stderr, "bench: the files stay in %s\n", qPrintable(dir.path()));
    }
    const QString base = dir.filePath(QStringLiteral("large"));
    TournamentModel model = LargeTournament(base);
    const QString file = base + QStringLiteral(".bws");
    ScriptedOperator quiet(ModalResult::Yes);
    TScoreProvider scorer;

    try {
        // (d) the build, first: it makes the database the passes run on. The fill alone, into tables
        // already made, against the same rows inserted raw.
        std::vector<double> build;
        std::vector<double> buildFloor;
        std::vector<double> fill;
        std::vector<double> fillFloor;
        const QString floorFile = dir.filePath(QStringLiteral("floor.bws"));
        const QString fillFile = dir.filePath(QStringLiteral("fill.bws"));
        for (int run = 0; run < kRuns; ++run) {
            (void)RemoveDatabaseFile(fillFile);
            QString creation;
            CreateBWS(fillFile, false, false, creation);
            if (!creation.isEmpty())
                throw KibicError(QStringLiteral("bench: ") + creation);
            fill.push_back(TimeMs([&] { FillScoringDatabase(model, fillFile); }));
            FloorTables(floorFile);
            fillFloor.push_back(TimeMs([&] { FloorRows(model, floorFile, FloorCommits::PerTable); }));

            QFile::remove(file);
            build.push_back(TimeMs([&] {
                if (!BuildScoringDatabase(model, quiet))
                    throw KibicError(QStringLiteral("bench: the build failed: ") + quiet.Messages.join(QLatin1Char(' ')));
            }));
            buildFloor.push_back(TimeMs([&] { FloorBuild(model, floorFile); }));
        }

        WriteEmptyResultFiles(model);
        AppendReceivedScores(model, file);
        TTable recTable(ScoringConnectionString(file), QStringLiteral("ReceivedData"));
        TTable rdaTable(ScoringConnectionString(file), QStringLiteral("RoundData"));
        MemoryGrid grid(model.BoardCount + 1, model.GridTableCount + 1);
        PassFeedback feedback;
        auto pass = [&] { return TransferResults(model, recTable, rdaTable, grid, scorer, feedback); };

        std::vector<double> first, firstFloor, idle, idleFloor, incremental, incrementalFloor;
        for (int run = 0; run < kRuns; ++run) {
            SetAllMarks(file, 0);
            PassCounts counts;
            first.push_back(TimeMs([&] { counts = pass(); }));
            if (counts.Placed != kSections * kTables * kRounds * kBoardsPerRound)
                throw KibicError(QStringLiteral("bench: the first pass placed %1 scores").arg(counts.Placed));
            SetAllMarks(file, 0);
            firstFloor.push_back(TimeMs([&] { (void)FloorPass(model, file); }));

            idle.push_back(TimeMs([&] { counts = pass(); }));
            idleFloor.push_back(TimeMs([&] { (void)FloorPass(model, file); }));

            ClearMarksOfLastRows(file, kIncrementalRows);
            incremental.push_back(TimeMs([&] { counts = pass(); }));
            if (counts.Placed != kIncrementalRows)
                throw KibicError(QStringLiteral("bench: the incremental pass placed %1 scores").arg(counts.Placed));
            ClearMarksOfLastRows(file, kIncrementalRows);
            incrementalFloor.push_back(TimeMs([&] { (void)FloorPass(model, file); }));
        }
        Report("first-pass", first, firstFloor);
        Report("idle-pass", idle, idleFloor);
        Report("incremental-pass", incremental, incrementalFloor);
        Report("build", build, buildFloor);
        Report("fill", fill, fillFloor);

        // The first pass as the director's command runs it, against the floor of the C API.
        WriteDescription(model);
        std::vector<double> cli, cliFloor;
        for (int run = 0; run < kRuns; ++run) {
            SetAllMarks(file, 0);
            cli.push_back(TimeMs([&] { RunCliTransfer(file); }));
            SetAllMarks(file, 0);
            int floorRows = 0;
            cliFloor.push_back(TimeMs([&] { floorRows = FloorPassC(model, file); }));
            if (floorRows != kSections * kTables * kRounds * kBoardsPerRound)
                throw KibicError(QStringLiteral("bench: the C floor handled %1 scores").arg(floorRows));
        }
        Report("first-pass-c", cli, cliFloor);

        // The same process through Kibic's ODBC layer: SQLite's ODBC driver and the Jet stand-in, in turn with
        // SQLite directly, so that the ratios come from one run.
        std::vector<double> direct, odbc, access;
        for (int run = 0; run < kRuns; ++run) {
            for (const auto& [backend, times] : { std::pair { CliBackend::Sqlite, &direct },
                     std::pair { CliBackend::Odbc, &odbc }, std::pair { CliBackend::Access, &access } }) {
#ifndef KIBIC_JET_ODBCINST_DIR
                if (backend == CliBackend::Access)
                    continue;
#endif
                SetAllMarks(file, 0);
                times->push_back(TimeMs([&] { RunCliTransfer(file, backend); }));
            }
        }
        Report("first-pass-odbc", odbc, direct);
        if (!access.empty())
            Report("first-pass-access", access, direct);

        // The deals: all 60 boards of the tournament into every section, without the analysis; then the
        // director's command on a session of 36 of them, with it.
        const QString pbn = dir.filePath(QStringLiteral("rozdania.pbn"));
        WriteFile(pbn, bench::ShuffledDealsPbn(model.BoardCount));
        std::vector<double> hands, handsFloor;
        for (int run = 0; run < kRuns; ++run) {
            DealsToLoad deals;
            hands.push_back(TimeMs([&] {
                deals = PrepareDeals(model, file, pbn);
                StoreDeals(deals, nullptr);
            }));
            if (deals.Match.Rows.size() != std::size_t(kSections) * model.BoardCount)
                throw KibicError(QStringLiteral("bench: %1 deals were loaded").arg(deals.Match.Rows.size()));
            handsFloor.push_back(TimeMs([&] { FloorHands(file, deals); }));
        }
        Report("hands-load", hands, handsFloor);
        const QString session = dir.filePath(QStringLiteral("sesja.pbn"));
        WriteFile(session, bench::ShuffledDealsPbn(36));
        std::vector<double> analysis;
        for (int run = 0; run < kRuns; ++run)
            analysis.push_back(TimeMs([&] { RunCliHands(file, session); }));
        Report("hands-36", analysis, { 0.0 });

        // The first pass as the window runs it, into a grid that keeps what each cell stands for (reading each
        // result for the check as it keeps it, and checking the grid with the field alone at its end), against the
        // first pass into a plain grid. Then the check of results over the whole grid as that pass left it: with the
        // field alone, then with the deals of the analysed session, each against the window's first pass. Each run
        // checks a copy of that grid.
        const SessionDeals sessionDeals = ReadSessionDeals(file);
        MemoryGrid kept(model.BoardCount + 1, model.GridTableCount + 1, true);
        std::vector<double> firstKept;
        for (int run = 0; run < kRuns; ++run) {
            SetAllMarks(file, 0);
            kept = MemoryGrid(model.BoardCount + 1, model.GridTableCount + 1, true);
            firstKept.push_back(TimeMs([&] { (void)TransferResults(model, recTable, rdaTable, kept, scorer, feedback); }));
        }
        Report("first-pass-kept", firstKept, first);
        std::vector<double> checkField, checkDeals;
        qint32 suspicious = 0;
        // The check takes milliseconds: more runs than the passes, for a steadier median.
        for (int run = 0; run < 4 * kRuns; ++run) {
            for (const auto& [deals, times] : { std::pair { static_cast<const SessionDeals*>(nullptr), &checkField },
                     std::pair { &sessionDeals, &checkDeals } }) {
                MemoryGrid passed = kept;
                times->push_back(TimeMs([&] { suspicious = CheckGrid(passed, std::nullopt, deals, scorer); }));
            }
        }
        Report("check-field", checkField, firstKept);
        Report("check-deals", checkDeals, firstKept);
        // What the window's pass spends reading the results for the check as it keeps them.
        std::vector<double> reading;
        qint64 readScores = 0;
        for (int run = 0; run < 4 * kRuns; ++run) {
            reading.push_back(TimeMs([&] {
                for (int column = 1; column < kept.ColumnCount(); ++column) {
                    for (int row = 1; row < kept.RowCount(); ++row) {
                        if (const CellEntry* entry = kept.EntryAt(column, row))
                            readScores += ReadPlay(entry->Received, scorer).NsScore;
                    }
                }
            }));
        }
        Report("check-read", reading, firstKept);
        std::fprintf(stderr, "check: %d deals, %d suspicious cells of the bench's random scores (scores read: %lld)\n",
            int(sessionDeals.Size()), suspicious, static_cast<long long>(readScores));
        std::fprintf(stderr, "analysis by %s\n", qPrintable(MakeDdsSolver()->Description()));
        std::fprintf(stderr,
            "targets: first-pass %.2f <= 2; first-pass-c %.2f <= 2; build %.2f <= 2; fill %.2f <= 2; idle-pass %.1f%% "
            "and incremental-pass %.1f%% of first-pass <= 5%%; hands-load %.0f ms < 1000; hands-36 %.0f ms <= 5000; "
            "check-field %.1f%% and check-deals %.1f%% of first-pass-kept <= 5%%\n",
            Median(first) / Median(firstFloor), Median(cli) / Median(cliFloor), Median(build) / Median(buildFloor),
            Median(fill) / Median(fillFloor), 100.0 * Median(idle) / Median(first),
            100.0 * Median(incremental) / Median(first), Median(hands), Median(analysis),
            100.0 * Median(checkField) / Median(firstKept), 100.0 * Median(checkDeals) / Median(firstKept));
    } catch (const KibicError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
