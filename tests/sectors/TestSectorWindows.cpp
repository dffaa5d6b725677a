// TForm2 and the pattern editor TfrmNietyp, driven through their widgets.
#include "support/ModalDriver.h"
#include "SectorModels.h"

#include "common/ui/FormDesign.h"
#include "sectors/PatternFile.h"
#include "sectors/ui/TForm2.h"
#include "sectors/ui/TfrmNietyp.h"
#include "sectors/ui/WindowSectorOperator.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;
using namespace kibic::test;

namespace {

TfrmNietyp* Editor(QWidget* modal)
{
    auto* form = qobject_cast<TfrmNietyp*>(modal);
    if (form == nullptr)
        qWarning("the modal window is %s, not the pattern editor", modal->metaObject()->className());
    return form;
}

// Types text into a cell as the operator does: select the cell, type (the first key opens the cell's
// editor), Enter.
void TypeIntoCell(TfrmNietyp* form, int row, PatternColumn column, const QString& text)
{
    QTableWidget* grid = form->StringGrid1;
    grid->setCurrentCell(row - 1, static_cast<int>(column));
    grid->setFocus();
    QTest::keyClick(grid, text.at(0).toLatin1());
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    if (editor == nullptr)
        return; // a fixed cell: nothing opens
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    // The cell's editor hands its text over and closes from the event loop.
    QCoreApplication::processEvents();
}

void Click(QPushButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// Types table i and round b into every row of the page shown.
void StatePage(TfrmNietyp* form)
{
    const int b = form->Label1->text().mid(4).toInt();
    for (int row = 1; row <= form->StringGrid1->rowCount(); ++row) {
        TypeIntoCell(form, row, PatternColumn::Table, QString::number(row));
        TypeIntoCell(form, row, PatternColumn::Round, QString::number(b));
    }
}

QStringList Column(TfrmNietyp* form, PatternColumn column)
{
    QStringList texts;
    for (int row = 1; row <= form->StringGrid1->rowCount(); ++row)
        texts.append(form->Cells(static_cast<int>(column), row));
    return texts;
}

} // namespace

class TestSectorWindows : public QObject
{
    Q_OBJECT

private slots:
    void form2Texts()
    {
        TForm2 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Sektor nietypowy"));
        QCOMPARE(form.Label1->text(),
            QStringLiteral("W tym turnieju jest sektor nietypowy. Dane ZyRTa nie pozwalają na łatwe utworzenie "
                           "danych dla pierniczków. Potrzebna jest Twoja pomoc. Wybierz z jakim sektorem "
                           "nietypowym mamy do czynienia:"));
        QVERIFY(form.Label1->font().bold());
        QCOMPARE(form.RadioButton1->text(), QStringLiteral("Jeden zbiornicowy sektor Howella, bez sprzężeń"));
        QCOMPARE(form.RadioButton2->text(), QStringLiteral("Jeden sektor dużego Howella, zapis przy numerze stołu"));
        QCOMPARE(form.RadioButton3->text(), QStringLiteral("Barometr na dochodzenie, zapis przy numerze stołu"));
        QCOMPARE(form.RadioButton4->text(), QStringLiteral("Coś innego"));
    }

    void form2Choice_data()
    {
        QTest::addColumn<int>("button"); // 0 = the close box
        QTest::addColumn<int>("expected"); // the kind's number; 0 when the window closed without a choice
        QTest::newRow("RadioButton1") << 1 << 501;
        QTest::newRow("RadioButton2") << 2 << 502;
        QTest::newRow("RadioButton4") << 4 << 504;
        QTest::newRow("disabled RadioButton3, then the close box") << 3 << 0;
        QTest::newRow("close box") << 0 << 0;
    }

    // Through the window operator: TForm2 with the kinds the tournament allows (here no barometer).
    void form2Choice()
    {
        QFETCH(int, button);
        QFETCH(int, expected);
        RecordingOperator messages;
        WindowSectorOperator sectors(nullptr, QString(), messages);
        SectorKindChoice choice;
        choice.Enabled = { true, true, false, true };
        driver().Then([button](QWidget* modal) {
            auto* form = qobject_cast<TForm2*>(modal);
            QVERIFY(form);
            QVERIFY(!form->RadioButton3->isEnabled());
            QVERIFY(form->RadioButton1->isEnabled());
            if (button == 0) {
                form->close();
                return;
            }
            const std::array radios
                = { form->RadioButton1, form->RadioButton2, form->RadioButton3, form->RadioButton4 };
            QRadioButton* radio = radios[static_cast<size_t>(button - 1)];
            QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
            if (form->isVisible())
                form->close();
        });

        const std::optional<SectorKind> kind = sectors.ChooseSectorKind(choice);
        QCOMPARE(kind ? static_cast<int>(*kind) : 0, expected);
        QVERIFY(driver().Finished());
        QVERIFY(driver().Unexpected.isEmpty());
    }

