// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The panel beside the window: the load–length diagram, the figures in service and the search,
// from the same libraries as the command line's check and search, in Japanese.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/spring_search.h"

namespace springcalc::web {

// The diagram of a record after Run, its words in Japanese.
std::string DiagramSvgJa(const TSpringDesign& design);

// The figures in service as a JSON array of {label, value} rows.
std::string FiguresJson(const TSpringDesign& design);

// The design of the window's record run once more with the initial tension typed in the panel's
// field (ReadInitialTension's forms), for the panel's figures and diagram; the window's own
// record keeps the formula's, as the desktop's does. None for an empty field, a compression
// spring, a design the window does not run, and a text that is no initial tension: then
// `error` is the page text's key "badInitialTension", else empty.
std::optional<TSpringDesign> WithGivenInitialTension(const DesignInput& design,
                                                     std::string_view text, std::string& error);

// The search form as the page fills it in: text as typed, an empty text for "not given".
struct SearchForm {
    int kind = kCompression;
    std::string installedLoad, installedLength, operatingLoad, operatingLength, rate;
    std::string maxOuterDia, minInnerDia, maxFreeLen, maxSlenderness, minFrequency;
    bool allowBuckling = false;
    std::string ends;       // a name of kEndConditions
    std::string materials;  // designations separated by commas; empty for all
    std::string maxSpringIndex, minTurns, tolerance, top;
    bool repeated = false;  // under repeated load: warning 4 and the fatigue safety factor
    bool peened = false;
    std::string minFatigue, hookRadius;
    bool every = false;  // every design that passes, not the best of each material and wire
    bool byMass = true;
};

// The choices the form offers: materials and end conditions, as JSON.
std::string SearchChoicesJson();

// Runs the search. The JSON has either "error" (a Japanese message) or the result rows;
// `found` keeps the designs in the order of the rows, for choosing one.
std::string SearchJson(const SearchForm& form, std::vector<DesignInput>& found);

}  // namespace springcalc::web
