// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers for window tests: answers for the modal questions, and access to the controls by
// their names.

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "test_support.h"
#include "ui/field_label.h"
#include "ui/main_window.h"
#include "ui/spin_button.h"
#include "ui/toolkit_setup.h"
#include "ui/user_prompts.h"

// Answers what a dialog would have asked, and remembers every error shown.
class ScriptedPrompts : public UserPrompts {
public:
    std::function<bool(QFileDialog&)> onSave = [](QFileDialog&) { return false; };
    QString pdfAnswer;
    int pdfQuestions = 0;
    QStringList errors;

    bool runSaveDialog(QFileDialog& dialog) override { return onSave(dialog); }
    QString askPdfInstead(QWidget*) override {
        ++pdfQuestions;
        return pdfAnswer;
    }
    void showError(QWidget*, const QString& text) override { errors << text; }

    // The user picks `path` in the save dialog, then confirms or cancels.
    void answerSave(const QString& path, bool confirm = true) {
        onSave = [path, confirm](QFileDialog& dialog) {
            dialog.selectFile(path);
            return confirm;
        };
    }
};

// Window tests run at the design resolution unless they ask for another; 0 takes the screen's.
struct WindowUnderTest {
    ScriptedPrompts prompts;
    TForm1 window;
    int exitCode = -1;

    explicit WindowUnderTest(double logicalDpi = 100)
        : window(springcalc::test_support::FixedClock, &prompts, nullptr, logicalDpi) {
        window.setExitHandler([this](int code) { exitCode = code; });
        window.show();
    }

    QString text(const char* name) const { return label(name)->text(); }
    FieldLabel* label(const char* name) const {
        return window.findChild<FieldLabel*>(QString::fromUtf8(name));
    }
    SpinButton* spinner(const char* name) const {
        return window.findChild<SpinButton*>(QString::fromUtf8(name));
    }
    QLabel* image(const char* name) const { return window.findChild<QLabel*>(name); }
    bool imageVisible(const char* name) const { return image(name)->isVisible(); }
    QAction* action(const char* name) const {
        return window.findChild<QAction*>(QString::fromUtf8(name));
    }
    QToolButton* arrow(const char* name, springcalc::Arrow which) const {
        SpinButton* s = spinner(name);
        return which == springcalc::Arrow::Up ? s->upButton() : s->downButton();
    }
    // One click: press and release.
    void click(const char* name, springcalc::Arrow which, int times = 1) {
        for (int i = 0; i < times; ++i) {
            QTest::mouseClick(arrow(name, which), Qt::LeftButton);
        }
    }
    // Holds an arrow for `repeats` steps, as the toolkit's auto-repeat steps it, and lets go;
    // or the release is lost (the pointer left the window) and the button just comes up.
    void hold(const char* name, springcalc::Arrow which, int repeats, bool release = true) {
        QToolButton* button = arrow(name, which);
        QTest::mousePress(button, Qt::LeftButton);
        for (int i = 1; i < repeats; ++i) {
            emit button->pressed();
        }
        release ? QTest::mouseRelease(button, Qt::LeftButton) : button->setDown(false);
    }
    bool enabled(const char* command) const { return action(command)->isEnabled(); }
};

// Runs a window test object headless, with the dialogs' remembered state kept out of the
// user's home, and fails at once if a modal dialog appears (it would hang the run).
template <typename TestObject>
int RunWindowTests(int argc, char* argv[]) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    // As the program starts: Qt's dialogs in Japanese, the labels readable.
    if (!PrepareApplication(application)) {
        qWarning("Qt's Japanese translations (qt6-translations-l10n) are missing");
    }
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QApplication::activeModalWidget()) {
            qFatal("a modal dialog opened during a window test");
        }
    });
    guard.start(200);
    TestObject test;
    return QTest::qExec(&test, argc, argv);
}
