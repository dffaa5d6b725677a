// Qt's own texts (file dialogs, standard buttons) come in Polish once the translation is installed.
#include "shell/ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;

class TestQtTranslations : public QObject
{
    Q_OBJECT

private slots:
    void missingTranslationLeavesQtsEnglish()
    {
        const QTemporaryDir empty;
        QVERIFY(!InstallQtTranslations(*QCoreApplication::instance(), empty.path()));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    }

    // The package of Qt's translations is part of the machine's set-up: its absence fails here.
    void fileDialogAndButtonsSpeakPolish()
    {
        QVERIFY(InstallQtTranslations(*QCoreApplication::instance()));
        QCOMPARE(QLocale().language(), QLocale::Polish);
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Szukaj w:"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Anuluj"));
    }
};

QTEST_GUILESS_MAIN(TestQtTranslations)
#include "TestQtTranslations.moc"