    void gridSize_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("22 rows fit") << 22 << 440 << 167 << false;
        QTest::newRow("23 rows scroll") << 23 << 440 << 183 << true;
    }

    void gridSize()
    {
        QFETCH(int, n);
        QFETCH(int, height);
        QFETCH(int, width);
        QFETCH(bool, scrolls);
        SectorTournament t = MakeSectorTournament(n + 3, n);
        RecordingOperator messages;
        TfrmNietyp form(QString(), messages);
        driver().Then([&](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QVERIFY(f);
            QCOMPARE(f->StringGrid1->rowCount() + 1, n + 1); // the header is row 0
            QCOMPARE(f->StringGrid1->height(), height);
            QCOMPARE(f->StringGrid1->width(), width);
            // The window, with the frame the window system gave it.
            QTRY_COMPARE(OuterSize(*f, FrameKind::Sizeable).height(), height + 100);
            QCOMPARE(f->StringGrid1->height(), height);
            QCOMPARE(
                f->StringGrid1->verticalScrollBarPolicy(), scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
            // Every column fits; the rows fit exactly when there is no scroll bar.
            QVERIFY(f->StringGrid1->viewport()->width() >= PatternColumnCount * (PatternDefaultColWidth + 1));
            const int visibleRows = f->StringGrid1->viewport()->height() / (PatternRowHeight + 1) + 1;
            QCOMPARE(visibleRows, std::min(n + 1, PatternVisibleRows));
            QCOMPARE(f->StringGrid1->verticalScrollBar()->maximum() > 0, scrolls);
            Click(f->BitBtn4);
        });

        QVERIFY(!form.EditSectorPattern(t.Model, n, 0));
        QVERIFY(driver().Finished());
    }

    void pagesAndNavigation()
    {
        SectorTournament t = MakeSectorTournament(3, 2, 1, 3);
        t.SetRow(2, 1, 107, 112);
        t.SetTableRound(2, 1, 2, 0);
        RecordingOperator messages;
        TfrmNietyp form(QString(), messages);
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QCOMPARE(f->windowTitle(), QStringLiteral("Sektor nietypowy - sprawdzenie"));
            QCOMPARE(f->Label1->text(), QStringLiteral("Kpl.1"));
            QCOMPARE(f->Label2->text(), QStringLiteral("21-22"));
            QVERIFY(!f->BitBtn1->isEnabled());
            QVERIFY(f->BitBtn2->isEnabled());
            QCOMPARE(f->StringGrid1->currentRow() + 1, 1);
            QCOMPARE(f->StringGrid1->currentColumn(), int(PatternColumn::Table));
            QCOMPARE(f->BitBtn5->toolTip(), QStringLiteral("Użyj wzorca"));
            QCOMPARE(f->BitBtn6->toolTip(), QStringLiteral("Zapisz jako wzorzec"));
            QCOMPARE(f->pomocCB->text(), QStringLiteral("Pomagaj"));
            QVERIFY(!f->pomocCB->isChecked());
            Click(f->BitBtn2);
        });
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QCOMPARE(f->Label1->text(), QStringLiteral("Kpl.2"));
            QCOMPARE(f->Label2->text(), QStringLiteral("23-24"));
            QVERIFY(f->BitBtn1->isEnabled());
            QVERIFY(f->BitBtn2->isEnabled());
            const QStringList row1 = { f->Cells(0, 1), f->Cells(1, 1), f->Cells(2, 1), f->Cells(3, 1) };
            QCOMPARE(row1,
                (QStringList { QStringLiteral("  107"), QStringLiteral("  112"), QStringLiteral("2"), QString() }));
            const QStringList header = { f->Cells(0, 0), f->Cells(1, 0), f->Cells(2, 0), f->Cells(3, 0) };
            QCOMPARE(header,
                (QStringList { QStringLiteral("  NS"), QStringLiteral("  EW"), QStringLiteral("stolik"),
                    QStringLiteral("runda") }));
            // The fixed columns cannot be typed into.
            TypeIntoCell(f, 1, PatternColumn::NS, QStringLiteral("5"));
            QCOMPARE(f->Cells(0, 1), QStringLiteral("  107"));
            Click(f->BitBtn2);
        });
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QCOMPARE(f->Label1->text(), QStringLiteral("Kpl.3"));
            QVERIFY(f->BitBtn1->isEnabled());
            QVERIFY(!f->BitBtn2->isEnabled());
            Click(f->BitBtn1);
        });
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QCOMPARE(f->Label1->text(), QStringLiteral("Kpl.2"));
            Click(f->BitBtn4);
        });

        QVERIFY(!form.EditSectorPattern(t.Model, 2, 3));
        QVERIFY(driver().Finished());
        QVERIFY(driver().Unexpected.isEmpty());
    }

    void oneBoardSet()
    {
        SectorTournament t = MakeSectorTournament(1, 2, 0, 0, false);
        RecordingOperator messages;
        TfrmNietyp form(QString(), messages);
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QVERIFY(!f->BitBtn1->isEnabled());
            QVERIFY(!f->BitBtn2->isEnabled());
            QCOMPARE(f->Cells(0, 0), QStringLiteral("  N"));
            QCOMPARE(f->Cells(1, 0), QStringLiteral("  E"));
            StatePage(f);
            Click(f->BitBtn3);
        });

        QVERIFY(form.EditSectorPattern(t.Model, 2, 0));
        const std::vector<std::vector<std::pair<qint32, qint32>>> expected = { { { 1, 1 }, { 2, 1 } } };
        QCOMPARE(t.TablesAndRounds(), expected);
    }

    void help()
    {
        SectorTournament t = MakeSectorTournament(7, 5);
        RecordingOperator messages;
        TfrmNietyp form(QString(), messages);
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            // Without the help typing fills nothing.
            TypeIntoCell(f, 1, PatternColumn::Table, QStringLiteral("4"));
            QCOMPARE(f->Cells(2, 2), QString());
            QTest::mouseClick(f->pomocCB, Qt::LeftButton, {}, QPoint(6, f->pomocCB->height() / 2));
            QVERIFY(f->pomocCB->isChecked());
            TypeIntoCell(f, 1, PatternColumn::Table, QStringLiteral("2"));
            QCOMPARE(Column(f, PatternColumn::Table),
                (QStringList { QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("4"),
                    QStringLiteral("3") }));
            TypeIntoCell(f, 2, PatternColumn::Round, QStringLiteral("6"));
            QCOMPARE(Column(f, PatternColumn::Round),
                (QStringList {
                    QString(), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("1"), QStringLiteral("2") }));
            // A two-digit number numbers the rows from what was typed last.
            TypeIntoCell(f, 1, PatternColumn::Round, QStringLiteral("12"));
            QCOMPARE(Column(f, PatternColumn::Round),
                (QStringList { QStringLiteral("12"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                    QStringLiteral("4") }));
            Click(f->BitBtn2);
        });
        // The page of board set 2 shows the model's values even with the help on.
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QVERIFY(f->pomocCB->isChecked());
            QCOMPARE(Column(f, PatternColumn::Table),
                (QStringList { QStringLiteral("3"), QStringLiteral("3"), QString(), QString(), QString() }));
            Click(f->BitBtn4);
        });

        t.SetTableRound(2, 1, 3, 0);
        t.SetTableRound(2, 2, 3, 0);
        QVERIFY(!form.EditSectorPattern(t.Model, 5, 0));
        QVERIFY(driver().Finished());
        // The page left with "next" was stored.
        QCOMPARE(t.Row(1, 3).Table, 5);
        QCOMPARE(t.Row(1, 1).Round, 12);
    }

    void oneEmptyCellFails()
    {
        SectorTournament t = MakeSectorTournament(2, 2);
        RecordingOperator messages;
        TfrmNietyp form(QString(), messages);
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            StatePage(f);
            Click(f->BitBtn2);
        });
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            StatePage(f);
            TypeIntoCell(f, 2, PatternColumn::Round, QStringLiteral("x"));
            Click(f->BitBtn3);
        });

        QVERIFY(!form.EditSectorPattern(t.Model, 2, 0));
        QVERIFY(driver().Finished());
        QCOMPARE(t.Row(2, 2).Round, 0);
        QCOMPARE(t.Row(2, 1).Round, 2);
        QVERIFY(messages.Messages.empty());
    }

    // A table outside the sector and "OK": the message, then the editor again on that board set with what
    // was typed, the cursor on the row at fault; put right, "OK" accepts.
    void tableOutsideTheSectorKeepsTheEditorOpen()
    {
        SectorTournament t = MakeSectorTournament(2, 4);
        RecordingOperator messages;
        TfrmNietyp form(QString(), messages);
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            StatePage(f);
            TypeIntoCell(f, 3, PatternColumn::Table, QStringLiteral("9"));
            Click(f->BitBtn2);
        });
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            StatePage(f);
            Click(f->BitBtn3);
        });
        QStringList tablesShown;
        int currentRow = -1;
        QString label;
        driver().Then([&](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            label = f->Label1->text();
            tablesShown = Column(f, PatternColumn::Table);
            currentRow = f->StringGrid1->currentRow() + 1;
            TypeIntoCell(f, 3, PatternColumn::Table, QStringLiteral("3"));
            Click(f->BitBtn3);
        });

        QVERIFY(form.EditSectorPattern(t.Model, 4, 0));
        QVERIFY(driver().Finished());
        QCOMPARE(messages.Errors.size(), 1);
        QVERIFY2(messages.Errors.first().contains(QStringLiteral("komplet 1, wiersz 3 – stolik 9 jest poza sektorem")),
            qPrintable(messages.Errors.first()));
        QCOMPARE(label, QStringLiteral("Kpl.1"));
        QCOMPARE(tablesShown,
            QStringList({ QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("9"), QStringLiteral("4") }));
        QCOMPARE(currentRow, 3);
        QCOMPARE(t.Row(1, 3).Table, 3);
        QCOMPARE(t.Row(2, 4).Round, 2);
    }

    // The operator types into a cell and clicks "OK" at once: what the cell's editor holds counts.
    void textStillBeingTypedCounts()
    {
        SectorTournament t = MakeSectorTournament(1, 1);
        t.SetTableRound(1, 1, 1, 0);
        RecordingOperator messages;
        TfrmNietyp form(QString(), messages);
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QTableWidget* grid = f->StringGrid1;
            grid->setCurrentCell(0, int(PatternColumn::Round));
            grid->setFocus();
            QTest::keyClick(grid, '3');
            QVERIFY(grid->indexWidget(grid->currentIndex()));
            Click(f->BitBtn3);
        });
        QVERIFY(form.EditSectorPattern(t.Model, 1, 0));
        QCOMPARE(t.Row(1, 1).Round, 3);
    }

    void closeBoxAbandons()
    {
        SectorTournament t = MakeSectorTournament(1, 1);
        t.SetTableRound(1, 1, 1, 1);
        RecordingOperator messages;
        TfrmNietyp form(QString(), messages);
        driver().Then([](QWidget* modal) { modal->close(); });
        QVERIFY(!form.EditSectorPattern(t.Model, 1, 0));
        QVERIFY(driver().Finished());
    }

    // Saved through the save dialog in the pattern folder, changed, loaded back through the open dialog.
    void saveThenLoad()
    {
        QTemporaryDir folder;
        SectorTournament t = MakeSectorTournament(2, 3);
        RecordingOperator messages;
        TfrmNietyp form(folder.path(), messages);
        const QString saved = folder.filePath(QStringLiteral("howell.bmt"));
        auto answerDialog = [&folder](const QString& name) {
            return [&folder, name](QWidget* modal) {
                auto* dialog = qobject_cast<QFileDialog*>(modal);
                QVERIFY(dialog);
                QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir(folder.path()).canonicalPath());
                QCOMPARE(dialog->defaultSuffix(), QStringLiteral("bmt"));
                QCOMPARE(dialog->nameFilters(), QStringList { QStringLiteral("Wzór sektora nietypowego (*.bmt)") });
                dialog->selectFile(folder.filePath(name));
                static_cast<QDialog*>(dialog)->accept();
            };
        };
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            StatePage(f);
            Click(f->BitBtn2);
        });
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            StatePage(f);
            TypeIntoCell(f, 3, PatternColumn::Round, QStringLiteral("x"));
            Click(f->BitBtn6);
        });
        driver().Then(answerDialog(QStringLiteral("howell"))); // the extension is added
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            TypeIntoCell(f, 1, PatternColumn::Table, QStringLiteral("9"));
            Click(f->BitBtn1);
        });
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            TypeIntoCell(f, 2, PatternColumn::Table, QStringLiteral("9"));
            Click(f->BitBtn5);
        });
        driver().Then(answerDialog(QStringLiteral("howell.bmt")));
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QCOMPARE(Column(f, PatternColumn::Table),
                (QStringList { QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3") }));
            Click(f->BitBtn2);
        });
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QCOMPARE(
                Column(f, PatternColumn::Round), (QStringList { QStringLiteral("2"), QStringLiteral("2"), QString() }));
            TypeIntoCell(f, 3, PatternColumn::Round, QStringLiteral("2"));
            Click(f->BitBtn3);
        });

        QVERIFY(form.EditSectorPattern(t.Model, 3, 0));
        QVERIFY(driver().Finished());
        QVERIFY(driver().Unexpected.isEmpty());
        QVERIFY(QFile::exists(saved));
        const std::vector<std::vector<std::pair<qint32, qint32>>> expected
            = { { { 1, 1 }, { 2, 1 }, { 3, 1 } }, { { 1, 2 }, { 2, 2 }, { 3, 2 } } };
        QCOMPARE(t.TablesAndRounds(), expected);
    }

    // A pattern of 7 board sets and 4 tables, loaded for 7 board sets and 3 tables.
    void otherShapeRefused()
    {
        QTemporaryDir folder;
        SectorTournament other = MakeSectorTournament(7, 4);
        const QString path = folder.filePath(QStringLiteral("inny.bmt"));
        SavePattern(path, other.Model, 4, 0);
        SectorTournament t = MakeSectorTournament(7, 3);
        RecordingOperator messages;
        TfrmNietyp form(folder.path(), messages);
        driver().Then([](QWidget* modal) { Click(Editor(modal)->BitBtn5); });
        driver().Then([&path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        driver().Then([](QWidget* modal) { Click(Editor(modal)->BitBtn4); });

        QVERIFY(!form.EditSectorPattern(t.Model, 3, 0));
        QVERIFY(driver().Finished());
        QCOMPARE(messages.Messages.size(), size_t(1));
        QCOMPARE(messages.Messages[0].Text,
            QStringLiteral("To nie jest wzorzec dla tego turnieju\nTutaj baza=7, stołów jest 4."));
    }

    // The window operator behind the completion: TForm2, then the editor with the computed proposal.
    void completionThroughTheWindows()
    {
        SectorTournament t = MakeSectorTournament(4, 2, 0, 0, true, 0, 5);
        t.SetRow(1, 1, 5, 1);
        t.SetRow(2, 1, 2, 3);
        t.SetRow(3, 1, 5, 4);
        t.SetRow(4, 1, 2, 1);
        RecordingOperator messages;
        WindowSectorOperator sectors(nullptr, QString(), messages);
        SectorCompletion completion(sectors, messages);
        driver().Then([](QWidget* modal) {
            auto* form = qobject_cast<TForm2*>(modal);
            QVERIFY(form);
            QTest::mouseClick(form->RadioButton1, Qt::LeftButton, {}, QPoint(8, form->RadioButton1->height() / 2));
        });
        driver().Then([](QWidget* modal) {
            TfrmNietyp* f = Editor(modal);
            QCOMPARE(Column(f, PatternColumn::Table), (QStringList { QStringLiteral("1"), QStringLiteral("2") }));
            QCOMPARE(Column(f, PatternColumn::Round), (QStringList { QStringLiteral("1"), QStringLiteral("4") }));
            QCOMPARE(f->Cells(0, 1), QStringLiteral("  105"));
            Click(f->BitBtn3);
        });

        QVERIFY(completion.CompleteNonTypicalSector(t.Model, t.Sector));
        QVERIFY(driver().Finished());
        QCOMPARE(t.Row(2, 2).Round, 2);
    }

    void init() { m_driver = std::make_unique<ModalDriver>(); }
    void cleanup() { m_driver.reset(); }

private:
    ModalDriver& driver() { return *m_driver; }
    std::unique_ptr<ModalDriver> m_driver;
};

QTEST_MAIN(TestSectorWindows)
#include "TestSectorWindows.moc"
