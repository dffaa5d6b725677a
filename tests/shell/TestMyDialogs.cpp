// The message dialog through its real widgets: layout, captions, results, keys and focus.
#include "support/ModalDriver.h"

#include "common/ui/FormDesign.h"
#include "shell/ui/MyDialogs.h"
#include "shell/ui/WindowOperator.h"

#include "common/KibicError.h"
#include "shell/GuardAction.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace kibic;

namespace {

// Runs act on the dialog as soon as its modal loop runs, then returns the modal result.
ModalResult RunModal(TMyDlgForm& dialog, const std::function<void(TMyDlgForm&)>& act)
{
    QTimer::singleShot(0, &dialog, [&dialog, act] {
        act(dialog);
        // A failed check inside act leaves the window open: end the modal loop all the same.
        if (dialog.isVisible())
            dialog.done(-1);
    });
    return ModalResultOf(dialog.exec());
}

// The kind and the mask as numbers, those that name no kind or button included.
std::unique_ptr<TMyDlgForm> Build(const QString& text, int kind, int buttons)
{
    return std::unique_ptr<TMyDlgForm>(
        BuildMessageDialog(text, static_cast<DialogKind>(kind), DialogButtons::fromInt(static_cast<uint>(buttons))));
}

std::unique_ptr<TMyDlgForm> Build(const QString& text, DialogKind kind, DialogButtons buttons)
{
    return std::unique_ptr<TMyDlgForm>(BuildMessageDialog(text, kind, buttons));
}

QList<QPushButton*> Shown(const TMyDlgForm& dialog)
{
    QList<QPushButton*> shown;
    for (QPushButton* button : dialog.Buttons()) {
        if (!button->isHidden())
            shown.append(button);
    }
    return shown;
}

} // namespace

