// Shared set-up of the simulator tests: a fresh root tree holding the SimProbe modules, files
// written into it, and a small mesh file.
#pragma once

#include "probe_state.h"

#include <hostsim/hostsim.h>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

class SimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = hostsim::makeTempRoot(SIM_TEST_ROOT);
        ASSERT_FALSE(root.empty());
        session = std::make_unique<hostsim::Session>(root);
    }

    void TearDown() override { session.reset(); }

    // Writes a file below the root (relative path with slashes).
    void writeFile(const std::string& rel, const std::string& text)
    {
        std::ofstream out(root + "/" + rel, std::ios::binary);
        out << text;
    }

    // The SimProbe class file; Module names the test module as plug-in and vessel module.
    void writeProbeClass(const std::string& extra = "", const std::string& module = "plugin\\simprobe")
    {
        writeFile("config/vessels/SimProbe.cfg",
            "; probe class\r\nClassName = SimProbe\r\nModule = " + module + "\r\nProbeNote = from the class file\r\n"
                + extra);
    }

    // meshes/probe.msh: two groups (a triangle and a quad), one material.
    void writeProbeMesh() { writeFile("meshes/probe.msh", probeMesh); }

    ProbeState* probe(HMODULE h)
    {
        auto fn = reinterpret_cast<ProbeStateFn>(reinterpret_cast<void (*)()>(GetProcAddress(h, "probeState")));
        return fn ? fn() : nullptr;
    }

    OBJHANDLE earth() { return oapiGetGbodyByName((char*)"Earth"); }

    static constexpr const char* probeMesh = "MSHX1\n"
                                             "GROUPS 2\n"
                                             "MATERIAL 1\n"
                                             "GEOM 3 1\n"
                                             "0 0 0 0 1 0 0 0\n"
                                             "1 0 0 0 1 0 1 0\n"
                                             "0 0 1 0 1 0 0 1\n"
                                             "0 2 1\n"
                                             "LABEL quad\n"
                                             "GEOM 4 2\n"
                                             "0 1 0\n"
                                             "2 1 0\n"
                                             "2 1 2\n"
                                             "0 1 2\n"
                                             "0 2 1\n"
                                             "0 3 2\n"
                                             "MATERIALS 1\n"
                                             "blue\n"
                                             "MATERIAL blue\n"
                                             "0.1 0.2 0.9 0.5\n"
                                             "0.1 0.2 0.9 1\n"
                                             "0 0 0 1 5\n"
                                             "0 0 0 1\n";

    std::string root;
    std::unique_ptr<hostsim::Session> session;
};
