// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built-in tables by name: spring kinds, materials by designation or number, and standard
// wire sizes, as a user names them, and their names back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace springcalc {

// A name as names are compared: blanks dropped, letters in lower case, so " sus304-wpb " and
// "SUS304-WPB" compare equal.
std::string FoldedName(std::string_view text);

// "compression" or "extension", in any case, blanks ignored.
std::optional<std::int32_t> KindNamed(std::string_view text);
// "torsion", blanks and case ignored as KindNamed ignores them: the kind only the search and the
// command line's check know, never the window's.
bool NamesTorsion(std::string_view text);
const char* KindName(std::int32_t springKind);

// A designation as the window shows it ("SWPA", "SUS304-WPB"), blanks and case ignored, or a
// material number 0..8.
std::optional<int> MaterialNamed(std::string_view text);
// The designation without the blanks the window pads it with.
std::string MaterialDesignation(int materialNo);
// "SWB, SWC, ..., SUS304-WPB", for messages.
std::string MaterialList();

// The standard size of exactly this single-precision diameter, as the tables hold it, so that
// no decimal slips through.
std::optional<int> WireOfDiameter(float diameter);
// "0.70": the size as the window shows it, without its blanks.
std::string WireDesignation(int wireNo);
// The standard sizes either side of a diameter, for a message about a size not in the list.
std::string NearestWires(double diameter);

}  // namespace springcalc
