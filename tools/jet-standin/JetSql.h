// Jet SQL as the Jet 4.0 ODBC driver takes it, translated to SQLite only where the two differ.
#pragma once

#include "JetErrors.h"

#include <optional>
#include <string>
#include <vector>

namespace jetstandin {

enum class StatementKind { Select, Insert, Update, Delete, CreateTable, Other };

// A text literal of an INSERT's VALUES or an UPDATE's SET, and the column it is written to.
struct LiteralValue
{
    std::string Column;
    std::string Text; // UTF-8, quotes removed
};

struct TranslatedStatement
{
    std::string Sql; // what SQLite runs
    StatementKind Kind = StatementKind::Other;
    std::string Table; // the table an INSERT, UPDATE, DELETE or CREATE TABLE names
    // Per parameter marker in order: the column it is written to ("" where it is not a column's value),
    // so that a text can be checked against its column.
    std::vector<std::string> ParameterColumns;
    // The text literals written to columns, in the order of their named parameters :jetlit0, :jetlit1, ...
    std::vector<LiteralValue> Literals;
    std::vector<std::string> YesNoColumns; // CREATE TABLE: the Yes/No columns
    std::optional<JetFailure> Refusal; // the statement is refused as Jet refuses it
    std::string RefusalDetail;

    [[nodiscard]] bool IsWrite() const
    {
        return Kind == StatementKind::Insert || Kind == StatementKind::Update || Kind == StatementKind::Delete;
    }
};

// Translates one statement. extendedAnsiSql is the connection's ExtendedAnsiSQL setting.
[[nodiscard]] TranslatedStatement TranslateJetSql(const std::string& jet, bool extendedAnsiSql);

// The triggers that keep a Yes/No column at Jet's -1 and 0 whatever nonzero number is written.
[[nodiscard]] std::string YesNoTriggers(const std::string& table, const std::vector<std::string>& columns);

// SQLite's name quoting of an identifier.
[[nodiscard]] std::string QuotedName(const std::string& name);

} // namespace jetstandin
