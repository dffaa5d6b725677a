// The main window: its start from the command line and the registry, its controls before a tournament
// is open, the about box from the toolbar, and closing, which releases the tournament's arrays.
#include "shell/ui/collMain.h"

#include "support/ModalDriver.h"
#include "common/ui/FormDesign.h"
#include "platform/Registry.h"
#include "shell/MainWindowStartup.h"
#include "shell/ui/UAbout.h"
#include "shell/ui/Unit2.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace kibic;

class TestCollMain : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_registry;
    QTemporaryDir m_program;

    void FillModel(TcollForm& window)
    {
        TournamentModel& model = window.Model;
        model.BoardCount = 4;
        model.BoardNumbers = { 0, 1, 2, 3, 4 };
        model.ParticipantNumbers = { 0, 11, 12, 13, 14 };
        model.Movement.assign(3, std::vector<MovementEntry>(5, MovementEntry { 1, 2, 0, 0, 1, 1 }));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_registry.isValid() && m_program.isValid());
        qputenv("KIBIC_REGISTRY_DIR", m_registry.path().toUtf8());
    }

    void startUpWindow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("withVersion");
        QTest::addColumn<QString>("line");
        QTest::newRow("with version") << "kibic" << true << "kibic, wersja 1.0.7";
        QTest::newRow("without version") << "kibic" << false << "kibic";
    }

    void startUpWindow()
    {
        QFETCH(QString, name);
        QFETCH(bool, withVersion);
        TsplashForm splash(name, withVersion ? std::optional(VersionNumbers { 1, 0, 0, 7 }) : std::nullopt);
        QTEST(splash.Label1->text(), "line");
        QCOMPARE(splash.ShowTime, 2600);
        QCOMPARE(splash.size(), QSize(548, 268));
        // Both text lines stand inside the window and do not run into each other.
        QVERIFY(splash.Label1->geometry().right() < splash.Label2->x());
        QVERIFY(splash.Label2->geometry().right() < splash.width());
    }

    void createdFromCommandLineAndRegistry()
    {
        const QString bmpro = m_program.filePath(QStringLiteral("BMPro.exe"));
        QFile program(bmpro);
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.close();
        std::optional<RegistryKey> key = RegistryKey::Open(RegistryHive::LocalMachine, GawotnikKey.toString(), true);
        QVERIFY(key);
        QVERIFY(key->WriteString(QStringLiteral("BMPro"), bmpro));
        QVERIFY(key->WriteString(QStringLiteral("ZyRT"), m_program.filePath(QStringLiteral("brak.cfg"))));

        const QString programDirectory = m_program.filePath(QStringLiteral("bin"));
        TcollForm window({ QStringLiteral("3") }, programDirectory);
        QCOMPARE(window.Model.ProcessedColumnNo, 3);
        QCOMPARE(window.Model.ScoringKind, 2);
        QVERIFY(window.Model.CellClicked);
        QCOMPARE(window.Model.BMProPath, bmpro);
        QVERIFY(window.Model.NamesDatabasePath.isEmpty());
        const QString patternFolder = programDirectory + QStringLiteral("/BMT");
        QVERIFY(QFileInfo(patternFolder).isDir());
        QCOMPARE(window.PatternFolder(), patternFolder);
        QCOMPARE(QDir(window.SaveDialog1->directory()).canonicalPath(), QDir(patternFolder).canonicalPath());
        QCOMPARE(QDir(window.OpenDialog2->directory()).canonicalPath(), QDir(patternFolder).canonicalPath());
    }

    void beforeATournamentOnlyTheToolbarShows()
    {
        TcollForm window(QStringList(), m_program.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // 500 x 256 with the frame the window system gave the window, not the one it was designed with.
        QTRY_COMPARE(OuterSize(window, FrameKind::Sizeable), QSize(500, 256));
        QCOMPARE(window.ToolBar1->width(), window.width());
        QCOMPARE(window.windowTitle(), QStringLiteral("Z pierniczków do ZyRTa"));
        for (QToolButton* button : { window.ToolButton2, window.ToolButton4, window.ToolButton8, window.ToolButton6 })
            QVERIFY(button->isVisible() && button->isEnabled());
        // "Wczytaj rozkłady" needs an open scoring database.
        QVERIFY(window.ToolButton10->isVisible() && !window.ToolButton10->isEnabled());
        for (QWidget* hidden : std::initializer_list<QWidget*> { window.Label2, window.Edit1, window.Button1,
                 window.Button2, window.btnIDS, window.CheckBoxCezar, window.StringGrid1, window.Label3 })
            QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
        QVERIFY(window.CheckBoxCezar->isChecked());
        QVERIFY(!window.Timer1->isActive());
        QCOMPARE(window.Timer1->interval(), 10000);
        // "Wyjście" stands at the right end of the toolbar, apart from the others.
        QVERIFY(window.ToolButton6->geometry().left() > window.ToolButton8->geometry().right() + 100);
        QCOMPARE(window.PopupMenu1->defaultAction(), window.Poprawzapis1);
        QCOMPARE(window.PopupMenu1->actions(),
            (QList<QAction*> { window.Poprawzapis1, window.Poprawwedlugpropozycji1, window.Zgazaznaczenie1,
                window.Zgawszystkiezaznaczenia1 }));
    }

    // How a new scoring database was made shows on the line under the status, not in a dialog.
    void buildNoteShowsUnderTheStatus()
    {
        TcollForm window(QStringList(), m_program.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!window.Label4->isVisible());
        const QString note = QStringLiteral("Bazę C:\\Turnieje\\puchar.bws utworzono jako plik SQLite.");
        window.Dialogs().ShowNote(note);
        QVERIFY(window.Label4->isVisible());
        QCOMPARE(window.Label4->text(), note);
        QCOMPARE(window.Label4->toolTip(), note);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void closingReleasesTheArrays_data()
    {
        QTest::addColumn<bool>("fromToolbar");
        QTest::newRow("title bar") << false;
        QTest::newRow("Wyjście") << true;
    }

    void closingReleasesTheArrays()
    {
        QFETCH(bool, fromToolbar);
        TcollForm window(QStringList(), m_program.path());
        window.show();
        FillModel(window);
        window.Timer1->start();
        if (fromToolbar)
            QTest::mouseClick(window.ToolButton6, Qt::LeftButton);
        else
            window.close();
        QVERIFY(!window.isVisible());
        QVERIFY(!window.Timer1->isActive());
        QVERIFY(window.Model.BoardNumbers.empty());
        QVERIFY(window.Model.ParticipantNumbers.empty());
        QVERIFY(window.Model.Movement.empty());
    }

    void aboutBoxFromTheToolbar()
    {
        TcollForm window(QStringList(), m_program.path());
        window.show();
        QString shown;
        test::ModalDriver driver;
        driver.Then([&shown](QWidget* modal) {
            auto* about = qobject_cast<TAbout*>(modal);
            QVERIFY(about != nullptr);
            shown = about->windowTitle();
            QTest::mouseClick(about->BitBtn1, Qt::LeftButton);
        });
        QTest::mouseClick(window.ToolButton8, Qt::LeftButton);
        QVERIFY(driver.Finished());
        QCOMPARE(shown, QStringLiteral("o programie..."));
        // The box is released when it closes.
        QVERIFY(window.findChildren<TAbout*>().isEmpty());
    }
};

QTEST_MAIN(TestCollMain)
#include "TestCollMain.moc"
