// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_printer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <cerrno>

#include "engine/words.h"
#include "files/output_folder.h"
#include "ui/user_prompts.h"

using springcalc::OutputFolder;

QRectF PrintedRect(QSizeF imagePixels, double imagePixelsPerInch, double printerDpi, QRectF page) {
    double scale = printerDpi / imagePixelsPerInch;
    scale =
        std::min({scale, page.width() / imagePixels.width(), page.height() / imagePixels.height()});
    return QRectF(0, 0, imagePixels.width() * scale, imagePixels.height() * scale);
}

namespace {

// The page in memory, as the printer would have made it: its paper, margins, resolution and
// title.
QByteArray PdfPage(const QImage& image, double imagePixelsPerInch, const QPrinter& printer) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(printer.pageLayout());
        writer.setResolution(printer.resolution());
        writer.setTitle(printer.docName());
        writer.setCreator(printer.creator());
        QPainter painter(&writer);
        const QRectF page = writer.pageLayout().paintRectPixels(writer.resolution());
        painter.drawImage(PrintedRect(image.size(), imagePixelsPerInch, writer.resolution(), page),
                          image);
    }
    return pdf;
}

// Qt's own PDF output opens the named file itself: a full disk leaves it empty and says nothing,
// and a FIFO holds the window until somebody reads it. So the page is made in memory and written
// as the command line writes its pictures. Returns errno, or kNotARegularFile.
int WritePdf(const QImage& image, double imagePixelsPerInch, const QPrinter& printer,
             const QString& path) {
    // The file a link names is the one replaced, as Save appends to it; the link stays.
    const QFileInfo chosen(path);
    const QFileInfo target(chosen.exists() ? chosen.canonicalFilePath()
                                           : chosen.absoluteFilePath());
    if (target.isDir()) {
        return EISDIR;
    }
    OutputFolder folder;
    if (!folder.Open(QFile::encodeName(target.absolutePath()).toStdString())) {
        return errno;
    }
    const QByteArray pdf = PdfPage(image, imagePixelsPerInch, printer);
    return folder.Write(QFile::encodeName(target.fileName()).toStdString(),
                        std::string_view(pdf.constData(), static_cast<size_t>(pdf.size())));
}

}  // namespace

QString PrintImage(const QImage& image, double imagePixelsPerInch, QPrinter& printer) {
    const QString file = printer.outputFileName();
    if (!file.isEmpty()) {
        const int error = WritePdf(image, imagePixelsPerInch, printer, file);
        if (error != 0) {
            return SaveFailedText(QString::fromUtf8(springcalc::Words("pdfFile")), file, error) +
                   QStringLiteral("\n") + NothingWrittenText();
        }
        return {};
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return QString::fromUtf8(springcalc::Words("printNotStarted")).arg(printer.printerName());
    }
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    painter.drawImage(PrintedRect(image.size(), imagePixelsPerInch, printer.resolution(), page),
                      image);
    if (!painter.end()) {
        return QString::fromUtf8(springcalc::Words("printNotFinished"));
    }
    return {};
}
