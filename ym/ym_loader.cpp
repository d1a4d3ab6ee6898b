// YM file loader: recognises the song by its tag, fills the object's fields,
// converts samples and brings interleaved frames into frame order. Every read
// goes through a bounded cursor, so a file that lies about its sizes is
// refused instead of being read past its end.
#include <cstdlib>
#include <cstring>

#include "ym/ym_music.h"

// Cursor over a file image; reads past `end` set `truncated` and yield zeros.
struct YmCursor {
    const uint8_t* at;
    const uint8_t* end;
    bool truncated;
};

namespace {

constexpr uint32_t tagOf(const char (&text)[5]) {
    return (uint32_t(uint8_t(text[0])) << 24) | (uint32_t(uint8_t(text[1])) << 16) |
           (uint32_t(uint8_t(text[2])) << 8) | uint32_t(uint8_t(text[3]));
}

const char* const TEXT_TRUNCATED = "Truncated YM file !";
const char* const TEXT_NO_MEMORY = "MALLOC Failed !";
const char* const TEXT_DEINTERLEAVE_MEMORY = "Malloc error in deInterleave()\n";

constexpr int32_t MAX_PLAYER_RATE = 44100;  // above it a tick lasts no output frame
constexpr uint32_t MAX_MIX_BLOCK_LENGTH = 1u << 20;  // keeps length << 12 inside 32 bits

char* copyText(const char* text) {
    size_t size = std::strlen(text) + 1;
    char* copy = static_cast<char*>(std::malloc(size));
    if (copy) std::memcpy(copy, text, size);
    return copy;
}

size_t bytesLeft(const YmCursor& cursor) { return size_t(cursor.end - cursor.at); }

// Moves the cursor over `count` bytes, or marks it truncated when they are not there.
const uint8_t* take(YmCursor& cursor, uint64_t count) {
    if (cursor.truncated || count > bytesLeft(cursor)) {
        cursor.truncated = true;
        cursor.at = cursor.end;
        return nullptr;
    }
    const uint8_t* start = cursor.at;
    cursor.at += count;
    return start;
}

bool hasCheckString(YmCursor& cursor) {
    const uint8_t* text = take(cursor, 8);
    return text && std::memcmp(text, "VaRnOlI!", 8) == 0;
}

// Gives a drum its own copy of `size` bytes; a drum of size 0 keeps null samples.
bool copySample(DigiDrum& drum, const uint8_t* bytes, uint32_t size) {
    if (size == 0) return true;
    drum.samples = static_cast<uint8_t*>(std::malloc(size));
    if (!drum.samples) return false;
    drum.size = size;
    std::memcpy(drum.samples, bytes, size);
    return true;
}

void freeText(char*& text) {
    std::free(text);
    text = nullptr;
}

uint32_t readBe32(YmCursor& cursor) {
    const uint8_t* p = take(cursor, 4);
    if (!p) return 0;
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint32_t readBe16(YmCursor& cursor) {
    const uint8_t* p = take(cursor, 2);
    if (!p) return 0;
    return (uint32_t(p[0]) << 8) | p[1];
}

char* readString(YmCursor& cursor) {
    if (cursor.truncated) return nullptr;
    const void* zero = std::memchr(cursor.at, 0, bytesLeft(cursor));
    if (!zero) {
        take(cursor, bytesLeft(cursor) + 1);  // unterminated: the file is cut short
        return nullptr;
    }
    size_t length = size_t(static_cast<const uint8_t*>(zero) - cursor.at);
    char* copy = static_cast<char*>(std::malloc(length + 1));
    if (copy) std::memcpy(copy, cursor.at, length + 1);
    cursor.at += length + 1;
    return copy;
}

}  // namespace

bool YmMusic::allocateDrums() {
    drums = static_cast<DigiDrum*>(std::calloc(size_t(drumCount), sizeof(DigiDrum)));
    if (drums) return true;
    drumCount = 0;
    return fail(TEXT_NO_MEMORY);
}

bool YmMusic::fail(const char* text) {
    lastError = text;
    return false;
}

bool YmMusic::parseFile() {
    if (!fileData || fileSize < 4) return fail(TEXT_TRUNCATED);
    YmCursor cursor{fileData, fileData + fileSize, false};
    uint32_t tag = readBe32(cursor);
    for (int i = 0; i < 4; i++) songInfo.tag[i] = char(tag >> (24 - 8 * i));
    bool loaded = false;
    switch (tag) {
        case tagOf("YM2!"):
        case tagOf("YM3!"):
        case tagOf("YM3b"):
            loaded = parseRegisterOld(tag);
            break;
        case tagOf("YM4!"):
            return fail("No more YM4! support. Use YM5! format.");
        case tagOf("YM5!"):
        case tagOf("YM6!"):
        case tagOf("YMT1"):
        case tagOf("YMT2"):
        case tagOf("MIX1"):
            if (!hasCheckString(cursor)) return fail("Not a valid YM format !");
            if (tag == tagOf("MIX1")) {
                loaded = parseMix(cursor);
            } else if (tag == tagOf("YMT1") || tag == tagOf("YMT2")) {
                loaded = parseTracker(tag, cursor);
            } else {
                loaded = parseRegisterNew(tag, cursor);
            }
            break;
        default:
            return fail("Unknow YM format !");
    }
    if (!loaded) return false;
    return deInterleave(size_t(frameBytes));
}

// Frame count, player rate and loop frame must describe a song that can tick.
// Tracker songs always restart at line 0, so their loop line is never used.
bool YmMusic::checkTiming() {
    if (frameCount <= 0) return fail("Invalid frame count !");
    if (playerRate <= 0 || playerRate > MAX_PLAYER_RATE) return fail("Invalid player rate !");
    if (songKind != KIND_TRACKER && (loopFrame < 0 || loopFrame >= frameCount)) {
        return fail("Invalid loop frame !");
    }
    return true;
}

bool YmMusic::parseRegisterOld(uint32_t tag) {
    frameCount = (fileSize - 4) / 14;
    frameData = fileData + 4;
    frameBytes = 14;
    drumCount = 0;
    attributes = ATTR_INTERLEAVED;
    chip.masterClock = YM_DEFAULT_MASTER_CLOCK;
    playerRate = 50;
    songKind = tag == tagOf("YM2!") ? KIND_YM2 : KIND_YM3;
    title = copyText("Unknown");
    author = copyText("Unknown");
    if (tag == tagOf("YM2!")) {
        loopFrame = 0;
        comment = copyText("Converted by Varnoli.");
        formatLabel = copyText("YM 2");
    } else if (tag == tagOf("YM3!")) {
        loopFrame = 0;
        comment = copyText("");
        formatLabel = copyText("YM 3");
    } else {
        // The one little-endian number of the format, in the last four bytes.
        const uint8_t* p = fileData + fileSize - 4;
        loopFrame = int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                            (uint32_t(p[3]) << 24));
        comment = copyText("");
        formatLabel = copyText("YM 3b (loop)");
    }
    driverLabel = copyText("YM-Chip driver");
    return checkTiming();
}

