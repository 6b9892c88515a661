// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Puts the tooltips of the window in place: the fixed ones of the captions and result fields,
// and the warning list's, which explains the messages standing in it when the mouse rests on
// it.

#include <QString>

class QPlainTextEdit;
class QWidget;

void InstallToolTips(QWidget* window, QPlainTextEdit* warningList);
