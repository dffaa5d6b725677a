// A new, empty scoring database (*.bws) with every table the terminal server and Kibic use.
#pragma once

#include "scoringdb/CreationRoute.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace kibic {

// The Settings table's column that the play tables bring with them; left out of the statement of
// Settings when a database is made without BiddingData, PlayData and HandRecord.
inline constexpr QStringView kHandRecordValidationColumn = u"[HandRecordValidation] YESNO DEFAULT True,";

// The eleven CREATE TABLE statements in Jet SQL, numbered 1..11 as the elements 0..10 of the list:
// Clients, Section, Tables, RoundData, ReceivedData, IntermediateData, BiddingData, PlayData,
// HandRecord, PlayerNumbers, Settings. The Settings statement is the BM2 form when withBM2Settings is
// true, else the basic form, and it lacks kHandRecordValidationColumn when withPlayTables is false.
[[nodiscard]] QStringList TableStatements(bool withPlayTables, bool withBM2Settings);

// The statement of HandEvaluation, which the terminal server reads beside HandRecord: Section, Board, then
// for each hand (North, East, South, West) the tricks it takes as declarer in each strain (Spades, Hearts,
// Diamonds, Clubs, Notrump: NorthSpades ... WestNotrump) and its high-card points (NorthHcp ... WestHcp),
// all INTEGER. Not among the eleven: it is made when deals are loaded into a database.
[[nodiscard]] QString HandEvaluationStatement();

// Numbers (1..11) of the statements CreateBWS runs, in order: all of them, or without 7, 8 and 9 when
// the play tables are not wanted.
[[nodiscard]] QList<int> ChosenStatementNumbers(bool withPlayTables);

// The columns that identify a row of a table, for a change written back to one row: the ID of the tables
// that have one (Clients, Section, ReceivedData ...), the key columns of the others (Tables: Section,
// Table; PlayerNumbers: Section, Table, Direction; RoundData: Section, Table, Round; Settings: Section;
// HandRecord and HandEvaluation: Section, Board). Empty for a table that is not the scoring database's (the player
// database).
[[nodiscard]] QStringList RowKeyColumns(const QString& table);

// The most characters a text column of the scoring database holds: the n of its TEXT(n) in the statements
// above; 0 for a column that is no such text column (a number, or a table that is not the scoring
// database's). Table and column are matched without regard to case.
[[nodiscard]] int TextColumnSize(const QString& table, const QString& column);

// Whether the table's ID is an auto-numbered COUNTER (Clients, ReceivedData, IntermediateData,
// BiddingData, PlayData), whose new number is asked for after an append.
[[nodiscard]] bool HasCounterColumn(const QString& table);

// Writes a new, empty database file FileName (which must not exist). ErrorMessage is empty on success
// and holds the provider's or the system's text otherwise; nothing is thrown.
void CreateEmptyDatabase(const QString& FileName, QString& ErrorMessage);

// Creates the file FileName and its tables. ErrorMessage is empty on success, else the text of the
// first error: an existing file fails before any statement runs; a failing statement stops the later
// ones and leaves the file with the tables made so far. Nothing is shown and nothing is thrown.
// Where new files are Access files (CreatesAccessFiles), the file is made through ADOX.Catalog's Create
// and the statements run through an ADODB.Connection, each exactly as written; when ADOX.Catalog is not
// registered, through the Access ODBC driver instead. Elsewhere the file is SQLite.
void CreateBWS(const QString& FileName, bool WithPlayTables, bool WithBM2Settings, QString& ErrorMessage);

// The same, telling which route made the file (also remembered as LastCreationRoute).
void CreateBWS(
    const QString& FileName, bool WithPlayTables, bool WithBM2Settings, QString& ErrorMessage, CreationRoute& route);

} // namespace kibic
