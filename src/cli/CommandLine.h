// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <optional>

namespace tessel {

class Kit;

// tessel-flash's options, parsed once; each mode reads what it needs.
struct CommandLine
{
    CommandLine();

    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption kit;
    QCommandLineOption output;
    QCommandLineOption list;
    QCommandLineOption toSna;
    QCommandLineOption extract;
    QCommandLineOption show;
    QCommandLineOption force;
    QCommandLineOption poke;
};

// Says what went wrong on stderr, as every mode does; returns the exit status 1.
int fail(const QString& message);
// One warning on stderr, the run goes on.
void warn(const QString& message);
// The kit of a run: --kit, else the program folder the program finds.
std::optional<Kit> kitOf(const CommandLine& line, QString* error);

// The modes, one function each; each returns the exit status.
int runToSna(const CommandLine& line);
int runExtract(const CommandLine& line);
int runShow(const CommandLine& line);
int runBuild(const CommandLine& line);

} // namespace tessel
