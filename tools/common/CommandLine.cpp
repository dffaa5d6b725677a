// Reading a tool's command line with QCommandLineParser.
#include "CommandLine.h"

#include "common/KibicError.h"

namespace kibic::tools {

namespace {

// QCommandLineParser takes an argument that begins with a single "-" for short options. Every argument
// that is no "--" option is handed to it behind this mark, which no command line can hold, and the mark
// is taken off what comes back: a positional argument, or the value that follows an option.
constexpr QChar kPositionalMark(u'\0');

QString WithoutMark(QString text)
{
    if (text.startsWith(kPositionalMark))
        text.remove(0, 1);
    return text;
}

QString DashedName(const QString& argument)
{
    return argument.section(QLatin1Char('='), 0, 0);
}

} // namespace

CommandLine::CommandLine(std::initializer_list<OptionRule> options)
    : CommandLine(QList<OptionRule>(options))
{
}

CommandLine::CommandLine(const QList<OptionRule>& options)
    : m_rules(options)
{
    for (const OptionRule& rule : m_rules)
        m_parser.addOption(QCommandLineOption(rule.Name, QString(), rule.ValueName));
}

bool CommandLine::Parse(const QStringList& arguments)
{
    QStringList marked = { QStringLiteral("program") };
    for (const QString& argument : arguments)
        marked.append(argument.startsWith(QLatin1String("--")) ? argument : kPositionalMark + argument);
    m_error.clear();
    m_positional.clear();
    if (!m_parser.parse(marked)) {
        m_error = Refusal(arguments);
        return false;
    }
    for (const OptionRule& rule : m_rules) {
        if (m_parser.optionNames().count(rule.Name) > 1) {
            m_error = QStringLiteral("Opcja --%1 podana więcej niż raz.").arg(rule.Name);
            return false;
        }
    }
    for (const QString& argument : m_parser.positionalArguments())
        m_positional.append(WithoutMark(argument));
    return true;
}

bool CommandLine::IsSet(const QString& name) const
{
    return m_parser.isSet(name);
}

std::optional<QString> CommandLine::Value(const QString& name) const
{
    if (!m_parser.isSet(name))
        return std::nullopt;
    return WithoutMark(m_parser.value(name));
}

bool CommandLine::TakesValue(const QString& name) const
{
    for (const OptionRule& rule : m_rules) {
        if (rule.Name == name)
            return !rule.ValueName.isEmpty();
    }
    return false;
}

// The parser's own error text is English; the refusal is found again from the arguments.
QString CommandLine::Refusal(const QStringList& arguments) const
{
    if (!m_parser.unknownOptionNames().isEmpty())
        return QStringLiteral("Nieznana opcja %1.")
            .arg(QuotedValue(QStringLiteral("--") + m_parser.unknownOptionNames().constFirst()));
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1String("--")) || argument.size() == 2)
            continue;
        const QString dashed = DashedName(argument);
        const bool withValue = TakesValue(dashed.mid(2));
        if (!withValue && dashed.size() < argument.size())
            return QStringLiteral("Opcja %1 nie przyjmuje wartości.").arg(dashed);
        if (withValue && dashed.size() == argument.size()) {
            if (i + 1 == arguments.size())
                return QStringLiteral("Opcja %1 wymaga wartości.").arg(dashed);
            ++i; // the option's value, whatever it looks like
        }
    }
    return m_parser.errorText();
}

} // namespace kibic::tools
