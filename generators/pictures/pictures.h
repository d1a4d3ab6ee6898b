#pragma once
// One maker per picture of the production. Each returns the finished canvas;
// make_pictures encodes and names them.
#include "generators/pictures/canvas.h"

Canvas makeTitlePicture();
Canvas makePulsingLogo();

// The font sheet holds one glyph per byte of this list, in this order.
const int kFontCharacterCount = 59;
extern const unsigned char kFontCharacters[kFontCharacterCount];
Canvas makeFontSheet();
Canvas makeLargeOrb();   // 35 x 35
Canvas makeMediumOrb();  // 26 x 26
Canvas makeSmallOrb();   // 18 x 18
// Carousel cards, in the order they are shown.
Canvas makeYearsCard();
Canvas makeCodeCard();
Canvas makeGraphicsCard();
Canvas makeMusicCard();
Canvas makeGreetingsCard();
Canvas makeEmblemCard();
Canvas makeBackground();
