#include "programs/ymplay/player_options.h"

#include <CLI/CLI.hpp>
#include <iostream>

int parsePlayerOptions(int argc, char** argv, PlayerOptions* options) {
    CLI::App app{"Plays YM songs (plain or -lh5- packed) through the sound card, in a full-terminal view.\n"
                 "Keys: Space pause, Left/Right 5 s, Page Up/Down 30 s, Home start, 1 2 3 mute a voice,\n"
                 "+ - volume, n p next and previous song, l loop, s shuffle, q or Escape quit.",
                 "ymplay"};
    PlayerSettings& settings = options->settings;
    std::vector<std::string> muted;
    app.add_option("FILE|DIR", options->paths, "Songs, and folders to walk for songs (in name order)")->required();
    app.add_option("--passes", settings.passes, "Plays of a song with a loop before the next; 0: for ever")
        ->check(CLI::Range(0, 1000000))
        ->capture_default_str();
    app.add_option("--start", settings.startSeconds, "Start the first song at S seconds")
        ->check(CLI::Range(0.0, 86400.0));
    app.add_option("--mute", muted, "Start with voice A, B or C muted (repeatable)")
        ->check(CLI::IsMember({"A", "B", "C"}, CLI::ignore_case))
        ->allow_extra_args(false);
    app.add_flag("--no-ui", options->noUi,
                 "One line per song on standard output and nothing else (the default when it is not a terminal)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return 0;
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return 2;
    }
    for (const std::string& voice : muted) settings.mutedVoices |= 1u << (std::toupper(voice[0]) - 'A');
    return -1;
}
