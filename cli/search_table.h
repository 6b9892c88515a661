#pragma once
// What `search` prints: the requirement as understood, how much was searched, and either the
// best designs in order or, when none meets the requirement, the closest ones and why each
// falls short.

#include <ostream>

#include "spring_search.h"

namespace springcalc::cli {

void WriteSearchResult(std::ostream& out, const SearchRequest& request, const SearchResult& result);

}  // namespace springcalc::cli
