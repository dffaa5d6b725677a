// TsplashForm: a borderless pale-yellow window with a lime panel, the program's picture and version.
#include "shell/ui/Unit2.h"

#include "common/ui/FormDesign.h"
#include "common/ui/Glyphs.h"
#include "shell/FileV.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QThread>
#include <QWindow>

namespace kibic {

namespace {

QLabel* TextLabel(QWidget* parent, const char* name, int left, int top, const QFont& font, const QColor& colour)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    label->move(left, top);
    return label;
}

} // namespace

TsplashForm::TsplashForm()
    : TsplashForm(ProgramName(ExecutableName()), RunningProgramVersion())
{
}

TsplashForm::TsplashForm(const QString& programName, const std::optional<VersionNumbers>& version)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("splashForm"));
    setFixedSize(548, 268);
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(RgbOfTColor(clCream)));
    setPalette(background);

    // The lime panel over the whole window: a raised bevel inside a 2-pixel border.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(rect());
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setAutoFillBackground(true);
    QPalette lime = Panel1->palette();
    lime.setColor(QPalette::Window, QColor(RgbOfTColor(clLime)));
    Panel1->setPalette(lime);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(59, 48, 430, 91);
    Image1->setScaledContents(true);
    Image1->setPixmap(DrawGlyph(Glyph::Banner, QSize(430, 91)));

    const QFont comic = DesignFont(ComicSansMs, 21);
    Label1 = TextLabel(Panel1, "Label1", 28, 208, comic, Qt::black);
    Label2 = TextLabel(Panel1, "Label2", 320, 208, comic, Qt::black);
    Label3 = TextLabel(Panel1, "Label3", 214, 160, DesignFont(MsSansSerif, 32), Qt::red);

    Label1->setText(SplashVersionLine(programName, version));
    Label1->adjustSize();
    Label2->setText(QStringLiteral("pierniczki i ZyRT"));
    Label2->adjustSize();
    ShowTime = 2600;
    CentreOnScreen(*this, FrameKind::None);
}

bool ShowAndDraw(QWidget& window, int exposeLimitMilliseconds)
{
    window.show();
    const auto exposed = [&window] {
        const QWindow* handle = window.windowHandle();
        return handle != nullptr && handle->isExposed();
    };
    QElapsedTimer clock;
    clock.start();
    QApplication::processEvents();
    while (!exposed() && clock.elapsed() < exposeLimitMilliseconds) {
        QThread::msleep(5);
        QApplication::processEvents();
    }
    window.update();
    window.repaint();
    QApplication::processEvents();
    // The picture must reach the screen before the program blocks.
    QGuiApplication::sync();
    return exposed();
}

int SplashWaitMilliseconds(int showTime)
{
    bool ok = false;
    const int fromEnvironment = qEnvironmentVariableIntValue("KIBIC_SPLASH_MS", &ok);
    return ok && fromEnvironment >= 0 ? fromEnvironment : showTime;
}

} // namespace kibic
