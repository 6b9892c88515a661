// SPDX-License-Identifier: GPL-3.0-or-later
// Program start: the application, the one window, the event loop. An exception that escapes
// start-up or an event handler is shown in an error box, and the program ends with status 0.

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>
#include <exception>

#include "ui/main_window.h"
#include "ui/toolkit_setup.h"

namespace {

void ShowException(const char* message) {
    QMessageBox::critical(nullptr, QStringLiteral("springcalc"),
                          QString::fromLocal8Bit(message ? message : "unknown error"));
}

class Application : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            ShowException(error.what());
        } catch (...) {
            ShowException(nullptr);
        }
        std::exit(0);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    Application application(argc, argv);
    PrepareApplication(application);
    try {
        TForm1 Form1;
        Form1.show();
        application.exec();
    } catch (const std::exception& error) {
        ShowException(error.what());
    } catch (...) {
        ShowException(nullptr);
    }
    return 0;
}
