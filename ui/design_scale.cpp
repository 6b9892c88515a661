// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/design_scale.h"

#include <QImage>
#include <QScreen>
#include <cmath>

DesignScale DesignScale::ForScreen(const QScreen* screen) {
    return DesignScale(screen ? screen->logicalDotsPerInch() : kDesignDpi);
}

int DesignScale::length(int designPixels) const {
    return static_cast<int>(std::lround(designPixels * factor_));
}

QRect DesignScale::rect(int x, int y, int width, int height) const {
    const int left = length(x);
    const int top = length(y);
    return QRect(left, top, length(x + width) - left, length(y + height) - top);
}

QPixmap DesignScale::drawing(const QString& resource, qreal devicePixelRatio) const {
    const double devicePerDesign = factor_ * devicePixelRatio;
    const bool twice = devicePerDesign > 1.5;
    QString file = resource;
    if (twice) {
        file.insert(file.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
    }
    QImage image(file);
    if (image.isNull()) {
        return {};
    }
    const double drawnAt = twice ? 2.0 : 1.0;
    if (std::fabs(devicePerDesign - drawnAt) > 0.1 * drawnAt) {
        const QSize natural = image.size() / drawnAt;
        image = image.scaled(static_cast<int>(std::lround(natural.width() * devicePerDesign)),
                             static_cast<int>(std::lround(natural.height() * devicePerDesign)),
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    image.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(image);
}
