// ymplay: plays YM songs through the sound card, in a full-terminal view or
// as one line per song. Exit codes: 0 when a song played, 1 when none could
// (or there is no sound device), 2 for bad arguments.
#include <langinfo.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include "app/posix_stdio.h"
#include "programs/ymplay/player_options.h"
#include "programs/ymplay/playlist.h"
#include "programs/ymplay/sdl_audio.h"
#include "programs/ymplay/song_text.h"
#include "programs/ymplay/terminal_view.h"

namespace {

volatile std::sig_atomic_t quitSignal = 0;

void onQuitSignal(int signal) { quitSignal = signal; }

// Ctrl+C, SIGTERM and a closed terminal end the loop, which gives the
// terminal back; no SA_RESTART, so a wait for a key ends at once.
void catchQuitSignals() {
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

const int WAIT_MS = 40;    // the view's refresh and the line mode's check
const int DRAIN_MS = 150;  // three requests

// Both loops return true when the list has played to its end.
bool runView(PlayerSession& session, TerminalView& view) {
    for (;;) {
        view.draw(session);
        int key = view.readKey(WAIT_MS);
        if (quitSignal) return false;
        if (key >= 0 && !handleKey(session, key)) return false;
        if (!session.update()) return true;
    }
}

void printSkipped(PlayerSession& session, size_t* printed) {
    const std::vector<std::string>& skipped = session.skipped();
    for (; *printed < skipped.size(); ++*printed) std::fprintf(stderr, "ymplay: skipped %s\n", skipped[*printed].c_str());
}

bool runLines(PlayerSession& session, size_t* skippedPrinted) {
    bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    int printed = 0;
    for (;;) {
        printSkipped(session, skippedPrinted);
        if (session.songsStarted() != printed) {
            printed = session.songsStarted();
            const YmSongInfo& info = session.song()->info();
            std::printf("%zu/%zu %s - %s (%s)\n", session.fileNumber(), session.fileCount(),
                        displayText(info.title, utf8).c_str(), displayText(info.author, utf8).c_str(),
                        minutesAndSeconds(info.length).c_str());
            std::fflush(stdout);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(WAIT_MS));
        if (quitSignal) return false;
        if (!session.update()) return true;
    }
}

}  // namespace

int main(int argc, char** argv) {
    guardStandardStreams();
    PlayerOptions options;
    int exitCode = parsePlayerOptions(argc, argv, &options);
    if (exitCode >= 0) return exitCode;
    catchQuitSignals();
    std::setlocale(LC_ALL, "");

    std::vector<std::string> problems;
    std::vector<std::string> files = expandPaths(options.paths, &problems);
    Deck deck;
    SdlAudio audio;
    std::string reason;
    if (!audio.open(deck, &reason)) {
        std::fprintf(stderr, "No audio device: %s\n", reason.c_str());
        return 1;
    }
    PlayerSession session(files, options.settings, deck);
    for (const std::string& problem : problems) session.noteProblem(problem);

    TerminalView view;
    bool useView = !options.noUi && isatty(STDOUT_FILENO) && isatty(STDIN_FILENO) && view.open();
    size_t skippedPrinted = 0;
    if (session.begin()) {
        bool played = useView ? runView(session, view) : runLines(session, &skippedPrinted);
        // The device still holds the last requests: let them be heard.
        if (played) std::this_thread::sleep_for(std::chrono::milliseconds(DRAIN_MS));
    }
    audio.close();  // the sound thread has left the deck
    view.close();
    printSkipped(session, &skippedPrinted);
    if (session.songsStarted() == 0 && files.empty()) std::fprintf(stderr, "ymplay: no files to play\n");

    if (quitSignal) {
        std::fflush(nullptr);
        std::signal(quitSignal, SIG_DFL);
        std::raise(quitSignal);
    }
    return session.songsStarted() > 0 ? 0 : 1;
}
