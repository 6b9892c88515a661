// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/spring_search.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <tuple>

#include "engine/spring_formulas.h"
#include "engine/spring_tables.h"
#include "engine/window_texts.h"

namespace springcalc {

namespace {

// Limits hold to well below the 0.1 mm the window shows, so that a limit of 20 keeps an outer
// diameter whose single-precision value lands a hair above 20.
constexpr double kLimitSlack = 1e-4;
// The estimate that picks designs for the engine differs from the engine's own numbers only by
// single-precision rounding, a few parts in ten million. A design is left out only when its
// estimate fails a requirement by more than this fraction, so the engine sees every design it
// could accept.
constexpr double kCertainMargin = 1e-3;
// Warnings that rule a candidate out; 3 is shown, not held against it (a stroke need not go to
// solid) but under solidSafe, and 4 only under --repeated.
constexpr int kDisqualifying[] = {kIndexWarning, kStaticStressWarning, kWireNotMadeWarning,
                                  kBelowSolidWarning, kBelowFreeLengthWarning};
// The exhaustive walk reaches this much further than the tolerance (a fraction of each target
// load) and the free lengths this much further either side (mm), so that the engine, not the
// estimate, judges the designs at the edges of the windows of turns and free lengths.
constexpr double kExhaustiveReach = 0.02;
constexpr double kExhaustiveLengthReach = 0.2;
constexpr double kMostTurns = 10000;  // the largest the check input takes
// Load misses (fractions of the target) this close may come in either order from the engine.
constexpr double kTieMiss = 1e-4;

// One wire size of one material the search walks: a window's material and wire, or a
// standard's (or the user's own) material at one of its preferred sizes, with what the walk's
// estimate reads of it.
struct WireEntry {
    // Ties go by these: the window's material and wire numbers, the standards after the nine
    // in the order named, each by its sizes.
    int materialKey = 0;
    int wireKey = 0;
    int materialNo = 0;  // what the design enters: the window's numbers, 0 with `wire`
    int wireNo = 0;
    std::shared_ptr<const WireSelection> wire;
    double d = 0;         // mm
    double strength = 0;  // the tensile strength the lookup gives, kg/mm²
    const MaterialRow* material = nullptr;
};

std::vector<WireEntry> WireEntries(const SearchRequest& request) {
    std::vector<WireEntry> entries;
    for (int materialNo : request.materials) {
        for (int wireNo = 0; wireNo < kWireCount; ++wireNo) {
            const std::int32_t strength = TableStrength(materialNo, wireNo);
            if (strength != kNotOffered) {
                entries.push_back({materialNo, wireNo, materialNo, wireNo, nullptr,
                                   kWires[wireNo].diameter, double(strength),
                                   &kMaterials[materialNo]});
            }
        }
    }
    for (size_t i = 0; i < request.standards.size(); ++i) {
        const std::vector<double>& sizes = request.standards[i]->sizes;
        for (size_t size = 0; size < sizes.size(); ++size) {
            auto wire = SelectWire(request.standards[i], sizes[size]);
            if (!wire) {
                continue;
            }
            const double d = wire->diameter;
            const double strength = wire->strength;
            const MaterialRow* row = &wire->row;
            entries.push_back({kMaterialCount + static_cast<int>(i), static_cast<int>(size), 0, 0,
                               std::move(wire), d, strength, row});
        }
    }
    return entries;
}

// A point of the grid before the engine has seen it.
struct GridDesign {
    int entry = 0;  // of the search's WireEntries
    int meanDiaTenths = 0;
    double turns = 0;
    int freeLenTenths = 0;  // compression only
    // Estimated excess of the loads; of everything that grows no smaller with the free length
    // of a compression spring (lengths, stress, limits, buckling); and of the rest (the
    // repeated-load allowable stress).
    double loadExcess = 0;
    double otherExcess = 0;
    double pointExcess = 0;
    // The part of otherExcess that grows no smaller with the turns at one D (for a compression
    // spring: with the free length too): all of it but the stress.
    double growingExcess = 0;
};

// Numbers of active turns, every half turn from the first: thousands of them at a D where the
// lengths are long.
struct HalfTurns {
    double first = 0;
    size_t count = 0;
    double operator[](size_t i) const { return first + 0.5 * static_cast<double>(i); }
    double Last() const { return (*this)[count - 1]; }
};

// Counting the designs on the grid at one number of turns, against an engine run.
constexpr double kCountingWork = 1.0 / 40.0;

// A design the engine ran, as judged: enough to rank it and to run it again.
struct Scored {
    DesignInput input;
    double stressRatio = 0;
    double massGrams = 0;
    double loadMiss = 0;
    double totalExcess = 0;
    // In the widened walk, the default limits a passing design breaks.
    std::vector<Shortfall::What> broken;
    int materialKey = 0;  // the WireEntry's
    int wireKey = 0;
    std::shared_ptr<const WireSelection> wire;
};

float Tenths(int tenths) {
    return static_cast<float>(tenths / 10.0);
}

// By how much `actual` passes `limit` in the direction `sign` (+1: above a maximum, -1: below
// a minimum), as a fraction of the limit; 0 when it does not.
double Excess(double actual, double limit, double sign) {
    return std::max(0.0, sign * (actual - limit) / limit);
}

double LimitExcess(const std::optional<double>& limit, double value, double sign) {
    return limit ? Excess(value - sign * kLimitSlack, *limit, sign) : 0.0;
}

void CheckLimit(Verdict& v, Shortfall::What what, double actual, const std::optional<double>& limit,
                double sign) {
    const double excess = LimitExcess(limit, actual, sign);
    if (excess > 0.0) {
        v.shortfalls.push_back({what, actual, *limit, 0, 0, excess});
    }
}

void CheckLoad(Verdict& v, const SearchRequest& request, Shortfall::What what, double actual,
               LoadPoint wanted) {
    const double miss = std::fabs(actual - wanted.load) / wanted.load;
    v.loadMiss = std::max(v.loadMiss, miss);
    // The tolerance holds inclusive, also where 5 % of the target is not exact in binary.
    if (miss > request.tolerance * (1.0 + 1e-9)) {
        v.shortfalls.push_back(
            {what, actual, wanted.load, wanted.length, 0, miss - request.tolerance});
    }
}

// How much heavier than drawn the heavier load may come out at the requested grade.
double ToleranceScale(const SearchRequest& request, const TSpringDesign& record) {
    return request.toleranceGrade ? HeavierLoadScale(*request.toleranceGrade, record) : 1.0;
}

// What a spring maker would refuse to make or to promise: a stress with no margin for the
// scatter of the loads, coils wound too open, too close at the shortest length, an initial
// tension no coiler winds, and with solidSafe a spring that takes a set when pressed solid.
void JudgeAsAMaker(Verdict& verdict, const SearchRequest& request, const Outcome& outcome,
                   const ServiceFigures& figures) {
    using What = Shortfall::What;
    // Within the allowable stress only: over it, warning 2 says so already. The stress grows
    // with the load, so the heaviest load the grade allows scales it.
    if (verdict.stressRatio <= 1.0) {
        const double ratio = verdict.stressRatio * ToleranceScale(request, outcome.record);
        if (ratio > request.maxStressRatio) {
            verdict.shortfalls.push_back({What::StressMargin, ratio, request.maxStressRatio, 0, 0,
                                          Excess(ratio, request.maxStressRatio, 1.0)});
        }
    }
    if (const std::optional<CoilFigures>& c = figures.maker.coils) {
        if (c->pitchRatio > request.maxPitchRatio) {
            verdict.shortfalls.push_back({What::Pitch, c->pitchRatio, request.maxPitchRatio, 0,
                                          kPitchWarning,
                                          Excess(c->pitchRatio, request.maxPitchRatio, 1.0)});
        }
        if (!request.allowCloseCoils && c->gapSum < c->minGapSum) {
            verdict.shortfalls.push_back({What::GapSum, c->gapSum, c->minGapSum, 0,
                                          kCoilClearanceWarning,
                                          Excess(c->gapSum, c->minGapSum, -1.0)});
        }
        if (!request.allowCloseCoils && c->strokeShare > kMaxStrokeShare) {
            verdict.shortfalls.push_back({What::StrokeShare, c->strokeShare, kMaxStrokeShare, 0,
                                          kCoilClearanceWarning,
                                          Excess(c->strokeShare, kMaxStrokeShare, 1.0)});
        }
    }
    if (const std::optional<InitialTensionFigures>& t = figures.maker.initialTension;
        t && t->outside && !request.anyInitialTension) {
        const double bound = t->stress > t->high ? t->high : t->low;
        verdict.shortfalls.push_back({What::InitialTension, t->stress, bound, 0,
                                      kInitialTensionWarning,
                                      Excess(t->stress, bound, t->stress > t->high ? 1.0 : -1.0)});
    }
    // Warning 3 comes with a set when pressed solid; where the window does not give it, the
    // set alone tells.
    const std::vector<int>& warnings = outcome.warnings;
    if (request.solidSafe && figures.strength.solid && figures.strength.solid->takesSet &&
        std::find(warnings.begin(), warnings.end(), kAllowableBeforeSolidWarning) ==
            warnings.end()) {
        const double stress = figures.strength.solid->stress;
        const double allowable = StaticAllowable(outcome.record);
        verdict.shortfalls.push_back({What::Warning, stress, allowable, 0, kSolidSetWarning,
                                      Excess(stress, allowable, 1.0)});
    }
}

// What Judge looks at: a compression or extension spring as the window's engine ran it, or a
// torsion spring as ComputeTorsion worked it out.
struct Judged {
    Judged(const Outcome& coil) : outcome(&coil) {}  // NOLINT: every coil search passes one
    explicit Judged(const TorsionCandidate& spring) : torsion(&spring) {}
    const Outcome* outcome = nullptr;
    const TorsionCandidate* torsion = nullptr;
};

Verdict& Totalled(Verdict& verdict) {
    for (const Shortfall& s : verdict.shortfalls) {
        verdict.totalExcess += s.excess;
    }
    return verdict;
}

// Every check a candidate has to pass, in one place, read from the engine's record and warning
// list and from the figures in service `check` shows, or from a torsion spring's figures: a
// further check goes here.
Verdict Judge(const SearchRequest& request, const Judged& judged) {
    Verdict verdict;
    if (judged.torsion) {
        // A torsion spring: its moments (as loads at leg angles), its proportions, the space
        // given, its stress with a maker's margin, and warnings 21 to 23.
        const TorsionInput& in = judged.torsion->input;
        const TorsionResult& r = judged.torsion->result;
        const TorsionPoint& first = r.points[0];
        const TorsionPoint& second = r.points[1];
        const double stress = std::max(first.stress, second.stress);
        verdict.massGrams = r.wireMass;
        verdict.stressRatio = r.ran ? stress / r.allowableStress : 0.0;
        for (int warning : r.warnings) {
            // Warning 24 is the fatigue safety factor under 1: held to --min-fatigue below.
            if (warning == kTorsionFatigueWarning) {
                continue;
            }
            Shortfall s{Shortfall::What::Warning, 0, 0, 0, warning, 1.0};
            if (warning == kTorsionStressWarning) {
                s = {Shortfall::What::Warning,
                     stress,
                     r.allowableStress,
                     0,
                     warning,
                     Excess(stress, r.allowableStress, 1.0)};
            } else if (warning == kTorsionMandrelWarning) {
                s = {Shortfall::What::Warning,
                     r.mandrelClearance,
                     torsion::kMandrelClearance,
                     0,
                     warning,
                     Excess(r.mandrelClearance + 1.0, torsion::kMandrelClearance + 1.0, -1.0)};
            }
            verdict.shortfalls.push_back(s);
        }
        if (!r.ran) {
            return Totalled(verdict);
        }
        // Under repeated load, the bending fatigue safety factor where the endurance data hold,
        // as the coil springs' is held below.
        verdict.fatigueSafety = r.fatigueSafety;
        if (request.repeated && r.fatigueSafety && *r.fatigueSafety < request.minFatigue) {
            verdict.shortfalls.push_back({Shortfall::What::Fatigue, *r.fatigueSafety,
                                          request.minFatigue, 0, kTorsionFatigueWarning,
                                          Excess(*r.fatigueSafety, request.minFatigue, -1.0)});
        }
        if (request.operating) {
            CheckLoad(verdict, request, Shortfall::What::Load, first.moment, request.installed);
            CheckLoad(verdict, request, Shortfall::What::Load, second.moment, *request.operating);
        } else {
            // One moment: the second position carries it, the first is free.
            CheckLoad(verdict, request, Shortfall::What::Load, second.moment, request.installed);
            CheckLoad(verdict, request, Shortfall::What::Rate, r.ratePerDegree, {request.rate, 0});
        }
        if (r.index > request.maxSpringIndex * (1.0 + 1e-6)) {
            verdict.shortfalls.push_back({Shortfall::What::SpringIndex, r.index,
                                          request.maxSpringIndex, 0, 0,
                                          Excess(r.index, request.maxSpringIndex, 1.0)});
        }
        if (in.bodyTurns < request.minTurns) {
            verdict.shortfalls.push_back({Shortfall::What::Turns, in.bodyTurns, request.minTurns, 0,
                                          0, Excess(in.bodyTurns, request.minTurns, -1.0)});
        }
        CheckLimit(verdict, Shortfall::What::OuterDia, r.outerDiameterFree, request.maxOuterDia,
                   1.0);
        CheckLimit(verdict, Shortfall::What::BodyLength,
                   std::max(first.bodyLength, second.bodyLength), request.maxBodyLen, 1.0);
        if (verdict.stressRatio > request.maxStressRatio && verdict.stressRatio <= 1.0) {
            verdict.shortfalls.push_back(
                {Shortfall::What::StressMargin, verdict.stressRatio, request.maxStressRatio, 0, 0,
                 Excess(verdict.stressRatio, request.maxStressRatio, 1.0)});
        }
        return Totalled(verdict);
    }
    const Outcome& outcome = *judged.outcome;
    const TSpringDesign& v = outcome.record;
    const bool compression = v.SpringKind == kCompression;
    const double allowable = StaticAllowable(v);
    const double stress = std::max(v.Tset, v.Tact);
    verdict.massGrams =
        WireMassGrams(v.SpringKind, MaterialOf(v), WireDiameterOf(v), v.MeanDia, v.Turns);
    verdict.stressRatio = stress / allowable;

    // The window's warnings.
    const std::vector<int>& warnings = outcome.warnings;
    const auto disqualifies = [&](int warning) {
        if (std::find(warnings.begin(), warnings.end(), warning) == warnings.end()) {
            return;
        }
        Shortfall s{Shortfall::What::Warning, 0, 0, 0, warning, 1.0};
        if (warning == kStaticStressWarning) {
            s.actual = stress;
            s.wanted = allowable;
        } else if (warning == kRepeatedLoadWarning) {
            s.actual = stress;
            s.wanted = v.AllowFatigue;
        } else if (warning == kBelowSolidWarning) {
            s.actual = v.SolidLen;
            s.wanted = std::min({v.FreeLen, v.SetLen, v.WorkLen});
        } else if (warning == kBelowFreeLengthWarning) {
            s.actual = v.FreeLen;
            s.wanted = std::min(v.SetLen, v.WorkLen);
        }
        if (s.wanted > 0) {
            s.excess = Excess(s.actual, s.wanted, 1.0);
        }
        verdict.shortfalls.push_back(s);
    };
    for (int warning : kDisqualifying) {
        disqualifies(warning);
    }
    if (request.repeated) {
        disqualifies(kRepeatedLoadWarning);
    }
    if (request.solidSafe) {
        disqualifies(3);
    }

    // The loads asked for.
    if (outcome.analysed) {
        CheckLoad(verdict, request, Shortfall::What::Load, v.Pset, request.installed);
        if (request.operating) {
            CheckLoad(verdict, request, Shortfall::What::Load, v.Pact, *request.operating);
        } else {
            CheckLoad(verdict, request, Shortfall::What::Rate, v.SpringRate, {request.rate, 0});
        }
    }

    // The proportions: the grid keeps to them, and the widened search is told by them which
    // default limit kept a design out.
    const double index = double(v.MeanDia) / double(WireDiameterOf(v));
    if (index > request.maxSpringIndex * (1.0 + 1e-6)) {
        verdict.shortfalls.push_back({Shortfall::What::SpringIndex, index, request.maxSpringIndex,
                                      0, 0, Excess(index, request.maxSpringIndex, 1.0)});
    }
    if (double(v.Turns) < request.minTurns) {
        verdict.shortfalls.push_back({Shortfall::What::Turns, v.Turns, request.minTurns, 0, 0,
                                      Excess(v.Turns, request.minTurns, -1.0)});
    }

    // The limits given.
    CheckLimit(verdict, Shortfall::What::OuterDia, v.OuterDia, request.maxOuterDia, 1.0);
    CheckLimit(verdict, Shortfall::What::InnerDia, v.InnerDia, request.minInnerDia, -1.0);
    CheckLimit(verdict, Shortfall::What::FreeLen, v.FreeLen, request.maxFreeLen, 1.0);

    // The figures in service `check` shows: of a compression spring, buckling (warning 8); of
    // an extension spring, the hooks (warning 9); under repeated load, the fatigue safety
    // factor. Warning 10 (a set when pressed solid) comes with the window's warning 3 and is
    // allowed as it is.
    if (outcome.analysed) {
        const ServiceFigures figures = ComputeServiceFigures(v, request.ends, request.strength);
        verdict.serviceWarnings = ServiceWarnings(figures, request.repeated);
        verdict.fatigueSafety = figures.strength.fatigue.safety;
        if (compression) {
            const CompressionFigures& c = *figures.compression;
            CheckLimit(verdict, Shortfall::What::Slenderness, c.slenderness, request.maxSlenderness,
                       1.0);
            CheckLimit(verdict, Shortfall::What::Frequency, c.surgeFrequency, request.minFrequency,
                       -1.0);
            if (!request.allowBuckling && c.bucklingRisk) {
                verdict.shortfalls.push_back(
                    {Shortfall::What::Buckling, c.workDeflection, *c.criticalDeflection, 0,
                     kBucklingWarning, Excess(c.workDeflection, *c.criticalDeflection, 1.0)});
            }
        }
        if (figures.strength.hookWithoutBend) {
            const double halfWire = WireDiameterOf(v) / 2.0;
            const double radius = request.strength.hookRadius.value_or(0.0);
            verdict.shortfalls.push_back({Shortfall::What::HookBend, radius, halfWire, 0,
                                          kHookWarning, Excess(halfWire, radius, 1.0)});
        }
        const std::optional<HookFigures>& hook = figures.strength.hook;
        if (hook && hook->overAllowable) {
            const bool bending = hook->bendingStress / hook->bendingAllowable >=
                                 hook->torsionStress / hook->torsionAllowable;
            const double stress = bending ? hook->bendingStress : hook->torsionStress;
            const double allowed = bending ? hook->bendingAllowable : hook->torsionAllowable;
            verdict.shortfalls.push_back({Shortfall::What::Hook, stress, allowed, 0, kHookWarning,
                                          Excess(stress, allowed, 1.0)});
        }
        if (request.repeated && verdict.fatigueSafety &&
            *verdict.fatigueSafety < request.minFatigue) {
            verdict.shortfalls.push_back(
                {Shortfall::What::Fatigue, *verdict.fatigueSafety, request.minFatigue, 0,
                 kFatigueWarning, Excess(*verdict.fatigueSafety, request.minFatigue, -1.0)});
        }
        JudgeAsAMaker(verdict, request, outcome, figures);
    }
    return Totalled(verdict);
}

// Keeps the best few of many by `less`, without holding them all.
template <typename T>
class BestFew {
public:
    using Less = std::function<bool(const T&, const T&)>;
    BestFew(size_t count, Less less) : count_(count), less_(std::move(less)) {}
    void Add(T item) {
        // One that comes after the last of a full set can never be kept.
        if (full_ && less_(items_[count_ - 1], item)) {
            return;
        }
        items_.push_back(std::move(item));
        if (items_.size() >= 4 * count_ + 256) {
            Trim();
        }
    }
    std::vector<T> Take() {
        Trim();
        full_ = false;
        return std::move(items_);
    }
    // The last of a full set: whatever comes after it is left out. None until the set is full.
    const T* Last() const { return full_ ? &items_[count_ - 1] : nullptr; }

private:
    void Trim() {
        std::sort(items_.begin(), items_.end(), less_);
        if (items_.size() > count_) {
            items_.resize(count_);
        }
        full_ = count_ > 0 && items_.size() == count_;
    }
    size_t count_;
    bool full_ = false;
    Less less_;
    std::vector<T> items_;
};

auto Place(const Scored& s) {
    return std::make_tuple(s.materialKey, s.wireKey, s.input.meanDia, s.input.turns,
                           s.input.freeLen);
}

bool Closer(const Scored& a, const Scored& b) {
    return std::make_tuple(a.totalExcess, Place(a)) < std::make_tuple(b.totalExcess, Place(b));
}

// Of the free lengths of one spring (material, wire, D and turns) that pass, the one whose loads
// come closest to their targets; then the less stressed, then the shorter.
bool FamilyBetter(const Scored& a, const Scored& b) {
    return std::make_tuple(a.loadMiss, a.stressRatio, a.input.freeLen) <
           std::make_tuple(b.loadMiss, b.stressRatio, b.input.freeLen);
}

// The order asked for, the other measure breaking ties, then the place on the grid.
bool Better(SearchOrder order, const Scored& a, const Scored& b) {
    const bool byStress = order == SearchOrder::Stress;
    return std::make_tuple(byStress ? a.stressRatio : a.massGrams,
                           byStress ? a.massGrams : a.stressRatio, Place(a)) <
           std::make_tuple(byStress ? b.stressRatio : b.massGrams,
                           byStress ? b.massGrams : b.stressRatio, Place(b));
}

// Which default limits a design breaks, as the checks of `strict` find it.
std::vector<Shortfall::What> DefaultsBroken(const Verdict& verdict) {
    std::vector<Shortfall::What> broken;
    for (Shortfall::What what :
         {Shortfall::What::SpringIndex, Shortfall::What::Turns, Shortfall::What::Buckling,
          Shortfall::What::StressMargin, Shortfall::What::Pitch, Shortfall::What::GapSum,
          Shortfall::What::InitialTension}) {
        // Both clearance rules are widened by one option: they count as one.
        const auto same = [what](Shortfall::What other) {
            return other == what ||
                   (what == Shortfall::What::GapSum && other == Shortfall::What::StrokeShare);
        };
        if (std::any_of(verdict.shortfalls.begin(), verdict.shortfalls.end(),
                        [&](const Shortfall& s) { return same(s.what); })) {
            broken.push_back(what);
        }
    }
    return broken;
}

// The work of both walks of one search, against the budget, and the progress told.
struct Tracker {
    const SearchProgressFn& report;
    SearchProgress progress;
    double work = 0;
    size_t nextReport = 0;
    SearchStop stop = SearchStop::None;

