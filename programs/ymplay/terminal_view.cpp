#include "programs/ymplay/terminal_view.h"

#include <curses.h>
#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "programs/ymplay/song_text.h"

namespace {

const int FULL_VIEW_COLUMNS = 60;
const int FIXED_ROWS = 14;  // every row but the voices' and the skipped files'
const int METER_CELLS = 15;
const char* const KEYS[] = {"Space pause", "Left/Right 5 s", "PgUp/PgDn 30 s", "Home start", "1 2 3 mute",
                            "+ - volume",  "n p song",       "l loop",         "s shuffle",  "q quit"};
const int KEY_ROWS = 2;
enum { PAIR_METER = 1, PAIR_MARK = 2, PAIR_MUTED = 3 };

const char* kindText(int32_t kind) {
    switch (kind) {
        case KIND_YM2: return "register song with built-in drums";
        case KIND_YM3: return "register song";
        case KIND_YM5: return "register song with effects";
        case KIND_YM6: return "register song with two effect slots";
        case KIND_TRACKER: return "tracker song";
        case KIND_MIX: return "digi-mix song";
        default: return "song";
    }
}

// Text at a row, cut to the screen's width.
void put(int row, int column, const std::string& text, attr_t attributes = A_NORMAL) {
    if (row < 0 || row >= LINES || column >= COLS) return;
    attron(attributes);
    mvaddstr(row, column, clipText(text, size_t(COLS - column)).c_str());
    attroff(attributes);
}

std::string stateText(const PlayerSession& session) {
    std::string state = session.paused() ? "paused" : "playing";
    if (session.looping()) state += "  loop";
    if (session.shuffled()) state += "  shuffle";
    return state;
}

std::string progressBar(const SongTime& t, int cells) {
    if (cells < 3) return "";
    int filled = t.length > 0 ? int(std::min<int64_t>(t.position * cells / t.length, cells)) : 0;
    return "[" + std::string(size_t(filled), '=') + std::string(size_t(cells - filled), '-') + "]";
}

std::string passText(const PlayerSession& session, const SongTime& t) {
    if (session.looping() || session.passes() == 0) return "pass " + std::to_string(t.pass);
    return "pass " + std::to_string(t.pass) + "/" + std::to_string(session.passes());
}

}  // namespace

bool TerminalView::open() {
    std::setlocale(LC_ALL, "");
    utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    // newterm, unlike initscr, returns instead of ending the program when the terminal is unknown.
    if (!newterm(nullptr, stdout, stdin)) return false;
    isOpen = true;
    cbreak();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    curs_set(0);
    colours = has_colors();
    if (colours) {
        start_color();
        use_default_colors();
        init_pair(PAIR_METER, COLOR_GREEN, -1);
        init_pair(PAIR_MARK, COLOR_YELLOW, -1);
        init_pair(PAIR_MUTED, COLOR_RED, -1);
    }
    return true;
}

void TerminalView::close() {
    if (!isOpen) return;
    isOpen = false;
    endwin();
}

int TerminalView::readKey(int milliseconds) {
    timeout(milliseconds);
    int key = getch();
    return key == ERR ? -1 : key;
}

void TerminalView::draw(const PlayerSession& session) {
    erase();
    const YmMusic* song = session.song();
    int voices = song ? std::min(song->info().voiceCount, YM_MAX_VOICES) : 0;
    if (COLS < FULL_VIEW_COLUMNS || LINES < FIXED_ROWS + voices) {
        drawOneLine(session);
    } else {
        drawFull(session);
    }
    refresh();
}

void TerminalView::drawOneLine(const PlayerSession& session) {
    const YmMusic* song = session.song();
    std::string line = std::to_string(session.fileNumber()) + "/" + std::to_string(session.fileCount());
    if (song) {
        SongTime t = session.time();
        line += " " + minutesAndSeconds(t.position) + "/" + minutesAndSeconds(t.length) + " " +
                displayText(song->info().title, utf8) + " - " + displayText(song->info().author, utf8);
    }
    if (session.paused()) line += " [paused]";
    put(0, 0, line);
}

