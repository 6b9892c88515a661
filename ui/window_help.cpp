// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_help.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QStringList>

#include "ui/tooltips.h"

using namespace springcalc;

namespace {

// The tooltip for the lines the list holds: each of the engine's messages explained once.
QString WarningListToolTip(const QString& lines) {
    QStringList explained;
    for (const QString& line : lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        for (size_t i = 0; i < kWarningTexts.size(); ++i) {
            const QString message = QString::fromUtf8(kWarningTexts[i]);
            if (line.trimmed() != message) {
                continue;
            }
            const QString text = message + QStringLiteral("：") +
                                 QString::fromUtf8(tooltips::kWarningExplanations[i]);
            if (!explained.contains(text)) {
                explained << text;
            }
        }
    }
    if (explained.isEmpty()) {
        return QString::fromUtf8(tooltips::kNoWarnings);
    }
    return explained.join(QLatin1Char('\n'));
}

// Works the warning list's tooltip out when it is asked for, not at every change of the list.
class WarningListHelp : public QObject {
public:
    explicit WarningListHelp(QPlainTextEdit* list) : QObject(list) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            auto* list = static_cast<QPlainTextEdit*>(parent());
            list->setToolTip(WarningListToolTip(list->toPlainText()));
        }
        return false;  // the list itself shows the tip
    }
};

}  // namespace

void InstallToolTips(QWidget* window, QPlainTextEdit* warningList) {
    for (const tooltips::ToolTip& tip : tooltips::kControls) {
        if (auto* control = window->findChild<QWidget*>(QString::fromUtf8(tip.control))) {
            control->setToolTip(QString::fromUtf8(tip.text));
        }
    }
    // The tooltip event goes to the list's viewport, the widget under the mouse.
    warningList->viewport()->installEventFilter(new WarningListHelp(warningList));
}
