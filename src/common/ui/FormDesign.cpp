// Outer window sizes, design colours and font substitution.
#include "common/ui/FormDesign.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace kibic {

namespace {

QMargins ClassicFrame(FrameKind kind)
{
    if (kind == FrameKind::None)
        return {};
    constexpr int caption = 19;
    const int border = kind == FrameKind::Dialog ? 3 : 4;
    return { border, border + caption, border, border };
}

QMargins ReportedFrame(const QWidget& window)
{
    if (const QWindow* handle = window.windowHandle(); handle != nullptr && window.isVisible())
        return handle->frameMargins();
    return {};
}

void PlaceInCentre(QWidget& window, QSize outer)
{
    const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    // move() places the outer rectangle of a top-level window.
    window.move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

const QString kKeeperName = QStringLiteral("kibicOuterSizeKeeper");

// Keeps a top-level window at the outer size it was given. Before a window is first shown only the
// classic frame the forms were designed for is known; the window system tells the real one once the
// window is on the screen (under a window manager, after it has framed the window), and then the
// client area is sized again so that frame and client together keep the designed size.
class OuterSizeKeeper : public QObject
{
public:
    explicit OuterSizeKeeper(QWidget& window)
        : QObject(&window)
        , m_window(window)
    {
        setObjectName(kKeeperName);
        window.installEventFilter(this);
    }

    static OuterSizeKeeper* Of(QWidget& window)
    {
        // Only this file names a child so, and always with a keeper.
        for (QObject* child : window.children()) {
            if (child->objectName() == kKeeperName)
                return static_cast<OuterSizeKeeper*>(child);
        }
        return nullptr;
    }

    void Keep(FrameKind kind, int width, int height, bool widthIsClient, bool fixed)
    {
        m_kind = kind;
        m_width = width;
        m_height = height;
        m_widthIsClient = widthIsClient;
        m_fixed = fixed;
        m_centred = false;
        Apply(FrameOf(m_window, kind));
    }

    void KeepCentred()
    {
        m_centred = true;
        PlaceInCentre(m_window, OuterSize(m_window, m_kind));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_window && !m_followPending) {
            switch (event->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::Paint:
            case QEvent::WindowActivate:
                // Not inside the event itself: the window may be painting or being shown.
                m_followPending = true;
                QTimer::singleShot(0, this, [this] {
                    m_followPending = false;
                    FollowReportedFrame();
                });
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    void FollowReportedFrame()
    {
        const QMargins frame = ReportedFrame(m_window);
        if (frame.isNull() || frame == m_applied)
            return;
        Apply(frame);
        if (m_centred)
            PlaceInCentre(m_window, m_window.size().grownBy(frame));
    }

    void Apply(const QMargins& frame)
    {
        m_applied = frame;
        const int width = m_widthIsClient ? m_width : m_width - frame.left() - frame.right();
        const QSize client(std::max(1, width), std::max(1, m_height - frame.top() - frame.bottom()));
        if (m_fixed)
            m_window.setFixedSize(client);
        else
            m_window.resize(client);
    }

    QWidget& m_window;
    FrameKind m_kind = FrameKind::None;
    int m_width = 0;
    int m_height = 0;
    bool m_widthIsClient = false;
    bool m_fixed = false;
    bool m_centred = false;
    bool m_followPending = false;
    QMargins m_applied;
};

void KeepSize(QWidget& window, FrameKind kind, int width, int height, bool widthIsClient, bool fixed)
{
    OuterSizeKeeper* keeper = OuterSizeKeeper::Of(window);
    if (keeper == nullptr)
        keeper = new OuterSizeKeeper(window);
    keeper->Keep(kind, width, height, widthIsClient, fixed);
}

} // namespace

QMargins FrameOf(const QWidget& window, FrameKind kind)
{
    if (kind == FrameKind::None)
        return {};
    const QMargins reported = ReportedFrame(window);
    return reported.isNull() ? ClassicFrame(kind) : reported;
}

void SetOuterSize(QWidget& window, FrameKind kind, int width, int height, bool fixed)
{
    KeepSize(window, kind, width, height, false, fixed);
}

void SetClientWidthOuterHeight(QWidget& window, FrameKind kind, int clientWidth, int height)
{
    KeepSize(window, kind, clientWidth, height, true, false);
}

QSize OuterSize(const QWidget& window, FrameKind kind)
{
    const QMargins frame = FrameOf(window, kind);
    return window.size().grownBy(frame);
}

void CentreOnScreen(QWidget& window, FrameKind kind)
{
    if (OuterSizeKeeper* keeper = OuterSizeKeeper::Of(window))
        keeper->KeepCentred();
    else
        PlaceInCentre(window, OuterSize(window, kind));
}

void InstallFontSubstitutions()
{
    static const bool installed = [] {
        const QString dejaVu = QStringLiteral("DejaVu Sans");
        for (const QStringView family : { MsSansSerif, ComicSansMs })
            QFont::insertSubstitution(family.toString(), dejaVu);
        return true;
    }();
    (void)installed;
}

QFont DesignFont(QStringView family, int pixelSize, bool bold)
{
    InstallFontSubstitutions();
    QFont font(family.toString());
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace kibic
