// The computer's name as the terminal server records it, and the program's own version numbers.
#include "platform/System.h"
#include "platform/VersionInfo.h"

#include <QTest>

using namespace kibic;

class TestSystem : public QObject
{
    Q_OBJECT

private slots:
    void rehearsalNameStandsInForTheComputers()
    {
        qputenv("KIBIC_COMPUTER_NAME", "STOLIK-PROBNY");
        QCOMPARE(ComputerName(), QStringLiteral("STOLIK-PROBNY"));
        qunsetenv("KIBIC_COMPUTER_NAME");
    }

    // On Windows the terminal server writes the NetBIOS computer name into Clients: upper case and at
    // most 15 characters. The DNS host name (lower case as a rule) would register a second computer.
    void computerNameIsTheOneTheTerminalServerRecords()
    {
        qunsetenv("KIBIC_COMPUTER_NAME");
        const QString name = ComputerName();
        QVERIFY(!name.isEmpty());
#ifdef Q_OS_WIN
        QVERIFY2(name.size() <= 15, qPrintable(name));
        QCOMPARE(name, name.toUpper());
#endif
    }

    // Windows reads the version from the program file's resource, elsewhere it is compiled in: either
    // way it is the project's version, and it is the running program's file that carries it.
    void runningProgramCarriesTheProjectsVersion()
    {
        const std::optional<VersionNumbers> version = ProgramVersion();
        QVERIFY(version);
        const VersionNumbers expected{KIBIC_VERSION_MAJOR, KIBIC_VERSION_MINOR, KIBIC_VERSION_RELEASE, KIBIC_VERSION_BUILD};
        QVERIFY(*version == expected);
        QVERIFY(RunningProgramFile().endsWith(QStringLiteral("TestSystem")) || RunningProgramFile().endsWith(QStringLiteral("TestSystem.exe")));
#ifdef Q_OS_WIN
        QVERIFY(FileVersion(RunningProgramFile()) == expected);
        // A file without version information has none.
        QVERIFY(!FileVersion(QStringLiteral(KIBIC_BINARY_DIR "/bin/qt.conf")));
#endif
    }
};

QTEST_GUILESS_MAIN(TestSystem)
#include "TestSystem.moc"
