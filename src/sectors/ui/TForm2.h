// TForm2: the choice of a non-typical sector's kind.
#pragma once

#include "sectors/uSprNietyp.h"

#include <QDialog>

class QLabel;
class QRadioButton;

namespace kibic {

// "Sektor nietypowy": a bold explanation and four radio buttons. Clicking one closes the window at once
// with its kind's number 501..504 as modal result; the close box (or Esc) gives Cancel.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm2(QWidget* parent = nullptr);

    // Enables the radio buttons as the choice says.
    void EnableKinds(const SectorKindChoice& choice);

    // Shows the window modally: the kind chosen, or none when it was closed without a choice.
    [[nodiscard]] std::optional<SectorKind> ChooseKind();

    QLabel* Label1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;

public slots:
    void reject() override;

private:
    void RadioButtonClick(SectorKind kind);
};

} // namespace kibic
