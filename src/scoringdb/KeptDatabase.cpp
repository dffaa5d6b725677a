// The results a rebuild would replace, and the copy kept before they go.
#include "scoringdb/KeptDatabase.h"

#include "common/KibicError.h"
#include "common/SafeFiles.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TQuery.h"

#include <QDir>
#include <QFileInfo>

namespace kibic {

ReceivedResults CountReceivedResults(const QString& file)
{
    ReceivedResults results;
    const DatabaseFormat format = DetectDatabaseFormat(file);
    if (format == DatabaseFormat::Missing || format == DatabaseFormat::Unknown)
        return results;
    try {
        TQuery query(ScoringConnectionString(file));
        query.SetSql(QStringLiteral("SELECT COUNT(*) FROM [ReceivedData]"));
        results.Count = query.OpenFirstInteger();
    } catch (const KibicError& error) {
        results.Count.reset();
        results.Failure = error.Message();
    }
    return results;
}

QString ReceivedResultsLine(const QString& file, const ReceivedResults& results)
{
    const QString kept = QStringLiteral("przed nadpisaniem zachowam jej kopię obok.");
    if (results.Count)
        return QStringLiteral("Baza %1 zawiera wyniki otrzymane od stołów (%2); %3")
            .arg(file)
            .arg(*results.Count)
            .arg(kept);
    return QStringLiteral("Nie można policzyć wyników otrzymanych od stołów w bazie %1 (%2); %3")
        .arg(file, results.Failure, kept);
}

QString KeptCopyName(const QString& file, const QDateTime& when)
{
    const QFileInfo info(file);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString stem
        = info.completeBaseName() + QStringLiteral("-kopia-") + when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString name = info.dir().filePath(stem + suffix);
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = info.dir().filePath(stem + QLatin1Char('-') + QString::number(n) + suffix);
    return name;
}

QString KeepCopy(const QString& file)
{
    const QString copy = KeptCopyName(file, QDateTime::currentDateTime());
    const QString failure = QStringLiteral("Nie zachowano kopii bazy %1 (nie została nadpisana):").arg(file);
    const QByteArray bytes = ReadWholeFile(file, failure + QStringLiteral(" nie można otworzyć pliku"),
        failure + QStringLiteral(" nie można odczytać pliku"));
    SaveWholeFile(copy, bytes, failure + QStringLiteral(" nie można zapisać pliku"));
    return copy;
}

} // namespace kibic
