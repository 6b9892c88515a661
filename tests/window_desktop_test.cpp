// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a desktop shows it beyond its own rules: what assistive technology reads, the
// Save dialog's completion list, the layout at other screen resolutions, the keyboard, the
// tooltips and the size of the printed window.

#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

#include <QAbstractItemView>
#include <QAccessible>
#include <QCompleter>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QtTest>
#include <tuple>

#include "layout/window_layout.h"
#include "ui/design_scale.h"
#include "ui/ui_colors.h"
#include "ui/window_help.h"
#include "ui/window_printer.h"
#include "window_test.h"
#include "window_test_support.h"

using namespace springcalc;

namespace {

// Accessibility events as a screen reader would receive them: "object event text".
QStringList announcements;

QString Announcement(const QString& object, QAccessible::Event event, const QString& text) {
    return QStringLiteral("%1 %2 %3").arg(object).arg(int(event)).arg(text);
}

void RecordAnnouncement(QAccessibleEvent* event) {
    QString text;
    if (event->type() == QAccessible::TextUpdated) {
        text = static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted();
    } else if (event->accessibleInterface()) {
        text = event->accessibleInterface()->text(QAccessible::Name);
    }
    if (event->object()) {
        announcements << Announcement(event->object()->objectName(), event->type(), text);
    }
}

}  // namespace

void WindowTest::labelsReadAsStaticTextExactlyAsShownAndTheirChangesAreAnnounced() {
    WindowUnderTest t;
    announcements.clear();
    // As when a screen reader is running: the platform's accessibility is switched on (the
    // offscreen platform has no AT-SPI bridge that would do it), and the handler stands in for
    // the bridge.
    QPlatformAccessibility* platform =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(platform);
    platform->setActive(true);
    const QAccessible::UpdateHandler previous =
        QAccessible::installUpdateHandler(RecordAnnouncement);
    t.click("UpDown3", Arrow::Up);
    t.action("N1")->trigger();
    QAccessible::installUpdateHandler(previous);
    platform->setActive(false);

    for (QAccessible::Event type : {QAccessible::TextUpdated, QAccessible::NameChanged}) {
        QVERIFY(announcements.contains(Announcement("Label27", type, "4.4   ")));
        QVERIFY(announcements.contains(Announcement("Label45", type, "内径 3.70 外径 5.10")));
        QVERIFY(announcements.contains(Announcement("Label36", type, "0.297   ")));
    }
    for (const layout::LabelSpec& spec : layout::kLabels) {
        FieldLabel* label = t.label(spec.name);
        QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(label);
        QVERIFY2(readable && readable->textInterface(), spec.name);
        QCOMPARE(readable->role(), QAccessible::StaticText);
        // Blanks included: "4.3   " is not "4.3".
        QCOMPARE(readable->text(QAccessible::Name), label->text());
        QAccessibleTextInterface* text = readable->textInterface();
        QCOMPARE(text->text(0, text->characterCount()), label->text());
    }
}

void WindowTest::arrowsMemoAndDrawingsHaveNames() {
    WindowUnderTest t;
    const std::pair<const char*, const char*> arrows[] = {
        {"UpDown3", "コイル平均径"}, {"UpDown9", "コイル平均径 10"}, {"UpDown8", "ばねの種類"}};
    for (const auto& [name, spoken] : arrows) {
        for (auto [arrow, way] : {std::pair{Arrow::Up, " 上"}, std::pair{Arrow::Down, " 下"}}) {
            QAccessibleInterface* button =
                QAccessible::queryAccessibleInterface(t.arrow(name, arrow));
            QCOMPARE(button->role(), QAccessible::Button);
            QCOMPARE(button->text(QAccessible::Name),
                     QString::fromUtf8(spoken) + QString::fromUtf8(way));
        }
    }
    // Every spinner has two distinctly named arrows.
    QSet<QString> names;
    for (const layout::SpinnerSpec& spec : layout::kSpinners) {
        for (Arrow arrow : {Arrow::Up, Arrow::Down}) {
            names << QAccessible::queryAccessibleInterface(t.arrow(spec.name, arrow))
                         ->text(QAccessible::Name);
        }
    }
    QCOMPARE(names.size(), 2 * qsizetype(layout::kSpinners.size()));

    auto* memo = t.window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(memo);
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("警告！"));

    for (const char* image : {"Image1", "Image2"}) {
        QAccessibleInterface* drawing =
            QAccessible::queryAccessibleInterface(t.window.findChild<QLabel*>(image));
        QVERIFY(drawing->text(QAccessible::Name).endsWith(QStringLiteral("コイルばねの図")));
        QVERIFY(drawing->text(QAccessible::Description).contains(QStringLiteral("自由長")));
    }
}

