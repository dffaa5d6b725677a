// TForm3 (uBMSets): the terminals' options of the tournament, shown before the terminal server starts.
#pragma once

#include "common/DialogTypes.h"
#include "scoringdb/TerminalOptions.h"

#include <QDialog>
#include <QString>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;

namespace kibic {

class Operator;

// Asked when CheckBox14 is ticked and no names file is known: the information to show when identifiers
// cannot be looked up in the player database; empty when it has players.
using PlayersMissingCheck = std::function<QString()>;

// "Tak" saves and starts the server (Yes), "Nie" saves only (No), "Zaniechaj" and the close box
// do neither (Cancel). The buttons close the window only with valid times.
class TForm3 : public QDialog
{
    Q_OBJECT

public:
    // op shows the information of CheckBox14Click, playersMissing answers its question.
    TForm3(QWidget* owner, Operator& op, PlayersMissingCheck playersMissing);

    // Shows the options (the window's loading rules); namesFileKnown is set last, so a CheckBox14 that
    // the loading ticks always checks the players' database.
    void Load(const TerminalOptions& options, bool namesFileKnown);

    // What the window shows, as it is saved into the Settings row. Only meaningful with valid times.
    [[nodiscard]] TerminalOptions Options() const;

    // True when both edits hold times within their bounds (each edit's text is trimmed in place); the
    // first faulty edit gets the focus. No message is shown.
    [[nodiscard]] bool ValidateTimes();

    // The players' names database of ZyRT is known, so identifiers can be looked up without Pelikar.
    bool NamesFileKnown = false;

    QLabel* Label5;
    QLabel* Label6;
    QCheckBox* CheckBox0; // ShowResults
    QCheckBox* CheckBox4; // ShowPercentage
    QCheckBox* CheckBox2; // RepeatResults
    QCheckBox* CheckBox6; // ScorePoints 0
    QCheckBox* CheckBox7; // EnterResultsMethod 0
    QCheckBox* CheckBox8; // ShowPairNumbers
    QLabel* Label1;       // "Automatyczne wyłączenie po"
    QLineEdit* Edit10;    // AutopoweroffTime
    QLabel* Label2;       // "sekundach (5-60)"
    QLabel* Label3;       // "Pokaż wynik do weryfikacji po"
    QLineEdit* Edit11;    // VerificationTime
    QLabel* Label4;       // "sekundach (1-7)"
    QCheckBox* CheckBox13; // LeadCard
    QCheckBox* CheckBox14; // MemberNumbers
    QCheckBox* CheckBox1;  // MemberNumbersNoBlankEntry
    QToolButton* BitBtn1;  // "Tak"
    QToolButton* BitBtn2;  // "Nie"
    QToolButton* BitBtn3;  // "Zaniechaj"

public slots:
    void CheckBox0Click();
    void CheckBox7Click();
    void CheckBox14Click();
    // Every button: with invalid times the window stays open.
    void BitBtn1Click();

    // The close box: closes at once with Cancel.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ButtonPressed(ModalResult result);

    Operator& m_operator;
    PlayersMissingCheck m_playersMissing;
    ModalResult m_modalResult = ModalResult::None;
    bool m_noBlankEntryColumn = true;
};

// Creates the window with owner, loads options, shows it modally and releases it; returns the modal
// result, and on Yes or No leaves in options what the window showed.
[[nodiscard]] ModalResult RunSettingsWindow(QWidget* owner, Operator& op, const PlayersMissingCheck& playersMissing,
    TerminalOptions& options, bool namesFileKnown);

} // namespace kibic
