// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop program shows and writes for the clicks the browser test makes on the page,
// worked out by the native build of the same engine: the browser test (web_test.py) holds the
// WebAssembly build's page against it.
//
//   web_native_twin snapshots TIME        the window's fields at the test's stops, as JSON
//   web_native_twin reports TIME OUTPUT   the 24 samples' Save blocks, in the page's order
//   web_native_twin panel TIME            the panel after Run of compression sample 1, and the
//                                       search the test fills in, and after Run of extension
//                                       sample 12 with and without a given initial tension,
//                                       as JSON
// TIME is YYYYMMDDhhmm, the date stamp's time.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "engine/design_editor.h"
#include "layout/window_layout.h"
#include "recording_view.h"
#include "report/report_writer.h"
#include "web/json_text.h"
#include "web/web_panel.h"

namespace springcalc {
namespace {

using web::JsonArray;
using web::JsonObject;

// The window's calculator with the positions of its spinners, clicked as the page clicks it.
struct Window {
    TSpringDesign design;
    fakes::RecordingView view;
    SpringEngine engine;
    DesignEditor editor{engine, view};
    int kind = 0;
    int sample = 1;

    explicit Window(LocalDateTime when) : engine(design, view, [when] { return when; }) {
        engine.StartUp();
    }
    void NextSample() {
        sample = layout::StepPosition(sample, 1, 12, true, true);
        editor.UpDown13Click(sample);
    }
    void SwitchKind() {
        kind = layout::StepPosition(kind, 0, 1, true, true);
        editor.UpDown8Click(kind, sample);
    }
    std::string Report() const { return EncodeReport(FormatReportBlock(design)).value_or(""); }

    // Every label's text as the page shows it: what the engine wrote, or the layout's own.
    std::string Fields() const {
        JsonObject fields;
        for (const layout::LabelSpec& spec : layout::kLabels) {
            std::string text = spec.text;
            for (size_t i = 0; i < layout::kFieldNames.size(); ++i) {
                if (std::string(layout::kFieldNames[i]) == spec.name &&
                    view.text(static_cast<Field>(i)) != "<unset>") {
                    text = view.text(static_cast<Field>(i));
                }
            }
            fields.Text(spec.name, text);
        }
        std::string memo;
        for (const std::string& line : view.warnings) {
            memo += (memo.empty() ? "" : "\n") + line;
        }
        return JsonObject()
            .Raw("fields", fields.Close())
            .Text("Memo1", memo)
            .Flag("N1", view.enabled(Command::N1))
            .Flag("N2", view.enabled(Command::N2))
            .Flag("N3", view.enabled(Command::N3))
            .Close();
    }
};

LocalDateTime ParseTime(const std::string& text) {
    if (text.size() != 12) {
        std::cerr << "web_native_twin: TIME is YYYYMMDDhhmm\n";
        std::exit(2);
    }
    return {std::stoi(text.substr(0, 4)), std::stoi(text.substr(4, 2)),
            std::stoi(text.substr(6, 2)), std::stoi(text.substr(8, 2)),
            std::stoi(text.substr(10, 2))};
}

std::string Snapshots(LocalDateTime when) {
    JsonObject out;
    {
        Window window(when);
        out.Raw("startup", window.Fields());
        window.SwitchKind();
        out.Raw("extension", window.Fields());
        window.engine.AnalyseDesign();
        out.Raw("extensionRun", window.Fields());
    }
    // One press of the mean diameter's fine up arrow held for k clicks, then released and
    // clicked once more.
    JsonArray held;
    JsonArray afterRelease;
    for (int clicks = 1; clicks <= 60; ++clicks) {
        Window window(when);
        for (int i = 0; i < clicks; ++i) {
            window.editor.UpDown3Click(Arrow::Up);
        }
        held.Raw(JsonString(window.view.text(Field::Label27)));
        window.editor.EndPress();
        window.editor.UpDown3Click(Arrow::Up);
        afterRelease.Raw(JsonString(window.view.text(Field::Label27)));
    }
    out.Raw("held", held.Close()).Raw("afterRelease", afterRelease.Close());
    // The wire spinner's up arrow clicked k times: thicker wire until the spring index is below
    // 4, where Run is withheld.
    JsonArray wireUp;
    {
        Window window(when);
        int wire = window.view.position(Spinner::UpDown2);
        for (int clicks = 1; clicks <= 6; ++clicks) {
            wire = layout::StepPosition(wire, 0, 45, true, true);
            window.editor.UpDown2Click(wire);
            wireUp.Raw(window.Fields());
        }
    }
    return out.Raw("wireUp", wireUp.Close()).Close();
}

// Compression samples 1 to 12, then the switch to extension springs (which loads extension
// sample 12), one more click of the selector (round to 1) and extension samples 1 to 12: Run
// and Save at each.
std::string Reports(LocalDateTime when) {
    Window window(when);
    std::string bytes;
    for (int kind = 0; kind < 2; ++kind) {
        if (kind == 1) {
            window.SwitchKind();
        }
        for (int n = 1; n <= 12; ++n) {
            if (kind == 1 || n > 1) {
                window.NextSample();
            }
            window.engine.AnalyseDesign();
            bytes += window.Report();
        }
    }
    return bytes;
}

std::string Panel(LocalDateTime when) {
    Window window(when);
    window.engine.AnalyseDesign();
    const std::vector<web::SearchFormEntry> form = {{"kind", "compression", 0},
                                                    {"load", "1.3@20", 0},
                                                    {"load", "2.2@18", 1},
                                                    {"max-od", "10", 0},
                                                    {"top", "5", 0}};
    std::vector<DesignInput> found;
    JsonObject panel;
    panel.Text("svg", web::PanelDiagramSvg(window.design))
        .Raw("figures", web::FiguresJson(window.design))
        .Raw("search", web::SearchJson(form, found));
    // The switch to extension springs (sample 12) and Run, then 25 N typed in as the panel's
    // initial tension.
    window.SwitchKind();
    window.engine.AnalyseDesign();
    const TSpringDesign& s = window.design;
    const DesignInput design{s.SpringKind, s.MaterialNo, s.WireNo,  s.MeanDia, s.Turns,
                             s.FreeLen,    s.SetLen,     s.WorkLen, {}};
    std::string error;
    const std::optional<TSpringDesign> given = web::WithGivenInitialTension(design, "25N", error);
    return panel.Raw("extensionFigures", web::FiguresJson(window.design))
        .Raw("windowFields", window.Fields())
        .Raw("givenFigures", given ? web::FiguresJson(*given) : "null")
        .Text("givenSvg", given ? web::PanelDiagramSvg(*given) : "")
        .Close();
}

}  // namespace
}  // namespace springcalc

int main(int argc, char** argv) {
    using namespace springcalc;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 3 && mode == "snapshots") {
        std::cout << Snapshots(ParseTime(argv[2])) << '\n';
    } else if (argc == 4 && mode == "reports") {
        std::ofstream(argv[3], std::ios::binary) << Reports(ParseTime(argv[2]));
    } else if (argc == 3 && mode == "panel") {
        std::cout << Panel(ParseTime(argv[2])) << '\n';
    } else {
        std::cerr << "usage: web_native_twin snapshots|panel TIME, or reports TIME OUTPUT\n";
        return 2;
    }
    return std::cout.good() ? 0 : 1;
}
