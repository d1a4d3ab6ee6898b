#pragma once
// The parsed form of a score: instruments, drum samples and hits, and the song
// unrolled into one row-by-row event list per voice. The sequencer turns it
// into chip register frames; nothing here knows about frames yet.
#include <cstdint>
#include <string>
#include <vector>

enum MixBits { MIX_TONE = 1, MIX_NOISE = 2 };

struct Instrument {
    std::string name;
    std::vector<int> volume{15};  // level per frame from the note's start; the last holds
    std::vector<int> release;     // level per frame after the note ends; silent afterwards
    std::vector<int> mix{MIX_TONE};  // MixBits per frame; the last holds
    std::vector<int> noise;          // noise period per frame; the last holds
    std::vector<int> arp;            // semitone offsets, cycled (a chord on the note wins)
    std::vector<int> bend;           // cents per frame from the note's start; the last holds
    int arpSpeed = 1;                // frames per arpeggio step
    int vibratoDelay = 0;            // frames before the vibrato starts
    int vibratoDepth = 0;            // cents
    int vibratoPeriod = 0;           // frames per vibrato cycle; 0: none
    int slideFrames = 1;             // length of a ~slide
    int buzzShape = -1;              // envelope shape used as the waveform while sustained
    int gateRatio = 0;               // volume-gate frequency in 1/1000 of the note's; 0: none
    int transpose = 0;               // semitones
};

// A drum sound synthesised into the file: a swept sine plus noise, each with
// its own exponential decay.
struct SampleRecipe {
    std::string name;
    int length = 0;       // bytes
    int rate = 12288;     // Hz the recipe is computed for
    int toneStart = 0;    // Hz
    int toneEnd = 0;      // Hz
    int sweep = 1;        // time constant of the sweep, in samples
    int toneLevel = 0;    // percent of full scale
    int toneDecay = 1;    // time constant, samples
    int noiseLevel = 0;   // percent of full scale
    int noiseDecay = 1;   // time constant, samples
    int noiseHold = 1;    // samples per noise value (lower = brighter)
    uint32_t seed = 1;
};

// A named drum hit: either a digidrum played on a voice at a timer rate, or a
// short chip instrument laid over a voice for the length of its volume list.
struct Hit {
    std::string name;
    int voice = 2;
    int sample = -1;      // index into Score::samples, or -1
    int rate = 12288;     // digidrum replay rate, Hz
    int instrument = -1;  // index into Score::instruments, or -1
    int note = 60;        // MIDI note of an instrument hit
};

enum EventKind { EVENT_NOTE, EVENT_SLIDE, EVENT_REST };

struct VoiceEvent {
    int row = 0;
    EventKind kind = EVENT_NOTE;
    int note = 0;               // MIDI note (after transposition)
    std::vector<int> chord;     // semitone offsets; empty: the instrument's arp
    int instrument = 0;
    int volume = 15;            // track volume scale 0..15
};

struct DrumEvent {
    int row = 0;
    std::vector<int> hits;  // indices into Score::hits
};

struct Score {
    std::string title, author, comment;
    int framesPerRow = 6;
    int rowCount = 0;
    std::vector<Instrument> instruments;
    std::vector<SampleRecipe> samples;
    std::vector<Hit> hits;
    std::vector<VoiceEvent> voices[3];  // sorted by row
    std::vector<DrumEvent> drums;       // sorted by row
    std::vector<std::string> sectionNames;  // pattern name at each section start
    std::vector<int> sectionRows;
};

// Reads a score text. On failure returns false and says where and why.
bool parseScore(const std::string& text, Score& score, std::string& error);
