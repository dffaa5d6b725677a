// The portable registry: one INI file per key, never the real one in tests.
#include "platform/Registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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
        key->WriteString(QStringLiteral("DatabaseName"), QStringLiteral("/dane/Łódź/gracze.db"));
        const auto again = RegistryKey::Open(RegistryHive::CurrentUser, QStringLiteral("Software\\Trevik\\Pelikar"), false);
        QVERIFY(again);
        QCOMPARE(again->ReadString(QStringLiteral("DatabaseName")), QStringLiteral("/dane/Łódź/gracze.db"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestRegistry)
#include "TestRegistry.moc"
