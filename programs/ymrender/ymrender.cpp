// Describes a YM song (plain or "-lh5-"-packed) or renders it the way the demo
// plays it: 44,100 Hz 16-bit stereo through YmMusic::renderAudio, looping.
// --start and --mute are the offline twins of the player's seek and mute.
//
//   ymrender FILE                                   what the file is
//   ymrender FILE -o OUT.wav [--seconds S | --fade-out S] [--request N] [--start S] [--mute A|B|C]...
//   ymrender FILE --raw [--seconds S | --fade-out S] [--request N] [--start S] [--mute A|B|C]... > OUT.raw
//   ymrender --help | --version
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli/atomic_file.h"
#include "cli/command_line.h"
#include "cli/progress_bar.h"
#include "cli/read_file.h"
#include "cli/wav_format.h"
#include "ym/ym_music.h"

namespace {

static_assert(WAV_RATE == YM_OUTPUT_RATE, "the WAV files hold what the engine renders");
const int32_t OUTPUT_RATE = YM_OUTPUT_RATE;
const double MAX_SECONDS = 24.0 * 3600.0;
const int32_t MAX_REQUEST = 1 << 20;

struct Options {
    std::string inputPath;
    std::string wavPath;
    bool raw = false;
    double seconds = -1.0;  // negative: one pass of the song
    double fadeOut = 0;     // seconds of the loop fading to silence after one pass
    int32_t request = YM_REQUEST_FRAMES;
    double start = 0.0;
    uint32_t mutedVoices = 0;  // bit 0: voice A
};

const char USAGE[] =
    "usage: ymrender FILE\n"
    "       ymrender FILE -o OUT.wav [--seconds S | --fade-out S] [--request N] [--start S] [--mute A|B|C]...\n"
    "       ymrender FILE --raw [--seconds S | --fade-out S] [--request N] [--start S] [--mute A|B|C]... > OUT.raw\n";
const char ABOUT[] =
    "Describes a YM song (plain or -lh5- packed), or renders it as 44,100 Hz\n"
    "16-bit stereo, looping: one pass of the song, S seconds with --seconds, or\n"
    "one pass and then S seconds of the loop fading linearly to silence with\n"
    "--fade-out. --start S begins S seconds in, --mute silences a voice. N:\n"
    "frames per render request (default 2205, as the sound stream asks).\n";

// A whole number of frames, which "1e3" is too.
bool isRequest(const std::string& text) {
    double number = 0;
    return readNumber(text, &number) && number >= 1 && number <= MAX_REQUEST && number == std::floor(number);
}

// Returns -1 when the options are usable, else the exit code to end with
// (0 after --help or --version).
int parseOptions(CommandLine& line, int argc, char** argv, Options* options) {
    CLI::App& app = line.app;
    std::string seconds, fadeOut, request, start;
    std::vector<std::string> voices;
    app.add_option("FILE", options->inputPath, "The song")->type_name("");
    app.add_option("-o", options->wavPath, "Render into this WAV file")->type_name("OUT.wav");
    app.add_flag("--raw", options->raw, "Render raw samples to standard output");
    CLI::Option* rendering[] = {
        app.add_option("--seconds", seconds, "Render S seconds")
            ->type_name("S")
            ->check(numberIn(0, MAX_SECONDS, false, "needs a number of seconds above 0 (at most a day)")),
        app.add_option("--fade-out", fadeOut, "After one pass, S seconds of the loop fading to silence")
            ->type_name("S")
            ->check(numberIn(0, MAX_SECONDS, false, "needs a number of seconds above 0 (at most a day)")),
        app.add_option("--request", request, "Frames per render request (default 2205)")
            ->type_name("N")
            ->check(acceptedWhen(isRequest, "needs a whole number of frames from 1 to 1048576")),
        app.add_option("--start", start, "Begin S seconds into the song")
            ->type_name("S")
            ->check(numberIn(0, MAX_SECONDS, true, "needs a number of seconds from 0 (at most a day)")),
        app.add_option("--mute", voices, "Silence voice A, B or C (repeatable)")
            ->type_name("A|B|C")
            ->check(CLI::IsMember({"A", "B", "C"}, CLI::ignore_case).description(""))
            ->allow_extra_args(false),
    };
    int ended = line.parse(argc, argv);
    if (ended >= 0) return ended;

    if (options->inputPath.empty()) return line.refuse("no input file");
    if (options->raw && !options->wavPath.empty()) return line.refuse("-o and --raw exclude each other");
    if (rendering[0]->count() && rendering[1]->count()) {
        return line.refuse("--seconds and --fade-out exclude each other");
    }
    bool renders = options->raw || !options->wavPath.empty();
    for (const CLI::Option* option : rendering) {
        if (!renders && option->count()) {
            return line.refuse("--seconds, --fade-out, --request, --start and --mute need -o or --raw");
        }
    }
    double number = 0;
    if (readNumber(seconds, &number)) options->seconds = number;
    if (readNumber(fadeOut, &number)) options->fadeOut = number;
    if (readNumber(request, &number)) options->request = int32_t(number);
    if (readNumber(start, &number)) options->start = number;
    for (const std::string& voice : voices) {
        options->mutedVoices |= 1u << (std::toupper(static_cast<unsigned char>(voice[0])) - 'A');
    }
    return -1;
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

void describe(const char* path, bool packed, const YmSongInfo& info) {
    std::printf("File:         %s%s\n", printable(path).c_str(), packed ? " (-lh5- packed)" : "");
    std::printf("Tag:          %s\n", printable(info.tag).c_str());
    std::printf("Kind:         %d, %s\n", int(info.kind), kindName(info.kind));
    if (info.kind == KIND_MIX) {
        std::printf("Blocks:       %d\n", int(info.blockCount));
    } else {
        bool tracker = info.kind == KIND_TRACKER;
        std::printf("%s%d\n", tracker ? "Lines:        " : "Frames:       ", int(info.frameCount));
        std::printf("Player rate:  %d Hz\n", int(info.playerRate));
        std::printf("%s%d\n", tracker ? "Loop line:    " : "Loop frame:   ", int(info.loopFrame));
        if (tracker) std::printf("Voices:       %d\n", int(info.voiceCount));
    }
    std::printf("Master clock: %u Hz\n", unsigned(info.masterClock));
    std::printf("Drums:        %d\n", int(info.drumCount));
    std::printf("Title:        %s\n", printable(info.title).c_str());
    std::printf("Author:       %s\n", printable(info.author).c_str());
    std::printf("Comment:      %s\n", printable(info.comment).c_str());
    std::printf("Format:       %s\n", printable(info.format).c_str());
    std::printf("Driver:       %s\n", printable(info.driver).c_str());
    double seconds = double(info.length) / OUTPUT_RATE;
    std::printf("Length:       %d:%05.2f\n", int(seconds / 60), std::fmod(seconds, 60.0));
}

// The last `fadeFrames` of `total` fall linearly from just below full level to
// silence; the sample at `frame` (counted from the start) is scaled in place.
void fade(int16_t* samples, int32_t frames, int64_t frame, int64_t total, int64_t fadeFrames) {
    const int64_t fadeStart = total - fadeFrames;
    for (int32_t i = 0; i < frames; i++, frame++) {
        if (frame < fadeStart) continue;
        const int64_t left = total - 1 - frame;  // 0 at the last frame
        samples[2 * i] = int16_t(samples[2 * i] * left / fadeFrames);
        samples[2 * i + 1] = int16_t(samples[2 * i + 1] * left / fadeFrames);
    }
}

bool render(YmMusic& music, const Options& options, int64_t total, int64_t fadeFrames, FILE* out) {
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
        fade(samples.data(), n, done, total, fadeFrames);
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
    CommandLine line("ymrender", USAGE, ABOUT);
    Options options;
    int ended = parseOptions(line, argc, argv, &options);
    if (ended >= 0) return ended;

    std::vector<uint8_t> bytes;
    if (!readToolInput("ymrender", options.inputPath.c_str(), bytes, YM_MAX_FILE_BYTES >> 20)) return 1;
    bool packed = bytes.size() >= 7 && bytes[0] != 0 && std::memcmp(bytes.data() + 2, "-lh5-", 5) == 0;
    auto music = std::make_unique<YmMusic>();
    if (!music->load(bytes.data(), uint32_t(bytes.size()))) {
        std::fprintf(stderr, "%s\n", music->lastErrorText());
        return 1;
    }
    const YmSongInfo& info = music->info();
    if (!options.raw && options.wavPath.empty()) {
        describe(options.inputPath.c_str(), packed, info);
        return 0;
    }
    music->setLoop(true);
    for (int voice = 0; voice < 3; voice++) music->setVoiceMuted(voice, (options.mutedVoices >> voice) & 1);

    // From --start on: --seconds of it, or the rest of the first pass (and the fade after it).
    int64_t start = std::llround(options.start * OUTPUT_RATE);
    const int64_t fadeFrames = std::llround(options.fadeOut * OUTPUT_RATE);
    int64_t total = options.seconds > 0 ? std::llround(options.seconds * OUTPUT_RATE) : info.length - start;
    if (total <= 0) return line.refuse("--start lies past the end of the song's first pass: give --seconds");
    if (options.seconds <= 0) total += fadeFrames;
    if (!options.raw && total > WAV_MAX_FRAMES) return line.refuse("that many seconds do not fit in a WAV file");
    music->seek(start, options.request);
    if (options.raw) {
        if (render(*music, options, total, fadeFrames, stdout) && std::fflush(stdout) == 0) return 0;
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
    if (!render(*music, options, total, fadeFrames, wav.file)) {
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
