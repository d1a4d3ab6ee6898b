// The player's logic without the sound card and the terminal: the deck the
// sound thread fills from, passes, seeks past the ends, volume, shuffle and
// loop, driven the way the sound thread and the keys drive them.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <thread>

#include "generators/test_songs/test_song_set.h"
#include "programs/ymplay/player_session.h"

namespace {

const int R = YM_REQUEST_FRAMES;

class PlayerSessionTest : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("ymplay-session-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        for (const TestSong& song : makeTestSongs(1)) {
            std::string path = (folder / song.name).string();
            ASSERT_TRUE(writeFileBytes(path, song.bytes));
            if (song.name == "ym5.ym" || song.name == "ym3.ym" || song.name == "ymt2.ym") files.push_back(path);
        }
        std::sort(files.begin(), files.end());  // ym3, ym5, ymt2
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // What the sound thread does: one request.
    std::vector<int16_t> fill() {
        std::vector<int16_t> out(2 * R);
        deck.fill(out.data(), R);
        return out;
    }
    int64_t fillUntilEnded() {
        int64_t requests = 0;
        while (!deck.current()->ended.load() && requests < 10000) fill(), requests++;
        return requests;
    }

    std::filesystem::path folder;
    std::vector<std::string> files;
    Deck deck;
};

}  // namespace

TEST_F(PlayerSessionTest, PassesThenTheNextSongThenTheEnd) {
    PlayerSettings settings;
    settings.passes = 2;
    PlayerSession session(files, settings, deck);
    ASSERT_TRUE(session.begin());
    const YmSongInfo info = session.song()->info();
    fillUntilEnded();
    EXPECT_EQ(session.song()->position(), info.length + info.loopLength);
    SongTime t = session.time();
    EXPECT_EQ(t.pass, 2);
    EXPECT_EQ(t.position, info.length);  // the end of the second pass
    ASSERT_TRUE(session.update());
    EXPECT_EQ(session.fileNumber(), 2u);
    EXPECT_TRUE(session.next());
    EXPECT_EQ(session.fileNumber(), 3u);
    fillUntilEnded();
    EXPECT_FALSE(session.update());
    EXPECT_EQ(session.songsStarted(), 3);
}

TEST_F(PlayerSessionTest, SeeksStopAtTheStartAndGoOnPastTheEnd) {
    PlayerSession session(files, PlayerSettings{}, deck);
    ASSERT_TRUE(session.begin());
    fill();
    EXPECT_TRUE(session.seekBy(-5));
    fill();
    EXPECT_EQ(session.song()->position(), R);  // from 0, one request on
    EXPECT_TRUE(session.seekBy(0.5));
    EXPECT_EQ(session.time().position, R + 22050);  // a pending seek already shows
    EXPECT_TRUE(session.seekBy(30));
    EXPECT_EQ(session.fileNumber(), 2u);
    session.previous();
    EXPECT_EQ(session.fileNumber(), 1u);
    session.previous();  // at the first: back to its start
    fill();
    EXPECT_EQ(session.song()->position(), R);
    EXPECT_TRUE(session.seekBy(30));
    EXPECT_TRUE(session.seekBy(30));
    EXPECT_FALSE(session.seekBy(30));  // past the last song: the list is over
}

TEST_F(PlayerSessionTest, VolumePauseLoopAndShuffle) {
    PlayerSession session(files, PlayerSettings{}, deck);
    ASSERT_TRUE(session.begin());
    std::vector<int16_t> loud = fill();
    session.seekToStart();
    session.changeVolume(-50);
    std::vector<int16_t> soft = fill();
    for (size_t i = 0; i < loud.size(); i++) ASSERT_EQ(soft[i], loud[i] * 50 / 100) << i;
    session.changeVolume(+80);
    EXPECT_EQ(session.volume(), 100);

    session.togglePause();
    EXPECT_EQ(fill(), std::vector<int16_t>(2 * R, 0));
    EXPECT_EQ(session.song()->position(), R);
    session.togglePause();

    // Looping, the song goes past its passes and the time folds into its loop.
    session.toggleLoop();
    const YmSongInfo info = session.song()->info();
    for (int64_t i = 0; i < 3 * info.length / R; i++) fill();
    EXPECT_FALSE(deck.current()->ended.load());
    EXPECT_GE(session.time().pass, 3);
    EXPECT_LT(session.time().position, info.length);

    // Shuffled, the song playing stays first and every other one follows once.
    session.toggleShuffle();
    EXPECT_EQ(session.fileNumber(), 1u);
    std::set<std::string> titles;
    while (session.next()) titles.insert(session.song()->info().format);
    EXPECT_EQ(titles.size(), 2u);
}

TEST_F(PlayerSessionTest, BadFilesAreSkippedOnceWhicheverWayTheListIsWalked) {
    std::string bad = (folder / "bad.ym").string();
    ASSERT_TRUE(writeFileBytes(bad, {'Y', 'M', '9', '!'}));
    PlayerSession session({files[0], bad, files[1]}, PlayerSettings{}, deck);
    ASSERT_TRUE(session.begin());
    ASSERT_TRUE(session.next());
    EXPECT_EQ(session.fileNumber(), 3u);
    session.previous();
    EXPECT_EQ(session.fileNumber(), 1u);
    EXPECT_EQ(session.skipped(), std::vector<std::string>{bad + ": Unknow YM format !"});
}

// The sound thread fills while the interface swaps songs as fast as it can:
// a song is freed only once the sound thread has let go of it (run under the
// sanitizers, a use after free or a race would show here).
TEST_F(PlayerSessionTest, SongsChangeUnderAFillingSoundThread) {
    std::atomic<bool> done{false};
    std::thread sound([&] {
        std::vector<int16_t> out(2 * 256);
        while (!done) deck.fill(out.data(), 256);
    });
    PlayerSession session(files, PlayerSettings{}, deck);
    ASSERT_TRUE(session.begin());
    for (int i = 0; i < 300; i++) {
        if (!session.next()) session.previous(), session.previous();
        session.update();
    }
    done = true;
    sound.join();
    deck.collect();
}
