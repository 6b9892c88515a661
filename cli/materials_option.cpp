// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/materials_option.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "cli/input_values.h"
#include "engine/input_text.h"
#include "engine/wire_standards.h"
#include "text/utf8_text.h"

namespace springcalc::cli {

namespace {

// A materials file holds a few dozen lines; anything far larger is not one.
constexpr std::streamsize kMostBytes = 1 << 20;

std::string RangeWords(const MaterialsFileFault& fault) {
    return "from " + ShortestText(fault.least) + " to " + ShortestText(fault.most);
}

}  // namespace

std::string MaterialsFaultText(const std::string& file, const MaterialsFileFault& fault) {
    using What = MaterialsFileFault::What;
    std::string text = Escaped(file);
    if (fault.line > 0) {
        text += ":" + std::to_string(fault.line);
    }
    text += ": ";
    if (!fault.field.empty()) {
        text += "field \"" + Escaped(fault.field) + "\": ";
    }
    const std::string found = "\"" + Escaped(fault.found) + "\"";
    switch (fault.what) {
        case What::OutsideSection:
            return text + "comes before the first [NAME] of a material";
        case What::BadLine:
            return text + "found " + found + ", expected [NAME] or field = value";
        case What::UnknownField:
            return text +
                   "no such field; the fields are source, G, E, density, static-share, "
                   "strength, strength-formula, range, sizes and class";
        case What::Repeated:
            return text + "given twice for one material";
        case What::BadNumber:
            return text + "found " + found + ", expected a number " + RangeWords(fault);
        case What::BadPoints:
            return text + "found " + found +
                   ", expected diameter:strength pairs (mm:N/mm²) with rising diameters from "
                   "0.01 to 200 mm and strengths " +
                   RangeWords(fault);
        case What::Missing:
            return text + "missing from material " + found;
        case What::BothStrengths:
            return text + "material " + found +
                   " gives both strength points and a formula; give one";
        case What::SameName:
            return text + "the name " + found + " is already taken by another material";
        case What::BadName:
            return text + "a material needs a name between [ and ]";
        case What::BadClass:
            return text + "found " + found + ", expected steel or stainless";
        case What::NoMaterial:
            return text + "no material in the file; each starts with [NAME]";
    }
    return text;
}

std::optional<std::vector<std::shared_ptr<const WireMaterial>>> ReadMaterialsOption(
    const std::string& path, CliIo& io) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        io.err << kProgramName << ": cannot read " << Escaped(path) << ": " << std::strerror(errno)
               << "\n";
        return std::nullopt;
    }
    std::string text;
    text.resize(static_cast<size_t>(kMostBytes) + 1);
    in.read(text.data(), kMostBytes + 1);
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > static_cast<size_t>(kMostBytes)) {
        io.err << kProgramName << ": " << Escaped(path)
               << ": more than 1 MiB, which no materials file is\n";
        return std::nullopt;
    }
    const MaterialsFileReading reading = ReadMaterialsFile(text, path);
    for (const MaterialsFileFault& fault : reading.faults) {
        io.err << kProgramName << ": " << MaterialsFaultText(path, fault) << "\n";
    }
    if (!reading.faults.empty()) {
        return std::nullopt;
    }
    return reading.materials;
}

std::optional<double> TemperatureOf(std::string_view text) {
    const std::optional<double> celsius = ParseDouble(text);
    return celsius && *celsius >= kLeastTemperature && *celsius <= kMostTemperature ? celsius
                                                                                    : std::nullopt;
}

std::string TemperatureProblem(std::string_view text) {
    return "--temperature takes °C from " + ShortestText(kLeastTemperature) + " to " +
           ShortestText(kMostTemperature) + ", not \"" + std::string(text) + "\"";
}

}  // namespace springcalc::cli
