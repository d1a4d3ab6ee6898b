// The engine's interface as the players use it: exact seeks in songs of every
// kind, muted voices, meters, and controls set from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/ym/music_test_support.h"
#include "generators/test_songs/test_song_set.h"

namespace {

const int R = YM_REQUEST_FRAMES;
const int SECOND = YM_OUTPUT_RATE;

std::vector<int16_t> slice(const std::vector<int16_t>& all, int64_t from, int frames) {
    return std::vector<int16_t>(all.begin() + from, all.begin() + from + frames);
}

// A register song with a gate on voice B and a digidrum on voice C now and then.
YmRegisterSong effectTune(int frames) {
    YmRegisterSong song;
    song.frames = composeTune(frames);
    YmBytes drum(3000);
    for (size_t i = 0; i < drum.size(); i++) drum[i] = uint8_t((i * 37) ^ (i >> 2));
    song.drums = {drum};
    for (size_t i = 0; i < song.frames.size(); i += 10) {
        YmFrame16& f = song.frames[i];
        f[1] |= 0x20;  // gate on B, t = 16 x 40
        f[6] |= 3 << 5;
        f[14] = 40;
        f[3] |= 0x30;  // drum 0 on C, t = 4 x 60
        f[8] |= 1 << 5;
        f[10] = 0;
        f[15] = 60;
    }
    return song;
}

}  // namespace

// After a seek to a frame on the request grid, a song renders what a render
// from its start renders from there: forward, backward, past the loop, from
// a snapshot a render or an earlier seek left, or from the start.
TEST(YmSeek, EverySongKindLandsExactly) {
    for (const TestSong& song : makeTestSongs(4)) {
        const std::vector<int16_t> full = play(*loadedSong(song.bytes), 13 * SECOND, R);
        auto music = loadedSong(song.bytes);
        for (int64_t target : {int64_t(5 * SECOND), int64_t(7 * R), int64_t(0), int64_t(11 * SECOND),
                               int64_t(3 * SECOND), int64_t(10 * SECOND)}) {
            ASSERT_TRUE(music->seek(target));
            EXPECT_EQ(music->position(), target);
            EXPECT_EQ(play(*music, 2 * R, R), slice(full, target, 2 * R)) << song.name << " at " << target;
        }
        // Snapshots taken while playing straight through.
        auto played = loadedSong(song.bytes);
        play(*played, 12 * SECOND, R);
        played->seek(6 * SECOND);
        EXPECT_EQ(play(*played, R, R), slice(full, 6 * SECOND, R)) << song.name;
    }
}

// Off the grid a seek renders its way there in whole requests and a last
// short one, as a render from the start in those requests would.
TEST(YmSeek, OffTheGridAndAcrossRequestSizes) {
    const YmBytes image = writeRegisterSong(effectTune(300));
    auto fresh = loadedSong(image);
    play(*fresh, 3 * R + 1000, R);  // three requests and a short one
    const std::vector<int16_t> expected = play(*fresh, 2 * R, R);
    auto music = loadedSong(image);
    music->seek(3 * R + 1000);
    EXPECT_EQ(play(*music, 2 * R, R), expected);
    // Back on the grid of another request size.
    const std::vector<int16_t> thousands = play(*loadedSong(image), 20000, 1000);
    music->seek(12000, 1000);
    EXPECT_EQ(play(*music, 5000, 1000), slice(thousands, 12000, 5000));
}

TEST(YmSeek, PastTheEndOfASongThatDoesNotLoop) {
    auto music = loadedSong(writeOldRegisterSong("YM3!", composeOldTune(50)));
    music->setLoop(false);
    ASSERT_TRUE(music->seek(10 * SECOND));
    EXPECT_TRUE(music->isFinished());
    std::vector<int16_t> buffer(2 * R, 7);
    EXPECT_FALSE(music->renderAudio(buffer.data(), R));
    EXPECT_EQ(buffer, std::vector<int16_t>(2 * R, 0));
    // Back inside, it plays again.
    ASSERT_TRUE(music->seek(R));
    EXPECT_FALSE(music->isFinished());
    EXPECT_TRUE(music->renderAudio(buffer.data(), R));
    EXPECT_NE(buffer, std::vector<int16_t>(2 * R, 0));

    YmMusic empty;
    EXPECT_FALSE(empty.seek(0));
}

