// Engine restart when the reference body changes.
#pragma once

#include "frontstate.h"

// Body names longer than this are cut (the frame record's field is this long).
constexpr int bodynamemax = frameBodyNameSize;

// Copies the frame's body name up to its first NUL, or all 256 bytes when there is none, into out
// (bodynamemax + 1 bytes) NUL-terminated. Returns its length.
int takebodyname(const FrameRecord* frame, char* out);

// True when a and b (NUL-terminated) are equal with ASCII letters A..Z taken as a..z; every other
// byte and the length must match exactly.
bool bodynamesame(const char* a, const char* b);

// Tears the tessellation down and, unless name equals the (cleared) engine name byte for byte,
// restarts it for the frame's body: resetbody, then roamstart. When the names are equal only
// `enabled` is cleared, which keeps the engine idle before its first restart.
void changebody(frontpl* f, const char* name, const FrameRecord* frame);

// Sets the engine's per-body values: name, radius (host, slot 1, from frame->body), the tuning
// constants, the body's axes, cleared anchoring and a due warm-up.
void resetbody(frontpl* f, const char* name, const FrameRecord* frame);
