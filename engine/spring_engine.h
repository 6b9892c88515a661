// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calculation engine: the operations the window's events call, each acting on the one
// design record and showing its results through the view.

#include <optional>
#include <vector>

#include "engine/date_stamp.h"
#include "engine/design_input.h"
#include "engine/spring_design.h"
#include "engine/spring_view.h"

namespace springcalc {

class SpringEngine {
public:
    SpringEngine(TSpringDesign& design, SpringView& view, Clock clock = SystemLocalTime);

    void LookupStrength(int materialNo);
    void UpdateDiameters();
    void CheckGeometry();
    void AnalyseDesign();
    void ClearWarnings();
    void AddWarning(int number);
    void LoadCompressionSample(int number);
    void LoadExtensionSample(int number);
    void UpdateDateStamp();
    // Results no longer match the inputs: withhold Save and Print until the next Run.
    void MarkResultsStale();

    // Brings a fresh record to its first state: tables, compression sample 1, its checks,
    // the title and the date stamp. Save and Print are left as they are.
    void StartUp();
    // Loads sample `number` of the current kind and recomputes what depends on it.
    void LoadSampleAndRefresh(int number);
    // What follows the loading of a sample: the selection spinners, the diameters, the
    // strength lookup with its checks, and stale results.
    void RefreshAfterSampleLoad();

    // Copies a design's selection and inputs into the record, as loading a sample does. An
    // extension spring's free length is left to the geometry check, which derives it. A given
    // initial tension is kept for the next Run; a design without one (every sample) clears it.
    void EnterInputs(const DesignInput& input);

    // Shows the material and wire texts of the current selection.
    void ShowSelection();
    // Shows a length, the turns or the mean diameter: one decimal, then three blanks.
    void ShowLength(Field field, float value);
    void ShowResult(Field field, float value);

    TSpringDesign& design() { return design_; }

    // The numbers of the warnings listed since the last check, in the order shown, repeats
    // included; and whether that check left Run offered. The same as the view was told, for
    // callers that have no window to read it from.
    const std::vector<int>& Warnings() const { return warnings_; }
    bool RunOffered() const { return runOffered_; }

private:
    float WireDiameter() const { return WireDiameterOf(design_); }
    // The next click on the material or wire spinner steps from the current selection.
    void SyncSelectionSpinners();
    // The parts of Run.
    float FatigueAllowable(float wahl) const;
    void WorkingLoads(double initialTension);
    void AnalyseCompression(float wahl, float& allowable, float& allowLength);
    void AnalyseExtension(float wahl, float& allowable);
    void AddResultWarnings(float allowable, float allowLength);
    void ShowResults(float allowable);

    TSpringDesign& design_;
    SpringView& view_;
    Clock clock_;
    std::vector<int> warnings_;
    bool runOffered_ = true;
    // Not part of the window's record: the window has no field for it and never sets it.
    std::optional<float> givenInitialTension_;
};

}  // namespace springcalc
