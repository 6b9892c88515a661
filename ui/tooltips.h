// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What hovering over the window explains: each caption and result field (what the value is,
// its unit and, for a result, the formula it comes from), and each message the warning list
// can hold. Kept as data, one row per control, so the texts read and change like a table.

#include <array>

#include "engine/window_texts.h"

namespace springcalc::tooltips {

struct ToolTip {
    const char* control;
    const char* text;
};

// clang-format off
inline constexpr std::array kControls{
    // Input rows
    ToolTip{"Label2",  "材質：ばねの材料（9種類）。右の矢印で選びます。許容応力と横弾性係数が決まります。"},
    ToolTip{"Label3",  "線径 d（mm）：右の矢印で規格の46種類から選びます。材質にない線径は橙色になり、計算実行できません。"},
    ToolTip{"Label4",  "コイル平均径 D（mm）：右の矢印で 0.1 mm、左の矢印で 10 mm ずつ。ばね指数 c = D / d が4未満では計算実行できません。"},
    ToolTip{"Label5",  "有効巻数 n（巻）：右の矢印で 0.5 巻、左の矢印で 10 巻ずつ。"},
    ToolTip{"Label6",  "自由長 L0（mm）：荷重のないときの長さ。引張ばねでは L0 = 2·D + (n − 1)·d（フック内側間）。"},
    ToolTip{"Label7",  "取付長 L1（mm）：取り付けたときの長さ。"},
    ToolTip{"Label8",  "作動長 L2（mm）：作動したときの長さ。"},
    ToolTip{"Label46", "圧縮端長 Ls（mm）：密着したときの長さ。Ls = (n + 2)·d（圧縮ばね）。"},
    ToolTip{"Label48", "圧縮端長 Ls（mm）= (n + 2)·d（圧縮ばね）。"},
    ToolTip{"Label9",  "許容圧縮長（圧縮ばね）：応力が静荷重許容応力に達する長さ La = L0 − Pa / k、先に密着すれば Ls。許容引張長（引張ばね）：L0 + (Pa − Pi) / k（mm）。"},
    ToolTip{"Label32", "許容圧縮長 = L0 − Pa / k（先に密着すれば Ls）、許容引張長 = L0 + (Pa − Pi) / k（mm）。Pa = π·d³·τa / (8·D)。"},
    // Results
    ToolTip{"Label10", "静荷重許容応力 τa（kg/mm²）：圧縮ばね 0.8·f·σB、引張ばね 0.64·f·σB。σB は材質と線径の引張強さ。"},
    ToolTip{"Label33", "静荷重許容応力 τa（kg/mm²）= 0.8·f·σB（圧縮）、0.64·f·σB（引張）。f = 0.5（SWB, SWC, SWPA, SWPB）、0.55（SWO-A, SWOSC-V）、0.45（SUS）。"},
    ToolTip{"Label11", "動荷重許容応力 τr（kg/mm²）：繰返荷重で使えるせん断応力。τa を越えません。"},
    ToolTip{"Label34", "動荷重許容応力 τr（kg/mm²）= fr·σB / K（τa 以下）。fr = 0.277·r^1.2 + 0.3（0.45 以下）、r = Pset / Pact、K = (4c − 1) / (4c − 4) + 0.615 / c。"},
    ToolTip{"Label12", "横弾性係数 G（kg/mm²）：鋼 8000、ステンレス（SUS）7000。"},
    ToolTip{"Label35", "横弾性係数 G（kg/mm²）：鋼 8000、ステンレス（SUS）7000。"},
    ToolTip{"Label13", "ばね定数 k（kg/mm）：1 mm たわませるのに要る荷重。"},
    ToolTip{"Label36", "ばね定数 k（kg/mm）= G·d⁴ / (8·n·D³)。"},
    ToolTip{"Label14", "初張力 Pi（kg）：引張ばねが伸び始めるまでの荷重（引張ばねのみ）。"},
    ToolTip{"Label37", "初張力 Pi（kg）= G·d⁴ / (255·D²)（引張ばねのみ）。"},
    ToolTip{"Label15", "τset（kg/mm²）：取付長でのせん断応力。"},
    ToolTip{"Label38", "τset（kg/mm²）= 8·Pset·D / (π·d³)。"},
    ToolTip{"Label16", "τact（kg/mm²）：作動長でのせん断応力。"},
    ToolTip{"Label39", "τact（kg/mm²）= 8·Pact·D / (π·d³)。"},
    ToolTip{"Label17", "τmax（kg/mm²）：許容圧縮長でのせん断応力（圧縮ばねのみ）。"},
    ToolTip{"Label40", "τmax（kg/mm²）= 8·Pmax·D / (π·d³)：密着が先ならその応力、そうでなければ τa（圧縮ばねのみ）。"},
    ToolTip{"Label18", "Ｐset（kg）：取付長での荷重。"},
    ToolTip{"Label41", "Ｐset（kg）= k·|L0 − L1| + Pi。"},
    ToolTip{"Label19", "Ｐact（kg）：作動長での荷重。"},
    ToolTip{"Label42", "Ｐact（kg）= k·|L0 − L2| + Pi。"},
    ToolTip{"Label20", "Ｐmax（kg）：許容長での荷重。"},
    ToolTip{"Label43", "Ｐmax（kg）：圧縮ばねで密着が先なら k·(L0 − Ls)、そうでなければ Pa = π·d³·τa / (8·D)。"},
    ToolTip{"Label49", "自由長 L0：図の寸法線の長さ。"},
    ToolTip{"Label47", "警告：設計が破っている規則。リストの上にマウスを置くと、それぞれの意味が出ます。"},
};

// The warning list's own tooltip explains each message it holds, once, in the list's order:
// what each of the engine's warnings (kWarningTexts, in the same order) means.
inline constexpr std::array<const char*, kWarningTexts.size()> kWarningExplanations{
    "ばね指数 D/d が4未満です。コイル平均径を大きくするか線径を細くしてください。計算実行できません。",
    "τset か τact が静荷重許容応力 τa を越えています。",
    "密着する前に応力が τa に達します。許容圧縮長より縮めないでください。",
    "τset か τact が動荷重許容応力 τr を越えています。繰返荷重では折損のおそれがあります。",
    "この線径はこの材質にありません。計算実行できません。",
    "自由長・取付長・作動長のどれかが圧縮端長（密着長）より短い設定です。",
    "取付長か作動長が自由長より短い設定です。引張ばねは自由長より伸ばして使います。",
};

inline constexpr const char* kNoWarnings = "警告なし：設計はどの規則も破っていません。";
// clang-format on

}  // namespace springcalc::tooltips
