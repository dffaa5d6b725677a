// TfrmNietyp: the pattern editor, one page per board set of a non-typical sector.
#pragma once

#include "sectors/uNietyp.h"

#include <QDialog>
#include <QFileDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QStyledItemDelegate;
class QTableWidget;

namespace kibic {

class Operator;

// "Sektor nietypowy - sprawdzenie". Row 0 of StringGrid1 is its header (it stays in view when the grid
// scrolls); rows 1..n are the sector's tables. Columns 0 and 1 ("NS", "EW") are fixed, 2 ("stolik") and
// 3 ("runda") editable. Each button closes the page with its modal result; the run decides what follows.
class TfrmNietyp : public QDialog, public PatternEditorView
{
    Q_OBJECT

public:
    // patternFolder: where the file dialogs start (the program's pattern folder); messages reports a
    // pattern refused or a pattern file that failed.
    TfrmNietyp(QString patternFolder, Operator& messages, QWidget* parent = nullptr);
    ~TfrmNietyp() override;

    // Sizes the window for n rows, then shows the sector page by page (board sets 1..TableCount) until
    // "OK" or "Cancel". True only on "OK" with every Table and Round stated.
    [[nodiscard]] bool EditSectorPattern(TournamentModel& model, qint32 n, qint32 o);

    // The grid's cell in Delphi's order: column, then row (row 0 the header).
    [[nodiscard]] QString Cells(int column, int row) const;

    // The help's reaction to the text of a cell changing as the operator types.
    void StringGrid1SetEditText(int column, int row, const QString& text);

    void ShowPage(const PatternPage& page) override;
    [[nodiscard]] ModalResult ShowModalPage() override;
    [[nodiscard]] QStringList TableTexts() const override;
    [[nodiscard]] QStringList RoundTexts() const override;
    [[nodiscard]] QString AskLoadPatternFile() override;
    [[nodiscard]] QString AskSavePatternFile() override;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // previous board set ("No")
    QPushButton* BitBtn2 = nullptr; // next board set ("Yes")
    QPushButton* BitBtn3 = nullptr; // accept ("OK")
    QPushButton* BitBtn4 = nullptr; // abandon ("Cancel")
    QPushButton* BitBtn5 = nullptr; // load a pattern file ("Retry")
    QPushButton* BitBtn6 = nullptr; // save a pattern file ("Ignore")
    QCheckBox* pomocCB = nullptr;

    // PatternRows, PatternRounds, TableValues, RoundValues of the help.
    PatternHelp Help;

public slots:
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The pattern file dialog: open an existing pattern or save one, in the pattern folder.
    [[nodiscard]] QString AskPatternFile(
        const QString& caption, const QString& dialogName, QFileDialog::AcceptMode mode);

    void SizeForRows(qint32 n);
    void BitBtnClick(ModalResult modalResult);
    void CommitGridEdit();
    QStringList ColumnTexts(PatternColumn column) const;

    QString m_patternFolder;
    Operator& m_messages;
    QStyledItemDelegate* m_delegate = nullptr;
    bool m_filling = false;
    int m_buttonRowWidth = 0;
    int m_gridBottomGap = 0;
    int m_gridOuterExtra = 0; // outer height of the window less the grid's height
};

} // namespace kibic
