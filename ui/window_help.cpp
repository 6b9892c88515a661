// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_help.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <string>

#include "engine/window_texts.h"
#include "engine/words.h"

using namespace springcalc;

namespace {

// Works the warning list's tooltip out when it is asked for, not at every change of the list.
class WarningListHelp : public QObject {
public:
    explicit WarningListHelp(QPlainTextEdit* list) : QObject(list) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            auto* list = static_cast<QPlainTextEdit*>(parent());
            list->setToolTip(
                QString::fromStdString(WarningListNote(list->toPlainText().toStdString())));
        }
        return false;  // the list itself shows the tip
    }
};

}  // namespace

void InstallToolTips(QWidget* window, QPlainTextEdit* warningList) {
    // The catalogue's "tip.<control>" rows, one a caption or a result field.
    constexpr std::string_view kTip = "tip.";
    for (const Word& word : kWords) {
        if (!word.key.starts_with(kTip)) {
            continue;
        }
        const std::string_view control = word.key.substr(kTip.size());
        if (auto* widget = window->findChild<QWidget*>(
                QString::fromUtf8(control.data(), static_cast<qsizetype>(control.size())))) {
            widget->setToolTip(QString::fromUtf8(word.japanese));
        }
    }
    // The tooltip event goes to the list's viewport, the widget under the mouse.
    warningList->viewport()->installEventFilter(new WarningListHelp(warningList));
}
