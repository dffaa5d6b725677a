// TcollForm: the main window. It owns the tournament model, the polling timer, the results grid and
// the toolbar from which everything the director does starts.
#pragma once

#include "shell/ui/WindowOperator.h"
#include "tournament/TournamentModel.h"

#include <QStringList>
#include <QWidget>
#include <functional>

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
    QMenu* PopupMenu1;
    QAction* Poprawzapis1; // "Popraw zapis", the default item
    QAction* Zgazaznaczenie1; // "Zgaś zaznaczenie"
    QAction* Zgawszystkiezaznaczenia1; // "Zgaś wszystkie zaznaczenia"
    QFileDialog* OpenDialog1; // tournaments and scoring databases
    QFileDialog* SaveDialog1; // pattern files, saving
    QFileDialog* OpenDialog2; // pattern files, opening
    QTimer* Timer1; // polling tick

public slots:
    void Otwrz1Click();
    void Otwrz2Click();
    void ToolButton8Click();
    void Koniec1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void FormCreate(const QStringList& arguments, const QString& programDirectory);
    void FormClose();

    WindowOperator m_operator;
    QString m_patternFolder;
};

} // namespace kibic
