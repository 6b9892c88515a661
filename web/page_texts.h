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
    // Each arrow of a spinner is named as on the desktop: the spinner's name and this
    {"arrowUp",          "上"},
    {"arrowDown",        "下"},
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
    // The design kept in the page's address, and its datasheet
    {"copyLink",         "リンクをコピー"},
    {"copyLinkTitle",    "この設計を開くアドレスをコピーします（送った相手のページに同じ設計が開きます）"},
    {"linkCopied",       "この設計のリンクをコピーしました。"},
    {"linkNotCopied",    "リンクをコピーできませんでした。アドレス欄のアドレスをコピーしてください。"},
    {"addressIgnored",   "アドレスの設計は読み込みませんでした。"},
    {"addressOtherVersion", "別の版のアドレスです"},
    {"addressUnreadable", "読めない項目があります"},
    {"addressOutOfRange", "窓で設定できる範囲の外の値があります"},
    {"addressStart",     "。初めの設計で始めます。"},
    {"keep",             "設計の共有と印刷"},
    {"printDatasheet",   "データシート印刷"},
    {"printDatasheetTitle", "窓の値、使用時の数値と荷重－長さ線図をA4用紙1枚に印刷します（計算実行のあと）"},
    {"datasheetTitle",   "コイルばね データシート"},
    {"datasheetWindow",  "設計と計算結果"},
    {"datasheetAddress", "この設計のアドレス: "},
    {"newVersion",       "新しい版を取り込みました。ページを読み込み直すと新しい版で開きます。"},
    // Told to a screen reader after Run, with the fields Run changed and the warning lines
    {"runDone",          "計算しました。"},
    {"listSeparator",    "、"},
    {"warningsAre",      "警告: "},
    {"noWarnings",       "警告はありません。"},
    // The panel
    {"panel",            "計算結果の補足"},
    {"unitsNote",        "この欄の単位: 長さ mm、荷重 kg（重量キログラム、kgf）、応力 kg/mm²（窓の Kg/mm^2 と同じ）、エネルギー kgf·mm、質量 g"},
    {"diagramHeading",   "荷重－長さ線図"},
    {"diagramNone",      "計算実行のあとに表示します。"},
    {"figuresHeading",   "使用時の数値"},
    {"searchHeading",    "設計の探索"},
    // The search form: a label for each field of the engine's table, under its name
    {"kind",             "ばねの種類"},
    {"compression",      "圧縮コイルばね"},
    {"extension",        "引張コイルばね"},
    {"load1",            "取付時 荷重 kg（N は 49N のように）／ 長さ mm"},
    {"load2",            "作動時 荷重 kg（N は 49N のように）／ 長さ mm"},
    {"rate",             "またはばね定数 kg/mm"},
    {"repeated",         "繰返荷重で使用"},
    {"min-fatigue",      "疲労安全率の下限"},
    {"peened",           "ショットピーニング材"},
    {"hook-radius",      "フックの曲げ半径 mm"},
    {"max-index",        "ばね指数 D/d の上限"},
    {"min-turns",        "有効巻数の下限"},
    {"ends",             "座の条件"},
    {"allow-buckling",   "座屈を許す (案内付き)"},
    {"no-buckling",      "座屈させない"},
    {"max-stress-ratio", "静荷重許容応力に対する応力の上限 (比)"},
    {"max-pitch-ratio",  "ピッチ／D の上限"},
    {"allow-close-coils","コイルのすき間が Sa より狭くてもよい"},
    {"any-initial-tension", "巻けない初張力でもよい"},
    {"initial-tension",  "初張力 (指定) kg（N、MPa も可）"},
    {"solid-safe",       "密着させてもへたらないものだけ"},
    {"max-od",           "外径の上限 mm"},
    {"min-id",           "内径の下限 mm"},
    {"max-free-len",     "自由長の上限 mm"},
    {"max-slenderness",  "縦横比の上限"},
    {"min-frequency",    "サージング振動数の下限 Hz"},
    {"materials",        "材質"},
    {"tolerance",        "荷重の許容差 %"},
    {"by",               "並べ方"},
    {"mass",             "軽い順"},
    {"stress",           "応力の低い順"},
    {"all",              "すべての設計を表示"},
    {"top",              "表示件数"},
    {"load1-load",       "取付時の荷重 kg"},
    {"load1-length",     "取付時の長さ mm"},
    {"load2-load",       "作動時の荷重 kg"},
    {"load2-length",     "作動時の長さ mm"},
    {"loadSeparator",    " ／ "},
    {"searchButton",     "探索"},
    // A search running in the background, its progress and its end
    {"searchRunning",    "探索中…"},
    {"searchLooked",     " これまでに調べた設計 "},
    {"searchWires",      "、材質と線径 "},
    {"searchOf",         "／"},
    {"searchWidening",   "（標準の寸法比を広げて再探索中）"},
    {"searchStop",       "中止"},
    {"searchStopped",    "探索を中止しました。"},
    {"searchFailed",     "探索を実行できませんでした: "},
    {"choose",           "読み込む"},
    {"chooseColumn",     "窓に読み込む"},
    {"searchNone",       "条件を満たす設計はありません。近いもの:"},
    {"searchCount",      "条件を満たす設計: "},
    // What is wrong with a requirement ("「" label "」" goes before the words that need it)
    {"badNumber",        "数値を正しく入力してください: "},
    {"badChoice",        "選び直してください: "},
    {"forCompression",   "は圧縮コイルばねだけの条件です。"},
    {"forExtension",     "は引張コイルばねだけの条件です。"},
    {"needLoadOrRate",   "作動時の荷重と長さ、またはばね定数のどちらか一方を入力してください。"},
    {"rateWithTwoLoads", "作動時の荷重と長さを入れたときは、ばね定数を空けてください。"},
    {"loadsEqual",       "取付時と作動時は、荷重も長さも違う値にしてください。"},
    {"wrongWayCompression", "圧縮コイルばねは、重い荷重を短い長さで受けます。"},
    {"wrongWayExtension",   "引張コイルばねは、重い荷重を長い長さで受けます。"},
    {"noMaterial",       "材質を1つ以上選んでください。"},
    {"unknownMaterial",  "という材質はありません。"},
    {"and",              "と"},
    {"together",         "は一緒に指定できません。"},
    {"needsRepeated",    "は「繰返荷重で使用」と一緒に選んでください。"},
    {"formFault",        "探索の条件を読めません: "},
    // The result columns with their units, and what a column's heading says on hover ('|'
    // between columns; empty, nothing)
    {"columns",          "材質|線径 mm|コイル平均径 D mm|有効巻数 n|自由長 mm|取付長 mm|作動長 mm|外径 mm|内径 mm|ばね定数 kg/mm|応力比 %|線全体の質量 g|警告"},
    {"columnNotes",      "||||||||||作動時の応力の、静荷重許容応力に対する割合|座巻・フックまで含めた線全体の質量（使用時の数値の「有効巻部だけの質量」とは別）|番号にポインターを置くと警告の内容を表示します"},
    {"warningNumber",    "警告"},
    // The panel's units, written one way (the window keeps its own Kg/mm^2)
    {"stressUnit",       " kg/mm²"},
    {"stressUnitClosed", ") kg/mm²"},
    {"energyUnit",       " kgf·mm"},
    // The load–length diagram's words
    {"diagramFree",      "自由長"},
    {"diagramInstalled", "取付長"},
    {"diagramOperating", "作動長"},
    {"diagramCompressionLimit", "許容圧縮長"},
    {"diagramExtensionLimit", "許容引張長"},
    {"diagramSolid",     "圧縮端長"},
    {"diagramShortestClear", "すき間を残す最短長"},
    {"diagramInitialTension", "初張力"},
    {"diagramAllowableLoad", "静荷重許容応力での荷重"},
    {"diagramHookLimit", "フック許容応力での荷重"},
    {"diagramSetLimit",  "密着時の荷重 (へたりが生じる)"},
    {"diagramLengthAxis", "長さ (mm)"},
    {"diagramLoadAxis",  "荷重 (kg)"},
    {"diagramNameSeparator", " — "},
    {"diagramCompression", "、圧縮コイルばね"},
    {"diagramExtension", "、引張コイルばね"},
    // The figures in service
    {"slenderness",      "縦横比 λ (自由長／D)"},
    {"criticalDeflection", "座屈が始まるたわみ (両端固定)"},
    {"noBuckling",       "座屈しない"},
    {"workDeflection",   "作動長までのたわみ"},
    {"buckling",         "座屈"},
    {"none",             "なし"},
    {"surgeFrequency",   "サージング振動数 (両端固定)"},
    {"energy",           "取付長から作動長までのエネルギー"},
    {"wahl",             "応力修正係数 K (Wahl)"},
    {"correctedStresses", "修正応力 取付時／作動時"},
    {"solidStress",      "密着時の応力 (修正)"},
    {"solidSet",         "密着時のへたり"},
    {"hookBending",      "フック曲げ応力／許容"},
    {"hookTorsion",      "フックねじり応力／許容"},
    {"hook",             "フック"},
    {"withinAllowable",  "許容応力以内"},
    {"fatigueSafety",    "疲労安全率 (Goodman、ショットピーニングなし)"},
    {"noFatigueData",    "線径10 mm以上はデータなし"},
    // The mass of the active turns alone, beside the search's mass of the whole wire
    {"activeMass",       "有効巻部だけの質量（座巻・フックを除く）"},
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

