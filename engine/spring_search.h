// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search for designs that meet a load requirement. Every offered wire size of the chosen
// materials, the mean diameter on a 0.1 mm grid, the active turns solved from the rate; each
// candidate within reach judged on what the window's engine makes of it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/design_runner.h"
#include "engine/service_figures.h"

namespace springcalc {

enum class SearchOrder { Stress, Mass };

// Springs are commonly wound with D/d between 4 and 22; wider coils are hard to wind true.
inline constexpr double kDefaultMaxSpringIndex = 22.0;

struct LoadPoint {
    double load = 0;    // kg
    double length = 0;  // mm
};

struct SearchRequest {
    std::int32_t springKind = kCompression;
    LoadPoint installed;                 // the lighter load, at the installed length
    std::optional<LoadPoint> operating;  // the heavier load; none when a rate is given instead
    double rate = 0;                     // kg/mm: from the two points, or as given
    std::optional<double> maxOuterDia;
    std::optional<double> minInnerDia;
    std::optional<double> maxFreeLen;
    // Compression springs only, judged on the figures `check` shows.
    std::optional<double> maxSlenderness;
    std::optional<double> minFrequency;  // Hz
    bool noBuckling = false;
    EndCondition ends = kDefaultEnds;
    std::vector<int> materials;                      // material numbers to search
    double maxSpringIndex = kDefaultMaxSpringIndex;  // the largest D/d on the grid
    double tolerance = 0.05;  // how far a load may miss, as a fraction of its target
    int top = 10;
    SearchOrder order = SearchOrder::Stress;
    // Every design of the grid through the engine, none spared by the estimate: far slower, and
    // kept for the tests that hold the estimate to sparing only designs the engine would refuse.
    bool exhaustive = false;
};

// One requirement a candidate does not meet.
struct Shortfall {
    enum class What {
        Load,
        Rate,
        OuterDia,
        InnerDia,
        FreeLen,
        Slenderness,
        Frequency,
        Buckling,
        Warning
    };
    What what = What::Warning;
    double actual = 0;
    // The target load or rate, the limit, the critical deflection, or what a warning measures
    // against.
    double wanted = 0;
    double length = 0;  // where a load was wanted
    int warning = 0;
    // How far it misses, as a fraction of what was wanted (a load: beyond the tolerance).
    double excess = 0;
};

struct Candidate {
    DesignInput input;  // what to enter in the window, or in a check file
    Outcome outcome;
    double stressRatio = 0;  // the higher working stress over the static allowable stress
    double massGrams = 0;
    std::vector<Shortfall> shortfalls;  // empty: the candidate meets the requirements
    double totalExcess = 0;             // of all its shortfalls: how far it is from the goal
};

struct SearchResult {
    std::vector<Candidate> best;  // at most `top`, best first
    size_t metCount = 0;          // how many met the requirements in all
    size_t gridCount = 0;         // designs on the grid
    size_t engineRuns = 0;
    // Only when nothing meets the requirements: the candidates with the smallest total excess.
    std::vector<Candidate> closest;
};

SearchResult SearchDesigns(const SearchRequest& request, DesignRunner& runner);

// Grams of the whole wire of a spring, end turns included (check's active mass counts the
// active turns only): compression n + 2 turns (a closed turn at each end), extension n + 3
// (one more turn in the body, as its free length counts, and two hooks of about one turn
// each), at the density of the material table.
double WireMassGrams(std::int32_t springKind, int materialNo, double wireDia, double meanDia,
                     double turns);

inline constexpr double kSmallestTurns = 0.5;
inline constexpr size_t kClosestShown = 5;

}  // namespace springcalc
