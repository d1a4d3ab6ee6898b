// Describes a YM song (plain or "-lh5-"-packed) or renders it the way the demo
// plays it: 44,100 Hz 16-bit stereo through YmMusic::renderAudio, looping.
//
//   ymrender FILE                                   what the file is
//   ymrender FILE -o OUT.wav [--seconds S] [--request N]
//   ymrender FILE --raw [--seconds S] [--request N] > OUT.raw
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tools/atomic_file.h"
#include "tools/progress_bar.h"
#include "tools/read_file.h"
#include "tools/wav_format.h"
#include "ym/ym_music.h"

namespace {

const int32_t OUTPUT_RATE = WAV_RATE;
const double MAX_SECONDS = 24.0 * 3600.0;
const int32_t MAX_REQUEST = 1 << 20;
const size_t MAX_INPUT_MIB = 64;  // no song comes near it; the depacker takes no bigger member

struct Options {
    const char* inputPath = nullptr;
    const char* wavPath = nullptr;
    bool raw = false;
    double seconds = -1.0;  // negative: one pass of the song
    int32_t request = 2205;
};

int usage(const char* problem) {
    std::fprintf(stderr,
                 "ymrender: %s\n"
                 "usage: ymrender FILE\n"
                 "       ymrender FILE -o OUT.wav [--seconds S] [--request N]\n"
                 "       ymrender FILE --raw [--seconds S] [--request N] > OUT.raw\n",
                 problem);
    return 2;
}

bool parseNumber(const char* text, double* value) {
    char* end = nullptr;
    *value = std::strtod(text, &end);
    return end != text && *end == 0 && std::isfinite(*value);
}

// Returns 0 when the options are usable, else the exit code of a usage error.
int parseOptions(int argc, char** argv, Options* options) {
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        double number = 0;
        if (arg == "-o") {
            if (!hasValue) return usage("-o needs a file name");
            options->wavPath = argv[++i];
        } else if (arg == "--raw") {
            options->raw = true;
        } else if (arg == "--seconds") {
            if (!hasValue || !parseNumber(argv[++i], &number) || number <= 0 || number > MAX_SECONDS) {
                return usage("--seconds needs a number of seconds above 0 (at most a day)");
            }
            options->seconds = number;
        } else if (arg == "--request") {
            if (!hasValue || !parseNumber(argv[++i], &number) || number < 1 || number > MAX_REQUEST ||
                number != std::floor(number)) {
                return usage("--request needs a whole number of frames from 1 to 1048576");
            }
            options->request = int32_t(number);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage(("unknown option " + arg).c_str());
        } else if (options->inputPath) {
            return usage("only one input file");
        } else {
            options->inputPath = argv[i];
        }
    }
    if (!options->inputPath) return usage("no input file");
    if (options->raw && options->wavPath) return usage("-o and --raw exclude each other");
    bool renders = options->raw || options->wavPath;
    if (!renders && (options->seconds > 0 || options->request != 2205)) {
        return usage("--seconds and --request need -o or --raw");
    }
    return 0;
}

// What the song texts may hold reaches the terminal as plain text: bytes
// outside printable ASCII (control characters, escape sequences, line
// breaks) and the backslash print as \xNN and \\.
std::string printable(const char* text) {
    if (!text) return "(none)";
    std::string out;
    for (const char* p = text; *p; p++) {
        unsigned char c = static_cast<unsigned char>(*p);
        char escaped[8];
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 32 && c < 127) {
            out += char(c);
        } else {
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
        }
    }
    return out;
}

// The tag of the file, known by the format label that the loader gives each.
const char* tagOf(const YmMusic& music) {
    static const char* const labelsAndTags[][2] = {{"YM 2", "YM2!"},  {"YM 3", "YM3!"},  {"YM 3b (loop)", "YM3b"},
                                                   {"YM 5", "YM5!"},  {"YM 6", "YM6!"},  {"YM-T1", "YMT1"},
                                                   {"YM-T2", "YMT2"}, {"MIX1", "MIX1"}};
    for (const auto& pair : labelsAndTags) {
        if (music.formatLabel && std::strcmp(music.formatLabel, pair[0]) == 0) return pair[1];
    }
    return "?";
}

const char* kindName(int32_t kind) {
    switch (kind) {
        case KIND_YM2: return "register song, 14 registers, built-in drums";
        case KIND_YM3: return "register song, 14 registers";
        case KIND_YM5: return "register song, 16 registers with effects";
        case KIND_YM6: return "register song, 16 registers with two effect slots";
        case KIND_TRACKER: return "tracker song";
        case KIND_MIX: return "digi-mix song";
        default: return "unknown";
    }
}

