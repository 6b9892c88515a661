// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/spring_search.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>

#include "engine/spring_formulas.h"
#include "engine/spring_tables.h"

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
// Warnings that rule a candidate out; 3 and 4 are shown, not held against it.
constexpr int kDisqualifying[] = {1, 2, 5, 6, 7};

// A point of the grid before the engine has seen it.
struct GridDesign {
    int materialNo = 0;
    int wireNo = 0;
    int meanDiaTenths = 0;
    double turns = 0;
    int freeLenTenths = 0;  // compression only
    // Estimated excess of the loads, and of everything else (lengths, stress, limits).
    double loadExcess = 0;
    double otherExcess = 0;
};

float Tenths(int tenths) {
    return static_cast<float>(tenths / 10.0);
}

// By how much `actual` passes `limit` in the direction `sign` (+1: above a maximum, -1: below
// a minimum), as a fraction of the limit; 0 when it does not.
double Excess(double actual, double limit, double sign) {
    return std::max(0.0, sign * (actual - limit) / limit);
}

// Keeps the best few of many by `less`, without holding them all.
template <typename T>
class BestFew {
public:
    using Less = std::function<bool(const T&, const T&)>;
    BestFew(size_t count, Less less) : count_(count), less_(std::move(less)) {}
    void Add(T item) {
        items_.push_back(std::move(item));
        if (items_.size() >= 4 * count_ + 256) {
            Trim();
        }
    }
    std::vector<T> Take() {
        Trim();
        return std::move(items_);
    }

private:
    void Trim() {
        std::sort(items_.begin(), items_.end(), less_);
        if (items_.size() > count_) {
            items_.resize(count_);
        }
    }
    size_t count_;
    Less less_;
    std::vector<T> items_;
};

auto Place(const Candidate& c) {
    return std::make_tuple(c.input.materialNo, c.input.wireNo, c.input.meanDia);
}

bool Closer(const Candidate& a, const Candidate& b) {
    return std::make_tuple(a.totalExcess, Place(a)) < std::make_tuple(b.totalExcess, Place(b));
}

class Search {
public:
    Search(const SearchRequest& request, DesignRunner& runner)
        : request_(request),
          runner_(runner),
          met_(static_cast<size_t>(std::max(request.top, 1)),
               [this](const Candidate& a, const Candidate& b) { return Better(a, b); }),
          nearMisses_(kClosestShown, Closer),
          farMisses_(kClosestShown, [](const GridDesign& a, const GridDesign& b) {
              return std::make_tuple(a.loadExcess + a.otherExcess, a.materialNo, a.wireNo,
                                     a.meanDiaTenths) <
                     std::make_tuple(b.loadExcess + b.otherExcess, b.materialNo, b.wireNo,
                                     b.meanDiaTenths);
          }) {}

    SearchResult Run() {
        for (int materialNo : request_.materials) {
            for (int wireNo = 0; wireNo < kWireCount; ++wireNo) {
                if (TableStrength(materialNo, wireNo) != kNotOffered) {
                    WalkMeanDiameters(materialNo, wireNo);
                }
            }
        }
        result_.best = met_.Take();
        if (result_.metCount == 0) {
            result_.closest = Closest();
        }
        return std::move(result_);
    }

private:
    bool Better(const Candidate& a, const Candidate& b) const {
        const bool byStress = request_.order == SearchOrder::Stress;
        return std::make_tuple(byStress ? a.stressRatio : a.massGrams,
                               byStress ? a.massGrams : a.stressRatio, Place(a)) <
               std::make_tuple(byStress ? b.stressRatio : b.massGrams,
                               byStress ? b.massGrams : b.stressRatio, Place(b));
    }

    void WalkMeanDiameters(int materialNo, int wireNo) {
        const double d = kWires[wireNo].diameter;
        const double stiffness = formulas::Stiffness(kMaterials[materialNo].shearModulus, d);
        // The static allowable stress as the strength lookup gives it.
        const double allowable =
            StaticAllowableFactor(request_.springKind) *
            (double(kMaterials[materialNo].allowFactor) * TableStrength(materialNo, wireNo));
        // From D/d = 4, below which the window withholds Run, up to the largest spring index
        // asked for, and no further than the turns can still round to half a turn.
        const int first = std::max(1, static_cast<int>(std::ceil(40.0 * d - 1e-9)));
        const double byTurns = std::cbrt(stiffness / (8.0 * request_.rate * kSmallestTurns / 2));
        const double largest = std::min(byTurns, request_.maxSpringIndex * d);
        const int last = static_cast<int>(std::floor(largest * 10.0 + 1e-9));
        for (int tenths = first; tenths <= last; ++tenths) {
            const double D = Tenths(tenths);
            const double turns =
                std::round(2.0 * formulas::ActiveTurns(stiffness, request_.rate, D)) / 2.0;
            if (turns < kSmallestTurns) {
                continue;
            }
            GridDesign grid{materialNo, wireNo, tenths, turns};
            Estimate(grid, d, stiffness, allowable);
            ++result_.gridCount;
            if (request_.exhaustive ||
                (grid.loadExcess <= kCertainMargin && grid.otherExcess <= kCertainMargin)) {
                Consider(RunThroughEngine(grid));
            } else {
                farMisses_.Add(grid);
            }
        }
    }

