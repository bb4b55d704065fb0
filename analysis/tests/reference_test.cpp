// The analysis agrees with culori, an independent colour library, on three
// palettes: huewright's start-up palette, a grey ramp and a random palette.
//
// culori's results for them are committed (culori-results.txt). Where the npm
// registry can be reached, the pinned culori is installed and run, and must
// give exactly the committed results, which the analysis is then held to;
// where it cannot, the analysis is held to the committed results alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/analysis.h"
#include "huewright/model/model.h"
#include "shell/headless/testing.h"

namespace {

const std::string kDir = ANALYSIS_REFERENCE_DIR;

// culori's results for one palette.
struct Reference {
    std::vector<double> L, step, seam;
    std::vector<int> protan, deutan, tritan, grey;
};

// Installs the pinned culori into the build folder unless the installed one
// came from the lock file as it is now. npm checks the package against the
// lock file's checksum.
::testing::AssertionResult installculori() {
    const std::string lock = shell::testing::readfile(kDir + "/package-lock.json");
    const std::string stamp = kDir + "/node_modules/.installed-lock";
    if (!lock.empty() && shell::testing::readfile(stamp) == lock)
        return ::testing::AssertionSuccess();
    const std::string cmd = "cd '" + kDir +
                            "' && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error "
                            "--fetch-retries=1 --fetch-timeout=20000";
    if (std::system(cmd.c_str()) != 0)
        return ::testing::AssertionFailure() << "npm ci failed in " << kDir;
    shell::testing::writefile(stamp, lock);
    return ::testing::AssertionSuccess();
}

// culori's output for the palettes, or "" when node fails.
std::string runculori(const std::vector<shell::Palette>& palettes) {
    shell::testing::ScratchDir scratch;
    std::ostringstream in;
    in << palettes.size() << '\n';
    for (const shell::Palette& p : palettes)
        for (const auto& e : p) in << int(e[0]) << ' ' << int(e[1]) << ' ' << int(e[2]) << '\n';
    shell::testing::writefile(scratch.path("in.txt"), in.str());
    const std::string cmd = "node '" + kDir + "/reference.mjs' '" + scratch.path("in.txt") + "' '" +
                            scratch.path("out.txt") + "'";
    if (std::system(cmd.c_str()) != 0) return {};
    return shell::testing::readfile(scratch.path("out.txt"));
}

std::vector<Reference> parseresults(const std::string& text, size_t count) {
    std::istringstream out(text);
    out.imbue(std::locale::classic());
    std::vector<Reference> refs(count);
    std::string line;
    size_t p = 0, fields = 0;
    while (std::getline(out, line) && p < refs.size()) {
        std::istringstream ls(line);
        ls.imbue(std::locale::classic());
        std::string name;
        ls >> name;
        Reference& r = refs[p];
        auto read = [&ls](auto& v) {
            for (typename std::decay_t<decltype(v)>::value_type x; ls >> x;) v.push_back(x);
        };
        if (name == "L") read(r.L);
        if (name == "step") read(r.step);
        if (name == "seam") read(r.seam);
        if (name == "protan") read(r.protan);
        if (name == "deutan") read(r.deutan);
        if (name == "tritan") read(r.tritan);
        if (name == "grey") read(r.grey);
        if (++fields == 7) fields = 0, ++p;
    }
    if (p != refs.size()) return {};
    return refs;
}

// The largest difference per channel between our strip and culori's.
int stripdeviation(const shell::Palette& ours, const std::vector<int>& theirs) {
    if (theirs.size() != 768) return 999;
    int worst = 0;
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            worst = std::max(worst, std::abs(int(ours[i][c]) - theirs[size_t(i) * 3 + c]));
    return worst;
}

TEST(Culori, AgreesOnThreePalettes) {
    huewright::Model m;
    m.startuppalette();
    shell::Palette ramp{}, random{};
    std::mt19937 gen(20240611);
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c) {
            ramp[i][c] = uint8_t(i);
            random[i][c] = uint8_t(gen() & 0xff);
        }
    const std::vector<shell::Palette> palettes = {m.palette, ramp, random};
    const char* names[3] = {"start-up", "grey ramp", "random"};

    const std::string committed = shell::testing::readfile(ANALYSIS_RESULTS_FILE);
    const ::testing::AssertionResult installed = installculori();
    if (installed) {
        const std::string live = runculori(palettes);
        ASSERT_FALSE(live.empty()) << "node or culori failed";
        // Setting ANALYSIS_REFRESH_RESULTS writes what culori gives into the
        // committed file, after a change of the palettes or of culori's pin.
        if (std::getenv("ANALYSIS_REFRESH_RESULTS"))
            shell::testing::writefile(ANALYSIS_RESULTS_FILE, live);
        else
            ASSERT_TRUE(live == committed) << "culori's results differ from the committed ones";
    } else {
        std::printf("culori could not be installed (%s); using its committed results\n",
                    installed.message());
    }
    const std::vector<Reference> refs = parseresults(committed, palettes.size());
    ASSERT_EQ(refs.size(), palettes.size()) << "the committed results cannot be read";

    for (size_t k = 0; k < palettes.size(); ++k) {
        SCOPED_TRACE(names[k]);
        const analysis::Analysis a = analysis::analyse(palettes[k]);
        const Reference& r = refs[k];
        ASSERT_EQ(r.L.size(), 256u);
        ASSERT_EQ(r.step.size(), 255u);
        ASSERT_EQ(r.seam.size(), 1u);
        double dl = 0, ds = 0;
        for (int i = 0; i < 256; ++i) dl = std::max(dl, std::fabs(a.lab[i].L - r.L[i]));
        for (int i = 0; i < 255; ++i) ds = std::max(ds, std::fabs(a.step[i] - r.step[i]));
        EXPECT_LE(dl, 1e-6);
        EXPECT_LE(ds, 1e-6);
        EXPECT_NEAR(a.seam, r.seam[0], 1e-6);
        // The extremes and the largest step are where culori's numbers put them.
        const auto minl = std::min_element(r.L.begin(), r.L.end());
        const auto maxl = std::max_element(r.L.begin(), r.L.end());
        const auto top = std::max_element(r.step.begin(), r.step.end());
        EXPECT_NEAR(a.minl, *minl, 1e-6);
        EXPECT_NEAR(a.maxl, *maxl, 1e-6);
        EXPECT_NEAR(a.largest, *top, 1e-6);
        EXPECT_LE(stripdeviation(a.protan, r.protan), 1);
        EXPECT_LE(stripdeviation(a.deutan, r.deutan), 1);
        EXPECT_LE(stripdeviation(a.tritan, r.tritan), 1);
        EXPECT_LE(stripdeviation(a.grey, r.grey), 1);
        std::printf("%-9s  max |dL| %.2g, |dstep| %.2g, strips off by at most %d %d %d %d\n",
                    names[k], dl, ds, stripdeviation(a.protan, r.protan),
                    stripdeviation(a.deutan, r.deutan), stripdeviation(a.tritan, r.tritan),
                    stripdeviation(a.grey, r.grey));
    }
}

}  // namespace
