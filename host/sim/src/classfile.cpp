#include "classfile.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <strings.h>
#include <sys/stat.h>

namespace hostsim {
namespace {

std::string trim(const std::string& s)
{
    const char* ws = " \t\r\n";
    const std::size_t a = s.find_first_not_of(ws);
    if (a == std::string::npos)
        return "";
    const std::size_t b = s.find_last_not_of(ws);
    return s.substr(a, b - a + 1);
}

bool isFile(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string localPath(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

bool parseDouble(const char* s, double& out, const char** rest)
{
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(s, &end);
    if (end == s || errno == ERANGE || !std::isfinite(v))
        return false;
    out = v;
    if (rest)
        *rest = end;
    return true;
}

} // namespace

std::string findClassFile(const std::string& className)
{
    if (className.empty())
        return "";
    for (const char* dir : {"config/vessels/", "config/"}) {
        std::string path = localPath(dir + className + ".cfg");
        if (isFile(path))
            return path;
    }
    return "";
}

bool scanItem(std::istream& in, const char* item, std::string& value)
{
    if (!item)
        return false;
    in.clear();
    in.seekg(0);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t semi = line.find(';');
        if (semi != std::string::npos)
            line.erase(semi);
        line = trim(line);
        if (strcasecmp(line.c_str(), "END_PARSE") == 0)
            break;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        if (strcasecmp(trim(line.substr(0, eq)).c_str(), item) == 0) {
            value = trim(line.substr(eq + 1));
            in.clear();
            return true;
        }
    }
    in.clear();
    return false;
}

bool scanString(std::istream& in, const char* item, std::string& value)
{
    return scanItem(in, item, value);
}

bool scanDouble(std::istream& in, const char* item, double& value)
{
    std::string s;
    return scanItem(in, item, s) && parseDouble(s.c_str(), value, nullptr);
}

bool scanInt(std::istream& in, const char* item, int& value)
{
    std::string s;
    if (!scanItem(in, item, s))
        return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (end == s.c_str() || errno == ERANGE || v < INT32_MIN || v > INT32_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

bool scanBool(std::istream& in, const char* item, bool& value)
{
    std::string s;
    if (!scanItem(in, item, s))
        return false;
    if (strncasecmp(s.c_str(), "true", 4) == 0)
        value = true;
    else if (strncasecmp(s.c_str(), "false", 5) == 0)
        value = false;
    else
        return false;
    return true;
}

bool scanVector(std::istream& in, const char* item, VECTOR3& value)
{
    std::string s;
    if (!scanItem(in, item, s))
        return false;
    const char* p = s.c_str();
    VECTOR3 v;
    for (double& c : v.data)
        if (!parseDouble(p, c, &p))
            return false;
    value = v;
    return true;
}

} // namespace hostsim