void WindowTest::completionListClosesWithTheSaveDialog() {
    const test_support::ScratchDir dir;
    test_support::WriteFile(dir / "springs.txt", "");

    WindowUnderTest t;
    QAbstractItemView* completions = nullptr;
    bool completionsShown = false;
    // The user types the name of the file that is there and presses Enter; the dialog is shown
    // without a modal loop so the test drives it.
    // The dialog lists the folder in a thread of its own and completion offers only listed
    // names, so the typing waits for the listing, as a person would see it.
    t.prompts.onSave = [&](QFileDialog& dialog) {
        const QString folder = QString::fromStdString(dir.path().string());
        dialog.setDirectory(folder);
        dialog.show();
        auto* files = dialog.findChild<QFileSystemModel*>();
        if (!QTest::qWaitForWindowActive(&dialog) ||
            !QTest::qWaitFor([&] { return files->rowCount(files->index(folder)) > 0; })) {
            return false;
        }
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->clear();
        QTest::keyClicks(name, QStringLiteral("spr"));
        completions = name->completer()->popup();
        completionsShown = QTest::qWaitFor([&] { return completions->isVisible(); }, 5000);
        QTest::keyClicks(name, QStringLiteral("ings.txt"));
        QTest::keyClick(name, Qt::Key_Return);
        return dialog.result() == QDialog::Accepted;
    };
    t.action("N1")->trigger();
    t.action("N2")->trigger();
    QVERIFY(completionsShown);
    QVERIFY(test_support::fs::file_size(dir / "springs.txt") > 0);  // the block was appended
    QVERIFY(!completions->isVisible());
    // The next click steps the spinner, not just closes a list.
    t.click("UpDown3", Arrow::Up);
    QCOMPARE(t.text("Label27"), QStringLiteral("4.4   "));
}

void WindowTest::layoutScalesWithTheScreenResolution() {
    // The offscreen screen has 96 dpi; 150 is given. Edges are scaled, fonts with them.
    // Resolution, Label25, UpDown1, Memo1, the value and caption fonts, the window.
    const std::tuple<double, QRect, QRect, QRect, int, int, QSize> cases[] = {
        {0, {110, 93, 101, 16}, {216, 86, 19, 24}, {87, 375, 358, 64}, 16, 14, {532, 458}},
        {150, {173, 146, 157, 25}, {338, 135, 30, 38}, {137, 587, 559, 99}, 26, 23, {831, 716}},
    };
    for (const auto& [dpi, label25, upDown1, memo1, valueFont, captionFont, window] : cases) {
        WindowUnderTest t(dpi);
        QCOMPARE(t.label("Label25")->geometry(), label25);
        QCOMPARE(t.spinner("UpDown1")->geometry(), upDown1);
        QCOMPARE(t.window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->geometry(), memo1);
        QCOMPARE(t.label("Label25")->font().pixelSize(), valueFont);
        QCOMPARE(t.label("Label2")->font().pixelSize(), captionFont);
        QCOMPARE(t.window.font().pixelSize(), captionFont);  // what new controls inherit
        QCOMPARE(t.window.size(), window);
    }
}

// Drawn for the screen: at one and two device pixels per design pixel exactly the window's
// bitmaps, and at every size between and beyond still sharp, in their three colours, at the
// size the scale gives.
void WindowTest::drawingsAreSharpAtEveryScale() {
    using springcalc::SpringDrawing;
    for (const auto& [drawing, file, natural] :
         {std::tuple{SpringDrawing::Compression, "compression_spring", QSize(190, 118)},
          std::tuple{SpringDrawing::Extension, "extension_spring", QSize(200, 93)}}) {
        for (const auto& [dpi, ratio] :
             {std::pair{100, 1.0}, std::pair{100, 2.0}, std::pair{120, 1.0}, std::pair{144, 1.0},
              std::pair{100, 1.75}, std::pair{150, 2.0}}) {
            const double scale = dpi / 100.0 * ratio;
            const QPixmap pixmap = DesignScale(dpi).drawing(drawing, ratio);
            QCOMPARE(pixmap.size(),
                     QSize(qRound(natural.width() * scale), qRound(natural.height() * scale)));
            QCOMPARE(pixmap.deviceIndependentSize().toSize(), pixmap.size() / ratio);
            const QImage image = pixmap.toImage().convertToFormat(QImage::Format_RGB32);
            QSet<QRgb> colours;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    colours << image.pixel(x, y);
                }
            }
            QCOMPARE(colours, QSet<QRgb>({0xFFC0C0C0, 0xFF000000, 0xFFFFFFFF}));
            if (scale == 1.0 || scale == 2.0) {
                const QString bitmap = QStringLiteral(SPRINGCALC_TEST_DATA "/%1%2.bmp")
                                           .arg(QString::fromUtf8(file),
                                                scale == 2.0 ? QStringLiteral("@2x") : QString());
                QCOMPARE(image, QImage(bitmap).convertToFormat(QImage::Format_RGB32));
            }
        }
    }
}

