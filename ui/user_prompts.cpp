// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/user_prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <cerrno>

#include "report/report_writer.h"

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

QString SaveFailedText(const QString& what, const QString& path, int error) {
    // A file size limit (ulimit -f) stops a write as a full disk does, but under its own number.
    const QString reason = error == EFBIG
                               ? QStringLiteral("ファイルが大きすぎて書き込めません。")
                               : QString::fromStdString(springcalc::DescribeAppendError(error));
    return QStringLiteral("%1を保存できませんでした。\nファイル: %2\n理由: %3")
        .arg(what, QDir::toNativeSeparators(path), reason);
}

QString NothingWrittenText() {
    return QStringLiteral("ファイルには何も書き込んでいません。");
}
