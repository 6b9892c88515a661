// SPDX-License-Identifier: GPL-3.0-or-later
// The search: the requirement read from its fields, the designs it finds checked by hand and
// against every check `check` makes, the estimate against the engine, and its bounds of work.

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/search_request.h"
#include "engine/service_figures.h"
#include "engine/spring_search.h"
#include "engine/spring_tables.h"
#include "test_support.h"

namespace springcalc {
namespace {

using test_support::FixedClock;
using What = SearchFault::What;

// Under the sanitizers, which run the engine some ten times slower, the longest tests walk a
// part of their requests: the ordinary build runs them whole and proves what they prove, and
// any one of them meets the code the sanitizers watch.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// A requirement as its fields, each "name=value" or a flag's name, blanks between them, as the
// command line's options and the page's form name them: "kind=compression load=1@20 repeated".
SearchReading Read(std::string_view fields) {
    std::vector<SearchEntry> entries;
    for (size_t start = 0; start < fields.size();) {
        const size_t blank = std::min(fields.find(' ', start), fields.size());
        const std::string_view field = fields.substr(start, blank - start);
        const size_t equals = field.find('=');
        entries.push_back(equals == std::string_view::npos
                              ? SearchEntry{field, {}}
                              : SearchEntry{field.substr(0, equals), field.substr(equals + 1)});
        start = blank + 1;
    }
    return ReadSearchRequest(entries);
}

SearchRequest Requirement(std::string_view fields) {
    SearchReading reading = Read(fields);
    EXPECT_EQ(reading.fault.what, What::None) << fields;
    return reading.request.value_or(SearchRequest{});
}

SearchResult Search(std::string_view fields, bool exhaustive = false) {
    SearchRequest request = Requirement(fields);
    request.exhaustive = exhaustive;
    DesignRunner runner(FixedClock);
    return SearchDesigns(request, runner);
}

// Material, wire, D, n and free length of each candidate, a line each.
std::string Places(const std::vector<Candidate>& candidates) {
    std::string places;
    for (const Candidate& c : candidates) {
        places +=
            fmt::format("{} {} {:g} {:g} {:g}\n", c.input.materialNo, c.input.wireNo,
                        double(c.input.meanDia), double(c.input.turns), double(c.input.freeLen));
    }
    return places;
}

// ---- The requirement --------------------------------------------------------------------------

// Every field at its default but those given; every material when none is named.
TEST(SearchRequest, FieldsNotGivenKeepTheirDefaults) {
    SearchRequest expected;
    expected.installed = {1, 20};
    expected.operating = LoadPoint{2, 15};
    expected.rate = 0.2;
    expected.materials = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(Requirement("kind=compression load=2@15 load=1@20"), expected);
    expected.springKind = kExtension;
    expected.installed = {1, 15};
    expected.operating = LoadPoint{2, 20};
    expected.materials = {3, 2};
    expected.strength.hookRadius = 1.5;
    expected.tolerance = 0.02;
    expected.top = 7;
    expected.order = SearchOrder::Stress;
    expected.listing = SearchListing::Every;
    expected.repeated = true;
    expected.minFatigue = 1.5;
    expected.strength.peened = true;
    EXPECT_EQ(Requirement("kind=extension load=1@15 load=2@20 materials=SWPB,2,swpb "
                          "hook-radius=1.5 tolerance=2% top=7 by=stress all min-fatigue=1.5 "
                          "peened"),
              expected);
}

// Each fault is the field at fault, what was typed there and which of its entries.
TEST(SearchRequest, EachFaultNamesItsField) {
    struct Row {
        const char* fields;
        What what;
        SearchField field;
        std::string text = {};
        int index = 0;
    };
    const Row rows[] = {
        {"load=1@20 rate=1", What::KindMissing, SearchField::Kind},
        {"kind=torsion load=1@20 rate=1", What::BadValue, SearchField::Kind, "torsion"},
        {"kind=compression load=1@20 rate=1 color=red", What::UnknownField, SearchField::Kind,
         "color"},
        {"kind=compression load=1@20 load=2@15 load=3@10", What::Repeated, SearchField::Load,
         "3@10"},
        {"kind=compression", What::LoadCount, SearchField::Load},
        {"kind=compression load=1@20", What::RateMissing, SearchField::Rate},
        {"kind=compression load=1@20 load=2@15 rate=1", What::RateWithTwoLoads, SearchField::Rate,
         "1"},
        {"kind=compression load=1@20 load=1@15", What::LoadsEqual, SearchField::Load},
        {"kind=compression load=1@20 load=2@25", What::WrongWay, SearchField::Load},
        {"kind=extension load=1@20 load=2@15", What::WrongWay, SearchField::Load},
        // The second load is the one at fault; a unit of the other kind is no load.
        {"kind=compression load=1@20 load=2N/mm@15", What::BadValue, SearchField::Load, "2N/mm@15",
         1},
        {"kind=compression load=1@20 load=0.0009@15", What::BadValue, SearchField::Load,
         "0.0009@15", 1},
        {"kind=compression load=1@20 rate=2N", What::BadValue, SearchField::Rate, "2N"},
        {"kind=compression load=1@20 rate=1 top=0x2", What::BadValue, SearchField::Top, "0x2"},
        {"kind=compression load=1@20 rate=1 top=2.5", What::BadValue, SearchField::Top, "2.5"},
        {"kind=compression load=1@20 rate=1 max-index=31", What::BadValue, SearchField::MaxIndex,
         "31"},
        {"kind=compression load=1@20 rate=1 max-stress-ratio=0.4", What::BadValue,
         SearchField::MaxStressRatio, "0.4"},
        {"kind=compression load=1@20 rate=1 tolerance=+5", What::BadValue, SearchField::Tolerance,
         "+5"},
        {"kind=compression load=1@20 rate=1 ends=clamped", What::BadValue, SearchField::Ends,
         "clamped"},
        {"kind=compression load=1@20 rate=1 by=price", What::BadValue, SearchField::By, "price"},
        {"kind=compression load=1@20 rate=1 materials=SWPB,XX", What::UnknownMaterial,
         SearchField::Materials, "XX"},
        {"kind=compression load=1@20 rate=1 materials=", What::NoMaterial, SearchField::Materials},
        {"kind=extension load=1@20 rate=1 max-slenderness=3", What::WrongKind,
         SearchField::MaxSlenderness, "3"},
        {"kind=compression load=1@20 rate=1 hook-radius=1", What::WrongKind,
         SearchField::HookRadius, "1"},
        {"kind=compression load=1@20 rate=1 any-initial-tension", What::WrongKind,
         SearchField::AnyInitialTension},
        {"kind=compression load=1@20 rate=1 allow-buckling no-buckling", What::Contradicts,
         SearchField::AllowBuckling},
        {"kind=compression load=1@20 rate=1 ends=fixed-free allow-buckling", What::Contradicts,
         SearchField::Ends},
        {"kind=compression load=1@20 rate=1 peened", What::NeedsRepeated, SearchField::Peened},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fields);
        const SearchReading reading = Read(row.fields);
        EXPECT_FALSE(reading.request);
        EXPECT_EQ(reading.fault.what, row.what);
        EXPECT_EQ(reading.fault.field, row.field);
        EXPECT_EQ(reading.fault.text, row.text);
        EXPECT_EQ(reading.fault.index, row.index);
    }
}

// ---- What the search finds --------------------------------------------------------------------

TEST(Search, ExtensionLoadsAndOrderByMass) {
    EXPECT_NEAR(WireMassGrams(kCompression, 2, 1.2, 8.8, 7.0), 2.20901, 1e-5);
    EXPECT_NEAR(WireMassGrams(kExtension, 2, 1.2, 8.8, 7.0), 2.45445, 1e-5);
    // Extension springs: the heavier load at the longer length, the loads with the engine's
    // initial tension in them; the lightest first by default.
    const SearchResult extension = Search("kind=extension load=2@50 load=4@60 max-od=15 top=5");
    ASSERT_EQ(extension.best.size(), 5u);
    for (size_t i = 0; i < extension.best.size(); ++i) {
        const TSpringDesign& v = extension.best[i].outcome.record;
        EXPECT_LE(std::max(std::fabs(v.Pset - 2.0) / 2.0, std::fabs(v.Pact - 4.0) / 4.0), 0.05);
        EXPECT_TRUE(i == 0 || extension.best[i].massGrams >= extension.best[i - 1].massGrams);
    }
}

TEST(Search, OneLinePerMaterialAndWireSizeUnlessAll) {
    const std::string base =
        "kind=compression load=1@20 load=2@15 top=1000 materials=SWPB tolerance=2";
    const SearchResult perWire = Search(base);
    const SearchResult all = Search(base + " all");
    ASSERT_GT(perWire.best.size(), 5u);
    EXPECT_EQ(perWire.choiceCount, perWire.best.size());
    EXPECT_EQ(all.metCount, perWire.metCount);
    ASSERT_EQ(all.best.size(), all.metCount) << "every spring listed";
    EXPECT_GT(all.best.size(), 3 * perWire.best.size());
    std::set<std::pair<int, int>> seen;
    for (const Candidate& c : perWire.best) {
        EXPECT_TRUE(seen.insert({c.input.materialNo, c.input.wireNo}).second) << "one line each";
        // The first of its material and wire size in the list of every spring.
        const auto first = std::ranges::find_if(all.best, [&](const Candidate& a) {
            return a.input.materialNo == c.input.materialNo && a.input.wireNo == c.input.wireNo;
        });
        ASSERT_NE(first, all.best.end());
        EXPECT_EQ(Places({*first}), Places({c}));
    }
}

TEST(Search, ServiceLimitsKeepExactlyTheDesignsWhoseFiguresMeetThem) {
    const std::string base =
        "kind=compression load=1@60 load=3@40 materials=SWPA max-od=20 top=1000 allow-buckling all "
        "tolerance=2";
    const SearchResult all = Search(base);
    ASSERT_LT(all.metCount, 1000u);
    const char* limits[] = {"max-slenderness=6", "min-frequency=200", "no-buckling"};
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(limits[k]);
        const auto meets = [&](const Candidate& c) {
            const auto f = *ComputeServiceFigures(c.outcome.record).compression;
            const bool keeps[] = {f.slenderness <= 6, f.surgeFrequency >= 200, !f.bucklingRisk};
            return keeps[k];
        };
        std::string args = base;
        if (k == 2) {
            args.erase(args.find(" allow-buckling"),
                       std::string(" allow-buckling").size());  // buckling judged: the default
        } else {
            args += std::string(" ") + limits[k];
        }
        const SearchResult limited = Search(args);
        ASSERT_GT(limited.metCount, 0u);
        ASSERT_LT(limited.metCount, all.metCount) << "the limit must rule some out";
        for (const Candidate& c : limited.best) {
            EXPECT_TRUE(meets(c)) << Places({c});
        }
        const std::string kept = Places(limited.best);
        for (const Candidate& c : all.best) {
            if (meets(c)) {
                EXPECT_NE(kept.find(Places({c})), std::string::npos) << Places({c});
            }
        }
    }
}