class TestMyDialogs : public QObject
{
    Q_OBJECT

private slots:
    void oneLineInformation()
    {
        const auto dialog
            = Build(QStringLiteral("Czuwanie uruchom teraz ręcznie."), DialogKind::Info, DialogButton::Ok);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("INFO!"));
        QCOMPARE(dialog->Image1->pixmap().size(), QSize(32, 32));
        QCOMPARE(dialog->Image1->height(), 32);
        QCOMPARE(dialog->Label1->height(), 13); // one line of the 8-point dialog font
        QCOMPARE(Shown(*dialog), QList<QPushButton*> { dialog->BitBtn3 });
        QCOMPARE(dialog->BitBtn3->y(), 41);
        QCOMPARE(OuterSize(*dialog, FrameKind::Dialog).height(), 106);
        const int outerWidth = OuterSize(*dialog, FrameKind::Dialog).width();
        QCOMPARE(outerWidth, dialog->Label1->geometry().right() + 1 + 20);
        QVERIFY(qAbs(dialog->BitBtn3->x() + 37.5 - outerWidth / 2.0) <= 1.0);
        for (QLabel* caption : { dialog->Label2, dialog->Label3, dialog->Label4, dialog->Label5 })
            QVERIFY(caption->isHidden());
    }

    void longMessageWidensTheWindow()
    {
        const QString text = QStringLiteral(
            "Plik C:\\ZyRT\\Turnieje\\Mistrzostwa Okręgu 2024 - runda finałowa.bws istnieje.\nNadpisać?");
        const auto dialog = Build(text, DialogKind::Confirm, YesNoQuestion);
        QCOMPARE(dialog->Label1->height(), 26);
        QVERIFY(dialog->Label1->width() > 2 * 75 + 5);
        const QSize outer = OuterSize(*dialog, FrameKind::Dialog);
        QCOMPARE(outer.width(), dialog->Label1->geometry().right() + 1 + 20);
        QCOMPARE(dialog->BitBtn1->y(), 8 + 26 + 20);
        QCOMPARE(dialog->BitBtn2->x() - dialog->BitBtn1->x(), 80);
        const double rowCentre = (dialog->BitBtn1->x() + dialog->BitBtn2->x() + 75) / 2.0;
        QVERIFY(qAbs(rowCentre - outer.width() / 2.0) <= 1.0);
    }

    void masksThreeAndElevenAreIdentical()
    {
        const QString text = QStringLiteral("Czy to jest barometr (na dochodzenie lub duży Howell)?");
        const auto three = Build(text, 3, 3);
        const auto eleven = Build(text, 3, 11);
        QCOMPARE(eleven->size(), three->size());
        const auto buttonsOfThree = three->Buttons();
        const auto buttonsOfEleven = eleven->Buttons();
        for (size_t i = 0; i < buttonsOfThree.size(); ++i) {
            QCOMPARE(buttonsOfEleven[i]->isHidden(), buttonsOfThree[i]->isHidden());
            if (!buttonsOfThree[i]->isHidden())
                QCOMPARE(buttonsOfEleven[i]->geometry(), buttonsOfThree[i]->geometry());
        }
        QCOMPARE(Shown(*three), (QList<QPushButton*> { three->BitBtn1, three->BitBtn2 }));
        QCOMPARE(three->BitBtn1->text(), QStringLiteral("&Tak"));
        QCOMPARE(three->BitBtn2->text(), QStringLiteral("&Nie"));
    }

    void captions_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("icon");
        QTest::newRow("0") << 0 << "UWAGA!" << true;
        QTest::newRow("1") << 1 << "BŁĄD!" << true;
        QTest::newRow("2") << 2 << "INFO!" << true;
        QTest::newRow("3") << 3 << "POTWIERDŻ!" << true;
        QTest::newRow("4 is the application's title") << 4 << QGuiApplication::applicationDisplayName() << true;
        QTest::newRow("5") << 5 << "MyDlgForm" << false;
        QTest::newRow("-1") << -1 << "MyDlgForm" << false;
    }

    void captions()
    {
        QFETCH(int, kind);
        QFETCH(bool, icon);
        const auto dialog = Build(QStringLiteral("Tekst"), kind, 4);
        QTEST(dialog->windowTitle(), "caption");
        QCOMPARE(!dialog->Image1->pixmap().isNull(), icon);
    }

    void results_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("action"); // a button's text, "close", "Esc" or "Enter"
        QTest::addColumn<int>("result"); // the modal result's number
        QTest::newRow("Tak") << 3 << "&Tak" << 6;
        QTest::newRow("Nie") << 3 << "&Nie" << 7;
        QTest::newRow("close box") << 3 << "close" << 2;
        QTest::newRow("Esc acts as Nie") << 11 << "Esc" << 7;
        QTest::newRow("Esc without Nie is the close box") << 4 << "Esc" << 2;
        QTest::newRow("Esc with Tak alone") << 1 << "Esc" << 2;
        QTest::newRow("OK") << 4 << "OK" << 1;
        QTest::newRow("Popraw") << 96 << "&Popraw" << 4;
        QTest::newRow("Ignoruj") << 96 << "&Ignoruj" << 5;
        QTest::newRow("Enter presses the first shown button") << 3 << "Enter" << 6;
        QTest::newRow("Enter on OK") << 36 << "Enter" << 1;
        QTest::newRow("no button: only the close box") << 0 << "close" << 2;
    }

    void results()
    {
        QFETCH(int, buttons);
        QFETCH(QString, action);
        const auto dialog = Build(QStringLiteral("Pytanie?"), 3, buttons);
        const ModalResult result = RunModal(*dialog, [action](TMyDlgForm& shown) {
            if (action == QStringLiteral("close")) {
                shown.close();
            } else if (action == QStringLiteral("Esc")) {
                QTest::keyClick(&shown, Qt::Key_Escape);
            } else if (action == QStringLiteral("Enter")) {
                QVERIFY(shown.focusWidget() != nullptr);
                QTest::keyClick(shown.focusWidget(), Qt::Key_Return);
            } else {
                for (QPushButton* button : shown.Buttons()) {
                    if (button->text() == action)
                        QTest::mouseClick(button, Qt::LeftButton);
                }
            }
        });
        QTEST(ModalCode(result), "result");
    }

    void firstShownButtonHasTheFocus_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("focused"); // in tab order, "&Tak" first
        QTest::newRow("Tak and Nie") << 3 << 0;
        QTest::newRow("Nie alone") << 2 << 1;
        QTest::newRow("OK and Popraw") << 36 << 2;
        QTest::newRow("Ignoruj alone") << 64 << 4;
    }

    void firstShownButtonHasTheFocus()
    {
        QFETCH(int, buttons);
        QFETCH(int, focused);
        const auto dialog = Build(QStringLiteral("Tekst"), 3, buttons);
        QWidget* focus = nullptr;
        bool isDefault = true;
        RunModal(*dialog, [&focus, &isDefault](TMyDlgForm& shown) {
            focus = shown.focusWidget();
            isDefault = false;
            for (QPushButton* button : shown.Buttons())
                isDefault = isDefault || (button != shown.focusWidget() && button->isDefault());
            shown.close();
        });
        QCOMPARE(focus, dialog->Buttons()[static_cast<size_t>(focused)]);
        QVERIFY2(!isDefault, "a button other than the focused one is the default");
    }

    void tabOrderFollowsTheButtons()
    {
        const auto dialog = Build(QStringLiteral("Tekst"), 3, 1 | 2 | 4 | 32 | 64);
        const auto buttons = dialog->Buttons();
        for (size_t i = 0; i + 1 < buttons.size(); ++i)
            QCOMPARE(buttons[i]->nextInFocusChain(), static_cast<QWidget*>(buttons[i + 1]));
    }

    // The designed outer size holds with the frame the window system gives the dialog once it is
    // shown, and the dialog stays in the centre of the screen.
    void outerSizeHoldsOnceShown_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("buttons");
        QTest::newRow("one line") << QStringLiteral("Czuwanie uruchom teraz ręcznie.") << 4;
        QTest::newRow("question of two lines") << QStringLiteral("plik.LUC istnieje.\nNadpisać?") << 3;
    }

    void outerSizeHoldsOnceShown()
    {
        QFETCH(QString, text);
        QFETCH(int, buttons);
        const auto dialog = Build(text, 2, buttons);
        const QSize designed = OuterSize(*dialog, FrameKind::Dialog);
        CentreOnScreen(*dialog, FrameKind::Dialog);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QTRY_COMPARE(OuterSize(*dialog, FrameKind::Dialog), designed);
        const QRect area = dialog->screen()->availableGeometry();
        const QRect outer = dialog->frameGeometry();
        QVERIFY2(qAbs(outer.center().x() - area.center().x()) <= 1, qPrintable(QString::number(outer.center().x())));
        QVERIFY2(qAbs(outer.center().y() - area.center().y()) <= 1, qPrintable(QString::number(outer.center().y())));
    }

    void showMessageDialogReturnsTheButton()
    {
        test::ModalDriver driver;
        driver.Then([](QWidget* modal) {
            auto* dialog = qobject_cast<TMyDlgForm*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->Label1->text(), QStringLiteral("plik.LUC istnieje.\nNadpisać?"));
            QTest::mouseClick(dialog->BitBtn2, Qt::LeftButton);
        });
        QCOMPARE(ShowMessageDialog(QStringLiteral("plik.LUC istnieje.\nNadpisać?"), DialogKind::Confirm, YesNoQuestion),
            ModalResult::No);
        QVERIFY(driver.Finished());
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY2(qobject_cast<TMyDlgForm*>(window) == nullptr, "the dialog outlived ShowMessageDialog");
    }

    // Enter answers a question with the button in focus: "&Nie" for a database that holds results from the
    // tables, "&Tak" for any other overwrite.
    void enterAnswersWithTheFocusedButton_data()
    {
        QTest::addColumn<Question>("question");
        QTest::addColumn<ModalResult>("answer");
        QTest::newRow("database with results") << Question::OverwriteResults << ModalResult::No;
        QTest::newRow("other file") << Question::Overwrite << ModalResult::Yes;
    }

    void enterAnswersWithTheFocusedButton()
    {
        QFETCH(Question, question);
        QFETCH(ModalResult, answer);
        WindowOperator op;
        test::ModalDriver driver;
        driver.Then([](QWidget* modal) {
            QVERIFY(qobject_cast<TMyDlgForm*>(modal) != nullptr);
            QTest::keyClick(modal, Qt::Key_Return);
        });
        QCOMPARE(op.Ask(question, QStringLiteral("/t/cup.bws istnieje.\nNadpisać?")), answer);
        QVERIFY(driver.Finished());
    }

    // Only texts are kept from the box: it is released when it closes.
    void windowOperatorShowsErrorsInTheErrorBox()
    {
        WindowOperator op;
        QString caption;
        QString text;
        QStringList buttons;
        test::ModalDriver driver;
        driver.Then([&](QWidget* modal) {
            auto* dialog = qobject_cast<TMyDlgForm*>(modal);
            QVERIFY(dialog != nullptr);
            caption = dialog->windowTitle();
            text = dialog->Label1->text();
            for (const QPushButton* button : Shown(*dialog))
                buttons.append(button->text());
            QTest::mouseClick(dialog->BitBtn3, Qt::LeftButton);
        });
        QVERIFY(!GuardAction(op, [] { throw KibicError(QStringLiteral("Nie można otworzyć pliku /t/cup.KNT")); }));
        QVERIFY(driver.Finished());
        QCOMPARE(caption, QStringLiteral("BŁĄD!"));
        QCOMPARE(text, QStringLiteral("Nie można otworzyć pliku /t/cup.KNT"));
        QCOMPARE(buttons, QStringList { QStringLiteral("OK") });
    }

    void windowOperatorBusyCursor()
    {
        WindowOperator op;
        op.SetBusyCursor(true);
        QVERIFY(QApplication::overrideCursor() != nullptr);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        op.SetBusyCursor(true);
        op.SetBusyCursor(false);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(TestMyDialogs)
#include "TestMyDialogs.moc"
