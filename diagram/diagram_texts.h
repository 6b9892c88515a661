// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words of the load–length diagram, so that a caller can draw it in another language; the
// defaults are the command line's English. Each word is followed by its figures ("installed
// 12.0 mm, 0.32 kg"); the numbers themselves are written the same in every language.

#include <string>

namespace springcalc {

struct DiagramTexts {
    std::string free = "free";
    std::string installed = "installed";
    std::string operating = "operating";
    std::string limit = "limit";
    std::string solidLength = "solid length";
    // A compression spring's shortest working length with the coils' clearance kept.
    std::string shortestClear = "shortest with coil clearance";
    std::string initialTension = "initial tension";
    std::string allowableLoad = "load at the static allowable stress";
    // Where a strength check binds before the allowable load: an extension spring's hooks, or a
    // compression spring that takes a set when pressed solid.
    std::string hookLimit = "load at the hooks' allowable stress";
    std::string setLimit = "load pressed solid, which sets it";
    // Between a point's length and its load.
    std::string figureSeparator = ", ";
    std::string lengthAxis = "length (mm)";
    std::string loadAxis = "load (kg)";
    // The title: the name, then the material and the kind.
    std::string nameSeparator = " — ";
    std::string compressionSpring = ", compression spring";
    std::string extensionSpring = ", extension spring";
    // Units, after a space.
    std::string mm = "mm";
    std::string kg = "kg";
    std::string kgPerMm = "kg/mm";
    std::string kgPerMm2 = "kg/mm²";
    // A torsion spring's moment–angle diagram: the same points (free, installed, operating,
    // limit) on angle and moment axes.
    std::string angleAxis = "angle from free (°)";
    std::string momentAxis = "moment (kg·mm)";
    std::string torsionSpring = ", torsion spring";
    std::string allowableMoment = "moment at the allowable bending stress";
    // Where the body, winding up, closes to the least clearance on its mandrel.
    std::string mandrelClearance = "least clearance on the mandrel";
    // Units of a torsion spring; the degree sign follows its number without a space.
    std::string degree = "°";
    std::string kgMm = "kg·mm";
    std::string kgMmPerDegree = "kg·mm/°";
};

}  // namespace springcalc
