// Waiting a moment for a file that another program holds, and the failure when the hold lasts.
#include "common/HeldFiles.h"
#include "common/KibicError.h"
#include "common/SafeFiles.h"
#include "tournament/RecordFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_WIN
#include <QDir>
#include <windows.h>
#endif

using namespace kibic;

class TestHeldFiles : public QObject
{
    Q_OBJECT

private slots:
    // failures: how many opens fail before one succeeds (-1: every one); held: whether a failure is a hold.
    void openWaitsOnlyForAHold_data()
    {
        QTest::addColumn<int>("failures");
        QTest::addColumn<bool>("held");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<int>("opens");
        QTest::newRow("opens at once") << 0 << true << true << false << 1;
        QTest::newRow("a short hold is waited out") << 3 << true << true << false << 4;
        QTest::newRow("any other failure returns at once") << -1 << false << false << false << 1;
    }

    void openWaitsOnlyForAHold()
    {
        QFETCH(int, failures);
        QFETCH(bool, held);
        QFETCH(bool, opened);
        QFETCH(bool, busy);
        QFETCH(int, opens);
        int tries = 0;
        bool wasBusy = true;
        const bool result = OpenWaitingForHold(
            QStringLiteral("cup.ZAP"), [&] { return failures >= 0 && tries++ >= failures; }, wasBusy,
            [&](const QString& file) {
                if (file != QStringLiteral("cup.ZAP"))
                    qFatal("the hold is asked of another file");
                return held;
            });
        QCOMPARE(result, opened);
        QCOMPARE(wasBusy, busy);
        QCOMPARE(failures < 0 ? 1 : tries, opens);
    }

    void aHoldLongerThanTheWaitIsABusyFailure()
    {
        int tries = 0;
        bool busy = false;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!OpenWaitingForHold(
            QStringLiteral("cup.KNT"), [&] { return ++tries < 0; }, busy, [](const QString&) { return true; }, 200));
        const qint64 waited = clock.elapsed();
        QVERIFY(busy);
        QVERIFY2(waited >= 200 && waited < 1200, qPrintable(QString::number(waited)));
        QVERIFY(tries > 2);
        const KibicError error = FileHeldError(QStringLiteral("C:/turnieje/cup.KNT"));
        QCOMPARE(int(error.Kind()), int(FailureKind::FileBusy));
        QVERIFY(error.Busy());
        QCOMPARE(error.HeldFile(), QStringLiteral("C:/turnieje/cup.KNT"));
        QVERIFY(error.Message().contains(QStringLiteral("C:/turnieje/cup.KNT")));
    }

    void aFileOpenHereIsNotHeld()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("cup.ZAP"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(!HeldByAnotherProgram(name));
        QVERIFY(!HeldByAnotherProgram(dir.filePath(QStringLiteral("missing.ZAP"))));
    }

#ifdef Q_OS_WIN
    // A program that opened the file without sharing it (as ZyRT may while it reads it): forcing the file
    // to the disk and writing a record both wait about a second and then fail as a busy file, naming it;
    // once the file is free the same write goes through, so the pass of the next tick loses nothing.
    void aFileOpenedWithoutSharingIsWaitedForThenBusy_data()
    {
        QTest::addColumn<bool>("recordWrite");
        QTest::newRow("forcing to the disk") << false;
        QTest::newRow("writing a record") << true;
    }

    void aFileOpenedWithoutSharingIsWaitedForThenBusy()
    {
        QFETCH(bool, recordWrite);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("cup.ZAP"));
        {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("\0\0\0\0", 4);
        }
        const auto write = [&] {
            if (recordWrite)
                RecordFileWriter(name, 2).Write(1, QByteArray("\x07\x00", 2));
            else
                ForceFileToDisk(name);
        };
        const std::wstring native = QDir::toNativeSeparators(name).toStdWString();
        const HANDLE other
            = CreateFileW(native.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        QVERIFY(other != INVALID_HANDLE_VALUE);
        QVERIFY(HeldByAnotherProgram(name));
        QElapsedTimer clock;
        clock.start();
        QString held;
        try {
            write();
        } catch (const KibicError& error) {
            QCOMPARE(int(error.Kind()), int(FailureKind::FileBusy));
            held = error.HeldFile();
        }
        const qint64 waited = clock.elapsed();
        CloseHandle(other);
        QCOMPARE(held, name);
        QVERIFY2(waited >= kFileHoldWaitMs - 100, qPrintable(QString::number(waited)));
        QVERIFY(!HeldByAnotherProgram(name));
        write();
        QFile written(name);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), recordWrite ? QByteArray("\0\0\x07\0", 4) : QByteArray(4, '\0'));
    }
#endif
};

QTEST_GUILESS_MAIN(TestHeldFiles)
#include "TestHeldFiles.moc"
