// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search's requirement: what it asks of a spring, and the one reader every front end hands
// what a user typed to. The command line's options and the page's form are the same fields
// under the same names (kSearchFields); the reader holds every range and every rule about which
// fields go together, and tells what is wrong as a typed fault that each front end words in its
// own language.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/initial_tension.h"
#include "engine/input_text.h"
#include "engine/maker_checks.h"
#include "engine/service_figures.h"
#include "engine/spring_design.h"
#include "engine/strength_checks.h"
#include "engine/tolerance_grades.h"
#include "engine/wire_standards.h"

namespace springcalc {

// Mass: the lightest wire first (the default); Stress: the least stressed first.
enum class SearchOrder { Stress, Mass };
// BestPerWire: a line for each material and wire size, its best design (the default); Every:
// a line for each mean diameter and number of turns that meets everything.
enum class SearchListing { BestPerWire, Every };

// Sensible proportions by default, each one an option to widen (docs/cli.md cites the design
// guidance): D/d from 4 to 15, at least 3 active turns, no buckling for a compression spring.
inline constexpr double kDefaultMaxSpringIndex = 15.0;
inline constexpr double kWidestSpringIndex = 30.0;  // the largest max-index takes
inline constexpr double kDefaultMinTurns = 3.0;
inline constexpr double kSmallestTurns = 0.5;  // the fewest the window takes
// A margin below the static allowable stress at the operating length: a spring as made may give
// up to a tenth more load than drawn (JIS B 2704 grade 2 for 3 to 10 active turns), and spring
// makers rate their catalogue springs at about 80 % of the allowable stress.
inline constexpr double kDefaultMaxStressRatio = 0.9;
inline constexpr double kLeastStressRatio = 0.5;  // the smallest max-stress-ratio takes

// The ranges a requirement's numbers may take, both ends included, as every front end offers
// them: loads in kg, lengths in mm, rates in kg/mm.
inline constexpr double kLeastLoad = 0.001, kMostLoad = 10000;
inline constexpr double kLeastRate = 0.0001, kMostRate = 1000;
// A torsion spring's: moments in kg·mm, at the angle between its legs in degrees (as check's
// free_angle, within one turn), its rate in kg·mm per degree.
inline constexpr double kMostMoment = 1e6;
inline constexpr Range kLegAngleRange{0, 360};

struct LoadPoint {
    double load = 0;    // kg
    double length = 0;  // mm
    bool operator==(const LoadPoint&) const = default;
};

// The search's kind for torsion springs, beside kCompression and kExtension; the window's
// record is never of it.
inline constexpr std::int32_t kTorsionSpring = 2;
inline constexpr std::string_view kTorsionName = "torsion";

struct SearchRequest {
    std::int32_t springKind = kCompression;
    // A torsion spring's points are moments (kg·mm) at angles between its legs (degrees),
    // the smaller moment at the wider angle; its rate in kg·mm per degree.
    LoadPoint installed;                 // the lighter load, at the installed length
    std::optional<LoadPoint> operating;  // the heavier load; none when a rate is given instead
    double rate = 0;                     // kg/mm: from the two points, or as given
    // A torsion spring's: the length of each leg (mm), the mandrel its body winds on and the
    // longest its body may be wound up.
    double legs = 0;
    std::optional<double> mandrel;
    std::optional<double> maxBodyLen;
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
    // With a tolerance grade, the margin is the grade's own: the heaviest load the grade lets a
    // spring as made give stays within maxStressRatio (then 1 unless given) of the allowable.
    std::optional<ToleranceGrade> toleranceGrade;
    double maxPitchRatio = kMaxPitchRatio;
    bool allowCloseCoils = false;
    bool anyInitialTension = false;
    bool solidSafe = false;
    // An extension spring's initial tension as asked of the coiler, a load or a stress; none:
    // the window's formula.
    std::optional<GivenInitialTension> initialTension;
    std::vector<int> materials;  // material numbers to search
    // Wire by a standard or the user's own, walked after the window's materials in the order
    // named, over each one's preferred sizes.
    std::vector<std::shared_ptr<const WireMaterial>> standards;
    double maxSpringIndex = kDefaultMaxSpringIndex;  // the largest D/d on the grid
    double minTurns = kDefaultMinTurns;              // the fewest active turns on the grid
    double tolerance = 0.05;  // how far a load may miss, as a fraction of its target
    int top = 10;
    SearchOrder order = SearchOrder::Mass;
    SearchListing listing = SearchListing::BestPerWire;
    // Every design of the grid through the engine, none spared by the estimate: far slower, and
    // kept for the tests that hold the estimate to sparing only designs the engine would refuse.
    bool exhaustive = false;