TEST(Search, HooksAndFatigueRuleOutWhatCheckWouldWarnOf) {
    struct Case {
        std::string loose, tight;
        StrengthOptions strength;
        double minFatigue;  // 0: no fatigue limit
    };
    const Case cases[] = {
        {"kind=extension load=2@50 load=4@60",
         "kind=extension load=2@50 load=4@60 hook-radius=1.2",
         {false, 1.2},
         0},
        // A radius that is no bend for the thicker wires keeps them out instead of their hooks
        // going unchecked.
        {"kind=extension load=2@50 load=4@60",
         "kind=extension load=2@50 load=4@60 hook-radius=1.0",
         {false, 1.0},
         0},
        {"kind=compression load=1@20 load=2@15",
         "kind=compression load=1@20 load=2@15 repeated peened min-fatigue=1.5",
         {true, std::nullopt},
         1.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tight);
        std::string loose = c.loose, tight = c.tight;
        for (auto* args : {&loose, &tight}) {
            *args += " materials=SWPB,SWPA all top=1000";
        }
        const SearchResult before = Search(loose), after = Search(tight);
        ASSERT_GT(after.metCount, 0u);
        EXPECT_LT(after.metCount, before.metCount) << "the check must rule some out";
        for (const Candidate& k : after.best) {
            const StrengthFigures f = ComputeStrengthFigures(k.outcome.record, c.strength);
            EXPECT_FALSE(f.hookWithoutBend) << Places({k});
            if (f.hook) {
                EXPECT_FALSE(f.hook->overAllowable) << Places({k});
            }
            if (c.minFatigue > 0 && f.fatigue.safety) {
                EXPECT_GE(*f.fatigue.safety, c.minFatigue) << Places({k});
            }
        }
    }
}

