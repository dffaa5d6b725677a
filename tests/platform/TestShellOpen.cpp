// Starting the terminal server: the shell's result codes without a shell.
#include "platform/ShellOpen.h"

#include <QFile>
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
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"$KIBIC_ARGS_OUT\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("KIBIC_ARGS_OUT", out.toUtf8());
        const QString hostile = QStringLiteral("/f:[/t/a b;$(touch x)`id`.bws]");
        QVERIFY(ShellOpenProgram(script, {hostile, QStringLiteral("/s")}) > 32);
        QTRY_VERIFY(QFile::exists(out) && QFileInfo(out).size() > 0);
        QFile result(out);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(result.readAll()), hostile + QStringLiteral("\n/s\n"));
    }
};

QTEST_GUILESS_MAIN(TestShellOpen)
#include "TestShellOpen.moc"
