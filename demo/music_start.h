#pragma once
// The music: the song resource unpacked and parsed into the one YmMusic object,
// played looping through the sound stream until the main scene stops it.
#include <cstdint>

#include "demo/resource.h"

class YmMusic;

// The stream's callback: renders the music held in DemoState.
int musicSoundCallback(int16_t* samples, int32_t frameCount, void* userData);

// Copies, unpacks and parses `song` into `music`, then sets it up to play:
// low-pass on, looping, not paused. A song that does not load leaves the
// object not ready, so it renders silence; lastError says why.
void loadMusic(YmMusic& music, ResourceData song);

// Creates the music object in DemoState and starts the stream (4,410 frames).
void startMusic();

// Stops the stream (the streaming thread has ended when this returns), then
// rewinds, releases and deletes the music object.
void stopMusic();