bool YmMusic::parseRegisterNew(uint32_t tag, YmCursor& cursor) {
    frameCount = int32_t(readBe32(cursor));
    attributes = readBe32(cursor);
    drumCount = int32_t(readBe16(cursor));
    chip.masterClock = readBe32(cursor);
    playerRate = int32_t(readBe16(cursor));
    loopFrame = int32_t(readBe32(cursor));
    take(cursor, readBe16(cursor));
    if (cursor.truncated) return fail(TEXT_TRUNCATED);

    if (drumCount != 0) {
        if (!allocateDrums()) return false;
        for (int32_t i = 0; i < drumCount; i++) {
            DigiDrum& drum = drums[i];
            uint32_t size = readBe32(cursor);
            const uint8_t* bytes = take(cursor, size);
            if (!bytes) return fail(TEXT_TRUNCATED);
            if (!copySample(drum, bytes, size)) return fail(TEXT_NO_MEMORY);
            drum.repeatLength = size;
            if (attributes & ATTR_4BIT_DRUMS) {
                for (uint32_t j = 0; j < size; j++) {
                    drum.samples[j] = uint8_t(amplitudeTable[drum.samples[j] & 15] >> 7);
                }
            }
        }
        attributes &= ~ATTR_4BIT_DRUMS;
    }

    title = readString(cursor);
    author = readString(cursor);
    comment = readString(cursor);
    if (cursor.truncated) return fail(TEXT_TRUNCATED);
    if (tag == tagOf("YM6!")) {
        songKind = KIND_YM6;
        formatLabel = copyText("YM 6");
    } else {
        songKind = KIND_YM5;
        formatLabel = copyText("YM 5");
    }
    frameData = cursor.at;
    frameBytes = 16;
    driverLabel = copyText("YM-Chip driver");
    if (!checkTiming()) return false;
    if (uint64_t(frameCount) * 16 > bytesLeft(cursor)) return fail(TEXT_TRUNCATED);
    return true;
}

