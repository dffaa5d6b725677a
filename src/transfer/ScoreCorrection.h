// What the correction window shows and gives back: one received record as the director corrects it.
#pragma once

#include <QString>

namespace kibic {

struct ScoreCorrection
{
    QString RoundCaption; // LabelR, e.g. "Runda 2"
    QString TableCaption; // LabelS, e.g. "Stół A3(5-12)"
    QString BoardCaption; // LabelN, e.g. "Rozdanie 5"
    QString Contract; // CBn's text: a contract, "PASS" or a split score
    // The three lists' selected texts; empty for no selection. Filling selects the item equal to the text
    // (exact comparison) and nothing when there is none.
    QString Declarer; // CBr
    QString LeadCard; // CBw
    QString Tricks; // CBl
    bool WrongLines = false; // CheckBox1 "złe linie": the remark "*"

    friend bool operator==(const ScoreCorrection&, const ScoreCorrection&) = default;
};

} // namespace kibic
