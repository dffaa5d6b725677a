// TForm2: the choice of a non-typical sector's kind.
#include "sectors/ui/TForm2.h"

#include "common/DialogTypes.h"
#include "common/ui/FormDesign.h"

#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kibic {

TForm2::TForm2(QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Sektor nietypowy"));
    setFont(DesignFont(MsSansSerif, 11));

    Label1 = new QLabel(QStringLiteral("W tym turnieju jest sektor nietypowy. Dane ZyRTa nie pozwalają na łatwe "
                                       "utworzenie danych dla pierniczków. Potrzebna jest Twoja pomoc. Wybierz z "
                                       "jakim sektorem nietypowym mamy do czynienia:"),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setFont(DesignFont(MsSansSerif, 11, true));
    Label1->setFixedWidth(380);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(Label1);

    const std::array kinds = { SectorKind::OneHowell, SectorKind::BigHowell, SectorKind::Barometer, SectorKind::Other };
    std::array<QRadioButton**, 4> buttons = { &RadioButton1, &RadioButton2, &RadioButton3, &RadioButton4 };
    for (size_t i = 0; i < kinds.size(); ++i) {
        auto* button = new QRadioButton(SectorKindCaption(kinds[i]), this);
        button->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        const SectorKind kind = kinds[i];
        connect(button, &QRadioButton::clicked, this, [this, kind] { RadioButtonClick(kind); });
        layout->addWidget(button);
        *buttons[i] = button;
    }
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm2::EnableKinds(const SectorKindChoice& choice)
{
    RadioButton1->setEnabled(choice.IsEnabled(SectorKind::OneHowell));
    RadioButton2->setEnabled(choice.IsEnabled(SectorKind::BigHowell));
    RadioButton3->setEnabled(choice.IsEnabled(SectorKind::Barometer));
    RadioButton4->setEnabled(choice.IsEnabled(SectorKind::Other));
}

std::optional<SectorKind> TForm2::ChooseKind()
{
    return SectorKindOf(exec());
}

void TForm2::reject()
{
    done(ModalCode(ModalResult::Cancel));
}

void TForm2::RadioButtonClick(SectorKind kind)
{
    done(static_cast<int>(kind));
}

} // namespace kibic
