// Writes every picture of the production into a folder, named as the
// resources folder expects: make_pictures OUT_DIR
#include <cstdio>
#include <string>

#include "tools/pictures/pictures.h"

namespace {

struct Picture {
    const char* fileName;
    Canvas (*make)();
    bool palette;  // colour type 3 instead of 2
};

const Picture kPictures[] = {
    {"127-logo.png", makePulsingLogo, true},
    {"141-title.png", makeTitlePicture, false},
    {"183-font.png", makeFontSheet, true},
    {"198-orb-small.png", makeSmallOrb, false},
    {"199-orb-medium.png", makeMediumOrb, false},
    {"201-orb-large.png", makeLargeOrb, false},
    {"220-card-years.png", makeYearsCard, false},
    {"225-card-code.png", makeCodeCard, false},
    {"226-card-graphics.png", makeGraphicsCard, false},
    {"227-card-music.png", makeMusicCard, false},
    {"228-card-greetings.png", makeGreetingsCard, false},
    {"229-card-emblem.png", makeEmblemCard, false},
    {"233-background.png", makeBackground, false},
};

bool writePicture(const std::string& dir, const Picture& p) {
    Canvas c = p.make();
    std::vector<uint8_t> png;
    if (p.palette) {
        std::vector<uint8_t> indices;
        std::vector<Rgb> palette;
        if (!toPalette(c, indices, palette)) {
            std::fprintf(stderr, "%s: more than 256 colours\n", p.fileName);
            return false;
        }
        png = encodePngPalette(c.width, c.height, indices, palette);
    } else {
        png = encodePngRgb(c.width, c.height, c.pixels);
    }
    std::string path = dir + "/" + p.fileName;
    if (png.empty() || !writeFileBytes(path, png)) {
        std::fprintf(stderr, "%s: cannot write\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pictures OUT_DIR\n");
        return 2;
    }
    bool ok = true;
    for (const Picture& p : kPictures) ok = writePicture(argv[1], p) && ok;
    return ok ? 0 : 1;
}
