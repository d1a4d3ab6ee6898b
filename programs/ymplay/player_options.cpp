#include "programs/ymplay/player_options.h"

#include <cctype>

#include "cli/command_line.h"

namespace {

const char USAGE[] = "usage: ymplay [--passes N] [--start S] [--mute A|B|C]... [--no-ui] FILE|DIR...\n";
const char ABOUT[] =
    "Plays YM songs (plain or -lh5- packed) through the sound card, in a full-terminal view.\n"
    "Keys: Space pause, Left/Right 5 s, Page Up/Down 30 s, Home start, 1 2 3 mute a voice,\n"
    "+ - volume, n p next and previous song, l loop, s shuffle, q or Escape quit.\n";

}  // namespace

int parsePlayerOptions(int argc, char** argv, PlayerOptions* options) {
    CommandLine line("ymplay", USAGE, ABOUT);
    CLI::App& app = line.app;
    PlayerSettings& settings = options->settings;
    std::string passes, start;
    std::vector<std::string> muted;
    app.add_option("FILE|DIR", options->paths, "Songs, and folders to walk for songs (in name order)")
        ->type_name("")
        ->required();
    app.add_option("--passes", passes, "Plays of a song with a loop before the next; 0: for ever (default 1)")
        ->type_name("N")
        ->check(wholeNumberIn(0, 1000000, "needs a whole number from 0 to 1000000"));
    app.add_option("--start", start, "Start the first song at S seconds")
        ->type_name("S")
        ->check(numberIn(0, 86400, true, "needs a number of seconds from 0 (at most a day)"));
    app.add_option("--mute", muted, "Start with voice A, B or C muted (repeatable)")
        ->type_name("A|B|C")
        ->check(CLI::IsMember({"A", "B", "C"}, CLI::ignore_case).description(""))
        ->allow_extra_args(false);
    app.add_flag("--no-ui", options->noUi,
                 "One line per song on standard output and nothing else (the default when it is not a terminal)");
    const int ended = line.parse(argc, argv);
    if (ended >= 0) return ended;
    int64_t whole = 0;
    if (readWholeNumber(passes, &whole)) settings.passes = int(whole);
    if (!start.empty()) readNumber(start, &settings.startSeconds);
    for (const std::string& voice : muted) {
        settings.mutedVoices |= 1u << (std::toupper(static_cast<unsigned char>(voice[0])) - 'A');
    }
    return -1;
}