    // Counts `designs` evaluated at `cost` each; whether the search goes on.
    bool Count(size_t designs, double cost) {
        progress.designsEvaluated += designs;
        work += static_cast<double>(designs) * cost;
        if (stop == SearchStop::None && work >= kSearchWorkBudget) {
            stop = SearchStop::WorkBudget;
        }
        if (stop == SearchStop::None && progress.designsEvaluated >= nextReport) {
            Report();
        }
        return stop == SearchStop::None;
    }
    // Work that evaluates no design: counting the grid.
    void Work(double cost) {
        work += cost;
        if (stop == SearchStop::None && work >= kSearchWorkBudget) {
            stop = SearchStop::WorkBudget;
        }
    }
    void Report() {
        nextReport = progress.designsEvaluated + kDesignsBetweenReports;
        if (report && !report(progress)) {
            stop = SearchStop::Asked;
        }
    }
    static constexpr size_t kDesignsBetweenReports = 4096;
};

class Search {
public:
    // With `strict`, the request is a widened copy of it: the designs that pass are tallied by
    // the default limits of `strict` they break, and nothing else is kept.
    Search(const SearchRequest& request, DesignRunner& runner, Tracker& tracker,
           const SearchRequest* strict = nullptr)
        : request_(request),
          strict_(strict),
          runner_(runner),
          tracker_(tracker),
          entries_(WireEntries(request)),
          met_(static_cast<size_t>(std::max(request.top, 1)),
               [this](const Scored& a, const Scored& b) { return Better(request_.order, a, b); }),
          nearMisses_(kClosestShown, Closer),
          farMisses_(kClosestShown, [this](const GridDesign& a, const GridDesign& b) {
              const WireEntry& wireA = entries_[static_cast<size_t>(a.entry)];
              const WireEntry& wireB = entries_[static_cast<size_t>(b.entry)];
              return std::make_tuple(a.loadExcess + a.otherExcess + a.pointExcess,
                                     wireA.materialKey, wireA.wireKey, a.meanDiaTenths, a.turns,
                                     a.freeLenTenths) <
                     std::make_tuple(b.loadExcess + b.otherExcess + b.pointExcess,
                                     wireB.materialKey, wireB.wireKey, b.meanDiaTenths, b.turns,
                                     b.freeLenTenths);
          }) {}

