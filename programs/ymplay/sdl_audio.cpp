#include "programs/ymplay/sdl_audio.h"

#include <SDL.h>

namespace {

void fillFromDeck(void* deck, Uint8* stream, int bytes) {
    static_cast<Deck*>(deck)->fill(reinterpret_cast<int16_t*>(stream), bytes / int(2 * sizeof(int16_t)));
}

}  // namespace

bool SdlAudio::open(Deck& deck, std::string* reason) {
    // The player handles Ctrl+C and SIGTERM itself, to give the terminal back.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        *reason = SDL_GetError();
        return false;
    }
    initialised = true;
    SDL_AudioSpec wanted{};
    wanted.freq = YM_OUTPUT_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = Uint16(YM_REQUEST_FRAMES);
    wanted.callback = fillFromDeck;
    wanted.userdata = &deck;
    SDL_AudioSpec obtained{};
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        *reason = SDL_GetError();
        close();
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlAudio::close() {
    if (device != 0) SDL_CloseAudioDevice(device);
    device = 0;
    if (initialised) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    initialised = false;
}
