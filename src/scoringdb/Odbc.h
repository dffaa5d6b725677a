// Kibic's own thin layer over the ODBC API: the one place where Kibic meets a driver it cannot run here,
// the Access (Jet 4.0) driver of the directors' PCs, so every byte it hands over is chosen here.
//
// What crosses the boundary, and why:
//   statement texts     SQLPrepareW with their exact length in characters, never a terminator inside it
//   whole numbers       SQL_C_SLONG as SQL_INTEGER (32 bits): the Access driver refuses a BIGINT
//                       parameter ("Optional feature not implemented") and Jet has no 64-bit type
//   fractions           SQL_C_DOUBLE as SQL_DOUBLE
//   texts               UTF-16 (SQL_C_WCHAR) as SQL_WVARCHAR, or SQL_WLONGVARCHAR beyond 255 characters
//                       (the longest Jet TEXT column); ColumnSize in characters, the length in bytes
//                       without a terminator, so Jet stores 'N' as one character and not as "N\0"
//   dates and times     SQL_C_TYPE_DATE / _TIME / _TIMESTAMP as the matching SQL type
//   NULL                SQL_NULL_DATA, with the type of the value it stands for
//   Yes/No              never as a boolean here: the caller passes the number the file keeps (Jet -1/0)
// A failure carries every diagnostic record of the driver (SQLSTATE, native code, text).
#pragma once

#include "common/KibicError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <exception>
#include <memory>
#include <vector>

namespace kibic::odbc {

// A call of the ODBC API that failed: the function and what the driver (or the driver manager) said.
class CallFailure : public std::exception
{
public:
    CallFailure(QString function, QList<DriverDiagnostic> records);
    [[nodiscard]] const char* what() const noexcept override { return m_utf8.constData(); }
    [[nodiscard]] const QString& Function() const { return m_function; }
    [[nodiscard]] const QList<DriverDiagnostic>& Records() const { return m_records; }
    // The driver's texts joined for the operator; the function's name when the driver gave none.
    [[nodiscard]] QString Text() const;

private:
    QString m_function;
    QList<DriverDiagnostic> m_records;
    QByteArray m_utf8;
};

// One connection to a driver (SQLDriverConnectW, never prompting). Autocommit is on until a transaction
// is begun.
class Connection
{
public:
    explicit Connection(const QString& connectionString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // A transaction begins by switching autocommit off and ends with SQLEndTran, which switches it on again.
    void BeginTransaction();
    void EndTransaction(bool commit);

    // A text the driver tells of itself (SQLGetInfoW: SQL_DRIVER_NAME, SQL_DRIVER_VER, SQL_DBMS_NAME ...);
    // empty when it does not answer.
    [[nodiscard]] QString Info(unsigned short infoType) const;
    [[nodiscard]] QString DriverName() const;
    [[nodiscard]] QString DriverVersion() const;

    [[nodiscard]] void* Handle() const { return m_handle; }

private:
    void* m_handle = nullptr;
};

// A column of a result, as the driver describes it.
struct ResultColumn
{
    QString Name;
    short SqlType = 0;
};

// One prepared statement, executed again with new values as often as it is needed. Its rows are read
// forward once; Close releases them (and any lock the driver holds for them).
class Statement
{
public:
    // Allocates the statement and prepares the text with its exact length.
    Statement(Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Closes the rows of the last execution, binds the values in order (by their kind, see the table at
    // the top) and executes.
    void Execute(const QVariantList& values);
    // The rows an INSERT, UPDATE or DELETE changed; -1 when the driver cannot tell.
    [[nodiscard]] qint64 RowsAffected() const;
    [[nodiscard]] const std::vector<ResultColumn>& Columns() const { return m_columns; }
    // The next row's values, in column order; false after the last row.
    [[nodiscard]] bool Fetch(QVariantList& row);
    void Close();

    [[nodiscard]] const QString& Sql() const { return m_sql; }

private:
    struct Parameter;
    void Bind(const QVariantList& values);
    void DescribeColumns();
    [[nodiscard]] QVariant ReadValue(int column, short sqlType);

    void* m_handle = nullptr;
    QString m_sql;
    std::vector<std::unique_ptr<Parameter>> m_parameters;
    std::vector<ResultColumn> m_columns;
    bool m_open = false;
};

// The names of the installed drivers, as the driver manager lists them (SQLDriversW).
[[nodiscard]] QStringList InstalledDrivers();

// Asks a driver's set-up to make something through SQLConfigDataSourceW (ODBC_ADD_DSN): attributes are
// "KEY=value" pairs, each ended by a NUL, the list by a second NUL. Returns the installer's error texts
// (SQLInstallerErrorW) on failure, an empty list on success.
[[nodiscard]] QStringList ConfigureDataSource(const QString& driver, const QString& attributes);

// A connection-string value as the ODBC grammar wants it: in braces, so that a ";" of a folder name does not
// end it, with a closing brace inside doubled.
[[nodiscard]] QString BracedValue(const QString& value);

} // namespace kibic::odbc
