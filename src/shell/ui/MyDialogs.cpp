// TMyDlgForm: caption and icon by the message's kind, buttons by the mask, size by the message.
#include "shell/ui/MyDialogs.h"

#include "common/ui/FormDesign.h"
#include "common/ui/Glyphs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <memory>

namespace kibic {

namespace {

// The window's part of each button of MessageButtons, in the same order.
struct ButtonDesign
{
    const char* Name;
    Glyph Picture;
};

constexpr std::array<ButtonDesign, MessageButtonCount> kButtonDesigns = { {
    { "BitBtn1", Glyph::Yes },
    { "BitBtn2", Glyph::No },
    { "BitBtn3", Glyph::Ok },
    { "BitBtn4", Glyph::Retry },
    { "BitBtn5", Glyph::Ignore },
} };

// The system icons of the kinds Warning, Error, Info and Confirm, in that order.
constexpr std::array<QStyle::StandardPixmap, 4> kKindIcons = { QStyle::SP_MessageBoxWarning,
    QStyle::SP_MessageBoxCritical, QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxQuestion };

QLabel* CaptionLabel(QWidget* parent, const char* name, const QString& caption)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->move(68, 60);
    label->hide();
    return label;
}

QPixmap KindIcon(const QStyle& style, DialogKind kind)
{
    constexpr int iconSize = 32;
    if (kind == DialogKind::Application) {
        const QIcon icon = QApplication::windowIcon();
        return icon.isNull() ? DrawGlyph(Glyph::Application, QSize(iconSize, iconSize))
                             : icon.pixmap(iconSize, iconSize);
    }
    const auto index = static_cast<size_t>(kind);
    if (index >= kKindIcons.size())
        return {};
    return style.standardIcon(kKindIcons[index]).pixmap(iconSize, iconSize);
}

} // namespace

TMyDlgForm::TMyDlgForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("MyDlgForm"));
    setWindowTitle(QStringLiteral("MyDlgForm"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFont(DesignFont(MsSansSerif, 11));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(10, 8, 41, 41);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->move(68, 8);
    Label2 = CaptionLabel(this, "Label2", QStringLiteral("UWAGA!"));
    Label3 = CaptionLabel(this, "Label3", QStringLiteral("BŁĄD!"));
    Label4 = CaptionLabel(this, "Label4", QStringLiteral("INFO!"));
    Label5 = CaptionLabel(this, "Label5", QStringLiteral("POTWIERDŻ!"));

    std::array<QPushButton*, MessageButtonCount> buttons {};
    for (size_t i = 0; i < buttons.size(); ++i) {
        auto* button
            = new QPushButton(GlyphIcon(kButtonDesigns[i].Picture), MessageButtons[i].Caption.toString(), this);
        button->setObjectName(QLatin1String(kButtonDesigns[i].Name));
        button->setGeometry(8 + static_cast<int>(i) * 80, 60, MessageDialogButtonWidth, MessageDialogButtonHeight);
        // Enter presses the button that has the focus; no button is the fixed default.
        button->setAutoDefault(true);
        button->setDefault(false);
        button->hide();
        const int result = ModalCode(MessageButtons[i].Result);
        connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        buttons[i] = button;
    }
    BitBtn1 = buttons[0];
    BitBtn2 = buttons[1];
    BitBtn3 = buttons[2];
    BitBtn4 = buttons[3];
    BitBtn5 = buttons[4];
    for (size_t i = 1; i < buttons.size(); ++i)
        setTabOrder(buttons[i - 1], buttons[i]);
}

std::array<QPushButton*, MessageButtonCount> TMyDlgForm::Buttons() const
{
    return { BitBtn1, BitBtn2, BitBtn3, BitBtn4, BitBtn5 };
}

QPushButton* TMyDlgForm::FirstShownButton() const
{
    for (QPushButton* button : Buttons()) {
        if (!button->isHidden())
            return button;
    }
    return nullptr;
}

QPushButton* TMyDlgForm::OpeningFocus() const
{
    if (m_focused) {
        for (size_t i = 0; i < MessageButtons.size(); ++i) {
            if (MessageButtons[i].Bit == *m_focused && !Buttons()[i]->isHidden())
                return Buttons()[i];
        }
    }
    return FirstShownButton();
}

void TMyDlgForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        if (!BitBtn2->isHidden())
            BitBtn2->click();
        else
            reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TMyDlgForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QPushButton* focus = OpeningFocus())
        focus->setFocus(Qt::OtherFocusReason);
}

void TMyDlgForm::reject()
{
    done(ModalCode(ModalResult::Cancel));
}

TMyDlgForm* BuildMessageDialog(
    const QString& text, DialogKind kind, DialogButtons buttons, std::optional<DialogButton> focused)
{
    auto* dialog = new TMyDlgForm();
    if (focused)
        dialog->FocusOn(*focused);
    dialog->Label1->setText(text);
    dialog->Label1->adjustSize();

    // The captions of the kinds Warning, Error, Info and Confirm, in that order.
    const std::array<const QLabel*, 4> captions = { dialog->Label2, dialog->Label3, dialog->Label4, dialog->Label5 };
    if (kind == DialogKind::Application)
        dialog->setWindowTitle(ApplicationTitle());
    else if (static_cast<size_t>(kind) < captions.size())
        dialog->setWindowTitle(captions[static_cast<size_t>(kind)]->text());
    const QPixmap icon = KindIcon(*dialog->style(), kind);
    if (!icon.isNull()) {
        dialog->Image1->setPixmap(icon);
        dialog->Image1->resize(icon.deviceIndependentSize().toSize());
    }
    for (QLabel* caption : { dialog->Label2, dialog->Label3, dialog->Label4, dialog->Label5 })
        caption->hide();

    const QRect label = dialog->Label1->geometry();
    const MessageDialogLayout layout = LayOutMessageDialog(label.left(), label.top(), label.width(), label.height(),
        dialog->Image1->y(), dialog->Image1->height(), buttons);
    const auto all = dialog->Buttons();
    for (size_t i = 0; i < all.size(); ++i) {
        QPushButton* button = all[i];
        const int left = layout.ButtonVisible[i] ? layout.ButtonLeft[i] : button->x() + layout.Shift;
        button->move(left, layout.ButtonTop);
        button->setVisible(layout.ButtonVisible[i]);
    }
    SetOuterSize(*dialog, FrameKind::Dialog, layout.WindowWidth, layout.WindowHeight, true);
    if (QPushButton* focus = dialog->OpeningFocus())
        focus->setFocus(Qt::OtherFocusReason);
    return dialog;
}

ModalResult ShowMessageDialog(
    const QString& text, DialogKind kind, DialogButtons buttons, std::optional<DialogButton> focused)
{
    const std::unique_ptr<TMyDlgForm> dialog(BuildMessageDialog(text, kind, buttons, focused));
    CentreOnScreen(*dialog, FrameKind::Dialog);
    return ModalResultOf(dialog->exec());
}

void ShowInfo(const QString& text)
{
    ShowMessageDialog(text, DialogKind::Info, DialogButton::Ok);
}

QString ApplicationTitle()
{
    return QGuiApplication::applicationDisplayName();
}

} // namespace kibic
