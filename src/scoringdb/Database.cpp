// Connections to scoring databases: SQLite through Qt Sql, SQLite and Access through Kibic's ODBC layer.
#include "scoringdb/Database.h"

#include "common/KibicError.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/DatabaseFailures.h"
#include "scoringdb/Odbc.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <atomic>
#include <limits>
#include <mutex>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dlfcn.h>
#include <sys/stat.h>
#endif

struct sqlite3;

namespace kibic {

namespace {

std::atomic<int> g_openedConnections { 0 };

QString NewConnectionName()
{
    static std::atomic<int> counter { 0 };
    return QStringLiteral("kibic-db-%1").arg(++counter);
}

QString ProviderText(const QSqlError& error)
{
    QString text = error.text().trimmed();
    if (text.isEmpty())
        text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("nieznany błąd bazy danych");
    return text;
}

bool BackendChosen(QStringView name)
{
    return qEnvironmentVariable("KIBIC_DB_BACKEND").compare(name, Qt::CaseInsensitive) == 0;
}

// A statement that failed: what the driver said, before it is known whether to try again.
struct StatementError
{
    QList<DriverDiagnostic> Records;
    QString Text;
};

StatementError ErrorOf(const QSqlError& error)
{
    return { { DriverDiagnostic { QString(), error.nativeErrorCode().toLongLong(), ProviderText(error) } },
        ProviderText(error) };
}

StatementError ErrorOf(const odbc::CallFailure& failure)
{
    return { failure.Records(), failure.Text() };
}

// A value as the file keeps it: a flag as Jet's Yes -1 / No 0, or SQLite's 1 / 0.
QVariant AsKept(const QVariant& value, SqlDialect dialect)
{
    if (value.typeId() != QMetaType::Bool)
        return value;
    if (value.isNull())
        return QVariant(QMetaType::fromType<int>());
    return QVariant(value.toBool() ? (dialect == SqlDialect::Access ? -1 : 1) : 0);
}

// The busy handler of a SQLite handle, reached in the SQLite library that Qt's plugin loaded. Only where
// that library is already in the process (never a second copy of SQLite on the same handle); elsewhere
// SQLite's own busy timeout stays in charge.
using BusyHandlerFunction = int (*)(sqlite3*, int (*)(void*, int), void*);

BusyHandlerFunction SqliteBusyHandlerFunction()
{
#ifdef Q_OS_UNIX
    static const BusyHandlerFunction function = []() -> BusyHandlerFunction {
        for (const char* name : { "libsqlite3.so.0", "libsqlite3.so", "libsqlite3.dylib" }) {
            if (void* library = dlopen(name, RTLD_NOW | RTLD_NOLOAD))
                return reinterpret_cast<BusyHandlerFunction>(dlsym(library, "sqlite3_busy_handler"));
        }
        return nullptr;
    }();
    return function;
#else
    return nullptr;
#endif
}

std::function<void(const QString&)>& Observer()
{
    static std::function<void(const QString&)> observer;
    return observer;
}

// When this program last committed a write transaction on each file.
struct CommitTimes
{
    std::mutex Lock;
    QElapsedTimer Clock;
    QHash<QString, qint64> LastCommitUs;
};

CommitTimes& Commits()
{
    static CommitTimes commits;
    static std::once_flag started;
    std::call_once(started, [] { commits.Clock.start(); });
    return commits;
}

qint64 MicrosecondsSinceLastCommit(const QString& fileName)
{
    CommitTimes& commits = Commits();
    const std::lock_guard<std::mutex> guard(commits.Lock);
    const auto found = commits.LastCommitUs.constFind(fileName);
    if (found == commits.LastCommitUs.constEnd())
        return std::numeric_limits<qint64>::max();
    return commits.Clock.nsecsElapsed() / 1000 - found.value();
}

void NoteCommit(const QString& fileName)
{
    CommitTimes& commits = Commits();
    const std::lock_guard<std::mutex> guard(commits.Lock);
    // A handful of files per run; a long-running program that opens many cannot fill memory.
    if (commits.LastCommitUs.size() >= 64)
        commits.LastCommitUs.clear();
    commits.LastCommitUs.insert(fileName, commits.Clock.nsecsElapsed() / 1000);
}

// Why a file that exists cannot be read: a folder in its place, or the system's own text.
QString UnreadableReason(const QString& path)
{
    if (QFileInfo(path).isDir())
        return QStringLiteral("w jego miejscu jest folder");
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        return QStringLiteral("odczyt się nie powiódł");
    return file.errorString();
}

// What tells one file from another of the same name made later: its volume and file number.
QString FileIdentity(const QString& path)
{
#ifdef Q_OS_WIN
    const HANDLE file = CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()), 0,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION information {};
    const bool known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    if (!known)
        return {};
    return QStringLiteral("%1:%2:%3")
        .arg(information.dwVolumeSerialNumber)
        .arg(information.nFileIndexHigh)
        .arg(information.nFileIndexLow);
#else
    struct stat status {};
    if (stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return QStringLiteral("%1:%2").arg(status.st_dev).arg(status.st_ino);
#endif
}

QString ConnectionKey(const QString& connectionString)
{
    const QString path = QFileInfo(DataSourceOf(connectionString)).absoluteFilePath();
#ifdef Q_OS_WIN
    return path.toLower();
#else
    return path;
#endif
}

} // namespace

void SetStatementObserver(std::function<void(const QString& sql)> observer)
{
    Observer() = std::move(observer);
}

// A statement prepared once on a connection and executed again with new values.
class DbConnection::Prepared : public DbRows
{
public:
    explicit Prepared(const DbConnection& owner)
        : m_owner(owner)
    {
    }
    // Raises StatementError.
    virtual void Execute(const QVariantList& values) = 0;
    void SetOperation(const QString& operation) { m_operation = operation; }

protected:
    [[noreturn]] void FailWhileReading(const StatementError& error) const
    {
        throw m_owner.DriverFailure(m_operation, error.Records, error.Text);
    }

