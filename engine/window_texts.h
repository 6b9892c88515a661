// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts the window shows that are not numbers: its warning messages and its titles.

#include <array>
#include <string>
#include <string_view>

#include "engine/words.h"
#include "engine/words_english.h"

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
    Words("warning1"), Words("warning2"), Words("warning3"), Words("warning4"),
    Words("warning5"), Words("warning6"), Words("warning7"),
};

inline constexpr const char* kCompressionTitle = Words("titleCompression");
inline constexpr const char* kExtensionTitle = Words("titleExtension");

// What hovering over the warning list says of the lines it holds (one a line): each of warnings 1
// to 7 among them explained once, in their order, or that there is none. The page's English list
// holds the warnings in English and is explained in English.
std::string WarningListNote(std::string_view lines, Language language = Language::Japanese);

}  // namespace springcalc