    // Picks the free length of a compression spring and estimates, with the engine's formulas
    // unrounded, how far the design misses each requirement.
    void Estimate(GridDesign& grid, double d, double stiffness, double allowable) const {
        const double D = Tenths(grid.meanDiaTenths);
        const double k = formulas::SpringRate(stiffness, grid.turns, D);
        const LoadPoint& p1 = request_.installed;
        const std::optional<LoadPoint>& p2 = request_.operating;
        double freeLen = 0;
        double initialTension = 0;
        if (request_.springKind == kCompression) {
            // Both loads miss by the same fraction, one above and one below; with a rate given,
            // the one load is met.
            freeLen = p2 ? (2.0 / k + p1.length / p1.load + p2->length / p2->load) /
                               (1.0 / p1.load + 1.0 / p2->load)
                         : p1.length + p1.load / k;
            grid.freeLenTenths = static_cast<int>(std::lround(freeLen * 10.0));
            freeLen = grid.freeLenTenths / 10.0;
        } else {
            freeLen = formulas::ExtensionFreeLength(D, grid.turns, d);
            initialTension = formulas::InitialTension(stiffness, D);
        }
        const auto loadAt = [&](double length) {
            const double stretch =
                request_.springKind == kCompression ? freeLen - length : length - freeLen;
            return stretch * k + initialTension;
        };
        const double load1 = loadAt(p1.length);
        const double load2 = p2 ? loadAt(p2->length) : load1;
        grid.loadExcess = LoadExcess(load1, p1.load) +
                          (p2 ? LoadExcess(load2, p2->load) : LoadExcess(k, request_.rate));

        const double shortest = p2 ? std::min(p1.length, p2->length) : p1.length;
        const double lengthExcess =
            request_.springKind == kCompression
                ? Excess(formulas::SolidLength(grid.turns, d), shortest, 1.0)
                : Excess(freeLen, shortest, 1.0);
        // The allowable stress against the uncorrected shear stress of the heavier load.
        const double stress = formulas::ShearStress(std::max(load1, load2), D, d);
        grid.otherExcess = lengthExcess + Excess(stress, allowable, 1.0) +
                           LimitExcess(request_.maxOuterDia, D + d, 1.0) +
                           LimitExcess(request_.minInnerDia, D - d, -1.0) +
                           LimitExcess(request_.maxFreeLen, freeLen, 1.0);
    }

    double LoadExcess(double actual, double wanted) const {
        return std::max(0.0, std::fabs(actual - wanted) / wanted - request_.tolerance);
    }

    static double LimitExcess(const std::optional<double>& limit, double value, double sign) {
        return limit ? Excess(value - sign * kLimitSlack, *limit, sign) : 0.0;
    }

    Candidate RunThroughEngine(const GridDesign& grid) {
        Candidate candidate;
        DesignInput& in = candidate.input;
        in.springKind = request_.springKind;
        in.materialNo = grid.materialNo;
        in.wireNo = grid.wireNo;
        in.meanDia = Tenths(grid.meanDiaTenths);
        in.turns = static_cast<float>(grid.turns);
        in.freeLen = request_.springKind == kCompression ? Tenths(grid.freeLenTenths) : 0.0f;
        in.setLen = static_cast<float>(request_.installed.length);
        in.workLen = static_cast<float>(request_.operating ? request_.operating->length
                                                           : request_.installed.length);
        candidate.outcome = runner_.Run(in);
        ++result_.engineRuns;
        Judge(candidate);
        return candidate;
    }

