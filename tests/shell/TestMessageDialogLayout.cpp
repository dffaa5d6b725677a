// The message dialog's layout: button row, window size and centring for the masks the callers use.
#include "shell/MessageDialogLayout.h"

#include <QTest>

using namespace kibic;

Q_DECLARE_METATYPE(kibic::MessageDialogLayout)

namespace {

// Label at the designed place (68, 8), icon at top 8.
MessageDialogLayout LayOut(int labelWidth, int labelHeight, int iconHeight, int buttons)
{
    return LayOutMessageDialog(68, 8, labelWidth, labelHeight, 8, iconHeight, DialogButtons::fromInt(buttons));
}

// The place of a button in the row's tab order.
size_t Slot(DialogButton bit)
{
    for (size_t i = 0; i < MessageButtons.size(); ++i) {
        if (MessageButtons[i].Bit == bit)
            return i;
    }
    return MessageButtons.size();
}

QList<int> ShownLefts(const MessageDialogLayout& layout)
{
    QList<int> lefts;
    for (int i = 0; i < MessageButtonCount; ++i) {
        if (layout.ButtonVisible[static_cast<size_t>(i)])
            lefts.append(layout.ButtonLeft[static_cast<size_t>(i)]);
    }
    return lefts;
}

} // namespace

class TestMessageDialogLayout : public QObject
{
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<int>("labelWidth");
        QTest::addColumn<int>("labelHeight");
        QTest::addColumn<int>("iconHeight");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("top");
        QTest::addColumn<QList<int>>("lefts");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");

        // One line of 13 pixels under a 32-pixel icon: 8 + 13 + 20 = 41 is below the icon already.
        QTest::newRow("info, one line") << 200 << 13 << 32 << 4 << 41 << QList<int> { 106 } << 288 << 106;
        // A 41-pixel icon reaches 49: the row moves down in steps of 10 until it clears it.
        QTest::newRow("icon taller than the text") << 200 << 13 << 41 << 4 << 51 << QList<int> { 106 } << 288 << 116;
        QTest::newRow("three lines") << 200 << 39 << 32 << 4 << 67 << QList<int> { 106 } << 288 << 132;
        // A label wider than the row: the window is the label's right edge + 20.
        QTest::newRow("long question") << 500 << 13 << 32 << 3 << 41 << QList<int> { 216, 296 } << 588 << 106;
        // A short label and a full row: the row decides the width (430 - leftmost slot).
        QTest::newRow("all five buttons")
            << 100 << 13 << 32 << (1 | 2 | 4 | 32 | 64) << 41 << QList<int> { 14, 94, 174, 254, 334 } << 424 << 106;
        QTest::newRow("retry and ignore") << 60 << 13 << 32 << (32 | 64) << 41 << QList<int> { 14, 94 } << 184 << 106;
        QTest::newRow("no button") << 200 << 13 << 32 << 0 << 41 << QList<int> {} << 288 << 106;
        QTest::newRow("only unknown bits") << 200 << 13 << 32 << (8 | 16 | 128) << 41 << QList<int> {} << 288 << 106;
    }

    void layout()
    {
        QFETCH(int, labelWidth);
        QFETCH(int, labelHeight);
        QFETCH(int, iconHeight);
        QFETCH(int, buttons);
        QFETCH(QList<int>, lefts);

        const MessageDialogLayout layout = LayOut(labelWidth, labelHeight, iconHeight, buttons);
        QTEST(layout.ButtonTop, "top");
        QCOMPARE(ShownLefts(layout), lefts);
        QTEST(layout.WindowWidth, "width");
        QTEST(layout.WindowHeight, "height");
    }

    void buttonRowIsCentred_data()
    {
        QTest::addColumn<int>("labelWidth");
        QTest::addColumn<int>("buttons");
        QTest::newRow("OK under a short line") << 150 << 4;
        QTest::newRow("OK under a long line") << 640 << 4;
        QTest::newRow("yes and no under a long line") << 531 << 3;
        QTest::newRow("all five") << 20 << 103;
    }

    void buttonRowIsCentred()
    {
        QFETCH(int, labelWidth);
        QFETCH(int, buttons);
        const MessageDialogLayout layout = LayOut(labelWidth, 13, 32, buttons);
        const QList<int> lefts = ShownLefts(layout);
        QVERIFY(!lefts.isEmpty());
        const double rowCentre = (lefts.first() + lefts.last() + MessageDialogButtonWidth) / 2.0;
        // The window's width is its outer width; its middle and the row's middle differ by the rounding.
        QVERIFY2(qAbs(rowCentre - layout.WindowWidth / 2.0) <= 1.0,
            qPrintable(QStringLiteral("row centre %1, window width %2").arg(rowCentre).arg(layout.WindowWidth)));
        for (qsizetype i = 1; i < lefts.size(); ++i)
            QCOMPARE(lefts[i] - lefts[i - 1], 80);
    }

    void maskElevenIsMaskThree()
    {
        const MessageDialogLayout three = LayOut(260, 26, 32, 3);
        const MessageDialogLayout eleven = LayOut(260, 26, 32, 11);
        QCOMPARE(eleven.ButtonVisible, three.ButtonVisible);
        QCOMPARE(eleven.ButtonLeft, three.ButtonLeft);
        QCOMPARE(eleven.ButtonTop, three.ButtonTop);
        QCOMPARE(eleven.WindowWidth, three.WindowWidth);
        QCOMPARE(eleven.WindowHeight, three.WindowHeight);
        const size_t tak = Slot(DialogButton::Yes);
        const size_t nie = Slot(DialogButton::No);
        QVERIFY(three.ButtonVisible[tak] && three.ButtonVisible[nie] && !three.ButtonVisible[Slot(DialogButton::Ok)]);
        QVERIFY(three.ButtonLeft[tak] < three.ButtonLeft[nie]);
    }

    void hiddenButtonsMoveWithTheRow()
    {
        // Shift is what every button's design left gets, so that a hidden button keeps its place
        // relative to the row: here OK alone, with its slot at 336.
        const MessageDialogLayout layout = LayOut(200, 13, 32, 4);
        QCOMPARE(layout.ButtonLeft[Slot(DialogButton::Ok)], 336 + layout.Shift);
    }
};

QTEST_GUILESS_MAIN(TestMessageDialogLayout)
#include "TestMessageDialogLayout.moc"
