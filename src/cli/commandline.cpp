#include "cli/commandline.h"

#include "cli/commandsupport.h"
#include "cli/terminalprogress.h"
#include "platform/programversion.h"

#include <QTextStream>
#include <algorithm>

namespace {

const OptionSpec GlobalOptions[] = {
    {QStringLiteral("--help"), QString(),
     QStringLiteral("show the commands; CMD --help or help CMD: that command's page"), QStringLiteral("-h")},
    {QStringLiteral("--version"), QString(), QStringLiteral("show the program's version and build commit"),
     QStringLiteral("-V")},
};

// Column where the help text of a list line starts.
constexpr int HelpColumn = 24;

QString listLine(const QString &head, const QString &text) {
    const QString padded = QStringLiteral("  ") + head;
    if (padded.size() + 2 > HelpColumn)
        return padded + QStringLiteral("  ") + text + QLatin1Char('\n');
    return padded.leftJustified(HelpColumn) + text + QLatin1Char('\n');
}

QString optionHead(const OptionSpec &option) {
    const QString value = option.value.isEmpty() ? QString() : QLatin1Char(' ') + option.value;
    QString head = option.name + value;
    if (!option.alias.isEmpty())
        head += QStringLiteral(", ") + option.alias +
                (option.alias.startsWith(QLatin1String("--")) ? value : QString());
    return head;
}

QString usageLine(const CommandSpec &command) {
    QStringList words{QStringLiteral("Usage: vyr2-sty"), command.name};
    words << command.arguments;
    if (!command.options.empty())
        words << QStringLiteral("[OPTIONS]");
    return words.join(QLatin1Char(' '));
}

const CommandSpec *findCommand(const QString &name) {
    const std::vector<CommandSpec> &table = commandTable();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const CommandSpec &command) { return command.name == name; });
    return found == table.end() ? nullptr : &*found;
}

const OptionSpec *findOption(const CommandSpec &command, const QString &name) {
    for (const OptionSpec &option : command.options)
        if (option.name == name || option.alias == name)
            return &option;
    return nullptr;
}

int usageError(QTextStream &err, const CommandSpec &command, const QString &problem) {
    err << command.name << ": " << problem << "; see: vyr2-sty help " << command.name << Qt::endl;
    return UsageStatus;
}

bool isHelp(const QString &word) {
    return word == QLatin1String("--help") || word == QLatin1String("-h");
}

// An option word: "-" alone names standard input or output and "-5" is a number, not options.
bool isOption(const QString &word) {
    return word.size() > 1 && word.startsWith(QLatin1Char('-')) && !word[1].isDigit();
}

// Parses the words after the command name; false, with the problem on `err`, on a wrong one.
bool parseArguments(const CommandSpec &command, const QStringList &words, CommandArguments &args,
                    QTextStream &err) {
    args.command = command.name;
    bool optionsEnd = false;
    for (qsizetype k = 0; k < words.size(); ++k) {
        const QString &word = words[k];
        if (optionsEnd || !isOption(word)) {
            args.positional << word;
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? word : word.left(equals);
        const OptionSpec *option = findOption(command, name);
        if (!option) {
            usageError(err, command, QStringLiteral("unknown option %1").arg(name));
            return false;
        }
        if (args.has(option->name)) {
            usageError(err, command, QStringLiteral("option %1 given twice").arg(option->name));
            return false;
        }
        QString value;
        if (option->value.isEmpty()) {
            if (equals >= 0) {
                usageError(err, command, QStringLiteral("option %1 takes no value").arg(name));
                return false;
            }
        } else if (equals >= 0) {
            value = word.mid(equals + 1);
        } else if (k + 1 < words.size()) {
            value = words[++k];
        } else {
            usageError(err, command, QStringLiteral("option %1 needs a value %2").arg(name, option->value));
            return false;
        }
        args.options[option->name] = value;
    }
    if (args.positional.size() < command.arguments.size()) {
        usageError(err, command, QStringLiteral("missing %1").arg(command.arguments[args.positional.size()]));
        return false;
    }
    if (args.positional.size() > command.arguments.size()) {
        usageError(err, command,
                   QStringLiteral("surplus argument \"%1\"").arg(args.positional[command.arguments.size()]));
        return false;
    }
    return true;
}

} // namespace

std::optional<QString> CommandArguments::value(const QString &option) const {
    const auto found = options.find(option);
    return found == options.end() ? std::nullopt : std::optional<QString>(found->second);
}

QString commandList() {
    QString text = QStringLiteral("Usage: vyr2-sty COMMAND [ARGUMENTS] [OPTIONS]\n\nCommands:\n");
    for (const CommandSpec &command : commandTable())
        text += listLine(command.name, command.summary);
    text += QStringLiteral("\nOptions:\n");
    for (const OptionSpec &option : GlobalOptions)
        text += listLine(optionHead(option), option.help);
    return text;
}

QString commandHelp(const CommandSpec &command) {
    QString text = usageLine(command) + QStringLiteral("\n\n") + command.description + QLatin1Char('\n');
    if (!command.options.empty()) {
        text += QStringLiteral("\nOptions:\n");
        for (const OptionSpec &option : command.options)
            text += listLine(optionHead(option), option.help);
    }
    text += QStringLiteral("\nExample:\n");
    for (const QString &example : command.examples)
        text += QStringLiteral("  ") + example + QLatin1Char('\n');
    return text;
}

int runCommandLine(const QStringList &args, QTextStream &out, QTextStream &err) {
    if (args.isEmpty()) {
        err << "vyr2-sty: no command given; see: vyr2-sty --help" << Qt::endl;
        return UsageStatus;
    }
    const QString &first = args[0];
    if (isHelp(first) || first == QLatin1String("help")) {
        if (args.size() == 1) {
            out << commandList();
            return 0;
        }
        const CommandSpec *command = args.size() == 2 ? findCommand(args[1]) : nullptr;
        if (!command) {
            err << "vyr2-sty: no command \"" << args.mid(1).join(QLatin1Char(' '))
                << "\"; see: vyr2-sty --help" << Qt::endl;
            return UsageStatus;
        }
        out << commandHelp(*command);
        return 0;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-V")) {
        out << "vyr2-sty " << programVersion() << Qt::endl;
        return 0;
    }
    const CommandSpec *command = findCommand(first);
    if (!command) {
        err << "vyr2-sty: unknown command \"" << first << "\"; see: vyr2-sty --help" << Qt::endl;
        return UsageStatus;
    }
    const QStringList words = args.mid(1);
    const qsizetype optionsEnd = words.indexOf(QStringLiteral("--"));
    if (std::any_of(words.begin(), optionsEnd < 0 ? words.end() : words.begin() + optionsEnd, isHelp)) {
        out << commandHelp(*command);
        return 0;
    }
    CommandArguments parsed;
    if (!parseArguments(*command, words, parsed, err))
        return UsageStatus;
    setReaderWarnings(parsed.has(QStringLiteral("--strict")) ? ReaderWarnings::Refused
                                                             : ReaderWarnings::Reported);
    setSaveReport(parsed.has(QStringLiteral("--verbose")) ? SaveReport::ChunkLog : SaveReport::OneLine);
    const int status = command->run(parsed, out, err);
    TerminalProgress::instance().clear();
    return status;
}
