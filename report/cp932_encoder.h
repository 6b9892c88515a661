// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// UTF-8 text to code page 932 with CR LF line ends, through glibc's iconv ("CP932", the mapping
// Windows uses).

#include <iconv.h>

#include <string>
#include <string_view>
#include <unordered_map>

namespace springcalc {

// ASCII, most of a report, is code page 932 already and is copied as it is. Each run of other
// characters goes through iconv once and is remembered: a report repeats the same few dozen
// Japanese words in every block, and converting them afresh was half the cost of a long
// report.
class Cp932Encoder {
public:
    Cp932Encoder();
    ~Cp932Encoder();
    Cp932Encoder(const Cp932Encoder&) = delete;
    Cp932Encoder& operator=(const Cp932Encoder&) = delete;

    // Appends `utf8` encoded, every "\n" as CR LF. False when a character has no form in code
    // page 932, the text is not UTF-8, or no converter could be had; `out` then holds a part.
    bool Append(std::string_view utf8, std::string& out);
    // Why no converter could be had (errno of iconv_open), or 0 when there is one.
    int error() const { return error_; }

private:
    bool AppendRun(std::string_view run, std::string& out);

    [[maybe_unused]] iconv_t converter_ = reinterpret_cast<iconv_t>(-1);  // none yet
    std::unordered_map<std::string, std::string> known_;
    int error_ = 0;
};

}  // namespace springcalc
