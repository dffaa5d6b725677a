// Starting the terminal server: the shell's result codes without a shell.
#include "platform/ShellOpen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;

class TestShellOpen : public QObject
{
    Q_OBJECT

private slots:
    void missingFolderIsPathNotFound()
    {
        QCOMPARE(ShellOpenProgram(QStringLiteral("/no/such/folder/BMPro.exe"), {}), 3);
    }

    void missingProgramIsFileNotFound()
    {
        QTemporaryDir dir;
        QCOMPARE(ShellOpenProgram(dir.filePath(QStringLiteral("BMPro.exe")), {}), 2);
    }

    // Elsewhere a file without the right to run is refused as access denied; Windows runs by content
    // and refuses a file that is no program as a bad format.
    void fileThatCannotRunIsRefused()
    {
        QTemporaryDir dir;
        QFile plain(dir.filePath(QStringLiteral("BMPro.exe")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
#ifdef Q_OS_WIN
        QCOMPARE(ShellOpenProgram(plain.fileName(), {}), 11);
#else
        QCOMPARE(ShellOpenProgram(plain.fileName(), {}), 5);
#endif
    }

    void argumentsReachTheProgramUntouched()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows hands the program one parameter string, which the program splits itself");
#endif
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("args.txt"));
        const QString script = dir.filePath(QStringLiteral("server.sh"));
        WriteServer(script, "for a in \"$@\"; do echo \"$a\"; done > \"$KIBIC_ARGS_OUT\"", out);
        const QString hostile = QStringLiteral("/f:[/t/a b;$(touch x)`id`.bws]");
        QVERIFY(ShellOpenProgram(script, {hostile, QStringLiteral("/s")}) > 32);
        QTRY_VERIFY(QFile::exists(out) && QFileInfo(out).size() > 0);
        QCOMPARE(Written(out), hostile + QStringLiteral("\n/s\n"));
    }

    // The terminal server starts in its own folder, wherever Kibic was started from.
    void programStartsInItsOwnFolder()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Bridgemate Pro")));
        const QString out = dir.filePath(QStringLiteral("folder.txt"));
#ifdef Q_OS_WIN
        // A batch file, which the shell's "open" runs through the command interpreter.
        const QString script = dir.filePath(QStringLiteral("Bridgemate Pro/server.bat"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("@cd > \"%KIBIC_ARGS_OUT%.part\"\r\n@move \"%KIBIC_ARGS_OUT%.part\" \"%KIBIC_ARGS_OUT%\" > nul\r\n");
        file.close();
        qputenv("KIBIC_ARGS_OUT", QDir::toNativeSeparators(out).toUtf8());
        const QString expected = QDir::toNativeSeparators(QFileInfo(script).absolutePath());
#else
        const QString script = dir.filePath(QStringLiteral("Bridgemate Pro/server.sh"));
        WriteServer(script, "pwd -P > \"$KIBIC_ARGS_OUT.part\" && mv \"$KIBIC_ARGS_OUT.part\" \"$KIBIC_ARGS_OUT\"", out);
        const QString expected = QFileInfo(script).canonicalPath();
#endif
        QVERIFY(ShellOpenProgram(script, {}) > 32);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 20000);
        QCOMPARE(Written(out).trimmed().toLower(), expected.toLower());
    }

private:
    // A stand-in terminal server: a shell script that writes what it was given into out.
    static void WriteServer(const QString& script, const char* body, const QString& out)
    {
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("#!/bin/sh\n") + body + '\n');
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("KIBIC_ARGS_OUT", out.toUtf8());
    }

    static QString Written(const QString& out)
    {
        QFile result(out);
        return result.open(QIODevice::ReadOnly) ? QString::fromUtf8(result.readAll()) : QString();
    }
};

QTEST_GUILESS_MAIN(TestShellOpen)
#include "TestShellOpen.moc"