TEST(Search, ClosestTellHowFarTheHooksAndTheFatigueFactorFallShort) {
    const SearchResult hooks =
        Search("kind=extension load=2@50 load=4@60 hook-radius=0.7 materials=SWPB max-od=12");
    const SearchResult fatigue = Search(
        "kind=compression load=1@20 load=2@15 min-fatigue=3 materials=SWPB max-od=12 "
        "allow-close-coils");
    ASSERT_EQ(hooks.metCount, 0u);
    ASSERT_EQ(fatigue.metCount, 0u);
    int told = 0, solid = 0;
    for (const Candidate& c : hooks.closest) {
        const HookFigures h = *ComputeStrengthFigures(c.outcome.record, {false, 0.7}).hook;
        const double bending = h.bendingStress / h.bendingAllowable;
        const double torsion = h.torsionStress / h.torsionAllowable;
        for (const Shortfall& s : c.shortfalls) {
            if (s.what == Shortfall::What::Hook) {
                ++told;
                EXPECT_EQ(s.actual, bending >= torsion ? h.bendingStress : h.torsionStress);
                EXPECT_EQ(s.wanted, bending >= torsion ? h.bendingAllowable : h.torsionAllowable);
                EXPECT_NEAR(s.excess, std::max(bending, torsion) - 1.0, 1e-12);
            }
        }
    }
    for (const Candidate& c : fatigue.closest) {
        const double nf = *ComputeStrengthFigures(c.outcome.record).fatigue.safety;
        for (const Shortfall& s : c.shortfalls) {
            if (s.what == Shortfall::What::Fatigue) {
                ++told;
                EXPECT_EQ(s.actual, nf);
                EXPECT_NEAR(s.excess, (3.0 - nf) / 3.0, 1e-12);
            }
            // Solid before the shortest length (warning 6): by how much.
            const TSpringDesign& v = c.outcome.record;
            if (s.what == Shortfall::What::Warning && s.warning == 6) {
                ++solid;
                EXPECT_EQ(s.actual, v.SolidLen);
                EXPECT_EQ(s.wanted, std::min({v.FreeLen, v.SetLen, v.WorkLen}));
                EXPECT_NEAR(s.excess, (s.actual - s.wanted) / s.wanted, 1e-12);
            }
        }
    }
    EXPECT_GE(told, 4);
    EXPECT_GT(solid, 0);
}

