// Answers to a non-typical sector from the command line: its kind, the barometer question, a pattern file.
#include "CliSectorOptions.h"

#include "CliCommand.h"

#include "common/KibicError.h"
#include "common/Operator.h"
#include "sectors/PatternFile.h"
#include "sectors/uSprNietyp.h"

#include <optional>

namespace kibic::cli {

namespace {

struct SectorOptions
{
    std::optional<SectorKind> Kind; // --sector-kind 501..504
    std::optional<QString> Pattern; // --pattern FILE.bmt
    std::optional<bool> Barometer; // --barometer yes|no
};

const std::array kAllKinds = { SectorKind::OneHowell, SectorKind::BigHowell, SectorKind::Barometer, SectorKind::Other };

QString KindList(const SectorKindChoice& choice)
{
    QStringList lines;
    for (const SectorKind kind : kAllKinds) {
        if (choice.IsEnabled(kind))
            lines.append(QStringLiteral("  %1 – %2").arg(static_cast<int>(kind)).arg(SectorKindCaption(kind)));
    }
    return lines.join(QLatin1Char('\n'));
}

// The questions of the sector, answered from the options. A question without its option ends the
// command with a message that names the option.
class CliSectorOperator : public SectorOperator, public Operator
{
public:
    explicit CliSectorOperator(SectorOptions options)
        : m_options(std::move(options))
    {
    }

    std::optional<SectorKind> ChooseSectorKind(const SectorKindChoice& choice) override
    {
        if (!m_options.Kind)
            throw KibicError(QStringLiteral("Turniej ma sektor nietypowy: podaj jego rodzaj opcją --sector-kind "
                                            "RODZAJ. Do wyboru są:\n")
                + KindList(choice));
        return m_options.Kind;
    }

    bool EditSectorPattern(TournamentModel& model, qint32 n, qint32 o) override
    {
        if (!m_options.Pattern)
            throw KibicError(QStringLiteral("Sektor nietypowy trzeba uzupełnić we wzorcu: podaj plik wzorca opcją "
                                            "--pattern PLIK.bmt."));
        const QString& path = *m_options.Pattern;
        m_refusal.clear();
        if (!LoadPattern(path, model, n, o, *this))
            throw KibicError(QStringLiteral("Wzorzec %1 nie pasuje do turnieju: ").arg(path) + m_refusal);
        for (qint32 b = 1; b <= model.TableCount; ++b) {
            for (qint32 i = 1; i <= n; ++i) {
                const MovementEntry& entry = SectorEntry(model, o, b, i);
                if (entry.Table < 1 || entry.Round < 1)
                    throw KibicError(QStringLiteral("Wzorzec %1 nie podaje stołu i rundy kompletu %2 w wierszu %3 "
                                                    "(stolik %4, runda %5).")
                                         .arg(path)
                                         .arg(b)
                                         .arg(i)
                                         .arg(entry.Table)
                                         .arg(entry.Round));
            }
        }
        const PatternFault fault = SectorPatternFault(model, n, o);
        if (!fault.Text.isEmpty())
            throw KibicError(QStringLiteral("Wzorzec %1: ").arg(path) + fault.Text);
        return true;
    }

    ModalResult Ask(Question question, const QString& text) override
    {
        if (question != Question::Barometer)
            return ShowMessageDialog(text, DialogKind::Confirm, YesNoQuestion);
        if (!m_options.Barometer)
            throw KibicError(QStringLiteral("Turniej indywidualny ma sektor nietypowy: odpowiedz na pytanie „") + text
                + QStringLiteral("” opcją --barometer yes|no."));
        if (!*m_options.Barometer && !m_options.Pattern)
            throw KibicError(QStringLiteral("Opcja --barometer no wymaga wzorca sektora: podaj go opcją "
                                            "--pattern PLIK.bmt."));
        return *m_options.Barometer ? ModalResult::Yes : ModalResult::No;
    }

