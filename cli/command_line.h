#pragma once
// The command-line conventions every program of the project follows, on
// CLI11:
// - --help (or -h) prints the usage on standard output and exits with 0;
// - --version prints the program's name and the project's version, and exits
//   with 0;
// - an option takes its value as "--option value" or "--option=value";
// - a bad command line prints "NAME: PROBLEM" (the problem names the option
//   or argument) and the usage lines on standard error, and exits with 2.
#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

enum : int { EXIT_BAD_ARGUMENTS = 2 };

class CommandLine {
public:
    // `usage`: the synopsis, "usage: NAME ..." and any further lines;
    // `about`: what the program does. Both head --help, above the options.
    CommandLine(const char* name, const char* usage, const char* about);

    CLI::App app;

    // -1 to go on; 0 after --help or --version; EXIT_BAD_ARGUMENTS after a
    // bad command line, which has been reported.
    int parse(int argc, char** argv);
    // Reports a problem that the checks after parse found (a missing input,
    // two options that exclude each other) as parse reports its own;
    // returns EXIT_BAD_ARGUMENTS.
    int refuse(const std::string& problem) const;

    // "NAME VERSION", as --version prints it.
    std::string versionLine() const;

private:
    int refuseExtra() const;

    std::string name;
    std::string usage;
};

// Option values are taken as text and checked here; a refused value fails
// with "OPTION: MESSAGE, not VALUE". The number readers take the whole text
// (no trailing characters): a number as strtod reads it, finite, and a whole
// number in base 10 ("010" is ten).
bool readNumber(const std::string& text, double* value);
bool readWholeNumber(const std::string& text, int64_t* value);
CLI::Validator acceptedWhen(bool (*accepts)(const std::string& value), const std::string& message);
// A number from `low` (or above it, when `low` itself is not allowed) to `high`.
CLI::Validator numberIn(double low, double high, bool lowAllowed, const std::string& message);
CLI::Validator wholeNumberIn(int64_t low, int64_t high, const std::string& message);
