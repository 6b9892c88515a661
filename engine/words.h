// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every word the program shows a person, in one table keyed by a name: the window's captions,
// titles, warnings and tooltips, its messages, the report's lines, the page's and the panel's
// words and the diagram's. Each front end looks its words up here, so a text is written once; the
// page's English is the second column, engine/words_english.h, found by the same key.
//
// A table compiled in rather than a gettext catalogue: the WebAssembly build gets its words with
// no library or message file to load at run time, and a key written in the code is checked when
// it compiles (Words() is consteval), so no caption or message can go out missing.
//
// The window's texts are its own to the byte, spaces included (the window and report tests hold
// them); the report's lines are fmt formats, whose {} fields the report fills in.

#include <string_view>

namespace springcalc {

struct Word {
    std::string_view key;
    const char* japanese;
};

// clang-format off
inline constexpr Word kWords[] = {
    // ---- The window: its caption, the kind's title, the captions the window keeps
    {"windowCaption",    "Pellacor１：コイルばねの設計 Ver 0.92"},
    {"titleCompression", "  圧縮コイルバネの設計 "},
    {"titleExtension",   "  引張コイルバネの設計 "},
    {"caption.Label49",  "自由長"},
    {"caption.Label2",   "材        質"},
    {"caption.Label3",   "線        径"},
    {"caption.Label4",   "ｺｲﾙ平均径"},
    {"caption.Label5",   "有 効 巻数"},
    {"caption.Label6",   "自  由   長"},
    {"caption.Label7",   "取  付   長"},
    {"caption.Label8",   "作  動   長"},
    {"caption.Label46",  "圧 縮 端 長"},
    {"caption.Label45",  "内径２３．４５  外径２３．４５"},
    {"caption.Label10",  "静荷重許容応力"},
    {"caption.Label11",  "動荷重許容応力"},
    {"caption.Label12",  "横弾性係数"},
    {"caption.Label13",  "バネ定数"},
    {"caption.Label14",  "初  張  力"},
    {"caption.Label18",  "Ｐset"},
    {"caption.Label19",  "Ｐact"},
    {"caption.Label20",  "Ｐmax"},
    {"caption.Label47",  "警告！"},
    // Label9 names the limit of the kind shown (the extension's keeps its trailing space)
    {"compressionLimit", "許容圧縮長"},
    {"extensionLimit",   "許容引張長 "},
    // Label45 after Run: "内径 %.2f 外径 %.2f"
    {"innerDiameter",    "内径 "},
    {"outerDiameter",    " 外径 "},
    // The date stamp of a run, "%d年%d月%d日 %2d:%2d"
    {"year",             "年"},
    {"month",            "月"},
    {"day",              "日 "},
    // What a screen reader calls each spinner pair (the arrows add arrowUp and arrowDown)
    {"spoken.UpDown1",   "材質"},
    {"spoken.UpDown2",   "線径"},
    {"spoken.UpDown3",   "コイル平均径"},
    {"spoken.UpDown4",   "有効巻数"},
    {"spoken.UpDown5",   "自由長"},
    {"spoken.UpDown6",   "取付長"},
    {"spoken.UpDown7",   "作動長"},
    {"spoken.UpDown9",   "コイル平均径 10"},
    {"spoken.UpDown8",   "ばねの種類"},
    {"spoken.UpDown10",  "自由長 10"},
    {"spoken.UpDown11",  "取付長 10"},
    {"spoken.UpDown12",  "作動長 10"},
    {"spoken.UpDown13",  "サンプル"},
    {"spoken.UpDown14",  "有効巻数 10"},
    // The window's value fields as said aloud where neither their spinner's name nor a caption
    // says it (the window spaces some captions out, and some fields have none)
    {"spoken.Label48",   "圧縮端長"},
    {"spoken.Label45",   "内径と外径"},
    // Result fields whose caption says them in full in Japanese, and shortened in English
    {"spoken.Label32",   "許容圧縮長"},
    {"spoken.Label33",   "静荷重許容応力"},
    {"spoken.Label34",   "動荷重許容応力"},
    {"spoken.Label35",   "横弾性係数"},
    {"spoken.Label36",   "バネ定数"},
    {"spoken.Label37",   "初張力"},
    {"spoken.Label38",   "τset"},
    {"spoken.Label39",   "τact"},
    {"spoken.Label40",   "τmax"},
    // The drawings of the window's head: their names and what they show
    {"spoken.Image1",    "圧縮コイルばねの図"},
    {"spoken.Image2",    "引張コイルばねの図"},
    {"described.Image1", "横から見た圧縮コイルばね。両端は平らな座面で、下の寸法線が自由長。"},
    {"described.Image2", "横から見た引張コイルばね。両端に丸フック、下の寸法線がフック内側間の自由長。"},
    // The pop-up menu and the save dialog's file types
    {"menu.N1",          "計算実行"},
    {"menu.N2",          "保存"},
    {"menu.N3",          "画面印刷"},
    {"menu.Exit2",       "終了"},
    {"filter.txt",       "テキスト(*..txt)"},
    {"filter.spr",       "スプリング(*.spr)"},
    {"filter.bne",       "ばね(*.bne)"},
    {"filter.all",       "全てのFile(*.*)"},
    // The Windows name of the window's Gothic face, asked for first
    {"fontWindows",      "ＭＳ Ｐゴシック"},

    // ---- The warnings by number: 1 to 7 the window's, 8 to 14 the panel's and the command line's
    {"warning1",         "D/dを４以上にして下さい"},
    {"warning2",         "許容応力を越えています"},
    {"warning3",         "圧縮端まで使えません"},
    {"warning4",         "繰返荷重での使用に注意"},
    {"warning5",         "線径が規格外です"},
    {"warning6",         "圧縮端より短い設定があります"},
    {"warning7",         "自由長より短い設定があります"},
    {"warning8",         "座屈の恐れがあります"},
    {"warning9",         "フックの応力が許容応力を越えています"},
    {"warning10",        "密着させるとへたりが生じます"},
    {"warning11",        "疲労安全率が１未満です"},
    {"warning12",        "作動時のコイルのすき間が不足しています"},
    {"warning13",        "ピッチがコイル平均径の半分を越えています"},
    {"warning14",        "初張力が巻ける範囲を外れています"},
    // A torsion spring's warnings, in the command line and the panel
    {"warning21",        "曲げ応力が許容応力を越えています"},
    {"warning22",        "マンドレルとのすき間が不足しています"},
    {"warning23",        "ばね指数が４〜２０の範囲外です"},

    // ---- What hovering explains: each caption and result field of the window (what the value
    // is, its unit and, for a result, its formula), then what each of warnings 1 to 7 means, as
    // the warning list's own tooltip gives it after "message：".
    {"tip.Label2", "材質：ばねの材料（9種類）。右の矢印で選びます。許容応力と横弾性係数が決まります。"},
    {"tip.Label3", "線径 d（mm）：右の矢印で規格の46種類から選びます。材質にない線径は橙色になり、計算実行できません。"},
    {"tip.Label4", "コイル平均径 D（mm）：右の矢印で 0.1 mm、左の矢印で 10 mm ずつ。ばね指数 c = D / d が4未満では計算実行できません。"},
    {"tip.Label5", "有効巻数 n（巻）：右の矢印で 0.5 巻、左の矢印で 10 巻ずつ。"},
    {"tip.Label6", "自由長 L0（mm）：荷重のないときの長さ。引張ばねでは L0 = 2·D + (n − 1)·d（フック内側間）。"},
    {"tip.Label7", "取付長 L1（mm）：取り付けたときの長さ。"},
    {"tip.Label8", "作動長 L2（mm）：作動したときの長さ。"},
    {"tip.Label46", "圧縮端長 Ls（mm）：密着したときの長さ。Ls = (n + 2)·d（圧縮ばね）。"},
    {"tip.Label48", "圧縮端長 Ls（mm）= (n + 2)·d（圧縮ばね）。"},
    {"tip.Label9", "許容圧縮長（圧縮ばね）：応力が静荷重許容応力に達する長さ La = L0 − Pa / k、先に密着すれば Ls。許容引張長（引張ばね）：L0 + (Pa − Pi) / k（mm）。"},
    {"tip.Label32", "許容圧縮長 = L0 − Pa / k（先に密着すれば Ls）、許容引張長 = L0 + (Pa − Pi) / k（mm）。Pa = π·d³·τa / (8·D)。"},
    {"tip.Label10", "静荷重許容応力 τa（kg/mm²）：圧縮ばね 0.8·f·σB、引張ばね 0.64·f·σB。σB は材質と線径の引張強さ。"},
    {"tip.Label33", "静荷重許容応力 τa（kg/mm²）= 0.8·f·σB（圧縮）、0.64·f·σB（引張）。f = 0.5（SWB, SWC, SWPA, SWPB）、0.55（SWO-A, SWOSC-V）、0.45（SUS）。"},
    {"tip.Label11", "動荷重許容応力 τr（kg/mm²）：繰返荷重で使えるせん断応力。τa を越えません。"},
    {"tip.Label34", "動荷重許容応力 τr（kg/mm²）= fr·σB / K（τa 以下）。fr = 0.277·r^1.2 + 0.3（0.45 以下）、r = Pset / Pact、K = (4c − 1) / (4c − 4) + 0.615 / c。"},
    {"tip.Label12", "横弾性係数 G（kg/mm²）：鋼 8000、ステンレス（SUS）7000。"},
    {"tip.Label35", "横弾性係数 G（kg/mm²）：鋼 8000、ステンレス（SUS）7000。"},
    {"tip.Label13", "ばね定数 k（kg/mm）：1 mm たわませるのに要る荷重。"},
    {"tip.Label36", "ばね定数 k（kg/mm）= G·d⁴ / (8·n·D³)。"},
    {"tip.Label14", "初張力 Pi（kg）：引張ばねが伸び始めるまでの荷重（引張ばねのみ）。"},
    {"tip.Label37", "初張力 Pi（kg）= G·d⁴ / (255·D²)（引張ばねのみ）。"},
    {"tip.Label15", "τset（kg/mm²）：取付長でのせん断応力。"},
    {"tip.Label38", "τset（kg/mm²）= 8·Pset·D / (π·d³)。"},
    {"tip.Label16", "τact（kg/mm²）：作動長でのせん断応力。"},
    {"tip.Label39", "τact（kg/mm²）= 8·Pact·D / (π·d³)。"},
    {"tip.Label17", "τmax（kg/mm²）：許容圧縮長でのせん断応力（圧縮ばねのみ）。"},
    {"tip.Label40", "τmax（kg/mm²）= 8·Pmax·D / (π·d³)：密着が先ならその応力、そうでなければ τa（圧縮ばねのみ）。"},
    {"tip.Label18", "Ｐset（kg）：取付長での荷重。"},
    {"tip.Label41", "Ｐset（kg）= k·|L0 − L1| + Pi。"},
    {"tip.Label19", "Ｐact（kg）：作動長での荷重。"},
    {"tip.Label42", "Ｐact（kg）= k·|L0 − L2| + Pi。"},
    {"tip.Label20", "Ｐmax（kg）：許容長での荷重。"},
    {"tip.Label43", "Ｐmax（kg）：圧縮ばねで密着が先なら k·(L0 − Ls)、そうでなければ Pa = π·d³·τa / (8·D)。"},
    {"tip.Label49", "自由長 L0：図の寸法線の長さ。"},
    {"tip.Label47", "警告：設計が破っている規則。リストの上にマウスを置くと、それぞれの意味が出ます。"},
    {"warningNote1", "ばね指数 D/d が4未満です。コイル平均径を大きくするか線径を細くしてください。計算実行できません。"},
    {"warningNote2", "τset か τact が静荷重許容応力 τa を越えています。"},
    {"warningNote3", "密着する前に応力が τa に達します。許容圧縮長より縮めないでください。"},
    {"warningNote4", "τset か τact が動荷重許容応力 τr を越えています。繰返荷重では折損のおそれがあります。"},
    {"warningNote5", "この線径はこの材質にありません。計算実行できません。"},
    {"warningNote6", "自由長・取付長・作動長のどれかが圧縮端長（密着長）より短い設定です。"},
    {"warningNote7", "取付長か作動長が自由長より短い設定です。引張ばねは自由長より伸ばして使います。"},
    {"warningNoteSeparator", "："},
    {"noWarningsNote",   "警告なし：設計はどの規則も破っていません。"},

    // ---- The window's messages
    {"noPrinter",        "プリンタが見つかりません。\n画面をPDFファイルに保存しますか？"},
    {"savePdfTitle",     "PDFファイルに保存"},
    {"fileTooLarge",     "ファイルが大きすぎて書き込めません。"},
    // "what を保存できませんでした。…", with the file and the reason
    {"saveFailedWhat",   "%1を保存できませんでした。\nファイル: %2\n理由: %3"},
    {"nothingWritten",   "ファイルには何も書き込んでいません。"},
    {"report",           "レポート"},
    {"pdfFile",          "PDFファイル"},
    {"notEncoded",       "レポートを文字コード932に変換できませんでした。\n"},
    {"bytesLeft",        "\n書きかけの %1 バイトがファイルに残り、取り除けませんでした。"},
    {"printNotStarted",  "印刷を開始できませんでした（%1）。"},
    {"printNotFinished", "印刷を完了できませんでした。"},
    // Why a report could not be appended, by the system's error
    {"errorNoFolder",    "フォルダが見つかりません。"},
    {"errorNoPermission", "このファイルに書き込む許可がありません。"},
    {"errorReadOnly",    "読み取り専用の場所には書き込めません。"},
    {"errorIsFolder",    "フォルダには書き込めません。ファイル名を指定してください。"},
    {"errorDiskFull",    "ディスクに空きがありません。"},
    {"errorNameTooLong", "ファイル名が長すぎます。"},
    {"errorNotFolder",   "パスの途中にフォルダではないものがあります。"},
    {"errorIo",          "書き込み中に入出力エラーが起きました。"},
    {"errorNotFile",     "通常のファイルではありません（名前付きパイプや装置には保存できません）。"},
    {"errorBusy",        "ほかのプログラムがこのファイルに書き込み中です。しばらくしてからもう一度保存してください。"},
    {"errorNoMemory",    "メモリが足りません。"},

    // ---- The report's lines (code page 932 in the file), fmt formats
    {"report.heading",   "   {}コイルばねの設計   {}\n   \n"},
    {"report.compression", "圧縮"},
    {"report.extension", "引張"},
    {"report.material",  "材     質 {}         静荷重許容応力  {:>4.2f} Kg/mm^2\n"},
    {"report.wire",      "線     径 {}        動荷重許容応力  {:>4.2f}\n"},
    {"report.meanDiameter", "ｺｲﾙ平均径      {:>3.1f}          横弾性係数    {:.1f}\n"},
    {"report.diameters", "(内径 {:.2f}  外径 {:.2f})       ばね定数       {:>3.3f} kg/mm\n"},
    {"report.turns",     "有効 巻数       {:>3.1f}\n"},
    {"report.free",      "自 由  長       {:>3.1f} mm\n"},
    {"report.installed", "取 付  長       {:>3.1f}        Tset  {:>3.2f}    Pset  {:>3.2f}\n"},
    {"report.operating", "作 動  長       {:>3.1f}        Tact  {:>3.2f}    Pact  {:>3.2f}\n"},
    {"report.solid",     "圧縮端 長       {:>3.1f}        Tmax  {:>3.2f}    Pmax  {:>3.2f}\n"},
    {"report.compressionLimit", "許容圧縮長      {:>3.1f}\n"},
    {"report.freeTension", "自 由  長       {:>3.1f} mm                   初張力  {:.2f} kg\n"},
    {"report.installedKg", "取 付  長       {:>3.1f}        Tset  {:>3.2f}    Pset  {:>3.2f} kg\n"},
    {"report.extensionLimit", "許容引張長      {:>3.1f}                       Pmax  {:>3.2f} \n"},
    // A torsion spring's block, which only the command line writes (the window has no torsion
    // springs), laid out as the two kinds' blocks are; moments in kg・mm, angles in degrees
    // from free.
    {"report.torsionHeading", "   ねじりコイルばねの設計   {}\n   \n"},
    {"report.torsionMaterial", "材     質 {}         許容曲げ応力    {:>4.2f} Kg/mm^2\n"},
    {"report.torsionWire", "線     径 {}        引張強さ        {:>4.2f}\n"},
    {"report.torsionMeanDiameter", "ｺｲﾙ平均径      {:>3.1f}          縦弾性係数    {:.1f}\n"},
    {"report.torsionDiameters", "(内径 {:.2f}  外径 {:.2f})       ばね定数       {:>3.4f} kg・mm/度\n"},
    {"report.torsionTurns", "巻     数       {:>3.2f}   有効 {:>3.2f}   応力修正係数  {:.4f}\n"},
    {"report.torsionLegs", "腕 の 長 さ     {:>3.1f}  {:>3.1f}   自由角度  {:>3.1f}\n"},
    {"report.torsionInstalled", "取 付 角 度     {:>3.1f}        σ1  {:>3.2f}    M1  {:>3.2f}\n"},
    {"report.torsionOperating", "作 動 角 度     {:>3.1f}        σ2  {:>3.2f}    M2  {:>3.2f}\n"},
    {"report.torsionLimit", "許 容 角 度     {:>3.1f}                   Ma  {:>3.2f}\n"},
    {"report.torsionMandrel", "マンドレル径    {:>3.2f}        作動時内径  {:>3.2f}\n"},

    // ---- The page's and the panel's words (page.js shows them as they come from here)
    // The command bar: its name, and the keys each command's tooltip gives
    {"commands",         "コマンド"},
    // The stepper below a window scaled to a phone: it steps the spinner chosen
    {"stepper",          "選んだ項目の上下"},
    {"stepPrevious",     "前の項目"},
    {"stepNext",         "次の項目"},
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
    {"tolerance-grade",  "許容差の等級"},
    {"grade.none",       "指定しない"},
    {"grade.JIS-1",      "JIS B 2704 1級"},
    {"grade.JIS-2",      "JIS B 2704 2級"},
    {"grade.JIS-3",      "JIS B 2704 3級"},
    {"grade.EN-1",       "EN 15800 1級"},
    {"grade.EN-2",       "EN 15800 2級"},
    {"grade.EN-3",       "EN 15800 3級"},
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
    {"pairSeparator",    " ／ "},
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
    // The panel's tolerances of a drawing's figures at the grade chosen beside them
    {"tolerance.setLoad", "取付時の荷重 Pset"},
    {"tolerance.workLoad", "作動時の荷重 Pact"},
    {"tolerance.outerDiameter", "外径"},
    {"tolerance.innerDiameter", "内径"},
    {"tolerance.freeLength", "自由長"},
    {"tolerance.squareness", "直角度 (自由長でのコイルの傾き)"},
    {"tolerance.parallelism", "平行度 (外径での端面の傾き)"},
    {"toleranceAgreed",  "受渡当事者間の協定による (等級の表の外)"},
    // The panel's own initial tension of an extension spring, for its figures and diagram only
    {"givenTension",     "初張力 (指定) kg"},
    {"givenTensionNote", "空欄: 窓と同じ式の初張力。N、MPa、kg/mm2 の単位も使えます。"},
    {"badInitialTension", "初張力は 0〜10000 kg の荷重 (2.5、25N) か、0〜500 kg/mm² の初応力 (175MPa、17.8kg/mm2) で入力してください。"},
    // The panel's bits of punctuation
    {"quoteOpen",        "「"},
    {"quoteClose",       "」"},
    {"noteOpen",         "（"},
    {"noteClose",        "）"},
    {"rangeDash",        "〜"},
    {"fullSpace",        "　"},
    // The ends of a compression spring, as the page offers them (`--ends` names them in English)
    {"ends.fixed-fixed",   "両端固定"},
    {"ends.fixed-guided",  "一端固定・他端平行移動"},
    {"ends.pinned-pinned", "両端自由支持"},
    {"ends.fixed-pinned",  "一端固定・他端自由支持"},
    {"ends.fixed-free",    "一端固定・他端自由"},
    // What the page says before its engine is there
    {"pageTitle",        "コイルばねの設計"},
    {"pageLoading",      "読み込み中…"},
    {"pageLoadFailed",   "計算エンジンを読み込めませんでした。ページを読み込み直してください。"},
    {"pageNeedsScript",  "この計算機には JavaScript と WebAssembly が必要です。"},
    {"pageDescription",  "圧縮・引張コイルばねの設計計算。ネットワークなしでも開けます。"},
    // The page's language choice, each language named in itself, and what the English page
    // says beside Save
    {"language",         "言語"},
    {"language.ja",      "日本語"},
    {"language.en",      "English"},
    {"reportLanguage",   "レポートのファイルは日本語（文字コード932）で書きます。"},
};
// clang-format on

// The Japanese text of `key`, for a key the code puts together (a control's name, a warning's
// number); empty when there is no such key.
constexpr const char* WordOf(std::string_view key) {
    for (const Word& word : kWords) {
        if (word.key == key) {
            return word.japanese;
        }
    }
    return "";
}

// The same for a key written in the code: one missing from the table does not compile.
consteval const char* Words(std::string_view key) {
    for (const Word& word : kWords) {
        if (word.key == key) {
            return word.japanese;
        }
    }
    throw "no such key in kWords";
}

}  // namespace springcalc
