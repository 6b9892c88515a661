#pragma once
// Printing an image of the window: on the default printer without a dialog, or, where no
// printer is installed, into a PDF file the user names.

#include <QImage>
#include <QString>

class QPrinter;

// Draws the image on one page at the window's design resolution (100 pixels to the inch),
// shrunk to the printable area if larger. Returns an error text, empty on success.
QString PrintImage(const QImage& image, QPrinter& printer);
