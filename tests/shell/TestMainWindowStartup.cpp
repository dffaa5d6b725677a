// The main window's start: instance number, pattern folder, registry paths and ZyRT's configuration.
#include "shell/MainWindowStartup.h"

#include "platform/Registry.h"
#include "tournament/Cp1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;

class TestMainWindowStartup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_registry;
    QTemporaryDir m_files;
    QString m_namesDatabase; // an existing names database with Polish letters in its name

    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_files.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    void WriteGawotnik(const QString& zyrt, const QString& bmpro)
    {
        std::optional<RegistryKey> key = RegistryKey::Open(RegistryHive::LocalMachine, GawotnikKey.toString(), true);
        QVERIFY(key);
        QVERIFY(key->WriteString(QStringLiteral("ZyRT"), zyrt));
        QVERIFY(key->WriteString(QStringLiteral("BMPro"), bmpro));
    }

    void RemoveGawotnik() { QDir(m_registry.path()).removeRecursively(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_registry.isValid() && m_files.isValid());
        qputenv("KIBIC_REGISTRY_DIR", m_registry.path().toUtf8());
        m_namesDatabase = WriteFile(QStringLiteral("Nazwiska żółwi.baz"), QByteArray(31, 'x'));
    }

    void cleanup() { RemoveGawotnik(); }

    void processedColumn_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("column");
        QTest::newRow("none") << QStringList() << 0;
        QTest::newRow("1") << QStringList { QStringLiteral("1") } << 1;
        QTest::newRow("3") << QStringList { QStringLiteral("3") } << 3;
        QTest::newRow("4") << QStringList { QStringLiteral("4") } << 4;
        QTest::newRow("0") << QStringList { QStringLiteral("0") } << 0;
        QTest::newRow("5") << QStringList { QStringLiteral("5") } << 0;
        QTest::newRow("-1") << QStringList { QStringLiteral("-1") } << 0;
        QTest::newRow("not a number") << QStringList { QStringLiteral("abc") } << 0;
        QTest::newRow("number and letters") << QStringList { QStringLiteral("3a") } << 0;
        QTest::newRow("empty argument") << QStringList { QStringLiteral("") } << 0;
        QTest::newRow("only the first counts") << QStringList { QStringLiteral("2"), QStringLiteral("4") } << 2;
        QTest::newRow("first not a number") << QStringList { QStringLiteral("x"), QStringLiteral("4") } << 0;
    }

    void processedColumn()
    {
        QFETCH(QStringList, arguments);
        QTEST(ProcessedColumnFromArguments(arguments), "column");
    }

    // %1 in the text stands for the existing names database, written in Windows-1250.
    void namesDatabaseSearch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");

        QTest::newRow("plain") << "[NAZWISKA]\n%1\n" << true;
        QTest::newRow("CR LF, blanks and lower case") << "[ZYRT]\r\nx=1\r\n   [nazwiska]  \r\n%1\r\n[INNE]\r\n" << true;
        QTest::newRow("tab before the section") << "\t[Nazwiska]\n%1\n" << true;
        QTest::newRow("text after the bracket") << "[NAZWISKA] baza osób\n%1\n" << true;
        QTest::newRow("last line without line end") << "[NAZWISKA]\n%1" << true;
        QTest::newRow("CR alone ends lines") << "[NAZWISKA]\r%1\r" << true;
        QTest::newRow("empty line after the first section, second section found") << "[NAZWISKA]\n\n[NAZWISKA]\n%1\n"
                                                                                  << true;
        QTest::newRow("empty line after the section, path further down") << "[NAZWISKA]\n\n%1\n" << false;
        QTest::newRow("section on the last line") << "x\n[NAZWISKA]\n" << false;
        QTest::newRow("no brackets") << "NAZWISKA\n%1\n" << false;
        QTest::newRow("other section") << "[NAZWISKO]\n%1\n" << false;
        QTest::newRow("path on the section's line") << "[NAZWISKA]%1\n" << false;
        QTest::newRow("path of no file") << "[NAZWISKA]\n/nie/ma/takiej/bazy.baz\n" << false;
        QTest::newRow("empty file") << "" << false;
    }

    void namesDatabaseSearch()
    {
        QFETCH(QString, text);
        QFETCH(bool, found);
        const QString configuration = WriteFile(QStringLiteral("zyrt.cfg"),
            ToCp1250(text.contains(QStringLiteral("%1")) ? text.arg(m_namesDatabase) : text));
        QCOMPARE(NamesDatabaseFromConfiguration(configuration), found ? m_namesDatabase : QString());
    }

    void firstFoundPathWins()
    {
        const QString other = WriteFile(QStringLiteral("druga.baz"), "y");
        const QString configuration = WriteFile(QStringLiteral("two.cfg"),
            ToCp1250(QStringLiteral("[NAZWISKA]\n%1\n[NAZWISKA]\n%2\n").arg(other, m_namesDatabase)));
        QCOMPARE(NamesDatabaseFromConfiguration(configuration), other);
    }

    void configurationThatCannotBeReadGivesNothing()
    {
        QCOMPARE(NamesDatabaseFromConfiguration(m_files.filePath(QStringLiteral("brak.cfg"))), QString());
        QCOMPARE(NamesDatabaseFromConfiguration(m_files.path()), QString());
    }

    void companionPaths_data()
    {
        QTest::addColumn<bool>("key");
        QTest::addColumn<QString>("zyrt"); // "cfg": a configuration naming the names database
        QTest::addColumn<QString>("bmpro"); // "exe": an existing program file
        QTest::addColumn<bool>("namesFound");
        QTest::addColumn<bool>("bmproFound");

        QTest::newRow("no key") << false << ""
                                << "" << false << false;
        QTest::newRow("both found") << true << "cfg"
                                    << "exe" << true << true;
        QTest::newRow("BMPro names no file") << true << "cfg"
                                             << "/nie/ma/BMPro.exe" << true << false;
        QTest::newRow("BMPro names a folder") << true << "cfg"
                                              << "folder" << true << false;
        QTest::newRow("configuration names no file") << true << "/nie/ma/zyrt.cfg"
                                                     << "exe" << false << true;
        QTest::newRow("empty values") << true << ""
                                      << "" << false << false;
    }

    void companionPaths()
    {
        QFETCH(bool, key);
        QFETCH(QString, zyrt);
        QFETCH(QString, bmpro);
        const QString configuration
            = WriteFile(QStringLiteral("gawotnik.cfg"), ToCp1250(QStringLiteral("[NAZWISKA]\n") + m_namesDatabase));
        const QString program = WriteFile(QStringLiteral("BMPro.exe"), "MZ");
        if (zyrt == QStringLiteral("cfg"))
            zyrt = configuration;
        if (bmpro == QStringLiteral("exe"))
            bmpro = program;
        else if (bmpro == QStringLiteral("folder"))
            bmpro = m_files.path();
        if (key)
            WriteGawotnik(zyrt, bmpro);

        const CompanionPaths paths = ReadCompanionPaths();
        QFETCH(bool, namesFound);
        QFETCH(bool, bmproFound);
        QCOMPARE(paths.NamesDatabasePath, namesFound ? m_namesDatabase : QString());
        QCOMPARE(paths.BMProPath, bmproFound ? program : QString());
    }

    void startSetsTheModel()
    {
        const QString configuration
            = WriteFile(QStringLiteral("start.cfg"), ToCp1250(QStringLiteral("[NAZWISKA]\n") + m_namesDatabase));
        const QString program = WriteFile(QStringLiteral("BMPro.exe"), "MZ");
        WriteGawotnik(configuration, program);
        const QString programDirectory = m_files.filePath(QStringLiteral("a/b/kibic"));

        TournamentModel model;
        model.PollingOn = true;
        model.Busy = true;
        model.ScoringKind = 0;
        const QString patternFolder = StartMainWindow(model, { QStringLiteral("3") }, programDirectory);

        QCOMPARE(patternFolder, programDirectory + QStringLiteral("/BMT"));
        QVERIFY(QFileInfo(patternFolder).isDir());
        QCOMPARE(model.ProcessedColumnNo, 3);
        QCOMPARE(model.ScoringKind, 2);
        QVERIFY(!model.PollingOn);
        QVERIFY(!model.Busy);
        QVERIFY(model.CellClicked);
        QCOMPARE(model.NamesDatabasePath, m_namesDatabase);
        QCOMPARE(model.BMProPath, program);
    }

    void startWithoutKeyClearsEarlierPaths()
    {
        TournamentModel model;
        model.NamesDatabasePath = m_namesDatabase;
        model.BMProPath = QStringLiteral("/stary/BMPro.exe");
        model.ProcessedColumnNo = 4;
        StartMainWindow(model, { QStringLiteral("7") }, m_files.path());
        QVERIFY(model.NamesDatabasePath.isEmpty());
        QVERIFY(model.BMProPath.isEmpty());
        QCOMPARE(model.ProcessedColumnNo, 0);
        QVERIFY(QFileInfo(m_files.filePath(QStringLiteral("BMT"))).isDir());
    }

    void patternFolderThatCannotBeMadeIsNotAnError()
    {
        // A file stands where the program's folder would be: the folder cannot be made, the path is
        // still the one the dialogs are given.
        const QString blocker = WriteFile(QStringLiteral("plik"), "x");
        QCOMPARE(PreparePatternFolder(blocker), blocker + QStringLiteral("/BMT"));
        QVERIFY(!QFileInfo::exists(blocker + QStringLiteral("/BMT")));
    }
};

QTEST_GUILESS_MAIN(TestMainWindowStartup)
#include "TestMainWindowStartup.moc"