    // Everything here is read from the engine's record and warning list.
    void Judge(Candidate& c) const {
        const TSpringDesign& v = c.outcome.record;
        const bool compression = v.SpringKind == kCompression;
        const double allowable = StaticAllowable(v);
        const double stress = std::max(v.Tset, v.Tact);
        c.massGrams =
            WireMassGrams(v.SpringKind, v.MaterialNo, WireDiameterOf(v), v.MeanDia, v.Turns);
        c.stressRatio = stress / allowable;

        const std::vector<int>& warnings = c.outcome.warnings;
        for (int warning : kDisqualifying) {
            if (std::find(warnings.begin(), warnings.end(), warning) == warnings.end()) {
                continue;
            }
            Shortfall s{Shortfall::What::Warning, 0, 0, 0, warning, 1.0};
            if (warning == 2) {
                s.actual = stress;
                s.wanted = allowable;
            } else if (warning == 6) {
                s.actual = v.SolidLen;
                s.wanted = std::min({v.FreeLen, v.SetLen, v.WorkLen});
            } else if (warning == 7) {
                s.actual = v.FreeLen;
                s.wanted = std::min(v.SetLen, v.WorkLen);
            }
            if (s.wanted > 0) {
                s.excess = Excess(s.actual, s.wanted, 1.0);
            }
            c.shortfalls.push_back(s);
        }
        if (c.outcome.analysed) {
            CheckLoad(c, Shortfall::What::Load, v.Pset, request_.installed);
            if (request_.operating) {
                CheckLoad(c, Shortfall::What::Load, v.Pact, *request_.operating);
            } else {
                CheckLoad(c, Shortfall::What::Rate, v.SpringRate, {request_.rate, 0});
            }
        }
        CheckLimit(c, Shortfall::What::OuterDia, v.OuterDia, request_.maxOuterDia, 1.0);
        CheckLimit(c, Shortfall::What::InnerDia, v.InnerDia, request_.minInnerDia, -1.0);
        CheckLimit(c, Shortfall::What::FreeLen, v.FreeLen, request_.maxFreeLen, 1.0);
        if (c.outcome.analysed && compression &&
            (request_.maxSlenderness || request_.minFrequency || request_.noBuckling)) {
            CheckService(c, *ComputeServiceFigures(v, request_.ends).compression);
        }
        for (const Shortfall& s : c.shortfalls) {
            c.totalExcess += s.excess;
        }
    }

    // The limits on the figures in service. The estimate that spares the engine leaves them
    // out, so none of them can keep a design it would accept from the engine.
    void CheckService(Candidate& c, const CompressionFigures& figures) const {
        CheckLimit(c, Shortfall::What::Slenderness, figures.slenderness, request_.maxSlenderness,
                   1.0);
        CheckLimit(c, Shortfall::What::Frequency, figures.surgeFrequency, request_.minFrequency,
                   -1.0);
        if (request_.noBuckling && figures.bucklingRisk) {
            c.shortfalls.push_back(
                {Shortfall::What::Buckling, figures.workDeflection, *figures.criticalDeflection, 0,
                 kBucklingWarning,
                 Excess(figures.workDeflection, *figures.criticalDeflection, 1.0)});
        }
    }

    void CheckLoad(Candidate& c, Shortfall::What what, double actual, LoadPoint wanted) const {
        const double miss = std::fabs(actual - wanted.load) / wanted.load;
        // The tolerance holds inclusive, also where 5 % of the target is not exact in binary.
        if (miss > request_.tolerance * (1.0 + 1e-9)) {
            c.shortfalls.push_back(
                {what, actual, wanted.load, wanted.length, 0, miss - request_.tolerance});
        }
    }

    static void CheckLimit(Candidate& c, Shortfall::What what, double actual,
                           const std::optional<double>& limit, double sign) {
        const double excess = LimitExcess(limit, actual, sign);
        if (excess > 0.0) {
            c.shortfalls.push_back({what, actual, *limit, 0, 0, excess});
        }
    }

    void Consider(Candidate candidate) {
        if (candidate.shortfalls.empty()) {
            ++result_.metCount;
            met_.Add(std::move(candidate));
        } else {
            nearMisses_.Add(std::move(candidate));
        }
    }

    // The engine's verdict on those it saw, and on the nearest few it was spared, so that what
    // keeps each out comes from the engine too.
    std::vector<Candidate> Closest() {
        std::vector<Candidate> closest = nearMisses_.Take();
        for (const GridDesign& grid : farMisses_.Take()) {
            closest.push_back(RunThroughEngine(grid));
        }
        std::sort(closest.begin(), closest.end(), Closer);
        if (closest.size() > kClosestShown) {
            closest.resize(kClosestShown);
        }
        return closest;
    }

    const SearchRequest& request_;
    DesignRunner& runner_;
    SearchResult result_;
    BestFew<Candidate> met_;
    BestFew<Candidate> nearMisses_;
    BestFew<GridDesign> farMisses_;
};

}  // namespace

SearchResult SearchDesigns(const SearchRequest& request, DesignRunner& runner) {
    return Search(request, runner).Run();
}

double WireMassGrams(std::int32_t springKind, int materialNo, double wireDia, double meanDia,
                     double turns) {
    const double coils = turns + (springKind == kCompression ? 2.0 : 3.0);
    return formulas::WireMass(kMaterials[materialNo].density, wireDia, meanDia, coils);
}

}  // namespace springcalc
