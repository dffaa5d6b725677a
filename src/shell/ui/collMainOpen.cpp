// TcollForm: opening a ZyRT tournament or a scoring database, and reading the players' identifiers.
#include "shell/ui/collMain.h"

#include "common/BusyCursor.h"
#include "common/DialogFilter.h"
#include "common/KibicError.h"
#include "common/uNapisy.h"
#include "deals/DoubleDummy.h"
#include "deals/ui/DealsLoading.h"
#include "players/PlayerDatabase.h"
#include "players/ReadIdentifiers.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/uBuildBWS.h"
#include "scoringdb/uOpenBWS.h"
#include "scoringdb/ui/TForm3.h"
#include "sectors/uSprNietyp.h"
#include "sectors/ui/WindowSectorOperator.h"
#include "tournament/TournamentReader.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QPushButton>

namespace kibic {

namespace {

// What opening a scoring database asks of the main window.
class MainWindowDatabase : public ScoringDatabaseWindow
{
public:
    explicit MainWindowDatabase(TcollForm& form)
        : m_form(form)
    {
    }

    void AttachTables(const QString& connectionString) override
    {
        m_form.recTable.Close();
        m_form.rdaTable.Close();
        m_form.recTable.SetConnectionString(connectionString);
        m_form.recTable.SetTableName(QStringLiteral("ReceivedData"));
        m_form.rdaTable.SetConnectionString(connectionString);
        m_form.rdaTable.SetTableName(QStringLiteral("RoundData"));
        m_form.HoldDatabase(connectionString);
    }
    void SetCaption(const QString& caption) override { m_form.setWindowTitle(caption); }
    void SetUpGrid() override { m_form.SetUpGrid(); }
    ModalResult ShowSettingsWindow(TerminalOptions& options, bool namesFileKnown) override
    {
        return RunSettingsWindow(&m_form, m_form.Dialogs(), PlayersMissingText, options, namesFileKnown);
    }
    void ShowIdentifierControls(bool visible) override
    {
        m_form.btnIDS->setVisible(visible);
        m_form.CheckBoxCezar->setVisible(visible);
    }

private:
    TcollForm& m_form;
};

} // namespace

QString TcollForm::ChooseFile(const QString& defaultSuffix, const QString& filter)
{
    OpenDialog1->setDefaultSuffix(defaultSuffix);
    OpenDialog1->setNameFilters(NameFiltersFromFilter(filter));
    if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty())
        return {};
    return OpenDialog1->selectedFiles().constFirst();
}

void TcollForm::OpenScoringDatabase(const QString& fileName)
{
    MainWindowDatabase window(*this);
    kibic::OpenScoringDatabase(Model, fileName, window, Dialogs());
}

void TcollForm::Otwrz1Click()
{
    Guard([this] {
        const QString file = ChooseFile(QStringLiteral("inf"), uNapisy::TurniejeZyrta + QStringLiteral("|*.inf;*.ind"));
        if (file.isEmpty())
            return;
        WindowSectorOperator sectors(this, PatternFolder(), Dialogs());
        SectorCompletion completer(sectors, Dialogs());
        if (!ReadTournament(Model, file, completer))
            return;
        if (!BuildScoringDatabase(Model, Dialogs()))
            return;
        OpenScoringDatabase(ScoringDatabaseFileName(Model));
    });
}

void TcollForm::Otwrz2Click()
{
    Guard([this] {
        const QString file = ChooseFile(QStringLiteral("bws"), uNapisy::PierniczkoweBazy + QStringLiteral("|*.bws"));
        if (file.isEmpty())
            return;
        const BusyCursor cursor(Dialogs());
        Model.OpenedExisting = true;
        OpenScoringDatabase(file);
    });
}

void TcollForm::ReadSessionDeals()
{
    m_deals = {};
    try {
        m_deals = kibic::ReadSessionDeals(DataSourceOf(recTable.ConnectionString()));
    } catch (const KibicError& error) {
        Dialogs().ShowError(error.Message() + QStringLiteral("\nPodpowiedzi siatki będą bez rozkładów."));
    }
}

void TcollForm::Wczytajrozklady1Click()
{
    Guard([this] {
        const QString file = ChooseFile(QStringLiteral("pbn"), QStringLiteral("Pliki rozkładów (PBN)|*.pbn"));
        if (file.isEmpty())
            return;
        const std::unique_ptr<DoubleDummySolver> solver = MakeDdsSolver();
        if (!LoadDealsInWindow(this, Model, DataSourceOf(recTable.ConnectionString()), file, *solver, Dialogs()))
            return;
        ReadSessionDeals();
        RefreshGrid();
    });
}

void TcollForm::btnIDSClick()
{
    Guard([this] {
        (void)ReadIdentifiers(Model, CheckBoxCezar->isChecked(), Dialogs());
        btnIDS->setVisible(Model.MemberNumbers);
        CheckBoxCezar->setVisible(Model.MemberNumbers);
    });
}

} // namespace kibic
