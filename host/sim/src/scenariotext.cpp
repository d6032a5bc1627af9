#include "scenariotext.h"

#include "addontime.h"
#include "vesselstatus.h"

#include <sstream>

namespace hostsim {

namespace {

void writeVessel(Vessel& v, std::ostream& out)
{
    out << v.name;
    if (v.hasClassName)
        out << ':' << v.className;
    out << '\n';
    if (VESSEL2* cb = v.callbacks()) {
        AddonScope addon(v.fromModule);
        cb->clbkSaveState(static_cast<FILEHANDLE>(&out));
    } else
        writeDefaultState(v, out);
    out << "END\n";
}

// The line without surrounding blanks and a CR left by a text written on Windows.
std::string trimmed(const std::string& line)
{
    const char* ws = " \t\r\n";
    const std::size_t a = line.find_first_not_of(ws);
    return a == std::string::npos ? std::string() : line.substr(a, line.find_last_not_of(ws) - a + 1);
}

bool readShip(std::istream& in, const std::string& header, SavedVessel& ship, std::string& error)
{
    const std::size_t colon = header.find(':');
    ship.name = trimmed(header.substr(0, colon));
    ship.className = colon == std::string::npos ? "" : trimmed(header.substr(colon + 1));
    if (ship.name.empty()) {
        error = "vessel line without a name: \"" + header + "\"";
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        ship.lines += line + '\n';
        if (trimmed(line) == "END")
            return true;
    }
    error = "the block of vessel " + ship.name + " has no END";
    return false;
}

} // namespace

std::string writeCurrentState()
{
    std::ostringstream out;
    out << "BEGIN_FOCUS\n";
    if (world().focus)
        out << "  Ship " << world().focus->name << '\n';
    out << "END\n\nBEGIN_SHIPS\n";
    // A module's save callback may delete vessels: walk a copy and skip those already gone.
    const std::vector<Vessel*> all = world().vessels;
    for (Vessel* v : all)
        if (liveVessel(v) && !v->pendingDelete)
            writeVessel(*v, out);
    out << "END_SHIPS\n";
    return out.str();
}

bool readCurrentState(const std::string& text, SavedState& out, std::string& error)
{
    out = SavedState {};
    std::istringstream in(text);
    std::string line;
    bool ships = false, shipsClosed = false, inFocus = false;
    while (std::getline(in, line)) {
        const std::string s = trimmed(line);
        if (s.empty())
            continue;
        if (inFocus) {
            if (s == "END")
                inFocus = false;
            else if (s.compare(0, 5, "Ship ") == 0)
                out.focus = trimmed(s.substr(5));
        } else if (!ships) {
            inFocus = s == "BEGIN_FOCUS";
            ships = s == "BEGIN_SHIPS";
        } else if (s == "END_SHIPS") {
            shipsClosed = true;
            break;
        } else {
            SavedVessel ship;
            if (!readShip(in, s, ship, error))
                return false;
            out.vessels.push_back(ship);
        }
    }
    if (!shipsClosed)
        error = ships ? "the ship list has no END_SHIPS" : "no ship list (BEGIN_SHIPS)";
    return shipsClosed;
}

} // namespace hostsim
