// The operator's texts of file failures: our Polish words for the common causes with the system's text
// after them, as they reach the messages of description, result, pattern and name files.
#include "common/FileErrors.h"
#include "common/KibicError.h"
#include "common/SafeFiles.h"
#include "players/NamesFile.h"
#include "support/FailureOf.h"
#include "support/SmallDisk.h"
#include "tournament/RecordFile.h"
#include "tournament/TextData.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace kibic;
using kibic::test::FailureOf;

namespace {

QString Expected(const char* words, int code)
{
    return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(words), qt_error_string(code));
}

} // namespace

class TestFileErrors : public QObject
{
    Q_OBJECT

private slots:
    void causes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
#ifdef Q_OS_WIN
        QTest::newRow("missing file") << int(ERROR_FILE_NOT_FOUND)
                                      << Expected("nie ma takiego pliku lub folderu", ERROR_FILE_NOT_FOUND);
        QTest::newRow("missing folder") << int(ERROR_PATH_NOT_FOUND)
                                        << Expected("nie ma takiego pliku lub folderu", ERROR_PATH_NOT_FOUND);
        QTest::newRow("no permission") << int(ERROR_ACCESS_DENIED)
                                       << Expected("brak uprawnień do pliku lub folderu", ERROR_ACCESS_DENIED);
        QTest::newRow("held, sharing") << int(ERROR_SHARING_VIOLATION)
                                       << Expected("plik jest zajęty przez inny program", ERROR_SHARING_VIOLATION);
        QTest::newRow("held, locked") << int(ERROR_LOCK_VIOLATION)
                                      << Expected("plik jest zajęty przez inny program", ERROR_LOCK_VIOLATION);
        QTest::newRow("disk full") << int(ERROR_DISK_FULL) << Expected("brak miejsca na dysku", ERROR_DISK_FULL);
        QTest::newRow("disk full, handle")
            << int(ERROR_HANDLE_DISK_FULL) << Expected("brak miejsca na dysku", ERROR_HANDLE_DISK_FULL);
        QTest::newRow("read-only medium")
            << int(ERROR_WRITE_PROTECT) << Expected("nośnik jest tylko do odczytu", ERROR_WRITE_PROTECT);
        QTest::newRow("other: the system's text alone") << int(ERROR_CRC) << qt_error_string(ERROR_CRC);
#else
        QTest::newRow("missing") << ENOENT << Expected("nie ma takiego pliku lub folderu", ENOENT);
        QTest::newRow("no permission") << EACCES << Expected("brak uprawnień do pliku lub folderu", EACCES);
        QTest::newRow("not permitted") << EPERM << Expected("brak uprawnień do pliku lub folderu", EPERM);
        QTest::newRow("held") << EBUSY << Expected("plik jest zajęty przez inny program", EBUSY);
        QTest::newRow("disk full") << ENOSPC << Expected("brak miejsca na dysku", ENOSPC);
        QTest::newRow("quota") << EDQUOT << Expected("brak miejsca na dysku", EDQUOT);
        QTest::newRow("read-only medium") << EROFS << Expected("nośnik jest tylko do odczytu", EROFS);
        QTest::newRow("other: the system's text alone") << EIO << qt_error_string(EIO);
#endif
        QTest::newRow("no failure") << 0 << QString();
    }

    void causes()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(FileErrorText(code), text);
    }

    // Each kind of file the operator's messages name: the file, what failed, our words and the system's.
    void missingFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::function<void(const QString&)>>("action");
        QTest::addColumn<QString>("start");
        QTest::newRow("description") << QStringLiteral("cup.inf")
                                     << std::function<void(const QString&)>([](const QString& f) { TText text(f); })
                                     << QStringLiteral("Nie można otworzyć pliku");
        QTest::newRow("result file read")
            << QStringLiteral("folder/cup.ZAP")
            << std::function<void(const QString&)>([](const QString& f) { RecordFileReader reader(f, 2); })
            << QStringLiteral("Brak pliku");
        QTest::newRow("result file forced to disk")
            << QStringLiteral("cup.KNT")
            << std::function<void(const QString&)>([](const QString& f) { ForceFileToDisk(f); })
            << QStringLiteral("Nie można otworzyć pliku");
        QTest::newRow("names file") << QStringLiteral(
            "ZAWOD.DAT") << std::function<void(const QString&)>([](const QString& f) {
            PlayerEntries entries;
            LookUpNamesFile(f, entries);
        }) << QStringLiteral("Nie można otworzyć bazy nazwisk");
        QTest::newRow("name list into a missing folder") << QStringLiteral(
            "brak/cup.LUC") << std::function<void(const QString&)>([](const QString& f) {
            SaveWholeFile(f, "lista", QStringLiteral("Nie można zapisać pliku"));
        }) << QStringLiteral("Nie można zapisać pliku");
    }

    void missingFiles()
    {
        QFETCH(QString, name);
        QFETCH(std::function<void(const QString&)>, action);
        QFETCH(QString, start);
        QTemporaryDir dir;
        const QString file = dir.filePath(name);
        const QString message = FailureOf([&] { action(file); });
        QVERIFY2(message.startsWith(start + QLatin1Char(' ') + file), qPrintable(message));
        // A missing result file has its own message; every other names the cause in our words first.
        if (start != QStringLiteral("Brak pliku"))
            QVERIFY2(message.contains(QStringLiteral(": nie ma takiego pliku lub folderu (")), qPrintable(message));
    }

    // A full disk and a read-only medium, where a file system of the test's own can be mounted.
    void fullAndReadOnlyDisks()
    {
        KIBIC_SMALL_DISK(disk);
        const QString list = disk.Path(QStringLiteral("cup.LUC"));
        QVERIFY(disk.Fill());
        const QString full
            = FailureOf([&] { SaveWholeFile(list, QByteArray(8192, 'x'), QStringLiteral("Nie można zapisać pliku")); });
        QVERIFY2(full.contains(QStringLiteral(": brak miejsca na dysku (") + qt_error_string(ENOSPC) + u')'),
            qPrintable(full));

        disk.Empty();
        const QString scores = disk.Path(QStringLiteral("cup.ZAP"));
        SaveWholeFile(scores, QByteArray(4, '\0'), QStringLiteral("Nie można zapisać pliku"));
        QVERIFY(disk.MakeReadOnly());
        const QString readOnly = FailureOf([&] { RecordFileWriter(scores, 2).Write(1, QByteArray("\x07\x00", 2)); });
        QVERIFY2(readOnly.startsWith(QStringLiteral("Nie można otworzyć pliku %1 do zapisu: nośnik jest tylko do "
                                                    "odczytu (")
                                         .arg(scores)),
            qPrintable(readOnly));
    }
};

QTEST_GUILESS_MAIN(TestFileErrors)
#include "TestFileErrors.moc"
