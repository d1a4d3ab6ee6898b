// The player page's C++: the music engine and the production's sound stream
// (a RingSoundDevice the page's audio worklet plays through pullSound, in
// halves of 2,205 frames), driven by player_page.js. Everything runs on the
// page's one thread: the worklet's requests come back as messages.
#include <emscripten.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/sound_stream.h"
#include "demo/resource.h"
#include "resources/resource_ids.h"
#include "ym/ym_music.h"

namespace {

const int32_t STREAM_FRAMES = 2 * YM_REQUEST_FRAMES;

struct Player {
    App app{};
    RingSoundDevice ring;
    bool streaming = false;
    std::unique_ptr<YmMusic> song;  // the one playing, or none
    std::string error;              // why the last song did not load
    bool ended = false;
};
Player player;

// Plays the song's first pass, then silence; the page then moves on.
int renderSong(int16_t* samples, int32_t frames, void*) {
    std::memset(samples, 0, size_t(frames) * 2 * sizeof(int16_t));
    YmMusic* song = player.song.get();
    if (!song || player.ended) return 1;
    int64_t left = song->info().length - song->position();
    if (left > 0) song->renderAudio(samples, int32_t(left < frames ? left : frames));
    if (song->position() >= song->info().length) player.ended = true;
    return 1;
}

// The stream plays what the engine renders, in the shell's sound format; the
// page's worklet has a left and a right channel.
static_assert(YM_OUTPUT_RATE == SOUND_RATE, "the engine renders at the shell's sound rate");
static_assert(SOUND_CHANNELS == 2, "the page plays stereo");

// Which number playerNumber gives.
enum Number { NUMBER_KIND, NUMBER_LENGTH, NUMBER_POSITION, NUMBER_RATE, NUMBER_VOICES, NUMBER_ENDED, NUMBER_FRAMES };
// Which text playerText gives.
enum Text { TEXT_TITLE, TEXT_AUTHOR, TEXT_COMMENT, TEXT_FORMAT, TEXT_TAG, TEXT_ERROR };

}  // namespace

extern "C" {

// Loads a song from `size` bytes at `bytes`: 1, or 0 with the reason in
// playerText(TEXT_ERROR). The song starts paused at its start; mutes carry over.
EMSCRIPTEN_KEEPALIVE int playerLoad(const uint8_t* bytes, uint32_t size) {
    auto song = std::make_unique<YmMusic>();
    if (!song->load(bytes, size)) {
        player.error = song->lastErrorText();
        while (!player.error.empty() && player.error.back() == '\n') player.error.pop_back();
        return 0;
    }
    song->setLoop(true);
    song->setPaused(true);
    if (player.song) {
        for (int v = 0; v < YM_MAX_VOICES; v++) song->setVoiceMuted(v, player.song->isVoiceMuted(v));
    }
    player.song = std::move(song);
    player.ended = false;
    return 1;
}

// The production's own song, as its program holds it.
EMSCRIPTEN_KEEPALIVE int playerLoadShipped() {
    ResourceData data = findResourceData(RESOURCE_SONG);
    return playerLoad(data.bytes, data.size);
}

EMSCRIPTEN_KEEPALIVE const char* playerText(int which) {
    if (which == TEXT_ERROR) return player.error.c_str();
    if (!player.song) return "";
    const YmSongInfo& info = player.song->info();
    switch (which) {
        case TEXT_TITLE: return info.title;
        case TEXT_AUTHOR: return info.author;
        case TEXT_COMMENT: return info.comment;
        case TEXT_FORMAT: return info.format;
        case TEXT_TAG: return info.tag;
        default: return "";
    }
}

// The sound rate the page's audio context plays at, in frames a second.
EMSCRIPTEN_KEEPALIVE int playerSoundRate() { return SOUND_RATE; }

EMSCRIPTEN_KEEPALIVE double playerNumber(int which) {
    if (!player.song) return 0;
    const YmSongInfo& info = player.song->info();
    switch (which) {
        case NUMBER_KIND: return info.kind;
        case NUMBER_LENGTH: return double(info.length);
        case NUMBER_POSITION: return double(player.song->position());
        case NUMBER_RATE: return info.playerRate;
        case NUMBER_VOICES: return info.voiceCount;
        case NUMBER_ENDED: return player.ended ? 1 : 0;
        case NUMBER_FRAMES: return info.frameCount;
        default: return 0;
    }
}

EMSCRIPTEN_KEEPALIVE void playerSetPaused(int paused) {
    if (player.song) player.song->setPaused(paused != 0);
}

// Seeks to output frame `frame` of the first pass.
EMSCRIPTEN_KEEPALIVE void playerSeek(double frame) {
    if (!player.song) return;
    player.song->seek(int64_t(frame));
    player.ended = player.song->position() >= player.song->info().length;
}

EMSCRIPTEN_KEEPALIVE void playerSetMuted(int voice, int muted) {
    if (player.song) player.song->setVoiceMuted(voice, muted != 0);
}

// A voice's meter: its level (0 to 15) in bits 0 to 3, then tone, noise,
// envelope and sample in bits 4 to 7, muted in bit 8.
EMSCRIPTEN_KEEPALIVE int playerLevel(int voice) {
    if (!player.song) return 0;
    YmVoiceLevel level = player.song->voiceLevel(voice);
    return level.level | level.tone << 4 | level.noise << 5 | level.envelope << 6 | level.sample << 7 |
           level.muted << 8;
}

// The worklet asks for `frames` stereo frames; the answer stays valid until
// the next request. The stream starts with the first one.
EMSCRIPTEN_KEEPALIVE int16_t* playerPull(int32_t frames) {
    static std::vector<int16_t> samples;
    samples.assign(size_t(frames > 0 ? frames : 0) * 2, 0);
    if (!player.streaming) {
        openSoundStream(&player.app, &player.ring);
        startSound(&player.app, STREAM_FRAMES, renderSong, nullptr);
        player.streaming = true;
    }
    if (frames > 0) pullSound(&player.app, samples.data(), frames);
    return samples.data();
}

}  // extern "C"