// A muted voice is the song without that voice: its level written as 0 with
// tone and noise off, and no gate or drum started on it.
TEST(YmMute, AMutedChipVoiceIsTheSongWithoutIt) {
    YmRegisterSong song = effectTune(200);
    auto music = loadedSong(writeRegisterSong(song));
    music->setVoiceMuted(1, true);
    music->setVoiceMuted(2, true);
    EXPECT_TRUE(music->isVoiceMuted(2));
    const std::vector<int16_t> muted = play(*music, 3 * SECOND, R);
    for (YmFrame16& f : song.frames) {
        f[7] |= 0x36;
        f[9] = 0;
        f[10] = 0;
        f[1] &= 0x0F;
        f[3] &= 0x0F;
    }
    EXPECT_EQ(muted, play(*loadedSong(writeRegisterSong(song)), 3 * SECOND, R));

    // All three muted: silence, once the chip's DC remover has taken out the
    // constant the silent voices hold (as at every start).
    auto none = loadedSong(writeRegisterSong(effectTune(200)));
    for (int v = 0; v < 3; v++) none->setVoiceMuted(v, true);
    const std::vector<int16_t> silence = play(*none, 2 * SECOND, R);
    EXPECT_EQ(slice(silence, 512, 2 * SECOND - 512), std::vector<int16_t>(2 * SECOND - 512, 0));

    // Muted while a drum plays: it stops at the next frame, and seeks keep the mute.
    auto late = loadedSong(writeRegisterSong(effectTune(200)));
    play(*late, 5 * FRAME_LENGTH + 100, R);
    late->setVoiceMuted(2, true);
    late->seek(2 * SECOND);
    auto early = loadedSong(writeRegisterSong(effectTune(200)));
    early->setVoiceMuted(2, true);
    EXPECT_EQ(play(*late, R, R), slice(play(*early, 3 * SECOND, R), 2 * SECOND, R));
}

TEST(YmMute, SampleSongsMuteTheirVoices) {
    YmTrackerSong tracker;
    tracker.voiceCount = 2;
    tracker.samples = {{YmBytes(500, 200), 100}, {YmBytes(300, 30), 0}};
    tracker.lines = {0, 63 | 0x40, 0x30, 0, 1, 50, 0x40, 0, /* line 1 */ 255, 40, 0x20, 0, 1, 60, 0x50, 0};
    auto music = loadedSong(writeTrackerSong(tracker));
    music->setVoiceMuted(1, true);
    const std::vector<int16_t> muted = play(*music, 4 * FRAME_LENGTH);
    tracker.lines[5] = tracker.lines[13] = 0;  // voice 1 at volume 0
    EXPECT_EQ(muted, play(*loadedSong(writeTrackerSong(tracker)), 4 * FRAME_LENGTH));

    YmMixSong mix;
    mix.sampleData = YmBytes(1000, 20);
    mix.blocks = {{0, 1000, 2, 22050}};
    music = loadedSong(writeMixSong(mix));
    music->setVoiceMuted(0, true);
    EXPECT_EQ(play(*music, 3000, R), std::vector<int16_t>(3000, 0));
    music->setVoiceMuted(0, false);
    EXPECT_NE(play(*music, 1000, R), std::vector<int16_t>(1000, 0));
}

// Meters say how loud each voice is and what it sounds with.
TEST(YmMeter, VoicesShowTheirLevelAndSources) {
    // A: tone at 12; B: noise only, on the envelope; C: a digidrum.
    YmFrame16 f = frame16({{0, 100}, {3, 0x30}, {6, 5}, {7, 0x2E}, {9, 0x10}, {10, 0}, {8, 0x2C},
                           {11, 0x40}, {12, 1}, {13, 14}, {15, 200}});
    YmRegisterSong song;
    song.frames = {f, f};
    song.drums = {YmBytes(5000, 250)};
    auto music = loadedSong(writeRegisterSong(song));
    play(*music, 1000);  // the first frame ticks when the request reaches its end
    YmVoiceLevel a = music->voiceLevel(0), b = music->voiceLevel(1), c = music->voiceLevel(2);
    EXPECT_EQ(a.level, 12);
    EXPECT_TRUE(a.tone && !a.noise && !a.envelope && !a.sample);
    EXPECT_TRUE(!b.tone && b.noise && b.envelope && !b.sample);
    EXPECT_GT(b.level, 0);
    EXPECT_TRUE(c.sample);
    EXPECT_GT(c.level, 10);
    EXPECT_EQ(music->voiceLevel(3).level, 0);  // no such voice

    music->setVoiceMuted(0, true);
    play(*music, 2 * FRAME_LENGTH);
    EXPECT_TRUE(music->voiceLevel(0).muted);
    EXPECT_EQ(music->voiceLevel(0).level, 0);
    music->setPaused(true);
    play(*music, 100);
    EXPECT_EQ(music->voiceLevel(1).level, 0);
    EXPECT_EQ(music->voiceLevel(2).level, 0);
}

// Another thread sets the controls and reads the meters while this one
// renders (run under ThreadSanitizer, a data race would show here); the
// render keeps one setting per request.
TEST(YmControls, AnotherThreadControlsWhileOneRenders) {
    auto music = loadedSong(writeRegisterSong(effectTune(500)));
    std::atomic<bool> done{false};
    std::thread controller([&] {
        for (int i = 0; !done; i++) {
            music->setPaused(i % 3 == 0);
            music->setVoiceMuted(i % 3, i % 2 == 0);
            music->setLoop(i % 5 != 0);
            (void)music->voiceLevel(i % 3);
            (void)music->position();
            std::this_thread::yield();
        }
    });
    std::vector<int16_t> buffer(2 * R);
    for (int i = 0; i < 200; i++) music->renderAudio(buffer.data(), R);
    done = true;
    controller.join();
    music->setPaused(false);
    for (int v = 0; v < 3; v++) music->setVoiceMuted(v, false);
    EXPECT_TRUE(music->seek(0));
    EXPECT_EQ(music->position(), 0);
}
