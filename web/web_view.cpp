// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_view.h"

#include <emscripten.h>

#include <cstdio>
#include <string>

#include "layout/window_layout.h"
#include "web/page_words.h"

// The page's side of the view (page.js, Module.springView): each call finds the element by its
// control name.
// clang-format off
EM_JS(void, js_set_text, (const char* name, const char* text, int length), {
    Module.springView.setText(UTF8ToString(name), UTF8ToString(text, length));
});
EM_JS(void, js_set_style, (const char* name, const char* property, const char* value), {
    Module.springView.setStyle(UTF8ToString(name), UTF8ToString(property), UTF8ToString(value));
});
EM_JS(void, js_set_enabled, (const char* name, int enabled), {
    Module.springView.setEnabled(UTF8ToString(name), enabled != 0);
});
EM_JS(void, js_set_visible, (const char* name, int visible), {
    Module.springView.setVisible(UTF8ToString(name), visible != 0);
});
EM_JS(void, js_clear_warnings, (), {
    Module.springView.clearWarnings();
});
EM_JS(void, js_append_warning, (const char* line, int length), {
    Module.springView.appendWarning(UTF8ToString(line, length));
});
// clang-format on

namespace springcalc::web {

namespace {

const char* FieldName(Field field) {
    return layout::kFieldNames[static_cast<size_t>(field)];
}

// The catalogue's words the engine writes into the window as it runs, in Japanese whatever the
// page's language (the desktop and the report need them so): found here by their Japanese text
// and shown in the page's.
constexpr std::string_view kWrittenWords[] = {
    "titleCompression", "titleExtension", "compressionLimit", "extensionLimit", "innerDiameter",
    "outerDiameter",    "warning1",       "warning2",         "warning3",       "warning4",
    "warning5",         "warning6",       "warning7",
};

std::string InPageLanguage(std::string_view text) {
    if (PageLanguage() != Language::Japanese) {
        for (const std::string_view key : kWrittenWords) {
            if (text == springcalc::WordOf(key)) {
                return WordOf(key);
            }
        }
    }
    return std::string(text);
}

// The date stamp with the page's words for year, month and day between its numbers.
std::string DateInPageLanguage(std::string_view text) {
    std::string date(text);
    for (const std::string_view key : {"year", "month", "day"}) {
        const std::string_view japanese = springcalc::WordOf(key);
        if (const size_t at = date.find(japanese); at != std::string::npos) {
            date.replace(at, japanese.size(), WordOf(key));
        }
    }
    return date;
}

}  // namespace

const char* SpinnerName(Spinner spinner) {
    constexpr const char* kNames[] = {"UpDown1", "UpDown2", "UpDown5", "UpDown10"};
    return kNames[static_cast<int>(spinner)];
}

std::string CssColor(TColor color) {
    if (color == layout::kParentColor) {
        return "transparent";
    }
    if (color & 0x80000000u) {
        switch (color & 0xFFu) {
            case 0x05:  // clWindow
                return "Canvas";
            case 0x08:  // clWindowText
                return "CanvasText";
            case 0x0F:  // clBtnFace
            default:
                return "ButtonFace";
        }
    }
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", color & 0xFFu, (color >> 8) & 0xFFu,
                  (color >> 16) & 0xFFu);
    return text;
}

void WebView::SetText(Field field, std::string_view text) {
    const std::string shown =
        field == Field::Labeldate ? DateInPageLanguage(text) : InPageLanguage(text);
    js_set_text(FieldName(field), shown.data(), static_cast<int>(shown.size()));
}

void WebView::SetNumberPair(Field field, std::string_view head, double first,
                            std::string_view middle, double second, int precision) {
    SpringView::SetNumberPair(field, InPageLanguage(head), first, InPageLanguage(middle), second,
                              precision);
}

void WebView::SetColor(Field field, TColor background) {
    js_set_style(FieldName(field), "background-color", CssColor(background).c_str());
}

void WebView::SetFontColor(Field field, TColor color) {
    js_set_style(FieldName(field), "color", CssColor(color).c_str());
}

void WebView::SetEnabled(Command command, bool enabled) {
    js_set_enabled(layout::kMenu[static_cast<size_t>(command)].name, enabled);
}

void WebView::SetPosition(Spinner spinner, int position) {
    if (onPosition) {
        onPosition(SpinnerName(spinner), position);
    }
}

void WebView::SetSpinnerEnabled(Spinner spinner, bool enabled) {
    js_set_enabled(SpinnerName(spinner), enabled);
}

void WebView::SetVisible(Image image, bool visible) {
    js_set_visible(layout::kImages[static_cast<size_t>(image)].name, visible);
}

void WebView::ClearWarningLines() {
    js_clear_warnings();
}

void WebView::AppendWarningLine(std::string_view line) {
    const std::string shown = InPageLanguage(line);
    js_append_warning(shown.data(), static_cast<int>(shown.size()));
}

}  // namespace springcalc::web
