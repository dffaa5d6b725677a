// Kibic: the program's start. The start-up window stays up while the main window is created and for
// ShowTime milliseconds after, then the main window runs until it is closed.
#include "common/ui/FormDesign.h"
#include "common/ui/Glyphs.h"
#include "shell/GuardAction.h"
#include "shell/ui/QtTranslations.h"
#include "shell/ui/Unit2.h"
#include "shell/ui/WindowOperator.h"
#include "shell/ui/collMain.h"

#include <QApplication>
#include <QThread>
#include <memory>

int main(int argc, char* argv[])
{
    using namespace kibic;
    QApplication application(argc, argv);
    InstallFontSubstitutions();
    (void)InstallQtTranslations(application);
    QApplication::setWindowIcon(GlyphIcon(Glyph::Application, 32));

    auto splash = std::make_unique<TsplashForm>();
    (void)ShowAndDraw(*splash);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::unique_ptr<TcollForm> mainWindow;
    WindowOperator startOperator;
    const bool created = GuardAction(startOperator, [&] { mainWindow = std::make_unique<TcollForm>(); });
    // Tool tips (the controls' hints) are on in every Qt application; nothing to switch on here.

    QThread::msleep(static_cast<unsigned long>(SplashWaitMilliseconds(splash->ShowTime)));
    splash.reset();
    QApplication::restoreOverrideCursor();
    if (!created)
        return 1;

    mainWindow->show();
    const int exitCode = QApplication::exec();
    mainWindow.reset();
    return exitCode;
}
