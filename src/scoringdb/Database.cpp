// Connections to scoring databases over Qt Sql: SQLite, SQLite through ODBC, Access through ODBC.
#include "scoringdb/Database.h"

#include "common/KibicError.h"
#include "scoringdb/ConnectionStrings.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <atomic>
#include <limits>
#include <mutex>

#ifdef Q_OS_WIN
// windows.h first: the ODBC headers use its types.
#include <windows.h>

#include <odbcinst.h>
#endif
#include <sql.h>
#include <sqlext.h>
#ifdef Q_OS_UNIX
#include <dlfcn.h>
#endif

struct sqlite3;

namespace kibic {

namespace {

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

bool UseOdbcForSqlite()
{
    return qEnvironmentVariable("KIBIC_DB_BACKEND").compare(QStringLiteral("odbc"), Qt::CaseInsensitive) == 0;
}

QString ToQString(const SQLWCHAR* text, qsizetype length)
{
    if constexpr (sizeof(SQLWCHAR) == sizeof(char16_t))
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
    else
        return QString::fromUcs4(reinterpret_cast<const char32_t*>(text), length);
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

#ifdef Q_OS_WIN
// The texts of the driver installer's errors (SQLInstallerError), one after another.
QString InstallerErrorText()
{
    QStringList texts;
    for (WORD record = 1; record <= 8; ++record) {
        DWORD code = 0;
        WCHAR message[SQL_MAX_MESSAGE_LENGTH] = {};
        WORD length = 0;
        const RETCODE result = SQLInstallerErrorW(record, &code, message, SQL_MAX_MESSAGE_LENGTH, &length);
        if (result != SQL_SUCCESS && result != SQL_SUCCESS_WITH_INFO)
            break;
        texts.append(QString::fromWCharArray(message).trimmed());
    }
    texts.removeAll(QString());
    return texts.isEmpty() ? QStringLiteral("sterownik nie podał przyczyny") : texts.join(QStringLiteral("; "));
}
#endif

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

} // namespace

void SetStatementObserver(std::function<void(const QString& sql)> observer)
{
    Observer() = std::move(observer);
}

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
    QStringList drivers;
    SQLHENV environment = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment)))
        return drivers;
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLWCHAR description[512];
    SQLWCHAR attributes[2048];
    SQLSMALLINT descriptionLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        const SQLRETURN result = SQLDriversW(
            environment, direction, description, 512, &descriptionLength, attributes, 2048, &attributesLength);
        if (!SQL_SUCCEEDED(result))
            break;
        drivers.append(ToQString(description, qMin<qsizetype>(descriptionLength, 511)));
        direction = SQL_FETCH_NEXT;
    }
    SQLFreeHandle(SQL_HANDLE_ENV, environment);
    return drivers;
}

