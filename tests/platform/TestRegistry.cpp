// The portable registry: one INI file per key, never the real one in tests.
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace kibic;

class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("KIBIC_REGISTRY_DIR", m_dir->path().toUtf8());
    }

    void missingKeyDoesNotOpenWithoutCreate()
    {
        QVERIFY(!RegistryKey::Open(RegistryHive::LocalMachine, QStringLiteral("Software\\Trevik\\Gawotnik"), false));
        QVERIFY(!QFile::exists(m_dir->path() + QStringLiteral("/HKLM/Software/Trevik/Gawotnik.ini")));
    }

    void createdKeyIsEmptyFile()
    {
        auto key = RegistryKey::Open(RegistryHive::CurrentUser, QStringLiteral("\\Software\\Trevik\\Pelikar"), true);
        QVERIFY(key);
        QCOMPARE(key->Location(), m_dir->path() + QStringLiteral("/HKCU/Software/Trevik/Pelikar.ini"));
        QVERIFY(QFile::exists(key->Location()));
        QCOMPARE(key->ReadString(QStringLiteral("DatabaseName")), QString());
    }

    void readsValuesWrittenAsQSettingsWritesThem()
    {
        const QString file = m_dir->path() + QStringLiteral("/HKLM/Software/Trevik/Gawotnik.ini");
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        QFile ini(file);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\nZyRT=/zyrt/zyrt.cfg\nBMPro=/opt/bm/BMPro.exe\n");
        ini.close();
        const auto key = RegistryKey::Open(RegistryHive::LocalMachine, QStringLiteral("Software\\Trevik\\Gawotnik"), false);
        QVERIFY(key);
        QCOMPARE(key->ReadString(QStringLiteral("ZyRT")), QStringLiteral("/zyrt/zyrt.cfg"));
        QCOMPARE(key->ReadString(QStringLiteral("BMPro")), QStringLiteral("/opt/bm/BMPro.exe"));
        QCOMPARE(key->ReadString(QStringLiteral("Other")), QString());
    }

    void writtenValueRoundTripsWithPolishLetters()
    {
        auto key = RegistryKey::Open(RegistryHive::CurrentUser, QStringLiteral("Software\\Trevik\\Pelikar"), true);
        QVERIFY(key);
        QVERIFY(key->WriteString(QStringLiteral("DatabaseName"), QStringLiteral("/dane/Łódź/gracze.db")));
        const auto again = RegistryKey::Open(RegistryHive::CurrentUser, QStringLiteral("Software\\Trevik\\Pelikar"), false);
        QVERIFY(again);
        QCOMPARE(again->ReadString(QStringLiteral("DatabaseName")), QStringLiteral("/dane/Łódź/gracze.db"));
    }

    // Paths on a director's PC hold commas, semicolons and quotes; a value is everything after "=".
    void valuesAreReadWhole_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("value");
        QTest::newRow("comma") << QByteArray("ZyRT=C:\\ZyRT, stary\\zyrt.cfg") << QStringLiteral("C:\\ZyRT, stary\\zyrt.cfg");
        QTest::newRow("semicolon") << QByteArray("ZyRT=/dane;2026/zyrt.cfg") << QStringLiteral("/dane;2026/zyrt.cfg");
        QTest::newRow("quotes") << QByteArray("ZyRT=\"/a b/zyrt.cfg\"") << QStringLiteral("\"/a b/zyrt.cfg\"");
        QTest::newRow("spaces round the sign") << QByteArray("ZyRT = /a/zyrt.cfg ") << QStringLiteral("/a/zyrt.cfg");
        QTest::newRow("name in other case") << QByteArray("zyrt=/a/zyrt.cfg") << QStringLiteral("/a/zyrt.cfg");
        QTest::newRow("Windows line end") << QByteArray("ZyRT=/a/zyrt.cfg\r") << QStringLiteral("/a/zyrt.cfg");
        QTest::newRow("equals sign in the value") << QByteArray("ZyRT=/a=b/zyrt.cfg") << QStringLiteral("/a=b/zyrt.cfg");
    }

    void valuesAreReadWhole()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, value);
        WriteKeyFile("HKLM/Software/Trevik/Gawotnik.ini", "[General]\n" + line + "\nBMPro=/bm/BMPro.exe\n");
        const auto key = RegistryKey::Open(RegistryHive::LocalMachine, QStringLiteral("Software\\Trevik\\Gawotnik"), false);
        QVERIFY(key);
        QCOMPARE(key->ReadString(QStringLiteral("ZyRT")), value);
        QCOMPARE(key->ReadString(QStringLiteral("BMPro")), QStringLiteral("/bm/BMPro.exe"));
    }

    void onlyTheGeneralSectionHoldsValues()
    {
        WriteKeyFile("HKLM/Software/Trevik/Gawotnik.ini",
            "BMPro=/przed/sekcja.exe\n[Inne]\nZyRT=/nie/ta.cfg\n[General]\nZyRT=/ta/zyrt.cfg\n");
        const auto key = RegistryKey::Open(RegistryHive::LocalMachine, QStringLiteral("Software\\Trevik\\Gawotnik"), false);
        QVERIFY(key);
        QCOMPARE(key->ReadString(QStringLiteral("ZyRT")), QStringLiteral("/ta/zyrt.cfg"));
        QCOMPARE(key->ReadString(QStringLiteral("BMPro")), QStringLiteral("/przed/sekcja.exe"));
    }

    void writingKeepsTheOtherValuesAndReadsBackWhole()
    {
        WriteKeyFile("HKCU/Software/Trevik/Pelikar.ini", "[General]\nInna=1, 2; 3\nDatabaseName=/stara.mdb\n[Obca]\nx=y\n");
        auto key = RegistryKey::Open(RegistryHive::CurrentUser, QStringLiteral("Software\\Trevik\\Pelikar"), false);
        QVERIFY(key);
        QVERIFY(key->WriteString(QStringLiteral("databasename"), QStringLiteral("C:\\Gracze, \"nowi\"; 2026\\baza.mdb")));
        QVERIFY(key->WriteString(QStringLiteral("Nowa"), QStringLiteral("a\nb")));
        QCOMPARE(key->ReadString(QStringLiteral("DatabaseName")), QStringLiteral("C:\\Gracze, \"nowi\"; 2026\\baza.mdb"));
        QCOMPARE(key->ReadString(QStringLiteral("Inna")), QStringLiteral("1, 2; 3"));
        QCOMPARE(key->ReadString(QStringLiteral("Nowa")), QStringLiteral("a b"));
        QFile file(key->Location());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
            QByteArray("[General]\nInna=1, 2; 3\ndatabasename=C:\\Gracze, \"nowi\"; 2026\\baza.mdb\nNowa=a b\n[Obca]\nx=y\n"));
    }

