// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `springcalc-cli search --kind K --load P@L (--load P@L | --rate K) [limits] [output]`: the
// load requirement read from the options, the engine's search, and its result as text.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_io.h"
#include "engine/spring_search.h"

namespace springcalc::cli {

// `args` are those after the word "search". Returns the exit status.
int RunSearchCommand(const std::vector<std::string>& args, CliIo& io);

// The requirement the arguments state, or the reason they state none (in `problem`; empty
// when they ask for the help).
std::optional<SearchRequest> ReadSearchRequest(const std::vector<std::string>& args,
                                               std::string& problem);

// The requirement as understood, how much was searched, and either the best designs in order
// or, when none meets the requirement, the closest ones and why each falls short.
void WriteSearchResult(std::ostream& out, const SearchRequest& request, const SearchResult& result);

}  // namespace springcalc::cli
