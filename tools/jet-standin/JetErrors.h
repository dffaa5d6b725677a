// The failures the Jet stand-in reports, each with the SQLSTATE, native code and text of the Jet 4.0 ODBC driver.
#pragma once

#include <string>

namespace jetstandin {

// Every failure the driver can report. Engine failures carry the negative native code Jet gives (the
// desktop drivers' own failures carry zero or a positive code); the catalogue in JetErrors.cpp names
// the documentation of each.
enum class JetFailure {
    Lock,
    PlacedInState,
    FileNotFound,
    InvalidPath,
    NotValidFileName,
    UnrecognizedFormat,
    DiskOrNetwork,
    CommunicationLink,
    SyntaxCreateTable,
    SyntaxInsert,
    SyntaxMissingOperator,
    TableNotFound,
    TableExists,
    TooFewParameters,
    NullNotAllowed,
    DuplicateKey,
    FieldTooSmall,
    OptionalFeature,
    DatabaseExists,
    ReservedError,
    // Failures of the calling sequence or of the arguments, found by the driver itself.
    FunctionSequence,
    InvalidCursorState,
    InvalidDescriptorIndex,
    InvalidStringLength,
    InvalidAttribute,
    InformationType,
    InvalidBufferType,
    IndicatorRequired,
    InvalidCast,
    NumericOutOfRange,
    RestrictedType,
    NoDataSource,
};

struct JetErrorText
{
    const char* SqlState;
    int Native;
    const char* Polish; // a printf pattern with at most one %s, the file, table or detail
};

[[nodiscard]] const JetErrorText& ErrorText(JetFailure failure);

// "[Microsoft][Sterownik ODBC Microsoft Access] " and the failure's text with detail put in.
[[nodiscard]] std::string ErrorMessage(JetFailure failure, const std::string& detail = {});

// The warnings of SQLGetData and of the conversions (SQLSTATE 01xxx).
inline constexpr const char* kStringTruncatedState = "01004";
inline constexpr const char* kFractionalTruncationState = "01S07";

} // namespace jetstandin
