// Saves a picture of the window after start-up: screenshot OUTPUT.png [run]
// With "run", the picture shows the results of one Run. Works offscreen
// (QT_QPA_PLATFORM=offscreen).

#include <QApplication>
#include <QPixmap>

#include "main_window.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        return 2;
    }
    TForm1 window;
    window.show();
    if (argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("run")) {
        window.N1Click();
    }
    return window.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
