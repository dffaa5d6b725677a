// The ODBC client of the Jet stand-in's tests.
#include "support/JetOdbcClient.h"

namespace kibic::test {
namespace {

SQLWCHAR* Units(const QString& text)
{
    return reinterpret_cast<SQLWCHAR*>(const_cast<QChar*>(text.constData()));
}

template <typename T> QByteArray Bytes(const T& value)
{
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
}

} // namespace

OdbcParameter OdbcParameter::Int(qint32 value)
{
    return { SQL_C_SLONG, SQL_INTEGER, Bytes(value), 4, 10 };
}
OdbcParameter OdbcParameter::Bit(quint8 value)
{
    return { SQL_C_BIT, SQL_BIT, Bytes(value), 1, 1 };
}
OdbcParameter OdbcParameter::BigInt(qint64 value, SQLSMALLINT sqlType)
{
    return { SQL_C_SBIGINT, sqlType, Bytes(value), 8, 19 };
}

OdbcParameter OdbcParameter::Text(const QString& text, bool withTerminator)
{
    QByteArray buffer(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    buffer.append(2, '\0');
    const auto length = static_cast<SQLLEN>(text.size() * 2 + (withTerminator ? 2 : 0));
    return { SQL_C_WCHAR, SQL_WVARCHAR, buffer, length, static_cast<SQLULEN>(length) };
}

OdbcParameter OdbcParameter::NtsText(const QString& text)
{
    OdbcParameter p = Text(text);
    p.Indicator = SQL_NTS;
    return p;
}

OdbcParameter OdbcParameter::Null(SQLSMALLINT cType, SQLSMALLINT sqlType)
{
    return { cType, sqlType, QByteArray(8, '\0'), SQL_NULL_DATA, 0 };
}

OdbcParameter OdbcParameter::Date(int year, int month, int day, bool odbc2Codes)
{
    const SQL_DATE_STRUCT date { static_cast<SQLSMALLINT>(year), static_cast<SQLUSMALLINT>(month),
        static_cast<SQLUSMALLINT>(day) };
    return { static_cast<SQLSMALLINT>(odbc2Codes ? SQL_C_DATE : SQL_C_TYPE_DATE),
        static_cast<SQLSMALLINT>(odbc2Codes ? SQL_DATE : SQL_TYPE_DATE), Bytes(date), sizeof date, 10 };
}

OdbcParameter OdbcParameter::Time(int hour, int minute, int second, bool odbc2Codes)
{
    const SQL_TIME_STRUCT time { static_cast<SQLUSMALLINT>(hour), static_cast<SQLUSMALLINT>(minute),
        static_cast<SQLUSMALLINT>(second) };
    return { static_cast<SQLSMALLINT>(odbc2Codes ? SQL_C_TIME : SQL_C_TYPE_TIME),
        static_cast<SQLSMALLINT>(odbc2Codes ? SQL_TIME : SQL_TYPE_TIME), Bytes(time), sizeof time, 8 };
}

OdbcSession::OdbcSession()
{
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_environment);
    SQLSetEnvAttr(m_environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, m_environment, &m_connection);
}

OdbcSession::~OdbcSession()
{
    Disconnect();
    SQLFreeHandle(SQL_HANDLE_DBC, m_connection);
    SQLFreeHandle(SQL_HANDLE_ENV, m_environment);
}

OdbcDiag OdbcSession::Diag(SQLSMALLINT type, SQLHANDLE handle)
{
    SQLWCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLWCHAR message[2048] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRecW(type, handle, 1, state, &native, message, 2048, &length)))
        return {};
    return { QString::fromUtf16(reinterpret_cast<const char16_t*>(state)), static_cast<int>(native),
        QString::fromUtf16(reinterpret_cast<const char16_t*>(message)) };
}

bool OdbcSession::Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle)
{
    if (SQL_SUCCEEDED(rc))
        return true;
    m_last = Diag(type, handle);
    return false;
}