// What a screen reader calls each value field of the window: its caption as said aloud (the
// window spaces some captions out, and some fields have none), and the label beside it that
// gives its unit, if any.
struct SpokenField {
    const char* name;
    const char* spoken;
    const char* unit;
};
inline constexpr SpokenField kSpokenFields[] = {
    {"Label25", "材質",           ""},
    {"Label26", "線径",           ""},
    {"Label27", "コイル平均径",   ""},
    {"Label28", "有効巻数",       ""},
    {"Label29", "自由長",         ""},
    {"Label30", "取付長",         ""},
    {"Label31", "作動長",         ""},
    {"Label48", "圧縮端長",       ""},
    {"Label32", "許容圧縮長",     ""},
    {"Label45", "内径と外径",     ""},
    {"Label33", "静荷重許容応力", "Label21"},
    {"Label34", "動荷重許容応力", "Label23"},
    {"Label35", "横弾性係数",     ""},
    {"Label36", "バネ定数",       "Label22"},
    {"Label37", "初張力",         "Label24"},
    {"Label38", "τset",           ""},
    {"Label39", "τact",           ""},
    {"Label40", "τmax",           ""},
    {"Label41", "Ｐset",          ""},
    {"Label42", "Ｐact",          ""},
    {"Label43", "Ｐmax",          ""},
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

// The same for a key written in the code: one missing from the table does not compile, so no
// figure of the panel goes out without its words.
consteval const char* PageWords(std::string_view key) {
    for (const auto& [name, text] : kPageTexts) {
        if (key == name) {
            return text;
        }
    }
    throw "no such key in kPageTexts";
}

}  // namespace springcalc::web
