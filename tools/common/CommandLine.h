// The command line of the tools: options read by QCommandLineParser, refusals in the program's words.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>

namespace kibic::tools {

// One option: its name without the dashes and, for one that takes a value, the value's name (empty for a
// switch without a value).
struct OptionRule
{
    QString Name;
    QString ValueName;
};

// The options and positional arguments of one command line. Only an argument that begins with "--" is an
// option ("--name", "--name value" or "--name=value"); any other, one that begins with a single "-"
// included, is a positional argument: a negative number, "-" for standard input, or a piece of a file
// name split at its spaces. After "--" alone every argument is positional.
class CommandLine
{
public:
    CommandLine(std::initializer_list<OptionRule> options);
    explicit CommandLine(const QList<OptionRule>& options);

    // Reads arguments (without the program's name). False on an unknown option, an option without its
    // value, a value given to a switch, or an option given more than once; Error() then says which.
    [[nodiscard]] bool Parse(const QStringList& arguments);

    // Why Parse refused the command line, in Polish; empty after a successful Parse.
    [[nodiscard]] const QString& Error() const { return m_error; }

    [[nodiscard]] bool IsSet(const QString& name) const;
    // The value of an option that takes one; none when the option was not given.
    [[nodiscard]] std::optional<QString> Value(const QString& name) const;
    [[nodiscard]] const QStringList& Positional() const { return m_positional; }

private:
    [[nodiscard]] bool TakesValue(const QString& name) const;
    [[nodiscard]] QString Refusal(const QStringList& arguments) const;

    QList<OptionRule> m_rules;
    QCommandLineParser m_parser;
    QStringList m_positional;
    QString m_error;
};

} // namespace kibic::tools
