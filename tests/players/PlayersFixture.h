// A tournament in a temporary folder for the identifier tests: description, scoring database with the
// tables the terminal server fills, player database, names file and the private registry.
#pragma once

#include "common/Operator.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/Database.h"
#include "support/ScoringTables.h"
#include "tournament/TournamentModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>

namespace kibic::test {

inline constexpr QStringView kDataDir = u"" KIBIC_TEST_DATA_DIR "/players/";

inline constexpr QStringView kCreatePlayers
    = u"CREATE TABLE [players] ([ID] TEXT(10),[IMIE] TEXT(30),[NAZWISKO] TEXT(40),[WK] TEXT(4),[OKREG] TEXT(10),"
      "[INFO] TEXT(50),[KLUB] TEXT(50))";

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// An operator that keeps every dialog with its kind and buttons and answers questions from a queue.
class RecordingOperator : public Operator
{
public:
    struct Dialog
    {
        QString Text;
        DialogKind Kind;
        DialogButtons Buttons;
    };

    ModalResult ShowMessageDialog(const QString& text, DialogKind kind, DialogButtons buttons) override
    {
        Dialogs.push_back({ text, kind, buttons });
        if (!(buttons & (DialogButton::Yes | DialogButton::No)))
            return ModalResult::Ok;
        if (Answers.empty())
            return ModalResult::No;
        const ModalResult answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    void ShowError(const QString& text) override { Dialogs.push_back({ text, DialogKind::Error, DialogButton::Ok }); }

    QStringList Texts() const
    {
        QStringList texts;
        for (const Dialog& dialog : Dialogs)
            texts.append(dialog.Text);
        return texts;
    }

    std::vector<Dialog> Dialogs;
    std::deque<ModalResult> Answers;
};

class PlayersFixture
{
public:
    PlayersFixture()
        : m_dir(std::make_unique<QTemporaryDir>())
    {
        qputenv("KIBIC_REGISTRY_DIR", m_dir->filePath(QStringLiteral("registry")).toUtf8());
        Base = m_dir->filePath(QStringLiteral("cup"));
    }

    QString Path(const QString& name) const { return m_dir->filePath(name); }
    QString Bws() const { return Base + QStringLiteral(".bws"); }

    // A description whose 8th number is the participant count, followed by the participants.
    void WriteDescription(bool pairsEvent, const QList<int>& participants) const
    {
        QByteArray text = "3 2 2 1 0 0 0 " + QByteArray::number(participants.size()) + " 2 0 0 0 0 4 0 * header\r\n";
        for (const int number : participants)
            text += QByteArray::number(number) + ' ';
        text += "\r\n-2\r\n";
        WriteAll(Base + (pairsEvent ? QStringLiteral(".inf") : QStringLiteral(".ind")), text);
    }

    void CreateScoringDatabase(bool pairsEvent = true) const
    {
        CreateScoringTables(Bws());
        DbConnection connection(ScoringConnectionString(Bws()));
        connection.Execute(
            QStringLiteral("INSERT INTO [Settings] ([Section],[custom_pairs]) VALUES (1,?)"), { pairsEvent ? 1 : 0 });
    }

    void AddRound(int section, int table, int round, int ns, int ew, int south = 0, int west = 0) const
    {
        DbConnection connection(ScoringConnectionString(Bws()));
        connection.Execute(QStringLiteral("INSERT INTO [RoundData] ([Section],[Table],[Round],[NSPair],[EWPair],"
                                          "[custom_S],[custom_W]) VALUES (?,?,?,?,?,?,?)"),
            { section, table, round, ns, ew, south, west });
    }

    void AddSeat(int section, int table, const QString& direction, const QString& number) const
    {
        DbConnection connection(ScoringConnectionString(Bws()));
        connection.Execute(
            QStringLiteral("INSERT INTO [PlayerNumbers] ([Section],[Table],[Direction],[Number]) VALUES (?,?,?,?)"),
            { section, table, direction, number });
    }

    // A player database with the table players, registered under "DatabaseName".
    QString CreatePlayerDatabase(const QList<QStringList>& rows, bool withPlayersTable = true) const
    {
        const QString path = Path(QStringLiteral("gracze.db"));
        DbConnection::CreateDatabaseFile(path);
        if (withPlayersTable) {
            DbConnection connection(ScoringConnectionString(path));
            connection.Execute(kCreatePlayers.toString());
            for (const QStringList& row : rows) {
                QVariantList values;
                for (const QString& value : row)
                    values.append(value);
                connection.Execute(QStringLiteral("INSERT INTO [players] VALUES (?,?,?,?,?,?,?)"), values);
            }
        }
        RegisterPlayerDatabase(path);
        return path;
    }

    void RegisterPlayerDatabase(const QString& path) const
    {
        const QString ini = Path(QStringLiteral("registry/HKCU/Software/Trevik/Pelikar.ini"));
        QVERIFY(QDir().mkpath(QFileInfo(ini).absolutePath()));
        WriteAll(ini, "[General]\nDatabaseName=" + path.toUtf8() + '\n');
    }

    TournamentModel Model(bool pairsEvent, int participantCount, const QString& namesDatabase = {}) const
    {
        TournamentModel model;
        model.TournamentBase = Base;
        model.PairsEvent = pairsEvent;
        model.ParticipantCount = participantCount;
        model.NamesDatabasePath = namesDatabase;
        model.MemberNumbers = true;
        return model;
    }

    QString Base;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

} // namespace kibic::test