    SearchResult Run() {
        SearchProgress& progress = tracker_.progress;
        progress.widening = strict_ != nullptr;
        progress.wiresDone = 0;
        progress.wiresTotal = entries_.size();
        progress.springsFound = 0;
        tracker_.Report();
        for (size_t i = 0; i < entries_.size() && Going(); ++i) {
            // Where a stop leaves it: in this wire size, or before it.
            const WireEntry& entry = entries_[i];
            result_.stoppedMaterial = entry.materialNo;
            result_.stoppedWire = entry.wireNo;
            result_.stoppedStandard = entry.wire;
            WalkWire(static_cast<int>(i));
            ++progress.wiresDone;
            progress.springsFound = result_.metCount;
            if (Going()) {
                tracker_.Report();
            }
        }
        result_.stop = tracker_.stop;
        for (const Scored& s : met_.Take()) {
            result_.best.push_back(Rerun(s, request_));
        }
        if (result_.metCount == 0 && !strict_) {
            result_.closest = Closest();
        }
        for (const auto& [broken, w] : widened_) {
            result_.widenings.push_back(
                {broken, w.count, Rerun(w.best, *strict_), w.leastIndex, w.mostTurns});
        }
        std::stable_sort(
            result_.widenings.begin(), result_.widenings.end(),
            [](const Widening& a, const Widening& b) { return a.widen.size() < b.widen.size(); });
        return std::move(result_);
    }

private:
    double ShortestLength() const {
        return request_.operating ? std::min(request_.installed.length, request_.operating->length)
                                  : request_.installed.length;
    }

