// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page's own words, beside the window's: its messages and the panel's headings, captions and
// column names, in Japanese like the window. page.js shows them as they come from here.

#include <string_view>
#include <utility>

namespace springcalc::web {

// clang-format off
inline constexpr std::pair<const char*, const char*> kPageTexts[] = {
    // The command bar: its name, and the keys each command's tooltip gives
    {"commands",         "コマンド"},
    {"keyN1",            "Ctrl+Enter"},
    {"keyN2",            "Ctrl+S"},
    {"keyN3",            "Ctrl+P"},
    {"keyExit2",         "右クリックまたは Shift+F10 のメニューからも"},
    // Save and Print
    {"saveFailed",       "レポートを保存できませんでした。ファイルは保存前のままです。\n理由: "},
    {"fileGone",         "レポートを保存できませんでした。選んだファイルが見つかりません（移動か削除されたようです）。\n次の保存でファイルを選び直してください。"},
    {"encodeFailed",     "レポートを文字コード932に変換できませんでした。\nファイルには何も書き込んでいません。"},
    {"saved",            "レポートを追記しました: "},
    {"saveCancelled",    "保存を取りやめました。ファイルには何も書き込んでいません。"},
    {"permissionRefused", "ファイルへの書き込みが許可されませんでした。ファイルは保存前のままです: "},
    {"permissionNotAsked", "ブラウザーが書き込みの許可を尋ねられませんでした。もう一度保存を選ぶと尋ねます。ファイルは保存前のままです: "},
    {"reportFileName",   "springcalc-report.txt"},
    {"reportFileKind",   "テキスト(*.txt)"},
    // Which report a Save appends to, asked at the first Save and shown beside the commands
    {"choiceQuestion",   "レポートをどのファイルに保存しますか。"},
    {"appendExisting",   "既存のレポートに追記"},
    {"createReport",     "新しいレポートを作成"},
    {"cancel",           "キャンセル"},
    {"reportTarget",     "追記先: "},
    {"reportNone",       "追記先: まだ選んでいません（最初の保存で選びます）"},
    {"chooseAgain",      "追記先を選び直す"},
    {"downloadNote",     "このブラウザーはファイルに追記できません。保存のたびに、これまでのレポートをすべて含む1つのファイルをダウンロードします。最後にダウンロードしたファイルだけを残してください。"},
    {"downloadCount",    "保存済みのレポート: "},
    {"downloadUnit",     "件"},
    {"startNewReport",   "新しいレポートを始める"},
    {"downloaded",       "レポートをダウンロードしました。含まれるレポート: "},
    {"notKept",          "（このブラウザーの保存領域に入らないため、ページを閉じると消えます）"},
    {"newReportStarted", "新しいレポートを始めました。次の保存からのレポートだけをダウンロードします。"},
    {"targetForgotten",  "追記先を忘れました。次の保存でファイルを選びます。"},
    // The panel
    {"panel",            "計算結果の補足"},
    {"diagramHeading",   "荷重－長さ線図"},
    {"diagramNone",      "計算実行のあとに表示します。"},
    {"figuresHeading",   "使用時の数値"},
    {"searchHeading",    "設計の探索"},
    {"kind",             "ばねの種類"},
    {"compression",      "圧縮コイルばね"},
    {"extension",        "引張コイルばね"},
    {"installedPoint",   "取付時 荷重 kg ／ 長さ mm"},
    {"operatingPoint",   "作動時 荷重 kg ／ 長さ mm"},
    {"rate",             "またはばね定数 kg/mm"},
    {"maxOuterDia",      "外径の上限 mm"},
    {"minInnerDia",      "内径の下限 mm"},
    {"maxFreeLen",       "自由長の上限 mm"},
    {"maxSlenderness",   "縦横比の上限"},
    {"minFrequency",     "サージング振動数の下限 Hz"},
    {"allowBuckling",    "座屈を許す (案内付き)"},
    {"minTurns",         "有効巻数の下限"},
    {"repeated",         "繰返荷重で使用"},
    {"minFatigue",       "疲労安全率の下限"},
    {"peened",           "ショットピーニング材"},
    {"hookRadius",       "フックの曲げ半径 mm"},
    {"every",            "すべての設計を表示"},
    {"ends",             "座の条件"},
    {"materials",        "材質"},
    {"maxSpringIndex",   "ばね指数 D/d の上限"},
    {"tolerance",        "荷重の許容差 %"},
    {"top",              "表示件数"},
    {"order",            "並べ方"},
    {"byStress",         "応力の低い順"},
    {"byMass",           "軽い順"},
    {"searchButton",     "探索"},
    {"choose",           "読み込む"},
    {"searchNone",       "条件を満たす設計はありません。近いもの:"},
    {"searchCount",      "条件を満たす設計: "},
    {"badNumber",        "数値を正しく入力してください: "},
    {"noMaterial",       "材質を1つ以上選んでください。"},
    {"columns",          "材質|線径|D|n|自由長|取付長|作動長|外径|内径|ばね定数|応力比|質量 g|警告"},
    // The panel's figures of a spring maker's checks
    {"pitchRatio",       "ピッチ／D"},
    {"pitch",            "ピッチ"},
    {"pitchWithin",      "D/2以内"},
    {"gapSums",          "最短長でのすき間／必要なすき間 Sa"},
    {"strokeShare",      "密着までのたわみに対する最短長のたわみ"},
    {"coilClearance",    "コイルのすき間"},
    {"clearanceEnough",  "十分"},
    {"initialStress",    "初張力の応力 τ0／巻ける範囲"},
    {"initialTension",   "初張力"},
    {"initialWithin",    "範囲内"},
    // The panel's own initial tension of an extension spring, for its figures and diagram only
    {"givenTension",     "初張力 (指定) kg"},
    {"givenTensionNote", "空欄: 窓と同じ式の初張力。N、MPa、kg/mm2 の単位も使えます。"},
    {"badInitialTension", "初張力は 0〜10000 kg の荷重 (2.5、25N) か、0〜500 kg/mm² の初応力 (175MPa、17.8kg/mm2) で入力してください。"},
};
// clang-format on

// The text of `key`, for words the engine's bindings put together themselves.
constexpr const char* PageText(std::string_view key) {
    for (const auto& [name, text] : kPageTexts) {
        if (key == name) {
            return text;
        }
    }
    return "";
}

}  // namespace springcalc::web