TEST(Search, TheEstimateDropsNoDesignTheEngineWouldKeep) {
    const std::vector<std::string> requests = {
        "kind=compression load=1.304@20 load=2.173@18 tolerance=1",
        "kind=compression load=3@30 rate=0.8 max-free-len=36 min-id=6",
        "kind=extension load=2@50 load=4@60 max-od=12",
        "kind=extension load=0.5@30 rate=0.05 tolerance=2",
        // Stiff: half a turn.
        "kind=compression load=8@20 rate=28 min-turns=0.5",
        // Under repeated load; and slender, where buckling rules out the longer free lengths.
        "kind=compression load=1@20 load=2@15 repeated",
        "kind=compression load=1@60 load=3@40 max-od=14 tolerance=3",
        "kind=compression load=2@40 load=4@30 ends=fixed-pinned max-slenderness=5 "
        "min-frequency=200 tolerance=3",
        "kind=extension load=2@50 load=4@60 max-od=12 repeated",
        // The fatigue safety factor, which falls as the free length grows, and tight hooks.
        "kind=compression load=1@20 load=2@15 peened repeated min-fatigue=1.3",
        "kind=extension load=2@50 load=4@60 hook-radius=1.2",
        // SWB, which has no endurance data: under repeated load the repeated-load allowable
        // stress alone judges it, so the estimate must use the engine's (with its factor
        // 0.277·r^1.2 + 0.3 taken as 0.25·r^1.2 + 0.3, 6 of these 307 springs go missing).
        "kind=compression load=1@20 load=2@15 repeated materials=SWB",
        // Long lengths, where the walk leaves out the turns no design of a D can use.
        "kind=extension load=0.5@500 load=1@600",
        "kind=compression load=0.3@300 load=0.5@250 allow-buckling tolerance=0.1",
    };
    size_t halfTurns = 0;  // the fewest the window allows
    for (std::string args : requests) {
        SCOPED_TRACE(args);
        // SWPA: 46 sizes, the most of any material.
        args += args.find("materials=") == std::string::npos ? " materials=SWPA" : "";
        args += " max-index=10 top=1000 all";
        const SearchResult quick = Search(args), every = Search(args, true);
        EXPECT_EQ(every.engineRuns, every.gridCount);
        EXPECT_LT(quick.engineRuns, quick.gridCount / 2) << "the estimate spares most";
        ASSERT_GT(every.metCount, 0u);
        ASSERT_LT(every.metCount, 1000u);
        EXPECT_EQ(quick.metCount, every.metCount);
        EXPECT_EQ(Places(quick.best), Places(every.best));
        halfTurns += std::ranges::count_if(
            every.best, [](const Candidate& c) { return c.input.turns == 0.5f; });
    }
    EXPECT_GT(halfTurns, 0u);
}

