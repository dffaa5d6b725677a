// The build of a large tournament (10 sections of 30 tables, 30 rounds) against the floor of writing
// the same rows with one prepared statement per table straight into SQLite.
#include "common/Operator.h"
#include "scoringdb/ConnectionStrings.h"
#include "scoringdb/uBuildBWS.h"
#include "scoringdb/uCreateBWS.h"
#include "support/TournamentModels.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace kibic;

namespace {

TournamentModel LargeTournament(const QString& base)
{
    test::ModelCounts counts;
    counts.Sections = 10;
    counts.Tables = 30;
    counts.Rounds = 30;
    counts.BoardsPerRound = 1;
    TournamentModel model = test::MakeModel(counts, base);
    for (qint32 b = 1; b <= 30; ++b) {
        auto& boardSet = model.Movement[static_cast<std::size_t>(b)];
        for (qint32 k = 1; k <= 300; ++k) {
            const qint32 round = (k - 1) % 30 + 1;
            const qint32 table = (b + round - 2) % 30 + 1;
            boardSet[static_cast<std::size_t>(k)] = { table, 30 + (table + round) % 30 + 1, 0, 0, round, table };
        }
    }
    return model;
}

// The same rows as the build writes, each table in one transaction through one prepared statement.
void RawFill(const TournamentModel& model, const QString& file)
{
    const QString name = QStringLiteral("raw-floor");
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        database.setDatabaseName(file);
        QVERIFY(database.open());
        QSqlQuery query(database);
        const auto run = [&](const QString& sql, const std::function<void(QSqlQuery&)>& rows) {
            QVERIFY(query.exec(QStringLiteral("BEGIN IMMEDIATE")));
            QVERIFY(query.prepare(sql));
            rows(query);
            query.finish();
            QVERIFY(query.exec(QStringLiteral("COMMIT")));
        };
        const auto exec = [](QSqlQuery& q) {
            if (!q.exec())
                qFatal("%s", qPrintable(q.lastError().text()));
        };
        run(QStringLiteral("INSERT INTO [Tables] ([Section],[Table],[ComputerID]) VALUES (?,?,1)"), [&](QSqlQuery& q) {
            for (int s = 1; s <= model.SectionCount; ++s)
                for (int t = 1; t <= model.TableCount; ++t) {
                    q.bindValue(0, s);
                    q.bindValue(1, t);
                    exec(q);
                }
        });
        run(QStringLiteral("INSERT INTO [PlayerNumbers] ([Section],[Table],[Direction]) VALUES (?,?,?)"),
            [&](QSqlQuery& q) {
                for (int s = 1; s <= model.SectionCount; ++s)
                    for (int t = 1; t <= model.TableCount; ++t)
                        for (const char* seat : { "N", "E", "S", "W" }) {
                            q.bindValue(0, s);
                            q.bindValue(1, t);
                            q.bindValue(2, QString::fromLatin1(seat));
                            exec(q);
                        }
            });
        run(QStringLiteral("INSERT INTO [Section] ([ID],[Letter],[Tables],[MissingPair]) VALUES (?,?,?,0)"),
            [&](QSqlQuery& q) {
                for (int s = 1; s <= model.SectionCount; ++s) {
                    q.bindValue(0, s);
                    q.bindValue(1, QString(QChar(64 + s)));
                    q.bindValue(2, model.TableCount);
                    exec(q);
                }
            });
        run(QStringLiteral(
                "INSERT INTO [RoundData] ([Section],[Table],[Round],[NSPair],[EWPair],[LowBoard],[HighBoard],"
                "[custom_Zyrt],[custom_Komp],[custom_S],[custom_W]) VALUES (?,?,?,?,?,?,?,?,?,?,?)"),
            [&](QSqlQuery& q) {
                for (int b = 1; b <= model.TableCount; ++b)
                    for (int k = 1; k <= model.SectionCount * model.RoundCount; ++k) {
                        const MovementEntry& e = model.Movement[b][k];
                        const QVariantList values = { (k - 1) / model.RoundCount + 1, e.Table, e.Round, e.NS, e.EW,
                            model.BoardNumbers[b], model.BoardNumbers[b], k, b, e.South, e.West };
                        for (int i = 0; i < values.size(); ++i)
                            q.bindValue(i, values[i]);
                        exec(q);
                    }
            });
        run(QStringLiteral("INSERT INTO [Settings] ([ShowResults],[LeadCard]) VALUES (1,1)"),
            [&](QSqlQuery& q) { exec(q); });
        database.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

class TestBuildSpeed : public QObject
{
    Q_OBJECT

private slots:
    void largeTournamentWithinTwiceTheFloor()
    {
        QTemporaryDir dir;
        const TournamentModel model = LargeTournament(dir.filePath(QStringLiteral("large")));
        qint64 bestFill = std::numeric_limits<qint64>::max();
        qint64 bestFloor = std::numeric_limits<qint64>::max();
        qint64 bestBuild = std::numeric_limits<qint64>::max();
        for (int attempt = 0; attempt < 5; ++attempt) {
            const QString ours = dir.filePath(QStringLiteral("ours%1.bws").arg(attempt));
            const QString raw = dir.filePath(QStringLiteral("raw%1.bws").arg(attempt));
            QString error;
            CreateBWS(raw, false, false, error);
            QCOMPARE(error, QString());
            QElapsedTimer clock;
            clock.start();
            RawFill(model, raw);
            bestFloor = std::min(bestFloor, clock.nsecsElapsed());

            CreateBWS(ours, false, false, error);
            QCOMPARE(error, QString());
            clock.restart();
            FillScoringDatabase(model, ours);
            bestFill = std::min(bestFill, clock.nsecsElapsed());

            TournamentModel whole = model;
            whole.TournamentBase = dir.filePath(QStringLiteral("whole%1").arg(attempt));
            ScriptedOperator op;
            clock.restart();
            QVERIFY(BuildScoringDatabase(whole, op));
            bestBuild = std::min(bestBuild, clock.nsecsElapsed());
        }
        const double ratio = static_cast<double>(bestFill) / static_cast<double>(bestFloor);
        qInfo("10 x 30 tables x 30 rounds: fill %.1f ms, raw floor %.1f ms, ratio %.2f; whole build %.1f ms",
            bestFill / 1e6, bestFloor / 1e6, ratio, bestBuild / 1e6);
#if defined(NDEBUG)
        QVERIFY2(ratio <= 2.0, qPrintable(QStringLiteral("ratio %1").arg(ratio)));
#endif
    }
};

QTEST_GUILESS_MAIN(TestBuildSpeed)
#include "TestBuildSpeed.moc"
