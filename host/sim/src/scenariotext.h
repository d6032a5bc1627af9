// The scenario text of a session's "(Current state)": every vessel's saved state and the focus, written
// as the host writes it and read back as the host reads a scenario.
#pragma once

#include <string>
#include <vector>

namespace hostsim {

// Every live vessel's block ("NAME:CLASS", or "NAME" for a vessel without a class, then the lines its
// clbkSaveState writes, then END) between BEGIN_SHIPS and END_SHIPS, after a BEGIN_FOCUS block that
// names the focus vessel.
std::string writeCurrentState();

struct SavedVessel {
    std::string name;
    std::string className; // "" for a vessel without a class
    std::string lines; // its state lines, END included
};

struct SavedState {
    std::string focus; // "" when none was saved
    std::vector<SavedVessel> vessels; // in the order they were saved
};

// Reads a text writeCurrentState wrote. False, with the reason in `error`, when it has no ship list, a
// block is not closed, or a vessel line has no name.
bool readCurrentState(const std::string& text, SavedState& out, std::string& error);

} // namespace hostsim
