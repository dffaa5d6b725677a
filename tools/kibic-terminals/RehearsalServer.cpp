// Writing the rehearsal's rows into the scoring database, shared with Kibic.
#include "RehearsalServer.h"

#include "common/KibicError.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTime>
#include <algorithm>
#include <thread>

namespace kibic::terminals {

namespace {

const QString kInsertReceived = QStringLiteral(
    "INSERT INTO [ReceivedData] ([Section],[Table],[Round],[Board],[PairNS],[PairEW],[Declarer],[NS/EW],"
    "[Contract],[Result],[LeadCard],[Remarks],[DateLog],[TimeLog],[Erased]) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
const QString kUpdateTable
    = QStringLiteral("UPDATE [Tables] SET [CurrentRound]=?,[CurrentBoard]=? WHERE [Section]=? AND [Table]=?");
const QString kUpdateSeat = QStringLiteral(
    "UPDATE [PlayerNumbers] SET [Number]=?,[Updated]=? WHERE [Section]=? AND [Table]=? AND [Direction]=?");
const QString kInsertSeat = QStringLiteral(
    "INSERT INTO [PlayerNumbers] ([Section],[Table],[Direction],[Number],[Updated]) VALUES (?,?,?,?,?)");

QVariant Flag(const DbConnection& db, bool value)
{
    if (db.Dialect() == SqlDialect::Sqlite)
        return QVariant(value ? 1 : 0);
    return QVariant(value);
}

QString RowPlace(const ReceivedRow& row)
{
    return QStringLiteral("sektor %1, stół %2, runda %3, rozdanie %4")
        .arg(row.Section)
        .arg(row.Table)
        .arg(row.Round)
        .arg(row.Board);
}

QString RateText(const RehearsalOptions& options)
{
    if (options.Once)
        return QStringLiteral("bez czekania (--once)");
    const double rate = options.RowsPerSecond;
    if (rate <= 1000000.0 && rate == static_cast<double>(static_cast<int>(rate)))
        return RowCountText(static_cast<int>(rate)) + QStringLiteral(" na sekundę");
    return QString::number(rate, 'g', 6) + QStringLiteral(" wiersza na sekundę");
}

} // namespace

QString RowCountText(int count)
{
    const int lastTwo = count % 100;
    const int last = count % 10;
    QString word = QStringLiteral("wierszy");
    if (count == 1)
        word = QStringLiteral("wiersz");
    else if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
        word = QStringLiteral("wiersze");
    return QString::number(count) + QLatin1Char(' ') + word;
}

QString MistakesListFile(const RehearsalOptions& options)
{
    if (!options.MistakesFile.isEmpty())
        return options.MistakesFile;
    const QFileInfo database(options.DatabaseFile);
    return database.dir().filePath(database.completeBaseName() + QStringLiteral("-pomylki.txt"));
}

WriteOutcome WriteWhileBusy(const std::function<void()>& attempt, const std::function<bool()>& abandon,
    const std::function<void(const QString&)>& waiting, std::chrono::milliseconds pause)
{
    bool told = false;
    for (;;) {
        try {
            attempt();
            return WriteOutcome::Written;
        } catch (const KibicError& error) {
            if (!error.Busy())
                throw;
            if (!told) {
                waiting(error.Message());
                told = true;
            }
        }
        if (abandon())
            return WriteOutcome::Abandoned;
        std::this_thread::sleep_for(pause);
        if (abandon())
            return WriteOutcome::Abandoned;
    }
}

RehearsalServer::RehearsalServer(RehearsalOptions options, std::function<int()> stopRequests,
    std::function<void(const QString&)> print, std::function<void(const QString&)> printError)
    : m_options(std::move(options))
    , m_stopRequests(std::move(stopRequests))
    , m_print(std::move(print))
    , m_printError(std::move(printError))
{
}

RehearsalServer::~RehearsalServer() = default;

DbConnection& RehearsalServer::Connection()
{
    if (!m_connection)
        m_connection = std::make_unique<DbConnection>(ScoringConnectionString(m_options.DatabaseFile));
    return *m_connection;
}

void RehearsalServer::Transaction(const std::function<void(DbConnection&)>& work)
{
    try {
        DbConnection& db = Connection();
        db.BeginTransaction();
        work(db);
        db.CommitTransaction();
    } catch (...) {
        // A fresh connection for the next try; closing this one rolls back what it began.
        m_connection.reset();
        throw;
    }
}

bool RehearsalServer::Write(const QString& what, const std::function<void(DbConnection&)>& work)
{
    const WriteOutcome outcome = WriteWhileBusy([&] { Transaction(work); }, [&] { return GivingUp(); },
        [&](const QString& failure) {
            m_print(QStringLiteral("Baza jest zajęta przez inny program, czekam i zapisuję ponownie (%1): %2")
                        .arg(what, failure));
        },
        kRetryPause);
    if (outcome == WriteOutcome::Abandoned) {
        m_printError(QStringLiteral("Nie zapisano do bazy %1 (%2): baza była zajęta, a praca została przerwana.")
                         .arg(m_options.DatabaseFile, what));
        return false;
    }
    return true;
}

void RehearsalServer::WriteReceivedRow(DbConnection& db, const ReceivedRow& row)
{
    const bool sqlite = db.Dialect() == SqlDialect::Sqlite;
    const QDate today = QDate::currentDate();
    const QTime now = QTime::currentTime();
    const QTime second(now.hour(), now.minute(), now.second());
    const QVariantList values = { row.Section, row.Table, row.Round, row.Board, row.PairNS, row.PairEW, row.Declarer,
        row.Keyed.Declarer, row.Keyed.Contract, row.Keyed.Result, row.Keyed.LeadCard, row.Keyed.Remarks,
        sqlite ? QVariant(today.toString(Qt::ISODate)) : QVariant(today),
        sqlite ? QVariant(second.toString(QStringLiteral("HH:mm:ss"))) : QVariant(second), Flag(db, row.Erased) };
    (void)db.Execute(kInsertReceived, values);
    if (m_layout.TablesHaveCurrentRound)
        (void)db.Execute(kUpdateTable, { row.Round, row.Board, row.Section, row.Table });
}

void RehearsalServer::FillPlayerNumbers()
{
    const std::vector<SeatIdentifier> seats = PlanIdentifiers(m_layout, m_options.Seed);
    int keyed = 0;
    for (const ServedTable& table : m_layout.Tables) {
        std::vector<SeatIdentifier> atTable;
        for (const SeatIdentifier& seat : seats) {
            if (seat.Section == table.Section && seat.Table == table.Table && seat.Kind != IdentifierKind::Missing)
                atTable.push_back(seat);
        }
        if (atTable.empty())
            continue;
        const QString what = QStringLiteral("identyfikatory, sektor %1, stół %2").arg(table.Section).arg(table.Table);
        const bool written = Write(what, [&](DbConnection& db) {
            for (const SeatIdentifier& seat : atTable) {
                const int changed = db.Execute(
                    kUpdateSeat, { seat.Number, Flag(db, true), seat.Section, seat.Table, seat.Direction });
                if (changed == 0)
                    (void)db.Execute(
                        kInsertSeat, { seat.Section, seat.Table, seat.Direction, seat.Number, Flag(db, true) });
            }
        });
        if (!written)
            throw KibicError(QStringLiteral("Nie wpisano identyfikatorów zawodników do tabeli PlayerNumbers bazy %1.")
                                 .arg(m_options.DatabaseFile));
        keyed += static_cast<int>(atTable.size());
        if (Stopping())
            break;
    }
    m_print(
        QStringLiteral("Identyfikatory zawodników: wpisano %1 z %2 miejsc przy stołach.").arg(keyed).arg(seats.size()));
}

bool RehearsalServer::WaitForTurn()
{
    if (m_options.Once)
        return !Stopping();
    while (std::chrono::steady_clock::now() < m_nextDue) {
        if (Stopping())
            return false;
        const auto left = m_nextDue - std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(20)));
    }
    return !Stopping();
}

