// TcollForm: the main window. It owns the tournament model, the polling timer, the results grid and
// the toolbar from which everything the director does starts.
#pragma once

#include "deals/SessionDeals.h"
#include "scoringdb/TTable.h"
#include "shell/ui/WindowOperator.h"
#include "tournament/TournamentModel.h"
#include "transfer/GridLayout.h"
#include "transfer/Polling.h"
#include "transfer/TableProgress.h"
#include "transfer/uScoreProvider.h"

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class QTimer;
class QToolBar;
class QToolButton;

namespace kibic {

class ResultGrid;
class StringGridCells;

class TcollForm : public QWidget
{
    Q_OBJECT

public:
    // arguments: the command line without the program; programDirectory: where the pattern folder
    // "BMT" lives. The defaults are the running program's.
    explicit TcollForm(QWidget* parent = nullptr);
    TcollForm(const QStringList& arguments, const QString& programDirectory, QWidget* parent = nullptr);
    ~TcollForm() override;

    // The open tournament and the run-time flags.
    TournamentModel Model;

    // Messages and questions of every handler of the window.
    [[nodiscard]] Operator& Dialogs() { return m_operator; }

    // Runs one handler's work; a failure is shown in the error box and goes no further.
    bool Guard(const std::function<void()>& action);

    // The initial folder of the pattern file dialogs.
    [[nodiscard]] QString PatternFolder() const { return m_patternFolder; }

    QToolBar* ToolBar1;
    QToolButton* ToolButton2; // "Otwórz turniej ZyRTa"
    QToolButton* ToolButton4; // "Otwórz bazę pierniczkową"
    QToolButton* ToolButton10; // "Wczytaj rozkłady", enabled once a scoring database is open
    QToolButton* ToolButton8; // "o programie..."
    QToolButton* ToolButton6; // "Wyjście"
    QLabel* Label2; // "Co ile sekund:"
    QLineEdit* Edit1; // polling interval in seconds
    QPushButton* Button1; // "Start"
    QPushButton* Button2; // "Stop", in the place of Button1
    QPushButton* btnIDS; // "Czytaj identyfikatory"
    QCheckBox* CheckBoxCezar; // "cezarowe"
    QTableWidget* StringGrid1;
    QLabel* Label3; // polling status
    QLabel* Label4; // under the status: the last pass, the results received, the suspicious, the late tables
    QMenu* PopupMenu1;
    QAction* Poprawzapis1; // "Popraw zapis", the default item
    QAction* Poprawwedlugpropozycji1; // "Popraw według propozycji": only on a suspicious cell with a proposal
    QAction* Zgazaznaczenie1; // "Zgaś zaznaczenie"
    QAction* Zgawszystkiezaznaczenia1; // "Zgaś wszystkie zaznaczenia"
    QFileDialog* OpenDialog1; // tournaments and scoring databases
    QFileDialog* SaveDialog1; // pattern files, saving
    QFileDialog* OpenDialog2; // pattern files, opening
    QTimer* Timer1; // polling tick

    // The open scoring database's received scores and round rows (closed between operations).
    TTable recTable;
    TTable rdaTable;
    // Keeps the open scoring database's connection from one operation to the next, for as long as the
    // window serves the tournament.
    void HoldDatabase(const QString& connectionString);
    // The one score provider of the run.
    const TScoreProvider ScoreProvider{};

    // The results grid after a scoring database was opened: cells, window size, handled scores.
    void SetUpGrid();
    void FitWindowToGrid();
    void RefreshGrid();
    // Starts (a pass at once, then every interval) or stops polling.
    void SetPolling(bool on);
    // The deals of the open database (none when it has no HandRecord), read again and given to the grid's
    // tooltips. Deals that cannot be read (another program wrote them) are shown as an error and left out:
    // the tooltips do without them, the database stays open.
    void ReadSessionDeals();
    [[nodiscard]] const SessionDeals& Deals() const { return m_deals; }
    // One transfer pass. A failure is said under the status line and tried again at the next tick; the
    // same failure on three ticks in a row stops polling and is shown in the error box.
    void TransferResults();
    // The grid's cells as the transfer addresses them (row 0 and column 0 the headers).
    [[nodiscard]] ResultGrid& Grid();
    // How far every table has come, on the row labels and in Label4, whose line starts with head (the
    // time of the pass and what it did; empty before the first pass).
    void ShowProgress(const QString& head);

public slots:
    void Otwrz1Click();
    void Otwrz2Click();
    void Wczytajrozklady1Click();
    void ToolButton8Click();
    void Koniec1Click();
    void Button1Click();
    void BitBtn1Click();
    void Timer1Timer();
    void PopupMenu1Popup();
    void StringGrid1DblClick();
    void Poprawwedlugpropozycji1Click();
    void Zgazaznaczenie1Click();
    void Zgawszystkiezaznaczenia1Click();
    void btnIDSClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void FormCreate(const QStringList& arguments, const QString& programDirectory);
    void FormClose();
    void ConnectTransferControls();
    // Label4 under the status label, across the window.
    void PlaceLabel4();
    // The grid and the status label in the window's present size (GridInWindow).
    void PlaceGridInWindow();
    // Makes fileName the open scoring database: the computer registered, the grid set up, the
    // terminals' options shown and, on "Tak", the terminal server started.
    void OpenScoringDatabase(const QString& fileName);
    // The file chosen in OpenDialog1 with that default extension and filter; empty when cancelled.
    [[nodiscard]] QString ChooseFile(const QString& defaultSuffix, const QString& filter);
    // Right button on the grid: the cell under the mouse becomes current; a header disarms the next action.
    void StringGrid1MouseDown(QWidget* source, const QPoint& at);

    WindowOperator m_operator;
    QString m_patternFolder;
    std::unique_ptr<StringGridCells> m_cells;
    SessionDeals m_deals; // the open database's deals, for the cell tooltips
    TournamentPlan m_plan; // which boards each table plays in which round, read when the grid is set up
    // The open scoring database's connection, kept from pass to pass while the tournament is open.
    std::unique_ptr<DatabaseHold> m_databaseHold;
    PassFailureRule m_passFailures;
    // Where FitWindowToGrid put the grid, kept when the window is resized, so that the grid stretches
    // downwards and shrinks into a smaller window; none before the grid is set up.
    std::optional<GridPlace> m_gridPlace;
};

} // namespace kibic
