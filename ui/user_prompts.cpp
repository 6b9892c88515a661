// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/user_prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

bool DialogPrompts::runSaveDialog(QFileDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

QString DialogPrompts::askPdfInstead(QWidget* parent) {
    const auto answer = QMessageBox::question(
        parent, QStringLiteral("画面印刷"),
        QStringLiteral("プリンタが見つかりません。\n画面をPDFファイルに保存しますか？"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) {
        return {};
    }
    return QFileDialog::getSaveFileName(parent, QStringLiteral("PDFファイルに保存"),
                                        QDir::home().filePath(QStringLiteral("springcalc.pdf")),
                                        QStringLiteral("PDF (*.pdf)"));
}

void DialogPrompts::showError(QWidget* parent, const QString& text) {
    QMessageBox::warning(parent, parent ? parent->windowTitle() : QString(), text);
}