void TerminalView::drawFull(const PlayerSession& session) {
    const YmMusic* song = session.song();
    std::string place = std::to_string(session.fileNumber()) + "/" + std::to_string(session.fileCount());
    put(0, 0, "ymplay  " + place, A_BOLD);
    std::string state = stateText(session);
    put(0, std::max(0, COLS - int(state.size()) - 1), state, A_BOLD);
    if (!song) return;

    const YmSongInfo& info = song->info();
    const char* labels[4] = {"Title", "Author", "Comment", "Format"};
    std::string kind = displayText(info.format, utf8) + " (" + displayText(info.tag, utf8) + "), " + kindText(info.kind);
    if (info.playerRate > 0) kind += ", " + std::to_string(info.playerRate) + " Hz";
    const std::string values[4] = {displayText(info.title, utf8), displayText(info.author, utf8),
                                   displayText(info.comment, utf8), kind};
    for (int i = 0; i < 4; i++) {
        put(2 + i, 1, labels[i], A_BOLD);
        put(2 + i, 10, values[i]);
    }

    SongTime t = session.time();
    std::string elapsed = minutesAndSeconds(t.position), total = minutesAndSeconds(t.length);
    std::string passes = passText(session, t);
    int cells = COLS - int(elapsed.size() + total.size() + passes.size()) - 8;
    put(7, 1, elapsed + " " + progressBar(t, cells) + " " + total + "  " + passes);

    int voices = std::min(info.voiceCount, YM_MAX_VOICES);
    for (int v = 0; v < voices; v++) {
        YmVoiceLevel level = song->voiceLevel(v);
        int row = 9 + v;
        put(row, 1, std::string(1, char('A' + v)), A_BOLD);
        std::string bar = std::string(size_t(level.level), '#') + std::string(size_t(METER_CELLS - level.level), '.');
        put(row, 3, "[" + bar + "]", colours ? COLOR_PAIR(PAIR_METER) : A_NORMAL);
        char number[8];
        std::snprintf(number, sizeof number, "%2d", level.level);
        put(row, 21, number);
        std::string marks;
        if (level.tone) marks += "tone ";
        if (level.noise) marks += "noise ";
        if (level.envelope) marks += "env ";
        if (level.sample) marks += info.kind == KIND_TRACKER || info.kind == KIND_MIX ? "sample " : "drum ";
        put(row, 25, marks, colours ? COLOR_PAIR(PAIR_MARK) : A_NORMAL);
        if (level.muted) put(row, 51, "muted", colours ? COLOR_PAIR(PAIR_MUTED) | A_BOLD : A_BOLD);
    }

    int row = 10 + voices;
    put(row++, 1, "Volume " + std::to_string(session.volume()) + "%");
    // The files skipped, the latest last, as many as there is room for.
    const std::vector<std::string>& skipped = session.skipped();
    int room = LINES - 1 - KEY_ROWS - (row + 1);
    size_t first = skipped.size() > size_t(std::max(room, 0)) ? skipped.size() - size_t(std::max(room, 0)) : 0;
    row++;
    for (size_t i = first; i < skipped.size() && row < LINES - 1 - KEY_ROWS; i++) {
        put(row++, 1, "skipped " + displayText(skipped[i].c_str(), utf8));
    }
    drawKeys();
}

// The keys at the bottom, on as many of the last two rows as they need.
void TerminalView::drawKeys() {
    std::string rows[KEY_ROWS];
    int row = 0;
    for (const char* key : KEYS) {
        std::string item = std::string(" ") + key + " ";
        if (!rows[row].empty() && int(rows[row].size() + item.size()) > COLS && row + 1 < KEY_ROWS) row++;
        rows[row] += item;
    }
    for (int i = 0; i <= row; i++) {
        rows[i].resize(size_t(COLS), ' ');
        put(LINES - 1 - row + i, 0, rows[i], A_REVERSE);
    }
}

bool handleKey(PlayerSession& session, int key) {
    switch (key) {
        case 'q': case 'Q': case 27: return false;
        case ' ': session.togglePause(); break;
        case KEY_RIGHT: return session.seekBy(5);
        case KEY_LEFT: return session.seekBy(-5);
        case KEY_PPAGE: return session.seekBy(30);
        case KEY_NPAGE: return session.seekBy(-30);
        case KEY_HOME: session.seekToStart(); break;
        case '1': case '2': case '3': session.toggleMute(key - '1'); break;
        case '+': case '=': session.changeVolume(10); break;
        case '-': case '_': session.changeVolume(-10); break;
        case 'n': case 'N': return session.next();
        case 'p': case 'P': session.previous(); break;
        case 'l': case 'L': session.toggleLoop(); break;
        case 's': case 'S': session.toggleShuffle(); break;
        default: break;
    }
    return true;
}
