// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/search_request.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/catalogue.h"
#include "engine/spring_tables.h"
#include "engine/torsion_spring.h"

namespace springcalc {

namespace {

using What = SearchFault::What;

// SearchFieldOf finds a row by its field's number.
constexpr bool RowsInFieldOrder() {
    for (size_t i = 0; i < std::size(kSearchFields); ++i) {
        if (static_cast<size_t>(kSearchFields[i].field) != i) {
            return false;
        }
    }
    return true;
}
static_assert(RowsInFieldOrder());

SearchFault Fault(What what, SearchField field, std::string_view text = {}, int index = 0) {
    SearchFault fault;
    fault.what = what;
    fault.field = field;
    fault.text = std::string(text);
    fault.index = index;
    return fault;
}

bool ForKind(FieldKinds kinds, std::int32_t springKind) {
    switch (kinds) {
        case FieldKinds::Any:
            return true;
        case FieldKinds::Coil:
            return springKind != kTorsionSpring;
        case FieldKinds::Compression:
            return springKind == kCompression;
        case FieldKinds::Extension:
            return springKind == kExtension;
        case FieldKinds::Torsion:
            return springKind == kTorsionSpring;
    }
    return false;
}

// The entries of a requirement sorted by field, each checked against its row once.
class Fields {
public:
    explicit Fields(std::span<const SearchEntry> entries) : entries_(entries) {}

    // Every entry names a field, given no more often than it may be.
    SearchFault Sort() {
        for (const SearchEntry& entry : entries_) {
            const std::optional<SearchField> field = SearchFieldNamed(entry.name);
            if (!field) {
                return Fault(What::UnknownField, SearchField::Kind, entry.name);
            }
            std::vector<std::string_view>& texts = texts_[static_cast<size_t>(*field)];
            texts.push_back(entry.text);
            // A flag given twice says no more than once.
            const SearchFieldRow& row = SearchFieldOf(*field);
            if (row.form != FieldForm::Flag && static_cast<int>(texts.size()) > row.most) {
                return Fault(What::Repeated, *field, entry.text);
            }
        }
        return {};
    }

