#pragma once
// One valid song of every kind the loader accepts, each `seconds` long, with
// the effects of its kind in use: digidrums, volume gates, envelope
// retrigger, looping samples, digi-mix repeats. Deterministic.
#include <string>
#include <vector>

#include "generators/writers/ym_song_writer.h"

struct TestSong {
    std::string name;  // file name: "ym5-effects.ym", "ymt2.ym", ...
    YmBytes bytes;
};

std::vector<TestSong> makeTestSongs(int32_t seconds);
