// Helpers shared by the scoring database tests: lists of texts and rows of a table as texts.
#pragma once

#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/TQuery.h"
#include "scoringdb/TTable.h"
#include "scoringdb/TerminalOptions.h"
#include "scoringdb/uCreateBWS.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <utility>
#include <initializer_list>

namespace kibic::test {

inline QStringList L(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

// "A,B,C" as a list of column names.
inline QStringList Columns(const char* joined)
{
    return QString::fromLatin1(joined).split(QLatin1Char(','));
}

// The rows of a table in natural order, each as its chosen columns joined by "|" (NULL as "-", a flag as 1
// or 0 whether the driver gives it as a Yes/No or as a number).
inline QStringList Rows(const QString& file, const QString& tableName, const QStringList& columns)
{
    TTable table(ScoringConnectionString(file), tableName);
    table.Open();
    QStringList rows;
    for (table.First(); !table.Eof(); table.Next()) {
        QStringList values;
        for (const QString& column : columns) {
            const QVariant value = table.FieldValue(column);
            if (value.isNull())
                values << QStringLiteral("-");
            else if (value.typeId() == QMetaType::Bool)
                values << (value.toBool() ? QStringLiteral("1") : QStringLiteral("0"));
            else
                values << table.FieldAsString(column);
        }
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

// Settings as an older server made it, without some of its columns: the table made again by its own statement
// less those columns, and its row put back without their values. Through Kibic's own connection, so that
// each backend (the Jet stand-in too) makes the table its own way.
inline void RecreateSettingsWithout(const QString& file, const QStringList& dropped)
{
    QList<std::pair<QString, QVariant>> row;
    {
        TTable settings(ScoringConnectionString(file), QStringLiteral("Settings"));
        settings.Open();
        settings.First();
        for (const QString& column : settings.FieldNames()) {
            if (!dropped.contains(column) && !settings.Eof())
                row.append({ column, settings.FieldValue(column) });
        }
    }
    QString statement = TableStatements(false, false).at(10);
    for (const QString& column : dropped)
        statement.remove(QRegularExpression(QStringLiteral(",\\[%1\\][^,)]*").arg(column)));
    TQuery query(ScoringConnectionString(file));
    query.SetSql(QStringLiteral("DROP TABLE [Settings]"));
    query.ExecSql();
    query.SetSql(statement);
    query.ExecSql();
    TTable settings(ScoringConnectionString(file), QStringLiteral("Settings"));
    settings.Open();
    settings.Append();
    for (const auto& [column, value] : row)
        settings.SetField(column, value);
    settings.Post();
}

inline QByteArray Content(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// The options a fresh build writes.
inline TerminalOptions FreshBuildOptions()
{
    TerminalOptions options;
    options.ShowResults = true;
    options.ShowPercentage = true;
    options.RepeatResults = false;
    options.ScorePoints = 0;
    options.EnterResultsMethod = 0;
    options.ShowPairNumbers = true;
    options.AutopoweroffTime = 10;
    options.VerificationTime = 1;
    options.LeadCard = true;
    options.MemberNumbers = false;
    options.MemberNumbersNoBlankEntry = false;
    return options;
}

} // namespace kibic::test