    const DbConnection& m_owner;
    QString m_operation;
};

namespace {

class SqlitePrepared : public DbConnection::Prepared
{
public:
    SqlitePrepared(const DbConnection& owner, const QSqlDatabase& database, const QString& sql)
        : Prepared(owner)
        , m_query(database)
    {
        m_query.setForwardOnly(true);
        if (!m_query.prepare(sql))
            throw ErrorOf(m_query.lastError());
    }

    void Execute(const QVariantList& values) override
    {
        for (int i = 0; i < values.size(); ++i)
            m_query.bindValue(i, values.at(i));
        if (!m_query.exec()) {
            StatementError error = ErrorOf(m_query.lastError());
            m_query.finish();
            throw error;
        }
        m_record = m_query.record();
    }

    int ColumnCount() const override { return m_record.count(); }
    QString ColumnName(int column) const override { return m_record.fieldName(column); }
    bool Next() override
    {
        if (m_query.next())
            return true;
        if (m_query.lastError().isValid())
            FailWhileReading(ErrorOf(m_query.lastError()));
        return false;
    }
    QVariant Value(int column) const override { return m_query.value(column); }
    int RowsAffected() const override { return m_query.numRowsAffected(); }
    QVariant InsertedId() const override { return m_query.lastInsertId(); }
    void Finish() override { m_query.finish(); }

private:
    QSqlQuery m_query;
    QSqlRecord m_record;
};

class OdbcPrepared : public DbConnection::Prepared
{
public:
    OdbcPrepared(const DbConnection& owner, odbc::Connection& connection, const QString& sql)
        : Prepared(owner)
    {
        try {
            m_statement = std::make_unique<odbc::Statement>(connection, sql);
        } catch (const odbc::CallFailure& failure) {
            throw ErrorOf(failure);
        }
    }

    void Execute(const QVariantList& values) override
    {
        try {
            m_statement->Execute(values);
        } catch (const odbc::CallFailure& failure) {
            m_statement->Close();
            throw ErrorOf(failure);
        }
    }

    int ColumnCount() const override { return static_cast<int>(m_statement->Columns().size()); }
    QString ColumnName(int column) const override
    {
        return m_statement->Columns().at(static_cast<std::size_t>(column)).Name;
    }
    bool Next() override
    {
        try {
            return m_statement->Fetch(m_row);
        } catch (const odbc::CallFailure& failure) {
            m_statement->Close();
            FailWhileReading(ErrorOf(failure));
        }
    }
    QVariant Value(int column) const override { return m_row.value(column); }
    int RowsAffected() const override { return static_cast<int>(m_statement->RowsAffected()); }
    void Finish() override { m_statement->Close(); }

private:
    std::unique_ptr<odbc::Statement> m_statement;
    QVariantList m_row;
};

} // namespace

struct DbConnection::BusyWait
{
    LockRetry Retry { kBusyTimeoutMs, static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()) };
    QElapsedTimer Clock;

