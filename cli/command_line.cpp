#include "cli/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// --help: the usage lines and the description first, then CLI11's lists.
class UsageFirst : public CLI::Formatter {
public:
    explicit UsageFirst(std::string head) : head(std::move(head)) {}
    std::string make_usage(const CLI::App*, std::string) const override { return head; }
    std::string make_description(const CLI::App*) const override { return ""; }

private:
    std::string head;
};

}  // namespace

CommandLine::CommandLine(const char* name, const char* usage, const char* about)
    : app(about, name), name(name), usage(usage) {
    app.formatter(std::make_shared<UsageFirst>(this->usage + about));
    app.set_help_flag("-h,--help", "Print this usage, and exit");
    app.set_version_flag("--version", versionLine(), "Print the program's name and version, and exit");
}

std::string CommandLine::versionLine() const { return name + " " + VITRELUME_VERSION; }

int CommandLine::parse(int argc, char** argv) {
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(app.help().c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    } catch (const CLI::CallForVersion&) {
        std::printf("%s\n", versionLine().c_str());
        return std::fflush(stdout) == 0 ? 0 : 1;
    } catch (const CLI::ExtrasError&) {
        return refuseExtra();
    } catch (const CLI::RequiredError& error) {
        // An unknown option explains a missing argument better than the other way round.
        return app.remaining().empty() ? refuse(error.what()) : refuseExtra();
    } catch (const CLI::ArgumentMismatch& error) {
        // CLI11 says "--seconds: 1 required S missing" and "--seconds: At Most
        // 1 required but received 2"; these say it plainly.
        const std::string text = error.what();
        const std::string option = text.substr(0, text.find(": "));
        if (endsWith(text, " missing")) return refuse(option + " needs a value");
        if (text.find(": At Most 1 required") != std::string::npos) return refuse(option + " given more than once");
        return refuse(text);
    } catch (const CLI::ParseError& error) {
        return refuse(error.what());
    }
    return -1;
}

int CommandLine::refuseExtra() const {
    // What no option took: the first one tells the user what went wrong.
    const std::string extra = app.remaining().front();
    return refuse((extra.size() > 1 && extra[0] == '-' ? "unknown option " : "unexpected argument ") + extra);
}

int CommandLine::refuse(const std::string& problem) const {
    std::fprintf(stderr, "%s: %s\n%s", name.c_str(), problem.c_str(), usage.c_str());
    return EXIT_BAD_ARGUMENTS;
}

bool readNumber(const std::string& text, double* value) {
    char* end = nullptr;
    *value = std::strtod(text.c_str(), &end);
    return end != text.c_str() && *end == 0 && std::isfinite(*value);
}

bool readWholeNumber(const std::string& text, int64_t* value) {
    char* end = nullptr;
    errno = 0;
    const long long number = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != 0 || errno != 0) return false;
    *value = number;
    return true;
}

namespace {

CLI::Validator checkedBy(std::function<bool(const std::string&)> accepts, const std::string& message) {
    return CLI::Validator(
        [accepts, message](std::string& value) {
            if (accepts(value)) return std::string();
            return message + (value.empty() ? ", not an empty text" : ", not " + value);
        },
        "");
}

}  // namespace

CLI::Validator acceptedWhen(bool (*accepts)(const std::string& value), const std::string& message) {
    return checkedBy(accepts, message);
}

CLI::Validator numberIn(double low, double high, bool lowAllowed, const std::string& message) {
    return checkedBy(
        [low, high, lowAllowed](const std::string& text) {
            double number = 0;
            return readNumber(text, &number) && (lowAllowed ? number >= low : number > low) && number <= high;
        },
        message);
}

CLI::Validator wholeNumberIn(int64_t low, int64_t high, const std::string& message) {
    return checkedBy(
        [low, high](const std::string& text) {
            int64_t number = 0;
            return readWholeNumber(text, &number) && number >= low && number <= high;
        },
        message);
}
