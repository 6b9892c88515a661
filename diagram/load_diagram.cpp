// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagram/load_diagram.h"

#include <fmt/compile.h>
#include <fmt/format.h>

#include "diagram/diagram_geometry.h"
#include "diagram/diagram_svg.h"

namespace springcalc {

std::string LoadDiagramSvg(const TSpringDesign& design, std::string_view name,
                           const DiagramTexts& texts, const StrengthFigures* strength) {
    return DiagramSvg(LayOutDiagram(design, name, texts, strength));
}

std::string TorsionDiagramSvg(const TorsionInput& input, const TorsionResult& result,
                              std::string_view name, const DiagramTexts& texts) {
    return DiagramSvg(LayOutTorsionDiagram(input, result, name, texts));
}

std::string DiagramFileName(std::size_t row, std::string_view name) {
    std::string file = fmt::format(FMT_COMPILE("{:03}"), row);
    if (!name.empty()) {
        file += '-';
        // Room for the row and ".svg" within the 255 bytes a file name may have.
        for (char c : name.substr(0, kMaxNameInFileName)) {
            const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                              (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
            file += kept ? c : '_';
        }
    }
    return file + ".svg";
}

}  // namespace springcalc