bool OdbcSession::Connect(const QString& connectionString)
{
    m_last = {};
    const SQLRETURN rc = SQLDriverConnectW(m_connection, nullptr, Units(connectionString),
        static_cast<SQLSMALLINT>(connectionString.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    m_connected = Check(rc, SQL_HANDLE_DBC, m_connection);
    return m_connected;
}

void OdbcSession::Disconnect()
{
    if (m_connected)
        SQLDisconnect(m_connection);
    m_connected = false;
}

bool OdbcSession::SetAutocommit(bool on)
{
    const SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    return Check(SQLSetConnectAttrW(m_connection, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(value), 0),
        SQL_HANDLE_DBC, m_connection);
}

bool OdbcSession::EndTransaction(bool commit)
{
    return Check(
        SQLEndTran(SQL_HANDLE_DBC, m_connection, commit ? SQL_COMMIT : SQL_ROLLBACK), SQL_HANDLE_DBC, m_connection);
}

SQLHSTMT OdbcSession::NewStatement()
{
    SQLHSTMT statement = SQL_NULL_HSTMT;
    if (!Check(SQLAllocHandle(SQL_HANDLE_STMT, m_connection, &statement), SQL_HANDLE_DBC, m_connection))
        return SQL_NULL_HSTMT;
    return statement;
}

bool OdbcSession::Run(SQLHSTMT statement, const QString& sql, QList<OdbcParameter>& bound)
{
    bool ok
        = Check(SQLPrepareW(statement, Units(sql), static_cast<SQLINTEGER>(sql.size())), SQL_HANDLE_STMT, statement);
    for (int i = 0; ok && i < bound.size(); ++i) {
        OdbcParameter& p = bound[i];
        ok = Check(SQLBindParameter(statement, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, p.CType, p.SqlType,
                       p.ColumnSize, 0, p.Buffer.data(), p.Buffer.size(), &p.Indicator),
            SQL_HANDLE_STMT, statement);
    }
    return ok && Check(SQLExecute(statement), SQL_HANDLE_STMT, statement);
}

SQLHSTMT OdbcSession::OpenCursor(const QString& sql)
{
    SQLHSTMT statement = NewStatement();
    QList<OdbcParameter> none;
    if (statement != SQL_NULL_HSTMT && !Run(statement, sql, none)) {
        SQLFreeHandle(SQL_HANDLE_STMT, statement);
        return SQL_NULL_HSTMT;
    }
    return statement;
}

bool OdbcSession::Execute(const QString& sql, const QList<OdbcParameter>& parameters, SQLLEN* rows)
{
    QList<OdbcParameter> bound = parameters;
    SQLHSTMT statement = NewStatement();
    if (statement == SQL_NULL_HSTMT)
        return false;
    const bool ok = Run(statement, sql, bound);
    if (ok && rows != nullptr)
        SQLRowCount(statement, rows);
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    return ok;
}

QList<QStringList> OdbcSession::Query(const QString& sql, const QList<OdbcParameter>& parameters)
{
    QList<QStringList> rows;
    QList<OdbcParameter> bound = parameters;
    SQLHSTMT statement = NewStatement();
    if (statement == SQL_NULL_HSTMT)
        return rows;
    const bool ok = Run(statement, sql, bound);
    SQLSMALLINT columns = 0;
    if (ok)
        SQLNumResultCols(statement, &columns);
    while (ok && SQLFetch(statement) == SQL_SUCCESS) {
        QStringList row;
        for (SQLUSMALLINT c = 1; c <= columns; ++c) {
            SQLWCHAR buffer[1024] = {};
            SQLLEN length = 0;
            SQLGetData(statement, c, SQL_C_WCHAR, buffer, sizeof buffer, &length);
            row << (length == SQL_NULL_DATA
                    ? QStringLiteral("<null>")
                    : QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer), length / 2));
        }
        rows << row;
    }
    SQLFreeHandle(SQL_HANDLE_STMT, statement);
    return rows;
}

QString OdbcSession::InfoText(SQLUSMALLINT type)
{
    SQLWCHAR buffer[256] = {};
    SQLSMALLINT length = 0;
    SQLGetInfoW(m_connection, type, buffer, sizeof buffer, &length);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(buffer));
}

SQLUSMALLINT OdbcSession::InfoNumber(SQLUSMALLINT type)
{
    SQLUSMALLINT value = 0;
    SQLGetInfoW(m_connection, type, &value, sizeof value, nullptr);
    return value;
}

QString AccessConnectionString(const QString& path, bool extendedAnsiSql, bool braced)
{
    const QString dbq = braced ? QStringLiteral("{") + path + QStringLiteral("}") : path;
    return QStringLiteral("DRIVER={Microsoft Access Driver (*.mdb)};DBQ=") + dbq
        + (extendedAnsiSql ? QStringLiteral(";ExtendedAnsiSQL=1") : QString());
}

QList<QStringList> SqliteRows(const QString& path, const QString& sql)
{
    QList<QStringList> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return rows;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                row << (text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, c)) : QStringLiteral("<null>"));
            }
            rows << row;
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

} // namespace kibic::test
