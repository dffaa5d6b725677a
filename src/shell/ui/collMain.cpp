// TcollForm: the main window's controls, its start and its end.
#include "shell/ui/collMain.h"

#include "common/DialogFilter.h"
#include "common/ui/FileDialogs.h"
#include "common/ui/FormDesign.h"
#include "common/ui/Glyphs.h"
#include "shell/GuardAction.h"
#include "shell/MainWindowStartup.h"
#include "shell/ui/UAbout.h"
#include "transfer/ResultGrid.h"
#include "transfer/ui/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace kibic {

namespace {

QToolButton* ToolButton(QToolBar* bar, const char* name, Glyph image, const QString& hint)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setIcon(GlyphIcon(image));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

QPushButton* GlyphButton(QWidget* parent, const char* name, Glyph glyph, const QString& text, const QString& hint)
{
    auto* button = new QPushButton(GlyphIcon(glyph), text, parent);
    button->setObjectName(QLatin1String(name));
    if (!hint.isEmpty())
        button->setToolTip(hint);
    button->hide();
    return button;
}

QString SkyBlueCss()
{
    const QColor sky(RgbOfTColor(clSkyBlue));
    return sky.name();
}

} // namespace

TcollForm::TcollForm(QWidget* parent)
    : TcollForm(QCoreApplication::arguments().mid(1), QCoreApplication::applicationDirPath(), parent)
{
}

TcollForm::TcollForm(const QStringList& arguments, const QString& programDirectory, QWidget* parent)
    : QWidget(parent)
{
    CreateControls();
    // How a new scoring database was made shows in the line under the status until the first pass.
    m_operator.SetNotePlace([this](const QString& text) {
        Label4->setText(text);
        Label4->setToolTip(text);
        Label4->show();
    });
    FormCreate(arguments, programDirectory);
}

TcollForm::~TcollForm() = default;

bool TcollForm::Guard(const std::function<void()>& action)
{
    return GuardAction(m_operator, action);
}

