#include "window_printer.h"

#include <QPainter>
#include <QPrinter>

QString PrintImage(const QImage& image, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return QStringLiteral("印刷を開始できませんでした（%1）。")
            .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                    : printer.outputFileName());
    }
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    constexpr double kDesignDpi = 100.0;
    double scale = printer.resolution() / kDesignDpi;
    scale = std::min({scale, page.width() / image.width(), page.height() / image.height()});
    painter.drawImage(QRectF(0, 0, image.width() * scale, image.height() * scale), image);
    if (!painter.end()) {
        return QStringLiteral("印刷を完了できませんでした。");
    }
    return {};
}
