// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_printer.h"

#include <QPainter>
#include <QPrinter>

QRectF PrintedRect(QSizeF imagePixels, double imagePixelsPerInch, double printerDpi, QRectF page) {
    double scale = printerDpi / imagePixelsPerInch;
    scale =
        std::min({scale, page.width() / imagePixels.width(), page.height() / imagePixels.height()});
    return QRectF(0, 0, imagePixels.width() * scale, imagePixels.height() * scale);
}

QString PrintImage(const QImage& image, double imagePixelsPerInch, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return QStringLiteral("印刷を開始できませんでした（%1）。")
            .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                    : printer.outputFileName());
    }
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    painter.drawImage(PrintedRect(image.size(), imagePixelsPerInch, printer.resolution(), page),
                      image);
    if (!painter.end()) {
        return QStringLiteral("印刷を完了できませんでした。");
    }
    return {};
}
