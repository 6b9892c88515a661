// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The questions the window asks the user in modal dialogs. The window asks through this
// interface so that tests can answer without a dialog ever appearing.

#include <QString>

class QFileDialog;
class QWidget;

class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // Shows the save dialog; true when the user chose a file.
    virtual bool runSaveDialog(QFileDialog& dialog) = 0;
    // There is no printer: the PDF file to write the page to instead, or empty to give up.
    virtual QString askPdfInstead(QWidget* parent) = 0;
    virtual void showError(QWidget* parent, const QString& text) = 0;
};

// The real dialogs.
class DialogPrompts : public UserPrompts {
public:
    bool runSaveDialog(QFileDialog& dialog) override;
    QString askPdfInstead(QWidget* parent) override;
    void showError(QWidget* parent, const QString& text) override;
};

// The window's words for a file it could not write, Save's and Print's alike: what it was
// writing, the file, and the reason for `error` (errno or a reason of AppendingFile's).
QString SaveFailedText(const QString& what, const QString& path, int error);
// Added when the failure left the file as it was.
QString NothingWrittenText();
