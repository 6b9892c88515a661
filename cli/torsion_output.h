// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A torsion spring's row of `check`, in the table and in JSON. Its figures have nothing in
// common with the columns of compression and extension springs, so the table gives them on the
// row's own line as name=value pairs, and JSON under "torsion".

#include <string>
#include <vector>

#include "cli/design_file.h"
#include "engine/search_request.h"
#include "engine/spring_search.h"
#include "engine/torsion_spring.h"

namespace springcalc::cli {

void AppendTorsionTableRow(std::string& out, const DesignRow& input, const TorsionResult& result,
                           bool withNames, bool si);
// The members of the row's JSON object, between its braces.
void AppendTorsionJson(std::string& out, const DesignRow& input, const TorsionResult& result,
                       bool withNames, bool si);
// What `search --kind torsion` prints: the requirement, what was searched, and the best springs
// with the row that checks each, or why none passed.
void WriteTorsionSearch(std::string& out, const SearchRequest& request, const SearchResult& result);

}  // namespace springcalc::cli
