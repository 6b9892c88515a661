// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The diagram's description written as a standalone SVG document: the colours, strokes and
// type of every mark, and element ids and classes that name what each one shows.

#include <string>

#include "diagram/diagram_geometry.h"

namespace springcalc {

std::string DiagramSvg(const DiagramGeometry& geometry);

}  // namespace springcalc
