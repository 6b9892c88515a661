// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one window of the calculator, Form1. It owns the design record, shows what the engine
// writes into its named fields, forwards the spin buttons to the editor and carries out the
// commands of its pop-up menu.

#include <QList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "engine/design_editor.h"
#include "engine/spring_design.h"
#include "ui/design_scale.h"
#include "ui/user_prompts.h"

class FieldLabel;
class QAction;
class QFileDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class SpinButton;

class TForm1 : public QWidget, public springcalc::SpringView {
    Q_OBJECT

public:
    // `prompts` answers the modal questions; the window's own dialogs when null.
    // `logicalDpi` is the resolution the layout is scaled for; the screen's when 0.
    explicit TForm1(springcalc::Clock clock = springcalc::SystemLocalTime,
                    UserPrompts* prompts = nullptr, QWidget* parent = nullptr,
                    double logicalDpi = 0);
    ~TForm1() override;

    // SpringView
    void SetText(springcalc::Field field, std::string_view text) override;
    void SetColor(springcalc::Field field, springcalc::TColor background) override;
    void SetFontColor(springcalc::Field field, springcalc::TColor color) override;
    void SetEnabled(springcalc::Command command, bool enabled) override;
    void SetPosition(springcalc::Spinner spinner, int position) override;
    void SetSpinnerEnabled(springcalc::Spinner spinner, bool enabled) override;
    void SetVisible(springcalc::Image image, bool visible) override;
    void ClearWarningLines() override;
    void AppendWarningLine(std::string_view line) override;

    // Commands of the pop-up menu.
    void N1Click();
    void N2Click();
    void N3Click();
    void Exit2Click();

    const springcalc::TSpringDesign& design() const { return design_; }
    QMenu* popupMenu() const { return PopupMenu1; }
    // The Save dialog, made at its first use.
    QFileDialog* saveDialog();
    // How Exit ends the process; tests replace it.
    void setExitHandler(std::function<void(int)> handler) { exit_ = std::move(handler); }

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QList<FieldLabel*> BuildControls();
    void BuildImages();
    QList<FieldLabel*> BuildLabels();
    QWidget* BuildSpinners();
    void BuildWarningList(QWidget* previous);
    void BuildMenu();
    void ConnectSpinners();
    void SetFormColor(springcalc::TColor color);
    SpinButton* Spinner(const char* name) const;

    DesignScale scale_;
    springcalc::TSpringDesign design_;
    springcalc::SpringEngine engine_;
    springcalc::DesignEditor editor_;
    std::unique_ptr<UserPrompts> ownPrompts_;
    UserPrompts* prompts_;
    std::function<void(int)> exit_;

    std::array<FieldLabel*, springcalc::kFieldCount> fields_{};
    std::array<SpinButton*, 4> engineSpinners_{};
    std::array<QLabel*, 2> images_{};
    QPlainTextEdit* Memo1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* Exit2 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;
    QString lastSaved_;  // the file of the last Save that took place
};
