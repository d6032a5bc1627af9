#include "world.h"

#include "vessel.h"

#ifndef _WIN32
#include <winstub.h>
#endif

#include <cctype>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace hostsim {

namespace {

#ifndef _WIN32
void observeMessage(const char* caption, const char* text, UINT type, void* context)
{
    Message m;
    m.caption = caption ? caption : "";
    m.text = text ? text : "";
    m.type = type;
    static_cast<World*>(context)->messages.push_back(m);
}

#endif

// On Windows the message boxes are the system's own; whoever runs the simulator watches them.
World* makeWorld()
{
    auto* w = new World;
#ifndef _WIN32
    winstubSetMessageObserver(observeMessage, w);
#endif
    return w;
}

} // namespace

long nextVisualSerial()
{
    return ++world().visualSerial;
}

World& world()
{
    // Never destroyed: modules may call into the host while the process exits; shutdown() frees
    // the contents.
    static World* w = makeWorld();
    return *w;
}

// Created when the library loads, so that the message box observer is in place before any module
// can show one.
[[maybe_unused]] const World& earlyWorld = world();

long& counter(const char* name)
{
    return world().counts[name];
}

void reportError(const std::string& text)
{
    std::fprintf(stderr, "hostsim: %s\n", text.c_str());
    std::fflush(stderr);
    world().lastError = text;
    world().log.push_back("Error: " + text);
}

void logLine(const std::string& text)
{
    world().log.push_back(text);
}

void fatal(const std::string& text)
{
    std::fprintf(stderr, "hostsim: fatal: %s\n", text.c_str());
    std::fflush(stderr);
    std::_Exit(fatalExitCode);
}

std::string pointerText(const void* p)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%" PRIxPTR, reinterpret_cast<std::uintptr_t>(p));
    return buf;
}

Body* findBody(OBJHANDLE h)
{
    if (!h)
        return nullptr;
    for (const auto& b : world().bodies)
        if (b.get() == h)
            return b.get();
    return nullptr;
}

Vessel* findVessel(OBJHANDLE h)
{
    if (!h)
        return nullptr;
    return liveVessel(static_cast<const Vessel*>(h));
}

Mesh* findMesh(MESHHANDLE h)
{
    if (!h)
        return nullptr;
    World& w = world();
    for (const auto& entry : w.globalMeshes)
        if (entry.second.get() == h)
            return entry.second.get();
    for (const auto& m : w.looseMeshes)
        if (m.get() == h)
            return m.get();
    for (Vessel* v : w.vessels)
        if (v->visual)
            for (const auto& m : v->visual->meshes)
                if (m.get() == h)
                    return m.get();
    return nullptr;
}

Visual* findVisual(VISHANDLE h)
{
    if (!h)
        return nullptr;
    for (Vessel* v : world().vessels)
        if (v->visual.get() == h)
            return v->visual.get();
    return nullptr;
}

namespace {

// The object a handle names, or a stop when a non-null handle names none.
template <typename T> T* liveOrFatal(T* found, const void* h, const char* function, const char* kind)
{
    if (h && !found)
        fatal(std::string(function) + ": " + kind + " handle " + pointerText(h) + " names no live " + kind
            + " (stale or unknown); the host would use it unchecked");
    return found;
}

} // namespace

Mesh* usedMesh(MESHHANDLE h, const char* function)
{
    return liveOrFatal(findMesh(h), h, function, "mesh");
}

Visual* usedVisual(VISHANDLE h, const char* function)
{
    return liveOrFatal(findVisual(h), h, function, "visual");
}

Vessel* vesselByName(const char* name)
{
    if (!name)
        return nullptr;
    // The host matches object names without regard to letter case.
    const std::string key = lowerCase(name);
    for (Vessel* v : world().vessels)
        if (lowerCase(v->name) == key)
            return v;
    return nullptr;
}

Body* bodyByName(const char* name)
{
    if (!name)
        return nullptr;
    const std::string key = lowerCase(name);
    for (const auto& b : world().bodies)
        if (lowerCase(b->name) == key)
            return b.get();
    return nullptr;
}

double simMJDNow()
{
    return world().mjd0 + world().simt / 86400.0;
}

std::string lowerCase(const std::string& s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace hostsim