#ifdef Q_OS_WIN
    // The real registry (the wine prefix's under wine): a key Kibic only reads is opened without being
    // made, machine-wide and per-user alike; only a per-user key opened to be written is made.
    void realRegistryIsOnlyReadWhereKibicOnlyReads()
    {
        qunsetenv("KIBIC_REGISTRY_DIR");
        // A name of this run's own: wine's process numbers repeat from one run to the next.
        const QString parent = QStringLiteral("Software\\Kibic-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        const QString path = parent + QStringLiteral("\\Trevik\\Gawotnik");
        QVERIFY(!RegistryKey::Open(RegistryHive::LocalMachine, path, false));
        QVERIFY(!RegistryKey::Open(RegistryHive::CurrentUser, path, false));
        QVERIFY(!NativeKeyExists(HKEY_LOCAL_MACHINE, parent));
        QVERIFY(!NativeKeyExists(HKEY_CURRENT_USER, parent));
        QVERIFY(!RegistryKey::Open(RegistryHive::LocalMachine, path, true));
        QVERIFY(!NativeKeyExists(HKEY_LOCAL_MACHINE, parent));

        auto created = RegistryKey::Open(RegistryHive::CurrentUser, path, true);
        QVERIFY(created);
        QCOMPARE(created->Location(), QStringLiteral("HKEY_CURRENT_USER\\") + path);
        QVERIFY(NativeKeyExists(HKEY_CURRENT_USER, path));
        QCOMPARE(created->ReadString(QStringLiteral("DatabaseName")), QString());
        QVERIFY(created->WriteString(QStringLiteral("DatabaseName"), QStringLiteral("C:\\Gracze, Łódź\\baza.mdb")));
        const auto again = RegistryKey::Open(RegistryHive::CurrentUser, path, false);
        QVERIFY(again);
        QCOMPARE(again->ReadString(QStringLiteral("databasename")), QStringLiteral("C:\\Gracze, Łódź\\baza.mdb"));
        QCOMPARE(RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<LPCWSTR>(parent.utf16())), ERROR_SUCCESS);
    }
#endif

private:
#ifdef Q_OS_WIN
    static bool NativeKeyExists(HKEY root, const QString& path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root, reinterpret_cast<LPCWSTR>(path.utf16()), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
#endif

    void WriteKeyFile(const char* relative, const QByteArray& content)
    {
        const QString file = m_dir->path() + QLatin1Char('/') + QLatin1String(relative);
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        QFile ini(file);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(content);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "TestRegistry.moc"
