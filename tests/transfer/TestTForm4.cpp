// The correction window driven through its widgets: typing a contract, OK, and entering the tricks list.
#include "transfer/ui/TForm4.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace kibic;

namespace {

QStringList Items(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->itemText(i));
    return items;
}

} // namespace

class TestTForm4 : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TForm4> m_form;

    // A record as the marks fill it: four spades doubled by North, heart ten led, one overtrick.
    void ShowTypicalRecord()
    {
        m_form = std::make_unique<TForm4>();
        ScoreCorrection record;
        record.RoundCaption = QStringLiteral("Runda 2");
        record.TableCaption = QStringLiteral("Stół A3(5-12)");
        record.BoardCaption = QStringLiteral("Rozdanie 5");
        record.Contract = QStringLiteral("4 S x");
        record.Declarer = QStringLiteral("N");
        record.LeadCard = QStringLiteral("H10");
        record.Tricks = QStringLiteral("+1");
        record.WrongLines = true;
        m_form->Fill(record);
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void TypeContract(const QString& text)
    {
        m_form->CBn->setFocus();
        m_form->CBn->lineEdit()->selectAll();
        QTest::keyClick(m_form->CBn->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(m_form->CBn->lineEdit(), text);
    }

    void ClickOk() { QTest::mouseClick(m_form->BitBtn1, Qt::LeftButton); }

    bool ClosedWithOk() const { return !m_form->isVisible() && m_form->result() == QDialog::Accepted; }

private slots:
    void cleanup() { m_form.reset(); }

    void windowAsDesigned()
    {
        ShowTypicalRecord();
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Popraw w pierniczku"));
        QCOMPARE(m_form->size(), QSize(199, 210));
        QCOMPARE(m_form->LabelS->text(), QStringLiteral("Stół A3(5-12)"));
        QCOMPARE(Items(m_form->CBn),
            (QStringList { QStringLiteral("PASS"), QStringLiteral("2 C"), QStringLiteral("3 NT x"),
                QStringLiteral("4 S xx"), QStringLiteral("35%-60%") }));
        QCOMPARE(m_form->CBw->count(), 52);
        QCOMPARE(m_form->CBl->count(), 20);
        QVERIFY(m_form->CBn->hasFocus());
        // Tab order: contract, declarer, lead card, tricks, "złe linie", OK, Cancel.
        const QList<QWidget*> order = { m_form->CBr, m_form->CBw, m_form->CBl, m_form->CheckBox1, m_form->BitBtn1,
            m_form->BitBtn2, m_form->CBn };
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget() == next || QApplication::focusWidget()->focusProxy() == next
                    || next->isAncestorOf(QApplication::focusWidget()),
                true);
        }
    }

    void filledRecordIsReadBack()
    {
        ShowTypicalRecord();
        const ScoreCorrection shown = m_form->Correction();
        QCOMPARE(shown.Contract, QStringLiteral("4 S x"));
        QCOMPARE(shown.Declarer, QStringLiteral("N"));
        QCOMPARE(shown.LeadCard, QStringLiteral("H10"));
        QCOMPARE(shown.Tricks, QStringLiteral("+1"));
        QVERIFY(shown.WrongLines);
        // Items are chosen by exact text: a lead card in other letters selects nothing.
        ScoreCorrection other = shown;
        other.LeadCard = QStringLiteral("h10");
        other.Declarer = QStringLiteral("NS");
        m_form->Fill(other);
        QCOMPARE(m_form->CBw->currentIndex(), -1);
        QCOMPARE(m_form->CBr->currentIndex(), -1);
    }

    void okNormalisesAContract_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("3 nt X") << "3 nt X"
                                << "3 NT x";
        QTest::newRow("4 S X") << "4 S X"
                               << "4 S x";
        QTest::newRow("4 s xx") << "4 s xx"
                                << "4 S xx";
    }

    void okNormalisesAContract()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        ShowTypicalRecord();
        TypeContract(typed);
        ClickOk();
        QVERIFY(ClosedWithOk());
        const ScoreCorrection accepted = m_form->Correction();
        QCOMPARE(accepted.Contract, shown);
        QCOMPARE(accepted.Declarer, QStringLiteral("N"));
        QCOMPARE(accepted.Tricks, QStringLiteral("+1"));
        QVERIFY(accepted.WrongLines);
    }

    void passClearsTheLists()
    {
        ShowTypicalRecord();
        TypeContract(QStringLiteral("pass"));
        ClickOk();
        QVERIFY(ClosedWithOk());
        const ScoreCorrection accepted = m_form->Correction();
        QCOMPARE(accepted.Contract, QStringLiteral("PASS"));
        QCOMPARE(accepted.Declarer, QString());
        QCOMPARE(accepted.LeadCard, QString());
        QCOMPARE(accepted.Tricks, QString());
    }

    void splitScoreClearsEverythingElse()
    {
        ShowTypicalRecord();
        TypeContract(QStringLiteral("40 % - 60 %"));
        ClickOk();
        QVERIFY(ClosedWithOk());
        const ScoreCorrection accepted = m_form->Correction();
        QCOMPARE(accepted.Contract, QStringLiteral("40%-60%"));
        QCOMPARE(accepted.Declarer, QString());
        QCOMPARE(accepted.LeadCard, QString());
        QCOMPARE(accepted.Tricks, QString());
        QVERIFY(!accepted.WrongLines);
    }

    void wrongTextKeepsTheWindowOpen_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("second percent missing") << "45%-60"
                                                << "45%-60";
        QTest::newRow("triple x") << "4 S xxx"
                                  << "4 S xxx";
        QTest::newRow("no space") << "4S"
                                  << "4S";
        QTest::newRow("empty") << ""
                               << "";
    }

    void wrongTextKeepsTheWindowOpen()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        ShowTypicalRecord();
        TypeContract(typed);
        ClickOk();
        QVERIFY(m_form->isVisible());
        QCOMPARE(m_form->result(), int(QDialog::Rejected));
        QCOMPARE(m_form->CBn->currentText(), shown);
        QVERIFY(m_form->CBn->hasFocus());
    }

    void returnInTheContractIsOk()
    {
        ShowTypicalRecord();
        TypeContract(QStringLiteral("2 c"));
        QTest::keyClick(m_form->CBn->lineEdit(), Qt::Key_Return);
        QVERIFY(ClosedWithOk());
        QCOMPARE(m_form->CBn->currentText(), QStringLiteral("2 C"));
        QCOMPARE(m_form->CBn->count(), 5);
    }

    void cancelKeepsTheRecord()
    {
        ShowTypicalRecord();
        TypeContract(QStringLiteral("4 S xxx"));
        QTest::mouseClick(m_form->BitBtn2, Qt::LeftButton);
        QVERIFY(!m_form->isVisible());
        QCOMPARE(m_form->result(), int(QDialog::Rejected));
    }

    // Entering the tricks list keeps "+2" for four spades doubled and drops it for six spades.
    void enteringTheTricksList()
    {
        ShowTypicalRecord();
        m_form->CBl->setCurrentIndex(m_form->CBl->findText(QStringLiteral("+2")));
        TypeContract(QStringLiteral("4 S x"));
        QTest::keyClick(m_form->CBn->lineEdit(), Qt::Key_Tab); // declarer
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // lead card
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // tricks
        QVERIFY(m_form->CBl->hasFocus());
        QCOMPARE(m_form->CBl->currentText(), QStringLiteral("+2"));
        QCOMPARE(m_form->CBl->count(), 14);

        TypeContract(QStringLiteral("6 S"));
        m_form->CBl->setFocus(Qt::TabFocusReason);
        QCOMPARE(m_form->CBl->currentIndex(), -1);
        QCOMPARE(Items(m_form->CBl).first(), QStringLiteral("="));
        QCOMPARE(Items(m_form->CBl).last(), QStringLiteral("-12"));
        QVERIFY(!Items(m_form->CBl).contains(QStringLiteral("+2")));
    }

    void tricksListFollowsTheLevel_data()
    {
        QTest::addColumn<QString>("contract");
        QTest::addColumn<QStringList>("items");
        QStringList levelSeven = { QStringLiteral("=") };
        for (int i = 1; i <= 13; ++i)
            levelSeven.append(QStringLiteral("-%1").arg(i));
        QTest::newRow("level 1") << "1 NT"
                                 << (QStringList { QStringLiteral("="), QStringLiteral("+1"), QStringLiteral("-1"),
                                        QStringLiteral("+2"), QStringLiteral("-2"), QStringLiteral("+3"),
                                        QStringLiteral("-3"), QStringLiteral("+4"), QStringLiteral("-4"),
                                        QStringLiteral("+5"), QStringLiteral("-5"), QStringLiteral("+6"),
                                        QStringLiteral("-6"), QStringLiteral("-7") });
        QTest::newRow("level 7") << "7 C" << levelSeven;
        QTest::newRow("empty contract") << "" << QStringList();
        QTest::newRow("PASS") << "PASS" << QStringList();
    }

    void tricksListFollowsTheLevel()
    {
        QFETCH(QString, contract);
        QFETCH(QStringList, items);
        ShowTypicalRecord();
        TypeContract(contract);
        m_form->CBl->setFocus(Qt::MouseFocusReason);
        QCOMPARE(Items(m_form->CBl), items);
    }
};

QTEST_MAIN(TestTForm4)
#include "TestTForm4.moc"