bool YmMusic::parseTracker(uint32_t tag, YmCursor& cursor) {
    bool secondVersion = tag == tagOf("YMT2");
    songKind = KIND_TRACKER;
    trackerVoiceCount = int32_t(readBe16(cursor));
    playerRate = int32_t(readBe16(cursor));
    frameCount = int32_t(readBe32(cursor));
    loopFrame = int32_t(readBe32(cursor));
    drumCount = int32_t(readBe16(cursor));
    attributes = readBe32(cursor);
    title = readString(cursor);
    author = readString(cursor);
    comment = readString(cursor);
    if (cursor.truncated) return fail(TEXT_TRUNCATED);

    if (drumCount > 0) {
        if (!allocateDrums()) return false;
        for (int32_t i = 0; i < drumCount; i++) {
            DigiDrum& drum = drums[i];
            uint32_t size = readBe16(cursor);
            uint32_t repeatLength = size;
            if (secondVersion) {
                repeatLength = readBe16(cursor);
                take(cursor, 2);
            }
            const uint8_t* bytes = take(cursor, size);
            if (!bytes) return fail(TEXT_TRUNCATED);
            drum.repeatLength = repeatLength > size ? size : repeatLength;
            if (!copySample(drum, bytes, size)) return fail(TEXT_NO_MEMORY);
        }
    }

    trackerFrequencyShift = 0;
    if (secondVersion) {
        trackerFrequencyShift = attributes >> 28;
        attributes &= 0x0FFFFFFF;
    }
    formatLabel = copyText(secondVersion ? "YM-T2" : "YM-T1");
    frameData = cursor.at;
    chip.masterClock = YM_DEFAULT_MASTER_CLOCK;
    if (trackerVoiceCount < 1 || trackerVoiceCount > 8) return fail("Invalid tracker voice count !");
    if (!checkTiming()) return false;
    if (uint64_t(frameCount) * 4 * uint64_t(trackerVoiceCount) > bytesLeft(cursor)) {
        return fail(TEXT_TRUNCATED);
    }
    if (!prepareTracker()) return false;
    frameBytes = 16;
    driverLabel = copyText("Universal Tracker");
    return checkTrackerLines();
}

// Every line that starts a sample must name one that exists and has bytes.
bool YmMusic::checkTrackerLines() {
    const uint8_t* line = frameData;
    for (int32_t n = 0; n < frameCount; n++) {
        for (int32_t v = 0; v < trackerVoiceCount; v++, line += 4) {
            int32_t sample = line[0];
            bool sounds = line[2] != 0 || line[3] != 0;
            if (!sounds || sample == 255) continue;
            if (sample >= drumCount || drums[sample].size == 0) return fail("Invalid tracker sample !");
        }
    }
    return true;
}

