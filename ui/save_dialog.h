// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Save dialog of the report: Qt's own (not the desktop's) file dialog in save mode, with
// the report's file types.

class QFileDialog;
class QWidget;

QFileDialog* MakeSaveDialog(QWidget* parent);