    bool operator==(const SearchRequest&) const = default;
};

// Two load points as a requirement: the lighter load at the installed length, the heavier at
// the operating length, and the rate between them. Refused when the loads or the lengths are
// equal, or when the heavier load is not further along the spring's travel (shorter for a
// compression spring, longer for an extension spring).
enum class LoadPointsFault { None, Equal, WrongWay };
LoadPointsFault SetLoadPoints(SearchRequest& request, LoadPoint a, LoadPoint b);

// ---- The fields a user fills in ---------------------------------------------------------------

enum class SearchField {
    Kind,
    Load,
    Rate,
    Repeated,
    MinFatigue,
    Peened,
    HookRadius,
    MaxIndex,
    MinTurns,
    Ends,
    AllowBuckling,
    NoBuckling,
    MaxStressRatio,
    ToleranceGrade,
    MaxPitchRatio,
    AllowCloseCoils,
    AnyInitialTension,
    InitialTension,
    SolidSafe,
    MaxOuterDia,
    MinInnerDia,
    MaxFreeLen,
    MaxSlenderness,
    MinFrequency,
    Materials,
    Tolerance,
    By,
    All,
    Top,
    // A torsion spring's: moments at leg angles, or one with the rate; its legs, its mandrel and
    // the space for its body.
    Moment,
    MomentRate,
    Legs,
    Mandrel,
    MaxBodyLen,
};

// What a field takes: a flag (given or not), a number in its range, a load at a length, a spring
// rate, one name of a few, or a list of materials.
// An initial tension is a load or a stress (engine/initial_tension.h).
enum class FieldForm { Flag, Number, LoadPoint, Rate, Choice, Materials, InitialTension };
// The spring kinds a field is for: given for another kind, it is refused. Coil: compression
// and extension springs, which the window's engine runs.
enum class FieldKinds { Any, Coil, Compression, Extension, Torsion };

struct SearchFieldRow {
    SearchField field;
    std::string_view name;  // the command line's option without "--", and the page's field
    FieldForm form;
    FieldKinds kinds = FieldKinds::Any;
    Range range{};         // a Number's, in the unit the user types (a percentage for tolerance)
    bool whole = false;    // whole numbers only
    bool percent = false;  // a "%" after the number is allowed
    int most = 1;          // how many times it may be given
    // The default kept for scripts that name it: a form offering the choices afresh leaves it
    // out.
    bool restatesDefault = false;
};

// clang-format off
inline constexpr SearchFieldRow kSearchFields[] = {
    {SearchField::Kind,              "kind",                FieldForm::Choice},
    {SearchField::Load,              "load",                FieldForm::LoadPoint, FieldKinds::Coil, {kLeastLoad, kMostLoad}, false, false, 2},
    {SearchField::Rate,              "rate",                FieldForm::Rate,      FieldKinds::Coil, {kLeastRate, kMostRate}},
    {SearchField::Repeated,          "repeated",            FieldForm::Flag,      FieldKinds::Any},
    {SearchField::MinFatigue,        "min-fatigue",         FieldForm::Number,    FieldKinds::Any, {0.1, 10}},
    {SearchField::Peened,            "peened",              FieldForm::Flag,      FieldKinds::Any},
    {SearchField::HookRadius,        "hook-radius",         FieldForm::Number,    FieldKinds::Extension, kLengthRange},
    {SearchField::MaxIndex,          "max-index",           FieldForm::Number,    FieldKinds::Any, {4, kWidestSpringIndex}},
    {SearchField::MinTurns,          "min-turns",           FieldForm::Number,    FieldKinds::Any, {kSmallestTurns, 100}},
    {SearchField::Ends,              "ends",                FieldForm::Choice,    FieldKinds::Compression},
    {SearchField::AllowBuckling,     "allow-buckling",      FieldForm::Flag,      FieldKinds::Compression},
    {SearchField::NoBuckling,        "no-buckling",         FieldForm::Flag,      FieldKinds::Compression, {}, false, false, 1, true},
    {SearchField::MaxStressRatio,    "max-stress-ratio",    FieldForm::Number,    FieldKinds::Any, {kLeastStressRatio, 1.0}},
    {SearchField::ToleranceGrade,    "tolerance-grade",     FieldForm::Choice,    FieldKinds::Coil},
    {SearchField::MaxPitchRatio,     "max-pitch-ratio",     FieldForm::Number,    FieldKinds::Compression, {0.1, 10}},
    {SearchField::AllowCloseCoils,   "allow-close-coils",   FieldForm::Flag,      FieldKinds::Compression},
    {SearchField::AnyInitialTension, "any-initial-tension", FieldForm::Flag,      FieldKinds::Extension},
    {SearchField::InitialTension,    "initial-tension",     FieldForm::InitialTension, FieldKinds::Extension, {0, kMostInitialTension}},
    {SearchField::SolidSafe,         "solid-safe",          FieldForm::Flag,      FieldKinds::Compression},
    {SearchField::MaxOuterDia,       "max-od",              FieldForm::Number,    FieldKinds::Any, kLengthRange},
    {SearchField::MinInnerDia,       "min-id",              FieldForm::Number,    FieldKinds::Coil, kLengthRange},
    {SearchField::MaxFreeLen,        "max-free-len",        FieldForm::Number,    FieldKinds::Coil, kLengthRange},
    {SearchField::MaxSlenderness,    "max-slenderness",     FieldForm::Number,    FieldKinds::Compression, {0.5, 100}},
    {SearchField::MinFrequency,      "min-frequency",       FieldForm::Number,    FieldKinds::Compression, {1, 100000}},
    {SearchField::Materials,         "materials",           FieldForm::Materials},
    {SearchField::Tolerance,         "tolerance",           FieldForm::Number,    FieldKinds::Any, {0.01, 99}, false, true},
    {SearchField::By,                "by",                  FieldForm::Choice},
    {SearchField::All,               "all",                 FieldForm::Flag},
    {SearchField::Top,               "top",                 FieldForm::Number,    FieldKinds::Any, {1, 1000}, true},
    {SearchField::Moment,            "moment",              FieldForm::LoadPoint, FieldKinds::Torsion, {kLeastLoad, kMostMoment}, false, false, 2},
    {SearchField::MomentRate,        "moment-rate",         FieldForm::Number,    FieldKinds::Torsion, {kLeastRate, kMostRate}},
    {SearchField::Legs,              "legs",                FieldForm::Number,    FieldKinds::Torsion, {0, 10000}},
    {SearchField::Mandrel,           "mandrel",             FieldForm::Number,    FieldKinds::Torsion, kLengthRange},
    {SearchField::MaxBodyLen,        "max-body-len",        FieldForm::Number,    FieldKinds::Torsion, kLengthRange},
};
// clang-format on

const SearchFieldRow& SearchFieldOf(SearchField field);
std::optional<SearchField> SearchFieldNamed(std::string_view name);

// The names a Choice field takes, in the order offered; the first is the default where the field
// has one (every Choice but the kind).
std::vector<std::string_view> SearchChoices(SearchField field);

// One field as typed: its name and text (empty for a flag).
struct SearchEntry {
    std::string_view name;
    std::string_view text;
};

// What is wrong with a requirement. `field` is the field at fault, `text` what was typed there
// (a material's name for UnknownMaterial), `index` which of a repeated field's entries (the
// first load is 0); `other` the field it goes against.
struct SearchFault {
    enum class What {
        None,
        UnknownField,      // no field of that name (text: the name)
        Repeated,          // a field given more often than it may be
        KindMissing,       // the spring kind is required
        BadValue,          // not a value the field takes (a number in its range, a name)
        WrongKind,         // a field for the other spring kind
        LoadCount,         // neither one load with a rate nor two loads
        RateMissing,       // a single load without a rate
        RateWithTwoLoads,  // two loads and a rate
        LoadsEqual,        // two loads equal, or at one length
        WrongWay,          // the heavier load not further along the spring's travel
        NoMaterial,        // an empty list of materials
        UnknownMaterial,   // text: the name; for torsion springs, any but the window's nine
        Contradicts,       // field and other cannot be given together
        NeedsRepeated,     // field is for springs under repeated load
    };
    What what = What::None;
    SearchField field = SearchField::Kind;
    SearchField other = SearchField::Kind;
    std::string text;
    int index = 0;
    std::int32_t springKind = kCompression;  // the kind given, where it matters

    bool operator==(const SearchFault&) const = default;
};

struct SearchReading {
    std::optional<SearchRequest> request;  // none: see fault
    SearchFault fault;
};

// The requirement the fields describe, every field not given at its default (every window's
// material when none is named); or the first fault found. The materials field also takes the
// wire standards and the names of `own` (a materials file), which are found first.
SearchReading ReadSearchRequest(std::span<const SearchEntry> entries,
                                std::span<const std::shared_ptr<const WireMaterial>> own = {});

}  // namespace springcalc