    bool Going() const { return tracker_.stop == SearchStop::None; }

    // The extra reach of the windows in an exhaustive walk.
    double Reach() const { return request_.exhaustive ? kExhaustiveReach : 0.0; }

    void WalkWire(int entry) {
        const WireEntry& wire = entries_[static_cast<size_t>(entry)];
        const double d = wire.d;
        const double stiffness = formulas::Stiffness(wire.material->shearModulus, d);
        // The static allowable stress as the strength lookup gives it.
        const double allowable = StaticAllowableFactor(request_.springKind) *
                                 (double(wire.material->allowFactor) * wire.strength);
        // From D/d = 4, below which the window withholds Run, up to the largest spring index
        // asked for.
        const int first = std::max(1, static_cast<int>(std::ceil(40.0 * d - 1e-9)));
        const int last = static_cast<int>(std::floor(request_.maxSpringIndex * d * 10.0 + 1e-9));
        std::optional<Scored> wireBest;
        for (int tenths = first; tenths <= last && Going(); ++tenths) {
            const HalfTurns turnsToTry = TurnsToTry(tenths, d, stiffness);
            for (size_t i = 0; i < turnsToTry.count; ++i) {
                const double turns = turnsToTry[i];
                if (!request_.exhaustive &&
                    LeastExcessFrom({entry, tenths, turns}, turnsToTry.Last(), d, stiffness,
                                    allowable) > ExcessThatCounts()) {
                    // Nor any with more turns at this D: they are on the grid all the same.
                    result_.gridCount += GridCount(tenths, stiffness, turnsToTry, i);
                    break;
                }
                if (!Going()) {
                    break;
                }
                const std::optional<Scored> family =
                    WalkFreeLengths({entry, tenths, turns}, d, stiffness, allowable);
                if (!family) {
                    continue;
                }
                if (request_.listing == SearchListing::Every) {
                    met_.Add(*family);
                }
                if (!wireBest || Better(request_.order, *family, *wireBest)) {
                    wireBest = family;
                }
            }
        }
        if (wireBest) {
            ++result_.choiceCount;
            if (request_.listing == SearchListing::BestPerWire) {
                met_.Add(*wireBest);
            }
        }
    }

    // The least excess any design of this D with these turns up to `lastTurns` can have, by the
    // loads of an extension spring and by the part of
    // the estimate that grows no smaller with the turns: the solid length, the limits on the
    // diameters and the free length, buckling, slenderness and the surge frequency; of a
    // compression spring, at the shortest free length any of them is tried at (both the
    // first of the free-length window and the balanced one grow with the turns).
    double LeastExcessFrom(GridDesign grid, double lastTurns, double d, double stiffness,
                           double allowable) {
        const double k = formulas::SpringRate(stiffness, grid.turns, Tenths(grid.meanDiaTenths));
        if (request_.springKind == kCompression) {
            grid.freeLenTenths =
                std::min(FreeLengthWindow(k).first,
                         static_cast<int>(std::lround(BalancedFreeLength(k) * 10.0)));
        }
        Estimate(grid, d, k, stiffness, allowable);
        tracker_.Count(1, kEstimateWork);
        double least = grid.growingExcess;
        if (request_.springKind != kCompression) {
            // An extension spring's load at a length L, (L - 2D + d) kn / n - d kn + tension
            // (kn: k times n), runs one way as the turns grow, and so does its rate, kn / n: from
            // these turns to the most, each stays between its values at the two ends.
            const double D = Tenths(grid.meanDiaTenths);
            const double tension = InitialTensionOf(stiffness, d, D);
            const double lastK = formulas::SpringRate(stiffness, lastTurns, D);
            const auto loadAt = [&](double length, double turns, double rate) {
                return (length - formulas::ExtensionFreeLength(D, turns, d)) * rate + tension;
            };
            const auto leastMiss = [&](double one, double other, double wanted) {
                const double low = std::min(one, other), high = std::max(one, other);
                return low > wanted    ? LoadExcess(low, wanted)
                       : high < wanted ? LoadExcess(high, wanted)
                                       : 0.0;
            };
            // The stress of the heavier load is at least that of the larger of the two least
            // loads.
            double leastLoad = 0;
            for (const LoadPoint* p :
                 {&request_.installed, request_.operating ? &*request_.operating : nullptr}) {
                if (p) {
                    const double one = loadAt(p->length, grid.turns, k);
                    const double other = loadAt(p->length, lastTurns, lastK);
                    least += leastMiss(one, other, p->load);
                    leastLoad = std::max(leastLoad, std::min(one, other));
                }
            }
            least += Excess(formulas::ShearStress(leastLoad, D, d), allowable, 1.0);
            if (!request_.operating) {
                least += leastMiss(k, lastK, request_.rate);
            }
        }
        return least;
    }

