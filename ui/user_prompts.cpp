// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/user_prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <cerrno>

#include "engine/words.h"
#include "report/report_writer.h"

using springcalc::Words;

bool DialogPrompts::runSaveDialog(QFileDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

QString DialogPrompts::askPdfInstead(QWidget* parent) {
    const auto answer = QMessageBox::question(parent, QString::fromUtf8(Words("menu.N3")),
                                              QString::fromUtf8(Words("noPrinter")),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) {
        return {};
    }
    return QFileDialog::getSaveFileName(parent, QString::fromUtf8(Words("savePdfTitle")),
                                        QDir::home().filePath(QStringLiteral("springcalc.pdf")),
                                        QStringLiteral("PDF (*.pdf)"));
}

void DialogPrompts::showError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, parent ? parent->windowTitle() : QString(), text);
}

QString SaveFailedText(const QString& what, const QString& path, int error) {
    // A file size limit (ulimit -f) stops a write as a full disk does, but under its own number.
    const QString reason = error == EFBIG
                               ? QString::fromUtf8(Words("fileTooLarge"))
                               : QString::fromStdString(springcalc::DescribeAppendError(error));
    return QString::fromUtf8(Words("saveFailedWhat"))
        .arg(what, QDir::toNativeSeparators(path), reason);
}

QString NothingWrittenText() {
    return QString::fromUtf8(Words("nothingWritten"));
}
