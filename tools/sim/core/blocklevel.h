// Level of detail of a drawn block, recovered from its vertices alone.
//
// The plug-in exposes only mesh groups, so the wireframe view learns a block's level from geometry:
// a block of level L is a 9 x 9 grid on a cube face whose edge spans 2 / 2^(L-1) of the unit cube's
// face width of 2, projected radially onto the shell. Projecting two corners of the block back onto
// the cube recovers that span exactly, wherever on the face the block lies.
#pragma once

namespace skysim {

// Level (1 for a whole cube face) of a block given by its 81 vertex positions relative to the
// body's centre, in the body's own axes (x to longitude 0, y to the north pole). Returns 0 when the
// vertices do not look like a block (degenerate or spanning several faces).
int blockLevel(const double (*pos)[3]);

// A colour for a level, distinct for the levels 1 to 12; rgb in 0..1.
void levelColour(int level, float rgb[3]);

} // namespace skysim
