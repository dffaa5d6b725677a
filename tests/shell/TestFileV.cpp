// Version texts of the start-up window and the about box, and the version command of kibic-cli.
#include "support/ProgramRun.h"
#include "shell/FileV.h"

#include <QTest>

using namespace kibic;

using OptionalVersion = std::optional<kibic::VersionNumbers>;
Q_DECLARE_METATYPE(OptionalVersion)

class TestFileV : public QObject
{
    Q_OBJECT

private slots:
    void versionTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<OptionalVersion>("version");
        QTest::addColumn<QString>("splash");
        QTest::addColumn<QString>("label1");
        QTest::addColumn<QString>("label3");

        QTest::newRow("kibic 1.0.0.7") << "kibic" << OptionalVersion(VersionNumbers { 1, 0, 0, 7 })
                                       << "kibic, wersja 1.0.7"
                                       << "kibic\nwersja 1.0"
                                       << "kompilacja 7";
        QTest::newRow("prog 3.0.0.3") << "prog" << OptionalVersion(VersionNumbers { 3, 0, 0, 3 })
                                      << "prog, wersja 3.0.3"
                                      << "prog\nwersja 3.0"
                                      << "kompilacja 3";
        // The release number appears nowhere; the build number is decimal, not padded.
        QTest::newRow("release not shown")
            << "kibic" << OptionalVersion(VersionNumbers { 2, 15, 9, 1204 }) << "kibic, wersja 2.15.1204"
            << "kibic\nwersja 2.15"
            << "kompilacja 1204";
        QTest::newRow("largest numbers") << "k" << OptionalVersion(VersionNumbers { 65535, 65535, 65535, 65535 })
                                         << "k, wersja 65535.65535.65535"
                                         << "k\nwersja 65535.65535"
                                         << "kompilacja 65535";
        QTest::newRow("no version information") << "kibic" << OptionalVersion() << "kibic"
                                                << "kibic"
                                                << "";
    }

    void versionTexts()
    {
        QFETCH(QString, name);
        QFETCH(OptionalVersion, version);
        QTEST(SplashVersionLine(name, version), "splash");
        const AboutLabels labels = AboutLabelTexts(name, version);
        QTEST(labels.Label1, "label1");
        QTEST(labels.Label3, "label3");
    }

    void programName_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("Windows path") << "C:\\Program Files\\Kibic\\kibic.exe"
                                      << "kibic";
        QTest::newRow("Unix path") << "/opt/kibic/bin/kibic"
                                   << "kibic";
        QTest::newRow("dots in the folder") << "/opt/v1.2/prog"
                                            << "prog";
        QTest::newRow("only the last extension goes") << "/x/prog.old.exe"
                                                      << "prog.old";
    }

    void programName()
    {
        QFETCH(QString, path);
        QTEST(ProgramName(path), "name");
    }

    void versionNumbersAreTheProgramsOwn()
    {
        quint16 major = 9;
        quint16 minor = 9;
        quint16 release = 9;
        quint16 build = 9;
        QVERIFY(ReadVersionNumbers(major, minor, release, build));
        QCOMPARE(major, quint16(KIBIC_VERSION_MAJOR));
        QCOMPARE(minor, quint16(KIBIC_VERSION_MINOR));
        QCOMPARE(release, quint16(KIBIC_VERSION_RELEASE));
        QCOMPARE(build, quint16(KIBIC_VERSION_BUILD));
    }

    void executableNameIsThisProgram() { QCOMPARE(ProgramName(ExecutableName()), QStringLiteral("TestFileV")); }

    void cliPrintsTheVersionLine()
    {
        const kibic::test::ProgramRun cli = kibic::test::RunCli({ QStringLiteral("version") });
        QCOMPARE(cli.ExitCode, 0);
        const QString expected = QStringLiteral("kibic, wersja %1.%2.%3\n")
                                     .arg(KIBIC_VERSION_MAJOR)
                                     .arg(KIBIC_VERSION_MINOR)
                                     .arg(KIBIC_VERSION_BUILD);
        QCOMPARE(cli.Out, expected);
        QCOMPARE(kibic::test::RunCli({ QStringLiteral("version"), QStringLiteral("x") }).ExitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestFileV)
#include "TestFileV.moc"
