#pragma once
// Internals of the score reader shared by its two halves: the song as text
// (phrases, patterns, order) before it is unrolled into events, and the word
// helpers both use.
#include <map>
#include <string>
#include <vector>

#include "generators/compose/score.h"

struct PatternText {
    std::string name;
    int rows = 0;
    std::vector<std::string> tracks[4];  // A, B, C, drums
};

struct SongText {
    std::map<std::string, std::vector<std::string>> phrases;
    std::map<std::string, PatternText> patterns;
    std::vector<std::string> order;
};

bool toInt(const std::string& text, int& value);
int findInstrument(const std::vector<Instrument>& list, const std::string& name);
// A note name such as "c#4" or "bb3" at text[pos]: MIDI number, pos moved past it.
bool parseNoteName(const std::string& text, size_t& pos, int& note);

// The song's patterns in order, as per-voice events and drum hits in `score`.
bool unrollSong(const SongText& song, Score& score, std::string& error);
