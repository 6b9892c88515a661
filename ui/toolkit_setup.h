// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the application needs before the window is built: Qt's own dialogs (the Save dialog,
// the print question) speak Japanese like the window, whatever the user's locale, and the
// painted labels are readable by assistive technology.

class QCoreApplication;

// True when Qt's Japanese translations were found and installed.
bool PrepareApplication(QCoreApplication& application);