    // The designs on the grid of these turns at D: as many as WalkFreeLengths counts.
    size_t GridCount(int tenths, double stiffness, const HalfTurns& turns, size_t from) {
        if (request_.springKind != kCompression) {
            return turns.count - from;
        }
        // formulas::SpringRate with D^3 worked out once: there may be thousands of turns.
        const double cube = std::pow(Tenths(tenths), 3);
        const auto designs = [&](size_t i) {
            const auto [first, last] = FreeLengthWindow(stiffness / ((8.0 * turns[i]) * cube));
            return first > last ? size_t{1} : static_cast<size_t>(last - first + 1);
        };
        // Millions of turns, each with thousands of free lengths: the window's ends are linear
        // in the turns but for a bend or two (the larger of two lower ends, the smaller of two
        // upper ones, the installed length), so the count of every 64th turn, summed as a
        // trapezoid, is within a few in a million of counting them all.
        constexpr size_t kCountedOneByOne = 256, kStep = 64, kWideWindow = 1000;
        const size_t end = turns.count;
        if (end - from > kCountedOneByOne && designs(from) >= kWideWindow &&
            designs(end - 1) >= kWideWindow) {
            result_.gridCountEstimated = true;
            double sum = 0;
            size_t i = from, atI = designs(from);
            while (i < end - 1) {
                const size_t j = std::min(i + kStep, end - 1), atJ = designs(j);
                sum += double(atI + atJ) / 2.0 * double(j - i);
                i = j;
                atI = atJ;
            }
            tracker_.Work(double(end - from) / double(kStep) * kCountingWork);
            return static_cast<size_t>(std::llround(sum + double(designs(from) + atI) / 2.0));
        }
        size_t count = 0;
        for (size_t i = from; i < end; ++i) {
            count += designs(i);
        }
        tracker_.Work(double(end - from) * kCountingWork);
        return count;
    }

    // The excess beyond which a design can play no part: one the estimate rules out, and
    // when the closest are wanted, one further than the last of them.
    double ExcessThatCounts() const {
        if (strict_) {
            return kCertainMargin;
        }
        const GridDesign* last = farMisses_.Last();
        return last ? std::max(kCertainMargin,
                               last->loadExcess + last->otherExcess + last->pointExcess)
                    : HUGE_VAL;
    }

    // The rate's window: the spring rates at which both loads can be met within the tolerance
    // (and the estimate's margin, and in an exhaustive walk its reach).
    std::pair<double, double> RateWindow() const {
        const double t = request_.tolerance + kCertainMargin + Reach();
        if (!request_.operating) {
            return {request_.rate * (1.0 - t), request_.rate * (1.0 + t)};
        }
        const LoadPoint& p1 = request_.installed;
        const LoadPoint& p2 = *request_.operating;
        const double travel = std::fabs(p1.length - p2.length);
        return {std::max(0.0, p2.load * (1.0 - t) - p1.load * (1.0 + t)) / travel,
                (p2.load * (1.0 + t) - p1.load * (1.0 - t)) / travel};
    }

    // The active turns of the grid at D: every half turn from the fewest allowed whose rate is
    // in the window and that is not solid (or, for an extension spring, longer than the
    // lengths) at the shortest length; when there is none, the one nearest the rate, so that
    // the closest designs can be told.
    HalfTurns TurnsToTry(int tenths, double d, double stiffness) const {
        const double D = Tenths(tenths);
        const double perTurn = stiffness / (8.0 * std::pow(D, 3));  // k = perTurn / n
        const auto [rateLow, rateHigh] = RateWindow();
        const double shortest = ShortestLength();
        const double slack = 1.0 + kCertainMargin + Reach();
        double most = request_.springKind == kCompression ? shortest * slack / d - 2.0
                                                          : (shortest * slack - 2.0 * D) / d + 1.0;
        most = std::min({most, kMostTurns, rateLow > 0 ? perTurn / rateLow : kMostTurns});
        const double fewest = std::max({request_.minTurns, kSmallestTurns, perTurn / rateHigh});
        HalfTurns turns{std::ceil(2.0 * fewest - 1e-9) / 2.0, 0};
        // Every half turn from the first up to `most`: half turns add up exactly.
        const double upTo = most + 1e-9;
        if (turns.first <= upTo) {
            turns.count = static_cast<size_t>((upTo - turns.first) * 2.0) + 1;
            while (turns[turns.count] <= upTo) {
                ++turns.count;
            }
            while (turns.count > 0 && turns[turns.count - 1] > upTo) {
                --turns.count;
            }
        }
        if (turns.count == 0) {
            const double nearest = std::round(2.0 * perTurn / request_.rate) / 2.0;
            turns = {std::clamp(nearest, std::max(request_.minTurns, kSmallestTurns), kMostTurns),
                     1};
        }
        return turns;
    }

    // The free lengths of a compression spring on the 0.1 mm grid, first to last, at which
    // both loads (or the one load) can be met within the tolerance, all of them longer than
    // the installed length; none when there are none.
    std::pair<int, int> FreeLengthWindow(double k) const {
        const LoadPoint& p1 = request_.installed;
        const std::optional<LoadPoint>& p2 = request_.operating;
        const double t = request_.tolerance + kCertainMargin + Reach();
        double low = p1.length + p1.load * (1.0 - t) / k;
        double high = p1.length + p1.load * (1.0 + t) / k;
        if (p2) {
            low = std::max(low, p2->length + p2->load * (1.0 - t) / k);
            high = std::min(high, p2->length + p2->load * (1.0 + t) / k);
        }
        const double reach = request_.exhaustive ? kExhaustiveLengthReach : 0.0;
        const int installed = static_cast<int>(std::floor(p1.length * 10.0 + 1e-6));
        return {std::max(installed + 1, static_cast<int>(std::ceil((low - reach) * 10.0 - 1e-6))),
                static_cast<int>(std::floor((high + reach) * 10.0 + 1e-6))};
    }

    // The free length at which the loads come closest to their targets: the two miss by the
    // same fraction, one above and one below (with --rate: the one load met).
    double BalancedFreeLength(double k) const {
        const LoadPoint& p1 = request_.installed;
        const std::optional<LoadPoint>& p2 = request_.operating;
        return p2 ? (2.0 / k + p1.length / p1.load + p2->length / p2->load) /
                        (1.0 / p1.load + 1.0 / p2->load)
                  : p1.length + p1.load / k;
    }

    // The larger miss of the loads (or the load and the rate) at a free length, estimated.
    double EstimatedLoadMiss(int freeLenTenths, double k) const {
        const LoadPoint& p1 = request_.installed;
        const std::optional<LoadPoint>& p2 = request_.operating;
        const double freeLen = Tenths(freeLenTenths);
        const double miss1 = std::fabs((freeLen - p1.length) * k - p1.load) / p1.load;
        return std::max(miss1, p2 ? std::fabs((freeLen - p2->length) * k - p2->load) / p2->load
                                  : std::fabs(k - request_.rate) / request_.rate);
    }

