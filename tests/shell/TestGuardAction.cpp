// The edge of a user action: every failure reaches the operator as a message, nothing passes on.
#include "common/KibicError.h"
#include "shell/GuardAction.h"

#include <QTest>
#include <stdexcept>
#include <vector>

using namespace kibic;

class TestGuardAction : public QObject
{
    Q_OBJECT

private slots:
    void completedActionShowsNothing()
    {
        ScriptedOperator op;
        bool ran = false;
        QVERIFY(GuardAction(op, [&] { ran = true; }));
        QVERIFY(ran);
        QVERIFY(op.Messages.isEmpty());
    }

    void failures_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message"); // the start of the message shown
        QTest::newRow("KibicError") << 0 << "Nie można otworzyć pliku /t/cup.KNT: brak dostępu";
        QTest::newRow("std::runtime_error") << 1 << "Błąd programu: zły stan";
        QTest::newRow("range check") << 2 << "Błąd programu: ";
        QTest::newRow("something else") << 3 << "Nieznany błąd: działanie przerwano.";
    }

    void failures()
    {
        QFETCH(int, kind);
        ScriptedOperator op;
        op.SetBusyCursor(true);
        int doneBefore = 0;
        const bool completed = GuardAction(op, [&] {
            doneBefore = 1;
            op.SetBusyCursor(true);
            switch (kind) {
            case 0:
                throw KibicError(QStringLiteral("Nie można otworzyć pliku /t/cup.KNT: brak dostępu"));
            case 1:
                throw std::runtime_error("zły stan");
            case 2:
                (void)std::vector<int>(1).at(5);
                break;
            default:
                throw 42;
            }
            doneBefore = 2;
        });
        QVERIFY(!completed);
        QCOMPARE(doneBefore, 1);
        QCOMPARE(op.Messages.size(), 1);
        QFETCH(QString, message);
        QVERIFY2(op.Messages.first().startsWith(message), qPrintable(op.Messages.first()));
        QCOMPARE(op.Kinds.first(), DialogKind::Error);
        QVERIFY(!op.BusyCursor);
    }
};

QTEST_GUILESS_MAIN(TestGuardAction)
#include "TestGuardAction.moc"
