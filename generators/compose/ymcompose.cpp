// Score compiler: reads a text score and writes the song as a "YM5!" file.
//
// usage: ymcompose SCORE -o OUT.ym [--sections]
// The output depends on the score alone, so the committed song can be rebuilt
// and compared byte for byte.
#include <cstdio>
#include <string>

#include "cli/command_line.h"
#include "cli/read_file.h"
#include "generators/compose/drum_synth.h"
#include "generators/compose/score.h"
#include "generators/compose/sequencer.h"
#include "generators/writers/ym_song_writer.h"

int main(int argc, char** argv) {
    CommandLine command("ymcompose", "usage: ymcompose SCORE -o OUT.ym [--sections]\n",
                        "Compiles a text score into a \"YM5!\" song; --sections lists where each section starts.\n");
    std::string input, output;
    bool sections = false;
    command.app.add_option("SCORE", input, "The score")->type_name("")->required();
    command.app.add_option("-o", output, "The song to write")->type_name("OUT.ym")->required();
    command.app.add_flag("--sections", sections, "Print each section's start");
    int ended = command.parse(argc, argv);
    if (ended >= 0) return ended;
    std::string text, error;
    if (!readWholeFile(input, text)) {
        std::fprintf(stderr, "ymcompose: cannot read %s\n", input.c_str());
        return 1;
    }
    Score score;
    YmRegisterSong song;  // "YM5!", interleaved, 2 MHz, 50 Hz, loop frame 0
    if (!parseScore(text, score, error) || !sequenceScore(score, song.frames, error)) {
        std::fprintf(stderr, "ymcompose: %s: %s\n", input.c_str(), error.c_str());
        return 1;
    }
    song.masterClock = kComposeMasterClock;
    song.playerRate = kComposeFrameRate;
    song.texts = {score.title, score.author, score.comment};
    for (const SampleRecipe& recipe : score.samples) song.drums.push_back(synthesiseSample(recipe));
    YmBytes bytes = writeRegisterSong(song);
    if (!writeFileBytes(output, bytes)) {
        std::fprintf(stderr, "ymcompose: cannot write %s\n", output.c_str());
        return 1;
    }
    double seconds = static_cast<double>(song.frames.size()) / song.playerRate;
    std::printf("%s: %zu frames (%d:%04.1f), %zu digidrums, %zu bytes\n", output.c_str(), song.frames.size(),
                static_cast<int>(seconds) / 60, seconds - 60 * (static_cast<int>(seconds) / 60),
                song.drums.size(), bytes.size());
    if (sections) {
        for (size_t i = 0; i < score.sectionNames.size(); ++i) {
            double at = static_cast<double>(score.sectionRows[i]) * score.framesPerRow / song.playerRate;
            std::printf("  %6.2f s  bar %3d  %s\n", at, score.sectionRows[i] / 16 + 1, score.sectionNames[i].c_str());
        }
    }
    return 0;
}
