// Connection strings of the Jet provider's form.
#include "scoringdb/ConnectionStrings.h"

#include <QDir>

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

QString OleDbPathValue(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    const bool quoted = native.contains(QLatin1Char(';')) || native.startsWith(QLatin1Char(' '))
        || native.endsWith(QLatin1Char(' ')) || native.startsWith(QLatin1Char('\''));
    return quoted ? QLatin1Char('"') + native + QLatin1Char('"') : native;
}

QString AdoxCreationConnectionString(const QString& path)
{
    return CreationConnectionString(OleDbPathValue(path)) + QStringLiteral("Jet OLEDB:Engine Type=5");
}

QString AdoStatementConnectionString(const QString& path)
{
    return StatementConnectionString(OleDbPathValue(path));
}

QString DataSourceOf(const QString& connectionString)
{
    static const QString key = QStringLiteral("Data Source=");
    static const QString persist = QStringLiteral(";Persist Security Info=");
    const qsizetype at = connectionString.indexOf(key, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    // A folder name may itself hold a ";", so the path runs to the end of the string, less the
    // closing ";" of the creation form and the Persist Security Info part of the statement form.
    QString path = connectionString.mid(at + key.size());
    const qsizetype persistAt = path.indexOf(persist, 0, Qt::CaseInsensitive);
    if (persistAt >= 0)
        path.truncate(persistAt);
    if (path.endsWith(QLatin1Char(';')))
        path.chop(1);
    return path;
}

} // namespace kibic
