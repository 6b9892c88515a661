// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue's lookups, and the warning list's tooltip the window and the page both show.
#include "engine/words.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/window_texts.h"

namespace springcalc {
namespace {

TEST(Words, RuntimeLookupFindsWhatTheCompiledOneDoes) {
    EXPECT_STREQ(WordOf("warning1"), Words("warning1"));
    EXPECT_STREQ(WordOf("tip.Label36"), "ばね定数 k（kg/mm）= G·d⁴ / (8·n·D³)。");
    EXPECT_STREQ(WordOf("no such key"), "");
    EXPECT_STREQ(WordOf(""), "");
}

TEST(Words, WindowTextsKeepTheirBytes) {
    // Spaces the window pads its titles and Label9 with are part of the text.
    EXPECT_STREQ(kCompressionTitle, "  圧縮コイルバネの設計 ");
    EXPECT_STREQ(kExtensionTitle, "  引張コイルバネの設計 ");
    EXPECT_STREQ(Words("extensionLimit"), "許容引張長 ");
    EXPECT_STREQ(kWarningTexts[6], "自由長より短い設定があります");
}

TEST(WarningListNote, ExplainsEachWarningOnceInTheListsOrder) {
    const struct {
        std::string lines;
        std::string note;
    } cases[] = {
        {"", "警告なし：設計はどの規則も破っていません。"},
        {"\n\n", "警告なし：設計はどの規則も破っていません。"},
        {"not a warning\n", "警告なし：設計はどの規則も破っていません。"},
        {"許容応力を越えています\n",
         "許容応力を越えています：τset か τact が静荷重許容応力 τa を越えています。"},
        // The window indents nothing, but a line typed into the list may carry spaces.
        {"  線径が規格外です \n許容応力を越えています\n線径が規格外です\n",
         "線径が規格外です：この線径はこの材質にありません。計算実行できません。\n"
         "許容応力を越えています：τset か τact が静荷重許容応力 τa を越えています。"},
        {"D/dを４以上にして下さい",
         "D/dを４以上にして下さい：ばね指数 D/d が4未満です。コイル平均径を大きくするか線径を"
         "細くしてください。計算実行できません。"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WarningListNote(c.lines), c.note) << c.lines;
    }
}

}  // namespace
}  // namespace springcalc