void TcollForm::CreateControls()
{
    setObjectName(QStringLiteral("collForm"));
    setWindowTitle(QStringLiteral("Z pierniczków do ZyRTa"));
    setFont(DesignFont(MsSansSerif, 11));
    move(335, 321);
    SetOuterSize(*this, FrameKind::Sizeable, 500, 256, false);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setGeometry(0, 0, width(), 29);
    ToolButton2 = ToolButton(ToolBar1, "ToolButton2", Glyph::OpenTournament, QStringLiteral("Otwórz turniej ZyRTa"));
    ToolButton4 = ToolButton(ToolBar1, "ToolButton4", Glyph::OpenDatabase, QStringLiteral("Otwórz bazę pierniczkową"));
    ToolButton10 = ToolButton(ToolBar1, "ToolButton10", Glyph::Card, QStringLiteral("Wczytaj rozkłady"));
    ToolButton10->setEnabled(false);
    ToolButton8 = ToolButton(ToolBar1, "ToolButton8", Glyph::About, QStringLiteral("o programie..."));
    // The wide separator: "Wyjście" stands apart at the right end.
    auto* separator = new QWidget(ToolBar1);
    separator->setObjectName(QStringLiteral("ToolButton5"));
    separator->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    ToolBar1->addWidget(separator);
    ToolButton6 = ToolButton(ToolBar1, "ToolButton6", Glyph::Exit, QStringLiteral("Wyjście"));

    Label2 = new QLabel(QStringLiteral("Co ile sekund:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 38, 84, 17);
    Label2->hide();

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(94, 35, 41, 22);
    QPalette cream = Edit1->palette();
    cream.setColor(QPalette::Base, QColor(RgbOfTColor(clCream)));
    Edit1->setPalette(cream);
    Edit1->hide();

    Button1 = GlyphButton(this, "Button1", Glyph::Start, QString(), QStringLiteral("Start"));
    Button1->setGeometry(142, 33, 25, 25);
    Button2 = GlyphButton(this, "Button2", Glyph::Stop, QString(), QStringLiteral("Stop"));
    Button2->setGeometry(142, 33, 25, 25);

    btnIDS = GlyphButton(this, "btnIDS", Glyph::ReadIdentifiers, QStringLiteral("Czytaj identyfikatory"), QString());
    btnIDS->setGeometry(178, 33, 170, 25);

    CheckBoxCezar = new QCheckBox(QStringLiteral("cezarowe"), this);
    CheckBoxCezar->setObjectName(QStringLiteral("CheckBoxCezar"));
    CheckBoxCezar->setGeometry(356, 37, 100, 17);
    CheckBoxCezar->setChecked(true);
    CheckBoxCezar->hide();

    // The results grid. Its fixed row and fixed column are the table's headers, so that board numbers
    // and table labels stay in view while the grid scrolls: horizontal header section i-1 is the
    // column of board i, vertical header section j-1 the row of table j. A cell is 18 pixels plus its
    // 1-pixel grid line; the fixed column is 28 plus its line.
    StringGrid1 = new QTableWidget(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setVerticalHeader(new GridLabelColumn(StringGrid1));
    StringGrid1->setGeometry(8, 64, 476, 120);
    const QFont gridFont = DesignFont(MsSansSerif, 11, true);
    StringGrid1->setFont(gridFont);
    QPalette gridColours = StringGrid1->palette();
    gridColours.setColor(QPalette::Base, QColor(RgbOfTColor(clYellow)));
    gridColours.setColor(QPalette::Text, QColor(RgbOfTColor(clNavy)));
    StringGrid1->setPalette(gridColours);
    for (QHeaderView* header : { StringGrid1->horizontalHeader(), StringGrid1->verticalHeader() }) {
        header->setMinimumSectionSize(5);
        header->setDefaultSectionSize(19);
        header->setSectionResizeMode(QHeaderView::Interactive);
        header->setFont(gridFont);
        header->setHighlightSections(false);
    }
    StringGrid1->horizontalHeader()->setFixedHeight(19);
    StringGrid1->verticalHeader()->setFixedWidth(29);
    StringGrid1->setStyleSheet(QStringLiteral("QHeaderView::section, QTableCornerButton::section {"
                                              " background-color: %1; color: navy; font-weight: bold;"
                                              " border: none; border-right: 1px solid gray;"
                                              " border-bottom: 1px solid gray; padding: 0px; }")
                                   .arg(SkyBlueCss()));
    StringGrid1->setShowGrid(true);
    StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setCornerButtonEnabled(false);
    StringGrid1->hide();

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(9, 184, 474, 22);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setFont(DesignFont(MsSansSerif, 16, true));
    Label3->setAutoFillBackground(true);
    QPalette status = Label3->palette();
    status.setColor(QPalette::Window, QColor(RgbOfTColor(clSkyBlue)));
    status.setColor(QPalette::WindowText, QColor(RgbOfTColor(clNavy)));
    Label3->setPalette(status);
    Label3->hide();

    // Its own line under the status label, which keeps its few words.
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(8, 208, 484, 32);
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4->setWordWrap(true);
    Label4->setFont(DesignFont(MsSansSerif, 11));
    QPalette line = Label4->palette();
    line.setColor(QPalette::WindowText, QColor(RgbOfTColor(clNavy)));
    Label4->setPalette(line);
    Label4->hide();

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Poprawzapis1 = PopupMenu1->addAction(QStringLiteral("Popraw zapis"));
    Poprawzapis1->setObjectName(QStringLiteral("Poprawzapis1"));
    QFont defaultItem = PopupMenu1->font();
    defaultItem.setBold(true);
    Poprawzapis1->setFont(defaultItem);
    PopupMenu1->setDefaultAction(Poprawzapis1);
    Poprawwedlugpropozycji1 = PopupMenu1->addAction(QStringLiteral("Popraw według propozycji"));
    Poprawwedlugpropozycji1->setObjectName(QStringLiteral("Poprawwedlugpropozycji1"));
    Zgazaznaczenie1 = PopupMenu1->addAction(QStringLiteral("Zgaś zaznaczenie"));
    Zgazaznaczenie1->setObjectName(QStringLiteral("Zgazaznaczenie1"));
    Zgawszystkiezaznaczenia1 = PopupMenu1->addAction(QStringLiteral("Zgaś wszystkie zaznaczenia"));
    Zgawszystkiezaznaczenia1->setObjectName(QStringLiteral("Zgawszystkiezaznaczenia1"));
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);

    OpenDialog1 = new QFileDialog(this);
    SetUpFileDialog(
        *OpenDialog1, QStringLiteral("OpenDialog1"), QFileDialog::AcceptOpen, QStringLiteral("bws"), OpenDialog1Filter);
    OpenDialog1->setSizeGripEnabled(true);

    SaveDialog1 = new QFileDialog(this);
    SetUpFileDialog(
        *SaveDialog1, QStringLiteral("SaveDialog1"), QFileDialog::AcceptSave, QStringLiteral("bmt"), SaveDialog1Filter);
    SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite, false);

    OpenDialog2 = new QFileDialog(this);
    OpenDialog2->setObjectName(QStringLiteral("OpenDialog2"));
    OpenDialog2->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog2->setFileMode(QFileDialog::ExistingFile);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10000);

    connect(ToolButton2, &QToolButton::clicked, this, &TcollForm::Otwrz1Click);
    connect(ToolButton4, &QToolButton::clicked, this, &TcollForm::Otwrz2Click);
    connect(ToolButton10, &QToolButton::clicked, this, &TcollForm::Wczytajrozklady1Click);
    connect(ToolButton8, &QToolButton::clicked, this, &TcollForm::ToolButton8Click);
    connect(ToolButton6, &QToolButton::clicked, this, &TcollForm::Koniec1Click);
    ConnectTransferControls();
}

void TcollForm::FormCreate(const QStringList& arguments, const QString& programDirectory)
{
    Guard([&] {
        m_patternFolder = StartMainWindow(Model, arguments, programDirectory);
        SaveDialog1->setDirectory(m_patternFolder);
        OpenDialog2->setDirectory(m_patternFolder);
    });
}

void TcollForm::FormClose()
{
    Timer1->stop();
    Model.Release();
}

void TcollForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    event->accept();
}

void TcollForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ToolBar1->setGeometry(0, 0, width(), ToolBar1->height());
    PlaceGridInWindow();
}

void TcollForm::PlaceGridInWindow()
{
    if (!m_gridPlace)
        return;
    // The grid is anchored to the left, top and bottom and stays inside the window with its scroll bars;
    // the status label stays under it, as wide as it.
    const GridSize grid = GridInWindow(width(), height(), *m_gridPlace);
    StringGrid1->resize(grid.Width, grid.Height);
    Label3->setGeometry(Label3->x(), StringGrid1->y() + grid.Height, grid.Width - 2, Label3->height());
    PlaceLabel4();
}

void TcollForm::ToolButton8Click()
{
    Guard([this] {
        TAbout about(this);
        about.exec();
    });
}

void TcollForm::Koniec1Click()
{
    close();
}

} // namespace kibic
