// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/design_scale.h"

#include <QImage>
#include <QScreen>
#include <cmath>

#include "layout/window_layout.h"

DesignScale DesignScale::ForScreen(const QScreen* screen) {
    return DesignScale(screen ? screen->logicalDotsPerInch() : kDesignDpi);
}

int DesignScale::length(int designPixels) const {
    return springcalc::layout::ScaledLength(designPixels, factor_);
}

QRect DesignScale::rect(int x, int y, int width, int height) const {
    const int left = length(x);
    const int top = length(y);
    return QRect(left, top, length(x + width) - left, length(y + height) - top);
}

QPixmap DesignScale::drawing(springcalc::SpringDrawing drawing, qreal devicePixelRatio) const {
    const springcalc::DrawnImage drawn =
        springcalc::DrawSpring(drawing, factor_ * devicePixelRatio);
    QImage image(drawn.width, drawn.height, QImage::Format_RGB32);
    for (int y = 0; y < drawn.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < drawn.width; ++x) {
            line[x] = 0xFF000000u | drawn.at(x, y);
        }
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(image);
}