void ExpectPassesEveryDefaultCheck(const Candidate& c, const SearchRequest& request) {
    const TSpringDesign& v = c.outcome.record;
    SCOPED_TRACE(Places({c}));
    ASSERT_TRUE(c.outcome.analysed);
    for (int warning : c.outcome.warnings) {
        EXPECT_TRUE(warning == 3 || (warning == 4 && !request.repeated)) << warning;
    }
    const double index = double(v.MeanDia) / WireDiameterOf(v);
    EXPECT_GE(index, 4.0);
    EXPECT_LE(index, kDefaultMaxSpringIndex + 1e-6);
    EXPECT_GE(v.Turns, kDefaultMinTurns);
    const ServiceFigures figures = ComputeServiceFigures(v, EndCondition::FixedFixed);
    if (v.SpringKind == kCompression) {
        EXPECT_FALSE(figures.compression->bucklingRisk);
    } else {
        EXPECT_FALSE(figures.strength.hook->overAllowable);
    }
    if (request.repeated && figures.strength.fatigue.safety) {
        EXPECT_GE(*figures.strength.fatigue.safety, 1.0);
    }
    // A maker's: a margin below the allowable stress, and none of check's warnings 12 to 14.
    EXPECT_LE(c.stressRatio, kDefaultMaxStressRatio);
    EXPECT_EQ(MakerWarnings(figures.maker), std::vector<int>{});
    EXPECT_LE(std::fabs(v.Pset - request.installed.load) / request.installed.load,
              request.tolerance * (1 + 1e-9));
    if (request.operating) {
        EXPECT_LE(std::fabs(v.Pact - request.operating->load) / request.operating->load,
                  request.tolerance * (1 + 1e-9));
    }
}

