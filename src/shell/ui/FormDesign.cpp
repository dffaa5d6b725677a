// Outer window sizes, design colours and font substitution.
#include "shell/ui/FormDesign.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace kibic {

QMargins FrameOf(const QWidget& window, FrameKind kind)
{
    if (kind == FrameKind::None)
        return {};
    if (const QWindow* handle = window.windowHandle(); handle != nullptr && window.isVisible()) {
        const QMargins reported = handle->frameMargins();
        if (!reported.isNull())
            return reported;
    }
    constexpr int caption = 19;
    const int border = kind == FrameKind::Dialog ? 3 : 4;
    return { border, border + caption, border, border };
}

void SetOuterSize(QWidget& window, FrameKind kind, int width, int height, bool fixed)
{
    const QMargins frame = FrameOf(window, kind);
    const QSize client(
        std::max(1, width - frame.left() - frame.right()), std::max(1, height - frame.top() - frame.bottom()));
    if (fixed)
        window.setFixedSize(client);
    else
        window.resize(client);
}

QSize OuterSize(const QWidget& window, FrameKind kind)
{
    const QMargins frame = FrameOf(window, kind);
    return window.size().grownBy(frame);
}

void CentreOnScreen(QWidget& window, FrameKind kind)
{
    const QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QSize outer = OuterSize(window, kind);
    // move() places the outer rectangle of a top-level window.
    window.move(area.left() + (area.width() - outer.width()) / 2, area.top() + (area.height() - outer.height()) / 2);
}

void InstallFontSubstitutions()
{
    static const bool installed = [] {
        const QString dejaVu = QStringLiteral("DejaVu Sans");
        for (const QString& family : { MsSansSerif, ComicSansMs })
            QFont::insertSubstitution(family, dejaVu);
        return true;
    }();
    (void)installed;
}

QFont DesignFont(const QString& family, int pixelSize, bool bold)
{
    InstallFontSubstitutions();
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace kibic
