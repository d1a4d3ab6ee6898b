#include "programs/ymplay/player_session.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "programs/ymplay/playlist.h"

PlayerSession::PlayerSession(std::vector<std::string> fileList, PlayerSettings chosen, Deck& songDeck)
    : files(std::move(fileList)), order(files.size()), refused(files.size(), false), settings(chosen), deck(songDeck) {
    std::iota(order.begin(), order.end(), size_t(0));
}

bool PlayerSession::begin() { return startFrom(0, +1); }

int64_t PlayerSession::endFrame(const YmMusic& music) const {
    if (loopForever || settings.passes == 0) return INT64_MAX;
    const YmSongInfo& info = music.info();
    return info.length + int64_t(settings.passes - 1) * info.loopLength;
}

bool PlayerSession::startFrom(size_t at, int direction) {
    // Going back, i wraps past 0 to a huge value, which ends the loop.
    for (size_t i = at; i < order.size(); i += size_t(direction)) {
        size_t file = order[i];
        if (refused[file]) continue;
        std::string reason;
        std::unique_ptr<YmMusic> music = loadSongFile(files[file], &reason);
        if (!music) {
            refused[file] = true;
            skippedLines.push_back(files[file] + ": " + reason);
            continue;
        }
        music->setLoop(true);  // passes are counted here, so a song never finishes by itself
        music->setPaused(pausedAll);
        for (int voice = 0; voice < YM_MAX_VOICES; voice++) music->setVoiceMuted(voice, (settings.mutedVoices >> voice) & 1);
        auto song = std::make_unique<DeckSong>(std::move(music));
        song->endFrame.store(endFrame(*song->music));
        if (firstSong && settings.startSeconds > 0) song->seekTarget.store(std::llround(settings.startSeconds * YM_OUTPUT_RATE));
        firstSong = false;
        deck.play(std::move(song));
        place = i;
        started++;
        return true;
    }
    return false;
}

bool PlayerSession::update() {
    deck.collect();
    DeckSong* song = deck.current();
    if (song && !song->ended.load()) return true;
    return next();
}

bool PlayerSession::next() { return startFrom(place + 1, +1); }

bool PlayerSession::previous() {
    if (place == 0 || !startFrom(place - 1, -1)) seekToStart();
    return true;
}

const YmMusic* PlayerSession::song() const {
    DeckSong* current = deck.current();
    return current ? current->music.get() : nullptr;
}

void PlayerSession::togglePause() {
    pausedAll = !pausedAll;
    if (DeckSong* current = deck.current()) current->music->setPaused(pausedAll);
}

bool PlayerSession::seekBy(double seconds) {
    DeckSong* current = deck.current();
    if (!current) return true;
    int64_t pending = current->seekTarget.load();
    int64_t from = pending >= 0 ? pending : current->music->position();
    int64_t target = std::max<int64_t>(0, from + std::llround(seconds * YM_OUTPUT_RATE));
    if (target >= current->endFrame.load()) return next();
    current->seekTarget.store(target);
    return true;
}

void PlayerSession::seekToStart() {
    if (DeckSong* current = deck.current()) current->seekTarget.store(0);
}

void PlayerSession::toggleMute(int voice) {
    settings.mutedVoices ^= 1u << voice;
    bool muted = (settings.mutedVoices >> voice) & 1;
    if (DeckSong* current = deck.current()) current->music->setVoiceMuted(voice, muted);
}

void PlayerSession::changeVolume(int step) { deck.setVolume(std::clamp(deck.volumePercent() + step, 0, 100)); }

void PlayerSession::toggleLoop() {
    loopForever = !loopForever;
    if (DeckSong* current = deck.current()) current->endFrame.store(endFrame(*current->music));
}

// Shuffled, the song playing comes first and the others follow at random;
// back in name order, the list goes on after the song playing.
void PlayerSession::toggleShuffle() {
    if (order.empty()) return;
    shuffleOn = !shuffleOn;
    size_t playing = order[place];
    std::iota(order.begin(), order.end(), size_t(0));
    if (shuffleOn) {
        std::swap(order[0], order[playing]);
        std::shuffle(order.begin() + 1, order.end(), std::mt19937(std::random_device()()));
        place = 0;
    } else {
        place = playing;
    }
}

size_t PlayerSession::fileNumber() const { return files.empty() ? 0 : place + 1; }

SongTime PlayerSession::time() const {
    SongTime t;
    DeckSong* current = deck.current();
    if (!current) return t;
    const YmSongInfo& info = current->music->info();
    int64_t pending = current->seekTarget.load();
    int64_t position = pending >= 0 ? pending : current->music->position();
    // A song that has played its passes shows the end of its last one.
    bool atEnd = position > 0 && position >= current->endFrame.load();
    if (atEnd) position = current->endFrame.load() - 1;
    t.length = info.length;
    if (position < info.length || info.loopLength <= 0) {
        t.position = std::min(position, info.length);
    } else {
        int64_t beyond = position - info.length;
        t.position = info.length - info.loopLength + beyond % info.loopLength;
        t.pass = 2 + int(std::min<int64_t>(beyond / info.loopLength, 1000000));
    }
    if (atEnd) t.position += 1;
    return t;
}
