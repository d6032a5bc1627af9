#include "meshfile.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <vector>

namespace hostsim {
namespace {

// The host reads lines into a 256-byte buffer.
constexpr std::size_t maxLine = 255;

struct Reader {
    std::vector<std::string> lines;
    std::size_t next = 0;
    std::string label;
    std::string error;

    bool fail(std::size_t lineNo, const std::string& what)
    {
        if (error.empty())
            error = label + ":" + std::to_string(lineNo) + ": " + what;
        return false;
    }
    bool atEnd() const { return next >= lines.size(); }
    std::size_t remaining() const { return lines.size() - next; }
    std::size_t lineNo() const { return next; } // 1-based number of the line last taken
};

bool startsWithNoCase(const std::string& line, const char* key)
{
    return strncasecmp(line.c_str(), key, std::strlen(key)) == 0;
}

// Up to max numbers from the start of s; returns how many were read.
int readNumbers(const char* s, double* out, int max)
{
    int n = 0;
    while (n < max) {
        char* end = nullptr;
        errno = 0;
        const double v = std::strtod(s, &end);
        // Values must fit the host's 32-bit floats.
        if (end == s || errno == ERANGE || !std::isfinite(v) || std::fabs(v) > 3.0e38)
            break;
        out[n++] = v;
        s = end;
    }
    return n;
}

// A non-negative integer after a keyword; false if there is none.
bool readCount(const char* s, unsigned long& out, int base = 10)
{
    // strtoul would skip any white space, then take a minus sign and negate: refuse signs after it too.
    while (std::isspace(static_cast<unsigned char>(*s)))
        ++s;
    if (*s == '-' || *s == '+')
        return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtoul(s, &end, base);
    return end != s && errno != ERANGE;
}

struct GroupDraft {
    DWORD mtrl = specInherit, tex = specInherit, usrFlag = 0;
    WORD zBias = 0, flags = 0;
    bool noNormal = false, flip = false;
};

bool readGroupHeader(Reader& r, unsigned g, GroupDraft& d, unsigned long& nv, unsigned long& nt)
{
    for (;;) {
        if (r.atEnd())
            return r.fail(r.lines.size(), "unexpected end of file in group " + std::to_string(g) + " (GEOM expected)");
        const std::string& line = r.lines[r.next++];
        unsigned long v = 0;
        if (startsWithNoCase(line, "MATERIAL")) {
            if (!readCount(line.c_str() + 8, v) || v > 0xFFFFFFFFul)
                return r.fail(r.lineNo(), "MATERIAL needs a material index");
            d.mtrl = static_cast<DWORD>(v) - 1;
        } else if (startsWithNoCase(line, "TEXTURE")) {
            if (!readCount(line.c_str() + 7, v) || v > 0xFFFFFFFFul)
                return r.fail(r.lineNo(), "TEXTURE needs a texture index");
            d.tex = static_cast<DWORD>(v) - 1;
        } else if (startsWithNoCase(line, "FLAG")) {
            if (!readCount(line.c_str() + 4, v, 16) || v > 0xFFFFFFFFul)
                return r.fail(r.lineNo(), "FLAG needs a hexadecimal value");
            d.usrFlag = static_cast<DWORD>(v);
        } else if (startsWithNoCase(line, "ZBIAS")) {
            if (!readCount(line.c_str() + 5, v) || v > 0xFFFFul)
                return r.fail(r.lineNo(), "ZBIAS needs a value of 0 to 65535");
            d.zBias = static_cast<WORD>(v);
        } else if (startsWithNoCase(line, "TEXWRAP")) {
            const char* s = line.c_str() + 7;
            d.flags = static_cast<WORD>(d.flags & ~3u);
            if (std::strpbrk(s, "Uu"))
                d.flags |= 1;
            if (std::strpbrk(s, "Vv"))
                d.flags |= 2;
        } else if (startsWithNoCase(line, "NONORMAL")) {
            d.noNormal = true;
        } else if (startsWithNoCase(line, "FLIP")) {
            d.flip = true;
        } else if (startsWithNoCase(line, "STATIC")) {
            d.flags |= 4;
        } else if (startsWithNoCase(line, "DYNAMIC")) {
            d.flags ^= 4;
        } else if (startsWithNoCase(line, "GEOM")) {
            const char* s = line.c_str() + 4;
            char* end = nullptr;
            if (!readCount(s, nv))
                return r.fail(r.lineNo(), "GEOM needs a vertex and a triangle count");
            std::strtoul(s, &end, 10);
            if (!readCount(end, nt))
                return r.fail(r.lineNo(), "GEOM needs a vertex and a triangle count");
            // Indices are 16 bits wide.
            if (nv > 65535)
                return r.fail(r.lineNo(), "more than 65535 vertices in a group");
            if (nt > r.remaining() || nv > r.remaining() - nt)
                return r.fail(r.lineNo(),
                    "GEOM announces " + std::to_string(nv) + " vertices and " + std::to_string(nt)
                        + " triangles, but only " + std::to_string(r.remaining()) + " lines follow");
            return true;
        }
        // LABEL and anything unknown are skipped, as the host's reader does.
    }
}

void computeNormals(NTVERTEX* vtx, unsigned nv, const WORD* idx, unsigned ni)
{
    for (unsigned i = 0; i < nv; ++i)
        vtx[i].nx = vtx[i].ny = vtx[i].nz = 0;
    for (unsigned t = 0; t + 2 < ni; t += 3) {
        NTVERTEX& a = vtx[idx[t]];
        NTVERTEX& b = vtx[idx[t + 1]];
        NTVERTEX& c = vtx[idx[t + 2]];
        // Clockwise front faces in a left-handed frame: (b - a) x (c - a) faces the viewer.
        const VECTOR3 n = crossp(_V(b.x - a.x, b.y - a.y, b.z - a.z), _V(c.x - a.x, c.y - a.y, c.z - a.z));
        for (NTVERTEX* v : {&a, &b, &c}) {
            v->nx += static_cast<float>(n.x);
            v->ny += static_cast<float>(n.y);
            v->nz += static_cast<float>(n.z);
        }
    }
    for (unsigned i = 0; i < nv; ++i) {
        const double len
            = std::sqrt(double(vtx[i].nx) * vtx[i].nx + double(vtx[i].ny) * vtx[i].ny + double(vtx[i].nz) * vtx[i].nz);
        if (len > 0) {
            vtx[i].nx = static_cast<float>(vtx[i].nx / len);
            vtx[i].ny = static_cast<float>(vtx[i].ny / len);
            vtx[i].nz = static_cast<float>(vtx[i].nz / len);
        }
    }
}

bool readGeometry(Reader& r, const GroupDraft& d, unsigned long nv, unsigned long nt, Mesh& mesh, unsigned g)
{
    std::unique_ptr<NTVERTEX[]> vtx(nv ? new NTVERTEX[nv]() : nullptr);
    std::unique_ptr<WORD[]> idx(nt ? new WORD[nt * 3]() : nullptr);
    bool needNormals = d.noNormal;
    for (unsigned long i = 0; i < nv; ++i) {
        const std::string& line = r.lines[r.next++];
        double v[8] = {0, 0, 0, 0, 0, 0, 0, 0};
        const int n = readNumbers(line.c_str(), v, 8);
        if (n < 3)
            return r.fail(r.lineNo(), "vertex line needs at least x y z");
        NTVERTEX& o = vtx[i];
        o.x = float(v[0]), o.y = float(v[1]), o.z = float(v[2]);
        if (d.noNormal) {
            o.tu = float(v[3]), o.tv = float(v[4]);
        } else {
            o.nx = float(v[3]), o.ny = float(v[4]), o.nz = float(v[5]);
            o.tu = float(v[6]), o.tv = float(v[7]);
            if (n < 6)
                needNormals = true;
        }
    }
    for (unsigned long t = 0; t < nt; ++t) {
        const std::string& line = r.lines[r.next++];
        double v[3];
        if (readNumbers(line.c_str(), v, 3) < 3)
            return r.fail(r.lineNo(), "triangle line needs three vertex indices");
        for (int k = 0; k < 3; ++k) {
            if (v[k] < 0 || v[k] >= double(nv) || v[k] != std::floor(v[k]))
                return r.fail(r.lineNo(), "vertex index out of range (group has " + std::to_string(nv) + " vertices)");
            idx[t * 3 + k] = static_cast<WORD>(v[k]);
        }
        if (d.flip)
            std::swap(idx[t * 3 + 1], idx[t * 3 + 2]);
    }
    if (needNormals && nv)
        computeNormals(vtx.get(), unsigned(nv), idx.get(), unsigned(nt * 3));

    MESHGROUP& grp = mesh.groups[g];
    grp.Vtx = vtx.get();
    grp.Idx = idx.get();
    grp.nVtx = DWORD(nv);
    grp.nIdx = DWORD(nt * 3);
    grp.UsrFlag = d.usrFlag;
    grp.zBias = d.zBias;
    grp.Flags = d.flags;
    mesh.origVtx[g] = vtx.get();
    mesh.origIdx[g] = idx.get();
    mesh.ownVtx[g] = std::move(vtx);
    mesh.ownIdx[g] = std::move(idx);
    return true;
}

bool readColour(Reader& r, COLOUR4& c, float* power)
{
    if (r.atEnd())
        return r.fail(r.lines.size(), "unexpected end of file in a material block");
    const std::string& line = r.lines[r.next++];
    double v[5] = {0, 0, 0, 0, 0};
    const int n = readNumbers(line.c_str(), v, power ? 5 : 4);
    if (n < 4)
        return r.fail(r.lineNo(), "colour line needs r g b a");
    c.r = float(v[0]), c.g = float(v[1]), c.b = float(v[2]), c.a = float(v[3]);
    if (power)
        *power = float(v[4]);
    return true;
}

bool readMaterials(Reader& r, unsigned long m, Mesh& mesh)
{
    if (m > r.remaining())
        return r.fail(r.lineNo(), "MATERIALS announces more materials than lines follow");
    r.next += m; // the name list: names are not used, blocks are taken in order
    mesh.materials.resize(m);
    for (unsigned long i = 0; i < m; ++i) {
        if (r.atEnd())
            return r.fail(
                r.lines.size(), "unexpected end of file: material block " + std::to_string(i + 1) + " missing");
        ++r.next; // "MATERIAL <name>"
        MATERIAL& mt = mesh.materials[i];
        if (!readColour(r, mt.diffuse, nullptr) || !readColour(r, mt.ambient, nullptr)
            || !readColour(r, mt.specular, &mt.power) || !readColour(r, mt.emissive, nullptr))
            return false;
    }
    return true;
}

bool readTextures(Reader& r, unsigned long t, Mesh& mesh)
{
    if (t > r.remaining())
        return r.fail(r.lineNo(), "TEXTURES announces more textures than lines follow");
    for (unsigned long i = 0; i < t; ++i) {
        const std::string& line = r.lines[r.next++];
        std::istringstream in(line);
        auto tex = std::make_unique<Texture>();
        std::string flag;
        in >> tex->file >> flag;
        if (tex->file.empty())
            return r.fail(r.lineNo(), "texture line needs a file name");
        tex->dynamic = (flag == "D" || flag == "d");
        mesh.textures.push_back(std::move(tex));
    }
    return true;
}

bool splitLines(const std::string& text, Reader& r)
{
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        r.lines.push_back(std::move(line));
        if (r.lines.back().size() > maxLine)
            return r.fail(r.lines.size(), "line longer than 255 characters");
        start = end + 1;
    }
    return true;
}

// The header up to GROUPS: the STATICMESH flag and the group count.
bool readHeader(Reader& r, WORD& meshFlags, unsigned long& ngroups)
{
    if (r.atEnd() || r.lines[0] != "MSHX1")
        return r.fail(1, "first line must be MSHX1");
    r.next = 1;
    for (;;) {
        if (r.atEnd())
            return r.fail(r.lines.size(), "unexpected end of file (GROUPS expected)");
        const std::string& line = r.lines[r.next++];
        if (startsWithNoCase(line, "STATICMESH"))
            meshFlags |= 4;
        else if (startsWithNoCase(line, "GROUPS")) {
            if (!readCount(line.c_str() + 6, ngroups))
                return r.fail(r.lineNo(), "GROUPS needs a group count");
            // Every group takes at least its GEOM line.
            if (ngroups > r.remaining())
                return r.fail(r.lineNo(), "GROUPS announces more groups than lines follow");
            return true;
        }
    }
}

bool readGroups(Reader& r, WORD meshFlags, unsigned long ngroups, Mesh& mesh)
{
    mesh.groups.assign(ngroups, MESHGROUP {});
    mesh.ownVtx.resize(ngroups);
    mesh.ownIdx.resize(ngroups);
    mesh.origVtx.assign(ngroups, nullptr);
    mesh.origIdx.assign(ngroups, nullptr);
    DWORD prevMtrl = specDefault, prevTex = specDefault;
    for (unsigned g = 0; g < ngroups; ++g) {
        GroupDraft d;
        d.flags = meshFlags;
        unsigned long nv = 0, nt = 0;
        if (!readGroupHeader(r, g + 1, d, nv, nt) || !readGeometry(r, d, nv, nt, mesh, g))
            return false;
        // A group without MATERIAL or TEXTURE line takes the previous group's.
        mesh.groups[g].MtrlIdx = prevMtrl = (d.mtrl == specInherit ? prevMtrl : d.mtrl);
        mesh.groups[g].TexIdx = prevTex = (d.tex == specInherit ? prevTex : d.tex);
    }
    return true;
}

// The MATERIALS and TEXTURES sections after the groups, in either order; other lines are skipped.
bool readSections(Reader& r, Mesh& mesh)
{
    while (!r.atEnd()) {
        const std::string& line = r.lines[r.next++];
        unsigned long n = 0;
        if (line.compare(0, 9, "MATERIALS") == 0) {
            if (!readCount(line.c_str() + 9, n))
                return r.fail(r.lineNo(), "MATERIALS needs a material count");
            if (!readMaterials(r, n, mesh))
                return false;
        } else if (line.compare(0, 8, "TEXTURES") == 0) {
            if (!readCount(line.c_str() + 8, n))
                return r.fail(r.lineNo(), "TEXTURES needs a texture count");
            if (!readTextures(r, n, mesh))
                return false;
        }
    }
    return true;
}

// Material and texture indices past the mesh's lists fall back to the default.
void clampIndices(Mesh& mesh)
{
    for (MESHGROUP& g : mesh.groups) {
        if (g.MtrlIdx != specDefault && g.MtrlIdx >= mesh.materials.size())
            g.MtrlIdx = specDefault;
        if (g.TexIdx != specDefault && g.TexIdx >= mesh.textures.size())
            g.TexIdx = specDefault;
    }
}

bool readMesh(const std::string& text, Reader& r, Mesh& mesh)
{
    if (text.find('\0') != std::string::npos)
        return r.fail(1, "binary data in a text file");
    WORD meshFlags = 0;
    unsigned long ngroups = 0;
    if (!splitLines(text, r) || !readHeader(r, meshFlags, ngroups) || !readGroups(r, meshFlags, ngroups, mesh)
        || !readSections(r, mesh))
        return false;
    clampIndices(mesh);
    return true;
}

} // namespace

std::unique_ptr<Mesh> parseMeshText(const std::string& text, const std::string& label, std::string& error)
{
    Reader r;
    r.label = label;
    std::unique_ptr<Mesh> mesh;
    bool ok = false;
    try {
        mesh = std::make_unique<Mesh>();
        ok = readMesh(text, r, *mesh);
    } catch (const std::exception& e) {
        ok = r.fail(r.lineNo(), std::string("cannot load: ") + e.what());
    }
    if (!ok) {
        error = r.error;
        return nullptr;
    }
    error.clear();
    return mesh;
}

std::unique_ptr<Mesh> parseMeshPath(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open";
        return nullptr;
    }
    std::ostringstream buf;
    buf << in.rdbuf();
    return parseMeshText(buf.str(), path, error);
}

} // namespace hostsim
