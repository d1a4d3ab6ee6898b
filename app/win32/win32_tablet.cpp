// The pen tablet through Wintab32.dll, loaded by name: one logical context
// whose packets (buttons, position, pressure) arrive as window messages.
#include "app/win32/input_messages.h"
#include "app/win32/win32_backend.h"

namespace {

enum : UINT { INFO_DEFAULT_SYSTEM_CONTEXT = 4, INFO_DEVICES = 100, DEVICE_NORMAL_PRESSURE = 15 };
enum : UINT { OPTION_MESSAGES = 0x0004 };
enum : DWORD { PACKET_BUTTONS = 0x0040, PACKET_X = 0x0080, PACKET_Y = 0x0100, PACKET_NORMAL_PRESSURE = 0x0400 };

// The tablet's logical context record, ANSI form.
struct LogicalContext {
    char name[40];
    UINT options, status, locks, messageBase, device, packetRate;
    DWORD packetData, packetMode, moveMask;
    DWORD buttonDownMask, buttonUpMask;
    LONG inOriginX, inOriginY, inOriginZ, inExtentX, inExtentY, inExtentZ;
    LONG outOriginX, outOriginY, outOriginZ, outExtentX, outExtentY, outExtentZ;
    DWORD sensitivityX, sensitivityY, sensitivityZ;
    BOOL systemMode;
    int systemOriginX, systemOriginY, systemExtentX, systemExtentY;
    DWORD systemSensitivityX, systemSensitivityY;
};
static_assert(sizeof(LogicalContext) == 172, "the tablet reads 172 bytes");

struct Axis {
    LONG minimum, maximum;
    UINT units;
    DWORD resolution;
};

bool loadTablet(AppBackend* backend) {
    backend->tabletModule = LoadLibraryA("Wintab32.dll");
    if (!backend->tabletModule) return false;
    HMODULE tablet = backend->tabletModule;
    backend->WTInfoA = libraryFunction<TabletInfoFunction>(tablet, "WTInfoA");
    backend->WTOpenA = libraryFunction<TabletOpenFunction>(tablet, "WTOpenA");
    backend->WTClose = libraryFunction<TabletCloseFunction>(tablet, "WTClose");
    backend->WTEnable = libraryFunction<TabletEnableFunction>(tablet, "WTEnable");
    backend->WTPacket = libraryFunction<TabletPacketFunction>(tablet, "WTPacket");
    return backend->WTInfoA && backend->WTOpenA && backend->WTClose && backend->WTEnable && backend->WTPacket;
}

}  // namespace

bool openTablet(App* app) {
    AppBackend* backend = app->backend;
    if (!loadTablet(backend)) return false;
    if (backend->WTInfoA(0, 0, nullptr) == 0) return false;  // no tablet service

    LogicalContext context = {};
    backend->WTInfoA(INFO_DEFAULT_SYSTEM_CONTEXT, 0, &context);
    Axis pressure = {};
    backend->WTInfoA(INFO_DEVICES, DEVICE_NORMAL_PRESSURE, &pressure);
    backend->tabletMaxPressure = pressure.maximum;

    context.options |= OPTION_MESSAGES;
    context.messageBase = TABLET_PACKET_MESSAGE;  // the packet message the window procedure knows
    context.packetData = context.moveMask = PACKET_BUTTONS | PACKET_X | PACKET_Y | PACKET_NORMAL_PRESSURE;
    context.packetMode = 0;  // every field absolute
    context.buttonUpMask = context.buttonDownMask;
    // Screen pixels with y growing downwards.
    context.outOriginX = context.outOriginY = 0;
    context.outExtentX = GetSystemMetrics(SM_CXSCREEN);
    context.outExtentY = -GetSystemMetrics(SM_CYSCREEN);
    // Enabled by the first frame, when the window shows.
    backend->tabletContext = backend->WTOpenA(backend->window, &context, FALSE);
    return backend->tabletContext != nullptr;
}

void closeTablet(App* app) {
    AppBackend* backend = app->backend;
    if (backend->tabletContext) backend->WTClose(backend->tabletContext);
    backend->tabletContext = nullptr;
    if (backend->tabletModule) FreeLibrary(backend->tabletModule);
    backend->tabletModule = nullptr;
}
