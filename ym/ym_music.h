#pragma once
// The YM music engine: plays a YM song (a register dump for the YM2149 sound
// chip, or one of the sample-based kinds) as 16-bit stereo sound.
//
// Songs.  YmMusic::load takes the bytes of a file: a song of any kind the
// loader reads ("YM2!", "YM3!", "YM3b", "YM5!", "YM6!", "YMT1", "YMT2",
// "MIX1"), plain or packed as a one-member level-0 LHA "-lh5-" archive. It
// copies them: the caller's bytes may go as soon as load returns. Files
// larger than YM_MAX_FILE_BYTES, and archives whose member would be, are
// refused. Every count and offset in a file is checked; a file that lies is
// refused with a reason, never read past its end.
//
// Sound.  renderAudio writes frames of interleaved signed 16-bit samples in
// the machine's byte order, left then right, at YM_OUTPUT_RATE frames a
// second; left and right are always equal. What a song sounds like depends
// only on the song, the controls below and the sizes of the requests: the
// register frame that falls inside a request is played from the start of the
// chunk it falls in, so two renders agree sample for sample when their
// requests do (the demo's sound stream asks for YM_REQUEST_FRAMES at a time).
//
// Threads.  An object is used by one thread at a time, with two exceptions:
// the controls (setPaused, setLoop, setVoiceMuted) and the readings
// (isPaused, isLooping, isVoiceMuted, isFinished, position, voiceLevel) may be called
// from any thread while another one renders; a control takes effect at the
// start of the next renderAudio or seek. load and release must not overlap a
// render. info() and lastErrorText() change only in load and release.
//
// Ownership.  The object owns everything it allocates; the texts of
// YmSongInfo and lastErrorText stay valid until the next load or release, or
// the object's end. Loading allocates; rendering never does (seeking may, to
// keep its snapshots). No call throws.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ym/ym_music_state.h"

struct YmCursor;

// The sound every song renders to.
constexpr int32_t YM_OUTPUT_RATE = 44100;
// The request size the demo's stream uses, and the grid seek renders on by default.
constexpr int32_t YM_REQUEST_FRAMES = 2205;
// The largest file, packed or unpacked, load accepts.
constexpr uint32_t YM_MAX_FILE_BYTES = 64u * 1024u * 1024u;
// Voices a song can have: three chip voices, or up to eight tracker voices.
constexpr int32_t YM_MAX_VOICES = 8;

// The clocks and timers the formats are written for, for tools that write
// songs. Effect and digidrum rates are timerClock / (prescaler x count).
constexpr uint32_t timerClock = 2457600;
inline constexpr int32_t timerPrescaleTable[8] = {0, 4, 10, 16, 50, 64, 100, 200};
// The chip clock of the formats whose files carry none ("YM2!", "YM3!", "YM3b", trackers).
constexpr uint32_t YM_DEFAULT_MASTER_CLOCK = 2000000;

// Song kinds (YmSongInfo::kind).
enum : int32_t {
    KIND_YM2 = 0,       // "YM2!": 14 registers a frame, built-in drums
    KIND_YM3 = 1,       // "YM3!", "YM3b": 14 registers a frame
    KIND_YM5 = 3,       // "YM5!": 16 bytes a frame with a gate and a digidrum
    KIND_YM6 = 4,       // "YM6!": 16 bytes a frame with two effect slots
    KIND_TRACKER = 32,  // "YMT1", "YMT2": lines of sample voices
    KIND_MIX = 64,      // "MIX1": a list of sample blocks
};

// Attribute bits of the YM file format, for tools that write songs.
enum : uint32_t {
    ATTR_INTERLEAVED = 1,     // frames or lines stored column by column
    ATTR_SIGNED_SAMPLES = 2,  // digi-mix samples are signed
    ATTR_4BIT_DRUMS = 4,      // digidrum bytes are 4-bit chip levels
};

// What a loaded song is. Texts are the file's 8-bit bytes, zero-terminated,
// never null (empty when the file has none), and unchecked: a file can put
// any byte in them, escape sequences included.
struct YmSongInfo {
    int32_t kind = 0;           // KIND_...
    char tag[5] = {};           // the file's tag, "YM5!"; empty when nothing is loaded
    int32_t frameCount = 0;     // register frames or tracker lines; 0 for digi-mix
    int32_t blockCount = 0;     // digi-mix blocks; 0 otherwise
    int32_t playerRate = 0;     // frames or lines a second; 0 for digi-mix
    int32_t loopFrame = 0;      // where a register song resumes after its last frame (trackers
                                // keep the file's loop line, but resume at line 0)
    int32_t voiceCount = 0;     // 3 for register songs, the tracker's voices, 1 for digi-mix
    int32_t drumCount = 0;      // digidrums, or tracker samples
    uint32_t masterClock = 0;   // Hz of the chip the registers are meant for
    int64_t length = 0;         // output frames of one pass from the start
    int64_t loopLength = 0;     // output frames of each later pass (from the loop point)
    const char* title = "";
    const char* author = "";
    const char* comment = "";
    const char* format = "";    // "YM 5", "YM-T2", "MIX1", ...
    const char* driver = "";    // "YM-Chip driver", "Universal Tracker", "Digi-Mix driver"
};

// What a voice sounded like at the end of the last request, for meters.
struct YmVoiceLevel {
    int32_t level = 0;      // 0 (silent) to 15, on the chip's 4-bit volume scale
    bool tone = false;      // its tone generator is heard
    bool noise = false;     // the noise generator is heard on it
    bool envelope = false;  // its volume follows the envelope
    bool sample = false;    // a digidrum (register songs) or a sample (the others) plays
    bool muted = false;
};

