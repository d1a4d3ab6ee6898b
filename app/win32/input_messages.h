#pragma once
// Window messages that carry input, turned into queued AppEvents. Plain
// numbers in (message id, wParam, lParam), no windows.h, so that the encoding
// builds and is tested off Windows too. What only the system knows (the
// pointer position, a raw input record, a tablet packet, the left/right shift
// key) is asked through the queries. Main thread only.
#include <cstdint>

#include "app/app.h"

// One tablet packet, its position already in client-area pixels.
struct TabletPacket {
    uint32_t buttons;
    int32_t x, y;
    uint32_t pressure;     // normal pressure, 0..maxPressure
    int32_t maxPressure;   // of the tablet's pressure axis
};

struct InputMessageQueries {
    // The virtual key of a scan code, telling left from right (0: none).
    int32_t (*virtualKeyFromScanCode)(int32_t scanCode, void* context);
    // The pointer's position now, in client-area pixels.
    void (*pointerPosition)(int32_t* x, int32_t* y, void* context);
    // The relative motion of the raw record `lParam` names; false when there
    // is no raw input, the read fails or it is not a mouse record.
    bool (*rawMouseMotion)(int64_t lParam, int32_t* dx, int32_t* dy, void* context);
    // The packet with serial `wParam` of tablet context `lParam`; false
    // unless that is the open context and the packet could be read.
    bool (*tabletPacket)(uint64_t wParam, int64_t lParam, TabletPacket* packet, void* context);
    void* context;
};

// The tablet's packet message (its default message base).
enum : uint32_t { TABLET_PACKET_MESSAGE = 0x7FF0 };

// Queues the events of one message. Returns false when the message carries
// no input (it is someone else's to handle).
bool queueInputMessage(App* app, uint32_t message, uint64_t wParam, int64_t lParam, const InputMessageQueries& queries);
