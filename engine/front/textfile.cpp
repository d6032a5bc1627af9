#include "textfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

void reportfailure(const char* shownname, int err)
{
    std::fprintf(stderr, "veilcore: cannot write %s: %s\n", shownname, std::strerror(err));
}

// Replaces target by source; a plain rename does not replace an existing file on Windows.
bool movereplace(const std::string& source, const std::string& target)
{
#ifdef _WIN32
    if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    errno = EACCES;
    return false;
#else
    return std::rename(source.c_str(), target.c_str()) == 0;
#endif
}

} // namespace

bool textfilereplace(const std::string& path, const std::string& text, const char* shownname)
{
    const std::string temp = path + ".tmp";
    errno = 0;
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) {
        reportfailure(shownname, errno ? errno : EIO);
        return false;
    }
    int err = 0;
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size() || std::fflush(file) != 0 || std::ferror(file))
        err = errno ? errno : EIO;
    if (std::fclose(file) != 0 && err == 0)
        err = errno ? errno : EIO;
    if (err == 0 && !movereplace(temp, path))
        err = errno ? errno : EIO;
    if (err != 0) {
        std::remove(temp.c_str());
        reportfailure(shownname, err);
        return false;
    }
    return true;
}
