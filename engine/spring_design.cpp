// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/spring_design.h"

namespace springcalc {

void FillTables(TSpringDesign& design) {
    for (int m = 0; m < kMaterialCount; ++m) {
        design.MaterialName[m] = std::string(kMaterials[m].name);
    }
    for (int w = 0; w < kWireCount; ++w) {
        design.WireDia[w] = kWires[w].diameter;
        design.WireDiaText[w] = std::string(kWires[w].text);
    }
    design.WireDiaText[kWireCount].clear();
}

}  // namespace springcalc
