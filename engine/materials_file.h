// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A company's own wire, written down as a small text file that `check` and `search` read with
// --materials-file: a supplier's certificate, a hot-coiled bar beyond the standards' sizes.
//
//   # comments and blank lines are skipped
//   [MY-BAR-54SICR6]                   a material, by the name --materials and rows use
//   source = supplier certificate 4711  where the figures come from (shown with them)
//   G = 78500                           shear modulus, N/mm²
//   E = 206000                          Young's modulus, N/mm²
//   density = 7.85                      g/cm³
//   static-share = 0.5                  static allowable stress of a compression spring / Rm
//   strength = 14:1500, 20:1450         Rm (N/mm²) at diameters (mm): d:Rm, rising d
//   strength-formula = 1900 0.12        or Rm = A / d^m: A and m, with
//   range = 13 30                       the diameters (mm) it holds for
//   sizes = 14, 16, 18, 20              optional: the sizes a search tries (default: the
//                                       points' diameters, or none)
//   class = steel                       or stainless: the allowable stresses of hooks
//
// Everything but sizes and class is required. The reader tells every fault by line and field.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/wire_standards.h"

namespace springcalc {

struct MaterialsFileFault {
    enum class What {
        OutsideSection,  // a field before the first [NAME]
        BadLine,         // neither "[NAME]" nor "field = value"
        UnknownField,    // field: the name found
        Repeated,        // the field given twice in one material
        BadNumber,       // not a number in the field's range (least, most)
        BadPoints,       // not d:Rm pairs with rising d, each in range
        Missing,         // a required field absent from the material (line: its [NAME])
        BothStrengths,   // strength and strength-formula both given
        SameName,        // a second material of the same name, or a built-in standard's
        BadName,         // an empty name
        BadClass,        // neither steel nor stainless
        NoMaterial,      // a file with no material at all
    };
    long line = 0;
    std::string field;
    What what = What::BadLine;
    std::string found;  // the text at fault
    double least = 0;   // the range of a BadNumber or BadPoints
    double most = 0;
};

struct MaterialsFileReading {
    std::vector<std::shared_ptr<const WireMaterial>> materials;  // none when any fault
    std::vector<MaterialsFileFault> faults;
};

// `text` is the whole file. `sourceName` names the file in each material's source line.
MaterialsFileReading ReadMaterialsFile(std::string_view text, std::string_view sourceName);

}  // namespace springcalc
