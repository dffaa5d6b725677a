// TcollForm: the results grid, polling, and the director's actions on the grid.
#include "shell/ui/collMain.h"

#include "common/KibicError.h"
#include "common/uNapisy.h"
#include "common/ui/FormDesign.h"
#include "transfer/CellHints.h"
#include "transfer/GridLayout.h"
#include "transfer/Polling.h"
#include "transfer/popK.h"
#include "transfer/ui/StringGrid.h"
#include "transfer/ui/TForm4.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

namespace kibic {

namespace {

// The status line and the cursor around a pass.
class WindowPassFeedback : public PassFeedback
{
public:
    explicit WindowPassFeedback(TcollForm& form)
        : m_form(form)
    {
    }
    void PassStarted() override
    {
        m_form.Label3->setText(uNapisy::PracujeSie.toString());
        m_form.Dialogs().SetBusyCursor(true);
        m_form.repaint();
    }
    void PassFinished() override
    {
        m_form.Label3->setText(uNapisy::Czuwam.toString());
        m_form.Dialogs().SetBusyCursor(false);
        m_form.ShowProgress(QStringLiteral("ostatni przebieg ") + PassTime());
        m_form.repaint();
    }
    void PassRefused() override { m_form.Label3->setText(uNapisy::SaProblemy.toString()); }
    // The window waits for the next tick as after any pass; the window's handler says why under the status.
    void PassFailed(const KibicError&) override
    {
        m_form.Label3->setText(uNapisy::Czuwam.toString());
        m_form.Dialogs().SetBusyCursor(false);
    }
    // Only a file held by the other program: the window waits for the next tick as after any pass, and
    // the line under the status says why this one stopped.
    void PassPostponed(const KibicError& error) override
    {
        m_form.Label3->setText(uNapisy::Czuwam.toString());
        m_form.Dialogs().SetBusyCursor(false);
        m_form.ShowProgress(PassTime() + QLatin1Char(' ') + PostponedStatusText(error));
    }

    static QString PassTime() { return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")); }

private:
    TcollForm& m_form;
};

class WindowPolling : public PollingSwitch
{
public:
    explicit WindowPolling(TcollForm& form)
        : m_form(form)
    {
    }
    bool PollingOn() const override { return m_form.Model.PollingOn; }
    void SetPolling(bool on) override { m_form.SetPolling(on); }

private:
    TcollForm& m_form;
};

// "Popraw zapis" shows the record in TForm4.
class WindowCorrectionEditor : public CorrectionEditor
{
public:
    explicit WindowCorrectionEditor(QWidget* parent)
        : m_parent(parent)
    {
    }
    bool EditCorrection(ScoreCorrection& correction) override
    {
        TForm4 window(m_parent);
        window.Fill(correction);
        if (window.exec() != QDialog::Accepted)
            return false;
        correction = window.Correction();
        return true;
    }

private:
    QWidget* m_parent;
};

} // namespace

void TcollForm::ConnectTransferControls()
{
    m_cells = std::make_unique<StringGridCells>(StringGrid1, &ScoreProvider);
    m_cells->SetDeals(&m_deals);
    StringGrid1->setItemDelegate(new GridCellDelegate(StringGrid1));
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    StringGrid1->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    StringGrid1->verticalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    for (QWidget* source : { StringGrid1->viewport(), StringGrid1->horizontalHeader()->viewport(),
             StringGrid1->verticalHeader()->viewport() })
        source->installEventFilter(this);
    auto popup = [this](QWidget* source) {
        return [this, source](const QPoint& at) { PopupMenu1->popup(source->mapToGlobal(at)); };
    };
    connect(StringGrid1, &QWidget::customContextMenuRequested, this, popup(StringGrid1->viewport()));
    connect(StringGrid1->horizontalHeader(), &QWidget::customContextMenuRequested, this,
        popup(StringGrid1->horizontalHeader()));
    connect(StringGrid1->verticalHeader(), &QWidget::customContextMenuRequested, this,
        popup(StringGrid1->verticalHeader()));
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TcollForm::PopupMenu1Popup);
    connect(Poprawzapis1, &QAction::triggered, this, &TcollForm::StringGrid1DblClick);
    connect(Poprawwedlugpropozycji1, &QAction::triggered, this, &TcollForm::Poprawwedlugpropozycji1Click);
    connect(Zgazaznaczenie1, &QAction::triggered, this, &TcollForm::Zgazaznaczenie1Click);
    connect(Zgawszystkiezaznaczenia1, &QAction::triggered, this, &TcollForm::Zgawszystkiezaznaczenia1Click);
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, &TcollForm::StringGrid1DblClick);
    connect(Button1, &QPushButton::clicked, this, &TcollForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TcollForm::BitBtn1Click);
    connect(Timer1, &QTimer::timeout, this, &TcollForm::Timer1Timer);
    connect(btnIDS, &QPushButton::clicked, this, &TcollForm::btnIDSClick);
}

