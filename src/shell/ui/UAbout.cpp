// TAbout: a fixed, always-on-top box on the design background colour.
#include "shell/ui/UAbout.h"

#include "common/DialogTypes.h"
#include "common/ui/FormDesign.h"
#include "common/ui/Glyphs.h"
#include "shell/FileV.h"
#include "shell/ui/WebLabel.h"

#include <QLabel>
#include <QPushButton>

namespace kibic {

namespace {

QLabel* Picture(QWidget* parent, const char* name, Glyph glyph, int left, int top)
{
    auto* image = new QLabel(parent);
    image->setObjectName(QLatin1String(name));
    image->setGeometry(left, top, 41, 35);
    image->setPixmap(DrawGlyph(glyph, QSize(35, 35)));
    image->setAlignment(Qt::AlignCenter);
    return image;
}

} // namespace

TAbout::TAbout(QWidget* owner)
    : TAbout(owner, ProgramName(ExecutableName()), RunningProgramVersion())
{
}

TAbout::TAbout(QWidget* owner, const QString& programName, const std::optional<VersionNumbers>& version)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("o programie..."));
    // A fixed dialog without border icons, above every other window.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint
        | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(336, 248);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(RgbOfTColor(0xC0CAC0)));
    setPalette(background);
    setFont(DesignFont(MsSansSerif, 23));

    Image2 = Picture(this, "Image2", Glyph::Card, 29, 14);
    Image1 = Picture(this, "Image1", Glyph::Terminal, 28, 52);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(66, 12, 257, 59);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText);

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(66, 76, 257, 16);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3->setFont(DesignFont(MsSansSerif, 13));

    // The link's line is in the link's size, so that "Pomoc:" ends before the link starts.
    Label5 = new QLabel(QStringLiteral("Pomoc:"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setFont(DesignFont(MsSansSerif, 13));
    Label5->move(22, 144);
    Label5->adjustSize();

    WebLabel1 = new TWebLabel(this);
    WebLabel1->setObjectName(QStringLiteral("WebLabel1"));
    QFont linkFont = DesignFont(MsSansSerif, 13);
    linkFont.setUnderline(true);
    WebLabel1->setFont(linkFont);
    WebLabel1->setText(HelpPageAddress.toString());
    WebLabel1->SetURL(HelpPageAddress.toString());
    WebLabel1->move(72, 144);
    WebLabel1->adjustSize();

    BitBtn1 = new QPushButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(270, 180, 51, 33);
    BitBtn1->setIcon(GlyphIcon(Glyph::Ok, 24));
    BitBtn1->setIconSize(QSize(24, 24));
    BitBtn1->setToolTip(QStringLiteral("OK!"));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { done(ModalCode(ModalResult::Ok)); });

    FormCreate(programName, version);
    CentreOnScreen(*this, FrameKind::Dialog);
}

void TAbout::FormCreate(const QString& programName, const std::optional<VersionNumbers>& version)
{
    const AboutLabels labels = AboutLabelTexts(programName, version);
    Label1->setText(labels.Label1);
    Label3->setText(labels.Label3);
}

void TAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    BitBtn1->setFocus(Qt::OtherFocusReason);
}

} // namespace kibic
