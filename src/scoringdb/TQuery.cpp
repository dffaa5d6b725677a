// Query objects on the file's shared connection.
#include "scoringdb/TQuery.h"

#include "scoringdb/Database.h"

namespace kibic {

namespace {

// The file's connection for the length of one statement.
class QueryUse
{
public:
    explicit QueryUse(const QString& connectionString)
        : m_connection(ConnectionTo(connectionString))
    {
        m_connection->Enter();
    }
    ~QueryUse() { m_connection->Leave(); }
    QueryUse(const QueryUse&) = delete;
    QueryUse& operator=(const QueryUse&) = delete;
    DbConnection* operator->() const { return m_connection.get(); }

private:
    std::shared_ptr<DbConnection> m_connection;
};

} // namespace

void TQuery::ExecSql()
{
    const QueryUse connection(m_connectionString);
    (void)connection->Execute(connection->Translate(m_sql));
}

qint64 TQuery::OpenFirstInteger()
{
    const QueryUse connection(m_connectionString);
    return connection->ScalarInteger(connection->Translate(m_sql));
}

} // namespace kibic