// Output frames of one pass through the song.
int64_t framesPerPass(const YmMusic& music) {
    if (music.songKind == KIND_MIX) {
        double seconds = 0;
        for (int32_t i = 0; i < music.mixBlockCount; i++) {
            const MixBlock& block = music.mixBlocks[i];
            int plays = block.repeatCount > 1 ? block.repeatCount : 1;
            seconds += double(plays) * block.sampleLength / block.replayFrequency;
        }
        return int64_t(std::ceil(seconds * OUTPUT_RATE));
    }
    return int64_t(music.frameCount) * (OUTPUT_RATE / music.playerRate);
}

void describe(const char* path, bool packed, const YmMusic& music) {
    std::printf("File:         %s%s\n", printable(path).c_str(), packed ? " (-lh5- packed)" : "");
    std::printf("Tag:          %s\n", tagOf(music));
    std::printf("Kind:         %d, %s\n", int(music.songKind), kindName(music.songKind));
    if (music.songKind == KIND_MIX) {
        std::printf("Blocks:       %d\n", int(music.mixBlockCount));
    } else {
        bool tracker = music.songKind == KIND_TRACKER;
        std::printf("%s%d\n", tracker ? "Lines:        " : "Frames:       ", int(music.frameCount));
        std::printf("Player rate:  %d Hz\n", int(music.playerRate));
        std::printf("%s%d\n", tracker ? "Loop line:    " : "Loop frame:   ", int(music.loopFrame));
        if (tracker) std::printf("Voices:       %d\n", int(music.trackerVoiceCount));
    }
    std::printf("Master clock: %u Hz\n", unsigned(music.chip.masterClock));
    std::printf("Drums:        %d\n", int(music.drumCount));
    std::printf("Title:        %s\n", printable(music.title).c_str());
    std::printf("Author:       %s\n", printable(music.author).c_str());
    std::printf("Comment:      %s\n", printable(music.comment).c_str());
    std::printf("Format:       %s\n", printable(music.formatLabel).c_str());
    std::printf("Driver:       %s\n", printable(music.driverLabel).c_str());
    double seconds = double(framesPerPass(music)) / OUTPUT_RATE;
    std::printf("Length:       %d:%05.2f\n", int(seconds / 60), std::fmod(seconds, 60.0));
}

bool render(YmMusic& music, const Options& options, int64_t total, FILE* out) {
    if (!options.raw) {
        std::vector<uint8_t> header = wavHeader(uint32_t(total));
        if (std::fwrite(header.data(), 1, header.size(), out) != header.size()) return false;
    }
    std::vector<int16_t> samples(size_t(options.request) * 2);
    std::vector<uint8_t> bytes(samples.size() * 2);
    ProgressBar progress;
    for (int64_t done = 0; done < total;) {
        int32_t n = int32_t(total - done < options.request ? total - done : options.request);
        music.renderAudio(samples.data(), n);
        samplesToLittleEndian(samples.data(), size_t(n) * 2, bytes.data());
        if (std::fwrite(bytes.data(), 1, size_t(n) * 4, out) != size_t(n) * 4) return false;
        done += n;
        progress.update(done, total);
    }
    progress.finish();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    int problem = parseOptions(argc, argv, &options);
    if (problem) return problem;

    std::vector<uint8_t> bytes;
    if (!readToolInput("ymrender", options.inputPath, bytes, MAX_INPUT_MIB)) return 1;
    bool packed = bytes.size() >= 7 && bytes[0] != 0 && std::memcmp(bytes.data() + 2, "-lh5-", 5) == 0;
    auto music = std::make_unique<YmMusic>();
    if (!music->load(bytes.data(), uint32_t(bytes.size()))) {
        std::fprintf(stderr, "%s\n", music->lastError);
        return 1;
    }
    music->chip.setLowPass(true);
    music->loopEnabled = true;

    if (!options.raw && !options.wavPath) {
        describe(options.inputPath, packed, *music);
        return 0;
    }
    double seconds = options.seconds > 0 ? options.seconds : double(framesPerPass(*music)) / OUTPUT_RATE;
    int64_t total = int64_t(std::llround(seconds * OUTPUT_RATE));
    if (!options.raw && total > WAV_MAX_FRAMES) return usage("that many seconds do not fit in a WAV file");
    if (options.raw) {
        if (render(*music, options, total, stdout) && std::fflush(stdout) == 0) return 0;
        std::fprintf(stderr, "ymrender: writing the output failed\n");
        return 1;
    }
    // The WAV appears whole or not at all.
    AtomicFile wav;
    std::string error;
    if (!openAtomicFile(&wav, options.wavPath, &error)) {
        std::fprintf(stderr, "ymrender: %s\n", error.c_str());
        return 1;
    }
    if (!render(*music, options, total, wav.file)) {
        error = std::string("cannot write ") + options.wavPath + ": " + std::strerror(errno);
        abandonAtomicFile(&wav);
        std::fprintf(stderr, "ymrender: %s\n", error.c_str());
        return 1;
    }
    if (!commitAtomicFile(&wav, &error)) {
        std::fprintf(stderr, "ymrender: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
