#include "design_runner.h"

#include <utility>

namespace springcalc::cli {

DesignValues CaptureValues(const TSpringDesign& s) {
    DesignValues v;
    v.SpringKind = s.SpringKind;
    v.MaterialNo = s.MaterialNo;
    v.WireNo = s.WireNo;
    v.WireDia = s.WireDia[s.WireNo];
    v.MeanDia = s.MeanDia;
    v.InnerDia = s.InnerDia;
    v.OuterDia = s.OuterDia;
    v.Turns = s.Turns;
    v.FreeLen = s.FreeLen;
    v.SetLen = s.SetLen;
    v.WorkLen = s.WorkLen;
    v.SolidLen = s.SolidLen;
    v.LimitLen = s.LimitLen;
    v.Tset = s.Tset;
    v.Tact = s.Tact;
    v.Tmax = s.Tmax;
    v.AllowStatic = s.AllowStatic;
    v.AllowStaticExt = s.AllowStaticExt;
    v.AllowFatigue = s.AllowFatigue;
    v.InitTension = s.InitTension;
    v.Pset = s.Pset;
    v.Pact = s.Pact;
    v.Pmax = s.Pmax;
    v.TensileStrength = s.TensileStrength;
    v.ShearModulus = s.ShearModulus;
    v.SpringRate = s.SpringRate;
    v.DateText = s.DateText;
    return v;
}

DesignRunner::DesignRunner(Clock clock) : engine_(design_, view_, std::move(clock)) {
    FillTables(blank_);
    // The window sets its warning colour at start-up; captions painted later use it.
    blank_.WarnColor = kWarnColor;
}

DesignOutcome DesignRunner::Run(const DesignInput& input) {
    // A fresh record per design, so nothing of the previous one (such as the initial tension of
    // an extension spring) carries over into the next.
    design_ = blank_;
    design_.SpringKind = input.springKind;
    design_.MaterialNo = input.materialNo;
    design_.WireNo = input.wireNo;
    design_.MeanDia = input.meanDia;
    design_.Turns = input.turns;
    design_.FreeLen = input.springKind == kCompression ? input.freeLen : 0.0f;
    design_.SetLen = input.setLen;
    design_.WorkLen = input.workLen;

    engine_.UpdateDiameters();
    engine_.LookupStrength(design_.MaterialNo);
    engine_.MarkResultsStale();
    DesignOutcome outcome;
    outcome.analysed = view_.runOffered();
    if (outcome.analysed) {
        engine_.AnalyseDesign();
    }
    outcome.warnings = view_.warnings();
    outcome.values = CaptureValues(design_);
    return outcome;
}

}  // namespace springcalc::cli
