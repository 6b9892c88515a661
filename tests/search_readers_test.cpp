// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's options and the page's form are read by the same reader: the same
// requirement typed into either gives the same request, or the same fault, worded in English on
// the command line and in Japanese in the page.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/search.h"
#include "web/web_panel.h"

namespace springcalc {
namespace {

struct Row {
    const char* what;
    std::vector<std::string> args;           // after "search"
    std::vector<web::SearchFormEntry> form;  // as page.js sends the boxes filled in
    SearchFault::What fault = SearchFault::What::None;
    const char* japanese = "";  // a part of the page's message
};

const std::vector<web::SearchFormEntry> kCompressionPoints = {
    {"kind", "compression", 0}, {"load", "1@20", 0}, {"load", "2@15", 1}};

std::vector<web::SearchFormEntry> With(std::vector<web::SearchFormEntry> form,
                                       std::vector<web::SearchFormEntry> more) {
    form.insert(form.end(), more.begin(), more.end());
    return form;
}

TEST(SearchReaders, TheCommandLineAndThePageReadAlike) {
    using What = SearchFault::What;
    const std::vector<std::string> points = {"--kind", "compression", "--load",
                                             "1@20",   "--load",      "2@15"};
    const auto args = [&](std::vector<std::string> more) {
        std::vector<std::string> all = points;
        all.insert(all.end(), more.begin(), more.end());
        return all;
    };
    const Row rows[] = {
        {"a slenderness limit on an extension spring",
         {"--kind", "extension", "--load", "1@15", "--load", "2@20", "--max-slenderness", "4"},
         {{"kind", "extension", 0},
          {"load", "1@15", 0},
          {"load", "2@20", 1},
          {"max-slenderness", "4", 0}},
         What::WrongKind,
         "は圧縮コイルばねだけの条件です"},
        {"a hook radius on a compression spring", args({"--hook-radius", "1"}),
         With(kCompressionPoints, {{"hook-radius", "1", 0}}), What::WrongKind,
         "は引張コイルばねだけの条件です"},
        {"peened without repeated load", args({"--peened"}),
         With(kCompressionPoints, {{"peened", "", 0}}), What::NeedsRepeated, "繰返荷重で使用"},
        {"an unknown material", args({"--materials", "SWPB,SWX"}),
         With(kCompressionPoints, {{"materials", "SWPB,SWX", 0}}), What::UnknownMaterial,
         "「SWX」という材質はありません"},
        {"ends with buckling allowed", args({"--ends", "fixed-free", "--allow-buckling"}),
         With(kCompressionPoints, {{"ends", "fixed-free", 0}, {"allow-buckling", "", 0}}),
         What::Contradicts, "は一緒に指定できません"},
        {"a hexadecimal count", args({"--top", "0x2"}),
         With(kCompressionPoints, {{"top", "0x2", 0}}), What::BadValue, "「表示件数」（1〜1000）"},
        {"loads in newtons",
         {"--kind", "compression", "--load", "9.80665N@20", "--load", "19.6133N@15"},
         {{"kind", "compression", 0}, {"load", "9.80665N@20", 0}, {"load", "19.6133N@15", 1}}},
        {"the heavier load at the longer length",
         {"--kind", "compression", "--load", "1@15", "--load", "2@20"},
         {{"kind", "compression", 0}, {"load", "1@15", 0}, {"load", "2@20", 1}},
         What::WrongWay,
         "圧縮コイルばねは、重い荷重を短い長さで受けます"},
        {"a rate in newtons per mm",
         {"--kind", "compression", "--load", "1@20", "--rate", "2N/mm"},
         {{"kind", "compression", 0}, {"load", "1@20", 0}, {"rate", "2N/mm", 0}}},
        {"the operating point half given, with a rate",
         {"--kind", "compression", "--load", "1@20", "--load", "2@", "--rate", "1"},
         {{"kind", "compression", 0}, {"load", "1@20", 0}, {"load", "2@", 1}, {"rate", "1", 0}},
         What::BadValue,
         "「作動時"},
        {"an initial tension as a stress",
         {"--kind", "extension", "--load", "1@15", "--load", "2@20", "--initial-tension", "175MPa"},
         {{"kind", "extension", 0},
          {"load", "1@15", 0},
          {"load", "2@20", 1},
          {"initial-tension", "175MPa", 0}}},
        {"every option of a maker's judgement",
         args({"--max-stress-ratio", "0.8", "--max-pitch-ratio", "0.6", "--allow-close-coils",
               "--solid-safe", "--repeated", "--min-fatigue", "1.2", "--tolerance", "3%", "--by",
               "stress", "--all"}),
         With(kCompressionPoints, {{"max-stress-ratio", "0.8", 0},
                                   {"max-pitch-ratio", "0.6", 0},
                                   {"allow-close-coils", "", 0},
                                   {"solid-safe", "", 0},
                                   {"repeated", "", 0},
                                   {"min-fatigue", "1.2", 0},
                                   {"tolerance", "3%", 0},
                                   {"by", "stress", 0},
                                   {"all", "", 0}})},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const cli::SearchArguments line = cli::ReadSearchArguments(row.args);
        ASSERT_EQ(line.optionProblem, "");
        const SearchReading page = web::ReadSearchForm(row.form);
        EXPECT_EQ(line.reading.request, page.request);
        EXPECT_EQ(line.reading.fault, page.fault);
        EXPECT_EQ(page.fault.what, row.fault);
        if (row.fault != What::None) {
            EXPECT_NE(cli::SearchFaultText(line.reading.fault), "");
            const std::string japanese = web::SearchFaultText(page.fault, row.form);
            EXPECT_NE(japanese.find(row.japanese), std::string::npos) << japanese;
        }
    }
}

}  // namespace
}  // namespace springcalc