TEST(Search, FirstAnswersCheckedByHand) {
    struct HandChecked {
        std::string args;
        std::string first;  // material, wire, D, n, free length as Places gives them
        double mass;
    };
    const HandChecked cases[] = {
        {"kind=compression load=1@20 load=2@15", "3 18 4.1 11.5 24.3\n", 0.4530},
        {"kind=compression load=1.3@20 load=2.2@18 max-od=10 repeated", "3 18 2.8 15.5 22.4\n",
         0.4010},
        {"kind=extension load=2@50 load=4@60 max-od=15", "3 21 4.3 41.5 0\n", 3.0021},
    };
    for (const HandChecked& c : cases) {
        SCOPED_TRACE(c.first);
        const SearchRequest request = Requirement(c.args);
        const SearchResult quick = Search(c.args);
        ASSERT_FALSE(quick.best.empty());
        EXPECT_EQ(Places({quick.best[0]}), c.first);
        EXPECT_NEAR(quick.best[0].massGrams, c.mass, 1e-4);
        ExpectPassesEveryDefaultCheck(quick.best[0], request);
        const SearchResult every = Search(c.args + " all top=2", true);
        ASSERT_EQ(every.best.size(), 2u);
        EXPECT_EQ(Places({every.best[0]}), c.first);
        // Lighter than every other, or as light and less stressed (the order's tie-break).
        const Candidate &first = quick.best[0], &second = every.best[1];
        EXPECT_TRUE(second.massGrams > first.massGrams ||
                    (second.massGrams == first.massGrams && second.stressRatio > first.stressRatio))
            << Places({second});
    }
}

TEST(Search, NoAnswerBreaksTheDefaults) {
    std::mt19937 random(20261207);
    std::vector<std::string> requests = {
        "kind=compression load=1@20 load=2@15",
        "kind=compression load=1@60 load=3@40",
        "kind=compression load=0.5@30 load=0.6@25 tolerance=10",
        "kind=compression load=50@100 load=150@60",
        "kind=extension load=0.3@35 rate=0.02",
        // A valve spring under repeated load: before the coils' clearance was judged, most of its
        // answers were solid at exactly the working length, 28 mm.
        "kind=compression load=250N@38 load=600N@28 peened repeated max-od=32 min-id=19 "
        "min-frequency=400",
    };
    for (int i = 0; i < (kSanitized ? 3 : 9); ++i) {
        const bool compression = i % 3 != 2;
        const double length = std::uniform_real_distribution(5.0, 120.0)(random);
        const double load = std::exp(std::uniform_real_distribution(-4.0, 4.0)(random));
        const double stroke = length * std::uniform_real_distribution(0.05, 0.5)(random);
        const double factor = std::uniform_real_distribution(1.2, 4.0)(random);
        requests.push_back(fmt::format("kind={} load={:.3f}@{:.1f} load={:.3f}@{:.1f}",
                                       compression ? "compression" : "extension", load, length,
                                       load * factor,
                                       compression ? length - stroke : length + stroke));
    }
    size_t answers = 0;
    for (const std::string& args : requests) {
        for (const char* extra : {"", " repeated", " all"}) {
            if (kSanitized && *extra) {
                continue;
            }
            const std::string with = args + " top=1000" + extra;
            SCOPED_TRACE(with);
            const SearchRequest request = Requirement(with);
            const SearchResult result = Search(with);
            for (const Candidate& c : result.best) {
                ExpectPassesEveryDefaultCheck(c, request);
            }
            answers += result.best.size();
        }
    }
    EXPECT_GT(answers, kSanitized ? 100u : 1000u);
}

