#include "demo.h"

#include "compare.h"
#include "offscreen.h"
#include "plot.h"
#include "pngfile.h"
#include "scenario.h"
#include "scenariorun.h"
#include "scenerender.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace skysim {

namespace {

const int plotWidth = 960, plotHeight = 720;

std::string numbered(const std::string& dir, const char* stem, int step)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "/%s_%04d.png", stem, step);
    return dir + buf;
}

// Title of a comparison picture: where the camera is and how strong the haze is.
std::string comparisonCaption(const TraceRow& row)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "STEP %d  CAMERA AT %.2f R  ALTITUDE %.0f KM  HAZE %.2f", row.step, row.cameraRadii,
        row.altitude / 1000.0, row.haze);
    return buf;
}

// The demo's pictures: at the planned steps the scene, its tessellation's wireframe and the pair with
// and without the carrier; the plot at the end.
class Pictures : public StepViewer {
public:
    Pictures(int width, int height)
        : width_(width)
        , height_(height)
    {
    }

    bool begin(const Scenario& s, std::string& why) override
    {
        plan_ = renderPlan(s);
        next_ = 0;
        return plan_.empty() || gl_.open(width_, height_, why);
    }

    bool step(const Flight& f, const TraceRow& row, const std::string& dir, std::vector<std::string>& files,
        std::string& why) override
    {
        if (next_ >= plan_.size() || plan_[next_] != row.step)
            return true;
        ++next_;
        const SceneView view = f.scene();
        const int k = row.step;
        SceneStats ss;
        const std::vector<std::uint8_t> pic = renderScene(gl_, view, &ss);
        skippedGroups_ += ss.groupsSkipped;
        const std::string a = numbered(dir, "scene", k), b = numbered(dir, "blocks", k);
        const std::string c = numbered(dir, "compare", k);
        const Comparison pair = renderComparison(gl_, view, comparisonCaption(row));
        if (!writePng(a, gl_.width(), gl_.height(), pic, why)
            || !writePng(b, gl_.width(), gl_.height(), renderWireframe(gl_, view), why)
            || !writePng(c, pair.width, pair.height, pair.rgb, why))
            return false;
        files.push_back(a);
        files.push_back(c);
        files.push_back(b);
        return true;
    }

    bool end(const Scenario& s, const std::vector<TraceRow>& rows, const std::string& dir,
        std::vector<std::string>& files, std::string& why) override
    {
        if ((gl_.width() != plotWidth || gl_.height() != plotHeight) && !gl_.open(plotWidth, plotHeight, why))
            return false;
        const std::string path = dir + "/plot.png";
        if (!writePng(path, plotWidth, plotHeight, renderPlot(gl_, rows, "SKYVEIL-SIM: " + s.name), why))
            return false;
        files.push_back(path);
        return true;
    }

    std::string notes() const override
    {
        std::ostringstream text;
        if (skippedGroups_)
            text << "warning: " << skippedGroups_ << " groups were not drawn: they would read outside their arrays\n";
        return text.str();
    }

private:
    int width_, height_;
    Offscreen gl_;
    std::vector<int> plan_;
    std::size_t next_ = 0;
    int skippedGroups_ = 0;
};

} // namespace

int runDemo(const Options& opt, const std::string& defaultRoot, bool showProgress, std::ostream& out, std::ostream& err)
{
    Pictures pictures(opt.width, opt.height);
    return runScenario(opt, defaultRoot, showProgress, &pictures, out, err);
}

} // namespace skysim
