#pragma once
// ymplay's command line (CLI11):
//   ymplay [--passes N] [--start S] [--mute A|B|C]... [--no-ui] FILE|DIR...
#include <string>
#include <vector>

#include "programs/ymplay/player_session.h"

struct PlayerOptions {
    std::vector<std::string> paths;
    PlayerSettings settings;
    bool noUi = false;
};

// Fills `options` and returns -1 to go on, or the exit code to end with: 0
// after --help or --version (on standard output), 2 for bad arguments (the
// problem and the usage on standard error).
int parsePlayerOptions(int argc, char** argv, PlayerOptions* options);
