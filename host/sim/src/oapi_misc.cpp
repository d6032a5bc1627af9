// oapi functions on the debug line, the log, surfaces, annotations and scenario files.
#include "world.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>

using namespace hostsim;

OAPIFUNC char* oapiDebugString()
{
    HOSTSIM_COUNT("oapiDebugString");
    return world().debug;
}

OAPIFUNC void oapiWriteLog(char* line)
{
    HOSTSIM_COUNT("oapiWriteLog");
    if (line)
        logLine(line);
}

// Drawing surfaces belong to a graphics client; headless there is none, and the host then gives
// no device context.
OAPIFUNC HDC oapiGetDC(SURFHANDLE surf)
{
    HOSTSIM_COUNT("oapiGetDC");
    (void)surf;
    return nullptr;
}

OAPIFUNC void oapiReleaseDC(SURFHANDLE surf, HDC hDC)
{
    HOSTSIM_COUNT("oapiReleaseDC");
    (void)surf, (void)hDC;
}

namespace {

Annotation* findNote(NOTEHANDLE h)
{
    for (const auto& n : world().notes)
        if (n.get() == h)
            return n.get();
    return nullptr;
}

} // namespace

OAPIFUNC NOTEHANDLE oapiCreateAnnotation(bool exclusive, double size, const VECTOR3& col)
{
    HOSTSIM_COUNT("oapiCreateAnnotation");
    auto note = std::make_unique<Annotation>();
    note->exclusive = exclusive;
    note->size = size;
    note->col = col;
    note->x1 = 0.05, note->y1 = 0.05, note->x2 = 0.95, note->y2 = 0.95;
    world().notes.push_back(std::move(note));
    return world().notes.back().get();
}

OAPIFUNC bool oapiDelAnnotation(NOTEHANDLE hNote)
{
    HOSTSIM_COUNT("oapiDelAnnotation");
    auto& notes = world().notes;
    const auto it = std::find_if(notes.begin(), notes.end(), [&](const auto& n) { return n.get() == hNote; });
    if (it == notes.end())
        return false;
    notes.erase(it);
    return true;
}

OAPIFUNC void oapiAnnotationSetPos(NOTEHANDLE hNote, double x1, double y1, double x2, double y2)
{
    HOSTSIM_COUNT("oapiAnnotationSetPos");
    if (Annotation* n = findNote(hNote)) {
        n->x1 = x1, n->y1 = y1, n->x2 = x2, n->y2 = y2;
    }
}

OAPIFUNC void oapiAnnotationSetText(NOTEHANDLE hNote, char* note)
{
    HOSTSIM_COUNT("oapiAnnotationSetText");
    if (Annotation* n = findNote(hNote))
        n->text = note ? note : "";
}

// Scenario files: FILEHANDLE is the core's stream (an output stream for writing, an input stream
// for reading), as in the host.
OAPIFUNC void oapiWriteScenario_string(FILEHANDLE scn, char* item, char* string)
{
    HOSTSIM_COUNT("oapiWriteScenario_string");
    if (scn && item && string)
        *static_cast<std::ostream*>(scn) << "  " << item << ' ' << string << '\n';
}

OAPIFUNC void oapiWriteScenario_int(FILEHANDLE scn, char* item, int i)
{
    HOSTSIM_COUNT("oapiWriteScenario_int");
    if (scn && item)
        *static_cast<std::ostream*>(scn) << "  " << item << ' ' << i << '\n';
}

OAPIFUNC void oapiWriteScenario_float(FILEHANDLE scn, char* item, double d)
{
    HOSTSIM_COUNT("oapiWriteScenario_float");
    if (scn && item)
        *static_cast<std::ostream*>(scn) << "  " << item << ' ' << d << '\n';
}

OAPIFUNC void oapiWriteScenario_vec(FILEHANDLE scn, char* item, const VECTOR3& vec)
{
    HOSTSIM_COUNT("oapiWriteScenario_vec");
    if (scn && item)
        *static_cast<std::ostream*>(scn) << "  " << item << ' ' << vec.x << ' ' << vec.y << ' ' << vec.z << '\n';
}

OAPIFUNC bool oapiReadScenario_nextline(FILEHANDLE scn, char*& line)
{
    HOSTSIM_COUNT("oapiReadScenario_nextline");
    static char buf[256];
    if (!scn)
        return false;
    auto& in = *static_cast<std::istream*>(scn);
    std::string s;
    if (!std::getline(in, s))
        return false;
    const std::size_t semi = s.find(';');
    if (semi != std::string::npos)
        s.erase(semi);
    const char* ws = " \t\r\n";
    const std::size_t a = s.find_first_not_of(ws);
    s = a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(ws) - a + 1);
    if (s == "END")
        return false;
    const std::size_t n = std::min(s.size(), sizeof buf - 1);
    std::memcpy(buf, s.data(), n);
    buf[n] = '\0';
    line = buf;
    return true;
}
