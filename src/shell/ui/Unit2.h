// TsplashForm: the start-up window, up while the main window is created and a little longer.
#pragma once

#include "platform/VersionInfo.h"

#include <QWidget>
#include <optional>

class QFrame;
class QLabel;

namespace kibic {

class TsplashForm : public QWidget
{
    Q_OBJECT

public:
    // The version line shows the running program's name and version.
    TsplashForm();
    // The version line shows the given program name and version.
    TsplashForm(const QString& programName, const std::optional<VersionNumbers>& version);

    QFrame* Panel1;
    QLabel* Image1;
    QLabel* Label1; // the version line
    QLabel* Label2; // a fixed text
    QLabel* Label3; // empty

    // How long the window stays up after the main window is created, in milliseconds.
    int ShowTime = 0;
};

// Shows the start-up window and has it drawn before the program goes on: under a window manager the
// window can be painted only once the window system has put it on the screen (exposed it), which may
// take a moment, so events are processed until then, for at most exposeLimitMilliseconds. Returns
// whether the window was exposed.
bool ShowAndDraw(QWidget& window, int exposeLimitMilliseconds = 2000);

// The start-up window's time on the screen: ShowTime, unless the environment variable
// KIBIC_SPLASH_MS gives another number of milliseconds (scripts and demonstrations shorten it).
[[nodiscard]] int SplashWaitMilliseconds(int showTime);

} // namespace kibic