TEST(Search, MakersLimitsAreDefaultsEachAnOption) {
    const std::string guide = "kind=compression load=1@20 load=2@15";
    const std::string widened = guide + " max-stress-ratio=1 max-pitch-ratio=10 allow-close-coils";
    // The guide's answer before these limits (SWPB 0.60, D 4.1, n 8.5; worked by hand in
    // FirstAnswersCheckedByHand): its pitch is 0.66 D, its stress 99 % of the allowable.
    EXPECT_EQ(Places({Search(widened).best.at(0)}), "3 17 4.1 8.5 24.3\n");
    const std::string extension =
        "kind=extension load=2@50 load=4@60 max-od=15 max-stress-ratio=1 any-initial-tension";
    EXPECT_EQ(Places({Search(extension).best.at(0)}), "3 20 3.3 51 0\n");

    const SearchResult solid = Search(guide + " solid-safe all top=1000");
    ASSERT_GT(solid.metCount, 0u);
    EXPECT_LT(solid.metCount, Search(guide + " all top=1000").metCount);
    for (const Candidate& c : solid.best) {
        EXPECT_EQ(std::count(c.outcome.warnings.begin(), c.outcome.warnings.end(), 3), 0);
        const ServiceFigures f = ComputeServiceFigures(c.outcome.record);
        EXPECT_FALSE(f.strength.solid && f.strength.solid->takesSet) << Places({c});
    }

    // Within 3.2 mm across, guided against buckling, SWPB carries the guide's loads only at
    // 99 % of its allowable stress or with its coils too close: the widening names the stress
    // ratio with a value that lets in the design shown, and the coils' clearance.
    const std::string tight =
        "kind=compression load=1@20 load=2@15 materials=SWPB max-od=3.2 allow-buckling";
    const SearchResult kept = Search(tight);
    ASSERT_EQ(kept.metCount, 0u);
    const auto widening = [&](Shortfall::What what) {
        return std::ranges::find_if(kept.widenings, [&](const Widening& w) {
            return w.widen == std::vector<Shortfall::What>{what};
        });
    };
    const auto stress = widening(Shortfall::What::StressMargin);
    ASSERT_NE(stress, kept.widenings.end());
    const double needed = stress->best.stressRatio;
    EXPECT_GT(needed, kDefaultMaxStressRatio);
    EXPECT_GT(
        Search(tight + fmt::format(" max-stress-ratio={:.3f}", std::ceil(needed * 1000) / 1000))
            .metCount,
        0u);
    EXPECT_NE(widening(Shortfall::What::GapSum), kept.widenings.end());
    EXPECT_GT(Search(tight + " allow-close-coils").metCount, 0u);

    // Each option fits its kind of spring and its range.
    for (const char* bad : {"kind=extension load=1@20 rate=0.5 allow-close-coils",
                            "kind=extension load=1@20 rate=0.5 max-pitch-ratio=1",
                            "kind=extension load=1@20 rate=0.5 solid-safe",
                            "kind=compression load=1@20 rate=0.5 any-initial-tension",
                            "kind=compression load=1@20 rate=0.5 max-stress-ratio=0.4"}) {
        EXPECT_FALSE(Read(bad).request) << bad;
    }
}

TEST(Search, LongLengthsAreWalkedWholeWithLittleWork) {
    struct LongRequest {
        std::string args;
        size_t gridCount;  // as the walk of every half turn counted it
        size_t mostDesigns;
    };
    const LongRequest cases[] = {
        {"kind=compression load=1@2000 load=2@1800", 578051933, 1500000},
        {"kind=compression load=1@10000 load=2@9000", 14182123544, 1500000},
        {"kind=extension load=1@9000 load=2@10000", 20596089, 1500000},
    };
    for (const LongRequest& c : cases) {
        if (kSanitized && &c != &cases[2]) {
            continue;
        }
        SCOPED_TRACE(c.args);
        const SearchRequest request = Requirement(c.args);
        size_t designs = 0;  // evaluated by the walk of the default proportions
        DesignRunner runner(FixedClock);
        const SearchResult result = SearchDesigns(request, runner, [&](const SearchProgress& p) {
            designs = p.widening ? designs : p.designsEvaluated;
            return true;
        });
        EXPECT_EQ(result.stop, SearchStop::None);
        EXPECT_EQ(result.gridCount, c.gridCount);
        EXPECT_EQ(result.metCount, 0u);
        EXPECT_EQ(result.closest.size(), kClosestShown);
        EXPECT_LT(designs, c.mostDesigns);
        if (request.springKind == kCompression) {
            ASSERT_FALSE(result.widenings.empty());
            EXPECT_EQ(result.widenings[0].widen,
                      std::vector<Shortfall::What>{Shortfall::What::Buckling});
        }
        EXPECT_LE(double(result.designsEvaluated), kSearchWorkBudget / kEstimateWork + 1);
    }
}

