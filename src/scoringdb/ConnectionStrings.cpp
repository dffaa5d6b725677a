// Connection strings of the Jet provider's form.
#include "scoringdb/ConnectionStrings.h"

namespace kibic {

QString CreationConnectionString(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path + QStringLiteral(";");
}

QString StatementConnectionString(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
        + QStringLiteral(";Persist Security Info=False");
}

QString ScoringConnectionString(const QString& path)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=") + path;
}

QString DataSourceOf(const QString& connectionString)
{
    static const QString key = QStringLiteral("Data Source=");
    const qsizetype at = connectionString.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    const qsizetype start = at + key.size();
    const qsizetype end = connectionString.indexOf(QLatin1Char(';'), start);
    return end < 0 ? connectionString.mid(start) : connectionString.mid(start, end - start);
}

} // namespace kibic
