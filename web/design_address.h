// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The design in the page's address: its fragment names the spring kind, the material, the wire
// and the five inputs, so that a reload, a link sent to a colleague or the browser's Back bring
// the same design back. The fields are the command line's design-file columns:
//
//   v=1&kind=compression&material=SWPA&wire=0.70&mean_dia=4.3&turns=9.5&free_len=13&set_len=12&work_len=10
//
// An extension spring has no free_len: its free length follows from the rest. Numbers are the
// shortest decimals that read back as the same single-precision values, so a design comes back
// to the last bit, its report bytes included.

#include <optional>
#include <string>
#include <string_view>

#include "engine/design_input.h"
#include "engine/spring_design.h"

namespace springcalc::web {

// The fragment's form; an address of another form is not read.
inline constexpr std::string_view kAddressVersion = "1";

std::string DesignFragment(const TSpringDesign& design);

enum class AddressFault {
    NoDesign,      // nothing about a design in it (a first visit, or only the page's own keys)
    OtherVersion,  // a form this page does not write
    Unreadable,    // a field missing, repeated, unknown or not readable as its kind
    OutOfRange,    // a value the window's spinners cannot reach
};

struct AddressReading {
    std::optional<DesignInput> design;
    AddressFault fault = AddressFault::NoDesign;  // when there is no design
    std::string field;                            // the field at fault, if one is
};

// Reads a fragment without its '#'. Keys that are the page's own and not the design's
// (`time`, `lang`, and the panel's `panel_wire`, `own` and `torsion`) are passed over.
AddressReading ReadDesignFragment(std::string_view fragment);

}  // namespace springcalc::web
