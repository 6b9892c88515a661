// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a user enters for one design: the spring kind, the selection and the five inputs. The
// samples, the command line's rows, the search's candidates and the web page all hand a design
// to the engine in this form.

#include <cstdint>
#include <optional>

#include "engine/spring_design.h"

namespace springcalc {

struct DesignInput {
    std::int32_t springKind = kCompression;
    std::int32_t materialNo = 0;
    std::int32_t wireNo = 0;
    float meanDia = 0;  // D, mm
    float turns = 0;    // n, active turns
    float freeLen = 0;  // L0, mm; an extension spring derives its own, and this is not used
    float setLen = 0;   // L1, mm
    float workLen = 0;  // L2, mm
    // An extension spring's initial tension P0 in kg as the designer asks for it, used instead
    // of the formula's G·d⁴/(255·D²). The window never gives one; a compression spring ignores it.
    std::optional<float> initialTension;
    // Wire by a standard or the user's own, kept alive by the caller while the design runs;
    // materialNo and wireNo are not read then.
    const WireSelection* wire = nullptr;
};

}  // namespace springcalc
