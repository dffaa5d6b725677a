// Helpers shared by the scoring database tests: lists of texts and rows of a table as texts.
#pragma once

#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/TerminalOptions.h"
#include "scoringdb/TTable.h"

#include <QFile>
#include <QStringList>
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

// The rows of a table in natural order, each as its chosen columns joined by "|" (NULL as "-").
inline QStringList Rows(const QString& file, const QString& tableName, const QStringList& columns)
{
    TTable table(ScoringConnectionString(file), tableName);
    table.Open();
    QStringList rows;
    for (table.First(); !table.Eof(); table.Next()) {
        QStringList values;
        for (const QString& column : columns) {
            const QVariant value = table.FieldValue(column);
            values << (value.isNull() ? QStringLiteral("-") : table.FieldAsString(column));
        }
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
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
