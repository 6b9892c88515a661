// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/save_dialog.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>

#include "layout/window_layout.h"

QFileDialog* MakeSaveDialog(QWidget* parent) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QStringLiteral("SaveDialog1"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // The report is appended to the file, so choosing an existing one asks nothing.
    dialog->setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog |
                       QFileDialog::HideNameFilterDetails);
    dialog->setDefaultSuffix(QStringLiteral("txt"));
    // "All files" is "*" for Qt: "*.*" would hide names without a dot.
    QStringList filters;
    for (const springcalc::layout::SaveFilterSpec& filter : springcalc::layout::kSaveFilters) {
        const QString pattern = QString::fromUtf8(filter.pattern);
        filters << QString::fromUtf8(filter.description) + QStringLiteral(" (") +
                       (pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern) +
                       QStringLiteral(")");
    }
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(dialog->nameFilters().constFirst());
    // Enter on a typed name that completes to an existing file closes the dialog but leaves
    // the name's completion list open over the window, where it would swallow the next click.
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog] {
        for (QCompleter* completer : dialog->findChildren<QCompleter*>()) {
            if (completer->popup() && completer->popup()->isVisible()) {
                completer->popup()->hide();
            }
        }
    });
    return dialog;
}