QString RehearsalServer::Finished(const QString& how) const
{
    QString text = QStringLiteral("%1: zapisano %2 w ReceivedData (wyniki: %3, skreślenia: %4, ponowne wpisy: %5")
                       .arg(how, RowCountText(m_total.Rows()))
                       .arg(m_total.Results)
                       .arg(m_total.Erasures)
                       .arg(m_total.ReEntries);
    if (!m_mistakesFile.isEmpty())
        text += QStringLiteral(", pomyłki: %1 w pliku %2").arg(m_mistakes.size()).arg(m_mistakesFile);
    return text + QStringLiteral(").");
}

void RehearsalServer::WriteMistakesList() const
{
    QSaveFile file(m_mistakesFile);
    QByteArray text;
    for (const QString& line : m_mistakes)
        text += line.toUtf8() + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw KibicError(
            QStringLiteral("Nie zapisano listy pomyłek do pliku %1: %2").arg(m_mistakesFile, file.errorString()));
}

int RehearsalServer::Run()
{
    try {
        bool read = false;
        const WriteOutcome outcome = WriteWhileBusy(
            [&] {
                m_layout = ReadScoringLayout(m_options.DatabaseFile);
                read = true;
            },
            [&] { return Stopping(); },
            [&](const QString& failure) {
                m_print(QStringLiteral("Baza jest zajęta przez inny program, czekam z odczytem: %1").arg(failure));
            },
            kRetryPause);
        if (outcome == WriteOutcome::Abandoned || !read) {
            m_print(Finished(QStringLiteral("Zatrzymano")));
            return 0;
        }

        std::vector<int> rounds = m_layout.Rounds;
        if (m_options.LastRound > 0)
            std::erase_if(rounds, [&](int round) { return round > m_options.LastRound; });
        m_print(QStringLiteral("Serwer próbny pierniczków: baza %1; stołów: %2, rund: %3, ziarno: %4, tempo: %5.")
                    .arg(m_options.DatabaseFile)
                    .arg(m_layout.Tables.size())
                    .arg(rounds.size())
                    .arg(m_options.Seed)
                    .arg(RateText(m_options)));
        if (m_layout.IgnoredSeatings > 0)
            m_print(QStringLiteral("Pominięto wierszy RoundData: %1 (stołu nie ma w Tables, runda poniżej 1 albo "
                                   "powtórzony stół w tej samej rundzie).")
                        .arg(m_layout.IgnoredSeatings));
        if (m_layout.Seatings.empty())
            m_print(QStringLiteral("W RoundData bazy %1 nie ma rund do rozegrania.").arg(m_options.DatabaseFile));

        if (m_options.MistakeRate > 0.0) {
            m_mistakesFile = MistakesListFile(m_options);
            WriteMistakesList();
            m_print(QStringLiteral("Pomyłki przy wpisywaniu wyników (--mistakes %1): lista w pliku %2.")
                        .arg(m_options.MistakeRate)
                        .arg(m_mistakesFile));
        }

        if (m_layout.Settings.MemberNumbers && !m_layout.Seatings.empty())
            FillPlayerNumbers();

        const std::chrono::duration<double> interval(1.0 / m_options.RowsPerSecond);
        m_nextDue = std::chrono::steady_clock::now();
        const int lastRound = rounds.empty() ? 0 : m_layout.Rounds.back();
        for (const int round : rounds) {
            Counts counts;
            for (const ReceivedRow& row : PlanRound(m_layout, round, m_options)) {
                if (!WaitForTurn()) {
                    if (!m_mistakesFile.isEmpty())
                        WriteMistakesList();
                    m_print(Finished(QStringLiteral("Zatrzymano")));
                    return 0;
                }
                if (!Write(RowPlace(row), [&](DbConnection& db) { WriteReceivedRow(db, row); })) {
                    if (!m_mistakesFile.isEmpty())
                        WriteMistakesList();
                    return 1;
                }
                counts.Add(row.Kind);
                m_total.Add(row.Kind);
                if (row.Mistake)
                    m_mistakes << PlantedMistakeLine(row);
                const auto now = std::chrono::steady_clock::now();
                m_nextDue = std::max(
                    m_nextDue + std::chrono::duration_cast<std::chrono::steady_clock::duration>(interval), now);
            }
            if (!m_mistakesFile.isEmpty())
                WriteMistakesList();
            m_print(QStringLiteral("Runda %1 z %2: zapisano %3 (wyniki: %4, skreślenia: %5, ponowne wpisy: %6).")
                        .arg(round)
                        .arg(lastRound)
                        .arg(RowCountText(counts.Rows()))
                        .arg(counts.Results)
                        .arg(counts.Erasures)
                        .arg(counts.ReEntries));
        }
        m_print(Finished(QStringLiteral("Koniec")));
        return 0;
    } catch (const KibicError& error) {
        m_printError(error.Message());
        m_printError(Finished(QStringLiteral("Przerwano")));
        return 1;
    }
}

} // namespace kibic::terminals
