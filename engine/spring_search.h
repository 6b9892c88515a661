// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search for designs that meet a load requirement. Every offered wire size of the chosen
// materials, the mean diameter on a 0.1 mm grid, the active turns on a 0.5 grid and the free
// length on a 0.1 mm grid wherever they can meet the loads; each candidate within reach judged
// on what the window's engine makes of it, by the one function that holds every check (Judge
// in spring_search.cpp).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/design_runner.h"
#include "engine/service_figures.h"
#include "engine/strength_checks.h"

namespace springcalc {

// Mass: the lightest wire first (the default); Stress: the least stressed first.
enum class SearchOrder { Stress, Mass };
// BestPerWire: a line for each material and wire size, its best design (the default); Every:
// a line for each mean diameter and number of turns that meets everything.
enum class SearchListing { BestPerWire, Every };

// Sensible proportions by default, each one an option to widen (docs/cli.md cites the design
// guidance): D/d from 4 to 15, at least 3 active turns, no buckling for a compression spring.
inline constexpr double kDefaultMaxSpringIndex = 15.0;
inline constexpr double kWidestSpringIndex = 30.0;  // the largest --max-index takes
inline constexpr double kDefaultMinTurns = 3.0;
inline constexpr double kSmallestTurns = 0.5;  // the fewest the window takes
// A margin below the static allowable stress at the operating length: a spring as made may give
// up to a tenth more load than drawn (JIS B 2704 grade 2 for 3 to 10 active turns), and spring
// makers rate their catalogue springs at about 80 % of the allowable stress.
inline constexpr double kDefaultMaxStressRatio = 0.9;
inline constexpr double kLeastStressRatio = 0.5;  // the smallest --max-stress-ratio takes

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
    // Buckling (warning 8) with the ends below is judged unless allowed: a spring guided on a
    // rod or in a bore may be let buckle.
    bool allowBuckling = false;
    EndCondition ends = kDefaultEnds;
    // A spring under repeated load: warning 4 (the repeated-load allowable stress) rules it out
    // too, and a fatigue safety factor below minFatigue where the endurance data hold.
    bool repeated = false;
    double minFatigue = 1.0;
    // The endurance data (peened wire) and the hooks' bend radius of the strength checks.
    StrengthOptions strength;
    // A maker's judgement, held by default and each an option to widen: the stress at most this
    // share of the static allowable; the pitch at most this share of D (warning 13); the coils
    // clear at the shortest working length (warning 12) unless allowed close; an extension
    // spring's initial tension one a coiler winds (warning 14) unless any is taken. With
    // solidSafe, only springs that can be pressed solid without a set (no warning 3 or 10).
    double maxStressRatio = kDefaultMaxStressRatio;
    double maxPitchRatio = kMaxPitchRatio;
    bool allowCloseCoils = false;
    bool anyInitialTension = false;
    bool solidSafe = false;
    std::vector<int> materials;                      // material numbers to search
    double maxSpringIndex = kDefaultMaxSpringIndex;  // the largest D/d on the grid
    double minTurns = kDefaultMinTurns;              // the fewest active turns on the grid
    double tolerance = 0.05;  // how far a load may miss, as a fraction of its target
    int top = 10;
    SearchOrder order = SearchOrder::Mass;
    SearchListing listing = SearchListing::BestPerWire;
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
    std::vector<Candidate> best;  // at most `top`, best first
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
    // A search that ended early answers from the wire sizes before `stoppedAt` (material and
    // wire numbers); the widened walk's counts are then at least those given.
    SearchStop stop = SearchStop::None;
    SearchStop wideningStop = SearchStop::None;
    int stoppedMaterial = 0;
    int stoppedWire = 0;
    size_t designsEvaluated = 0;
};

SearchResult SearchDesigns(const SearchRequest& request, DesignRunner& runner,
                           const SearchProgressFn& progress = {});

// The ranges a requirement's numbers may take, both ends included, as every front end offers
// them: loads in kg, lengths in mm, rates in kg/mm.
inline constexpr double kLeastLoad = 0.001, kMostLoad = 10000;
inline constexpr double kLeastRate = 0.0001, kMostRate = 1000;

// Two load points as a requirement: the lighter load at the installed length, the heavier at
// the operating length, and the rate between them. Refused when the loads or the lengths are
// equal, or when the heavier load is not further along the spring's travel (shorter for a
// compression spring, longer for an extension spring).
enum class LoadPointsFault { None, Equal, WrongWay };
LoadPointsFault SetLoadPoints(SearchRequest& request, LoadPoint a, LoadPoint b);

// Grams of the whole wire of a spring, end turns included (check's active mass counts the
// active turns only): compression n + 2 turns (a closed turn at each end), extension n + 3
// (one more turn in the body, as its free length counts, and two hooks of about one turn
// each), at the density of the material table.
double WireMassGrams(std::int32_t springKind, int materialNo, double wireDia, double meanDia,
                     double turns);

inline constexpr size_t kClosestShown = 5;

}  // namespace springcalc
