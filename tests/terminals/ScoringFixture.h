// Scoring databases for the rehearsal terminal server's tests: the tables a build makes, filled with a
// Mitchell movement of pairs or with an individual movement.
#pragma once

#include <QString>
#include <QVariantList>
#include <vector>

namespace kibic::test {

struct FixtureTournament
{
    int Tables = 5; // per section
    int Rounds = 5;
    int BoardsPerRound = 3;
    int Sections = 1;
    int BoardsNumberedAfter = 0; // the single number of a ".INR" file: boards k+1, k+2, ...
    bool Individual = false; // seat steps N -1, E 0, S +1, W +2; pairs: EW step -2
    bool LeadCard = true;
    bool MemberNumbers = false;
};

// The demo's pairs event (demo/puchar.inf with puchar.INR) and individual event (demo/indyw.ind).
[[nodiscard]] FixtureTournament DemoPairs();
[[nodiscard]] FixtureTournament DemoIndividual();

// Creates the file with the tables Clients, Section, Tables, RoundData, ReceivedData, IntermediateData,
// PlayerNumbers and Settings, and fills Tables, PlayerNumbers, Section, RoundData and Settings.
void CreateScoringDatabase(const QString& file, const FixtureTournament& tournament);

// One ReceivedData row, every column but DateLog and TimeLog, in table order.
struct StoredRow
{
    QVariantList Values;
    int Section = 0, Table = 0, Round = 0, Board = 0;
    QString Contract, Declarer, Result, LeadCard, Remarks;
    bool Erased = false;
    bool AnyProcessed = false;
    bool operator==(const StoredRow& other) const { return Values == other.Values; }
};

// The ReceivedData rows in ID order.
[[nodiscard]] std::vector<StoredRow> ReadReceivedRows(const QString& file);

} // namespace kibic::test
