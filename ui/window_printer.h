// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printing an image of the window: on the default printer without a dialog, or, where no
// printer is installed, into a PDF file the user names.

#include <QImage>
#include <QRectF>
#include <QString>

class QPrinter;

// Where on a page of `page` (device pixels at `printerDpi`) an image of `imagePixels` at
// `imagePixelsPerInch` lands: its true size from the top left, shrunk to fit if larger.
QRectF PrintedRect(QSizeF imagePixels, double imagePixelsPerInch, double printerDpi, QRectF page);

// Draws the image on one page at its true size, `imagePixelsPerInch` of its pixels to the inch
// (the window's design resolution times its screen scale and device pixel ratio), shrunk to
// the printable area if larger. A printer with an output file name writes a PDF file: that is
// written whole or not at all, a replaced file beside the old one and then renamed over it, and
// a FIFO, a device or a folder is refused without being opened. Returns an error text, empty on
// success.
QString PrintImage(const QImage& image, double imagePixelsPerInch, QPrinter& printer);
