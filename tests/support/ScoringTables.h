// Scoring databases for tests, made by the production statements: a fixture never restates the schema.
#pragma once

#include "common/KibicError.h"
#include "scoringdb/uCreateBWS.h"

#include <QString>

namespace kibic::test {

// Creates the file with the tables a build makes (Clients, Section, Tables, RoundData, ReceivedData,
// IntermediateData, PlayerNumbers, Settings), all empty. A failure raises KibicError with its text.
inline void CreateScoringTables(const QString& file)
{
    QString error;
    CreateBWS(file, false, false, error);
    if (!error.isEmpty())
        throw KibicError(error);
}

} // namespace kibic::test
