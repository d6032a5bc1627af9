#include "progress.h"

#include <algorithm>

namespace skysim {

std::string progressLine(int done, int total, int width, const std::string& note)
{
    total = std::max(1, total);
    done = std::clamp(done, 0, total);
    width = std::max(1, width);
    const int filled = int((long long)done * width / total);
    std::string s = "[";
    s.append(std::size_t(filled), '#');
    s.append(std::size_t(width - filled), '.');
    s += "] " + std::to_string(done) + "/" + std::to_string(total);
    if (!note.empty())
        s += "  " + note;
    return s;
}

} // namespace skysim
