// Reading and writing the terminals' options in the first Settings row.
#include "scoringdb/TerminalOptions.h"

#include "scoringdb/TTable.h"

namespace kibic {

TerminalOptions ReadTerminalOptions(const TTable& settings)
{
    TerminalOptions options;
    options.ShowResults = settings.FieldAsBoolean(QStringLiteral("ShowResults"));
    if (options.ShowResults) {
        options.RepeatResults = settings.FieldAsBoolean(QStringLiteral("RepeatResults"));
        options.ShowPercentage = settings.FieldAsBoolean(QStringLiteral("ShowPercentage"));
    } else {
        options.RepeatResults = false;
        options.ShowPercentage = false;
    }
    options.ScorePoints = settings.FieldAsInteger(QStringLiteral("ScorePoints"));
    options.EnterResultsMethod = settings.FieldAsInteger(QStringLiteral("EnterResultsMethod"));
    options.ShowPairNumbers = settings.FieldAsBoolean(QStringLiteral("ShowPairNumbers"));
    options.AutopoweroffTime = settings.FieldAsInteger(QStringLiteral("AutopoweroffTime"));
    options.VerificationTime = settings.FieldAsInteger(QStringLiteral("VerificationTime"));
    options.LeadCard = settings.FieldAsBoolean(QStringLiteral("LeadCard"));
    options.MemberNumbers = settings.FieldAsBoolean(QStringLiteral("MemberNumbers"));
    // Files of older servers lack the column.
    if (settings.HasField(QStringLiteral("MemberNumbersNoBlankEntry")))
        options.MemberNumbersNoBlankEntry = settings.FieldAsBoolean(QStringLiteral("MemberNumbersNoBlankEntry"));
    else
        options.MemberNumbersNoBlankEntry.reset();
    return options;
}

TerminalOptions OptionsToShow(const TerminalOptions& stored, const TournamentModel& model)
{
    TerminalOptions shown = stored;
    if (!model.OpenedExisting) {
        if (shown.ShowResults)
            shown.ShowPercentage = model.ScoringKind != 0;
        shown.MemberNumbers = true;
    }
    return shown;
}

void WriteTerminalOptions(TTable& settings, const TerminalOptions& options)
{
    settings.Edit();
    settings.SetField(QStringLiteral("ShowResults"), options.ShowResults);
    settings.SetField(QStringLiteral("ShowPercentage"), options.ShowPercentage);
    settings.SetField(QStringLiteral("RepeatResults"), options.RepeatResults);
    settings.SetField(QStringLiteral("ScorePoints"), options.ScorePoints);
    settings.SetField(QStringLiteral("EnterResultsMethod"), options.EnterResultsMethod);
    settings.SetField(QStringLiteral("ShowPairNumbers"), options.ShowPairNumbers);
    settings.SetField(QStringLiteral("AutopoweroffTime"), options.AutopoweroffTime);
    settings.SetField(QStringLiteral("VerificationTime"), options.VerificationTime);
    settings.SetField(QStringLiteral("LeadCard"), options.LeadCard);
    settings.SetField(QStringLiteral("MemberNumbers"), options.MemberNumbers);
    // Files of older servers lack the column; their row is saved without it.
    if (options.MemberNumbersNoBlankEntry.has_value() && settings.HasField(QStringLiteral("MemberNumbersNoBlankEntry")))
        settings.SetField(QStringLiteral("MemberNumbersNoBlankEntry"), *options.MemberNumbersNoBlankEntry);
    settings.Post();
}

std::optional<qint32> TimeInRange(const QString& text, qint32 low, qint32 high)
{
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace kibic
