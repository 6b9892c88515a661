// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/design_editor.h"

#include "engine/window_texts.h"

namespace springcalc {

namespace {
constexpr float Store(double value) {
    return static_cast<float>(value);
}
}  // namespace

DesignEditor::DesignEditor(SpringEngine& engine, SpringView& view)
    : engine_(engine), design_(engine.design()), view_(view) {}

void DesignEditor::UpDown1Click(int position) {
    design_.MaterialNo = position;
    engine_.ShowSelection();
    engine_.LookupStrength(design_.MaterialNo);
    engine_.MarkResultsStale();
}

void DesignEditor::UpDown2Click(int position) {
    design_.WireNo = position;
    engine_.ShowSelection();
    engine_.UpdateDiameters();
    engine_.LookupStrength(design_.MaterialNo);
    engine_.MarkResultsStale();
}

// A held arrow steps 0.1 until the value has moved more than 0.5 from where the press began,
// then 0.2. The first click of a press captures the anchor of its own field.
void DesignEditor::FineStep(float& value, float& anchor, Arrow arrow) {
    if (design_.PressActive == 0) {
        anchor = value;
        design_.PressActive = 1;
    }
    if (arrow == Arrow::Up) {
        const double step = value > double(anchor) + 0.5 ? 0.2 : 0.1;
        value = Store(double(value) + step);
    } else if (value > 0.1) {
        const double step = value < double(anchor) - 0.5 ? 0.2 : 0.1;
        value = Store(double(value) - step);
    }
}

void DesignEditor::CoarseStep(float& value, Arrow arrow) {
    if (arrow == Arrow::Up) {
        value = Store(double(value) + 10.0);
    } else if (value > 10.0f) {
        value = Store(double(value) - 10.0);
    }
}

// Runs also when a bound kept the value: the field is shown and checked again all the same.
void DesignEditor::Finish(Field field, float value, FollowUp followUp) {
    engine_.ShowLength(field, value);
    if (followUp == FollowUp::DiametersAndChecks) {
        engine_.UpdateDiameters();
    }
    engine_.CheckGeometry();
    engine_.MarkResultsStale();
}

void DesignEditor::UpDown3Click(Arrow arrow) {
    FineStep(design_.MeanDia, design_.MeanDiaAnchor, arrow);
    Finish(Field::Label27, design_.MeanDia, FollowUp::DiametersAndChecks);
}

void DesignEditor::UpDown9Click(Arrow arrow) {
    CoarseStep(design_.MeanDia, arrow);
    Finish(Field::Label27, design_.MeanDia, FollowUp::DiametersAndChecks);
}

void DesignEditor::UpDown4Click(Arrow arrow) {
    if (arrow == Arrow::Up) {
        design_.Turns = Store(double(design_.Turns) + 0.5);
    } else if (design_.Turns > 0.5f) {
        design_.Turns = Store(double(design_.Turns) - 0.5);
    }
    Finish(Field::Label28, design_.Turns, FollowUp::Checks);
}

void DesignEditor::UpDown14Click(Arrow arrow) {
    CoarseStep(design_.Turns, arrow);
    Finish(Field::Label28, design_.Turns, FollowUp::Checks);
}

void DesignEditor::UpDown5Click(Arrow arrow) {
    FineStep(design_.FreeLen, design_.FreeLenAnchor, arrow);
    Finish(Field::Label29, design_.FreeLen, FollowUp::Checks);
}

void DesignEditor::UpDown10Click(Arrow arrow) {
    CoarseStep(design_.FreeLen, arrow);
    Finish(Field::Label29, design_.FreeLen, FollowUp::Checks);
}

void DesignEditor::UpDown6Click(Arrow arrow) {
    FineStep(design_.SetLen, design_.SetLenAnchor, arrow);
    Finish(Field::Label30, design_.SetLen, FollowUp::Checks);
}

void DesignEditor::UpDown11Click(Arrow arrow) {
    CoarseStep(design_.SetLen, arrow);
    Finish(Field::Label30, design_.SetLen, FollowUp::Checks);
}

void DesignEditor::UpDown7Click(Arrow arrow) {
    FineStep(design_.WorkLen, design_.WorkLenAnchor, arrow);
    Finish(Field::Label31, design_.WorkLen, FollowUp::Checks);
}

void DesignEditor::UpDown12Click(Arrow arrow) {
    CoarseStep(design_.WorkLen, arrow);
    Finish(Field::Label31, design_.WorkLen, FollowUp::Checks);
}

void DesignEditor::EndPress() {
    design_.PressActive = 0;
}

void DesignEditor::UpDown8Click(int kind, int sampleNumber) {
    design_.SpringKind = kind;
    if (kind == kCompression) {
        view_.SetText(Field::Label1, kCompressionTitle);
        view_.SetFontColor(Field::Label14, clGray);
        view_.SetColor(Field::Label37, clBtnFace);
        view_.SetText(Field::Label9, Words("compressionLimit"));
        view_.SetColor(Field::Label6, clAqua);
        view_.SetFontColor(Field::Label29, clBlack);
        view_.SetFontColor(Field::Label17, clBlack);
        view_.SetColor(Field::Label29, clWhite);
        view_.SetSpinnerEnabled(Spinner::UpDown5, true);
        view_.SetSpinnerEnabled(Spinner::UpDown10, true);
        view_.SetFontColor(Field::Label46, clBlack);
        engine_.LoadCompressionSample(sampleNumber);
        view_.SetVisible(Image::Image1, true);
        view_.SetVisible(Image::Image2, false);
    } else if (kind == kExtension) {
        view_.SetText(Field::Label1, kExtensionTitle);
        view_.SetFontColor(Field::Label14, clBlack);
        view_.SetColor(Field::Label37, clWhite);
        view_.SetText(Field::Label9, Words("extensionLimit"));
        view_.SetText(Field::Label48, "");
        view_.SetFontColor(Field::Label46, clGray);
        view_.SetColor(Field::Label6, clBtnFace);
        view_.SetFontColor(Field::Label29, clBlack);
        view_.SetColor(Field::Label29, clBtnFace);
        view_.SetFontColor(Field::Label17, clGray);
        view_.SetText(Field::Label40, "");
        view_.SetSpinnerEnabled(Spinner::UpDown5, false);
        view_.SetSpinnerEnabled(Spinner::UpDown10, false);
        engine_.LoadExtensionSample(sampleNumber);
        view_.SetVisible(Image::Image1, false);
        view_.SetVisible(Image::Image2, true);
    }
    engine_.RefreshAfterSampleLoad();
}

void DesignEditor::UpDown13Click(int sampleNumber) {
    engine_.LoadSampleAndRefresh(sampleNumber);
}

}  // namespace springcalc
