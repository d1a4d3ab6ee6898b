#pragma once
// The sound card through SDL2's audio alone (no window): 44,100 Hz, 16-bit
// stereo, asked for in requests of YM_REQUEST_FRAMES frames, each filled by
// the deck on SDL's sound thread. SDL converts where the card differs, so the
// deck always sees that format and size.
#include <string>

#include "programs/ymplay/deck.h"

class SdlAudio {
public:
    ~SdlAudio() { close(); }
    // Opens the default device and starts it; false with SDL's reason.
    bool open(Deck& deck, std::string* reason);
    // Stops the sound thread (it has left the deck when this returns).
    void close();

private:
    unsigned device = 0;
    bool initialised = false;
};
