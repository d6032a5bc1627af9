// Whole-file replacement that never leaves a half-written file behind.
#pragma once

#include <string>

// Writes text to a temporary file beside path and renames it over path only once every byte is
// written and closed. On failure the previous file at path is left as it was, the temporary file is
// removed, one line naming shownname and the error goes to stderr, and the result is false.
// path is in the local spelling; shownname is how the file is named to the user.
bool textfilereplace(const std::string& path, const std::string& text, const char* shownname);
