// Fuzz target: the stand-in host's MSHX1 mesh reader takes any text and either returns a mesh whose
// every group's indices stay inside its own vertex array, or an error; it never crashes. A visual's
// deep copy of any mesh it returns is freed through its group records without a stop.
#include "mesh.h"
#include "meshfile.h"
#include "world.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    std::unique_ptr<hostsim::Mesh> mesh = hostsim::parseMeshText(text, "fuzz.msh", error);
    if (!mesh) {
        if (error.empty())
            std::abort(); // a refusal must say why
        return 0;
    }
    for (const MESHGROUP& grp : mesh->groups)
        for (DWORD i = 0; i < grp.nIdx; ++i)
            if (!grp.Idx || grp.Idx[i] >= grp.nVtx)
                std::abort();
    std::unique_ptr<hostsim::Mesh> instance = hostsim::copyMesh(*mesh);
    hostsim::freeInstance(instance, "fuzz", 0);
    return 0;
}
