#include "vesselstatus.h"

#include "generation.h"
#include "geometry.h"

#include <cstdio>
#include <cstring>
#include <ostream>
#include <strings.h>

namespace hostsim {

void fillStatus2(const Vessel& v, VESSELSTATUS2& st)
{
    Body* b = v.surfaceRef();
    st.rbody = b;
    st.base = nullptr;
    st.port = 0;
    st.status = v.landed ? 1 : 0;
    const VECTOR3 origin = b ? b->pos : _V(0, 0, 0);
    const VECTOR3 ovel = b ? b->vel : _V(0, 0, 0);
    st.rpos = v.globalPos() - origin;
    st.rvel = v.globalVel() - ovel;
    if (v.landed && b) {
        // Where the report does not follow the landed meaning of the fields, it gives them as in flight:
        // the angles against the global frame and the angular velocity, which a landed vessel has none of.
        const bool landedMeaning = generation().landedStatusRoundTrip;
        st.vrot = landedMeaning ? _V(v.cgelev, 0, 0) : _V(0, 0, 0);
        st.arot = matrixToEuler(landedMeaning ? v.landRot : v.rotation());
        st.surf_lng = v.lng;
        st.surf_lat = v.lat;
        st.surf_hdg = v.hdg;
    } else {
        st.vrot = v.vrot;
        st.arot = matrixToEuler(v.rot);
        double rad = 0;
        st.surf_lng = st.surf_lat = 0;
        if (b)
            v.equPos(*b, st.surf_lng, st.surf_lat, rad);
        st.surf_hdg = v.heading();
    }
    if (st.flag & VS_FUELLIST)
        st.nfuel = 0;
    if (st.flag & VS_THRUSTLIST)
        st.nthruster = 0;
    if (st.flag & VS_DOCKINFOLIST)
        st.ndockinfo = 0;
    st.xpdr = 0;
}

void fillStatus1(const Vessel& v, VESSELSTATUS& st)
{
    VESSELSTATUS2 s2 {};
    s2.version = 2;
    fillStatus2(v, s2);
    st.rpos = s2.rpos;
    st.rvel = s2.rvel;
    st.vrot = s2.vrot;
    st.arot = s2.arot;
    st.rbody = s2.rbody;
    st.status = s2.status;
    if (v.landed)
        st.vdata[0] = _V(v.lng, v.lat, v.hdg);
}

namespace {

bool key(const char*& line, const char* word)
{
    const std::size_t n = std::strlen(word);
    if (strncasecmp(line, word, n) != 0 || (line[n] != ' ' && line[n] != '\t' && line[n] != '\0'))
        return false;
    line += n;
    return true;
}

bool vec(const char* s, VECTOR3& out)
{
    double x, y, z;
    if (std::sscanf(s, "%lf%lf%lf", &x, &y, &z) != 3)
        return false;
    out = _V(x, y, z);
    return true;
}

} // namespace

void parseScenarioLine(const char* line, VESSELSTATUS2& st)
{
    while (*line == ' ' || *line == '\t')
        ++line;
    double a = 0, b = 0;
    char word[64] = {0}, body[64] = {0};
    if (key(line, "STATUS")) {
        if (std::sscanf(line, "%63s%63s", word, body) >= 1) {
            st.status = strcasecmp(word, "Landed") == 0 ? 1 : 0;
            if (body[0])
                st.rbody = bodyByName(body);
            if (st.status == 1)
                st.arot.x = 10; // "not set": place by the touchdown points
        }
    } else if (key(line, "POS")) {
        if (std::sscanf(line, "%lf%lf", &a, &b) == 2) {
            st.surf_lng = a * RAD;
            st.surf_lat = b * RAD;
        }
    } else if (key(line, "HEADING")) {
        if (std::sscanf(line, "%lf", &a) == 1)
            st.surf_hdg = a * RAD;
    } else if (key(line, "ALT")) {
        if (std::sscanf(line, "%lf", &a) == 1)
            st.vrot.x = a;
    } else if (key(line, "AROT")) {
        VECTOR3 r;
        if (vec(line, r))
            st.arot = r * RAD;
    } else if (key(line, "RPOS")) {
        vec(line, st.rpos);
    } else if (key(line, "RVEL")) {
        vec(line, st.rvel);
    } else if (key(line, "VROT")) {
        VECTOR3 r;
        if (vec(line, r))
            st.vrot = r * RAD;
    }
}

void writeDefaultState(const Vessel& v, std::ostream& out)
{
    VESSELSTATUS2 st {};
    st.version = 2;
    fillStatus2(v, st);
    const Body* b = v.surfaceRef();
    const std::string bodyName = b ? b->name : "";
    char buf[256];
    if (v.landed) {
        std::snprintf(buf, sizeof buf, "  STATUS Landed %s\n", bodyName.c_str());
        out << buf;
        std::snprintf(buf, sizeof buf, "  POS %0.7f %0.7f\n", st.surf_lng * DEG, st.surf_lat * DEG);
        out << buf;
        std::snprintf(buf, sizeof buf, "  HEADING %0.2f\n", st.surf_hdg * DEG);
        out << buf;
        std::snprintf(buf, sizeof buf, "  ALT %0.3f\n", v.cgelev);
        out << buf;
        if (generation().savesLandedArot) {
            const VECTOR3 a = matrixToEuler(v.landRot); // against the planet frame
            std::snprintf(buf, sizeof buf, "  AROT %f %f %f\n", a.x * DEG, a.y * DEG, a.z * DEG);
            out << buf;
        }
    } else {
        std::snprintf(buf, sizeof buf, "  STATUS Orbiting %s\n", bodyName.c_str());
        out << buf;
        std::snprintf(buf, sizeof buf, "  RPOS %0.3f %0.3f %0.3f\n", st.rpos.x, st.rpos.y, st.rpos.z);
        out << buf;
        std::snprintf(buf, sizeof buf, "  RVEL %0.4f %0.4f %0.4f\n", st.rvel.x, st.rvel.y, st.rvel.z);
        out << buf;
        std::snprintf(buf, sizeof buf, "  AROT %f %f %f\n", st.arot.x * DEG, st.arot.y * DEG, st.arot.z * DEG);
        out << buf;
        if (length(st.vrot) > 0) {
            std::snprintf(
                buf, sizeof buf, "  VROT %0.4f %0.4f %0.4f\n", st.vrot.x * DEG, st.vrot.y * DEG, st.vrot.z * DEG);
            out << buf;
        }
    }
}

} // namespace hostsim
