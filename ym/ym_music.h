#pragma once
// The music object: loads a YM song (register, tracker or digi-mix kind) from
// a file image and renders it as 16-bit stereo frames through its own chip.
// Loading allocates; playback never does.
#include <cstdint>

#include "ym/ym2149.h"

struct YmCursor;

// Attribute bits of a song (`YmMusic::attributes`).
enum : uint32_t {
    ATTR_INTERLEAVED = 1,     // frames or lines stored column by column
    ATTR_SIGNED_SAMPLES = 2,  // digi-mix samples are signed
    ATTR_4BIT_DRUMS = 4,      // digidrum bytes are 4-bit chip levels
};

// Song kinds (`YmMusic::songKind`).
enum : int32_t {
    KIND_YM2 = 0,
    KIND_YM3 = 1,
    KIND_YM5 = 3,
    KIND_YM6 = 4,
    KIND_TRACKER = 32,
    KIND_MIX = 64,
};

// A digidrum of a register song or a sample of a tracker song.
struct DigiDrum {
    uint32_t size;          // bytes
    uint8_t* samples;       // owned; null when size is 0
    uint32_t repeatLength;  // tracker samples: bytes replayed by a looping voice
};

// A range of the digi-mix sample data, replayed repeatCount times.
struct MixBlock {
    uint32_t sampleStart;  // offset into mixSamples
    uint32_t sampleLength;
    uint16_t repeatCount;
    uint16_t replayFrequency;  // Hz
};

struct TrackerVoice {
    const uint8_t* sampleData;  // not owned
    uint32_t sampleSize;
    uint32_t samplePosition;  // 16.16
    uint32_t repeatLength;
    int32_t volume;     // 0..63
    int32_t frequency;  // 0..65535
    int32_t looping;
    int32_t running;
};

class YmMusic {
public:
    YmMusic();
    ~YmMusic();
    YmMusic(const YmMusic&) = delete;
    YmMusic& operator=(const YmMusic&) = delete;

    // Loads a song from the bytes of a file: a copy of them goes to fileData,
    // is unpacked when it is an "-lh5-" archive and parsed; then the chip is
    // reset and the song is ready and not paused. Starts from the released
    // state. On failure lastError says why ("MALLOC Error" when the copy cannot
    // be allocated, else the depacker's or the loader's text) and the object
    // stays silent; release frees what the attempt left attached.
    bool load(const uint8_t* bytes, uint32_t size);
    // Frees everything loading attached; safe to call any number of times.
    void release();

    // Fills frameCount stereo frames; false when the song had already finished.
    bool renderAudio(int16_t* samples, int32_t frameCount);
    void stopAndRewind();

    // Loader state.
    int32_t finished = 0;
    Ym2149 chip;
    const char* lastError = "";
    int32_t songKind = 0;
    int32_t frameCount = 0;
    int32_t loopFrame = 0;
    int32_t drumCount = 0;
    DigiDrum* drums = nullptr;
    uint8_t* fileData = nullptr;
    const uint8_t* frameData = nullptr;
    int32_t fileSize = 0;
    int32_t playerRate = 0;
    uint32_t attributes = 0;
    int32_t musicReady = 0;
    int32_t paused = 1;
    int32_t frameBytes = 0;
    char* title = nullptr;
    char* author = nullptr;
    char* comment = nullptr;
    char* formatLabel = nullptr;
    char* driverLabel = nullptr;

    // Digi-mix state.
    int32_t mixBlockCount = 0;
    MixBlock* mixBlocks = nullptr;
    int32_t currentMixBlock = -1;
    uint8_t* mixSamples = nullptr;
    uint32_t mixStep = 0;      // 20.12
    uint32_t mixPosition = 0;  // 20.12

    // Tracker state.
    int32_t trackerVoiceCount = 0;
    TrackerVoice trackerVoices[8] = {};
    int32_t lineSamplesLeft = 0;
    int16_t trackerVolumeTable[64][256] = {};
    uint32_t trackerFrequencyShift = 0;

    // Player state.
    int32_t nextFrame = 0;
    bool loopEnabled = false;
    int32_t frameSampleCount = 0;
    int32_t sampleRate = 44100;

private:
    // Loader steps. depack swaps the packed image in fileData for its member
    // (or for null, false); a plain image stays. parseFile fills the fields above.
    bool depack(uint32_t resourceSize);
    bool parseFile();
    bool deInterleave();
    bool prepareTracker();
    bool parseRegisterOld(uint32_t tag);
    bool parseRegisterNew(uint32_t tag, YmCursor& cursor);
    bool parseTracker(uint32_t tag, YmCursor& cursor);
    bool parseMix(YmCursor& cursor);
    bool allocateDrums();
    bool checkTiming();
    bool checkTrackerLines();
    bool checkMixBlocks(uint32_t sampleDataSize);
    bool fail(const char* text);

    // Player steps.
    void renderChip(int16_t* samples, int32_t frameCount);
    void advanceFrame();
    void startFrameEffect(const uint8_t* frame, int codeByte, int prescalerByte, int countByte);
    void renderDigiMix(int16_t* samples, int32_t frameCount);
    void advanceMixBlock();
    void renderTracker(int16_t* samples, int32_t frameCount);

    // Digi-mix working state: the block being played.
    int32_t mixRepeatsLeft = 0;
    const uint8_t* mixCursor = nullptr;
    uint32_t mixEnd = 0;
};

// Timer prescalers of the effect timers, indexed by a frame byte's top 3 bits.
extern const int32_t timerPrescaleTable[8];
