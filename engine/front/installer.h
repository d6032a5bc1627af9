// The carrier vessel's files, written into the simulator's tree each time the library loads.
//
// Paths are relative to the current directory (the simulator's root) and spelled as the host spells
// them; on systems other than Windows the backslashes become slashes. Each file is replaced whole
// (see textfile.h), so a failure leaves the previous file intact.
#pragma once

#include <string>

// Creates "meshes" (with its parents) if missing and writes "meshes\hazeves.msh" with 1024 groups
// into it; then writes "config\vessels\HazeCarrier.cfg" if that directory exists (it is never
// created). An I/O error is reported on one line of stderr and ends the installer early. Never throws
// on I/O errors; may throw std::bad_alloc.
void install();

// Writes the mesh file for n groups (none when n <= 0). Returns false after a reported I/O error.
bool writemesh(int n);

// Appends one group block (36 lines, CR LF) to the mesh text.
void writegroup(std::string& text);

// The vessel class file's text (5 lines, CR LF).
std::string classfiletext();
