// How the forms' designed measures, colours and fonts are realised on this platform.
#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QSize>
#include <QString>
#include <QStringView>

class QWidget;

namespace kibic {

// The designed sizes of the windows are outer sizes: title bar and frame included.
enum class FrameKind {
    Dialog, // a fixed dialog frame
    Sizeable, // a main window with a sizing frame
    None // a borderless window
};

// The frame around a window's client area: what the window system reports once the window is shown,
// else the classic frame the forms were designed for (dialog 3 + caption 19, sizeable 4 + caption 19).
[[nodiscard]] QMargins FrameOf(const QWidget& window, FrameKind kind);

// Gives the top-level window the outer size width x height; fixed windows cannot be resized. Until the
// window is shown the frame is the classic one; once the window system reports the real frame the
// client area is sized again, so the outer size holds under any window manager.
void SetOuterSize(QWidget& window, FrameKind kind, int width, int height, bool fixed);

// The same with the client area's width and the outer height.
void SetClientWidthOuterHeight(QWidget& window, FrameKind kind, int clientWidth, int height);

// The top-level window's outer size.
[[nodiscard]] QSize OuterSize(const QWidget& window, FrameKind kind);

// Places the window's outer rectangle in the centre of the screen's available area (again when a window
// sized by SetOuterSize learns its real frame).
void CentreOnScreen(QWidget& window, FrameKind kind);

// A design colour given as the form's TColor number ($00BBGGRR: blue in the high byte).
[[nodiscard]] constexpr QRgb RgbOfTColor(quint32 tcolor)
{
    return qRgb(static_cast<int>(tcolor & 0xFF), static_cast<int>((tcolor >> 8) & 0xFF),
        static_cast<int>((tcolor >> 16) & 0xFF));
}

inline constexpr quint32 clSkyBlue = 0xF0CAA6;
inline constexpr quint32 clNavy = 0x800000;
inline constexpr quint32 clYellow = 0x00FFFF;
inline constexpr quint32 clLime = 0x00FF00;
inline constexpr quint32 clRed = 0x0000FF;
inline constexpr quint32 clBlue = 0xFF0000;
inline constexpr quint32 clCream = 13434879; // pale yellow of the start-up window and the interval box

// Maps the Windows fonts the forms were designed with onto fonts that exist here (DejaVu Sans, which
// has every Polish letter). Called once by DesignFont; safe to call again.
void InstallFontSubstitutions();

// A design font with its character height in pixels (8 points = 11 pixels, 10 points = 13 pixels).
[[nodiscard]] QFont DesignFont(QStringView family, int pixelSize, bool bold = false);

inline constexpr QStringView MsSansSerif = u"MS Sans Serif";
inline constexpr QStringView ComicSansMs = u"Comic Sans MS";

} // namespace kibic
