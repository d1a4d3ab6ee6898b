// Describes a YM song (plain or "-lh5-"-packed) or renders it the way the demo
// plays it: 44,100 Hz 16-bit stereo through YmMusic::renderAudio, looping.
//
//   ymrender FILE                                   what the file is
//   ymrender FILE -o OUT.wav [--seconds S] [--request N]
//   ymrender FILE --raw [--seconds S] [--request N] > OUT.raw
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tools/progress_bar.h"
#include "tools/read_file.h"
#include "tools/wav_format.h"
#include "ym/ym_music.h"

namespace {

const int32_t OUTPUT_RATE = WAV_RATE;
const double MAX_SECONDS = 24.0 * 3600.0;
const int32_t MAX_REQUEST = 1 << 20;

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

// Reads the whole file into a malloc'ed block, as the demo's resource copy is.
bool readFile(const char* path, uint8_t** data, int32_t* size) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes) || bytes.size() > 0x7FFFFFFFu) return false;
    *data = static_cast<uint8_t*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
    if (!*data) return false;
    if (!bytes.empty()) std::memcpy(*data, bytes.data(), bytes.size());
    *size = int32_t(bytes.size());
    return true;
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

const char* text(const char* value) { return value ? value : "(none)"; }

void describe(const char* path, const char* tag, bool packed, const YmMusic& music) {
    std::printf("File:         %s%s\n", path, packed ? " (-lh5- packed)" : "");
    std::printf("Tag:          %s\n", tag);
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
    std::printf("Title:        %s\n", text(music.title));
    std::printf("Author:       %s\n", text(music.author));
    std::printf("Comment:      %s\n", text(music.comment));
    std::printf("Format:       %s\n", text(music.formatLabel));
    std::printf("Driver:       %s\n", text(music.driverLabel));
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

    auto music = std::make_unique<YmMusic>();
    music->release();
    if (!readFile(options.inputPath, &music->fileData, &music->fileSize)) {
        std::fprintf(stderr, "ymrender: cannot read %s\n", options.inputPath);
        return 1;
    }
    bool packed = music->fileSize >= 7 && music->fileData[0] != 0 &&
                  std::memcmp(music->fileData + 2, "-lh5-", 5) == 0;
    music->fileData = music->depack(uint32_t(music->fileSize));
    char tag[5] = "?";
    if (music->fileData && music->fileSize >= 4) {
        std::memcpy(tag, music->fileData, 4);
        for (int i = 0; i < 4; i++) tag[i] = (tag[i] >= 32 && tag[i] < 127) ? tag[i] : '?';
        tag[4] = 0;
    }
    if (!music->fileData || !music->parseFile()) {
        std::fprintf(stderr, "%s\n", music->lastError);
        return 1;
    }
    music->chip.resetChip();
    music->musicReady = 1;
    music->paused = 0;
    music->chip.setLowPass(true);
    music->loopEnabled = true;

    if (!options.raw && !options.wavPath) {
        describe(options.inputPath, tag, packed, *music);
        return 0;
    }
    double seconds = options.seconds > 0 ? options.seconds : double(framesPerPass(*music)) / OUTPUT_RATE;
    int64_t total = int64_t(std::llround(seconds * OUTPUT_RATE));
    if (!options.raw && total > WAV_MAX_FRAMES) return usage("that many seconds do not fit in a WAV file");
    FILE* out = options.raw ? stdout : std::fopen(options.wavPath, "wb");
    if (!out) {
        std::fprintf(stderr, "ymrender: cannot write %s\n", options.wavPath);
        return 1;
    }
    bool ok = render(*music, options, total, out);
    ok = (options.raw ? std::fflush(out) == 0 : std::fclose(out) == 0) && ok;
    if (!ok) {
        std::fprintf(stderr, "ymrender: writing the output failed\n");
        return 1;
    }
    return 0;
}