    // One design through the engine and the checks; a pass is offered to `best`.
    void RunDesign(const GridDesign& grid, std::optional<Scored>& best) {
        const DesignInput input = InputOf(grid);
        const Outcome& outcome = runner_.Run(input);
        const Verdict verdict = Judge(request_, outcome);
        ++result_.engineRuns;
        tracker_.Count(1, 1.0);
        const Scored scored = ScoredOf(grid, input, verdict);
        if (!verdict.shortfalls.empty()) {
            nearMisses_.Add(scored);
            return;
        }
        if (!best || FamilyBetter(scored, *best)) {
            best = scored;
            if (strict_) {
                best->broken = DefaultsBroken(Judge(*strict_, outcome));
            }
        }
    }

    // Whether the estimate can rule the design out.
    static bool Spared(const GridDesign& grid) {
        return grid.loadExcess > kCertainMargin || grid.otherExcess > kCertainMargin ||
               grid.pointExcess > kCertainMargin;
    }

    // The free lengths of one spring (material, wire, D and turns). Returns the spring at its
    // best free length, if one passes: of those that pass, the one whose loads come closest to
    // their targets (FamilyBetter). The exhaustive walk runs every free length of the window
    // through the engine; the quick one finds the same by the estimate:
    //  - Every requirement but the loads and warning 4 is failed the more, the longer the free
    //    length (it is longer than every working length): the stresses and the deflection grow
    //    with it, the critical deflection of buckling falls behind it, the slenderness and the
    //    free length grow, and the rest do not change with it. So the free lengths the
    //    estimate lets through are the first ones of the window, up to a cutoff found by
    //    halving.
    //  - Among those, the load miss is least at the balanced free length and grows either way
    //    from it: they are tried from there outwards, the smaller estimated miss first, until
    //    one passes in the engine, and then those whose estimated miss is within a hair of its
    //    own (which rounding could put ahead of it).
    std::optional<Scored> WalkFreeLengths(GridDesign grid, double d, double stiffness,
                                          double allowable) {
        const double D = Tenths(grid.meanDiaTenths);
        const double k = formulas::SpringRate(stiffness, grid.turns, D);
        std::optional<Scored> best;
        const auto estimated = [&](int freeLenTenths) {
            grid.freeLenTenths = freeLenTenths;
            Estimate(grid, d, k, stiffness, allowable);
            tracker_.Count(1, kEstimateWork);
            return grid;
        };
        if (request_.springKind != kCompression) {
            ++result_.gridCount;
            const GridDesign one = estimated(0);
            if (request_.exhaustive || !Spared(one)) {
                RunDesign(one, best);
            } else {
                farMisses_.Add(one);
            }
            return Counted(best);
        }
        auto [first, last] = FreeLengthWindow(k);
        if (first > last) {
            // None meets the loads: the balanced one stands for the spring among the closest.
            first = last = static_cast<int>(std::lround(BalancedFreeLength(k) * 10.0));
        }
        result_.gridCount += static_cast<size_t>(last - first + 1);
        if (request_.exhaustive) {
            for (int l = first; l <= last; ++l) {
                RunDesign(estimated(l), best);
            }
            return Counted(best);
        }
        const GridDesign shortest = estimated(first);
        if (shortest.otherExcess > kCertainMargin) {
            farMisses_.Add(shortest);
            return best;
        }
        int cutoff = first;  // the last free length whose other requirements can be met
        for (int high = last; cutoff < high;) {
            const int middle = cutoff + (high - cutoff + 1) / 2;
            if (estimated(middle).otherExcess > kCertainMargin) {
                high = middle - 1;
            } else {
                cutoff = middle;
            }
        }
        if (cutoff < last) {
            farMisses_.Add(estimated(cutoff + 1));
        }
        const int balanced =
            std::clamp(static_cast<int>(std::lround(BalancedFreeLength(k) * 10.0)), first, cutoff);
        int left = balanced, right = balanced + 1;
        std::optional<double> passedMiss;  // the estimated miss of the first that passed
        while (left >= first || right <= cutoff) {
            const double leftMiss = left >= first ? EstimatedLoadMiss(left, k) : HUGE_VAL;
            const double rightMiss = right <= cutoff ? EstimatedLoadMiss(right, k) : HUGE_VAL;
            const bool takeLeft = leftMiss <= rightMiss;
            const double miss = takeLeft ? leftMiss : rightMiss;
            if (passedMiss && miss > *passedMiss + kTieMiss) {
                break;
            }
            const GridDesign next = estimated(takeLeft ? left-- : right++);
            if (Spared(next)) {
                farMisses_.Add(next);
                continue;
            }
            RunDesign(next, best);
            if (best && !passedMiss) {
                passedMiss = miss;
            }
        }
        return Counted(best);
    }

    std::optional<Scored> Counted(const std::optional<Scored>& best) {
        if (best) {
            ++result_.metCount;
            if (strict_) {
                Tally(*best);
            }
        }
        return best;
    }

    // A design the widened request lets through, by the default limits it breaks.
    void Tally(const Scored& scored) {
        const std::vector<Shortfall::What>& broken = scored.broken;
        if (broken.empty()) {
            return;
        }
        const double index =
            double(scored.input.meanDia) /
            (scored.wire ? double(scored.wire->diameter) : kWires[scored.input.wireNo].diameter);
        Widened& w = widened_[broken];
        if (w.count++ == 0) {
            w.best = scored;
            w.leastIndex = index;
            w.mostTurns = scored.input.turns;
            return;
        }
        if (Better(request_.order, scored, w.best)) {
            w.best = scored;
        }
        w.leastIndex = std::min(w.leastIndex, index);
        w.mostTurns = std::max(w.mostTurns, double(scored.input.turns));
    }

    Scored ScoredOf(const GridDesign& grid, const DesignInput& input,
                    const Verdict& verdict) const {
        const WireEntry& wire = entries_[static_cast<size_t>(grid.entry)];
        return {
            input, verdict.stressRatio, verdict.massGrams, verdict.loadMiss, verdict.totalExcess,
            {},    wire.materialKey,    wire.wireKey,      wire.wire};
    }

    DesignInput InputOf(const GridDesign& grid) const {
        const WireEntry& wire = entries_[static_cast<size_t>(grid.entry)];
        DesignInput in;
        in.springKind = request_.springKind;
        in.materialNo = wire.materialNo;
        in.wireNo = wire.wireNo;
        in.wire = wire.wire.get();
        in.meanDia = Tenths(grid.meanDiaTenths);
        in.turns = static_cast<float>(grid.turns);
        in.freeLen = request_.springKind == kCompression ? Tenths(grid.freeLenTenths) : 0.0f;
        in.setLen = static_cast<float>(request_.installed.length);
        in.workLen = static_cast<float>(request_.operating ? request_.operating->length
                                                           : request_.installed.length);
        if (request_.springKind == kExtension && request_.initialTension) {
            in.initialTension = InitialTensionFor(*request_.initialTension, in);
        }
        return in;
    }

    // An extension spring's initial tension: the one asked for, or the window's formula.
    double InitialTensionOf(double stiffness, double d, double D) const {
        return request_.initialTension ? request_.initialTension->LoadFor(d, D)
                                       : formulas::InitialTension(stiffness, D);
    }

