// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search for designs that meet a load requirement. Every offered wire size of the chosen
// materials, the mean diameter on a 0.1 mm grid, the active turns on a 0.5 grid and the free
// length on a 0.1 mm grid wherever they can meet the loads; each candidate within reach judged
// on what the window's engine makes of it, by the one function that holds every check (Judge
// in spring_search.cpp).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/design_runner.h"
#include "engine/search_request.h"
#include "engine/service_figures.h"
#include "engine/strength_checks.h"
#include "engine/torsion_spring.h"

namespace springcalc {

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
        SpringIndex,
        Turns,
        Hook,            // the higher hook stress over its allowable (warning 9)
        HookBend,        // the hook radius given is no more than half the wire: no hook can be made
        Fatigue,         // the fatigue safety factor below the one asked for
        StressMargin,    // the stress ratio over maxStressRatio, within the allowable
        Pitch,           // pitch / D over maxPitchRatio (warning 13)
        GapSum,          // the gaps at the shortest length below Sa (warning 12)
        StrokeShare,     // the deflection there over 80 % of that to solid (warning 12)
        InitialTension,  // the initial stress outside the range a coiler winds (warning 14)
        BodyLength,      // a torsion spring's body, wound up, longer than the space for it
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

// What the checks make of a design the engine ran.
struct Verdict {
    double stressRatio = 0;  // the higher working stress over the static allowable stress
    double massGrams = 0;
    double loadMiss = 0;  // the larger miss of the loads (or the load and the rate), a fraction
    // The command line's warnings (8 to 11) of the design, shown beside the window's.
    std::vector<int> serviceWarnings;
    std::optional<double> fatigueSafety;  // as `check` shows it
    std::vector<Shortfall> shortfalls;    // empty: the candidate meets the requirements
    double totalExcess = 0;               // of all its shortfalls: how far it is from the goal
};

struct Candidate : Verdict {
    DesignInput input;  // what to enter in the window, or in a check file
    Outcome outcome;
    // What input.wire and outcome.record.Wire point at, for wire by a standard or one's own.
    std::shared_ptr<const WireSelection> wire;
};

// A torsion spring the search found: a check file's torsion row, and what ComputeTorsion made
// of it.
struct TorsionCandidate : Verdict {
    TorsionInput input;
    TorsionResult result;
};

// Designs that the limits of the defaults alone kept out: they meet the loads and every other
// requirement once the limits in `widen` are widened.
struct Widening {
    std::vector<Shortfall::What> widen;  // SpringIndex, Turns, Buckling
    size_t count = 0;
    Candidate best;  // the first of them in the order asked for
    // The least widening that lets one of them in: the smallest D/d and the most turns.
    double leastIndex = 0;
    double mostTurns = 0;
};

// Where a search has got to, for a front end to show while it runs.
struct SearchProgress {
    bool widening = false;  // the second walk, with the default proportions widened
    size_t wiresDone = 0;   // material and wire sizes walked, of
    size_t wiresTotal = 0;
    size_t springsFound = 0;      // springs that met the requirements so far
    size_t designsEvaluated = 0;  // estimates and engine runs, of both walks
};
// Called after each wire size and every few thousand designs; false stops the search, which
// then answers from what it has walked (SearchResult::stop says so).
using SearchProgressFn = std::function<bool(const SearchProgress&)>;

// Why a search ended before it had walked every wire size.
enum class SearchStop {
    None,
    Asked,       // the progress callback said stop
    WorkBudget,  // kSearchWorkBudget reached
};
// The most work one search does, in engine runs (about 0.5 µs each; an estimate, about 60 ns,
// counts as kEstimateWork of one): about 1.5 s of the slowest requests found on the 2-core
// build machine. Every search that took under 0.8 s before the bound stays within it; requests
// that meet millions of springs, such as a tolerance of 99 %, stop at it.
inline constexpr double kSearchWorkBudget = 2.6e6;
inline constexpr double kEstimateWork = 1.0 / 8.0;

struct SearchResult {
    std::vector<Candidate> best;                // at most `top`, best first
    std::vector<TorsionCandidate> torsionBest;  // of a search for torsion springs, as `best`
    // Springs (material, wire, D and n, each at its best free length) that met the requirements,
    // and the materials and wire sizes among them.
    size_t metCount = 0;
    size_t choiceCount = 0;
    size_t gridCount = 0;  // designs on the grid
    // Counted to within a few in a million where millions of turns each had thousands of free
    // lengths to walk.
    bool gridCountEstimated = false;
    size_t engineRuns = 0;
    // Only when nothing meets the requirements: the candidates with the smallest total excess,
    // and what widening the default limits would let through (fewest limits first).
    std::vector<Candidate> closest;
    std::vector<Widening> widenings;
    // A search that ended early answers from the wire sizes before the one it stopped in
    // (material and wire numbers, or a standard's size); the widened walk's counts are then at
    // least those given.
    SearchStop stop = SearchStop::None;
    SearchStop wideningStop = SearchStop::None;
    int stoppedMaterial = 0;
    int stoppedWire = 0;
    std::shared_ptr<const WireSelection> stoppedStandard;
    size_t designsEvaluated = 0;
};

SearchResult SearchDesigns(const SearchRequest& request, DesignRunner& runner,
                           const SearchProgressFn& progress = {});

// Grams of the whole wire of a spring, end turns included (check's active mass counts the
// active turns only): compression n + 2 turns (a closed turn at each end), extension n + 3
// (one more turn in the body, as its free length counts, and two hooks of about one turn
// each), at the density of the material table (or of the standard's row).
double WireMassGrams(std::int32_t springKind, int materialNo, double wireDia, double meanDia,
                     double turns);
double WireMassGrams(std::int32_t springKind, const MaterialRow& material, double wireDia,
                     double meanDia, double turns);

inline constexpr size_t kClosestShown = 5;

}  // namespace springcalc
