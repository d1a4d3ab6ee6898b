#include "programs/ymplay/deck.h"

#include <algorithm>
#include <cstring>

Deck::~Deck() {
    // The sound device is closed before the deck goes: nothing holds a song.
    wanted.store(nullptr);
}

void Deck::play(std::unique_ptr<DeckSong> song) {
    wanted.store(song.get());
    owned.push_back(std::move(song));
    collect();
}

void Deck::collect() {
    if (owned.empty()) return;
    DeckSong* keep = wanted.load();
    DeckSong* held = inUse.load();
    // The current song is the last; of the others, those the sound thread
    // does not hold go (a held one is left for a later call).
    auto gone = [&](const std::unique_ptr<DeckSong>& s) { return !s || (s.get() != keep && s.get() != held); };
    auto last = owned.end() - 1;
    owned.erase(std::remove_if(owned.begin(), last, gone), last);
}

void Deck::fill(int16_t* samples, int32_t frames) {
    std::memset(samples, 0, size_t(frames) * 2 * sizeof(int16_t));
    // Announce the song before using it, and use it only if it is still the
    // one wanted: the interface frees a song only when it is not announced.
    DeckSong* song;
    do {
        song = wanted.load();
        inUse.store(song);
    } while (song != wanted.load());

    if (song && !song->ended.load()) {
        YmMusic& music = *song->music;
        int64_t target = song->seekTarget.exchange(-1);
        if (target >= 0) music.seek(target);
        int64_t left = song->endFrame.load() - music.position();
        if (left > 0 && !music.isFinished()) music.renderAudio(samples, int32_t(std::min<int64_t>(frames, left)));
        if (music.position() >= song->endFrame.load() || music.isFinished()) song->ended.store(true);
        int percent = volume.load();
        if (percent < 100) {
            for (int32_t i = 0; i < 2 * frames; i++) samples[i] = int16_t(samples[i] * percent / 100);
        }
    }
    inUse.store(nullptr);
}