TEST(Search, StopsAtItsBoundOfWorkOrWhenTheProgressSaysSo) {
    const SearchRequest request = Requirement(
        "kind=compression load=1@20 load=2@15 max-index=30 min-turns=0.5 tolerance=99 "
        "allow-buckling");
    struct Stopping {
        size_t reports;  // the progress says stop at this report; 0: never
        SearchStop stop;
    };
    for (const Stopping& c :
         {Stopping{0, SearchStop::WorkBudget}, Stopping{3, SearchStop::Asked}}) {
        if (kSanitized && c.stop == SearchStop::WorkBudget) {
            continue;
        }
        SCOPED_TRACE(c.reports);
        size_t reports = 0, lastEvaluated = 0;
        DesignRunner runner(FixedClock);
        const SearchResult result = SearchDesigns(request, runner, [&](const SearchProgress& p) {
            EXPECT_GE(p.designsEvaluated, lastEvaluated);
            EXPECT_LE(p.wiresDone, p.wiresTotal);
            lastEvaluated = p.designsEvaluated;
            return ++reports != c.reports;
        });
        EXPECT_EQ(result.stop, c.stop);
        EXPECT_GE(result.designsEvaluated, lastEvaluated);
        ASSERT_FALSE(result.best.empty());
        EXPECT_TRUE(std::ranges::is_sorted(
            result.best, {}, [](const Candidate& candidate) { return candidate.massGrams; }));
        if (c.stop == SearchStop::Asked) {
            EXPECT_EQ(reports, c.reports);
            EXPECT_LT(result.designsEvaluated, 3 * 4096u + 1000u);
        } else {
            EXPECT_LE(double(result.designsEvaluated), kSearchWorkBudget / kEstimateWork + 1);
            EXPECT_GT(double(result.designsEvaluated), kSearchWorkBudget);
        }
    }
}

TEST(Search, FindsCompressionSample2FromItsLoadsOrItsLoadAndRate) {
    const std::string sample2 =
        "kind=compression load=2.173@18 load=1.304@20 by=stress materials=SWPA max-od=10 "
        "min-id=7.6 tolerance=1 max-stress-ratio=1 max-pitch-ratio=10 allow-close-coils";
    const SearchResult result = Search(sample2);
    ASSERT_GT(result.best.size(), 1u);
    for (size_t i = 1; i < result.best.size(); ++i) {
        EXPECT_GE(result.best[i].stressRatio, result.best[i - 1].stressRatio) << "least first";
    }
    EXPECT_EQ(Places({result.best[0]}), "2 23 8.8 7 23\n");
    EXPECT_NEAR(result.best[0].massGrams, 2.209, 1e-3);
    // A largest spring index that just reaches the sample's 8.8 / 1.2 = 7.33 still has it: the
    // grid of mean diameters goes up to the last 0.1 mm the index allows, inclusive.
    const SearchResult edge = Search(sample2 + " max-index=7.34");
    ASSERT_FALSE(edge.best.empty());
    EXPECT_EQ(edge.best[0].input.meanDia, 8.8f);
    const SearchResult rated = Search(
        "kind=compression load=1.304@20 rate=0.4347 by=stress materials=SWPA max-od=10 min-id=7.6 "
        "tolerance=1");
    ASSERT_FALSE(rated.best.empty());
    EXPECT_EQ(rated.best[0].outcome.record.FreeLen + rated.best[0].outcome.record.WorkLen, 43.0f);
}

TEST(SearchRequest, NewtonsReadOnceToTheBit) {
    const SearchRequest kgf = Requirement("kind=compression load=1@20 load=2@15");
    const SearchRequest newtons = Requirement("kind=compression load=9.80665N@20 load=19.6133N@15");
    EXPECT_EQ(newtons.installed.load, kgf.installed.load);
    EXPECT_EQ(newtons.operating->load, kgf.operating->load);
    EXPECT_EQ(newtons.rate, kgf.rate);
    const SearchRequest rate = Requirement("kind=compression load=1kgf@20 rate=1.96133N/mm");
    EXPECT_EQ(rate.installed.load, 1.0);
    EXPECT_DOUBLE_EQ(rate.rate, 0.2);
    const SearchRequest fatigue =
        Requirement("kind=compression load=1@20 load=2@15 min-fatigue=1.2");
    EXPECT_TRUE(fatigue.repeated);
    EXPECT_EQ(fatigue.minFatigue, 1.2);
}

}  // namespace
}  // namespace springcalc