    // A maker's judgement as Judge holds it: the stress margin, and a compression spring's pitch
    // and coil clearance. Each grows with the free length, as the estimate's cutoff needs, and
    // none is counted among the excesses that only grow with the turns.
    double MakerExcess(const GridDesign& grid, double freeLen, double d, double D, double shortest,
                       double stress, double allowable) const {
        double excess = Excess(stress, allowable * request_.maxStressRatio, 1.0);
        if (request_.springKind == kCompression) {
            const double solid = formulas::SolidLength(grid.turns, d);
            excess += Excess(formulas::ActivePitch(freeLen, solid, grid.turns, d) / D,
                             request_.maxPitchRatio, 1.0);
            if (!request_.allowCloseCoils && freeLen > solid) {
                excess += Excess(shortest - solid, formulas::MinGapSum(D, d, grid.turns), -1.0) +
                          Excess((freeLen - shortest) / (freeLen - solid), kMaxStrokeShare, 1.0);
            }
        }
        return excess;
    }

    // Estimates, with the engine's formulas unrounded, how far the design misses each
    // requirement that the estimate can tell.
    void Estimate(GridDesign& grid, double d, double k, double stiffness, double allowable) const {
        const WireEntry& wire = entries_[static_cast<size_t>(grid.entry)];
        const double D = Tenths(grid.meanDiaTenths);
        const LoadPoint& p1 = request_.installed;
        const std::optional<LoadPoint>& p2 = request_.operating;
        const bool compression = request_.springKind == kCompression;
        const double freeLen = compression ? Tenths(grid.freeLenTenths)
                                           : formulas::ExtensionFreeLength(D, grid.turns, d);
        const double initialTension = compression ? 0.0 : InitialTensionOf(stiffness, d, D);
        const auto loadAt = [&](double length) {
            const double stretch = compression ? freeLen - length : length - freeLen;
            return stretch * k + initialTension;
        };
        const double load1 = loadAt(p1.length);
        const double load2 = p2 ? loadAt(p2->length) : load1;
        grid.loadExcess = LoadExcess(load1, p1.load) +
                          (p2 ? LoadExcess(load2, p2->load) : LoadExcess(k, request_.rate));

        const double shortest = p2 ? std::min(p1.length, p2->length) : p1.length;
        // A free length below the shortest length (only ever a balanced one) adds to the
        // solid length's excess what no more turns or free length take away.
        const double solid = formulas::SolidLength(grid.turns, d);
        const double lengthExcess =
            compression ? Excess(solid, shortest, 1.0) : Excess(freeLen, shortest, 1.0);
        const double shortFreeExcess =
            compression ? Excess(solid, std::min(shortest, freeLen), 1.0) - lengthExcess : 0.0;
        // The allowable stress against the uncorrected shear stress of the heavier load.
        const double stress = formulas::ShearStress(std::max(load1, load2), D, d);
        grid.growingExcess = lengthExcess + LimitExcess(request_.maxOuterDia, D + d, 1.0) +
                             LimitExcess(request_.minInnerDia, D - d, -1.0) +
                             LimitExcess(request_.maxFreeLen, freeLen, 1.0);
        if (compression) {
            if (!request_.allowBuckling) {
                grid.growingExcess += BucklingExcess(*wire.material, freeLen, D,
                                                     freeLen - (p2 ? p2->length : p1.length));
            }
            grid.growingExcess +=
                LimitExcess(request_.maxSlenderness, freeLen / D, 1.0) +
                LimitExcess(request_.minFrequency, SurgeFrequency(*wire.material, d, D, grid.turns),
                            -1.0);
        }
        grid.otherExcess = grid.growingExcess + shortFreeExcess +
                           MakerExcess(grid, freeLen, d, D, shortest, stress, allowable);
        grid.pointExcess = 0.0;
        if (request_.repeated) {
            // The repeated-load allowable stress as Run works it out (SpringEngine::
            // FatigueAllowable), no higher than the static one.
            const double wahl = formulas::WahlFactor(D / d);
            const double ratio = load2 != 0.0 ? load1 / load2 : 0.0;
            const double factor = std::min(formulas::RepeatedLoadFactor(ratio),
                                           double(formulas::kMostRepeatedLoadFactor));
            const double fatigue = std::min(factor * wire.strength / wahl, allowable);
            grid.pointExcess = Excess(stress, fatigue, 1.0);
        }
    }

    // The surge frequency of the figures in service, Hz.
    static double SurgeFrequency(const MaterialRow& material, double d, double D, double n) {
        return formulas::SurgeFrequency(d, D, n, material.shearModulus, material.density);
    }

    // The buckling check of the figures in service (EN 13906-1).
    double BucklingExcess(const MaterialRow& material, double freeLen, double D,
                          double deflection) const {
        const std::optional<double> critical =
            formulas::CriticalDeflection(freeLen, D, material.shearModulus, material.elasticModulus,
                                         EndConditionOf(request_.ends).seating);
        return critical && *critical > 0.0 ? Excess(deflection, *critical, 1.0) : 0.0;
    }

    double LoadExcess(double actual, double wanted) const {
        return std::max(0.0, std::fabs(actual - wanted) / wanted - request_.tolerance);
    }

    Candidate Rerun(const Scored& scored, const SearchRequest& request) {
        Candidate candidate;
        candidate.input = scored.input;
        candidate.wire = scored.wire;
        candidate.outcome = runner_.Run(scored.input);
        static_cast<Verdict&>(candidate) = Judge(request, candidate.outcome);
        return candidate;
    }

    // The engine's verdict on those it saw, and on the nearest few it was spared, so that what
    // keeps each out comes from the engine too.
    std::vector<Candidate> Closest() {
        std::vector<Scored> closest = nearMisses_.Take();
        for (const GridDesign& grid : farMisses_.Take()) {
            const DesignInput input = InputOf(grid);
            const Verdict verdict = Judge(request_, runner_.Run(input));
            ++result_.engineRuns;
            closest.push_back(ScoredOf(grid, input, verdict));
        }
        std::sort(closest.begin(), closest.end(), Closer);
        if (closest.size() > kClosestShown) {
            closest.resize(kClosestShown);
        }
        std::vector<Candidate> candidates;
        for (const Scored& s : closest) {
            candidates.push_back(Rerun(s, request_));
        }
        return candidates;
    }