QString AccessDriver()
{
    static std::once_flag once;
    static QString driver;
    std::call_once(once, [] {
        if (QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
            driver = ChooseAccessDriver(InstalledOdbcDrivers());
    });
    return driver;
}

QString AccessCreationAttributes(const QString& path)
{
    return QStringLiteral("CREATE_DBV4=\"%1\" General").arg(path) + QChar(0) + QChar(0);
}

QString AccessConnectionString(const QString& driver, const QString& path)
{
    return QStringLiteral("DRIVER={%1};DBQ=%2;ExtendedAnsiSQL=1").arg(driver, path);
}

QVariant OdbcParameter(const QVariant& value)
{
    const int type = value.typeId();
    if ((type != QMetaType::LongLong && type != QMetaType::ULongLong) || value.isNull())
        return value;
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
        return value;
    return QVariant(static_cast<qint32>(number));
}

bool IsLockFailure(const QString& nativeCodes, const QString& text)
{
    static const QRegularExpression number(QStringLiteral("-?\\d+"));
    for (auto match = number.globalMatch(nativeCodes); match.hasNext();) {
        const qlonglong code = qAbs(match.next().captured().toLongLong());
        if (code == 3218 || code == 3260)
            return true;
    }
    static const QRegularExpression lockText(
        QStringLiteral(
            "database is locked|database table is locked|currently locked|could not lock|could not be locked|"
            "SQLITE_BUSY|SQLITE_LOCKED|\\(3218\\)|\\(3260\\)"),
        QRegularExpression::CaseInsensitiveOption);
    return lockText.match(text).hasMatch();
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

namespace {

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

} // namespace

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
#ifdef Q_OS_WIN
    return qEnvironmentVariable("KIBIC_DB_BACKEND").compare(QStringLiteral("sqlite"), Qt::CaseInsensitive) != 0;
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
        if (!AccessDriverAvailable())
            throw KibicError(AccessFileUnreadableText(m_fileName));
        m_backend = DatabaseBackend::OdbcAccess;
        m_dialect = SqlDialect::Access;
        break;
    case DatabaseFormat::Sqlite:
        m_backend = UseOdbcForSqlite() ? DatabaseBackend::OdbcSqlite : DatabaseBackend::Sqlite;
        m_dialect = SqlDialect::Sqlite;
        break;
    }

    if (m_backend == DatabaseBackend::Sqlite) {
        m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        m_database.setDatabaseName(m_fileName);
        // SQLite's own growing sleeps wait only where our handler cannot be installed.
        m_database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    } else if (m_backend == DatabaseBackend::OdbcSqlite) {
        // Hardly any waiting inside the driver (0 would mean its default of 100 s): a locked statement
        // comes back at once and is tried again here, as a statement on an Access file is.
        m_database = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connectionName);
        m_database.setDatabaseName(QStringLiteral("DRIVER=SQLite3;Database=%1;Timeout=1;NoWCHAR=0").arg(m_fileName));
    } else {
        m_database = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connectionName);
        m_database.setDatabaseName(AccessConnectionString(AccessDriver(), m_fileName));
    }
    if (!m_database.open()) {
        KibicError error = ProviderFailure(QStringLiteral("otwarcie"), m_database.lastError());
        m_database = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw error;
    }
    if (m_backend == DatabaseBackend::Sqlite)
        InstallBusyHandler();
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

DbConnection::~DbConnection()
{
    m_statements.clear();
    if (m_inTransaction) {
        try {
            RollbackTransaction();
        } catch (...) {
        }
    }
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
        if (driver.isEmpty())
            throw KibicError(QStringLiteral("Nie można utworzyć bazy danych %1: na tym komputerze nie ma sterownika "
                                            "ODBC \"%2\" (ani \"%3\"), a serwer pierniczków czyta tylko pliki Access.")
                                 .arg(QDir::toNativeSeparators(path), kJetOdbcDriver, kAceOdbcDriver));
#ifdef Q_OS_WIN
        const QString attributes = AccessCreationAttributes(QDir::toNativeSeparators(path));
        const std::wstring driverName = driver.toStdWString();
        if (!SQLConfigDataSourceW(
                nullptr, ODBC_ADD_DSN, driverName.c_str(), reinterpret_cast<LPCWSTR>(attributes.utf16())))
            throw KibicError(QStringLiteral("Nie można utworzyć bazy danych %1 (sterownik \"%2\"): %3")
                                 .arg(QDir::toNativeSeparators(path), driver, InstallerErrorText()));
        if (!QFileInfo::exists(path))
            throw KibicError(QStringLiteral("Nie można utworzyć bazy danych %1 (sterownik \"%2\"): sterownik "
                                            "zgłosił powodzenie, ale pliku nie ma.")
                                 .arg(QDir::toNativeSeparators(path), driver));
        return;
#endif
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
    const QString text = ProviderText(error);
    const bool held = IsLockFailure(error.nativeErrorCode(), text);
    return KibicError(Failure(operation, text), held ? FailureKind::DatabaseBusy : FailureKind::Failure, m_fileName);
}

void DbConnection::Run(QSqlQuery& query, const QString& sql, const QVariantList& values, const QString& operation)
{
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw ProviderFailure(operation, query.lastError());
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw ProviderFailure(operation, query.lastError());
}

