// What the message encoding asks of the system: the left/right shift key,
// the pointer position, raw mouse records and tablet packets.
#include "app/win32/input_messages.h"
#include "app/win32/win32_backend.h"

namespace {

typedef BOOL(WINAPI* RegisterRawInputDevicesFunction)(PCRAWINPUTDEVICE, UINT, UINT);

int32_t virtualKeyFromScanCode(int32_t scanCode, void*) {
    return int32_t(MapVirtualKeyA(UINT(scanCode), MAPVK_VSC_TO_VK_EX));
}

void pointerPosition(int32_t* x, int32_t* y, void* context) { getPointerPosition(static_cast<App*>(context), x, y); }

bool rawMouseMotion(int64_t lParam, int32_t* dx, int32_t* dy, void* context) {
    AppBackend* backend = static_cast<App*>(context)->backend;
    if (!backend->getRawInputData) return false;
    // The record and header sizes are those of this build (64-bit), which
    // the call checks.
    RAWINPUT record;
    UINT size = sizeof record;
    if (backend->getRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &record, &size,
                                 sizeof(RAWINPUTHEADER)) == UINT(-1))
        return false;
    if (record.header.dwType != RIM_TYPEMOUSE) return false;
    *dx = record.data.mouse.lLastX;
    *dy = record.data.mouse.lLastY;
    return true;
}

// As requested when the context was opened: buttons, x, y, normal pressure.
struct TabletPacketRecord {
    DWORD buttons;
    LONG x, y;
    UINT pressure;
};
static_assert(sizeof(TabletPacketRecord) == 16, "the tablet fills 16 bytes per packet");

bool tabletPacket(uint64_t wParam, int64_t lParam, TabletPacket* packet, void* context) {
    AppBackend* backend = static_cast<App*>(context)->backend;
    const TabletContext tablet = reinterpret_cast<TabletContext>(lParam);
    if (!backend->tabletContext || tablet != backend->tabletContext) return false;
    TabletPacketRecord record = {};
    if (!backend->WTPacket(tablet, UINT(wParam), &record)) return false;
    POINT point = {record.x, record.y};
    ScreenToClient(backend->window, &point);
    *packet = {record.buttons, point.x, point.y, record.pressure, backend->tabletMaxPressure};
    return true;
}

}  // namespace

bool queueWindowInput(App* app, UINT message, WPARAM wParam, LPARAM lParam) {
    const InputMessageQueries queries = {virtualKeyFromScanCode, pointerPosition, rawMouseMotion, tabletPacket, app};
    return queueInputMessage(app, message, uint64_t(wParam), int64_t(lParam), queries);
}

// Relative mouse motion, also while the window is in the background. The
// registration's own result is not needed: without it no record arrives.
void registerRawInput(App* app) {
    AppBackend* backend = app->backend;
    HMODULE user = LoadLibraryA("user32.dll");
    if (!user) return;
    auto registerDevices = libraryFunction<RegisterRawInputDevicesFunction>(user, "RegisterRawInputDevices");
    if (registerDevices) {
        backend->getRawInputData = libraryFunction<GetRawInputDataFunction>(user, "GetRawInputData");
        RAWINPUTDEVICE mouse = {1, 2, RIDEV_INPUTSINK, backend->window};  // generic desktop, mouse
        registerDevices(&mouse, 1, sizeof mouse);
    }
    FreeLibrary(user);  // user32 itself stays loaded: the program links it
}