    // What the pattern file's reading says when it refuses the file; a question is not answered.
    ModalResult ShowMessageDialog(const QString& text, DialogKind kind, DialogButtons buttons) override
    {
        (void)kind;
        m_refusal = text;
        return buttons.testFlag(DialogButton::Ok) ? ModalResult::Ok : ModalResult::Cancel;
    }

    void ShowError(const QString& text) override { throw KibicError(text); }

private:
    SectorOptions m_options;
    QString m_refusal;
};

// The completer of the command line: a kind that TForm2 would not offer is refused before anything is
// done; the rest is the completion every front end shares.
class CliSectorCompleter : public NonTypicalSectorCompleter
{
public:
    explicit CliSectorCompleter(SectorOptions options)
        : m_kind(options.Kind)
        , m_operator(std::move(options))
        , m_completion(m_operator, m_operator)
    {
    }

    bool CompleteNonTypicalSector(TournamentModel& model, const NonTypicalSectorHandOver& sector) override
    {
        const SectorKindChoice choice = EnabledSectorKinds(model, sector);
        if (m_kind && !choice.IsEnabled(*m_kind))
            throw KibicError(QStringLiteral("Rodzaj sektora %1 („%2”) nie pasuje do sektora nietypowego tego "
                                            "turnieju (%3 stołów, %4 kompletów, przesunięcie %5, zwykłych sektorów "
                                            "%6). Do wyboru są:\n")
                                 .arg(static_cast<int>(*m_kind))
                                 .arg(SectorKindCaption(*m_kind))
                                 .arg(sector.RowCount)
                                 .arg(model.TableCount)
                                 .arg(sector.Shift)
                                 .arg(model.SectionCount)
                + KindList(choice));
        return m_completion.CompleteNonTypicalSector(model, sector);
    }

    bool CompleteIndividualNonTypicalSector(TournamentModel& model, const NonTypicalSectorHandOver& sector) override
    {
        return m_completion.CompleteIndividualNonTypicalSector(model, sector);
    }

private:
    std::optional<SectorKind> m_kind;
    CliSectorOperator m_operator;
    SectorCompletion m_completion;
};

} // namespace

QList<tools::OptionRule> SectorOptionList()
{
    return { { QStringLiteral("sector-kind"), QStringLiteral("RODZAJ") },
        { QStringLiteral("pattern"), QStringLiteral("PLIK.bmt") },
        { QStringLiteral("barometer"), QStringLiteral("tak|nie") } };
}

std::unique_ptr<NonTypicalSectorCompleter> SectorCompleter(const tools::CommandLine& commandLine)
{
    SectorOptions options;
    if (const auto kind = commandLine.Value(QStringLiteral("sector-kind"))) {
        bool ok = false;
        options.Kind = SectorKindOf(kind->toInt(&ok));
        if (!ok || !options.Kind)
            throw CliUsageError(QStringLiteral("Opcja --sector-kind przyjmuje 501, 502, 503 lub 504, a nie „%1”.")
                                    .arg(QuotedValue(*kind)));
    }
    options.Pattern = commandLine.Value(QStringLiteral("pattern"));
    if (options.Pattern && options.Pattern->isEmpty())
        throw CliUsageError(QStringLiteral("Opcja --pattern wymaga nazwy pliku wzorca."));
    if (const auto barometer = commandLine.Value(QStringLiteral("barometer"))) {
        // The answer in English or in the dialog's own words.
        if (*barometer == QLatin1String("yes") || *barometer == QLatin1String("tak"))
            options.Barometer = true;
        else if (*barometer == QLatin1String("no") || *barometer == QLatin1String("nie"))
            options.Barometer = false;
        else
            throw CliUsageError(QStringLiteral("Opcja --barometer przyjmuje yes (tak) lub no (nie), a nie „%1”.")
                                    .arg(QuotedValue(*barometer)));
    }
    return std::make_unique<CliSectorCompleter>(std::move(options));
}

} // namespace kibic::cli
