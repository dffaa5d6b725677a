// Connections to scoring databases over Qt Sql: SQLite, SQLite through ODBC, Access through ODBC.
#include "scoringdb/Database.h"

#include "scoringdb/ConnectionStrings.h"
#include "shell/KibicError.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <atomic>

#ifdef Q_OS_WIN
#include <windows.h>
#include <odbcinst.h>
#endif

namespace kibic {

namespace {

const QString kAccessDriver = QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)");

QString NewConnectionName()
{
    static std::atomic<int> counter{0};
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

} // namespace

DatabaseFormat DetectDatabaseFormat(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return DatabaseFormat::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return DatabaseFormat::Unknown;
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
#ifdef Q_OS_WIN
    return QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"));
#else
    return false;
#endif
}

bool RemoveDatabaseFile(const QString& path)
{
    if (QFileInfo::exists(path) && !QFile::remove(path))
        return false;
    // Only once the file is gone: a journal of a file that stays is what keeps that file whole.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
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
    case DatabaseFormat::Jet:
        if (!AccessDriverAvailable())
            throw KibicError(QStringLiteral(
                "Plik %1 jest bazą programu Access (Jet). Do jej otwarcia potrzebny jest sterownik Access ODBC, "
                "który jest tylko w systemie Windows, na którym działa serwer pierniczków.")
                                 .arg(m_fileName));
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
        m_database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    } else if (m_backend == DatabaseBackend::OdbcSqlite) {
        m_database = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connectionName);
        m_database.setDatabaseName(
            QStringLiteral("DRIVER=SQLite3;Database=%1;Timeout=%2;NoWCHAR=0").arg(m_fileName).arg(kBusyTimeoutMs));
    } else {
        m_database = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_connectionName);
        m_database.setDatabaseName(QStringLiteral("DRIVER={%1};DBQ=%2").arg(kAccessDriver, m_fileName));
    }
    if (!m_database.open()) {
        const QString text = ProviderText(m_database.lastError());
        m_database = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw KibicError(Failure(QStringLiteral("otwarcie"), text));
    }
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
#ifdef Q_OS_WIN
    if (AccessDriverAvailable() && qEnvironmentVariable("KIBIC_DB_BACKEND").compare(QStringLiteral("sqlite"), Qt::CaseInsensitive) != 0) {
        const QString attributes = QStringLiteral("CREATE_DB=\"%1\" General").arg(path) + QChar(0) + QChar(0);
        const std::wstring driver = kAccessDriver.toStdWString();
        if (!SQLConfigDataSourceW(nullptr, ODBC_ADD_DSN, driver.c_str(), reinterpret_cast<LPCWSTR>(attributes.utf16())))
            throw KibicError(QStringLiteral("Nie można utworzyć bazy danych %1 (sterownik Access ODBC).").arg(path));
        return;
    }
#endif
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

void DbConnection::Run(QSqlQuery& query, const QString& sql, const QVariantList& values, const QString& operation)
{
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw KibicError(Failure(operation, ProviderText(query.lastError())));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw KibicError(Failure(operation, ProviderText(query.lastError())));
}

QSqlQuery& DbConnection::RunPrepared(const QString& sql, const QVariantList& values, const QString& operation)
{
    // A handful of texts per table object; a caller building texts without end cannot fill memory.
    constexpr qsizetype kMostStatements = 64;
    std::shared_ptr<QSqlQuery> query = m_statements.value(sql);
    if (!query) {
        if (m_statements.size() >= kMostStatements)
            m_statements.clear();
        query = std::make_shared<QSqlQuery>(m_database);
        query->setForwardOnly(true);
        if (!query->prepare(sql))
            throw KibicError(Failure(operation.isEmpty() ? sql.left(60) : operation, ProviderText(query->lastError())));
        m_statements.insert(sql, query);
    }
    for (int i = 0; i < values.size(); ++i)
        query->bindValue(i, values.at(i));
    if (!query->exec()) {
        const QString text = ProviderText(query->lastError());
        query->finish();
        throw KibicError(Failure(operation.isEmpty() ? sql.left(60) : operation, text));
    }
    return *query;
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

qint64 DbConnection::LastInsertRowId()
{
    return ScalarInteger(m_dialect == SqlDialect::Sqlite ? QStringLiteral("SELECT last_insert_rowid()")
                                                         : QStringLiteral("SELECT @@IDENTITY"));
}

void DbConnection::BeginTransaction()
{
    if (m_inTransaction)
        return;
    if (m_dialect == SqlDialect::Sqlite) {
        Execute(QStringLiteral("BEGIN IMMEDIATE"));
    } else if (!m_database.transaction()) {
        throw KibicError(Failure(QStringLiteral("początek transakcji"), ProviderText(m_database.lastError())));
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
        throw KibicError(Failure(QStringLiteral("zatwierdzenie transakcji"), ProviderText(m_database.lastError())));
    }
    m_inTransaction = false;
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
    if (m_dialect == SqlDialect::Access)
        return jetStatement;
    // SQLite runs Jet's statements as written except for the auto-numbered COUNTER column.
    // Only the type after a bracketed column name is replaced, never a column called "Counter".
    static const QRegularExpression counter(QStringLiteral("\\] COUNTER\\b"));
    QString statement = jetStatement;
    statement.replace(counter, QStringLiteral("] INTEGER PRIMARY KEY AUTOINCREMENT"));
    return statement;
}

} // namespace kibic
