// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window is designed at 100 pixels per inch. On a screen of another logical resolution the
// whole layout, fonts included, is scaled by (logical DPI / 100) once, when the window is made:
// this is the one place that knows the rule.

#include <QPixmap>
#include <QRect>

class QScreen;

class DesignScale {
public:
    static constexpr double kDesignDpi = 100.0;

    explicit DesignScale(double logicalDpi) : factor_(logicalDpi / kDesignDpi) {}
    static DesignScale ForScreen(const QScreen* screen);

    // Pixels per inch of the design in a grab of the window: the design resolution in this
    // scale, times the device pixels of a logical one.
    double grabPixelsPerInch(double devicePixelRatio) const {
        return kDesignDpi * factor_ * devicePixelRatio;
    }
    int length(int designPixels) const;
    // Edges are scaled rather than sizes, so controls that touch at 100 dpi still touch.
    QRect rect(int x, int y, int width, int height) const;

    // A drawing of the window at its natural size in this scale, sharp on a screen of
    // `devicePixelRatio`: the copy drawn at twice the size ("name@2x.bmp") serves screens that
    // need more than 1.5 device pixels per design pixel. Within a tenth of 1 or 2 the pixels
    // are kept as drawn; only other scales are resampled.
    QPixmap drawing(const QString& resource, qreal devicePixelRatio) const;

private:
    double factor_;
};
