// The about box: its labels for a program and version, its link and its OK button.
#include "shell/ui/UAbout.h"

#include "shell/ui/WebLabel.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kibic;

using OptionalVersion = std::optional<kibic::VersionNumbers>;
Q_DECLARE_METATYPE(OptionalVersion)

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void labels_data()
    {
        QTest::addColumn<OptionalVersion>("version");
        QTest::addColumn<QString>("label1");
        QTest::addColumn<QString>("label3");
        QTest::newRow("3.0.0.3") << OptionalVersion(VersionNumbers { 3, 0, 0, 3 }) << "prog\nwersja 3.0"
                                 << "kompilacja 3";
        QTest::newRow("1.2.5.40") << OptionalVersion(VersionNumbers { 1, 2, 5, 40 }) << "prog\nwersja 1.2"
                                  << "kompilacja 40";
        QTest::newRow("no version information") << OptionalVersion() << "prog"
                                                << "";
    }

    void labels()
    {
        QFETCH(OptionalVersion, version);
        TAbout about(nullptr, QStringLiteral("prog"), version);
        QTEST(about.Label1->text(), "label1");
        QTEST(about.Label3->text(), "label3");
    }

    void designedBox()
    {
        TAbout about(nullptr, QStringLiteral("kibic"), VersionNumbers { 1, 0, 0, 7 });
        QCOMPARE(about.size(), QSize(336, 248));
        QCOMPARE(about.windowTitle(), QStringLiteral("o programie..."));
        QVERIFY(about.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!(about.windowFlags() & Qt::WindowCloseButtonHint));
        QCOMPARE(about.palette().color(QPalette::Window), QColor(0xC0, 0xCA, 0xC0));
        QCOMPARE(about.WebLabel1->text(), about.WebLabel1->URL());
        // "Pomoc:" ends before the link starts on the same line.
        QVERIFY(about.Label5->geometry().right() < about.WebLabel1->x());
        QVERIFY(about.WebLabel1->geometry().right() < about.width());
        // Both lines of the name and version fit the label.
        QVERIFY(2 * about.Label1->fontMetrics().lineSpacing() <= about.Label1->height());
    }

    void okButtonHasTheFocusAndClosesWithOk()
    {
        TAbout about(nullptr, QStringLiteral("kibic"), VersionNumbers { 1, 0, 0, 7 });
        QWidget* focus = nullptr;
        QTimer::singleShot(0, &about, [&] {
            focus = about.focusWidget();
            QTest::mouseClick(about.BitBtn1, Qt::LeftButton);
        });
        QCOMPARE(about.exec(), 1);
        QCOMPARE(focus, static_cast<QWidget*>(about.BitBtn1));
        QCOMPARE(about.BitBtn1->toolTip(), QStringLiteral("OK!"));
        QVERIFY(about.BitBtn1->text().isEmpty());
    }
};

QTEST_MAIN(TestAbout)
#include "TestAbout.moc"
