// Screenshots of the shell's windows: start-up window, main window, message dialogs, about box.
#include "Screenshots.h"

#include "common/Operator.h"
#include "common/uNapisy.h"
#include "shell/ui/MyDialogs.h"
#include "shell/ui/UAbout.h"
#include "shell/ui/Unit2.h"
#include "shell/ui/collMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace kibic::screenshots {

namespace {

std::unique_ptr<QWidget> StartUpWindow()
{
    return std::make_unique<TsplashForm>(QStringLiteral("kibic"), VersionNumbers { 1, 0, 0, 7 });
}

std::unique_ptr<QWidget> MainWindow()
{
    return std::make_unique<TcollForm>(QStringList(), ScratchFolder());
}

// Every control of the main window in its designed place, the hidden ones shown, and a small grid:
// what the later windows' states start from.
std::unique_ptr<QWidget> MainWindowAllControls()
{
    auto window = std::make_unique<TcollForm>(QStringList(), ScratchFolder());
    window->StringGrid1->setColumnCount(6);
    window->StringGrid1->setRowCount(3);
    for (int board = 1; board <= 6; ++board)
        window->StringGrid1->setHorizontalHeaderItem(board - 1, new QTableWidgetItem(QString::number(board)));
    for (int table = 1; table <= 3; ++table)
        window->StringGrid1->setVerticalHeaderItem(table - 1, new QTableWidgetItem(QStringLiteral(" %1").arg(table)));
    window->StringGrid1->setItem(0, 0, new QTableWidgetItem(QStringLiteral("1")));
    window->Edit1->setText(QStringLiteral("10"));
    window->Label3->setText(QStringLiteral("czuwam ..."));
    for (QWidget* control : std::initializer_list<QWidget*> { window->Label2, window->Edit1, window->Button1,
             window->btnIDS, window->CheckBoxCezar, window->StringGrid1, window->Label3 })
        control->show();
    return window;
}

std::unique_ptr<QWidget> Message(const QString& text, DialogKind kind, DialogButtons buttons)
{
    return std::unique_ptr<QWidget>(BuildMessageDialog(text, kind, buttons));
}

std::unique_ptr<QWidget> AboutBox()
{
    return std::make_unique<TAbout>(nullptr, QStringLiteral("kibic"), VersionNumbers { 1, 0, 0, 7 });
}

} // namespace

KIBIC_SCREENSHOT("shell-start-up", StartUpWindow);
KIBIC_SCREENSHOT("shell-main-window", MainWindow);
KIBIC_SCREENSHOT("shell-main-window-all-controls", MainWindowAllControls);
KIBIC_SCREENSHOT("shell-about", AboutBox);
// The program's own messages, each of its kind and with its buttons.
KIBIC_SCREENSHOT("shell-message-1-error",
    [] { return Message(uNapisy::SortelNieJestZainstalowana.toString(), DialogKind::Error, DialogButton::Ok); });
KIBIC_SCREENSHOT("shell-message-2-info",
    [] { return Message(uNapisy::CzuwanieUruchomRecznie.toString(), DialogKind::Info, DialogButton::Ok); });
KIBIC_SCREENSHOT("shell-message-3-question", [] {
    return Message(
        QStringLiteral("C:\\ZyRT\\Turnieje\\żółw.bws") + uNapisy::IstniejeNadpisac, DialogKind::Confirm, YesNoQuestion);
});
KIBIC_SCREENSHOT("shell-message-3-barometer",
    [] { return Message(uNapisy::CzyBarometr.toString(), DialogKind::Confirm, YesNoQuestion); });

} // namespace kibic::screenshots
