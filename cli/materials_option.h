// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --materials-file, read for `check` and `search` alike: the user's own materials, or one line
// for each fault of the file and nothing else done.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_io.h"
#include "engine/materials_file.h"

namespace springcalc::cli {

// The materials of the file at `path`, or none after telling every fault on io.err.
std::optional<std::vector<std::shared_ptr<const WireMaterial>>> ReadMaterialsOption(
    const std::string& path, CliIo& io);

// One fault as a line of its own, without the program's name: "FILE:LINE: field: what".
std::string MaterialsFaultText(const std::string& file, const MaterialsFileFault& fault);

}  // namespace springcalc::cli
