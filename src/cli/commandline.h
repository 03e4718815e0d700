#pragma once

#include <QStringList>
#include <map>
#include <optional>
#include <vector>

class QTextStream;

// The exit status of a wrong command line, as GNU tools have it.
constexpr int UsageStatus = 2;

// One option of a command: "--name" alone, or "--name VALUE" / "--name=VALUE" when `value` names
// what it takes.
struct OptionSpec {
    QString name;
    QString value;
    QString help;
    // Another spelling that means the same option ("--colors" beside "--colours").
    QString alias = {};
};

// A command's arguments once the command line is parsed: the positional arguments, exactly as
// many as the command's usage names, and the options given, each once.
class CommandArguments {
public:
    QString command;
    QStringList positional;
    std::map<QString, QString> options;

    const QString &operator[](qsizetype k) const { return positional[k]; }
    bool has(const QString &option) const { return options.contains(option); }
    std::optional<QString> value(const QString &option) const;
};

using CommandFunction = int (*)(const CommandArguments &args, QTextStream &out, QTextStream &err);

// A command of vyr2-sty: what its help page says and the function that runs it.
struct CommandSpec {
    QString name;
    QStringList arguments;
    QString summary;
    QString description;
    std::vector<OptionSpec> options;
    QStringList examples;
    CommandFunction run;
};

// Every command, in the order the help lists them.
const std::vector<CommandSpec> &commandTable();

// The short list of commands that --help prints.
QString commandList();
// The help page of one command: usage, description, options and examples.
QString commandHelp(const CommandSpec &command);

// Runs the command named by the first argument and returns the exit status: 0 on success, 1 on a
// refusal or failure, 2 on a wrong command line (check and diff have their own, see their help).
int runCommandLine(const QStringList &args, QTextStream &out, QTextStream &err);
