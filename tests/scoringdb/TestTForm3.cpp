// The terminals' settings window driven through its widgets: loading, the handlers, the buttons.
#include "ScoringDbTestSupport.h"
#include "common/Operator.h"
#include "platform/Registry.h"
#include "players/PlayerDatabase.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "scoringdb/TerminalOptions.h"
#include "scoringdb/ui/TForm3.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace kibic;
using kibic::test::FreshBuildOptions;

namespace {

void Click(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(8, box->height() / 2));
}

void Type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

} // namespace

class TestTForm3 : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        qputenv("KIBIC_REGISTRY_DIR", m_dir->filePath(QStringLiteral("registry")).toUtf8());
    }

    void cleanup() { qunsetenv("KIBIC_REGISTRY_DIR"); }

    void designedWindow()
    {
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        QCOMPARE(form.windowTitle(), QStringLiteral("Uruchamianie Bridgemate Pro Control"));
        QCOMPARE(form.size(), QSize(483, 356));
        QCOMPARE(form.CheckBox14->pos(), QPoint(32, 266));
        QCOMPARE(form.CheckBox1->pos(), QPoint(54, 284));
        QCOMPARE(form.Edit10->geometry().topLeft(), QPoint(176, 190));
        QCOMPARE(form.Edit11->width(), 23);
        QCOMPARE(form.BitBtn2->geometry(), QRect(366, 124, 75, 45));
        QCOMPARE(form.CheckBox6->toolTip(), QStringLiteral("z pozycji rozgrywającego jeśli zgaszone"));
        QCOMPARE(form.CheckBox7->toolTip(), QStringLiteral("całkowita ilość lew jeśli zgaszone"));
        QCOMPARE(form.BitBtn3->text(), QStringLiteral("Zaniechaj"));
        QVERIFY(!form.BitBtn3->isEnabled());
        // Every caption is seen whole, and the edits' captions end before their edits.
        for (QWidget* control : form.findChildren<QWidget*>()) {
            if (!qobject_cast<QCheckBox*>(control) && !qobject_cast<QLabel*>(control))
                continue;
            if (control == form.Label5)
                continue; // word-wrapped
            QVERIFY2(control->sizeHint().width() <= control->width(), qPrintable(control->objectName()));
            QVERIFY2(control->geometry().right() < form.width(), qPrintable(control->objectName()));
        }
        QVERIFY(form.Label1->geometry().right() < form.Edit10->x());
        QVERIFY(form.Label3->geometry().right() < form.Edit11->x());
        QVERIFY(form.Label5->heightForWidth(form.Label5->width()) <= form.Label5->height());
    }

    // After a fresh build: what the window shows, the percentage by the scoring kind and the
    // identifiers by the players' database.
    void freshBuild_data()
    {
        QTest::addColumn<int>("scoringKind");
        QTest::addColumn<int>("players"); // -1: no DatabaseName value; -2: a file that is no database
        QTest::addColumn<bool>("percentage");
        QTest::addColumn<bool>("identifiers");
        QTest::newRow("kind 2, players there") << 2 << 3 << true << true;
        QTest::newRow("kind 0, players there") << 0 << 3 << false << true;
        QTest::newRow("no players") << 2 << 0 << true << false;
        QTest::newRow("no registry value") << 2 << -1 << true << false;
        QTest::newRow("unreadable database") << 2 << -2 << true << false;
    }

    void freshBuild()
    {
        QFETCH(int, scoringKind);
        QFETCH(int, players);
        QFETCH(bool, percentage);
        QFETCH(bool, identifiers);
        if (players != -1)
            WritePlayersDatabase(players);
        TournamentModel model;
        model.OpenedExisting = false;
        model.ScoringKind = scoringKind;
        const TerminalOptions shown = OptionsToShow(FreshBuildOptions(), model);
        QVERIFY(shown.MemberNumbers);

        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        form.Load(shown, false);
        for (QCheckBox* box : { form.CheckBox0, form.CheckBox6, form.CheckBox7, form.CheckBox8, form.CheckBox13 })
            QVERIFY2(box->isChecked(), qPrintable(box->objectName()));
        QVERIFY(!form.CheckBox2->isChecked());
        QCOMPARE(form.CheckBox4->isChecked(), percentage);
        QCOMPARE(form.Edit10->text(), QStringLiteral("10"));
        QCOMPARE(form.Edit11->text(), QStringLiteral("1"));
        QCOMPARE(form.CheckBox14->isChecked(), identifiers);
        QCOMPARE(form.CheckBox1->isEnabled(), identifiers);
        QCOMPARE(op.Messages,
            identifiers ? QStringList()
                        : QStringList({ QStringLiteral("Brak bazy .BAN/.BAI lub\nSortel nie jest zainstalowana") }));
        QCOMPARE(op.Kinds, identifiers ? QList<DialogKind>() : QList<DialogKind>({ DialogKind::Info }));
        QVERIFY(!form.BitBtn3->isEnabled());
    }

    // An Access player database on a computer without the Access driver: the information says why.
    void accessPlayerDatabaseWithoutTheDriverSaysWhy()
    {
        if (AccessDriverAvailable())
            QSKIP("this computer has an Access driver");
        WritePlayersDatabase(-3);
        TournamentModel model;
        model.OpenedExisting = false;
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        form.Load(OptionsToShow(FreshBuildOptions(), model), false);
        QVERIFY(!form.CheckBox14->isChecked());
        QCOMPARE(op.Messages.size(), 1);
        const QString file = PlayerDatabaseName();
        QVERIFY2(op.Messages[0].startsWith(
                     QStringLiteral("Brak bazy .BAN/.BAI lub\nSortel nie jest zainstalowana\nPlik ") + file),
            qPrintable(op.Messages[0]));
        QVERIFY2(op.Messages[0].contains(QStringLiteral("nie ma sterownika ODBC \"Microsoft Access Driver (*.mdb)\"")),
            qPrintable(op.Messages[0]));
    }

    void savedAsShown()
    {
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        TerminalOptions options = FreshBuildOptions();
        options.MemberNumbersNoBlankEntry = true;
        form.Load(options, true);
        QCOMPARE(form.Options(), options);
        Click(form.CheckBox6);
        Click(form.CheckBox2);
        Type(form.Edit10, QStringLiteral("45"));
        const TerminalOptions saved = form.Options();
        QCOMPARE(saved.ScorePoints, 1);
        QCOMPARE(saved.EnterResultsMethod, 0);
        QCOMPARE(saved.RepeatResults, true);
        QCOMPARE(saved.AutopoweroffTime, 45);
    }

    void buttons_data()
    {
        QTest::addColumn<QString>("autopoweroff");
        QTest::addColumn<QString>("verification");
        QTest::addColumn<QString>("button");
        QTest::addColumn<ModalResult>("result"); // 0: stays open
        QTest::addColumn<QString>("focus");
        QTest::newRow("Nie with 61") << "61"
                                     << "1"
                                     << "BitBtn2" << ModalResult::None << "Edit10";
        QTest::newRow("Tak with 4") << "4"
                                    << "1"
                                    << "BitBtn1" << ModalResult::None << "Edit10";
        QTest::newRow("Tak with letters") << "1x"
                                          << "1"
                                          << "BitBtn1" << ModalResult::None << "Edit10";
        QTest::newRow("Tak with 8 in Edit11") << "10"
                                              << "8"
                                              << "BitBtn1" << ModalResult::None << "Edit11";
        QTest::newRow("Tak with an empty Edit11") << "10"
                                                  << ""
                                                  << "BitBtn1" << ModalResult::None << "Edit11";
        QTest::newRow("Zaniechaj with 0 in Edit11") << "10"
                                                    << "0"
                                                    << "BitBtn3" << ModalResult::None << "Edit11";
        QTest::newRow("Tak") << "60"
                             << "7"
                             << "BitBtn1" << ModalResult::Yes << "";
        QTest::newRow("Nie") << "5"
                             << "1"
                             << "BitBtn2" << ModalResult::No << "";
        QTest::newRow("Zaniechaj") << "20"
                                   << "2"
                                   << "BitBtn3" << ModalResult::Cancel << "";
    }

    void buttons()
    {
        QFETCH(QString, autopoweroff);
        QFETCH(QString, verification);
        QFETCH(QString, button);
        QFETCH(ModalResult, result);
        QFETCH(QString, focus);
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        form.Load(FreshBuildOptions(), true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Type(form.Edit10, autopoweroff);
        Type(form.Edit11, verification);
        form.CheckBox8->setFocus();
        QTest::mouseClick(form.findChild<QToolButton*>(button), Qt::LeftButton);
        if (result == ModalResult::None) {
            QVERIFY(form.isVisible());
            QCOMPARE(form.focusWidget()->objectName(), focus);
        } else {
            QVERIFY(!form.isVisible());
            QCOMPARE(ModalResultOf(form.result()), result);
        }
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<ModalResult>("result");
        QTest::newRow("Enter is Tak") << int(Qt::Key_Return) << ModalResult::Yes;
        QTest::newRow("Esc is Nie") << int(Qt::Key_Escape) << ModalResult::No;
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(ModalResult, result);
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        form.Load(FreshBuildOptions(), true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.CheckBox0->setFocus();
        Click(form.CheckBox8); // "Zaniechaj" becomes enabled: Esc still answers "Nie"
        QTest::keyClick(form.CheckBox8, static_cast<Qt::Key>(key));
        QVERIFY(!form.isVisible());
        QCOMPARE(ModalResultOf(form.result()), result);
    }

    void closeBoxClosesWithInvalidTimes()
    {
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        form.Load(FreshBuildOptions(), true);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        Type(form.Edit10, QStringLiteral("99"));
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        QCOMPARE(ModalResultOf(form.result()), ModalResult::Cancel);
    }

    void trimmedTimeIsAccepted()
    {
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        form.Load(FreshBuildOptions(), true);
        Type(form.Edit11, QStringLiteral(" 7 "));
        QVERIFY(form.ValidateTimes());
        QCOMPARE(form.Edit11->text(), QStringLiteral("7"));
        QCOMPARE(form.Options().VerificationTime, 7);
    }

    void showResultsGovernsItsSubOptions()
    {
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        TerminalOptions options = FreshBuildOptions();
        options.RepeatResults = true;
        form.Load(options, true);
        QVERIFY(form.CheckBox2->isChecked() && form.CheckBox4->isChecked());
        Click(form.CheckBox0);
        QVERIFY(!form.CheckBox2->isChecked() && !form.CheckBox2->isEnabled());
        QVERIFY(!form.CheckBox4->isChecked() && !form.CheckBox4->isEnabled());
        QVERIFY(form.BitBtn3->isEnabled());
        Click(form.CheckBox0);
        QVERIFY(!form.CheckBox2->isChecked() && form.CheckBox2->isEnabled());
        QVERIFY(!form.CheckBox4->isChecked() && form.CheckBox4->isEnabled());
    }

    void storedWithoutShowResults()
    {
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        TerminalOptions options = FreshBuildOptions();
        options.ShowResults = false;
        options.RepeatResults = true;
        form.Load(options, true);
        QVERIFY(!form.CheckBox0->isChecked());
        QVERIFY(!form.CheckBox2->isChecked() && !form.CheckBox2->isEnabled());
        QVERIFY(!form.CheckBox4->isChecked() && !form.CheckBox4->isEnabled());
    }

    void whatEnablesZaniechaj_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("enables");
        for (const char* name :
            { "CheckBox0", "CheckBox2", "CheckBox6", "CheckBox7", "CheckBox8", "CheckBox13", "CheckBox14" })
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        QTest::newRow("CheckBox4") << "CheckBox4" << false;
        QTest::newRow("CheckBox1") << "CheckBox1" << false;
        QTest::newRow("Edit10") << "Edit10" << true;
        QTest::newRow("Edit11") << "Edit11" << true;
    }

    void whatEnablesZaniechaj()
    {
        QFETCH(QString, control);
        QFETCH(bool, enables);
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        TerminalOptions options = FreshBuildOptions();
        options.MemberNumbers = true;
        form.Load(options, true);
        QVERIFY(!form.BitBtn3->isEnabled());
        if (auto* box = form.findChild<QCheckBox*>(control))
            Click(box);
        else
            QTest::keyClicks(form.findChild<QLineEdit*>(control), QStringLiteral("5"));
        QCOMPARE(form.BitBtn3->isEnabled(), enables);
    }

    void identifiersUnticked()
    {
        WritePlayersDatabase(3); // the loading checks the players' database before NamesFileKnown is set
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        TerminalOptions options = FreshBuildOptions();
        options.MemberNumbers = true;
        options.MemberNumbersNoBlankEntry = true;
        form.Load(options, true);
        QVERIFY(form.CheckBox1->isChecked() && form.CheckBox1->isEnabled());
        Click(form.CheckBox14);
        QVERIFY(!form.CheckBox1->isChecked() && !form.CheckBox1->isEnabled());
        Click(form.CheckBox14); // NamesFileKnown: no database check
        QVERIFY(form.CheckBox14->isChecked());
        QVERIFY(!form.CheckBox1->isEnabled());
        QCOMPARE(op.Messages, QStringList());
    }

    void tickingIdentifiersChecksThePlayersDatabase()
    {
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        form.Load(FreshBuildOptions(), false);
        Click(form.CheckBox14);
        QVERIFY(!form.CheckBox14->isChecked());
        QCOMPARE(op.Messages.size(), 1);
        WritePlayersDatabase(12);
        Click(form.CheckBox14);
        QVERIFY(form.CheckBox14->isChecked());
        QCOMPARE(op.Messages.size(), 1);
        // The registry key is made when it was missing.
        QVERIFY(RegistryKey::Open(RegistryHive::CurrentUser, QStringLiteral("Software\\Trevik\\Pelikar"), false));
    }

    // The window asks its check only for a tick without a names file, and shows the check's own text.
    void playersCheckAskedOnlyWithoutNamesFile()
    {
        int asked = 0;
        const auto check = [&asked] {
            ++asked;
            return QStringLiteral("brak zawodników");
        };
        ScriptedOperator op;
        TForm3 form(nullptr, op, check);
        TerminalOptions options = FreshBuildOptions();
        form.Load(options, true);
        Click(form.CheckBox14);
        QVERIFY(form.CheckBox14->isChecked());
        QCOMPARE(asked, 0);
        Click(form.CheckBox14);
        form.NamesFileKnown = false;
        Click(form.CheckBox14);
        QCOMPARE(asked, 1);
        QVERIFY(!form.CheckBox14->isChecked());
        QVERIFY(!form.CheckBox1->isEnabled());
        QCOMPARE(op.Messages, QStringList({ QStringLiteral("brak zawodników") }));
        QCOMPARE(op.Kinds, QList<DialogKind>({ DialogKind::Info }));
    }

    void fileWithoutNoBlankEntryColumn()
    {
        ScriptedOperator op;
        TForm3 form(nullptr, op, PlayersMissingText);
        TerminalOptions options = FreshBuildOptions();
        options.MemberNumbers = true;
        options.MemberNumbersNoBlankEntry.reset();
        form.Load(options, true);
        QVERIFY(!form.CheckBox1->isChecked() && !form.CheckBox1->isEnabled());
        Click(form.CheckBox14);
        Click(form.CheckBox14);
        QVERIFY(!form.Options().MemberNumbersNoBlankEntry.has_value());
    }

private:
    // A player database with `players` rows (-2: a file that is no database), named in the registry.
    void WritePlayersDatabase(int players)
    {
        const QString file = m_dir->filePath(QStringLiteral("pelikar-%1.mdb").arg(++m_databases));
        if (players == -2) {
            QFile text(file);
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("not a database");
        } else if (players == -3) {
            // The header of an Access (Jet 4.0) file.
            QFile jet(file);
            QVERIFY(jet.open(QIODevice::WriteOnly));
            jet.write(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2028, '\0'));
        } else {
            DbConnection::CreateDatabaseFile(file);
            DbConnection connection(ScoringConnectionString(file));
            (void)connection.Execute(QStringLiteral("CREATE TABLE [players] ([ID] INTEGER,[Name] TEXT(40))"));
            for (int i = 1; i <= players; ++i)
                (void)connection.Execute(QStringLiteral("INSERT INTO [players] ([ID],[Name]) VALUES (?,?)"),
                    { i, QStringLiteral("Gracz %1").arg(i) });
        }
        auto key = RegistryKey::Open(RegistryHive::CurrentUser, PlayerDatabaseKey.toString(), true);
        QVERIFY(key);
        QVERIFY(key->WriteString(PlayerDatabaseValue.toString(), file));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_databases = 0;
};

QTEST_MAIN(TestTForm3)
#include "TestTForm3.moc"