    const SearchRequest& request_;
    const SearchRequest* strict_;
    DesignRunner& runner_;
    Tracker& tracker_;
    const std::vector<WireEntry> entries_;
    SearchResult result_;
    BestFew<Scored> met_;
    BestFew<Scored> nearMisses_;
    BestFew<GridDesign> farMisses_;
    struct Widened {
        size_t count = 0;
        Scored best;
        double leastIndex = 0;
        double mostTurns = 0;
    };
    std::map<std::vector<Shortfall::What>, Widened> widened_;
};

// Torsion springs: every offered wire of the materials asked for, D on the 0.1 mm grid within
// the spring index allowed, the body turns on a quarter-turn grid either side of the turns
// that give the rate asked for (the legs' share counted), and the free angle, to 0.1°, that
// puts the two moments equally far from their targets (or the one moment on its target).
// Each is worked out by ComputeTorsion and judged by Judge.
SearchResult SearchTorsion(const SearchRequest& request, Tracker& tracker) {
    using namespace torsion;
    SearchResult result;
    const LoadPoint first = request.installed;
    const std::optional<LoadPoint> second = request.operating;
    const double heaviest = second ? second->load : first.load;
    const auto better = [&request](const TorsionCandidate& a, const TorsionCandidate& b) {
        const bool byStress = request.order == SearchOrder::Stress;
        return std::make_tuple(byStress ? a.stressRatio : a.massGrams,
                               byStress ? a.massGrams : a.stressRatio, a.input.materialNo,
                               a.input.wireNo, a.input.meanDia, a.input.bodyTurns) <
               std::make_tuple(byStress ? b.stressRatio : b.massGrams,
                               byStress ? b.massGrams : b.stressRatio, b.input.materialNo,
                               b.input.wireNo, b.input.meanDia, b.input.bodyTurns);
    };
    // Of one material and wire, the spring closest to the moments, then the less stressed.
    const auto closer = [](const TorsionCandidate& a, const TorsionCandidate& b) {
        return std::make_tuple(a.loadMiss, a.stressRatio, a.input.meanDia, a.input.bodyTurns) <
               std::make_tuple(b.loadMiss, b.stressRatio, b.input.meanDia, b.input.bodyTurns);
    };
    // Only the best few are kept, however many springs meet the requirements.
    BestFew<TorsionCandidate> kept(static_cast<size_t>(request.top), better);
    tracker.progress.wiresTotal = request.materials.size() * kWireCount;
    for (const int materialNo : request.materials) {
        const MaterialRow& material = kMaterials[materialNo];
        for (int wireNo = 0; wireNo < kWireCount; ++wireNo, ++tracker.progress.wiresDone) {
            const std::int32_t strength = TableStrength(materialNo, wireNo);
            if (strength == kNotOffered) {
                continue;
            }
            const double d = TableDiameter(wireNo);
            const double allowable = TorsionAllowableShare(materialNo) * strength;
            std::optional<TorsionCandidate> bestOfWire;
            const int firstTenths = int(std::ceil(kLeastIndex * d * 10.0 - 1e-9));
            const int lastTenths = int(std::floor(request.maxSpringIndex * d * 10.0 + 1e-9));
            size_t evaluated = 0;
            const size_t metBefore = result.metCount;
            for (int tenths = firstTenths; tenths <= lastTenths; ++tenths) {
                const double D = tenths / 10.0;
                if (request.maxOuterDia && D + d > *request.maxOuterDia + kLimitSlack) {
                    break;
                }
                // The stress at the heavier moment does not hang on the turns: a D that
                // overstresses the wire is passed over before any spring is worked out.
                const double stress = BendingStress(StressFactorQ(D / d), heaviest, d);
                if (stress > request.maxStressRatio * allowable * (1.0 + kCertainMargin)) {
                    continue;
                }
                const double legTurns = ActiveTurns(0.0, request.legs, request.legs, D);
                const double wantedTurns = material.elasticModulus * std::pow(d, 4) * kPi /
                                           (64.0 * 180.0 * D * request.rate);
                const double bodyTurns = wantedTurns - legTurns;
                const double fewer = std::floor(bodyTurns * 4.0) / 4.0;
                const double more = std::ceil(bodyTurns * 4.0) / 4.0;
                for (const double turns : {fewer, more}) {
                    if (turns < std::max(request.minTurns, kSmallestTurns) ||
                        (turns == more && more == fewer)) {
                        continue;
                    }
                    TorsionCandidate c;
                    c.input.materialNo = materialNo;
                    c.input.wireNo = wireNo;
                    c.input.meanDia = D;
                    c.input.bodyTurns = turns;
                    c.input.leg1 = c.input.leg2 = request.legs;
                    c.input.mandrel = request.mandrel.value_or(0.0);
                    const double rate =
                        RatePerRadian(material.elasticModulus, d, D,
                                      ActiveTurns(turns, request.legs, request.legs, D)) *
                        kPi / 180.0;
                    double freeAngle = first.length + first.load / rate;
                    if (second) {
                        const double m1 = first.load, m2 = second->load;
                        freeAngle = (2.0 + rate * (first.length / m1 + second->length / m2)) /
                                    (rate * (1.0 / m1 + 1.0 / m2));
                    }
                    freeAngle = std::round(freeAngle * 10.0) / 10.0;
                    c.input.freeAngle = std::fmod(freeAngle, 360.0);
                    // With one moment (and a rate) the spring works from free to it: the
                    // first position is the free one, which a repeated load cycles from.
                    c.input.first = {TorsionPosition::By::Angle,
                                     second ? freeAngle - first.length : 0.0};
                    c.input.second = {TorsionPosition::By::Angle,
                                      freeAngle - (second ? second->length : first.length)};
                    if (c.input.first.value < 0.0 || c.input.second.value < 0.0) {
                        continue;
                    }
                    c.result = ComputeTorsion(c.input, {request.strength.peened, request.repeated});
                    ++evaluated;
                    ++result.gridCount;
                    static_cast<Verdict&>(c) = Judge(request, Judged(c));
                    if (!c.shortfalls.empty()) {
                        continue;
                    }
                    ++result.metCount;
                    if (request.listing == SearchListing::Every) {
                        kept.Add(c);
                    } else if (!bestOfWire || closer(c, *bestOfWire)) {
                        bestOfWire = c;
                    }
                }
            }
            result.engineRuns += evaluated;
            result.choiceCount += result.metCount > metBefore ? 1 : 0;
            if (bestOfWire) {
                kept.Add(std::move(*bestOfWire));
            }
            tracker.progress.springsFound = result.metCount;
            if (!tracker.Count(evaluated, kEstimateWork)) {
                result.stop = tracker.stop;
                result.stoppedMaterial = materialNo;
                result.stoppedWire = wireNo;
                result.torsionBest = kept.Take();
                return result;
            }
        }
    }
    result.torsionBest = kept.Take();
    return result;
}

}  // namespace

SearchResult SearchDesigns(const SearchRequest& request, DesignRunner& runner,
                           const SearchProgressFn& progress) {
    Tracker tracker{progress, {}};
    if (request.springKind == kTorsionSpring) {
        SearchResult torsion = SearchTorsion(request, tracker);
        torsion.designsEvaluated = tracker.progress.designsEvaluated;
        return torsion;
    }
    SearchResult result = Search(request, runner, tracker).Run();
    result.designsEvaluated = tracker.progress.designsEvaluated;
    if (result.metCount > 0 || result.stop != SearchStop::None) {
        return result;
    }
    // Nothing fits: would the loads and the limits given allow designs that the default limits
    // keep out? The same search with those limits at their widest tells.
    SearchRequest widened = request;
    widened.maxSpringIndex = std::max(request.maxSpringIndex, kWidestSpringIndex);
    widened.minTurns = std::min(request.minTurns, kSmallestTurns);
    widened.allowBuckling = true;
    widened.maxStressRatio = 1.0;
    // A grade raises the stress a design is held to: without it, the designs only the grade
    // keeps out are found, and the hint can name a closer grade.
    widened.toleranceGrade.reset();
    widened.maxPitchRatio = std::numeric_limits<double>::infinity();
    widened.allowCloseCoils = true;
    widened.anyInitialTension = true;
    widened.exhaustive = false;
    if (widened.maxSpringIndex != request.maxSpringIndex || widened.minTurns != request.minTurns ||
        widened.allowBuckling != request.allowBuckling ||
        widened.maxStressRatio != request.maxStressRatio ||
        widened.toleranceGrade != request.toleranceGrade ||
        widened.maxPitchRatio != request.maxPitchRatio ||
        widened.allowCloseCoils != request.allowCloseCoils ||
        widened.anyInitialTension != request.anyInitialTension) {
        SearchResult wider = Search(widened, runner, tracker, &request).Run();
        result.widenings = std::move(wider.widenings);
        result.wideningStop = wider.stop;
        result.designsEvaluated = tracker.progress.designsEvaluated;
    }
    return result;
}

double WireMassGrams(std::int32_t springKind, int materialNo, double wireDia, double meanDia,
                     double turns) {
    return WireMassGrams(springKind, kMaterials[materialNo], wireDia, meanDia, turns);
}

double WireMassGrams(std::int32_t springKind, const MaterialRow& material, double wireDia,
                     double meanDia, double turns) {
    const double coils = turns + (springKind == kCompression ? 2.0 : 3.0);
    return formulas::WireMass(material.density, wireDia, meanDia, coils);
}

}  // namespace springcalc
