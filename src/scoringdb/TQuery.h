// The query object: one statement on a scoring database or the player database.
#pragma once

#include <QString>

namespace kibic {

// Made for one statement, run on the file's shared connection (ConnectionTo). The statements are the
// program's own, with decimal numbers only; Jet's column types are translated for the backend that serves
// the file.
class TQuery
{
public:
    explicit TQuery(QString connectionString = {})
        : m_connectionString(std::move(connectionString))
    {
    }

    void SetConnectionString(const QString& connectionString) { m_connectionString = connectionString; }
    void SetSql(const QString& sql) { m_sql = sql; }
    [[nodiscard]] const QString& Sql() const { return m_sql; }

    // Runs a statement without rows (CREATE TABLE, UPDATE). Raises KibicError with the provider's text.
    void ExecSql();

    // Runs a SELECT and returns the first field of the first row as an integer; NULL or no row gives 0.
    [[nodiscard]] qint64 OpenFirstInteger();

private:
    QString m_connectionString;
    QString m_sql;
};

} // namespace kibic
