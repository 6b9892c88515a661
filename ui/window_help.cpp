// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_help.h"

#include <QEvent>
#include <QPlainTextEdit>
#include <QStringList>

#include "tooltips.h"

using namespace springcalc;

namespace {

// Works the warning list's tooltip out when it is asked for, not at every change of the list.
class WarningListHelp : public QObject {
public:
    explicit WarningListHelp(QPlainTextEdit* list) : QObject(list), list_(list) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            list_->setToolTip(WarningListToolTip(list_->toPlainText()));
        }
        return false;  // the list itself shows the tip
    }

private:
    QPlainTextEdit* list_;
};

}  // namespace

QString WarningListToolTip(const QString& lines) {
    QStringList explained;
    for (const QString& line : lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        for (const tooltips::WarningHelp& help : tooltips::kWarnings) {
            const QString message = QString::fromUtf8(help.message);
            const QString text =
                message + QStringLiteral("：") + QString::fromUtf8(help.explanation);
            if (line.trimmed() == message && !explained.contains(text)) {
                explained << text;
            }
        }
    }
    if (explained.isEmpty()) {
        return QString::fromUtf8(tooltips::kNoWarnings);
    }
    return explained.join(QLatin1Char('\n'));
}

void InstallToolTips(QWidget* window, QPlainTextEdit* warningList) {
    for (const tooltips::ToolTip& tip : tooltips::kControls) {
        if (auto* control = window->findChild<QWidget*>(QString::fromUtf8(tip.control))) {
            control->setToolTip(QString::fromUtf8(tip.text));
        }
    }
    // The tooltip event goes to the list's viewport, the widget under the mouse.
    warningList->viewport()->installEventFilter(new WarningListHelp(warningList));
}