    bool Has(SearchField field) const { return !Texts(field).empty(); }
    const std::vector<std::string_view>& Texts(SearchField field) const {
        return texts_[static_cast<size_t>(field)];
    }
    std::optional<std::string_view> Text(SearchField field) const {
        const auto& texts = Texts(field);
        return texts.empty() ? std::nullopt : std::optional(texts.front());
    }

private:
    std::span<const SearchEntry> entries_;
    std::array<std::vector<std::string_view>, std::size(kSearchFields)> texts_;
};

// A Number field's value, when given and readable; `fault` set when given and not.
std::optional<double> NumberOf(const Fields& fields, SearchField field, SearchFault& fault) {
    const std::optional<std::string_view> text = fields.Text(field);
    if (!text || fault.what != What::None) {
        return std::nullopt;
    }
    const SearchFieldRow& row = SearchFieldOf(field);
    std::string_view number = Trim(*text);
    if (row.percent && number.ends_with('%')) {
        number.remove_suffix(1);
    }
    const std::optional<double> value = ParseDouble(number);
    if (!value || !row.range.Holds(*value) || (row.whole && *value != std::floor(*value))) {
        fault = Fault(What::BadValue, field, *text);
        return std::nullopt;
    }
    return value;
}

// The two load points, or one and the rate; a torsion spring's moments at leg angles (a moment
// in newtons is in N·mm, by the same factor) and its rate in kg·mm per degree.
SearchFault ReadLoads(const Fields& fields, SearchRequest& request) {
    const bool torsion = request.springKind == kTorsionSpring;
    const SearchField loadField = torsion ? SearchField::Moment : SearchField::Load;
    const SearchField rateField = torsion ? SearchField::MomentRate : SearchField::Rate;
    const Range loadRange = SearchFieldOf(loadField).range;
    const Range lengthRange = torsion ? kLegAngleRange : kLengthRange;
    std::vector<LoadPoint> points;
    for (const std::string_view text : fields.Texts(loadField)) {
        const std::optional<LoadAtLength> read = ParseLoadAtLength(text);
        const std::optional<double> load = read ? loadRange.Admit(read->load) : std::nullopt;
        if (!load || !lengthRange.Holds(read->length)) {
            return Fault(What::BadValue, loadField, text, static_cast<int>(points.size()));
        }
        points.push_back({*load, read->length});
    }
    const std::optional<std::string_view> rateText = fields.Text(rateField);
    if (points.empty()) {
        return Fault(What::LoadCount, loadField);
    }
    if (points.size() == 1) {
        if (!rateText) {
            return Fault(What::RateMissing, rateField);
        }
        const std::optional<double> read =
            torsion ? ParseDouble(Trim(*rateText)) : ParseForce(*rateText, ForceKind::Rate);
        const std::optional<double> rate =
            read ? SearchFieldOf(rateField).range.Admit(*read) : std::nullopt;
        if (!rate) {
            return Fault(What::BadValue, rateField, *rateText);
        }
        request.installed = points[0];
        request.rate = *rate;
        return {};
    }
    if (rateText) {
        return Fault(What::RateWithTwoLoads, rateField, *rateText);
    }
    SearchFault fault;
    switch (SetLoadPoints(request, points[0], points[1])) {
        case LoadPointsFault::Equal:
            fault = Fault(What::LoadsEqual, loadField);
            break;
        case LoadPointsFault::WrongWay:
            fault = Fault(What::WrongWay, loadField);
            break;
        case LoadPointsFault::None:
            break;
    }
    return fault;
}

SearchFault ReadMaterials(const Fields& fields, SearchRequest& request,
                          std::span<const std::shared_ptr<const WireMaterial>> own) {
    const std::optional<std::string_view> list = fields.Text(SearchField::Materials);
    if (!list) {
        for (int m = 0; m < kMaterialCount; ++m) {
            request.materials.push_back(m);
        }
        return {};
    }
    if (Trim(*list).empty()) {
        return Fault(What::NoMaterial, SearchField::Materials);
    }
    for (size_t start = 0; start <= list->size();) {
        const size_t comma = std::min(list->find(',', start), list->size());
        const std::string_view item = list->substr(start, comma - start);
        const std::optional<int> material = MaterialNamed(item);
        if (!material) {
            // A torsion spring is worked out from the window's nine materials' tables alone.
            auto wire =
                request.springKind == kTorsionSpring ? nullptr : WireMaterialNamed(item, own);
            if (!wire) {
                SearchFault fault = Fault(What::UnknownMaterial, SearchField::Materials, item);
                fault.springKind = request.springKind;
                return fault;
            }
            if (std::find(request.standards.begin(), request.standards.end(), wire) ==
                request.standards.end()) {
                request.standards.push_back(std::move(wire));
            }
        } else if (std::find(request.materials.begin(), request.materials.end(), *material) ==
                   request.materials.end()) {
            request.materials.push_back(*material);
        }
        start = comma + 1;
    }
    return {};
}

// Choices and fields that go together, once each field's value is known to be readable.
SearchFault ReadChoices(const Fields& fields, SearchRequest& request) {
    if (const auto text = fields.Text(SearchField::Ends)) {
        const std::optional<EndCondition> ends = EndConditionNamed(Trim(*text));
        if (!ends) {
            return Fault(What::BadValue, SearchField::Ends, *text);
        }
        request.ends = *ends;
    }
    if (const auto text = fields.Text(SearchField::ToleranceGrade); text && Trim(*text) != "none") {
        request.toleranceGrade = ToleranceGradeNamed(Trim(*text));
        if (!request.toleranceGrade) {
            return Fault(What::BadValue, SearchField::ToleranceGrade, *text);
        }
        if (!fields.Has(SearchField::MaxStressRatio)) {
            request.maxStressRatio = 1.0;
        }
    }
    if (const auto text = fields.Text(SearchField::By)) {
        const std::string_view by = Trim(*text);
        if (by != "mass" && by != "stress") {
            return Fault(What::BadValue, SearchField::By, *text);
        }
        request.order = by == "mass" ? SearchOrder::Mass : SearchOrder::Stress;
    }
    const auto together = [&](SearchField field, SearchField other) {
        SearchFault fault = Fault(What::Contradicts, field);
        fault.other = other;
        return fault;
    };
    if (fields.Has(SearchField::AllowBuckling) && fields.Has(SearchField::NoBuckling)) {
        return together(SearchField::AllowBuckling, SearchField::NoBuckling);
    }
    if (fields.Has(SearchField::Ends) && fields.Has(SearchField::AllowBuckling)) {
        return together(SearchField::Ends, SearchField::AllowBuckling);
    }
    request.allowBuckling = fields.Has(SearchField::AllowBuckling);
    request.repeated = fields.Has(SearchField::Repeated) || fields.Has(SearchField::MinFatigue);
    request.strength.peened = fields.Has(SearchField::Peened);
    if (request.strength.peened && !request.repeated) {
        return Fault(What::NeedsRepeated, SearchField::Peened);
    }
    request.allowCloseCoils = fields.Has(SearchField::AllowCloseCoils);
    request.anyInitialTension = fields.Has(SearchField::AnyInitialTension);
    request.solidSafe = fields.Has(SearchField::SolidSafe);
    request.listing =
        fields.Has(SearchField::All) ? SearchListing::Every : SearchListing::BestPerWire;
    return {};
}

SearchFault ReadNumbers(const Fields& fields, SearchRequest& request) {
    SearchFault fault;
    const auto number = [&](SearchField field) { return NumberOf(fields, field, fault); };
    request.maxOuterDia = number(SearchField::MaxOuterDia);
    request.minInnerDia = number(SearchField::MinInnerDia);
    request.maxFreeLen = number(SearchField::MaxFreeLen);
    request.maxSlenderness = number(SearchField::MaxSlenderness);
    request.minFrequency = number(SearchField::MinFrequency);
    request.strength.hookRadius = number(SearchField::HookRadius);
    // EN 13906-3 is written for torsion springs of index 4 to 20: the whole of it by default.
    request.maxSpringIndex =
        number(SearchField::MaxIndex)
            .value_or(request.springKind == kTorsionSpring ? torsion::kMostIndex
                                                           : request.maxSpringIndex);
    request.legs = number(SearchField::Legs).value_or(0.0);
    request.mandrel = number(SearchField::Mandrel);
    request.maxBodyLen = number(SearchField::MaxBodyLen);
    request.minTurns = number(SearchField::MinTurns).value_or(request.minTurns);
    request.minFatigue = number(SearchField::MinFatigue).value_or(request.minFatigue);
    request.maxStressRatio = number(SearchField::MaxStressRatio).value_or(request.maxStressRatio);
    request.maxPitchRatio = number(SearchField::MaxPitchRatio).value_or(request.maxPitchRatio);
    if (const std::optional<double> percent = number(SearchField::Tolerance)) {
        request.tolerance = *percent / 100.0;
    }
    request.top = static_cast<int>(number(SearchField::Top).value_or(request.top));
    if (const auto text = fields.Text(SearchField::InitialTension);
        text && fault.what == What::None) {
        const InitialTensionReading reading = ReadInitialTension(*text);
        if (!reading.given) {
            return Fault(What::BadValue, SearchField::InitialTension, *text);
        }
        request.initialTension = reading.given;
    }
    return fault;
}

}  // namespace

LoadPointsFault SetLoadPoints(SearchRequest& request, LoadPoint a, LoadPoint b) {
    const LoadPoint& lighter = a.load < b.load ? a : b;
    const LoadPoint& heavier = a.load < b.load ? b : a;
    if (lighter.load == heavier.load || lighter.length == heavier.length) {
        return LoadPointsFault::Equal;
    }
    // A torsion spring winds up as a compression spring shortens: the heavier moment at the
    // narrower angle between its legs.
    const double travel = request.springKind != kExtension ? lighter.length - heavier.length
                                                           : heavier.length - lighter.length;
    if (travel <= 0.0) {
        return LoadPointsFault::WrongWay;
    }
    request.installed = lighter;
    request.operating = heavier;
    request.rate = (heavier.load - lighter.load) / travel;
    return LoadPointsFault::None;
}

const SearchFieldRow& SearchFieldOf(SearchField field) {
    return kSearchFields[static_cast<size_t>(field)];
}

std::optional<SearchField> SearchFieldNamed(std::string_view name) {
    for (const SearchFieldRow& row : kSearchFields) {
        if (row.name == name) {
            return row.field;
        }
    }
    return std::nullopt;
}

std::vector<std::string_view> SearchChoices(SearchField field) {
    switch (field) {
        case SearchField::Kind:
            return {KindName(kCompression), KindName(kExtension), kTorsionName};
        case SearchField::Ends: {
            std::vector<std::string_view> names;
            for (const EndConditionRow& row : kEndConditions) {
                names.push_back(row.name);
            }
            std::rotate(names.begin(),
                        std::find(names.begin(), names.end(), EndConditionOf(kDefaultEnds).name),
                        names.end());
            return names;
        }
        case SearchField::By:
            return {"mass", "stress"};
        case SearchField::ToleranceGrade: {
            std::vector<std::string_view> names{"none"};
            names.insert(names.end(), std::begin(kToleranceGradeNames),
                         std::end(kToleranceGradeNames));
            return names;
        }
        default:
            return {};
    }
}

SearchReading ReadSearchRequest(std::span<const SearchEntry> entries,
                                std::span<const std::shared_ptr<const WireMaterial>> own) {
    Fields fields(entries);
    SearchReading reading;
    SearchRequest request;
    const auto failed = [&](SearchFault fault) {
        fault.springKind = request.springKind;
        reading.fault = std::move(fault);
        return reading.fault.what != What::None;
    };
    if (failed(fields.Sort())) {
        return reading;
    }
    const std::optional<std::string_view> kindText = fields.Text(SearchField::Kind);
    if (!kindText) {
        failed(Fault(What::KindMissing, SearchField::Kind));
        return reading;
    }
    const std::optional<std::int32_t> kind =
        NamesTorsion(*kindText) ? std::optional(kTorsionSpring) : KindNamed(*kindText);
    if (!kind) {
        failed(Fault(What::BadValue, SearchField::Kind, *kindText));
        return reading;
    }
    request.springKind = *kind;
    for (const SearchFieldRow& row : kSearchFields) {
        if (fields.Has(row.field) && !ForKind(row.kinds, request.springKind)) {
            failed(Fault(What::WrongKind, row.field, *fields.Text(row.field)));
            return reading;
        }
    }
    if (failed(ReadLoads(fields, request)) || failed(ReadNumbers(fields, request)) ||
        failed(ReadMaterials(fields, request, own)) || failed(ReadChoices(fields, request))) {
        return reading;
    }
    reading.request = std::move(request);
    return reading;
}

}  // namespace springcalc
