// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/cp932_encoder.h"

#include <algorithm>
#include <cerrno>

#if defined(SPRINGCALC_CP932_TABLE)
#include "report/cp932_table.h"
#endif

namespace springcalc {

namespace {

[[maybe_unused]] const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Runs of text that are not the program's own words (a long name, say) are converted without
// being remembered, so that no input can make the table grow without end.
constexpr size_t kMostKnown = 512;

bool IsAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

}  // namespace

Cp932Encoder::Cp932Encoder() = default;

Cp932Encoder::~Cp932Encoder() {
#if !defined(SPRINGCALC_CP932_TABLE)
    if (converter_ != kNoConverter) {
        iconv_close(converter_);
    }
#endif
}

bool Cp932Encoder::Append(std::string_view utf8, std::string& out) {
#if !defined(SPRINGCALC_CP932_TABLE)
    // Opened at the first text, so that nothing is asked of the system before it is needed.
    if (converter_ == kNoConverter) {
        converter_ = iconv_open("CP932", "UTF-8");
    }
    if (converter_ == kNoConverter) {
        error_ = errno != 0 ? errno : EINVAL;
        return false;
    }
#endif
    out.reserve(out.size() + utf8.size() + utf8.size() / 16);
    for (size_t pos = 0; pos < utf8.size();) {
        // A byte of a UTF-8 sequence is never ASCII, so the text splits cleanly at ASCII bytes.
        const auto stop = std::find_if(utf8.begin() + pos, utf8.end(),
                                       [](char c) { return c == '\n' || !IsAscii(c); });
        const size_t end = static_cast<size_t>(stop - utf8.begin());
        out.append(utf8, pos, end - pos);
        pos = end;
        if (pos == utf8.size()) {
            break;
        }
        if (utf8[pos] == '\n') {
            out += "\r\n";
            ++pos;
            continue;
        }
        const auto runEnd = std::find_if(utf8.begin() + pos, utf8.end(), IsAscii);
        const size_t runLength = static_cast<size_t>(runEnd - utf8.begin()) - pos;
        if (!AppendRun(utf8.substr(pos, runLength), out)) {
            return false;
        }
        pos += runLength;
    }
    return true;
}

bool Cp932Encoder::AppendRun(std::string_view run, std::string& out) {
    if (const auto found = known_.find(std::string(run)); found != known_.end()) {
        out += found->second;
        return true;
    }
    std::string input(run);
#if defined(SPRINGCALC_CP932_TABLE)
    std::string encoded;
    if (!EncodeCp932Run(run, encoded)) {
        return false;
    }
#else
    // Code page 932 never needs more bytes than UTF-8 for the same text.
    std::string encoded(run.size(), '\0');
    char* in = input.data();
    size_t inLeft = input.size();
    char* next = encoded.data();
    size_t outLeft = encoded.size();
    if (iconv(converter_, &in, &inLeft, &next, &outLeft) == static_cast<size_t>(-1) ||
        inLeft != 0) {
        return false;
    }
    encoded.resize(encoded.size() - outLeft);
#endif
    out += encoded;
    if (known_.size() < kMostKnown) {
        known_.emplace(std::move(input), std::move(encoded));
    }
    return true;
}

}  // namespace springcalc
