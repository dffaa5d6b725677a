// The terminals' settings window and its rules.
#include "scoringdb/ui/TForm3.h"

#include "common/Operator.h"
#include "common/uNapisy.h"
#include "common/ui/FormDesign.h"
#include "common/ui/Glyphs.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <utility>

namespace kibic {

namespace {

constexpr int kClientWidth = 483;
constexpr int kClientHeight = 356;
constexpr int kButtonLeft = 366;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 45;
constexpr int kGlyphSize = 20;

// "Zaniechaj": a sign of leaving things as they were, a grey arrow turning back.
QIcon GiveUpGlyph()
{
    QPixmap picture(kGlyphSize * 2, kGlyphSize * 2);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(2, 2);
    QPen pen(QColor(90, 90, 110), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    QPainterPath arc;
    arc.moveTo(15.5, 15.0);
    arc.cubicTo(19.0, 9.0, 15.0, 3.5, 9.5, 4.5);
    arc.lineTo(5.0, 5.0);
    painter.drawPath(arc);
    QPainterPath head;
    head.moveTo(2.0, 5.0);
    head.lineTo(7.5, 0.8);
    head.lineTo(7.5, 9.2);
    head.closeSubpath();
    painter.setBrush(QColor(90, 90, 110));
    painter.setPen(Qt::NoPen);
    painter.drawPath(head);
    painter.end();
    return QIcon(picture);
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const QString& caption, int left, int top)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(left, top, 300, 17);
    return box;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(left, top, width, 21);
    label->setAlignment(alignment);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int left, int top)
{
    auto* edit = new QLineEdit(QStringLiteral("99"), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(left, top, 23, 21);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setTextMargins(0, 0, 0, 0);
    return edit;
}

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QIcon& glyph, int top)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setIcon(glyph);
    button->setIconSize(QSize(kGlyphSize, kGlyphSize));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(kButtonLeft, top, kButtonWidth, kButtonHeight);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

TForm3::TForm3(QWidget* owner, Operator& op, PlayersMissingCheck playersMissing)
    : QDialog(owner,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_operator(op)
    , m_playersMissing(std::move(playersMissing))
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Uruchamianie Bridgemate Pro Control"));
    setFont(DesignFont(MsSansSerif, 11));
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    Label5 = new QLabel(
        QStringLiteral("Przed uruchomieniem BMPro można zmienić zachowanie pierniczków dla tego turnieju:"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setFont(DesignFont(MsSansSerif, 13, true));
    Label5->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label5->setWordWrap(true);
    Label5->setGeometry(16, 10, kClientWidth - 32, 40);

    CheckBox0 = MakeCheckBox(this, "CheckBox0", QStringLiteral("Pokaż wyniki rozdania po wpisaniu wyniku"), 32, 60);
    CheckBox4 = MakeCheckBox(this, "CheckBox4", QStringLiteral("Pokaż % wpisanego wyniku"), 54, 78);
    CheckBox2 = MakeCheckBox(this, "CheckBox2", QStringLiteral("Można wielokrotne przeglądać wyniki"), 54, 96);
    CheckBox6 = MakeCheckBox(this, "CheckBox6", QStringLiteral("Pokaż zapis z pozycji NS"), 32, 120);
    CheckBox6->setToolTip(QStringLiteral("z pozycji rozgrywającego jeśli zgaszone"));
    CheckBox7 = MakeCheckBox(this, "CheckBox7", QStringLiteral("Ilość lew jako +/-/="), 32, 144);
    CheckBox7->setToolTip(QStringLiteral("całkowita ilość lew jeśli zgaszone"));
    CheckBox8 = MakeCheckBox(this, "CheckBox8", QStringLiteral("Pokaż numery par przy starcie rundy"), 32, 168);

    Label1 = MakeLabel(
        this, "Label1", QStringLiteral("Automatyczne wyłączenie po"), 2, 190, 170, Qt::AlignRight | Qt::AlignVCenter);
    Edit10 = MakeEdit(this, "Edit10", 176, 190);
    Label2 = MakeLabel(this, "Label2", QStringLiteral("sekundach (5-60)"), 204, 190, 140);
    Label3 = MakeLabel(this, "Label3", QStringLiteral("Pokaż wynik do weryfikacji po"), 2, 214, 170,
        Qt::AlignRight | Qt::AlignVCenter);
    Edit11 = MakeEdit(this, "Edit11", 176, 214);
    Label4 = MakeLabel(this, "Label4", QStringLiteral("sekundach (1-7)"), 204, 214, 140);

    CheckBox13 = MakeCheckBox(this, "CheckBox13", QStringLiteral("Wprowadzanie karty pierwszego wistu"), 32, 240);
    CheckBox14 = MakeCheckBox(this, "CheckBox14", QStringLiteral("Wprowadzanie identyfikatorów zawodników"), 32, 266);
    CheckBox1 = MakeCheckBox(this, "CheckBox1", QStringLiteral("Identyfikator nie może być pusty"), 54, 284);

    Label6 = MakeLabel(this, "Label6", QStringLiteral("Uruchomić BMPro?"), kButtonLeft - 20, 54, kButtonWidth + 40,
        Qt::AlignHCenter | Qt::AlignVCenter);
    BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("Tak"), GlyphIcon(Glyph::Yes, kGlyphSize), 78);
    BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("Nie"), GlyphIcon(Glyph::No, kGlyphSize), 124);
    BitBtn3 = MakeButton(this, "BitBtn3", QStringLiteral("Zaniechaj"), GiveUpGlyph(), 170);
    BitBtn3->setEnabled(false);

    // Setting a box from code runs its handler when the state changes, as a click would.
    connect(CheckBox0, &QCheckBox::toggled, this, &TForm3::CheckBox0Click);
    for (QCheckBox* box : { CheckBox2, CheckBox6, CheckBox7, CheckBox8, CheckBox13 })
        connect(box, &QCheckBox::toggled, this, &TForm3::CheckBox7Click);
    connect(Edit10, &QLineEdit::textChanged, this, &TForm3::CheckBox7Click);
    connect(Edit11, &QLineEdit::textChanged, this, &TForm3::CheckBox7Click);
    connect(CheckBox14, &QCheckBox::toggled, this, &TForm3::CheckBox14Click);
    connect(BitBtn1, &QToolButton::clicked, this, [this] { ButtonPressed(ModalResult::Yes); });
    connect(BitBtn2, &QToolButton::clicked, this, [this] { ButtonPressed(ModalResult::No); });
    connect(BitBtn3, &QToolButton::clicked, this, [this] { ButtonPressed(ModalResult::Cancel); });
}

void TForm3::Load(const TerminalOptions& options, bool namesFileKnown)
{
    CheckBox0->setChecked(options.ShowResults);
    if (options.ShowResults) {
        CheckBox2->setChecked(options.RepeatResults);
        CheckBox4->setChecked(options.ShowPercentage);
    } else {
        CheckBox2->setChecked(false);
        CheckBox2->setEnabled(false);
        CheckBox4->setChecked(false);
        CheckBox4->setEnabled(false);
    }
    CheckBox6->setChecked(options.ScorePoints == 0);
    CheckBox7->setChecked(options.EnterResultsMethod == 0);
    CheckBox8->setChecked(options.ShowPairNumbers);
    Edit10->setText(QString::number(options.AutopoweroffTime));
    Edit11->setText(QString::number(options.VerificationTime));
    CheckBox13->setChecked(options.LeadCard);
    CheckBox14->setChecked(options.MemberNumbers);
    m_noBlankEntryColumn = options.MemberNumbersNoBlankEntry.has_value();
    if (m_noBlankEntryColumn) {
        CheckBox1->setChecked(*options.MemberNumbersNoBlankEntry);
    } else {
        CheckBox1->setChecked(false);
        CheckBox1->setEnabled(false);
    }
    NamesFileKnown = namesFileKnown;
    BitBtn3->setEnabled(false);
}

TerminalOptions TForm3::Options() const
{
    TerminalOptions options;
    options.ShowResults = CheckBox0->isChecked();
    options.ShowPercentage = CheckBox4->isChecked();
    options.RepeatResults = CheckBox2->isChecked();
    options.ScorePoints = CheckBox6->isChecked() ? 0 : 1;
    options.EnterResultsMethod = CheckBox7->isChecked() ? 0 : 1;
    options.ShowPairNumbers = CheckBox8->isChecked();
    options.AutopoweroffTime = Edit10->text().trimmed().toInt();
    options.VerificationTime = Edit11->text().trimmed().toInt();
    options.LeadCard = CheckBox13->isChecked();
    options.MemberNumbers = CheckBox14->isChecked();
    if (m_noBlankEntryColumn)
        options.MemberNumbersNoBlankEntry = CheckBox1->isChecked();
    else
        options.MemberNumbersNoBlankEntry.reset();
    return options;
}

bool TForm3::ValidateTimes()
{
    const auto valid = [](QLineEdit* edit, qint32 low, qint32 high) {
        edit->setText(edit->text().trimmed());
        if (TimeInRange(edit->text(), low, high))
            return true;
        edit->setFocus();
        return false;
    };
    return valid(Edit10, kAutopoweroffMin, kAutopoweroffMax) && valid(Edit11, kVerificationMin, kVerificationMax);
}

void TForm3::CheckBox0Click()
{
    if (CheckBox0->isChecked()) {
        CheckBox2->setEnabled(true);
        CheckBox4->setEnabled(true);
    } else {
        CheckBox2->setChecked(false);
        CheckBox2->setEnabled(false);
        CheckBox4->setChecked(false);
        CheckBox4->setEnabled(false);
    }
    BitBtn3->setEnabled(true);
}

void TForm3::CheckBox7Click()
{
    BitBtn3->setEnabled(true);
}

void TForm3::CheckBox14Click()
{
    BitBtn3->setEnabled(true);
    if (!CheckBox14->isChecked()) {
        CheckBox1->setChecked(false);
        CheckBox1->setEnabled(false);
        return;
    }
    if (NamesFileKnown)
        return;
    // Unticking here runs this handler again, which unticks and disables CheckBox1.
    const QString missing = m_playersMissing();
    if (missing.isEmpty())
        return;
    CheckBox14->setChecked(false);
    m_operator.ShowInfo(missing);
}

void TForm3::ButtonPressed(ModalResult result)
{
    m_modalResult = result;
    BitBtn1Click();
    if (m_modalResult != ModalResult::None)
        done(ModalCode(m_modalResult));
}

void TForm3::BitBtn1Click()
{
    if (!ValidateTimes())
        m_modalResult = ModalResult::None;
}

void TForm3::reject()
{
    done(ModalCode(ModalResult::Cancel));
}

void TForm3::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            // A focused button takes Enter itself; elsewhere "Tak" is the default button.
            QToolButton* focused = qobject_cast<QToolButton*>(focusWidget());
            (focused && focused->isEnabled() ? focused : BitBtn1)->click();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            BitBtn2->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

ModalResult RunSettingsWindow(QWidget* owner, Operator& op, const PlayersMissingCheck& playersMissing,
    TerminalOptions& options, bool namesFileKnown)
{
    TForm3 form(owner, op, playersMissing);
    form.Load(options, namesFileKnown);
    const ModalResult result = ModalResultOf(form.exec());
    if (result == ModalResult::Yes || result == ModalResult::No)
        options = form.Options();
    return result;
}

} // namespace kibic
