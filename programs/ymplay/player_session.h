#pragma once
// The player's state on the interface thread: the playlist and where it is,
// the song on the deck, and what the keys ask (pause, seek, mutes, volume,
// loop, shuffle, next and previous). The terminal view and the plain line
// output both drive it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "programs/ymplay/deck.h"

struct PlayerSettings {
    int passes = 1;            // plays of a song (its first pass, then its loop); 0: for ever
    double startSeconds = 0;   // where the first song starts
    uint32_t mutedVoices = 0;  // bit 0: voice A
};

// Where the song is, as the view shows it.
struct SongTime {
    int64_t position = 0;  // frames into the song, folded into its loop after the first pass
    int64_t length = 0;    // frames of one pass
    int pass = 1;
};

class PlayerSession {
public:
    PlayerSession(std::vector<std::string> files, PlayerSettings settings, Deck& deck);

    // Starts the first song that loads. False when none does.
    bool begin();
    // Moves on when the song on the deck has ended; false once the list has
    // no song left to play.
    bool update();

    // The keys.
    void togglePause();
    bool seekBy(double seconds);  // past the end: the next song (false when there is none)
    void seekToStart();
    void toggleMute(int voice);
    void changeVolume(int step);  // percent, 0 to 100
    void toggleLoop();
    void toggleShuffle();
    bool next();
    bool previous();

    // For the views.
    const YmMusic* song() const;
    SongTime time() const;
    size_t fileNumber() const;  // 1-based place in the list of files
    size_t fileCount() const { return files.size(); }
    bool paused() const { return pausedAll; }
    bool looping() const { return loopForever; }
    bool shuffled() const { return shuffleOn; }
    int volume() const { return deck.volumePercent(); }
    uint32_t mutedVoices() const { return settings.mutedVoices; }
    int passes() const { return settings.passes; }
    // "PATH: reason" of every file skipped so far, in the order met.
    const std::vector<std::string>& skipped() const { return skippedLines; }
    void noteProblem(const std::string& line) { skippedLines.push_back(line); }
    // Songs started so far (a view prints a line when it changes).
    int songsStarted() const { return started; }

private:
    // Loads the song at place `at` of the order, or the first after it (or
    // before it, going back) that loads, and puts it on the deck.
    bool startFrom(size_t at, int direction);
    int64_t endFrame(const YmMusic& music) const;

    std::vector<std::string> files;
    std::vector<size_t> order;     // indices into files, in play order
    std::vector<bool> refused;     // files that did not load (reported once)
    size_t place = 0;              // in order
    PlayerSettings settings;
    Deck& deck;
    bool pausedAll = false;
    bool loopForever = false;
    bool shuffleOn = false;
    bool firstSong = true;
    int started = 0;
    std::vector<std::string> skippedLines;
};