    static int Handler(void* data, int count)
    {
        auto* wait = static_cast<BusyWait*>(data);
        if (count == 0) {
            wait->Retry = LockRetry(
                kBusyTimeoutMs, static_cast<quint32>(wait->Clock.isValid() ? wait->Clock.nsecsElapsed() : 7));
            wait->Clock.start();
        }
        const int pause = wait->Retry.NextPauseMs(wait->Clock.elapsed());
        if (pause < 0)
            return 0;
        QThread::msleep(static_cast<unsigned long>(pause));
        return 1;
    }
};

QString ChooseAccessDriver(const QStringList& installedDrivers)
{
    for (const QStringView wanted : { kJetOdbcDriver, kAceOdbcDriver }) {
        for (const QString& installed : installedDrivers) {
            if (installed.trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
                return wanted.toString();
        }
    }
    return {};
}

QStringList InstalledOdbcDrivers()
{
    return odbc::InstalledDrivers();
}

QString AccessDriver()
{
    static std::once_flag once;
    static QString driver;
    std::call_once(once, [] { driver = ChooseAccessDriver(InstalledOdbcDrivers()); });
    return driver;
}

QString AccessCreationAttributes(const QString& path)
{
    return QStringLiteral("CREATE_DBV4=\"%1\" General").arg(path) + QChar(0) + QChar(0);
}

QString AccessConnectionString(const QString& driver, const QString& path)
{
    return QStringLiteral("DRIVER={%1};DBQ=%2;ExtendedAnsiSQL=1")
        .arg(driver, odbc::BracedValue(QDir::toNativeSeparators(path)));
}

LockRetry::LockRetry(int limitMs, quint32 seed)
    : m_limitMs(limitMs)
    , m_state(seed == 0 ? 0x9E3779B9u : seed)
{
}

int LockRetry::NextPauseMs(qint64 elapsedMs)
{
    if (elapsedMs >= m_limitMs)
        return -1;
    // xorshift32: a cheap jitter, different for every waiting connection.
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    const int span = kLongestPauseMs - kShortestPauseMs + 1;
    const int pause = kShortestPauseMs + static_cast<int>(m_state % static_cast<quint32>(span));
    return static_cast<int>(qMin<qint64>(pause, m_limitMs - elapsedMs));
}

DatabaseFormat DetectDatabaseFormat(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return DatabaseFormat::Missing;
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return DatabaseFormat::Unreadable;
    const QByteArray head = file.read(32);
    if (head.isEmpty() || head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return DatabaseFormat::Sqlite;
    const QByteArray signature = head.mid(4, 15);
    if (signature == "Standard Jet DB" || signature == "Standard ACE DB")
        return DatabaseFormat::Jet;
    return DatabaseFormat::Unknown;
}

bool AccessDriverAvailable()
{
    return !AccessDriver().isEmpty();
}

bool CreatesAccessFiles()
{
    if (BackendChosen(u"access"))
        return true;
#ifdef Q_OS_WIN
    return !BackendChosen(u"sqlite");
#else
    return false;
#endif
}

QString AccessFileUnreadableText(const QString& path)
{
    return QStringLiteral("Plik %1 jest bazą programu Access (Jet), a na tym komputerze nie ma sterownika ODBC "
                          "\"%2\" ani \"%3\", więc tego pliku nie można tu odczytać. Taki plik otwiera się w "
                          "systemie Windows, na którym działa serwer pierniczków.")
        .arg(path, kJetOdbcDriver, kAceOdbcDriver);
}

bool RemoveDatabaseFile(const QString& path)
{
    if (QFileInfo::exists(path) && !QFile::remove(path))
        return false;
    // Only once the file is gone: a journal of a file that stays is what keeps that file whole.
    for (const char* suffix : { "-journal", "-wal", "-shm" }) {
        const QString companion = path + QLatin1String(suffix);
        if (QFileInfo::exists(companion))
            QFile::remove(companion);
    }
    return true;
}

DbConnection::DbConnection(const QString& connectionString)
    : m_fileName(DataSourceOf(connectionString))
    , m_connectionName(NewConnectionName())
{
    switch (DetectDatabaseFormat(m_fileName)) {
    case DatabaseFormat::Missing:
        throw KibicError(QStringLiteral("Nie ma pliku bazy danych %1.").arg(m_fileName));
    case DatabaseFormat::Unknown:
        throw KibicError(QStringLiteral("Plik %1 nie jest bazą danych, którą Kibic umie otworzyć.").arg(m_fileName));
    case DatabaseFormat::Unreadable:
        throw KibicError(QStringLiteral("Nie można odczytać pliku bazy danych %1: %2")
                             .arg(m_fileName, UnreadableReason(m_fileName)));
    case DatabaseFormat::Jet:
        m_backend = DatabaseBackend::OdbcAccess;
        break;
    case DatabaseFormat::Sqlite:
        m_backend = BackendChosen(u"access") ? DatabaseBackend::OdbcAccess
            : BackendChosen(u"odbc")         ? DatabaseBackend::OdbcSqlite
                                             : DatabaseBackend::Sqlite;
        break;
    }
    if (m_backend == DatabaseBackend::OdbcAccess) {
        m_odbcDriver = AccessDriver();
        if (m_odbcDriver.isEmpty())
            throw KibicError(AccessFileUnreadableText(m_fileName));
        m_dialect = SqlDialect::Access;
    }
    Open();
}

void DbConnection::Open()
{
    if (m_backend != DatabaseBackend::Sqlite) {
        OpenOdbc();
        return;
    }
    m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_database.setDatabaseName(m_fileName);
    // SQLite's own growing sleeps wait only where our handler cannot be installed.
    m_database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!m_database.open()) {
        KibicError error = ProviderFailure(QStringLiteral("otwarcie"), m_database.lastError());
        m_database = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw error;
    }
    ++g_openedConnections;
    InstallBusyHandler();
}

void DbConnection::OpenOdbc()
{
    // Hardly any waiting inside the SQLite driver (0 would mean its default of 100 s): a locked statement
    // comes back at once and is tried again here, as a statement on an Access file is.
    const QString connectionString = m_backend == DatabaseBackend::OdbcAccess
        ? AccessConnectionString(m_odbcDriver, m_fileName)
        : QStringLiteral("DRIVER=SQLite3;Database=%1;Timeout=1;NoWCHAR=0").arg(m_fileName);
    // The other program may hold the file for a moment ("placed in a state that prevents it from being
    // opened or locked"): the opening is tried again like a locked statement.
    LockRetry retry(kBusyTimeoutMs, static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    QElapsedTimer waiting;
    for (;;) {
        try {
            m_odbc = std::make_unique<odbc::Connection>(connectionString);
            ++g_openedConnections;
            return;
        } catch (const odbc::CallFailure& failure) {
            KibicError error = DriverFailure(QStringLiteral("otwarcie"), failure.Records(), failure.Text());
            if (!error.Busy())
                throw error;
            if (!waiting.isValid())
                waiting.start();
            const int pause = retry.NextPauseMs(waiting.elapsed());
            if (pause < 0)
                throw error;
            QThread::msleep(static_cast<unsigned long>(pause));
        }
    }
}

void DbConnection::InstallBusyHandler()
{
    const BusyHandlerFunction setHandler = SqliteBusyHandlerFunction();
    const QVariant handle = m_database.driver()->handle();
    if (!setHandler || !handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    sqlite3* connection = *static_cast<sqlite3* const*>(handle.data());
    if (!connection)
        return;
    m_busyWait = std::make_unique<BusyWait>();
    setHandler(connection, &BusyWait::Handler, m_busyWait.get());
}

bool DbConnection::HasOwnBusyHandler() const
{
    return m_busyWait != nullptr;
}

int DbConnection::OpenedCount()
{
    return g_openedConnections.load();
}

DbConnection::~DbConnection()
{
    if (m_inTransaction) {
        try {
            RollbackTransaction();
        } catch (...) {
        }
    }
    m_statements.clear();
    m_odbc.reset();
    if (m_database.isValid())
        m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

void DbConnection::CreateDatabaseFile(const QString& path)
{
    if (QFileInfo::exists(path))
        throw KibicError(QStringLiteral("Plik bazy danych %1 już istnieje.").arg(path));
    if (CreatesAccessFiles()) {
        const QString driver = AccessDriver();
        const QString native = QDir::toNativeSeparators(path);
        if (driver.isEmpty())
            throw KibicError(QStringLiteral("Nie można utworzyć bazy danych %1: na tym komputerze nie ma sterownika "
                                            "ODBC \"%2\" (ani \"%3\"), a serwer pierniczków czyta tylko pliki Access.")
                                 .arg(native, kJetOdbcDriver, kAceOdbcDriver));
        const QStringList errors = odbc::ConfigureDataSource(driver, AccessCreationAttributes(native));
        if (!errors.isEmpty())
            throw KibicError(QStringLiteral("Nie można utworzyć bazy danych %1 (sterownik \"%2\"): %3")
                                 .arg(native, driver, errors.join(QStringLiteral("; "))));
        if (!QFileInfo::exists(path))
            throw KibicError(QStringLiteral("Nie można utworzyć bazy danych %1 (sterownik \"%2\"): sterownik "
                                            "zgłosił powodzenie, ale pliku nie ma.")
                                 .arg(native, driver));
        return;
    }
    const QString name = NewConnectionName();
    QString failure;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        database.setDatabaseName(path);
        if (!database.open()) {
            failure = ProviderText(database.lastError());
        } else {
            // Writing the user version makes SQLite put its header into the new file.
            QSqlQuery query(database);
            if (!query.exec(QStringLiteral("PRAGMA user_version = 1")))
                failure = ProviderText(query.lastError());
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!failure.isEmpty())
        throw KibicError(QStringLiteral("Nie można utworzyć bazy danych %1: %2").arg(path, failure));
}

QString DbConnection::Failure(const QString& operation, const QString& providerText) const
{
    return QStringLiteral("Błąd bazy danych %1 (%2): %3").arg(m_fileName, operation, providerText);
}

KibicError DbConnection::ProviderFailure(const QString& operation, const QSqlError& error) const
{
    const StatementError failure = ErrorOf(error);
    return DriverFailure(operation, failure.Records, failure.Text);
}

KibicError DbConnection::DriverFailure(
    const QString& operation, const QList<DriverDiagnostic>& records, const QString& text) const
{
    const DriverFamily family = m_backend == DatabaseBackend::OdbcAccess ? DriverFamily::Jet : DriverFamily::Sqlite;
    const bool held = ClassifyDatabaseFailure(family, records) == DatabaseFailureKind::Busy;
    // The driver's codes go into the message too: they are what the director sends back when a check fails.
    QString shown = text;
    if (!records.isEmpty() && !records.first().SqlState.isEmpty())
        shown += QStringLiteral(" [%1, %2]").arg(records.first().SqlState).arg(records.first().NativeCode);
    KibicError error(Failure(operation, shown), held ? FailureKind::DatabaseBusy : FailureKind::Failure, m_fileName);
    error.WithDiagnostics(records);
    return error;
}

bool DbConnection::Lost(const KibicError& error) const
{
    const DriverFamily family = m_backend == DatabaseBackend::OdbcAccess ? DriverFamily::Jet : DriverFamily::Sqlite;
    return m_backend != DatabaseBackend::Sqlite
        && ClassifyDatabaseFailure(family, error.Diagnostics()) == DatabaseFailureKind::ConnectionLost;
}

std::shared_ptr<DbConnection::Prepared> DbConnection::PreparedFor(const QString& sql)
{
    // A handful of texts per table object; a caller building texts without end cannot fill memory.
    constexpr qsizetype kMostStatements = 64;
    if (std::shared_ptr<Prepared> known = m_statements.value(sql))
        return known;
    if (m_statements.size() >= kMostStatements)
        m_statements.clear();
    std::shared_ptr<Prepared> prepared;
    if (m_backend == DatabaseBackend::Sqlite)
        prepared = std::make_shared<SqlitePrepared>(*this, m_database, sql);
    else
        prepared = std::make_shared<OdbcPrepared>(*this, *m_odbc, sql);
    m_statements.insert(sql, prepared);
    return prepared;
}

DbRows& DbConnection::RunPrepared(const QString& sql, const QVariantList& values, const QString& operation)
{
    QVariantList bound;
    bound.reserve(values.size());
    for (const QVariant& value : values)
        bound.append(AsKept(value, m_dialect));
    const QString named = operation.isEmpty() ? sql.left(60) : operation;
    LockRetry retry(kBusyTimeoutMs, static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    QElapsedTimer waiting;
    bool reopened = false;
    for (;;) {
        StatementError failure;
        try {
            std::shared_ptr<Prepared> prepared = PreparedFor(sql);
            prepared->SetOperation(named);
            if (Observer())
                Observer()(sql);
            prepared->Execute(bound);
            return *prepared;
        } catch (StatementError& error) {
            failure = std::move(error);
        }
        KibicError error = DriverFailure(named, failure.Records, failure.Text);
        // A connection the driver reports lost is opened again once; inside a transaction what it did is
        // gone with it, so the failure goes to the caller, who tries the whole work again later.
        if (Lost(error) && !m_inTransaction && !reopened) {
            reopened = true;
            m_statements.clear();
            m_odbc.reset();
            OpenOdbc();
            continue;
        }
        // Through ODBC a lock of the other program comes back as an error at once, also while a statement
        // is prepared: try again after short pauses, about a second in all (on SQLite itself the busy
        // handler has already waited).
        int pause = -1;
        if (m_backend != DatabaseBackend::Sqlite && error.Busy()) {
            if (!waiting.isValid())
                waiting.start();
            pause = retry.NextPauseMs(waiting.elapsed());
        }
        if (pause < 0)
            throw error;
        QThread::msleep(static_cast<unsigned long>(pause));
    }
}

int DbConnection::Execute(const QString& sql, const QVariantList& values)
{
    DbRows& rows = RunPrepared(sql, values);
    const int changed = rows.RowsAffected();
    rows.Finish();
    return changed;
}

qint64 DbConnection::ExecuteInsert(const QString& sql, const QVariantList& values)
{
    DbRows& rows = RunPrepared(sql, values);
    const QVariant id = rows.InsertedId();
    rows.Finish();
    if (id.isValid() && !id.isNull())
        return id.toLongLong();
    return LastInsertRowId();
}

void DbConnection::Leave()
{
    if (--m_users > 0 || !m_inTransaction)
        return;
    try {
        RollbackTransaction();
    } catch (...) {
        // The connection goes on; a rollback that fails here leaves nothing Kibic could do better.
    }
}

qint64 DbConnection::ScalarInteger(const QString& sql, const QVariantList& values)
{
    DbRows& rows = RunPrepared(sql, values);
    qint64 result = 0;
    if (rows.Next() && !rows.Value(0).isNull())
        result = rows.Value(0).toLongLong();
    rows.Finish();
    return result;
}

QString DbConnection::DriverDescription()
{
    if (m_backend == DatabaseBackend::Sqlite) {
        DbRows& rows = RunPrepared(QStringLiteral("SELECT sqlite_version()"), {});
        const QString version = rows.Next() ? rows.Value(0).toString() : QString();
        rows.Finish();
        return QStringLiteral("SQLite ") + version;
    }
    const QString name = m_backend == DatabaseBackend::OdbcAccess ? m_odbcDriver : m_odbc->DriverName();
    return QStringLiteral("%1, wersja %2").arg(name, m_odbc->DriverVersion());
}

qint64 DbConnection::LastInsertRowId()
{
    return ScalarInteger(m_dialect == SqlDialect::Sqlite ? QStringLiteral("SELECT last_insert_rowid()")
                                                         : QStringLiteral("SELECT @@IDENTITY"));
}

void DbConnection::BeginTransaction()
{
    if (m_inTransaction)
        return;
    // A write lock is not taken again at once after this program let it go on the same file (from this
    // connection or another): the pause is longer than the longest pause of a waiting connection, so the
    // other program always gets its turn.
    const qint64 since = MicrosecondsSinceLastCommit(m_fileName);
    if (since < kLockBreathMs * 1000)
        QThread::usleep(static_cast<unsigned long>(kLockBreathMs * 1000 - since));
    if (m_dialect == SqlDialect::Sqlite) {
        Execute(QStringLiteral("BEGIN IMMEDIATE"));
    } else {
        try {
            m_odbc->BeginTransaction();
        } catch (const odbc::CallFailure& failure) {
            throw DriverFailure(QStringLiteral("początek transakcji"), failure.Records(), failure.Text());
        }
    }
    m_inTransaction = true;
}

void DbConnection::CommitTransaction()
{
    if (!m_inTransaction)
        return;
    try {
        if (m_dialect == SqlDialect::Sqlite) {
            Execute(QStringLiteral("COMMIT"));
        } else {
            try {
                m_odbc->EndTransaction(true);
            } catch (const odbc::CallFailure& failure) {
                throw DriverFailure(QStringLiteral("zatwierdzenie transakcji"), failure.Records(), failure.Text());
            }
        }
    } catch (...) {
        // A transaction that could not be committed is not left open on a connection that may be kept: its
        // work is undone, and whoever began it does it again.
        try {
            RollbackTransaction();
        } catch (...) {
        }
        m_inTransaction = false;
        throw;
    }
    m_inTransaction = false;
    NoteCommit(m_fileName);
}

void DbConnection::RollbackTransaction()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    if (m_dialect == SqlDialect::Sqlite) {
        Execute(QStringLiteral("ROLLBACK"));
        return;
    }
    try {
        m_odbc->EndTransaction(false);
    } catch (const odbc::CallFailure& failure) {
        throw DriverFailure(QStringLiteral("wycofanie transakcji"), failure.Records(), failure.Text());
    }
}

QString DbConnection::Translate(const QString& jetStatement) const
{
    return TranslateStatement(jetStatement, m_dialect);
}

QString TranslateStatement(const QString& jetStatement, SqlDialect dialect)
{
    if (dialect == SqlDialect::Access)
        return jetStatement;
    // SQLite runs Jet's statements as written except for the auto-numbered COUNTER column.
    // Only the type after a bracketed column name is replaced, never a column called "Counter".
    static const QRegularExpression counter(QStringLiteral("\\] COUNTER\\b"));
    QString statement = jetStatement;
    statement.replace(counter, QStringLiteral("] INTEGER PRIMARY KEY AUTOINCREMENT"));
    return statement;
}

namespace {

// The connections of this thread by file, and which files are held open between operations.
struct ConnectionRegistry
{
    struct Entry
    {
        std::weak_ptr<DbConnection> Connection;
        std::shared_ptr<DbConnection> Kept; // set while a hold lives
        QString Identity;
        int Holds = 0;
    };
    QHash<QString, Entry> Entries;
};

ConnectionRegistry& Registry()
{
    thread_local ConnectionRegistry registry;
    return registry;
}

} // namespace

std::shared_ptr<DbConnection> ConnectionTo(const QString& connectionString)
{
    ConnectionRegistry& registry = Registry();
    // Files used once and let go leave their entries behind; a long run over many files sweeps them.
    if (registry.Entries.size() > 64) {
        for (auto it = registry.Entries.begin(); it != registry.Entries.end();)
            it = it->Holds == 0 && it->Connection.expired() ? registry.Entries.erase(it) : std::next(it);
    }
    const QString key = ConnectionKey(connectionString);
    ConnectionRegistry::Entry& entry = registry.Entries[key];
    const QString identity = FileIdentity(DataSourceOf(connectionString));
    if (std::shared_ptr<DbConnection> known = entry.Connection.lock()) {
        if (!identity.isEmpty() && identity == entry.Identity)
            return known;
    }
    auto connection = std::make_shared<DbConnection>(connectionString);
    entry.Connection = connection;
    entry.Identity = identity;
    entry.Kept = entry.Holds > 0 ? connection : nullptr;
    return connection;
}

DatabaseHold::DatabaseHold(const QString& connectionString)
    : m_key(ConnectionKey(connectionString))
{
    ConnectionRegistry::Entry& entry = Registry().Entries[m_key];
    ++entry.Holds;
    entry.Kept = entry.Connection.lock();
}

DatabaseHold::~DatabaseHold()
{
    ConnectionRegistry& registry = Registry();
    const auto found = registry.Entries.find(m_key);
    if (found == registry.Entries.end())
        return;
    if (--found->Holds <= 0) {
        found->Holds = 0;
        found->Kept.reset();
    }
    if (found->Holds == 0 && found->Connection.expired())
        registry.Entries.erase(found);
}

} // namespace kibic
