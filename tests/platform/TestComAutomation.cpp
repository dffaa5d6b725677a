// Late-bound COM calls by name: on Windows (and under wine) against "Scripting.Dictionary", which Windows
// and wine register, so that texts, numbers and booleans go in and out of VARIANTs, a property with an
// argument is read, and a failure the object raises comes back with its own code; everywhere a class
// that no one registers is reported as missing.
#include "platform/ComAutomation.h"

#include <QTest>
#include <optional>

using namespace kibic;

class TestComAutomation : public QObject
{
    Q_OBJECT

private slots:
    void hresultsAsWindowsWritesThem()
    {
        QCOMPARE(HresultText(kClassNotRegistered), QStringLiteral("0x80040154"));
        QCOMPARE(HresultText(0x1F3), QStringLiteral("0x000001F3"));
        QVERIFY(!MeansClassMissing(static_cast<qint32>(0x80004005)));
        QVERIFY(MeansClassMissing(kInvalidClassString));
    }

    void unknownClassIsMissing()
    {
        try {
            ComObject object = ComObject::Create(QStringLiteral("Kibic.NoSuchClass.1"));
            QFAIL("a class that no one registers was created");
        } catch (const ComFailure& failure) {
            QVERIFY2(MeansClassMissing(failure.Result), qPrintable(HresultText(failure.Result)));
            QVERIFY2(failure.Text.startsWith(QStringLiteral("Kibic.NoSuchClass.1: ")), qPrintable(failure.Text));
        }
    }

    void callsByName()
    {
#ifndef Q_OS_WIN
        QSKIP("no COM classes outside Windows");
#else
        std::optional<ComObject> dictionary;
        try {
            dictionary.emplace(ComObject::Create(QStringLiteral("Scripting.Dictionary")));
        } catch (const ComFailure& failure) {
            QSKIP(qPrintable(QStringLiteral("Scripting.Dictionary is not registered here: ") + failure.Text));
        }
        const QString polish = QStringLiteral("Zażółć gęślą jaźń");
        (void)dictionary->Call(QStringLiteral("Add"), { QStringLiteral("imię"), polish });
        (void)dictionary->Call(QStringLiteral("Add"), { 7, true });
        QCOMPARE(dictionary->Get(QStringLiteral("Count")).toInt(), 2);
        QCOMPARE(dictionary->Get(QStringLiteral("Item"), { QStringLiteral("imię") }).toString(), polish);
        QCOMPARE(dictionary->Get(QStringLiteral("Item"), { 7 }), QVariant(true));
        QCOMPARE(dictionary->Call(QStringLiteral("Exists"), { QStringLiteral("nazwisko") }), QVariant(false));
        // A key given twice: the object raises its own error, which comes back with its code and text.
        try {
            (void)dictionary->Call(QStringLiteral("Add"), { QStringLiteral("imię"), 1 });
            QFAIL("a key was added twice");
        } catch (const ComFailure& failure) {
            QVERIFY2(failure.Result != 0 && !failure.Text.isEmpty(), qPrintable(failure.Text));
            QVERIFY2(!MeansClassMissing(failure.Result), qPrintable(HresultText(failure.Result)));
        }
        try {
            (void)dictionary->Call(QStringLiteral("NoSuchMethod"));
            QFAIL("an unknown method was called");
        } catch (const ComFailure& failure) {
            QCOMPARE(HresultText(failure.Result), QStringLiteral("0x80020006")); // DISP_E_UNKNOWNNAME
            QVERIFY2(failure.Text.startsWith(QStringLiteral("NoSuchMethod: ")), qPrintable(failure.Text));
        }
#endif
    }
};

QTEST_GUILESS_MAIN(TestComAutomation)
#include "TestComAutomation.moc"
