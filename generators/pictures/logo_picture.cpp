#include "generators/pictures/logotype.h"
#include "generators/pictures/pictures.h"

// The pulsing logo sits on pure black, which its zoom skips; every pixel of
// the lettering, outline included, is lighter than that.
Canvas makePulsingLogo() {
    Canvas c = makeCanvas(286, 42, {0, 0, 0});
    Mask letters = logotypeMask(282, 38);
    ChromeStyle chrome;
    chrome.bevel = 1;
    paintChrome(c, letters, 2, 2, chrome);
    return c;
}
