// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// JSON text for what the page asks of the engine: the layout, the figures, the search results.
// Values are few and small; a string is built and handed over once.

#include <string>
#include <string_view>

#include "text/utf8_text.h"

namespace springcalc::web {

// Members are added with their separators; Close ends the object.
class JsonObject {
public:
    JsonObject& Raw(std::string_view name, std::string_view json) {
        text_ += text_.size() > 1 ? "," : "";
        text_ += JsonString(name);
        text_ += ':';
        text_ += json;
        return *this;
    }
    JsonObject& Text(std::string_view name, std::string_view value) {
        return Raw(name, JsonString(value));
    }
    JsonObject& Number(std::string_view name, long long value) {
        return Raw(name, std::to_string(value));
    }
    JsonObject& Flag(std::string_view name, bool value) {
        return Raw(name, value ? "true" : "false");
    }
    std::string Close() const { return text_ + "}"; }

private:
    std::string text_ = "{";
};

// Elements are added with their separators; Close ends the array.
class JsonArray {
public:
    JsonArray& Raw(std::string_view json) {
        text_ += text_.size() > 1 ? "," : "";
        text_ += json;
        return *this;
    }
    std::string Close() const { return text_ + "]"; }

private:
    std::string text_ = "[";
};

}  // namespace springcalc::web
