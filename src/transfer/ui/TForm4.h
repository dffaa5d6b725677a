// The correction window "Popraw w pierniczku": one received record corrected by the director.
#pragma once

#include "transfer/ScoreCorrection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace kibic {

class TForm4 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm4(QWidget* parent = nullptr);

    // Shows a record: captions, the contract's text, the items equal to the three texts, "złe linie".
    void Fill(const ScoreCorrection& correction);
    // What the window holds now; after OK the contract is already normalised.
    [[nodiscard]] ScoreCorrection Correction() const;

    QLabel* LabelR;
    QLabel* LabelS;
    QLabel* LabelN;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QComboBox* CBn; // contract or split score, editable
    QComboBox* CBr; // declarer
    QComboBox* CBw; // lead card
    QComboBox* CBl; // tricks relative to the contract
    QCheckBox* CheckBox1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

public slots:
    // OK: closes only when CBn holds a contract, "PASS" or a split score; otherwise the focus goes back
    // to CBn with the text as normalised.
    void BitBtn1Click();
    // Entering the tricks list: only the tricks possible for CBn's level are offered.
    void CBlEnter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace kibic
