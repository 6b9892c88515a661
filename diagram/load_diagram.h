// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The load–length diagram of one design as a standalone SVG picture: the spring line from the
// free length to the limit length, the installed and operating points with their loads, the
// solid length (compression) or the initial tension (extension), and the load at the static
// allowable stress. Lengths in mm on x, loads in kg on y.

#include <cstddef>
#include <string>
#include <string_view>

#include "diagram/diagram_texts.h"
#include "engine/spring_design.h"
#include "engine/strength_checks.h"
#include "engine/torsion_spring.h"

namespace springcalc {

// The picture of a design after Run; `name` may be empty. With `strength`, the figures of its
// strength checks, a check that binds before the allowable load is drawn as a line of its own.
std::string LoadDiagramSvg(const TSpringDesign& design, std::string_view name,
                           const DiagramTexts& texts = {},
                           const StrengthFigures* strength = nullptr);

// The moment–angle diagram of a torsion spring that ran, in the same style.
std::string TorsionDiagramSvg(const TorsionInput& input, const TorsionResult& result,
                              std::string_view name, const DiagramTexts& texts = {});

// "007-valve.svg" for row 7 named "valve": the row keeps files of equal names apart, and
// anything but ASCII letters, digits, '-', '_' and '.' becomes '_' so a name cannot leave DIR,
// and only the first kMaxNameInFileName bytes of the name count.
inline constexpr std::size_t kMaxNameInFileName = 200;
std::string DiagramFileName(std::size_t row, std::string_view name);

}  // namespace springcalc