bool YmMusic::parseMix(YmCursor& cursor) {
    songKind = KIND_MIX;
    attributes = (readBe32(cursor) & 1) ? uint32_t(ATTR_SIGNED_SAMPLES) : 0u;
    uint32_t sampleDataSize = readBe32(cursor);
    mixBlockCount = int32_t(readBe32(cursor));
    if (cursor.truncated) return fail(TEXT_TRUNCATED);
    if (mixBlockCount <= 0) return fail("No digi-mix block !");
    if (uint64_t(mixBlockCount) * 12 > bytesLeft(cursor)) return fail(TEXT_TRUNCATED);

    mixBlocks = static_cast<MixBlock*>(std::calloc(size_t(mixBlockCount), sizeof(MixBlock)));
    if (!mixBlocks) return fail(TEXT_NO_MEMORY);
    for (int32_t i = 0; i < mixBlockCount; i++) {
        MixBlock& block = mixBlocks[i];
        block.sampleStart = readBe32(cursor);
        block.sampleLength = readBe32(cursor);
        block.repeatCount = uint16_t(readBe16(cursor));
        block.replayFrequency = uint16_t(readBe16(cursor));
    }
    title = readString(cursor);
    author = readString(cursor);
    comment = readString(cursor);
    const uint8_t* bytes = take(cursor, sampleDataSize);
    if (!bytes) return fail(TEXT_TRUNCATED);

    mixSamples = static_cast<uint8_t*>(std::malloc(sampleDataSize ? sampleDataSize : 1));
    if (!mixSamples) return fail(TEXT_NO_MEMORY);
    std::memcpy(mixSamples, bytes, sampleDataSize);
    if (!(attributes & ATTR_SIGNED_SAMPLES)) {
        for (uint32_t i = 0; i < sampleDataSize; i++) mixSamples[i] ^= 0x80;
    }
    attributes = ATTR_SIGNED_SAMPLES;
    for (int32_t i = 0; i < mixBlockCount; i++) {
        if (mixBlocks[i].repeatCount >= 32) mixBlocks[i].repeatCount = 32;
    }
    currentMixBlock = -1;
    mixStep = 0;
    mixPosition = 0;
    formatLabel = copyText("MIX1");
    driverLabel = copyText("Digi-Mix driver");
    return checkMixBlocks(sampleDataSize);
}

bool YmMusic::checkMixBlocks(uint32_t sampleDataSize) {
    for (int32_t i = 0; i < mixBlockCount; i++) {
        const MixBlock& block = mixBlocks[i];
        if (block.replayFrequency == 0) return fail("Invalid digi-mix replay frequency !");
        if (block.sampleLength == 0 || block.sampleLength >= MAX_MIX_BLOCK_LENGTH ||
            uint64_t(block.sampleStart) + block.sampleLength > sampleDataSize) {
            return fail("Invalid digi-mix block !");
        }
    }
    return true;
}

// Interleaved songs store their rows column by column: every row's first
// byte, then every row's second byte, ... The rows are brought into row order
// in a buffer of their own, which takes the image's place (everything else the
// song needs from the image was copied out by now).
bool YmMusic::deInterleave(size_t rowBytes) {
    if (!(attributes & ATTR_INTERLEAVED)) return true;
    size_t rows = size_t(frameCount);
    uint8_t* ordered = static_cast<uint8_t*>(std::malloc(rows * rowBytes));
    if (!ordered) return fail(TEXT_DEINTERLEAVE_MEMORY);
    for (size_t c = 0; c < rowBytes; c++) {
        const uint8_t* column = frameData + c * rows;
        for (size_t r = 0; r < rows; r++) ordered[r * rowBytes + c] = column[r];
    }
    std::free(fileData);
    attributes &= ~ATTR_INTERLEAVED;
    fileData = ordered;
    frameData = ordered;
    return true;
}

bool YmMusic::prepareTracker() {
    for (TrackerVoice& voice : trackerVoices) voice.running = 0;
    lineSamplesLeft = 0;
    int32_t scale = 25600 / (trackerVoiceCount * 100);
    for (int32_t v = 0; v < 64; v++) {
        for (int32_t s = 0; s < 256; s++) {
            trackerVolumeTable[v][s] = int16_t(((s - 128) * v * scale) / 64);
        }
    }
    return deInterleave(size_t(4 * trackerVoiceCount));
}

void YmMusic::release() {
    musicReady = 0;
    paused = 1;
    finished = 0;
    songInfo = YmSongInfo();
    forgetSnapshots();
    freeText(title);
    freeText(author);
    freeText(comment);
    freeText(formatLabel);
    freeText(driverLabel);
    std::free(fileData);
    fileData = nullptr;
    if (drumCount > 0 && drums) {
        for (int32_t i = 0; i < drumCount; i++) {
            std::free(drums[i].samples);
            drums[i].samples = nullptr;
        }
    }
    drumCount = 0;
    std::free(drums);
    drums = nullptr;
    std::free(mixSamples);
    mixSamples = nullptr;
    std::free(mixBlocks);
    mixBlocks = nullptr;
}

YmMusic::YmMusic() = default;

YmMusic::~YmMusic() { release(); }
