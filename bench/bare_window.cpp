// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the calculator's start-up: a bare Qt window holding as many labels and
// buttons as the calculator's window, at the same places and with the same texts, and nothing
// else (no drawings, no tables, no menu, no dialogs, the toolkit's default font). Built with
// the first-paint hook for startup_bench.

#include <QApplication>
#include <QLabel>
#include <QToolButton>
#include <QWidget>

#include "layout/window_layout.h"

using namespace springcalc;

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromUtf8(layout::kCaption));
    for (const layout::LabelSpec& spec : layout::kLabels) {
        auto* label = new QLabel(QString::fromUtf8(spec.text), &window);
        label->setGeometry(spec.x, spec.y, spec.width, spec.height);
    }
    // Each spinner is a pair of arrow buttons.
    for (const layout::SpinnerSpec& spec : layout::kSpinners) {
        for (const Qt::ArrowType arrow : {Qt::UpArrow, Qt::DownArrow}) {
            auto* button = new QToolButton(&window);
            button->setArrowType(arrow);
            const int half = spec.height / 2;
            button->setGeometry(spec.x, arrow == Qt::UpArrow ? spec.y : spec.y + half, spec.width,
                                arrow == Qt::UpArrow ? half : spec.height - half);
        }
    }
    window.move(layout::kWindow.x, layout::kWindow.y);
    window.resize(layout::kWindow.width, layout::kWindow.height);
    window.show();
    return application.exec();
}
