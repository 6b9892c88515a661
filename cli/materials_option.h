// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --materials-file, read for `check` and `search` alike: the user's own materials, or one line
// for each fault of the file and nothing else done.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_io.h"
#include "engine/materials_file.h"

namespace springcalc::cli {

// The materials of the file at `path`, or none after telling every fault on io.err.
std::optional<std::vector<std::shared_ptr<const WireMaterial>>> ReadMaterialsOption(
    const std::string& path, CliIo& io);

// --temperature's °C, or none when the text is no temperature within the range the
// modulus relation is taken over.
std::optional<double> TemperatureOf(std::string_view text);
// What --temperature was given that it does not take.
std::string TemperatureProblem(std::string_view text);

// One fault as a line of its own, without the program's name: "FILE:LINE: field: what".
std::string MaterialsFaultText(const std::string& file, const MaterialsFileFault& fault);

}  // namespace springcalc::cli
