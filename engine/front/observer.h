// Where the engine looks from: the observer's angles, the carrier's anchoring, and the observer's
// position in the body's frame, moved ahead along the focus vessel's flight.
#pragma once

#include "frontstate.h"

// A move of more than this since the last anchoring re-anchors the carrier [rad].
constexpr double anchorstep = 0.01;
constexpr double halfpi = 1.5707963267948966;

// The focus vessel's colatitude and longitude + pi/2 [rad], from the host (slot 10).
void observerangles(double* colat, double* lon);

// Re-anchors when either angle moved by more than anchorstep since the last anchoring: stores them
// and sets reorient, returning 1. Otherwise replaces them by the anchored angles and returns 0.
// Angles that are not finite count as no move.
std::int32_t anchorupdate(frontpl* f, double* colat, double* lon);

// Refreshes the engine's axes from the frame and sets its observer to the camera in the body's frame
// (y towards the north pole). Returns the camera's distance from the body's centre.
double placeobserver(frontpl* f, const FrameRecord* frame);

// Moves the observer ahead along the focus vessel's airspeed direction by the distance flown in one
// wall-clock second at the current time acceleration (slots 8, 24, 35, 63, 104, 105). An offset that
// is not finite is dropped, leaving the observer at the camera; so is the whole look-ahead when there
// is no focus vessel (slot 24 or 35 gives null), and slot 63 is then not called.
void lookahead(frontpl* f);
