// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the window shows that are not numbers: its warning messages and its titles.

#include <array>

namespace springcalc {

// The window's warnings by the number its list gives them.
inline constexpr int kIndexWarning = 1;         // D/d below 4: Run withheld
inline constexpr int kStaticStressWarning = 2;  // a stress over the static allowable
inline constexpr int kAllowableBeforeSolidWarning = 3;
inline constexpr int kRepeatedLoadWarning = 4;  // a stress over the repeated-load allowable
inline constexpr int kWireNotMadeWarning = 5;   // Run withheld
inline constexpr int kBelowSolidWarning = 6;    // a length below the solid length
inline constexpr int kBelowFreeLengthWarning =
    7;  // an extension spring's length below its free length

// The seven warning messages, numbered 1..7.
inline constexpr std::array<const char*, 7> kWarningTexts{
    "D/dを４以上にして下さい",       // 1 spring index below 4
    "許容応力を越えています",        // 2 static allowable stress exceeded
    "圧縮端まで使えません",          // 3 reaches the allowable stress before it is solid
    "繰返荷重での使用に注意",        // 4 repeated-load allowable stress exceeded
    "線径が規格外です",              // 5 wire size not offered for the material
    "圧縮端より短い設定があります",  // 6 a length below the solid length
    "自由長より短い設定があります",  // 7 a length below the free length
};

inline constexpr const char* kCompressionTitle = "  圧縮コイルバネの設計 ";
inline constexpr const char* kExtensionTitle = "  引張コイルバネの設計 ";

}  // namespace springcalc
