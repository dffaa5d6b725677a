// Query objects over Qt Sql.
#include "scoringdb/TQuery.h"

#include "scoringdb/Database.h"

namespace kibic {

void TQuery::ExecSql()
{
    DbConnection connection(m_connectionString);
    (void)connection.Execute(connection.Translate(m_sql));
}

qint64 TQuery::OpenFirstInteger()
{
    DbConnection connection(m_connectionString);
    return connection.ScalarInteger(connection.Translate(m_sql));
}

} // namespace kibic
