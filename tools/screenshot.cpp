// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of the window after start-up: screenshot OUTPUT.png [extension] [run]
// "extension" switches to the extension spring first; "run" shows the results of one Run.
// Works offscreen (QT_QPA_PLATFORM=offscreen).

#include <QApplication>
#include <QPixmap>
#include <QToolButton>

#include "ui/main_window.h"
#include "ui/spin_button.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        return 2;
    }
    TForm1 window;
    window.show();
    const QStringList options = application.arguments().mid(2);
    if (options.contains(QStringLiteral("extension"))) {
        window.findChild<SpinButton*>(QStringLiteral("UpDown8"))->upButton()->click();
    }
    if (options.contains(QStringLiteral("run"))) {
        window.N1Click();
    }
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
