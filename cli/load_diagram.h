// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The load–length diagram of one design as a standalone SVG picture: the spring line from the
// free length to the limit length, the installed and operating points with their loads, the
// solid length (compression) or the initial tension (extension), and the load at the static
// allowable stress. Lengths in mm on x, loads in kg on y.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "service_figures.h"
#include "spring_design.h"

namespace springcalc::cli {

// What the picture shows of a design after Run, in the record's units: what the figures in
// service take of it, and the points and limits of its line.
struct DiagramInput : ServiceInput {
    std::string name;      // the design's name; may be empty
    std::string material;  // designation without padding, such as "SWPA"
    double solidLen = 0;   // compression only
    double limitLen = 0;
    double pset = 0;
    double pact = 0;
    double pmax = 0;
    double allowStress = 0;  // static allowable stress of the spring's kind, kg/mm^2
};

DiagramInput DiagramInputOf(const TSpringDesign& design, std::string name);

std::string LoadDiagramSvg(const DiagramInput& input);

// "007-valve.svg" for row 7 named "valve": the row keeps files of equal names apart, and
// anything but ASCII letters, digits, '-', '_' and '.' becomes '_' so a name cannot leave DIR,
// and only the first kMaxNameInFileName bytes of the name count.
inline constexpr std::size_t kMaxNameInFileName = 200;
std::string DiagramFileName(std::size_t row, std::string_view name);

}  // namespace springcalc::cli