QSqlQuery& DbConnection::RunPrepared(const QString& sql, const QVariantList& values, const QString& operation)
{
    // A handful of texts per table object; a caller building texts without end cannot fill memory.
    constexpr qsizetype kMostStatements = 64;
    LockRetry retry(kBusyTimeoutMs, static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    QElapsedTimer waiting;
    for (;;) {
        QSqlError error;
        std::shared_ptr<QSqlQuery> query = m_statements.value(sql);
        if (!query) {
            if (m_statements.size() >= kMostStatements)
                m_statements.clear();
            query = std::make_shared<QSqlQuery>(m_database);
            query->setForwardOnly(true);
            if (query->prepare(sql))
                m_statements.insert(sql, query);
            else
                error = query->lastError();
        }
        if (error.type() == QSqlError::NoError) {
            const bool odbc = m_backend != DatabaseBackend::Sqlite;
            for (int i = 0; i < values.size(); ++i)
                query->bindValue(i, odbc ? OdbcParameter(values.at(i)) : values.at(i));
            if (Observer())
                Observer()(sql);
            if (query->exec())
                return *query;
            error = query->lastError();
            query->finish();
        }
        // Through ODBC a lock of the other program comes back as an error at once, also while a
        // statement is prepared: try again after short pauses, about a second in all (on SQLite itself
        // the busy handler has already waited).
        const QString text = ProviderText(error);
        int pause = -1;
        if (m_backend != DatabaseBackend::Sqlite && IsLockFailure(error.nativeErrorCode(), text)) {
            if (!waiting.isValid())
                waiting.start();
            pause = retry.NextPauseMs(waiting.elapsed());
        }
        if (pause < 0)
            throw ProviderFailure(operation.isEmpty() ? sql.left(60) : operation, error);
        QThread::msleep(static_cast<unsigned long>(pause));
    }
}

int DbConnection::Execute(const QString& sql, const QVariantList& values)
{
    QSqlQuery& query = RunPrepared(sql, values);
    const int changed = query.numRowsAffected();
    query.finish();
    return changed;
}

qint64 DbConnection::ExecuteInsert(const QString& sql, const QVariantList& values)
{
    QSqlQuery& query = RunPrepared(sql, values);
    // Only the SQLite driver knows the new number without a statement of its own.
    const QVariant id = m_backend == DatabaseBackend::Sqlite ? query.lastInsertId() : QVariant();
    query.finish();
    if (id.isValid() && !id.isNull())
        return id.toLongLong();
    return LastInsertRowId();
}

qint64 DbConnection::ScalarInteger(const QString& sql, const QVariantList& values)
{
    QSqlQuery& query = RunPrepared(sql, values);
    qint64 result = 0;
    if (query.next() && !query.value(0).isNull())
        result = query.value(0).toLongLong();
    query.finish();
    return result;
}

QString DbConnection::DriverDescription()
{
    if (m_dialect == SqlDialect::Sqlite && m_backend == DatabaseBackend::Sqlite) {
        QSqlQuery& query = RunPrepared(QStringLiteral("SELECT sqlite_version()"), {});
        const QString version = query.next() ? query.value(0).toString() : QString();
        query.finish();
        return QStringLiteral("SQLite ") + version;
    }
    const QVariant handle = m_database.driver()->handle();
    if (!handle.isValid() || handle.metaType() != QMetaType::fromType<SQLHANDLE>())
        return QStringLiteral("ODBC");
    const SQLHANDLE connection = *static_cast<const SQLHANDLE*>(handle.data());
    const auto info = [&](SQLUSMALLINT what) {
        SQLWCHAR text[256] = {};
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetInfoW(connection, what, text, sizeof(text), &length)))
            return QString();
        return ToQString(text, qMin<qsizetype>(length / static_cast<SQLSMALLINT>(sizeof(SQLWCHAR)), 255)).trimmed();
    };
    const QString name = m_backend == DatabaseBackend::OdbcAccess ? AccessDriver() : info(SQL_DRIVER_NAME);
    return QStringLiteral("%1, wersja %2").arg(name, info(SQL_DRIVER_VER));
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
    } else if (!m_database.transaction()) {
        throw ProviderFailure(QStringLiteral("początek transakcji"), m_database.lastError());
    }
    m_inTransaction = true;
}

void DbConnection::CommitTransaction()
{
    if (!m_inTransaction)
        return;
    if (m_dialect == SqlDialect::Sqlite) {
        Execute(QStringLiteral("COMMIT"));
    } else if (!m_database.commit()) {
        throw ProviderFailure(QStringLiteral("zatwierdzenie transakcji"), m_database.lastError());
    }
    m_inTransaction = false;
    NoteCommit(m_fileName);
}

void DbConnection::RollbackTransaction()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    if (m_dialect == SqlDialect::Sqlite)
        Execute(QStringLiteral("ROLLBACK"));
    else
        m_database.rollback();
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

} // namespace kibic
