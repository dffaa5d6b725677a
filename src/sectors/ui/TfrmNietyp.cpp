// TfrmNietyp: the pattern editor, one page per board set of a non-typical sector.
#include "sectors/ui/TfrmNietyp.h"

#include "common/DialogFilter.h"
#include "common/Operator.h"
#include "common/ui/FileDialogs.h"
#include "common/ui/FormDesign.h"
#include "common/ui/Glyphs.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>

namespace kibic {

namespace {

// Layout of the client area, in pixels: the labels and the check box, a row of buttons, the grid.
constexpr int kMargin = 8;
constexpr int kButtonTop = 26;
constexpr int kButtonHeight = 25;
constexpr int kGridTop = kButtonTop + kButtonHeight + 8;
constexpr int kGlyphButtonWidth = 30;
constexpr int kGap = 4;
constexpr int kGroupGap = 8;

// The editor of a "stolik" or "runda" cell reports every change of its text while the operator types.
class PatternCellDelegate : public QStyledItemDelegate
{
public:
    PatternCellDelegate(TfrmNietyp* form)
        : QStyledItemDelegate(form)
        , m_form(form)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            const int column = index.column();
            const int row = index.row() + 1;
            TfrmNietyp* form = m_form;
            QObject::connect(line, &QLineEdit::textEdited, form,
                [form, column, row](const QString& text) { form->StringGrid1SetEditText(column, row, text); });
        }
        return editor;
    }

private:
    TfrmNietyp* m_form;
};

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QIcon& icon)
{
    auto* button = new QPushButton(icon, text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QIcon StandardIcon(const QWidget* widget, QStyle::StandardPixmap pixmap)
{
    return widget->style()->standardIcon(pixmap);
}

} // namespace

TfrmNietyp::TfrmNietyp(QString patternFolder, Operator& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_patternFolder(std::move(patternFolder))
    , m_messages(messages)
{
    setObjectName(QStringLiteral("frmNietyp"));
    setWindowTitle(QStringLiteral("Sektor nietypowy - sprawdzenie"));
    setFont(DesignFont(MsSansSerif, 11));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1->setFont(DesignFont(MsSansSerif, 11, true));
    Label2->setFont(DesignFont(MsSansSerif, 11, true));

    pomocCB = new QCheckBox(QStringLiteral("Pomagaj"), this);
    pomocCB->setObjectName(QStringLiteral("pomocCB"));
    pomocCB->setChecked(false);

    BitBtn1 = MakeButton(this, "BitBtn1", QString(), StandardIcon(this, QStyle::SP_ArrowLeft));
    BitBtn1->setToolTip(QStringLiteral("Poprzedni komplet"));
    BitBtn2 = MakeButton(this, "BitBtn2", QString(), StandardIcon(this, QStyle::SP_ArrowRight));
    BitBtn2->setToolTip(QStringLiteral("Następny komplet"));
    BitBtn3 = MakeButton(this, "BitBtn3", QStringLiteral("OK"), GlyphIcon(Glyph::Ok));
    BitBtn4 = MakeButton(this, "BitBtn4", QStringLiteral("Anuluj"), GlyphIcon(Glyph::No));
    BitBtn5 = MakeButton(this, "BitBtn5", QString(), StandardIcon(this, QStyle::SP_DialogOpenButton));
    BitBtn5->setToolTip(QStringLiteral("Użyj wzorca"));
    BitBtn6 = MakeButton(this, "BitBtn6", QString(), StandardIcon(this, QStyle::SP_DialogSaveButton));
    BitBtn6->setToolTip(QStringLiteral("Zapisz jako wzorzec"));
    const std::array<std::pair<QPushButton*, ModalResult>, 6> results
        = { { { BitBtn1, ModalResult::No }, { BitBtn2, ModalResult::Yes }, { BitBtn3, ModalResult::Ok },
            { BitBtn4, ModalResult::Cancel }, { BitBtn5, ModalResult::Retry }, { BitBtn6, ModalResult::Ignore } } };
    for (const auto& [button, result] : results) {
        const ModalResult modalResult = result;
        connect(button, &QPushButton::clicked, this, [this, modalResult] { BitBtnClick(modalResult); });
    }

    StringGrid1 = new QTableWidget(0, PatternColumnCount, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(PatternRowHeight + 1);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(PatternDefaultColWidth + 1);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(PatternDefaultColWidth + 1);
    StringGrid1->horizontalHeader()->setFixedHeight(PatternRowHeight + 1);
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StringGrid1->horizontalHeader()->setSectionsClickable(false);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
        | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    StringGrid1->setTabKeyNavigation(true);
    m_delegate = new PatternCellDelegate(this);
    StringGrid1->setItemDelegate(m_delegate);
    StringGrid1->setFrameStyle(QFrame::Box | QFrame::Plain);
    StringGrid1->setLineWidth(1);
    for (int column = 0; column < PatternColumnCount; ++column)
        StringGrid1->setHorizontalHeaderItem(column, new QTableWidgetItem());
    connect(StringGrid1, &QTableWidget::itemChanged, this,
        [this](QTableWidgetItem* item) { StringGrid1SetEditText(item->column(), item->row() + 1, item->text()); });

    // One row of buttons: navigation, accept and abandon, pattern files.
    Label1->move(kMargin, 6);
    Label2->move(kMargin + 56, 6);
    int x = kMargin;
    const std::array<std::pair<QPushButton*, int>, 6> row
        = { { { BitBtn1, kGlyphButtonWidth }, { BitBtn2, kGlyphButtonWidth }, { BitBtn3, 48 }, { BitBtn4, 66 },
            { BitBtn5, kGlyphButtonWidth }, { BitBtn6, kGlyphButtonWidth } } };
    for (size_t i = 0; i < row.size(); ++i) {
        row[i].first->setGeometry(x, kButtonTop, row[i].second, kButtonHeight);
        x += row[i].second + (i == 1 || i == 3 ? kGroupGap : kGap);
    }
    m_buttonRowWidth = x - kGap - kMargin;
}

TfrmNietyp::~TfrmNietyp() = default;

bool TfrmNietyp::EditSectorPattern(TournamentModel& model, qint32 n, qint32 o)
{
    SizeForRows(n);
    Help.Start(n, model.TableCount);
    const auto headers = PatternHeaders(model.PairsEvent);
    for (int column = 0; column < PatternColumnCount; ++column)
        StringGrid1->horizontalHeaderItem(column)->setText(headers[static_cast<size_t>(column)]);
    return RunPatternEditor(model, n, o, *this, m_messages);
}

void TfrmNietyp::SizeForRows(qint32 n)
{
    const PatternGridGeometry geometry = PatternGridGeometryFor(n);
    StringGrid1->setRowCount(geometry.RowCount - 1);
    const QColor fixedColour = palette().color(QPalette::Button);
    for (int row = 0; row < geometry.RowCount - 1; ++row) {
        for (int column = 0; column < PatternColumnCount; ++column) {
            auto* item = new QTableWidgetItem();
            if (column < 2) {
                item->setFlags(Qt::ItemIsEnabled);
                item->setBackground(fixedColour);
            }
            StringGrid1->setItem(row, column, item);
        }
    }
    StringGrid1->setVerticalScrollBarPolicy(geometry.Scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    StringGrid1->setFixedWidth(geometry.GridWidth);

    // The window is as wide as the row of buttons (or the grid), and 100 pixels higher than the grid,
    // title bar and frame included; the grid keeps that distance when the window changes, whatever
    // frame the window system gives it.
    const int width = std::max(geometry.GridWidth, m_buttonRowWidth) + 2 * kMargin;
    pomocCB->adjustSize();
    pomocCB->move(width - kMargin - pomocCB->width(), 4);
    m_gridOuterExtra = geometry.WindowHeight - geometry.GridHeight;
    SetClientWidthOuterHeight(*this, FrameKind::Sizeable, width, geometry.WindowHeight);
    m_gridBottomGap = std::max(0, height() - kGridTop - geometry.GridHeight);
    StringGrid1->setGeometry((width - geometry.GridWidth) / 2, kGridTop, geometry.GridWidth, geometry.GridHeight);
    setMinimumSize(width, kGridTop + 2 * (PatternRowHeight + 1) + 3 + m_gridBottomGap);
    setMaximumWidth(width);
}

void TfrmNietyp::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (StringGrid1 == nullptr)
        return;
    // The grid keeps its distance to the window's outer bottom.
    StringGrid1->setFixedHeight(std::max(0, OuterSize(*this, FrameKind::Sizeable).height() - m_gridOuterExtra));
}

QString TfrmNietyp::Cells(int column, int row) const
{
    if (row == 0) {
        const QTableWidgetItem* header = StringGrid1->horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* item = StringGrid1->item(row - 1, column);
    return item ? item->text() : QString();
}

void TfrmNietyp::StringGrid1SetEditText(int column, int row, const QString& text)
{
    if (m_filling || !pomocCB->isChecked())
        return;
    const std::vector<qint32> fill = Help.CellChanged(row, static_cast<PatternColumn>(column), text);
    m_filling = true;
    for (size_t k = 0; k < fill.size(); ++k)
        StringGrid1->item(row + static_cast<int>(k), column)->setText(QString::number(fill[k]));
    m_filling = false;
}

void TfrmNietyp::ShowPage(const PatternPage& page)
{
    Label1->setText(page.Label1);
    Label1->adjustSize();
    Label2->setText(page.Label2);
    Label2->adjustSize();
    BitBtn1->setEnabled(page.PreviousEnabled);
    BitBtn2->setEnabled(page.NextEnabled);
    // Enter goes on to the next board set while there is one, then accepts.
    BitBtn2->setDefault(page.NextEnabled);
    BitBtn3->setDefault(!page.NextEnabled);

    const bool helping = pomocCB->isChecked();
    pomocCB->setChecked(false);
    for (size_t i = 0; i < page.Cells.size(); ++i) {
        const int row = static_cast<int>(i);
        for (int column = 0; column < PatternColumnCount; ++column)
            StringGrid1->item(row, column)->setText(page.Cells[i][static_cast<size_t>(column)]);
        Help.Remember(row + 1, page.Tables[i], page.Rounds[i]);
    }
    pomocCB->setChecked(helping);
    StringGrid1->scrollToTop();
    StringGrid1->setCurrentCell(std::max(page.CurrentRow, 1) - 1, static_cast<int>(PatternColumn::Table));
    StringGrid1->setFocus();
}

ModalResult TfrmNietyp::ShowModalPage()
{
    return ModalResultOf(exec());
}

QStringList TfrmNietyp::ColumnTexts(PatternColumn column) const
{
    QStringList texts;
    for (int row = 1; row <= StringGrid1->rowCount(); ++row)
        texts.append(Cells(static_cast<int>(column), row));
    return texts;
}

QStringList TfrmNietyp::TableTexts() const
{
    return ColumnTexts(PatternColumn::Table);
}

QStringList TfrmNietyp::RoundTexts() const
{
    return ColumnTexts(PatternColumn::Round);
}

QString TfrmNietyp::AskLoadPatternFile()
{
    return AskPatternFile(BitBtn5->toolTip(), QStringLiteral("OpenDialog2"), QFileDialog::AcceptOpen);
}

QString TfrmNietyp::AskSavePatternFile()
{
    return AskPatternFile(BitBtn6->toolTip(), QStringLiteral("SaveDialog1"), QFileDialog::AcceptSave);
}

QString TfrmNietyp::AskPatternFile(const QString& caption, const QString& dialogName, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(this, caption, m_patternFolder, QString());
    SetUpFileDialog(dialog, dialogName, mode, QString::fromLatin1(PatternFileExtension), SaveDialog1Filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void TfrmNietyp::reject()
{
    done(ModalCode(ModalResult::Cancel));
}

void TfrmNietyp::BitBtnClick(ModalResult modalResult)
{
    CommitGridEdit();
    done(ModalCode(modalResult));
}

void TfrmNietyp::CommitGridEdit()
{
    if (QWidget* editor = StringGrid1->indexWidget(StringGrid1->currentIndex()))
        emit m_delegate->commitData(editor);
}

} // namespace kibic
