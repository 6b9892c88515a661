// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/spring_engine.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "engine/samples.h"
#include "engine/spring_formulas.h"
#include "engine/text_format.h"
#include "engine/window_texts.h"

namespace springcalc {

namespace {

// Numbers in the value fields stand three blanks from the right edge: inputs, lengths and most
// results with "%.1f   " or "%.2f   ".
constexpr std::string_view kGap = "   ";

// Rounds a value worked out in double to the single precision of the record.
constexpr float Store(double value) {
    return static_cast<float>(value);
}

}  // namespace

SpringEngine::SpringEngine(TSpringDesign& design, SpringView& view, Clock clock)
    : design_(design), view_(view), clock_(std::move(clock)) {}

void SpringEngine::LookupStrength(int materialNo) {
    const MaterialRow& material = design_.Wire ? design_.Wire->row : kMaterials[materialNo];
    design_.ShearModulus = material.shearModulus;
    design_.TensileStrength = design_.Wire
                                  ? design_.Wire->strength
                                  : static_cast<float>(TableStrength(materialNo, design_.WireNo));
    const float strength = Store(double(material.allowFactor) * double(design_.TensileStrength));
    design_.AllowStatic = Store(formulas::kCompressionAllowable * double(strength));
    design_.AllowStaticExt = Store(formulas::kExtensionAllowable * double(strength));
    CheckGeometry();
}

void SpringEngine::UpdateDiameters() {
    const double d = WireDiameter();
    design_.InnerDia = Store(double(design_.MeanDia) - d);
    design_.OuterDia = Store(double(design_.MeanDia) + d);
    view_.SetNumberPair(Field::Label45, Words("innerDiameter"), double(design_.InnerDia),
                        Words("outerDiameter"), double(design_.OuterDia), 2);
}

void SpringEngine::CheckGeometry() {
    const double d = WireDiameter();
    const float springIndex = Store(double(design_.MeanDia) / d);
    ClearWarnings();

    const bool sizeOffered = design_.TensileStrength != float(kNotOffered);
    if (sizeOffered) {
        view_.SetColor(Field::Label3, clAqua);
    } else {
        view_.SetColor(Field::Label3, design_.WarnColor);
        AddWarning(kWireNotMadeWarning);
    }

    const bool indexOk = springIndex >= 4.0f;
    if (indexOk) {
        view_.SetColor(Field::Label4, clAqua);
    } else {
        view_.SetColor(Field::Label4, design_.WarnColor);
        AddWarning(kIndexWarning);
    }
    runOffered_ = sizeOffered && indexOk;
    view_.SetEnabled(Command::N1, runOffered_);

    // A length that fails its check paints its caption and adds one line each.
    auto checkLength = [this](Field caption, bool fails, int warning) {
        if (fails) {
            view_.SetColor(caption, design_.WarnColor);
            AddWarning(warning);
        } else {
            view_.SetColor(caption, clAqua);
        }
    };

    if (design_.SpringKind == kCompression) {
        design_.SolidLen = Store(formulas::SolidLength(design_.Turns, d));
        ShowLength(Field::Label48, design_.SolidLen);
        checkLength(Field::Label6, design_.SolidLen > design_.FreeLen, kBelowSolidWarning);
        checkLength(Field::Label7, design_.SolidLen > design_.SetLen, kBelowSolidWarning);
        checkLength(Field::Label8, design_.SolidLen > design_.WorkLen, kBelowSolidWarning);
    } else if (design_.SpringKind == kExtension) {
        design_.FreeLen = Store(formulas::ExtensionFreeLength(design_.MeanDia, design_.Turns, d));
        ShowLength(Field::Label29, design_.FreeLen);
        checkLength(Field::Label7, design_.SetLen < design_.FreeLen, kBelowFreeLengthWarning);
        checkLength(Field::Label8, design_.WorkLen < design_.FreeLen, kBelowFreeLengthWarning);
    }
}

void SpringEngine::AnalyseDesign() {
    TSpringDesign& s = design_;
    const double d = WireDiameter();
    const double D = s.MeanDia;
    const float wahl = WahlFactorOf(s);
    const double stiffness = formulas::Stiffness(s.ShearModulus, d);
    s.SpringRate = Store(formulas::SpringRate(stiffness, s.Turns, D));

    float allowable = 0;
    float allowLength = 0;  // compression: length at which the allowable load is reached
    if (s.SpringKind == kCompression) {
        AnalyseCompression(wahl, allowable, allowLength);
    } else if (s.SpringKind == kExtension) {
        s.InitTension = givenInitialTension_ ? *givenInitialTension_
                                             : Store(formulas::InitialTension(stiffness, D));
        AnalyseExtension(wahl, allowable);
    }
    if (s.AllowFatigue > allowable) {
        s.AllowFatigue = allowable;
    }
    AddResultWarnings(allowable, allowLength);
    ShowResults(allowable);
    view_.SetEnabled(Command::N2, true);
    view_.SetEnabled(Command::N3, true);
    UpdateDateStamp();
}

// Repeated-load allowable stress from the load ratio. A compression spring whose operating
// length equals its free length carries no load there; the ratio is then taken as 0, the
// cautious end of the factor, rather than dividing by zero.
float SpringEngine::FatigueAllowable(float wahl) const {
    const TSpringDesign& s = design_;
    const float r = s.Pact != 0.0f ? Store(double(s.Pset) / double(s.Pact)) : 0.0f;
    float f = Store(formulas::RepeatedLoadFactor(r));
    if (f > formulas::kMostRepeatedLoadFactor) {
        f = formulas::kMostRepeatedLoadFactor;
    }
    return Store(double(f) * double(s.TensileStrength) / double(wahl));
}

// The loads and stresses at the installed and operating lengths: the same for both kinds but
// for the initial tension, which a compression spring has none of (adding 0 changes no bit).
void SpringEngine::WorkingLoads(double initialTension) {
    TSpringDesign& s = design_;
    const double k = s.SpringRate;
    const auto load = [&](float length) {
        return Store(std::fabs((double(s.FreeLen) - double(length)) * k) + initialTension);
    };
    s.Pset = load(s.SetLen);
    s.Pact = load(s.WorkLen);
    s.Tset = Store(std::fabs(formulas::ShearStress(s.Pset, s.MeanDia, WireDiameter())));
    s.Tact = Store(std::fabs(formulas::ShearStress(s.Pact, s.MeanDia, WireDiameter())));
}

void SpringEngine::AnalyseCompression(float wahl, float& allowable, float& allowLength) {
    TSpringDesign& s = design_;
    const double d = WireDiameter();
    const double k = s.SpringRate;
    WorkingLoads(0.0);
    s.AllowFatigue = FatigueAllowable(wahl);
    const float solidLoad = Store((double(s.FreeLen) - double(s.SolidLen)) * k);
    const float solidStress = Store(formulas::ShearStress(solidLoad, s.MeanDia, d));
    allowable = s.AllowStatic;
    const float allowLoad = Store(formulas::LoadAtStress(allowable, s.MeanDia, d));
    allowLength = Store(double(s.FreeLen) - double(allowLoad) / k);
    if (s.SolidLen >= allowLength) {
        s.LimitLen = s.SolidLen;
        s.Tmax = solidStress;
        s.Pmax = solidLoad;
    } else {
        s.LimitLen = allowLength;
        s.Tmax = allowable;
        s.Pmax = allowLoad;
    }
}

void SpringEngine::AnalyseExtension(float wahl, float& allowable) {
    TSpringDesign& s = design_;
    WorkingLoads(s.InitTension);
    s.AllowFatigue = FatigueAllowable(wahl);
    allowable = s.AllowStaticExt;
    const float allowLoad = Store(formulas::LoadAtStress(allowable, s.MeanDia, WireDiameter()));
    s.LimitLen =
        Store((double(allowLoad) - double(s.InitTension)) / s.SpringRate + double(s.FreeLen));
    s.Pmax = allowLoad;
}

void SpringEngine::AddResultWarnings(float allowable, float allowLength) {
    const TSpringDesign& s = design_;
    if (s.Tset > allowable) {
        AddWarning(kStaticStressWarning);
    }
    if (s.Tact > allowable) {
        AddWarning(kStaticStressWarning);
    }
    if (s.SpringKind == kCompression && allowLength > s.SolidLen) {
        AddWarning(kAllowableBeforeSolidWarning);
    }
    if (s.Tset > s.AllowFatigue) {
        AddWarning(kRepeatedLoadWarning);
    }
    if (s.Tact > s.AllowFatigue) {
        AddWarning(kRepeatedLoadWarning);
    }
}

void SpringEngine::ShowResults(float allowable) {
    const TSpringDesign& s = design_;
    if (s.SpringKind == kCompression) {
        view_.SetText(Field::Label37, {});
        ShowResult(Field::Label40, s.Tmax);
    } else {
        view_.SetNumber(Field::Label37, double(s.InitTension), 2, "  ");
        view_.SetText(Field::Label40, {});
    }
    view_.SetNumber(Field::Label32, double(s.LimitLen), 1, kGap);
    ShowResult(Field::Label33, allowable);
    ShowResult(Field::Label34, s.AllowFatigue);
    view_.SetNumber(Field::Label35, double(s.ShearModulus), 0, kGap);
    view_.SetNumber(Field::Label36, double(s.SpringRate), 3, kGap);
    ShowResult(Field::Label38, s.Tset);
    ShowResult(Field::Label39, s.Tact);
    ShowResult(Field::Label41, s.Pset);
    ShowResult(Field::Label42, s.Pact);
    ShowResult(Field::Label43, s.Pmax);
}

void SpringEngine::ClearWarnings() {
    view_.SetFontColor(Field::Label47, clGray);
    view_.ClearWarningLines();
    warnings_.clear();
}

void SpringEngine::AddWarning(int number) {
    view_.SetFontColor(Field::Label47, clBlack);
    if (number >= 1 && number <= static_cast<int>(kWarningTexts.size())) {
        view_.AppendWarningLine(kWarningTexts[number - 1]);
        warnings_.push_back(number);
    }
}

void SpringEngine::EnterInputs(const DesignInput& input) {
    design_.MaterialNo = input.materialNo;
    design_.WireNo = input.wireNo;
    design_.Wire = input.wire;
    design_.MeanDia = input.meanDia;
    design_.Turns = input.turns;
    if (input.springKind == kCompression) {
        design_.FreeLen = input.freeLen;
    }
    design_.SetLen = input.setLen;
    design_.WorkLen = input.workLen;
    givenInitialTension_ = input.initialTension;
}

void SpringEngine::LoadCompressionSample(int number) {
    if (number >= 1 && number <= kSampleCount) {
        EnterInputs(kCompressionSamples[number - 1]);
    }
    ShowSelection();
    ShowLength(Field::Label27, design_.MeanDia);
    ShowLength(Field::Label28, design_.Turns);
    ShowLength(Field::Label29, design_.FreeLen);
    ShowLength(Field::Label30, design_.SetLen);
    ShowLength(Field::Label31, design_.WorkLen);
}

void SpringEngine::LoadExtensionSample(int number) {
    if (number >= 1 && number <= kSampleCount) {
        EnterInputs(kExtensionSamples[number - 1]);
    }
    ShowSelection();
    ShowLength(Field::Label27, design_.MeanDia);
    ShowLength(Field::Label28, design_.Turns);
    ShowLength(Field::Label30, design_.SetLen);
    ShowLength(Field::Label31, design_.WorkLen);
}

void SpringEngine::UpdateDateStamp() {
    design_.DateText = FormatDateStamp(clock_());
    view_.SetText(Field::Labeldate, design_.DateText);
}

void SpringEngine::MarkResultsStale() {
    view_.SetEnabled(Command::N2, false);
    view_.SetEnabled(Command::N3, false);
}

void SpringEngine::StartUp() {
    FillTables(design_);
    design_.MaterialNo = 0;
    design_.WireNo = 0;
    ShowSelection();
    LoadCompressionSample(1);
    SyncSelectionSpinners();
    UpdateDiameters();
    LookupStrength(design_.MaterialNo);
    view_.SetText(Field::Label1, kCompressionTitle);
    UpdateDateStamp();
    // Set last: the start-up design passes every check, so nothing is painted before this.
    design_.WarnColor = kWarnColor;
}

void SpringEngine::LoadSampleAndRefresh(int number) {
    if (design_.SpringKind == kCompression) {
        LoadCompressionSample(number);
    } else if (design_.SpringKind == kExtension) {
        LoadExtensionSample(number);
    }
    RefreshAfterSampleLoad();
}

void SpringEngine::RefreshAfterSampleLoad() {
    SyncSelectionSpinners();
    UpdateDiameters();
    LookupStrength(design_.MaterialNo);
    MarkResultsStale();
}

void SpringEngine::SyncSelectionSpinners() {
    view_.SetPosition(Spinner::UpDown2, design_.WireNo);
    view_.SetPosition(Spinner::UpDown1, design_.MaterialNo);
}

void SpringEngine::ShowSelection() {
    view_.SetText(Field::Label25, design_.MaterialName[design_.MaterialNo]);
    view_.SetText(Field::Label26, design_.WireDiaText[design_.WireNo]);
}

void SpringEngine::ShowLength(Field field, float value) {
    view_.SetNumber(field, double(value), 1, kGap);
}

void SpringEngine::ShowResult(Field field, float value) {
    view_.SetNumber(field, double(value), 2, kGap);
}

}  // namespace springcalc
