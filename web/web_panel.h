// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The panel beside the window: the load–length diagram, the figures in service and the search,
// from the same libraries as the command line's check and search, in the page's language.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/materials_file.h"
#include "engine/spring_search.h"
#include "engine/torsion_spring.h"
#include "engine/wire_standards.h"

namespace springcalc::web {

// The diagram of a record after Run, its words in the page's language (web/page_words.h).
std::string PanelDiagramSvg(const TSpringDesign& design);

// The figures in service as a JSON array of {label, value} rows.
std::string FiguresJson(const TSpringDesign& design);

// The grades the panel's select offers, "none" first, as a JSON array of {name, label}.
std::string ToleranceGradesJson();

// Each figure of a drawing with the tolerance a maker promises at the grade named (a name of
// kToleranceGradeNames), as a JSON array of {label, value} rows ("0.97 ± 0.10 kg"); a figure
// the grade's tables do not reach says so. Empty for "none" or a name that is no grade.
std::string TolerancesJson(const TSpringDesign& design, std::string_view gradeName);

// The design of the window's record run once more with the initial tension typed in the panel's
// field (ReadInitialTension's forms), for the panel's figures and diagram; the window's own
// record keeps the formula's, as the desktop's does. None for an empty field, a compression
// spring, a design the window does not run, and a text that is no initial tension: then
// `error` is the page text's key "badInitialTension", else empty.
std::optional<TSpringDesign> WithGivenInitialTension(const DesignInput& design,
                                                     std::string_view text, std::string& error);

// The panel's choice of wire for the window's design: "window" (the window's own material and
// wire) first, then every standard by name, then the user's own, as a JSON array of {name,
// label}. The window itself keeps its nine materials.
inline constexpr std::string_view kWindowWire = "window";
std::string PanelWiresJson(std::span<const std::shared_ptr<const WireMaterial>> own);

// `material`'s wire for the window's design: its preferred size nearest the window's d, or d
// itself for a material that names no sizes. None when the window's d is outside the material's
// range, and then `error` says so in the page's language.
std::shared_ptr<const WireSelection> PanelWireFor(const DesignInput& design,
                                                  std::shared_ptr<const WireMaterial> material,
                                                  std::string& error);

// The window's design run again for the panel with the wire chosen there (null: the window's),
// and with the panel's initial tension; none when the design with that wire does not run, and
// then `error` says why in the page's language.
std::optional<TSpringDesign> WithPanelWire(const DesignInput& design, std::string_view tension,
                                           const WireSelection& wire, std::string& error);

// The user's own materials typed in the panel, in the text of a --materials-file, read by the
// same reader: the materials, or none and each fault as one line in the page's language (the
// line, the field, what was found and what is expected). A text beyond kOwnMaterialsMostBytes
// is no materials file and is not read.
inline constexpr size_t kOwnMaterialsMostBytes = 16384;
struct OwnMaterialsReading {
    std::vector<std::shared_ptr<const WireMaterial>> materials;
    std::vector<std::string> faults;
};
OwnMaterialsReading ReadOwnMaterials(std::string_view text);

// One field of the search form as the page fills it in: a field of kSearchFields by name, the
// text typed (empty for a ticked box), and which box of a field the form offers more than once
// (the installed and the operating load point), counted from 0. Fields left empty, boxes not
// ticked and fields for the other spring kind are not sent.
struct SearchFormEntry {
    std::string name;
    std::string text;
    int slot = 0;
};

// ---- The panel's own torsion spring calculator (the window has compression and extension
// springs only) ----

// The boxes of the torsion form, each a SearchFormEntry by name: material and wire by number,
// mean-dia, body-turns, leg1, leg2, free-angle, by1 and by2 ("angle" or "moment"), position1,
// position2 and mandrel (empty: none; empty legs and free angle are 0). Read as `check` reads
// a torsion row, in the same ranges and in single precision, so the page and the command line
// give one spring the same figures. None, and the faulty box's name in `field`, for a box that
// is not a number in its range.
std::optional<TorsionInput> ReadTorsionForm(const std::vector<SearchFormEntry>& form,
                                            std::string& field);

// The torsion form's choices: the materials and the wire sizes, each with its number.
std::string TorsionFormJson();

// The torsion spring the form describes: {"error": the words, "field": the box} or its
// {"figures": [{label, value}], "warnings": [{number, text}], "svg": the moment–angle diagram}.
std::string TorsionPanelJson(const std::vector<SearchFormEntry>& form);

// The form the page offers, from the engine's fields: for each, its name, its form, the spring
// kinds it is for, how many boxes, its label(s) and its choices; and the materials.
std::string SearchFormJson();

// The requirement the form describes, read by the engine's one reader; the materials field
// also takes the names of `own`.
SearchReading ReadSearchForm(const std::vector<SearchFormEntry>& form,
                             std::span<const std::shared_ptr<const WireMaterial>> own = {});

// What is wrong with a requirement, in the page's language; `form` tells which box a load point
// came from.
std::string SearchFaultText(const SearchFault& fault, const std::vector<SearchFormEntry>& form);

// Runs the search. The JSON has either "error" (a message) or the result rows, each
// with its cells and its warnings' numbers and texts; `found` keeps the designs in the order of
// the rows, for choosing one. `progress` is the engine's: told as the search goes, it may stop it.
std::string SearchJson(const std::vector<SearchFormEntry>& form, std::vector<DesignInput>& found,
                       const SearchProgressFn& progress = {},
                       std::span<const std::shared_ptr<const WireMaterial>> own = {});

}  // namespace springcalc::web
