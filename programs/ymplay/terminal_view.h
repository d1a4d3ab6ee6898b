#pragma once
// The full-terminal view of the player, drawn with ncurses: the song's texts
// and kind, its time with a progress bar, the playlist place, the state, a
// meter per voice, the files skipped and a line of keys. A terminal too small
// for all that gets a one-line view.
#include "programs/ymplay/player_session.h"

class TerminalView {
public:
    // Takes the terminal (false when it cannot: no terminal, unknown type).
    bool open();
    // Gives the terminal back as it was; safe to call more than once.
    void close();
    // Waits up to `milliseconds` for a key: the ncurses key code, or -1.
    int readKey(int milliseconds);
    void draw(const PlayerSession& session);

private:
    void drawFull(const PlayerSession& session);
    void drawOneLine(const PlayerSession& session);
    void drawKeys();
    bool isOpen = false;
    bool utf8 = false;
    bool colours = false;
};

// Acts on one key of the view; false when it asks to quit (q, Escape) or the
// list has no song left.
bool handleKey(PlayerSession& session, int key);
