// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Test support without a toolkit, for the engine, report, window and command-line tests: the
// fixed clock, a scratch folder, whole files read and written, a comma-decimal locale, the
// calculator without a window, and the invariants every reachable state keeps, checked by both
// random walks.

#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "engine/design_editor.h"
#include "recording_view.h"

namespace springcalc::test_support {

namespace fs = std::filesystem;

inline LocalDateTime FixedClock() {
    return {2026, 12, 5, 9, 5};
}

// A number from the environment, to replay or lengthen a random walk, or the fallback.
inline unsigned EnvOr(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text && *text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : fallback;
}

// A folder of its own under the system's temporary one, removed with all it holds.
class ScratchDir {
public:
    ScratchDir()
        : path_(fs::temp_directory_path() / ("springcalc-test-" + std::to_string(::getpid()) + "-" +
                                             std::to_string(counter_++))) {
        fs::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        fs::permissions(path_, fs::perms::owner_all, ignored);  // a test may have locked it
        fs::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

// Puts a comma-decimal locale (de_DE.UTF-8) in force for the whole process, as QApplication
// does on a German desktop. It is compiled with localedef into a scratch folder that LOCPATH
// names, so the test runs whether or not the machine has the locale installed.
class CommaDecimalLocale {
public:
    CommaDecimalLocale() {
        const std::string command = "localedef -i de_DE -f UTF-8 '" +
                                    (scratch_ / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        // localedef warns (status 1) about harmless details of the source; the locale is made.
        (void)std::system(command.c_str());
        ::setenv("LOCPATH", scratch_.path().c_str(), 1);
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    }
    ~CommaDecimalLocale() {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
    }

    // True once "%.2f" really writes a comma.
    bool active() const {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%.2f", 88.0);
        return std::string(buffer) == "88,00";
    }

private:
    ScratchDir scratch_;
};

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The calculator after start-up without a window: the record, what it showed, the engine and
// the spinner rules.
struct Calculator {
    TSpringDesign design;
    fakes::RecordingView view;
    SpringEngine engine{design, view, FixedClock};
    DesignEditor editor{engine, view};
    Calculator() { engine.StartUp(); }

    // What a spinner does after it changed a length, the turns or the mean diameter.
    void Recheck() {
        engine.UpdateDiameters();
        engine.CheckGeometry();
        engine.MarkResultsStale();
    }
    // The selection spinners moved to `material` and `wire`.
    void Select(int material, int wire) {
        view.SetPosition(Spinner::UpDown1, material);
        view.SetPosition(Spinner::UpDown2, wire);
        editor.UpDown1Click(material);
        editor.UpDown2Click(wire);
    }
};

using FieldTexts = std::vector<std::pair<Field, std::string>>;

// The fields of `expected` that show something else, as "field: shown" lines, or empty.
inline std::string Differences(const fakes::RecordingView& view, const FieldTexts& expected) {
    std::string out;
    for (const auto& [field, text] : expected) {
        if (view.text(field) != text) {
            out += std::to_string(static_cast<int>(field)) + ": \"" + view.text(field) + "\"\n";
        }
    }
    return out;
}

// What a screen shows of the calculator, read back from the window or the recording view.
struct Shown {
    bool run = false, save = false, print = false;
    int material = -1, wire = -1;  // the selection spinners
    bool compressionDrawing = false, extensionDrawing = false;
    std::vector<std::string> texts;  // every display field
};

inline Shown ShownOn(const fakes::RecordingView& view) {
    Shown shown{view.enabled(Command::N1),       view.enabled(Command::N2),
                view.enabled(Command::N3),       view.position(Spinner::UpDown1),
                view.position(Spinner::UpDown2), view.visible(Image::Image1),
                view.visible(Image::Image2),     {}};
    for (int f = 0; f < kFieldCount; ++f) {
        shown.texts.push_back(view.text(static_cast<Field>(f)));
    }
    return shown;
}

// What is wrong with the record and the screen, or empty. `fresh`: the results shown belong to
// the inputs shown, so Save and Print are offered.
inline std::string Problems(const TSpringDesign& d, const Shown& shown, bool fresh) {
    for (float value : {d.MeanDia,     d.InnerDia, d.OuterDia,    d.Turns,          d.FreeLen,
                        d.SetLen,      d.WorkLen,  d.SolidLen,    d.LimitLen,       d.Tset,
                        d.Tact,        d.Tmax,     d.AllowStatic, d.AllowStaticExt, d.AllowFatigue,
                        d.InitTension, d.Pset,     d.Pact,        d.Pmax,           d.SpringRate}) {
        if (!std::isfinite(value)) {
            return "a record value is not finite";
        }
    }
    for (const std::string& text : shown.texts) {
        if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos) {
            return "a field shows " + text;
        }
    }
    if (shown.material != d.MaterialNo || shown.wire != d.WireNo) {
        return "selection and spinners differ";
    }
    const float index = float(double(d.MeanDia) / double(d.WireDia[d.WireNo]));
    if (shown.run != (d.TensileStrength != 1.0f && index >= 4.0f)) {
        return "Run offered wrongly";
    }
    if (shown.save != fresh || shown.print != fresh) {
        return "Save/Print do not follow the results";
    }
    if (shown.compressionDrawing == shown.extensionDrawing ||
        shown.extensionDrawing != (d.SpringKind == kExtension)) {
        return "wrong drawing";
    }
    return {};
}

}  // namespace springcalc::test_support
