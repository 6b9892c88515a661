#pragma once
// `springcalc-cli search --kind K --load P@L (--load P@L | --rate K) [limits] [output]`

#include <optional>
#include <string>
#include <vector>

#include "cli_io.h"
#include "spring_search.h"

namespace springcalc::cli {

extern const char* const kSearchHelp;

// The requirement the arguments state, or the reason they state none (in `problem`).
std::optional<SearchRequest> ReadSearchRequest(const std::vector<std::string>& args,
                                               std::string& problem);

// `args` are those after the word "search". Returns the exit status.
int RunSearchCommand(const std::vector<std::string>& args, CliIo& io);

}  // namespace springcalc::cli
