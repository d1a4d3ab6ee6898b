// Score compiler: reads a text score and writes the song as a "YM5!" file.
//
// usage: ymcompose SCORE -o OUT.ym [--sections]
// The output depends on the score alone, so the committed song can be rebuilt
// and compared byte for byte.
#include <cstdio>
#include <cstring>
#include <string>

#include "generators/compose/drum_synth.h"
#include "generators/compose/score.h"
#include "generators/compose/sequencer.h"
#include "cli/read_file.h"
#include "generators/writers/ym_song_writer.h"


int main(int argc, char** argv) {
    const char* input = nullptr;
    const char* output = nullptr;
    bool sections = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) output = argv[++i];
        else if (std::strcmp(argv[i], "--sections") == 0) sections = true;
        else if (!input && argv[i][0] != '-') input = argv[i];
        else input = nullptr, i = argc;
    }
    if (!input || !output) {
        std::fprintf(stderr, "usage: ymcompose SCORE -o OUT.ym [--sections]\n");
        return 2;
    }
    std::string text, error;
    if (!readWholeFile(input, text)) {
        std::fprintf(stderr, "ymcompose: cannot read %s\n", input);
        return 1;
    }
    Score score;
    YmRegisterSong song;  // "YM5!", interleaved, 2 MHz, 50 Hz, loop frame 0
    if (!parseScore(text, score, error) || !sequenceScore(score, song.frames, error)) {
        std::fprintf(stderr, "ymcompose: %s: %s\n", input, error.c_str());
        return 1;
    }
    song.masterClock = kComposeMasterClock;
    song.playerRate = kComposeFrameRate;
    song.texts = {score.title, score.author, score.comment};
    for (const SampleRecipe& recipe : score.samples) song.drums.push_back(synthesiseSample(recipe));
    YmBytes bytes = writeRegisterSong(song);
    if (!writeFileBytes(output, bytes)) {
        std::fprintf(stderr, "ymcompose: cannot write %s\n", output);
        return 1;
    }
    double seconds = static_cast<double>(song.frames.size()) / song.playerRate;
    std::printf("%s: %zu frames (%d:%04.1f), %zu digidrums, %zu bytes\n", output, song.frames.size(),
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