// The window's face names only the families this desktop has, which spares the toolkit a
// search for each one it lacks; what it draws must be what the window's whole list draws.
void WindowTest::gothicFaceDrawsAsTheWholeFamilyList() {
    QStringList whole;
    for (const char* family : layout::kFontFamilies) {
        whole << QString::fromUtf8(family);
    }
    // Kanji, kana, half-width kana, Latin, digits, Greek and the signs the captions hold.
    const QString text = QStringLiteral("圧縮コイルバネ ｺｲﾙ平均径 警告！ SWPA τset 0.318 Kg/mm^2");
    const auto drawn = [&text](const QFont& font) {
        QImage image(640, 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.drawText(2, 30, text);
        return image;
    };
    for (const int pixels : {12, 14, 15, 16, 17, 19, 20, 30}) {
        QFont asListed;
        asListed.setFamilies(whole);
        asListed.setPixelSize(pixels);
        const QFont gothic = GothicFont(pixels);
        QCOMPARE(QFontInfo(gothic).family(), QFontInfo(asListed).family());
        QCOMPARE(drawn(gothic), drawn(asListed));
    }
}

void WindowTest::keyboardFollowsTheTabOrder() {
    WindowUnderTest t;
    // Chosen when the window is made, whatever the desktop does when it activates it.
    QCOMPARE(t.window.focusWidget(), t.spinner("UpDown1"));
    QVERIFY(QTest::qWaitForWindowActive(&t.window));
    QCOMPARE(QApplication::focusWidget(), t.spinner("UpDown1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(t.text("Label25"), QStringLiteral("      SWPB"));

    auto* memo = t.window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), memo);
    QTest::keyClick(memo, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), t.spinner("UpDown1"));
}

void WindowTest::warningListExplainsWhatStandsInIt() {
    WindowUnderTest t;
    // The warning list explains what stands in it when the mouse rests on it, once a message.
    auto* memo = t.window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    auto hover = [memo] {
        QHelpEvent event(QEvent::ToolTip, QPoint(5, 5),
                         memo->viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(memo->viewport(), &event);
        return memo->toolTip();
    };
    QCOMPARE(hover(), QStringLiteral("警告なし：設計はどの規則も破っていません。"));
    t.click("UpDown14", Arrow::Up);  // 19.5 turns: solid above every length, three times
    QCOMPARE(hover(),
             QStringLiteral("圧縮端より短い設定があります：自由長・取付長・作動長のどれかが"
                            "圧縮端長（密着長）より短い設定です。"));
    t.click("UpDown3", Arrow::Down, 20);
    QCOMPARE(hover().count(QLatin1Char('\n')), 1);
    QVERIFY(hover().startsWith(QStringLiteral("D/dを４以上にして下さい：")));
}

void WindowTest::printedWindowKeepsItsDesignedSize() {
    // 554 design pixels are 5.54 in, 3324 dots at 600 dpi, however the screen drew them.
    const QRectF a4(0, 0, 4960, 7015);
    // What was grabbed at how many pixels an inch, the page, and where it is printed.
    const std::tuple<QSizeF, double, QRectF, QRectF> rows[] = {
        {{554, 477}, 100, a4, {0, 0, 3324, 2862}},
        {{532, 458}, 96, a4, {0, 0, 3325, 2862.5}},
        {{1108, 954}, 200, a4, {0, 0, 3324, 2862}},
        // Wider than the page: shrunk to its width, in proportion.
        {{554, 477}, 100, QRectF(0, 0, 1662, 7015), {0, 0, 1662, 1431}},
    };
    for (const auto& [grabbed, pixelsPerInch, page, expected] : rows) {
        QCOMPARE(PrintedRect(grabbed, pixelsPerInch, 600, page), expected);
    }
}
