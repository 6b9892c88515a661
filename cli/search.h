// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `springcalc-cli search --kind K --load P@L (--load P@L | --rate K) [limits] [output]`: the
// load requirement read from the options, the engine's search, and its result as text.

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_io.h"
#include "engine/spring_search.h"

namespace springcalc::cli {

// `args` are those after the word "search". Returns the exit status.
int RunSearchCommand(const std::vector<std::string>& args, CliIo& io);

// What `search` makes of its arguments: the help asked for, a problem with the options
// themselves (one it does not know, an operand), or the engine's reading of the requirement.
struct SearchArguments {
    bool help = false;
    std::string optionProblem;
    SearchReading reading;
    std::optional<std::string> materialsFile;  // --materials-file, read by the caller
    std::optional<double> temperature;         // --temperature, in °C
};
// `own`: the materials of --materials-file, which --materials may name.
SearchArguments ReadSearchArguments(
    const std::vector<std::string>& args,
    const std::vector<std::shared_ptr<const WireMaterial>>& own = {});
// What is wrong with a requirement, in the command line's words.
std::string SearchFaultText(const SearchFault& fault);

// The requirement the arguments state, or the reason they state none (in `problem`; empty
// when they ask for the help).
std::optional<SearchRequest> ReadSearchRequest(const std::vector<std::string>& args,
                                               std::string& problem);

// The requirement as understood, how much was searched, and either the best designs in order
// or, when none meets the requirement, the closest ones and why each falls short.
void WriteSearchResult(std::ostream& out, const SearchRequest& request, const SearchResult& result);

// The line on standard error that tells how far a search has got, once it has taken longer
// than kProgressAfter seconds, and only where standard error is a terminal: rewritten in
// place, and wiped when the search is done.
inline constexpr double kProgressAfter = 1.0;
// The search's bound of work (kSearchWorkBudget) keeps it within about 2 s; on a slow or busy
// machine this stops it all the same, and the answer says so.
inline constexpr double kSearchSeconds = 1.9;
class ProgressLine {
public:
    explicit ProgressLine(CliIo& io);
    ~ProgressLine() { Clear(); }
    // For SearchDesigns: false once the search has taken kSearchSeconds.
    bool Show(const SearchProgress& progress);
    void Clear();

private:
    CliIo& io_;
    double start_ = 0;
    size_t shown_ = 0;  // the width of the line on the terminal, 0 when there is none
    std::string text_;  // what it says
};

}  // namespace springcalc::cli
