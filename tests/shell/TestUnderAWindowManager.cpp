// The program's windows on a real X server with a window manager (Xvfb and openbox), where a window is
// framed and exposed by the window manager in its own time: the start-up window must be drawn before
// the program waits, and the main window must keep its designed outer size with the manager's frame.
// Skipped where Xvfb, openbox or the X tools (ImageMagick's import, xdotool, xprop) are missing.
#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// The main window's caption "Z pierniczków do ZyRTa", matched without its Polish letter (xdotool
// matches bytes).
const QString kMainWindowPattern = QStringLiteral("^Z pierniczk.+w do ZyRTa$");
constexpr int kStartUpWidth = 548;
constexpr int kStartUpHeight = 268;

struct ToolRun
{
    bool Ok = false;
    QByteArray Out;
};

} // namespace

class TestUnderAWindowManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char* tool : { "Xvfb", "openbox", "import", "xdotool", "xprop", "xwininfo" }) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
        }
        // A display number far from the ones people and scripts choose by hand (0, 1, 99...), so that no
        // other program's windows or window manager land on this server.
        const int first = 150 + int(QCoreApplication::applicationPid() % 400);
        for (int display = first; display < first + 40 && m_display.isEmpty(); ++display) {
            if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display))
                || QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
                continue;
            m_server = Start(QStringLiteral("Xvfb"),
                { QStringLiteral(":%1").arg(display), QStringLiteral("-displayfd"), QStringLiteral("1"),
                    QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24"),
                    QStringLiteral("-nolisten"), QStringLiteral("tcp") },
                false);
            QVERIFY(m_server->waitForStarted());
            // The server writes its number once it takes connections, or ends when the number is taken.
            QTRY_VERIFY_WITH_TIMEOUT(m_server->canReadLine() || m_server->state() == QProcess::NotRunning, 20000);
            if (m_server->canReadLine())
                m_display = QStringLiteral(":") + QString::fromLatin1(m_server->readLine().trimmed());
        }
        QVERIFY2(!m_display.isEmpty(), "no free display for Xvfb");

        // openbox keeps its log and session files under the user's cache folder: a folder of its own keeps
        // runs side by side (other checkouts' tests) from sharing them, and no session manager is asked.
        QVERIFY(m_managerHome.isValid());
        m_manager = Start(QStringLiteral("openbox"), { QStringLiteral("--sm-disable") }, true,
            { { QStringLiteral("XDG_CACHE_HOME"), m_managerHome.filePath(QStringLiteral("cache")) },
                { QStringLiteral("XDG_CONFIG_HOME"), m_managerHome.filePath(QStringLiteral("config")) } });
        QVERIFY(m_manager->waitForStarted());
        bool managed = false;
        QElapsedTimer clock;
        clock.start();
        while (!managed && clock.elapsed() < 60000 && m_manager->state() == QProcess::Running) {
            managed = X(QStringLiteral("xprop"), { QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK") })
                          .Out.contains("window id");
            if (!managed)
                QTest::qWait(100);
        }
        QVERIFY2(managed,
            qPrintable(QStringLiteral("no window manager on %1 after %2 ms (openbox %3, exit %4): %5 %6")
                           .arg(m_display)
                           .arg(clock.elapsed())
                           .arg(m_manager->state() == QProcess::Running ? QStringLiteral("running")
                                   : m_manager->exitStatus() == QProcess::CrashExit ? QStringLiteral("crashed")
                                                                                    : QStringLiteral("ended"))
                           .arg(m_manager->exitCode())
                           .arg(QString::fromLocal8Bit(m_manager->readAllStandardError()),
                               QString::fromLocal8Bit(m_server->readAllStandardError()))));
    }

    // The start-up window is on the screen, lime all over, while the program waits before the main window.
    void startUpWindowIsDrawnBeforeTheWait()
    {
        m_registry = std::make_unique<QTemporaryDir>();
        m_kibic = Start(QStringLiteral(KIBIC_BINARY_DIR "/bin/kibic"), {}, true);
        QVERIFY(m_kibic->waitForStarted());
        bool drawn = false;
        bool mainWindowUp = false;
        QElapsedTimer clock;
        clock.start();
        while (!drawn && !mainWindowUp && clock.elapsed() < 60000 && m_kibic->state() == QProcess::Running) {
            const QRect startUp = StartUpWindowOnScreen();
            if (startUp.isValid())
                drawn = LimeShare(Screen(), startUp) > 0.5;
            else
                mainWindowUp = !MainWindowId().isEmpty();
            QTest::qWait(100);
        }
        QVERIFY2(drawn, mainWindowUp ? "the start-up window was never drawn" : "the start-up window never came up");
    }

    // 500 x 256 outside, with the frame the window manager puts around the client area.
    void mainWindowKeepsItsOuterSize()
    {
        if (!m_kibic)
            QSKIP("the program was not started");
        QTRY_VERIFY_WITH_TIMEOUT(!MainWindowId().isEmpty(), 60000);
        const QString id = MainWindowId();
        QSize outer;
        QElapsedTimer clock;
        clock.start();
        do {
            QTest::qWait(100);
            outer = OuterSizeOf(id);
        } while (outer != QSize(500, 256) && clock.elapsed() < 10000);
        QCOMPARE(outer, QSize(500, 256));
    }

    void cleanupTestCase()
    {
        for (std::unique_ptr<QProcess>* process : { &m_kibic, &m_manager, &m_server }) {
            if (*process && (*process)->state() != QProcess::NotRunning) {
                (*process)->terminate();
                if (!(*process)->waitForFinished(10000)) {
                    (*process)->kill();
                    (*process)->waitForFinished();
                }
            }
            process->reset();
        }
    }

private:
    std::unique_ptr<QProcess> Start(const QString& program, const QStringList& arguments, bool onDisplay,
        const QList<std::pair<QString, QString>>& extra = {})
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : extra)
            environment.insert(name, value);
        if (onDisplay) {
            environment.insert(QStringLiteral("DISPLAY"), m_display);
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        }
        if (m_registry)
            environment.insert(QStringLiteral("KIBIC_REGISTRY_DIR"), m_registry->path());
        environment.insert(QStringLiteral("KIBIC_SPLASH_MS"), QStringLiteral("3000"));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::SeparateChannels);
        process->start(program, arguments);
        return process;
    }

    ToolRun X(const QString& tool, const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        process.setProcessEnvironment(environment);
        process.start(tool, arguments);
        ToolRun run;
        if (!process.waitForFinished(10000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.Ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
        run.Out = process.readAllStandardOutput();
        return run;
    }

    // The start-up window's rectangle on the screen once it is mapped; invalid before.
    QRect StartUpWindowOnScreen()
    {
        static const QRegularExpression mapped(QStringLiteral("\"kibic\".*  %1x%2\\+-?\\d+\\+-?\\d+  \\+(-?\\d+)\\+(-?\\d+)")
                                                   .arg(kStartUpWidth)
                                                   .arg(kStartUpHeight));
        const ToolRun tree = X(QStringLiteral("xwininfo"), { QStringLiteral("-root"), QStringLiteral("-tree") });
        const QRegularExpressionMatch match = mapped.match(QString::fromUtf8(tree.Out));
        if (!match.hasMatch())
            return {};
        return { match.captured(1).toInt(), match.captured(2).toInt(), kStartUpWidth, kStartUpHeight };
    }

    QImage Screen()
    {
        const ToolRun shot
            = X(QStringLiteral("import"), { QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-") });
        return shot.Ok ? QImage::fromData(shot.Out, "PNG") : QImage();
    }

    // The share of the rectangle's pixels that are the start-up window's lime.
    static double LimeShare(const QImage& screen, const QRect& rect)
    {
        if (screen.isNull())
            return 0;
        const QRect inside = rect.intersected(screen.rect());
        if (inside.isEmpty())
            return 0;
        qint64 lime = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x) {
                const QColor colour = screen.pixelColor(x, y);
                if (colour.red() < 40 && colour.green() > 215 && colour.blue() < 40)
                    ++lime;
            }
        }
        return double(lime) / (qint64(inside.width()) * inside.height());
    }

    QString MainWindowId()
    {
        const ToolRun search
            = X(QStringLiteral("xdotool"), { QStringLiteral("search"), QStringLiteral("--name"), kMainWindowPattern });
        return search.Ok ? QString::fromLatin1(search.Out).split(QLatin1Char('\n'), Qt::SkipEmptyParts).value(0) : QString();
    }

    // The client area's size grown by the frame extents the window manager announces.
    QSize OuterSizeOf(const QString& id)
    {
        static const QRegularExpression size(QStringLiteral("Width: (\\d+)\\s+Height: (\\d+)"));
        static const QRegularExpression extents(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
        const QRegularExpressionMatch client
            = size.match(QString::fromLatin1(X(QStringLiteral("xwininfo"), { QStringLiteral("-id"), id }).Out));
        const QRegularExpressionMatch frame = extents.match(QString::fromLatin1(
            X(QStringLiteral("xprop"), { QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS") }).Out));
        if (!client.hasMatch() || !frame.hasMatch())
            return {};
        return { client.captured(1).toInt() + frame.captured(1).toInt() + frame.captured(2).toInt(),
            client.captured(2).toInt() + frame.captured(3).toInt() + frame.captured(4).toInt() };
    }

    QString m_display;
    QTemporaryDir m_managerHome;
    std::unique_ptr<QTemporaryDir> m_registry;
    std::unique_ptr<QProcess> m_server;
    std::unique_ptr<QProcess> m_manager;
    std::unique_ptr<QProcess> m_kibic;
};

QTEST_GUILESS_MAIN(TestUnderAWindowManager)
#include "TestUnderAWindowManager.moc"
