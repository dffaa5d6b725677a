// The correction window "Popraw w pierniczku".
#include "transfer/ui/TForm4.h"

#include "transfer/ContractNotation.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>

namespace kibic {

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y, int width, int pixelSize = 0)
{
    auto* label = new QLabel(text, parent);
    if (pixelSize > 0) {
        QFont font = label->font();
        font.setPixelSize(pixelSize);
        label->setFont(font);
    }
    label->setGeometry(x, y, width, pixelSize > 0 ? 17 : 16);
    return label;
}

QComboBox* MakeList(QWidget* parent, const QStringList& items, int x, int y, int width)
{
    auto* list = new QComboBox(parent);
    list->addItems(items);
    list->setCurrentIndex(-1);
    list->setGeometry(x, y, width, 22);
    return list;
}

void SelectExactly(QComboBox* list, const QString& text)
{
    list->setCurrentIndex(text.isEmpty() ? -1 : list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace

TForm4::TForm4(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Popraw w pierniczku"));
    setFixedSize(199, 210);

    LabelR = MakeLabel(this, QStringLiteral("Runda"), 8, 4, 183, 13);
    LabelS = MakeLabel(this, QStringLiteral("Stół"), 8, 22, 183, 13);
    LabelN = MakeLabel(this, QStringLiteral("Rozdanie"), 8, 40, 183, 13);
    Label1 = MakeLabel(this, QStringLiteral("kontrakt:"), 8, 67, 70);
    Label2 = MakeLabel(this, QStringLiteral("rozgrywał:"), 8, 93, 70);
    Label3 = MakeLabel(this, QStringLiteral("wist:"), 8, 119, 70);
    Label4 = MakeLabel(this, QStringLiteral("lew:"), 8, 145, 70);

    CBn = MakeList(this, ContractSamples(), 80, 64, 111);
    CBn->setEditable(true);
    // The director's typing is taken as typed: no completion from the samples, no new items on Enter.
    CBn->setCompleter(nullptr);
    CBn->setInsertPolicy(QComboBox::NoInsert);
    CBn->setEditText(QString());
    CBr = MakeList(this, DeclarerItems(), 80, 90, 60);
    CBw = MakeList(this, LeadCardItems(), 80, 116, 60);
    CBl = MakeList(this, InitialTricksItems(), 80, 142, 60);
    CBl->installEventFilter(this);

    CheckBox1 = new QCheckBox(QStringLiteral("złe linie"), this);
    CheckBox1->setLayoutDirection(Qt::RightToLeft); // caption on the left of the box
    CheckBox1->setGeometry(8, 166, 100, 18);

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setGeometry(14, 184, 80, 24);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Anuluj"), this);
    BitBtn2->setGeometry(104, 184, 80, 24);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm4::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(CBn, CBr);
    setTabOrder(CBr, CBw);
    setTabOrder(CBw, CBl);
    setTabOrder(CBl, CheckBox1);
    setTabOrder(CheckBox1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    CBn->setFocus();
}

void TForm4::Fill(const ScoreCorrection& correction)
{
    LabelR->setText(correction.RoundCaption);
    LabelS->setText(correction.TableCaption);
    LabelN->setText(correction.BoardCaption);
    CBn->setEditText(correction.Contract);
    SelectExactly(CBr, correction.Declarer);
    SelectExactly(CBw, correction.LeadCard);
    SelectExactly(CBl, correction.Tricks);
    CheckBox1->setChecked(correction.WrongLines);
}

ScoreCorrection TForm4::Correction() const
{
    ScoreCorrection correction;
    correction.RoundCaption = LabelR->text();
    correction.TableCaption = LabelS->text();
    correction.BoardCaption = LabelN->text();
    correction.Contract = CBn->currentText();
    correction.Declarer = CBr->currentText();
    correction.LeadCard = CBw->currentText();
    correction.Tricks = CBl->currentText();
    correction.WrongLines = CheckBox1->isChecked();
    return correction;
}

void TForm4::BitBtn1Click()
{
    const ContractCheck check = CheckContractNotation(CBn->currentText());
    if (check.ClearSelections) {
        CBr->setCurrentIndex(-1);
        CBw->setCurrentIndex(-1);
        CBl->setCurrentIndex(-1);
    }
    if (check.ClearWrongLines)
        CheckBox1->setChecked(false);
    CBn->setEditText(check.Text);
    if (check.Accepted) {
        accept();
        return;
    }
    CBn->setFocus(Qt::OtherFocusReason);
}

void TForm4::CBlEnter()
{
    std::optional<QString> selected;
    if (CBl->currentIndex() >= 0)
        selected = CBl->currentText();
    const TricksChoice choice = TricksList(CBn->currentText(), selected);
    CBl->clear();
    CBl->addItems(choice.Items);
    CBl->setCurrentIndex(choice.Selected);
}

bool TForm4::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == CBl && event->type() == QEvent::FocusIn) {
        // Focus coming back from CBl's own drop-down or from another program is no entering.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            CBlEnter();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kibic