void TcollForm::HoldDatabase(const QString& connectionString)
{
    m_databaseHold.reset();
    m_databaseHold = std::make_unique<DatabaseHold>(connectionString);
}

ResultGrid& TcollForm::Grid()
{
    return *m_cells;
}

void TcollForm::SetUpGrid()
{
    SetUpGridCells(StringGrid1, Model);
    m_cells->ForgetSuspicions();
    Edit1->setText(QString::number(Timer1->interval() / 1000));
    StringGrid1->show();
    FitWindowToGrid();
    repaint();
    ReadSessionDeals();
    RefreshGrid();
    m_plan = ReadTournamentPlan(Model, rdaTable);
    ShowProgress(QString());
    Label2->show();
    Edit1->show();
    Button1->show();
    Label3->clear();
    ToolButton2->setEnabled(false);
    ToolButton4->setEnabled(false);
    ToolButton10->setEnabled(true);
}

void TcollForm::ShowProgress(const QString& head)
{
    const TournamentProgress progress = TableProgressOf(Model, m_plan, Grid());
    m_cells->ShowProgress(progress);
    Label4->setText(ProgressLine(head, progress, m_cells->Suspicions().Count()));
    Label4->show();
}

void TcollForm::FitWindowToGrid()
{
    const GridGeometry geometry = kibic::FitWindowToGrid(
        StringGrid1->rowCount() + 1, StringGrid1->columnCount() + 1, StringGrid1->x(), StringGrid1->y());
    m_gridPlace.reset();
    move(geometry.WindowLeft, geometry.WindowTop);
    SetOuterSize(*this, FrameKind::Sizeable, geometry.WindowWidth, geometry.WindowHeight, false);
    StringGrid1->resize(geometry.GridWidth, geometry.GridHeight);
    Label3->setGeometry(geometry.LabelLeft, geometry.LabelTop, geometry.LabelWidth, Label3->height());
    PlaceLabel4();
    // The margin under the grid as designed, whatever size the window system lets the window have.
    const QMargins frame = FrameOf(*this, FrameKind::Sizeable);
    const int designedHeight = geometry.WindowHeight - frame.top() - frame.bottom();
    m_gridPlace = GridPlace { StringGrid1->x(), StringGrid1->y(), geometry.GridWidth,
        designedHeight - StringGrid1->y() - geometry.GridHeight };
    const GridSize smallest = SmallestWindow(*m_gridPlace);
    setMinimumSize(smallest.Width, smallest.Height);
    PlaceGridInWindow();
    if (StringGrid1->rowCount() > 0 && StringGrid1->columnCount() > 0)
        StringGrid1->setCurrentCell(0, 0);
}

void TcollForm::PlaceLabel4()
{
    // The whole width of the window, two lines under the status label: late tables need the room.
    Label4->setGeometry(StringGrid1->x(), Label3->y() + Label3->height() + 2, std::max(0, width() - 2 * StringGrid1->x()),
        Label4->height());
}

void TcollForm::RefreshGrid()
{
    kibic::RefreshGrid(Model, recTable, rdaTable, Grid(), &m_deals);
}

void TcollForm::SetPolling(bool on)
{
    if (on) {
        // Start always starts afresh: no guard of an earlier pass and no failures counted before.
        Model.Busy = false;
        m_passFailures.Succeeded();
        Model.PollingOn = true;
        bool replaced = false;
        Model.PollSeconds = AcceptedPollSeconds(Edit1->text(), replaced);
        if (replaced)
            Edit1->setText(QStringLiteral("10"));
        Timer1->setInterval(Model.PollSeconds * 1000);
        Timer1->start();
        Label3->setText(uNapisy::Czuwam.toString());
        Label3->show();
        Button1->hide();
        Button2->show();
        TransferResults();
    } else {
        Timer1->stop();
        Label3->clear();
        Label3->hide();
        Model.PollingOn = false;
        Button2->hide();
        Button1->show();
    }
}

