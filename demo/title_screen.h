#pragma once
// The title: its picture faded in, held and faded out (Space ends the hold
// early), then the framebuffer cleared for the next scene.
void runTitleScreen();
