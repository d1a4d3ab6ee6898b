// Writes ym/drum_set_data.cpp: the 40 built-in digidrums, synthesised with
// integer arithmetic only (parabolic sine, fixed-point decays, xorshift noise)
// so that every run on every machine writes the same bytes.
//
//   make_drum_set OUTPUT.cpp
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/atomic_file.h"
#include "cli/command_line.h"

namespace {

enum DrumKind { DRUM_KICK, DRUM_SNARE, DRUM_TOM, DRUM_HAT, DRUM_CYMBAL, DRUM_CLAP, DRUM_RIM };

struct DrumRecipe {
    DrumKind kind;
    uint32_t length;
    int32_t pitch;  // start frequency, phase units (65,536 per cycle) per sample
    int32_t seed;
};

// Lengths are fixed by the song format; the sounds are ours.
const DrumRecipe RECIPES[40] = {
    {DRUM_KICK, 631, 1400, 1},    {DRUM_KICK, 631, 1700, 2},    {DRUM_SNARE, 490, 2600, 3},
    {DRUM_SNARE, 490, 3100, 4},   {DRUM_KICK, 699, 1200, 5},    {DRUM_SNARE, 505, 2300, 6},
    {DRUM_TOM, 727, 1900, 7},     {DRUM_SNARE, 480, 2800, 8},   {DRUM_CYMBAL, 2108, 0, 9},
    {DRUM_CYMBAL, 4231, 0, 10},   {DRUM_TOM, 378, 2600, 11},    {DRUM_TOM, 1527, 1000, 12},
    {DRUM_HAT, 258, 0, 13},       {DRUM_HAT, 258, 0, 14},       {DRUM_RIM, 451, 5200, 15},
    {DRUM_CYMBAL, 1795, 0, 16},   {DRUM_HAT, 271, 0, 17},       {DRUM_TOM, 633, 2200, 18},
    {DRUM_TOM, 1379, 1300, 19},   {DRUM_HAT, 147, 0, 20},       {DRUM_HAT, 139, 0, 21},
    {DRUM_RIM, 85, 7000, 22},     {DRUM_HAT, 150, 0, 23},       {DRUM_CLAP, 507, 0, 24},
    {DRUM_RIM, 230, 6100, 25},    {DRUM_RIM, 120, 8000, 26},    {DRUM_HAT, 271, 0, 27},
    {DRUM_CLAP, 293, 0, 28},      {DRUM_KICK, 391, 2000, 29},   {DRUM_SNARE, 391, 3300, 30},
    {DRUM_TOM, 391, 2900, 31},    {DRUM_SNARE, 407, 2500, 32},  {DRUM_TOM, 407, 3400, 33},
    {DRUM_KICK, 407, 1800, 34},   {DRUM_CLAP, 317, 0, 35},      {DRUM_SNARE, 407, 3600, 36},
    {DRUM_RIM, 311, 4700, 37},    {DRUM_CLAP, 459, 0, 38},      {DRUM_HAT, 329, 0, 39},
    {DRUM_KICK, 656, 1100, 40},
};

struct Noise {
    uint32_t state;
    int32_t next() {  // -32768..32767
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return int32_t(state >> 16) - 32768;
    }
};

// Parabolic sine of a 16-bit phase: -32767..32767.
int32_t sine(uint32_t phase) {
    int32_t x = int32_t(phase & 0x7FFF);  // position in the half wave
    int32_t y = int32_t((int64_t(x) * (32768 - x)) >> 13);
    if (y > 32767) y = 32767;
    return (phase & 0x8000) ? -y : y;
}

// Envelope 0..65536 that falls by `decay`/65536 of itself every sample.
struct Decay {
    int64_t level;
    int64_t keep;
    int32_t next() {
        int32_t now = int32_t(level);
        level = (level * keep) >> 16;
        return now;
    }
};

int32_t scaled(int32_t value, int32_t envelope) { return int32_t((int64_t(value) * envelope) >> 16); }

std::vector<uint8_t> synthesise(const DrumRecipe& recipe) {
    Noise noise{uint32_t(recipe.seed) * 2654435761u + 12345u};
    uint32_t length = recipe.length;
    // Each sound dies away over its length whatever that is.
    int64_t keep = 65536 - int64_t(5 * 65536) / int64_t(length);
    Decay body{65536, keep};
    Decay tail{65536, 65536 - int64_t(9 * 65536) / int64_t(length)};
    uint32_t phase = 0;
    int32_t pitch = recipe.pitch;
    int32_t lowPass = 0;
    int32_t previousNoise = 0;
    std::vector<uint8_t> bytes(length);
    for (uint32_t i = 0; i < length; i++) {
        int32_t env = body.next();
        int32_t fast = tail.next();
        int32_t white = noise.next();
        int32_t high = white - previousNoise;  // crude high-pass for hats and cymbals
        previousNoise = white;
        lowPass += (white - lowPass) >> 2;
        int32_t s = 0;
        switch (recipe.kind) {
            case DRUM_KICK:
                s = scaled(sine(phase), env);
                pitch -= pitch >> 6;  // falling pitch gives the thump
                break;
            case DRUM_TOM:
                s = scaled(sine(phase), env);
                pitch -= pitch >> 9;
                break;
            case DRUM_SNARE:
                s = scaled(sine(phase), fast) / 2 + scaled(lowPass, env) * 3 / 4;
                break;
            case DRUM_HAT:
                s = scaled(high / 2, fast);
                break;
            case DRUM_CYMBAL: {
                // Two detuned squares ring under the noise.
                int32_t metal = ((i * 37 / 5) & 1 ? 9000 : -9000) + ((i * 53 / 7) & 1 ? 7000 : -7000);
                s = scaled(high / 3 + metal, env);
                break;
            }
            case DRUM_CLAP: {
                // Three quick bursts, then the room.
                uint32_t burst = i / 40;
                int32_t gate = burst < 3 && (i % 40) < 24 ? 65536 : env;
                s = scaled(lowPass, gate);
                break;
            }
            case DRUM_RIM:
                s = scaled(sine(phase) / 2 + sine(phase * 3 / 2) / 3 + white / 8, fast);
                break;
        }
        phase += uint32_t(pitch);
        int32_t byte = 128 + (s >> 8);
        bytes[i] = uint8_t(byte < 0 ? 0 : byte > 255 ? 255 : byte);
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine command("make_drum_set", "usage: make_drum_set OUTPUT.cpp\n",
                        "Writes the engine's built-in drum set as C++ (ym/drum_set_data.cpp).\n");
    std::string outPath;
    command.app.add_option("OUTPUT.cpp", outPath, "The source file to write")->type_name("")->required();
    int ended = command.parse(argc, argv);
    if (ended >= 0) return ended;
    AtomicFile file;
    std::string error;
    if (!openAtomicFile(&file, outPath, &error)) {
        std::fprintf(stderr, "make_drum_set: %s\n", error.c_str());
        return 1;
    }
    FILE* out = file.file;
    std::fprintf(out,
                 "// Generated by generators/drum_set/make_drum_set; do not edit.\n"
                 "#include \"ym/drum_set.h\"\n\nnamespace {\n\n");
    for (int d = 0; d < 40; d++) {
        std::vector<uint8_t> bytes = synthesise(RECIPES[d]);
        std::fprintf(out, "const uint8_t drum%02d[%u] = {", d, unsigned(bytes.size()));
        for (size_t i = 0; i < bytes.size(); i++) {
            std::fprintf(out, "%s%u,", i % 20 == 0 ? "\n    " : " ", unsigned(bytes[i]));
        }
        std::fprintf(out, "\n};\n\n");
    }
    std::fprintf(out, "}  // namespace\n\nconst BuiltInDrum builtInDrumSet[BUILT_IN_DRUM_COUNT] = {\n");
    for (int d = 0; d < 40; d++) {
        std::fprintf(out, "    {drum%02d, sizeof drum%02d},\n", d, d);
    }
    std::fprintf(out, "};\n");
    if (!commitAtomicFile(&file, &error)) {
        std::fprintf(stderr, "make_drum_set: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
