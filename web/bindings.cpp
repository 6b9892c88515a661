// SPDX-License-Identifier: GPL-3.0-or-later
// What page.js may call: the layout table, the page's words, the window's events and commands,
// the drawings, the report bytes and the panel. One calculator per page.

#include <emscripten/bind.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/input_text.h"
#include "engine/window_texts.h"
#include "engine/wire_standards.h"
#include "engine/words.h"
#include "layout/spring_drawings.h"
#include "layout/window_layout.h"
#include "web/design_address.h"
#include "web/json_text.h"
#include "web/page_words.h"
#include "web/spoken_fields.h"
#include "web/web_calculator.h"
#include "web/web_panel.h"

namespace springcalc::web {

namespace {

WebCalculator& Calculator() {
    static WebCalculator calculator;
    return calculator;
}

// Bytes handed to the page stay here until the next call: the page copies them at once.
std::string& Handover() {
    static std::string bytes;
    return bytes;
}

emscripten::val BytesView(std::string bytes) {
    Handover() = std::move(bytes);
    return emscripten::val(emscripten::typed_memory_view(
        Handover().size(), reinterpret_cast<const unsigned char*>(Handover().data())));
}

const char* StyleName(layout::LabelStyle style) {
    switch (style) {
        case layout::LabelStyle::Caption:
            return "caption";
        case layout::LabelStyle::Value:
            return "value";
        case layout::LabelStyle::Fixed:
        default:
            return "fixed";
    }
}

// A CSS pixel is 1/96 inch, a design pixel 1/100 inch: the window in the page has the size the
// desktop window has on a screen of 96 pixels per inch, and grows with the page's zoom.
constexpr double kCssPixelsPerDesignPixel = 96.0 / layout::kDesignDpi;

int Css(int designPixels) {
    return layout::ScaledLength(designPixels, kCssPixelsPerDesignPixel);
}

// A control's box in CSS pixels, its edges scaled as the desktop scales them.
std::string Box(JsonObject object, int x, int y, int width, int height) {
    return object.Number("x", Css(x))
        .Number("y", Css(y))
        .Number("width", Css(x + width) - Css(x))
        .Number("height", Css(y + height) - Css(y))
        .Close();
}

// The value field each spinner moves: a screen reader hears it as the spinner's value. The
// sample spinner has none (the window shows the sample's number nowhere).
constexpr std::pair<const char*, const char*> kSpinnerFields[] = {
    {"UpDown1", "Label25"},  {"UpDown2", "Label26"},  {"UpDown3", "Label27"},
    {"UpDown9", "Label27"},  {"UpDown4", "Label28"},  {"UpDown14", "Label28"},
    {"UpDown5", "Label29"},  {"UpDown10", "Label29"}, {"UpDown6", "Label30"},
    {"UpDown11", "Label30"}, {"UpDown7", "Label31"},  {"UpDown12", "Label31"},
    {"UpDown8", "Label1"},
};

// The warning list's place in the window's tab order, between the spinners of positions 12
// and 14 (the spinners' table is in tab order).
constexpr int kMemoTabPosition = 13;

std::string SpinnerField(std::string_view spinner) {
    for (const auto& [name, field] : kSpinnerFields) {
        if (spinner == name) {
            return field;
        }
    }
    return "";
}

const SpokenField* SpokenFieldOf(std::string_view label) {
    for (const SpokenField& field : kSpokenFields) {
        if (label == field.name) {
            return &field;
        }
    }
    return nullptr;
}

// A word of the layout table in the page's language. The table holds the window's Japanese, which
// the desktop shows; the page finds it again by the key it was written from.
std::string Said(std::string_view japanese, const std::string& key) {
    return japanese == springcalc::WordOf(key) ? std::string(WordOf(key)) : std::string(japanese);
}

// The key of a label's text: its caption, or the title and the limit's name the engine changes
// with the spring kind.
std::string LabelKey(std::string_view name) {
    if (name == "Label1") {
        return "titleCompression";
    }
    if (name == "Label9") {
        return "compressionLimit";
    }
    return "caption." + std::string(name);
}

// The window as the layout table describes it, for page.js to build the controls from.
std::string LayoutJson() {
    JsonArray labels;
    for (const layout::LabelSpec& l : layout::kLabels) {
        JsonObject label;
        label.Text("name", l.name)
            .Text("text", Said(l.text, LabelKey(l.name)))
            .Text("style", StyleName(l.style))
            .Text("background", CssColor(l.background))
            .Text("color", CssColor(l.font))
            .Number("fontPixels", Css(l.fontPixels));
        if (const SpokenField* spoken = SpokenFieldOf(l.name)) {
            label.Text("spoken", WordOf(spoken->spokenKey)).Text("unit", spoken->unit);
        }
        labels.Raw(Box(label, l.x, l.y, l.width, l.height));
    }
    JsonArray spinners;
    for (const layout::SpinnerSpec& s : layout::kSpinners) {
        spinners.Raw(Box(JsonObject()
                             .Text("name", s.name)
                             .Text("spoken", Said(s.spokenName, "spoken." + std::string(s.name)))
                             .Text("field", SpinnerField(s.name)),
                         s.x, s.y, s.width, s.height));
    }
    JsonArray images;
    for (const layout::ImageSpec& i : layout::kImages) {
        images.Raw(
            Box(JsonObject()
                    .Text("name", i.name)
                    .Flag("visible", i.visible)
                    .Text("spoken", Said(i.spokenName, "spoken." + std::string(i.name)))
                    .Text("description", Said(i.description, "described." + std::string(i.name))),
                i.x, i.y, i.width, i.height));
    }
    JsonArray menu;
    for (const layout::MenuEntrySpec& m : layout::kMenu) {
        menu.Raw(JsonObject()
                     .Text("name", m.name)
                     .Text("caption", Said(m.caption, "menu." + std::string(m.name)))
                     .Close());
    }
    JsonArray saveFilters;
    for (const layout::SaveFilterSpec& f : layout::kSaveFilters) {
        const std::string_view pattern = f.pattern;
        const std::string key =
            "filter." + std::string(pattern == "*.*" ? "all" : pattern.substr(2));
        saveFilters.Raw(JsonObject()
                            .Text("description", Said(f.description, key))
                            .Text("pattern", f.pattern)
                            .Close());
    }
    JsonArray fonts;
    for (const char* family : layout::kFontFamilies) {
        fonts.Raw(JsonString(family));
    }
    return JsonObject()
        .Text("caption", Said(layout::kCaption, "windowCaption"))
        .Raw("window", Box(JsonObject().Text("background", CssColor(clBtnFace)), 0, 0,
                           layout::kWindow.width, layout::kWindow.height))
        .Raw("memo",
             Box(JsonObject().Text("name", "Memo1").Number("tabPosition", kMemoTabPosition),
                 layout::kMemo1.x, layout::kMemo1.y, layout::kMemo1.width, layout::kMemo1.height))
        .Raw("labels", labels.Close())
        .Raw("spinners", spinners.Close())
        .Raw("images", images.Close())
        .Raw("menu", menu.Close())
        .Raw("fonts", fonts.Close())
        .Number("fontPixels", Css(15))
        .Raw("drawingScale", std::to_string(kCssPixelsPerDesignPixel))
        .Raw("saveFilters", saveFilters.Close())
        .Number("repeatDelay", layout::kRepeatDelayMs)
        .Number("repeatInterval", layout::kRepeatIntervalMs)
        .Close();
}

// The page's words in its language.
std::string TextsJson() {
    JsonObject texts;
    // Japanese is the catalogue's own column; only English is looked up.
    const bool english = PageLanguage() == Language::English;
    for (const Word& word : kWords) {
        texts.Text(word.key, english ? WordOf(word.key) : word.japanese);
    }
    return texts.Close();
}

// "en" or "ja" (any other code is Japanese, the page's first language): what the layout, the
// texts, the view and the panel speak from now on.
void SetLanguage(const std::string& code) {
    SetPageLanguage(code == "en" ? Language::English : Language::Japanese);
}

std::string WarningListNoteOf(const std::string& lines) {
    return WarningListNote(lines, PageLanguage());
}

// A drawing of the window's head at `scale` device pixels per design pixel, as RGBA rows.
emscripten::val DrawingPixels(int image, double scale) {
    const DrawnImage drawn = DrawSpring(
        layout::kImages[static_cast<size_t>(image) % layout::kImages.size()].drawing, scale);
    std::string rgba;
    rgba.reserve(drawn.pixels.size() * 4 + 8);
    for (const std::uint32_t pixel : drawn.pixels) {
        rgba += static_cast<char>((pixel >> 16) & 0xFF);
        rgba += static_cast<char>((pixel >> 8) & 0xFF);
        rgba += static_cast<char>(pixel & 0xFF);
        rgba += static_cast<char>(0xFF);
    }
    Handover() = std::move(rgba);
    emscripten::val result = emscripten::val::object();
    result.set("width", drawn.width);
    result.set("height", drawn.height);
    result.set("rgba",
               emscripten::val(emscripten::typed_memory_view(
                   Handover().size(), reinterpret_cast<const unsigned char*>(Handover().data()))));
    return result;
}

// The panel's given initial tension as typed, and the design Run ran, which the panel runs
// again with it: the spinners may change the window's inputs after Run, the panel's figures not.
std::string& PanelTensionText() {
    static std::string text;
    return text;
}
DesignInput& RunDesign() {
    static DesignInput design;
    return design;
}
void Start() {
    Calculator().Start();
    PanelTensionText().clear();
}
bool Click(const std::string& spinner, bool up) {
    return Calculator().Click(spinner, up);
}
void MouseUp(const std::string& spinner) {
    Calculator().MouseUp(spinner);
}
void Run() {
    Calculator().Run();
    const TSpringDesign& s = Calculator().design();
    RunDesign() = {s.SpringKind, s.MaterialNo, s.WireNo,  s.MeanDia, s.Turns,
                   s.FreeLen,    s.SetLen,     s.WorkLen, {}};
}
// The wire chosen in the panel's select by name: kWindowWire, a standard's or the user's own.
std::string& PanelWireName() {
    static std::string name(kWindowWire);
    return name;
}
// The user's own materials, read from the panel's text.
std::vector<std::shared_ptr<const WireMaterial>>& OwnMaterials() {
    static std::vector<std::shared_ptr<const WireMaterial>> own;
    return own;
}
// The chosen wire at the size the window's design takes, alive while its record is read; null
// for the window's own, and then `refusal` says why when a wire was chosen.
std::shared_ptr<const WireSelection> PanelWire(std::string& refusal) {
    refusal.clear();
    if (PanelWireName() == kWindowWire) {
        return nullptr;
    }
    std::shared_ptr<const WireMaterial> material =
        WireMaterialNamed(PanelWireName(), OwnMaterials());
    return material ? PanelWireFor(RunDesign(), std::move(material), refusal) : nullptr;
}
// The record the panel shows: the window's, or its design run with the panel's wire or given
// initial tension; `refusal` is why a chosen wire is not shown.
std::optional<TSpringDesign> PanelRecord(std::string& refusal) {
    static std::shared_ptr<const WireSelection> wire;
    wire = PanelWire(refusal);
    if (wire) {
        std::optional<TSpringDesign> record =
            WithPanelWire(RunDesign(), PanelTensionText(), *wire, refusal);
        if (record) {
            return record;
        }
    }
    std::string unused;
    return WithGivenInitialTension(RunDesign(), PanelTensionText(), unused);
}
std::optional<TSpringDesign> PanelRecord() {
    std::string unused;
    return PanelRecord(unused);
}
// Reads the panel's own materials: {"faults": [lines], "names": [the materials]}. With a
// fault nothing changes; an empty text takes the own materials back.
std::string ReadOwn(const std::string& text) {
    JsonArray faults;
    JsonArray names;
    if (Trim(text).empty()) {
        OwnMaterials().clear();
    } else {
        OwnMaterialsReading reading = ReadOwnMaterials(text);
        for (const std::string& fault : reading.faults) {
            faults.Raw(JsonString(fault));
        }
        if (reading.faults.empty()) {
            OwnMaterials() = std::move(reading.materials);
        }
    }
    for (const std::shared_ptr<const WireMaterial>& material : OwnMaterials()) {
        names.Raw(JsonString(material->name));
    }
    return JsonObject().Raw("faults", faults.Close()).Raw("names", names.Close()).Close();
}
size_t OwnMaterialsMostBytes() {
    return kOwnMaterialsMostBytes;
}
std::string PanelWires() {
    return PanelWiresJson(OwnMaterials());
}
std::string PanelWireProblem() {
    if (!Calculator().analysed()) {
        return {};
    }
    std::string refusal;
    PanelRecord(refusal);
    return refusal;
}
// Chooses the panel's wire; what the panel then says of it (empty: shown as chosen).
std::string SetPanelWire(const std::string& name) {
    PanelWireName() = name.empty() ? std::string(kWindowWire) : name;
    return PanelWireProblem();
}
// Keeps the panel's initial tension; the message of a text that is none, else empty.
std::string SetInitialTension(const std::string& text) {
    std::string error;
    WithGivenInitialTension(RunDesign(), text, error);
    PanelTensionText() = error.empty() ? text : std::string();
    return error.empty() ? std::string() : WordOf(error);
}
// The field is offered for an extension spring after Run.
bool TensionOffered() {
    return Calculator().analysed() && RunDesign().springKind == kExtension;
}
int Position(const std::string& spinner) {
    return Calculator().position(spinner);
}
emscripten::val ReportBytes() {
    return BytesView(Calculator().ReportBytes());
}
// "YYYYMMDDhhmm" fixes the date stamp's time; anything else gives it back to the clock.
bool SetFixedTime(const std::string& when) {
    LocalDateTime time{};
    if (when.size() == 12 && when.find_first_not_of("0123456789") == std::string::npos) {
        time = {std::stoi(when.substr(0, 4)), std::stoi(when.substr(4, 2)),
                std::stoi(when.substr(6, 2)), std::stoi(when.substr(8, 2)),
                std::stoi(when.substr(10, 2))};
    }
    Calculator().SetFixedTime(time);
    return time.year != 0;
}
std::string DiagramSvg() {
    if (!Calculator().analysed()) {
        return {};
    }
    const std::optional<TSpringDesign> given = PanelRecord();
    return PanelDiagramSvg(given ? *given : Calculator().design());
}
std::string Figures() {
    if (!Calculator().analysed()) {
        return "[]";
    }
    const std::optional<TSpringDesign> given = PanelRecord();
    return FiguresJson(given ? *given : Calculator().design());
}

// The tolerances of the panel's record at the grade chosen in its select ("none": no rows).
std::string Tolerances(const std::string& grade) {
    if (!Calculator().analysed()) {
        return "[]";
    }
    const std::optional<TSpringDesign> given = PanelRecord();
    return TolerancesJson(given ? *given : Calculator().design(), grade);
}

// The design as the page's address keeps it.
std::string DesignAddress() {
    return DesignFragment(Calculator().design());
}

// A design from the page's address, entered as a sample or a search result is: {"loaded":
// true}, or why it was passed over, in the page's language ("note"; none when the address names no
// design).
std::string LoadAddress(const std::string& fragment) {
    const AddressReading reading = ReadDesignFragment(fragment);
    if (reading.design) {
        Calculator().LoadDesign(*reading.design);
        return JsonObject().Flag("loaded", true).Close();
    }
    std::string note;
    if (reading.fault != AddressFault::NoDesign) {
        note = WordOf("addressIgnored");
        note += WordOf(reading.fault == AddressFault::OtherVersion ? "addressOtherVersion"
                       : reading.fault == AddressFault::OutOfRange ? "addressOutOfRange"
                                                                   : "addressUnreadable");
        if (!reading.field.empty()) {
            note += Words("noteOpen") + reading.field + Words("noteClose");
        }
        note += WordOf("addressStart");
    }
    return JsonObject().Flag("loaded", false).Text("note", note).Close();
}

// The search runs in the page's worker, a second instance of this module: the designs it found
// stay there until the next search, and each row's design goes back to the page with it.
std::vector<DesignInput>& Found() {
    static std::vector<DesignInput> found;
    return found;
}
// `progress(designs looked at, wire sizes walked, of, widened walk)` is told as the engine tells
// it; its answer false stops the search.
std::string Search(const std::vector<SearchFormEntry>& form, emscripten::val progress) {
    SearchProgressFn told;
    if (progress.typeOf().as<std::string>() == "function") {
        told = [&progress](const SearchProgress& p) {
            return progress(static_cast<double>(p.designsEvaluated),
                            static_cast<double>(p.wiresDone), static_cast<double>(p.wiresTotal),
                            p.widening)
                .as<bool>();
        };
    }
    return SearchJson(form, Found(), told, OwnMaterials());
}
emscripten::val FoundDesigns() {
    emscripten::val designs = emscripten::val::array();
    for (const DesignInput& input : Found()) {
        designs.call<void>("push", emscripten::val(input));
    }
    return designs;
}
// A design a search found, loaded into the window as a sample is loaded.
void Choose(const DesignInput& input) {
    Calculator().LoadDesign(input);
}

}  // namespace

EMSCRIPTEN_BINDINGS(springcalc) {
    using namespace emscripten;
    value_object<SearchFormEntry>("SearchFormEntry")
        .field("name", &SearchFormEntry::name)
        .field("text", &SearchFormEntry::text)
        .field("slot", &SearchFormEntry::slot);
    register_vector<SearchFormEntry>("SearchForm");
    value_object<DesignInput>("DesignInput")
        .field("springKind", &DesignInput::springKind)
        .field("materialNo", &DesignInput::materialNo)
        .field("wireNo", &DesignInput::wireNo)
        .field("meanDia", &DesignInput::meanDia)
        .field("turns", &DesignInput::turns)
        .field("freeLen", &DesignInput::freeLen)
        .field("setLen", &DesignInput::setLen)
        .field("workLen", &DesignInput::workLen);
    function("layoutJson", &LayoutJson);
    function("textsJson", &TextsJson);
    function("warningListNote", &WarningListNoteOf);
    function("setLanguage", &SetLanguage);
    function("searchFormJson", &SearchFormJson);
    function("torsionFormJson", &TorsionFormJson);
    function("torsion", &TorsionPanelJson);
    function("drawingPixels", &DrawingPixels);
    function("start", &Start);
    function("click", &Click);
    function("mouseUp", &MouseUp);
    function("run", &Run);
    function("position", &Position);
    function("reportBytes", &ReportBytes);
    function("setFixedTime", &SetFixedTime);
    function("diagramSvg", &DiagramSvg);
    function("figures", &Figures);
    function("toleranceGrades", &ToleranceGradesJson);
    function("tolerances", &Tolerances);
    function("setInitialTension", &SetInitialTension);
    function("tensionOffered", &TensionOffered);
    function("readOwnMaterials", &ReadOwn);
    function("ownMaterialsMostBytes", &OwnMaterialsMostBytes);
    function("panelWires", &PanelWires);
    function("setPanelWire", &SetPanelWire);
    function("panelWireProblem", &PanelWireProblem);
    function("search", &Search);
    function("foundDesigns", &FoundDesigns);
    function("choose", &Choose);
    function("designAddress", &DesignAddress);
    function("loadAddress", &LoadAddress);
}

}  // namespace springcalc::web