class YmMusic : private YmPlayState {
public:
    YmMusic();
    ~YmMusic();
    YmMusic(const YmMusic&) = delete;
    YmMusic& operator=(const YmMusic&) = delete;

    // Loading: never while another thread renders.
    //
    // Loads a song from the bytes of a file (see the top of this header). On
    // success the song is ready at its start, not paused; the loop and mute
    // controls keep their settings. On failure lastErrorText says why and the
    // object renders silence. Releases what was loaded before.
    bool load(const uint8_t* bytes, uint32_t size);
    // Frees everything loading attached and leaves the object silent and
    // paused; safe on a fresh object and any number of times.
    void release();
    bool isLoaded() const { return musicReady != 0; }
    const YmSongInfo& info() const { return songInfo; }
    // The reason of the last failed load, or "" when there was none.
    const char* lastErrorText() const { return lastError; }

    // Rendering: one thread at a time (the sound thread, once it runs).
    //
    // Fills frameCount stereo frames (2 x frameCount values). While not
    // loaded, paused or finished it writes silence and the position stays.
    // Returns false when the song had already finished before this call.
    bool renderAudio(int16_t* samples, int32_t frameCount);
    // Moves to output frame `frame` of the song (negative counts as 0), with
    // the current mute and loop settings: from there it renders exactly what
    // a render from its start gives, had that render asked for requests of
    // `requestFrames` up to the frame (the last one shorter when the frame is
    // not a whole number of requests in). So a seek to a frame on the request
    // grid continues a render in those requests sample for sample. Past the
    // end of a song that does not loop, the song is finished. The song is
    // rendered silently from the latest snapshot before the frame, so the
    // first seek far into a long song costs the most. False when no song is
    // loaded or requestFrames is not positive.
    bool seek(int64_t frame, int32_t requestFrames = YM_REQUEST_FRAMES);
    // Pauses and goes back to the first frame, block or line, as the demo's
    // shut-down does; unlike seek(0), the chip keeps its state.
    void stopAndRewind();

    // Controls: any thread.
    void setPaused(bool on) { paused.store(on ? 1 : 0); }
    // Looping: after the last frame a looping song goes on at its loop point;
    // otherwise it finishes. Off after construction.
    void setLoop(bool on) { loopRequest.store(on ? 1 : 0); }
    // Voices count from 0 (A); others are ignored. A muted voice is silent and
    // its meter reads 0; a chip voice changes at its next register frame.
    void setVoiceMuted(int voice, bool muted);

    // Readings: any thread.
    bool isPaused() const { return paused.load() != 0; }
    bool isLooping() const { return loopRequest.load() != 0; }
    bool isVoiceMuted(int voice) const;
    bool isFinished() const { return finishedShown.load() != 0; }
    // Output frames the song has rendered since its start, as of the last
    // render or seek (paused silence does not count).
    int64_t position() const { return positionShown.load(); }
    YmVoiceLevel voiceLevel(int voice) const;

private:
    // Loader steps. depack swaps the packed image in fileData for its member
    // (or for null, false); a plain image stays. parseFile fills the song fields.
    bool depack(uint32_t resourceSize);
    bool parseFile();
    bool deInterleave(size_t rowBytes);
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
    void describeSong();

    // Player steps.
    void renderSong(int16_t* samples, int32_t frameCount);
    void renderChip(int16_t* samples, int32_t frameCount);
    void advanceFrame();
    void writeFrameRegisters(const uint8_t* frame);
    void startFrameEffect(const uint8_t* frame, int codeByte, int prescalerByte, int countByte);
    void startSongDrum(int voice, int32_t drum, int32_t timerTicks);
    void renderDigiMix(int16_t* samples, int32_t frameCount);
    void advanceMixBlock();
    void renderTracker(int16_t* samples, int32_t frameCount);

    // Controls and readings between threads.
    void takeControls();
    void publish(const int16_t* samples, int32_t frameCount, bool sounding);
    YmVoiceLevel measureVoice(int voice, const int16_t* samples, int32_t frameCount) const;

    // Seeking.
    void startSnapshots();
    void keepSnapshot(int32_t requestFrames, bool mayGrow);
    void forgetSnapshots();
    int64_t snapshotInterval() const;

    // The loaded song.
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
    int32_t frameBytes = 0;
    char* title = nullptr;
    char* author = nullptr;
    char* comment = nullptr;
    char* formatLabel = nullptr;
    char* driverLabel = nullptr;
    int32_t mixBlockCount = 0;
    MixBlock* mixBlocks = nullptr;
    uint8_t* mixSamples = nullptr;
    int32_t trackerVoiceCount = 0;
    int16_t trackerVolumeTable[64][256] = {};
    uint32_t trackerFrequencyShift = 0;
    int32_t sampleRate = YM_OUTPUT_RATE;
    YmSongInfo songInfo;

    // Controls, set from any thread and taken at the start of a render;
    // loopEnabled is the loop setting the render in progress keeps to.
    std::atomic<int32_t> musicReady{0};
    std::atomic<int32_t> paused{1};
    std::atomic<int32_t> loopRequest{0};
    std::atomic<uint32_t> mutedRequest{0};
    bool loopEnabled = false;

    // Readings, published at the end of a render or seek.
    std::atomic<int32_t> finishedShown{0};
    std::atomic<int64_t> positionShown{0};
    std::atomic<uint32_t> levelsShown[YM_MAX_VOICES] = {};

    // Seeking: states taken every snapshotInterval() frames, between requests
    // of snapshotRequest frames, by a render that has kept to that grid from
    // the start under the current mute and loop settings; [0] is the start.
    std::vector<YmPlayState> snapshots;
    std::vector<int16_t> seekScratch;
    int32_t snapshotRequest = YM_REQUEST_FRAMES;
    bool onSnapshotGrid = false;
};
