// The application manifest of Kibic's programs: well formed, asking for what Kibic relies on, and on
// Windows embedded in each program as the resource Windows reads before the program starts.
#include "support/KibicPrograms.h"

#include <QFile>
#include <QStringList>
#include <QTest>
#include <QXmlStreamReader>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// What a manifest asks for, read from its XML: the execution level, the supported systems, the DPI awareness.
struct ManifestRequests
{
    QString Error;
    QString Level;
    QString UiAccess;
    QStringList SupportedSystems;
    QString DpiAwareness;
};

ManifestRequests Read(const QByteArray& xml)
{
    ManifestRequests requests;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == u"requestedExecutionLevel") {
            requests.Level = reader.attributes().value(QStringLiteral("level")).toString();
            requests.UiAccess = reader.attributes().value(QStringLiteral("uiAccess")).toString();
        } else if (reader.name() == u"supportedOS") {
            requests.SupportedSystems << reader.attributes().value(QStringLiteral("Id")).toString();
        } else if (reader.name() == u"dpiAwareness") {
            requests.DpiAwareness = reader.readElementText().trimmed();
        }
    }
    if (reader.hasError())
        requests.Error = reader.errorString();
    return requests;
}

const QString kWindows10 = QStringLiteral("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}");

#ifdef Q_OS_WIN
// The program's RT_MANIFEST 1, read from its file without running it; empty when it has none.
QByteArray EmbeddedManifest(const QString& program)
{
    HMODULE module = LoadLibraryExW(reinterpret_cast<LPCWSTR>(program.utf16()), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr)
        return {};
    QByteArray manifest;
    if (HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        if (HGLOBAL loaded = LoadResource(module, resource))
            manifest = QByteArray(static_cast<const char*>(LockResource(loaded)),
                static_cast<qsizetype>(SizeofResource(module, resource)));
    }
    FreeLibrary(module);
    return manifest;
}
#endif

} // namespace

class TestManifest : public QObject
{
    Q_OBJECT

private slots:
    // Windows refuses to start a program whose manifest is not well formed, so the file is read as
    // Windows reads it.
    void manifestAsksForWhatKibicReliesOn()
    {
        QFile file(QStringLiteral(KIBIC_SOURCE_DIR "/cmake/kibic.manifest"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const ManifestRequests requests = Read(file.readAll());
        QVERIFY2(requests.Error.isEmpty(), qPrintable(requests.Error));
        QCOMPARE(requests.Level, QStringLiteral("asInvoker"));
        QCOMPARE(requests.UiAccess, QStringLiteral("false"));
        QCOMPARE(requests.SupportedSystems, QStringList { kWindows10 });
        QCOMPARE(requests.DpiAwareness, QStringLiteral("PerMonitorV2"));
    }

    void everyProgramCarriesTheManifest_data()
    {
        QTest::addColumn<QString>("program");
        for (const char* name : { "kibic", "kibic-cli", "kibic-terminals" })
            QTest::newRow(name) << kibic::test::KibicProgram(name);
    }

    void everyProgramCarriesTheManifest()
    {
#ifndef Q_OS_WIN
        QSKIP("a manifest is a resource of a Windows program");
#else
        QFETCH(QString, program);
        const QByteArray embedded = EmbeddedManifest(program);
        QVERIFY2(!embedded.isEmpty(), qPrintable(program));
        QFile file(QStringLiteral(KIBIC_SOURCE_DIR "/cmake/kibic.manifest"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(embedded, file.readAll());
#endif
    }
};

QTEST_GUILESS_MAIN(TestManifest)
#include "TestManifest.moc"
