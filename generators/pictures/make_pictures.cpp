// Writes every picture of the production into a folder, named as the
// resources folder expects: make_pictures OUT_DIR
#include <cstdio>
#include <string>

#include "cli/command_line.h"
#include "generators/pictures/pictures.h"
#include "resources/resource_ids.h"

namespace {

struct Picture {
    int id;
    const char* name;  // the file is <id>-<name>.png
    Canvas (*make)();
    bool palette;  // colour type 3 instead of 2
};

const Picture kPictures[] = {
    {RESOURCE_PULSING_LOGO, "logo", makePulsingLogo, true},
    {RESOURCE_TITLE_PICTURE, "title", makeTitlePicture, false},
    {RESOURCE_FONT_SHEET, "font", makeFontSheet, true},
    {RESOURCE_ORB_SMALL, "orb-small", makeSmallOrb, false},
    {RESOURCE_ORB_MEDIUM, "orb-medium", makeMediumOrb, false},
    {RESOURCE_ORB_LARGE, "orb-large", makeLargeOrb, false},
    {RESOURCE_CARD_YEARS, "card-years", makeYearsCard, false},
    {RESOURCE_CARD_CODE, "card-code", makeCodeCard, false},
    {RESOURCE_CARD_GRAPHICS, "card-graphics", makeGraphicsCard, false},
    {RESOURCE_CARD_MUSIC, "card-music", makeMusicCard, false},
    {RESOURCE_CARD_GREETINGS, "card-greetings", makeGreetingsCard, false},
    {RESOURCE_CARD_EMBLEM, "card-emblem", makeEmblemCard, false},
    {RESOURCE_BACKGROUND, "background", makeBackground, false},
};

bool writePicture(const std::string& dir, const Picture& p) {
    const std::string fileName = std::to_string(p.id) + "-" + p.name + ".png";
    Canvas c = p.make();
    std::vector<uint8_t> png;
    if (p.palette) {
        std::vector<uint8_t> indices;
        std::vector<Rgb> palette;
        if (!toPalette(c, indices, palette)) {
            std::fprintf(stderr, "%s: more than 256 colours\n", fileName.c_str());
            return false;
        }
        png = encodePngPalette(c.width, c.height, indices, palette);
    } else {
        png = encodePngRgb(c.width, c.height, c.pixels);
    }
    std::string path = dir + "/" + fileName;
    if (png.empty() || !writeFileBytes(path, png)) {
        std::fprintf(stderr, "%s: cannot write\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine command("make_pictures", "usage: make_pictures OUT_DIR\n",
                        "Draws every picture of the production into OUT_DIR, named as resources/ names them.\n");
    std::string outDir;
    command.app.add_option("OUT_DIR", outDir, "The folder to write into")->type_name("")->required();
    int ended = command.parse(argc, argv);
    if (ended >= 0) return ended;
    bool ok = true;
    for (const Picture& p : kPictures) ok = writePicture(outDir, p) && ok;
    return ok ? 0 : 1;
}
