#pragma once
// The ids of the content. Each file of resources/ is named <id>-<name>.<ext>,
// and the program finds it by that id (findResourceData; a "DATA" resource
// of the Windows program). The build reads the lines below
// (cmake/resource_ids.cmake): every RESOURCE_ id must have a file, or the
// build stops. Keep one constant per line, "constexpr int NAME = ID;".

constexpr int RESOURCE_PULSING_LOGO = 127;     // 127-logo.png
constexpr int RESOURCE_TITLE_PICTURE = 141;    // 141-title.png
constexpr int RESOURCE_SCROLL_TEXT = 181;      // 181-scrolltext.txt
constexpr int RESOURCE_FONT_SHEET = 183;       // 183-font.png
constexpr int RESOURCE_ORB_SMALL = 198;        // 198-orb-small.png
constexpr int RESOURCE_ORB_MEDIUM = 199;       // 199-orb-medium.png
constexpr int RESOURCE_ORB_LARGE = 201;        // 201-orb-large.png
constexpr int RESOURCE_SONG = 217;             // 217-music.lh5
constexpr int RESOURCE_CARD_YEARS = 220;       // 220-card-years.png
constexpr int RESOURCE_CARD_CODE = 225;        // 225-card-code.png
constexpr int RESOURCE_CARD_GRAPHICS = 226;    // 226-card-graphics.png
constexpr int RESOURCE_CARD_MUSIC = 227;       // 227-card-music.png
constexpr int RESOURCE_CARD_GREETINGS = 228;   // 228-card-greetings.png
constexpr int RESOURCE_CARD_EMBLEM = 229;      // 229-card-emblem.png
constexpr int RESOURCE_BACKGROUND = 233;       // 233-background.png

// The Windows program's icon group (resources/icon/vitrelume.ico). Not 1:
// the shell asks for icon 1 for its window class and is meant to get none.
constexpr int WINDOWS_ICON_GROUP = 100;
