// A small ODBC client over unixODBC's driver manager, for the tests of the Jet stand-in driver: it
// talks to the driver only through libodbc, as Kibic does, and reads what the driver stored with
// SQLite itself.
#pragma once

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kibic::test {

struct OdbcDiag
{
    QString State;
    int Native = 0;
    QString Message;
};

// One bound parameter: its C and SQL types, the bytes of its buffer and the length put in its indicator.
struct OdbcParameter
{
    SQLSMALLINT CType = SQL_C_SLONG;
    SQLSMALLINT SqlType = SQL_INTEGER;
    QByteArray Buffer;
    SQLLEN Indicator = 0;
    SQLULEN ColumnSize = 0;

    static OdbcParameter Int(qint32 value);
    static OdbcParameter Bit(quint8 value);
    static OdbcParameter BigInt(qint64 value, SQLSMALLINT sqlType = SQL_BIGINT);
    // UTF-16; withTerminator counts the trailing U+0000 in the length, as Qt 6.4.2's ODBC plugin binds.
    static OdbcParameter Text(const QString& text, bool withTerminator = false);
    static OdbcParameter NtsText(const QString& text);
    static OdbcParameter Null(SQLSMALLINT cType = SQL_C_WCHAR, SQLSMALLINT sqlType = SQL_WVARCHAR);
    static OdbcParameter Date(int year, int month, int day, bool odbc2Codes = false);
    static OdbcParameter Time(int hour, int minute, int second, bool odbc2Codes = false);
};

class OdbcSession
{
public:
    OdbcSession();
    ~OdbcSession();
    OdbcSession(const OdbcSession&) = delete;
    OdbcSession& operator=(const OdbcSession&) = delete;

    bool Connect(const QString& connectionString);
    void Disconnect();
    bool SetAutocommit(bool on);
    bool EndTransaction(bool commit);
    // Prepares, binds and executes; *rows gets SQLRowCount.
    bool Execute(const QString& sql, const QList<OdbcParameter>& parameters = {}, SQLLEN* rows = nullptr);
    // Executes and reads every row, each value read with SQLGetData as SQL_C_WCHAR ("<null>" for NULL).
    QList<QStringList> Query(const QString& sql, const QList<OdbcParameter>& parameters = {});
    QString InfoText(SQLUSMALLINT type);
    SQLUSMALLINT InfoNumber(SQLUSMALLINT type);

    // A statement handle of this connection, for tests that make the calls themselves.
    SQLHSTMT NewStatement();
    // A statement handle on which sql was executed; SQL_NULL_HSTMT when it failed (see Last()).
    SQLHSTMT OpenCursor(const QString& sql);
    OdbcDiag StatementDiag(SQLHSTMT statement) const { return Diag(SQL_HANDLE_STMT, statement); }

    [[nodiscard]] const OdbcDiag& Last() const { return m_last; }
    [[nodiscard]] SQLHDBC Handle() const { return m_connection; }

    static OdbcDiag Diag(SQLSMALLINT type, SQLHANDLE handle);

private:
    bool Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle);
    // Prepares sql on statement, binds the parameters and executes it.
    bool Run(SQLHSTMT statement, const QString& sql, QList<OdbcParameter>& bound);

    SQLHENV m_environment = SQL_NULL_HENV;
    SQLHDBC m_connection = SQL_NULL_HDBC;
    bool m_connected = false;
    OdbcDiag m_last;
};

// "DRIVER={Microsoft Access Driver (*.mdb)};DBQ={path};ExtendedAnsiSQL=1" (braced DBQ when braced).
QString AccessConnectionString(const QString& path, bool extendedAnsiSql = true, bool braced = true);

// Rows of an SQL query run by SQLite itself on the file, each value as text ("<null>" for NULL).
QList<QStringList> SqliteRows(const QString& path, const QString& sql);

} // namespace kibic::test