void TcollForm::TransferResults()
{
    Guard([this] {
        WindowPassFeedback feedback(*this);
        try {
            (void)kibic::TransferResults(Model, recTable, rdaTable, Grid(), ScoreProvider, feedback, &m_deals);
            m_passFailures.Succeeded();
            Label4->setToolTip(QString());
        } catch (const KibicError& error) {
            // A file held by the other program is no error for the director: the status line says so
            // and the next tick tries again.
            if (error.Busy())
                return;
            if (m_passFailures.Failed(error) == PassFailureRule::Answer::TryAgain) {
                ShowProgress(WindowPassFeedback::PassTime() + QLatin1Char(' ')
                    + RetryStatusText(error, m_passFailures.Streak(), QFileInfo(Model.TournamentBase).absolutePath()));
                Label4->setToolTip(error.Message());
                return;
            }
            SetPolling(false);
            throw StoppedTransfersError(error);
        }
    });
}

void TcollForm::Button1Click()
{
    SetPolling(true);
}

void TcollForm::BitBtn1Click()
{
    SetPolling(false);
}

void TcollForm::Timer1Timer()
{
    TransferResults();
}

void TcollForm::PopupMenu1Popup()
{
    Guard([this] {
        bool enabled = false;
        if (recTable.TableName().isEmpty() == false && StringGrid1->isVisible())
            enabled = CellActionsEnabled(
                Model, recTable, Grid(), StringGrid1->currentColumn() + 1, StringGrid1->currentRow() + 1);
        Poprawzapis1->setEnabled(enabled);
        Poprawwedlugpropozycji1->setEnabled(
            enabled
            && m_cells->Suspicions().ProposalAt(StringGrid1->currentColumn() + 1, StringGrid1->currentRow() + 1));
        Zgazaznaczenie1->setEnabled(enabled);
        Zgawszystkiezaznaczenia1->setEnabled(true);
    });
}

void TcollForm::StringGrid1DblClick()
{
    Guard([this] {
        WindowPolling polling(*this);
        WindowCorrectionEditor editor(this);
        CorrectCellRecord(GridActionContext { Model, recTable, rdaTable, Grid(), polling,
                              StringGrid1->currentColumn() + 1, StringGrid1->currentRow() + 1 },
            editor);
    });
}

void TcollForm::Poprawwedlugpropozycji1Click()
{
    Guard([this] {
        const int x = StringGrid1->currentColumn() + 1;
        const int y = StringGrid1->currentRow() + 1;
        const std::optional<ScoreCorrection> proposal = m_cells->Suspicions().ProposalAt(x, y);
        if (!proposal)
            return;
        WindowPolling polling(*this);
        WindowCorrectionEditor editor(this);
        CorrectCellByProposal(GridActionContext { Model, recTable, rdaTable, Grid(), polling, x, y }, editor, *proposal);
    });
}

void TcollForm::Zgazaznaczenie1Click()
{
    Guard([this] {
        WindowPolling polling(*this);
        ClearCellMark(GridActionContext { Model, recTable, rdaTable, Grid(), polling, StringGrid1->currentColumn() + 1,
            StringGrid1->currentRow() + 1 });
    });
}

void TcollForm::Zgawszystkiezaznaczenia1Click()
{
    Guard([this] {
        WindowPolling polling(*this);
        ClearAllMarks(GridActionContext { Model, recTable, rdaTable, Grid(), polling, StringGrid1->currentColumn() + 1,
                          StringGrid1->currentRow() + 1 },
            Dialogs());
    });
}

void TcollForm::StringGrid1MouseDown(QWidget* source, const QPoint& at)
{
    if (source == StringGrid1->viewport()) {
        const int row = StringGrid1->rowAt(at.y());
        const int column = StringGrid1->columnAt(at.x());
        if (row >= 0 && column >= 0)
            StringGrid1->setCurrentCell(row, column);
        return;
    }
    // A header cell: its row (or column) becomes current, the other stays, and the next action is disarmed.
    Model.CellClicked = false;
    if (source == StringGrid1->verticalHeader()->viewport()) {
        const int row = StringGrid1->verticalHeader()->logicalIndexAt(at);
        if (row >= 0)
            StringGrid1->setCurrentCell(row, std::max(0, StringGrid1->currentColumn()));
    } else if (source == StringGrid1->horizontalHeader()->viewport()) {
        const int column = StringGrid1->horizontalHeader()->logicalIndexAt(at);
        if (column >= 0)
            StringGrid1->setCurrentCell(std::max(0, StringGrid1->currentRow()), column);
    }
}

bool TcollForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && watched == StringGrid1->viewport()) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex cell = StringGrid1->indexAt(help->pos());
        if (cell.isValid())
            QToolTip::showText(help->globalPos(), m_cells->Hint(cell.column() + 1, cell.row() + 1),
                StringGrid1->viewport(), StringGrid1->visualRect(cell));
        else
            QToolTip::hideText();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            StringGrid1MouseDown(static_cast<QWidget*>(watched), mouse->position().toPoint());
            return false;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kibic
