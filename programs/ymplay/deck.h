#pragma once
// What the interface thread and the sound thread share, without a lock: the
// interface thread owns every song and hands the sound thread the one to
// play; the sound thread says which one it holds while it renders, so a song
// is freed only once the sound thread has let go of it. Nothing the sound
// thread waits for is ever held across a redraw or a file read.
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "ym/ym_music.h"

// A song on the deck: the music and what the interface asks of it.
struct DeckSong {
    explicit DeckSong(std::unique_ptr<YmMusic> song) : music(std::move(song)) {}
    std::unique_ptr<YmMusic> music;
    std::atomic<int64_t> endFrame{INT64_MAX};  // where it stops: after its passes, or never
    std::atomic<int64_t> seekTarget{-1};       // a seek the sound thread makes next, or -1
    std::atomic<bool> ended{false};            // reached endFrame (or finished)
};

class Deck {
public:
    ~Deck();

    // Interface thread. The deck takes the song; the one playing before goes
    // when the sound thread has let go of it. Null stops the sound.
    void play(std::unique_ptr<DeckSong> song);
    DeckSong* current() const { return owned.empty() ? nullptr : owned.back().get(); }
    // Frees the songs the sound thread no longer holds; called now and then.
    void collect();
    void setVolume(int percent) { volume.store(percent); }
    int volumePercent() const { return volume.load(); }

    // Sound thread: `frames` stereo frames of the current song (requests of
    // YM_REQUEST_FRAMES keep it sample for sample with ymrender), silence
    // after its end or without one.
    void fill(int16_t* samples, int32_t frames);

private:
    std::vector<std::unique_ptr<DeckSong>> owned;  // interface thread; the last one is current
    std::atomic<DeckSong*> wanted{nullptr};
    std::atomic<DeckSong*> inUse{nullptr};
    std::atomic<int> volume{100};
};
