// Screenshots of the transfer's windows: the correction window with a received record.
#include "Screenshots.h"

#include "transfer/ui/TForm4.h"

namespace {

std::unique_ptr<QWidget> CorrectionWindow()
{
    auto window = std::make_unique<kibic::TForm4>();
    kibic::ScoreCorrection record;
    record.RoundCaption = QStringLiteral("Runda 4");
    record.TableCaption = QStringLiteral("Stół B3(13-18)");
    record.BoardCaption = QStringLiteral("Rozdanie 21(9)");
    record.Contract = QStringLiteral("4 S x");
    record.Declarer = QStringLiteral("N");
    record.LeadCard = QStringLiteral("H10");
    record.Tricks = QStringLiteral("+1");
    window->Fill(record);
    return window;
}

} // namespace

KIBIC_SCREENSHOT("transfer-correction", CorrectionWindow);
