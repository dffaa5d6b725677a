// TWebLabel: a press and a release on the label open its address; a release elsewhere does not.
#include "shell/ui/WebLabel.h"

#include <QTest>

using namespace kibic;

class TestWebLabel : public QObject
{
    Q_OBJECT

private:
    // A label with three distinct colours that records what it would open.
    struct Fixture
    {
        TWebLabel Label;
        QStringList Opened;

        Fixture()
        {
            Label.setText(QStringLiteral("pomoc kibica"));
            Label.SetURL(QStringLiteral("https://kibic.example.org/pomoc"));
            Label.SetColorNormal(Qt::darkGreen);
            Label.SetColorMoveOver(Qt::blue);
            Label.SetColorClick(Qt::red);
            Label.SetOpener([this](const QString& target) {
                Opened.append(target);
                return 42;
            });
            Label.resize(120, 16);
            Label.show();
        }
    };

private slots:
    void newLabel()
    {
        TWebLabel label;
        QCOMPARE(label.text(), QStringLiteral("Kliknij!"));
        QVERIFY(label.font().underline());
        QCOMPARE(label.FontColor(), QColor(Qt::blue));
        QVERIFY(!label.URL().isEmpty());
    }

    void pressAndRelease_data()
    {
        QTest::addColumn<QPoint>("release");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("inside") << QPoint(60, 8) << true << QColor(Qt::blue);
        QTest::newRow("right edge is inside") << QPoint(120, 16) << true << QColor(Qt::blue);
        QTest::newRow("left of the label") << QPoint(-1, 8) << false << QColor(Qt::darkGreen);
        QTest::newRow("above the label") << QPoint(60, -3) << false << QColor(Qt::darkGreen);
        QTest::newRow("right of the label") << QPoint(121, 8) << false << QColor(Qt::darkGreen);
        QTest::newRow("below the label") << QPoint(60, 40) << false << QColor(Qt::darkGreen);
    }

    void pressAndRelease()
    {
        QFETCH(QPoint, release);
        QFETCH(bool, opens);
        Fixture fixture;
        QTest::mousePress(&fixture.Label, Qt::LeftButton, {}, QPoint(10, 8));
        QCOMPARE(fixture.Label.FontColor(), QColor(Qt::red));
        QTest::mouseMove(&fixture.Label, release);
        QTest::mouseRelease(&fixture.Label, Qt::LeftButton, {}, release);
        QCOMPARE(
            fixture.Opened, opens ? QStringList { QStringLiteral("https://kibic.example.org/pomoc") } : QStringList());
        QTEST(fixture.Label.FontColor(), "colour");

        // Pressed is over after the release: a second release alone opens nothing.
        QTest::mouseRelease(&fixture.Label, Qt::LeftButton, {}, QPoint(60, 8));
        QCOMPARE(fixture.Opened.size(), opens ? 1 : 0);
    }

    void emptyUrlOpensTheCaption()
    {
        Fixture fixture;
        fixture.Label.SetURL(QString());
        QTest::mouseClick(&fixture.Label, Qt::LeftButton, {}, QPoint(30, 8));
        QCOMPARE(fixture.Opened, QStringList { QStringLiteral("pomoc kibica") });
    }

    void enteringWhilePressedShowsTheClickColour()
    {
        Fixture fixture;
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(&fixture.Label, &enter);
        QCOMPARE(fixture.Label.FontColor(), QColor(Qt::blue));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&fixture.Label, &leave);
        QCOMPARE(fixture.Label.FontColor(), QColor(Qt::darkGreen));

        QTest::mousePress(&fixture.Label, Qt::LeftButton, {}, QPoint(10, 8));
        QApplication::sendEvent(&fixture.Label, &leave);
        QCOMPARE(fixture.Label.FontColor(), QColor(Qt::darkGreen));
        QApplication::sendEvent(&fixture.Label, &enter);
        QCOMPARE(fixture.Label.FontColor(), QColor(Qt::red));
    }
};

QTEST_MAIN(TestWebLabel)
#include "TestWebLabel.moc"
