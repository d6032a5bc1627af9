// Hooks of the Win32 stand-in for tests and the stand-in simulator (systems other than Windows only).
#pragma once

#include <windows.h>

extern "C" {

// Called for every MessageBoxA, after the text has gone to stderr.
typedef void (*WinMessageObserver)(const char* caption, const char* text, UINT type, void* context);

// Installs the observer (null removes it); it replaces any earlier one.
void winstubSetMessageObserver(WinMessageObserver observer, void* context);

// Turns a path in the host's spelling into the local one: every backslash becomes a slash.
// Writes at most size bytes including the terminating NUL; returns 0 if the path did not fit.
int winstubLocalPath(const char* path, char* out, unsigned size);
}
