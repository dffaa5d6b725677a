// kibic-screenshots as the README's pictures are made with it: the main window's caption shows a tidy
// tournament folder, not the tool's scratch folder.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestScreenshots : public QObject
{
    Q_OBJECT

private slots:
    void mainWindowGridShowsATidyFolder()
    {
        QTemporaryDir temporary;
        QVERIFY(temporary.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // The system's temporary folder: TMPDIR elsewhere, TEMP and TMP on Windows.
        for (const char* name : {"TMPDIR", "TEMP", "TMP"})
            environment.insert(QLatin1String(name), QDir::toNativeSeparators(temporary.path()));
        environment.insert(QStringLiteral("KIBIC_REGISTRY_DIR"), temporary.filePath(QStringLiteral("registry")));
        QProcess tool;
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral(KIBIC_BINARY_DIR "/bin/kibic-screenshots"),
            { temporary.filePath(QStringLiteral("shots")), QStringLiteral("transfer-main-window-grid") });
        QVERIFY(tool.waitForFinished(240000));
        QCOMPARE(tool.exitCode(), 0);
        const QString out = QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
        const QString tidy = QDir(temporary.path()).filePath(QStringLiteral("ZyRT/Turnieje/puchar"));
        QCOMPARE(out,
            temporary.filePath(QStringLiteral("shots/transfer-main-window-grid.png")) + QLatin1Char('\t') + tidy
                + QStringLiteral(" (turniej par)"));
        // The tidy folder is the tool's own and goes with it.
        QVERIFY(!QFileInfo::exists(temporary.filePath(QStringLiteral("ZyRT"))));
    }
};

QTEST_GUILESS_MAIN(TestScreenshots)
#include "TestScreenshots.moc"
