// Answers to a non-typical sector from the command line.
#include "CliSectorOptions.h"

#include "shell/KibicError.h"

namespace kibic::cli {

namespace {

// Until sectors can be completed without a window, a tournament with one cannot be read here.
class UnavailableCompleter : public NonTypicalSectorCompleter
{
public:
    bool CompleteNonTypicalSector(TournamentModel&, const NonTypicalSectorHandOver&) override { Refuse(); }
    bool CompleteIndividualNonTypicalSector(TournamentModel&, const NonTypicalSectorHandOver&) override { Refuse(); }

private:
    [[noreturn]] static void Refuse()
    {
        throw KibicError(QStringLiteral("Turniej ma sektor nietypowy, którego nie da się jeszcze uzupełnić z wiersza poleceń."));
    }
};

void TakeOption(QStringList& arguments, const QString& name)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0)
        return;
    if (at + 1 >= arguments.size())
        throw KibicError(QStringLiteral("Opcja %1 wymaga wartości.").arg(name));
    arguments.remove(at, 2);
}

} // namespace

std::unique_ptr<NonTypicalSectorCompleter> TakeSectorOptions(QStringList& arguments)
{
    for (const auto* name : {"--sector-kind", "--pattern", "--barometer"})
        TakeOption(arguments, QString::fromLatin1(name));
    return std::make_unique<UnavailableCompleter>();
}

} // namespace kibic::cli
