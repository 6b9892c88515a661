// SPDX-License-Identifier: GPL-3.0-or-later
// Window tests: the wiring of the real widgets to the engine (one value through each path), the
// spin buttons themselves, the menu, Save and Print, offscreen. The rules behind the values are
// the engine's tests.

#include "window_test.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <set>
#include <tuple>

#include "files/appending_file.h"
#include "report/report_writer.h"
#include "ui/ui_colors.h"
#include "window_test_support.h"

using namespace springcalc;

void WindowTest::startUpRunAndLayoutReachTheWindow() {
    WindowUnderTest t;
    QCOMPARE(t.window.windowTitle(), QStringLiteral("Pellacor１：コイルばねの設計 Ver 0.92"));
    // The icon is read without the image reader's format guess: still the program's PNG.
    QCOMPARE(t.window.windowIcon()
                 .pixmap(QSize(32, 32))
                 .toImage()
                 .convertToFormat(QImage::Format_ARGB32),
             QImage(QStringLiteral(":/springcalc.png")).convertToFormat(QImage::Format_ARGB32));
    QRect all;
    for (QWidget* child : t.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && child->objectName() != QStringLiteral("Image1")) {
            all |= child->geometry();
        }
    }
    QVERIFY(t.window.rect().contains(all));
    // Every caption is shown at the size of the text it shows, the engine's start-up texts
    // included, not at the size of the layout's placeholder.
    for (const layout::LabelSpec& spec : layout::kLabels) {
        if (spec.style == layout::LabelStyle::Caption) {
            const FieldLabel* caption = t.label(spec.name);
            const QFontMetrics metrics(caption->font());
            QCOMPARE(caption->size(),
                     QSize(metrics.horizontalAdvance(caption->text()), metrics.height()));
        }
    }
    // The drawing shows its pixmap wherever no caption stands over it: with a caption over it,
    // what it repaints is not one rectangle.
    QLabel* drawing = t.image("Image1");
    const QImage pixmap = drawing->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QRegion uncovered(QRect(drawing->pos(), pixmap.size()) & drawing->geometry() & t.window.rect());
    for (const QWidget* control : t.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control != drawing && control->isVisible()) {
            uncovered -= control->geometry();
        }
    }
    QVERIFY(uncovered.rectCount() > 1);
    const QImage shown = t.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const QRect& rect : uncovered) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                QCOMPARE(shown.pixel(x, y), pixmap.pixel(QPoint(x, y) - drawing->pos()));
            }
        }
    }
    QCOMPARE(t.label("Label47")->palette().color(QPalette::WindowText), ToQColor(clGray));
    // The caption over the drawing stands on the window's colour, and follows it to white.
    for (const QColor face : {ToQColor(clBtnFace), QColor(Qt::white)}) {
        QPalette palette = t.window.palette();
        palette.setColor(QPalette::Window, face);
        t.window.setPalette(palette);
        const QImage shot = t.window.grab(t.label("Label49")->geometry()).toImage();
        QCOMPARE(shot.pixelColor(shot.width() - 1, shot.height() - 1), face);
        QCOMPARE(shot.pixelColor(0, 0), face);
    }
    t.action("N1")->trigger();
    QCOMPARE(t.text("Label36"), QStringLiteral("0.318   "));
    t.click("UpDown14", Arrow::Up);  // 19.5 turns: solid above every length, three times
    auto* memo = t.window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    QCOMPARE(memo->toPlainText(),
             QStringList(3, QStringLiteral("圧縮端より短い設定があります")).join('\n'));
    QCOMPARE(t.label("Label6")->palette().color(QPalette::Window), ToQColor(kWarnColor));
    t.window.resize(300, 200);
    QCOMPARE(t.spinner("UpDown13")->pos(), QPoint(279, 51));
    QCOMPARE(t.image("Image2")->pixmap().size(), QSize(200, 93));
}

void WindowTest::everySpinnerReachesItsOwnRule() {
    // From compression sample 1 after a Run, one click each: the field it changes, and the
    // results marked stale.
    const Arrow up = Arrow::Up, down = Arrow::Down;
    // The spinner, its arrow, the field and what it shows.
    const std::tuple<const char*, Arrow, const char*, const char*> rows[] = {
        // clang-format off
        {"UpDown1", up, "Label25", "      SWPB"}, {"UpDown2", up, "Label45", "内径 3.50 外径 5.10"},
        {"UpDown3", up, "Label27", "4.4   "},     {"UpDown3", down, "Label27", "4.2   "},
        {"UpDown9", up, "Label27", "14.3   "},    {"UpDown4", up, "Label28", "10.0   "},
        {"UpDown14", up, "Label28", "19.5   "},   {"UpDown5", up, "Label29", "13.1   "},
        {"UpDown10", up, "Label29", "23.0   "},   {"UpDown6", up, "Label30", "12.1   "},
        {"UpDown11", up, "Label30", "22.0   "},   {"UpDown7", up, "Label31", "10.1   "},
        {"UpDown12", up, "Label31", "20.0   "},   {"UpDown13", up, "Label27", "8.8   "},
        {"UpDown8", up, "Label1", "  引張コイルバネの設計 "},
        // clang-format on
    };
    for (const auto& [spinner, arrow, field, shown] : rows) {
        WindowUnderTest t;
        t.action("N1")->trigger();
        t.click(spinner, arrow);
        QCOMPARE(t.text(field), QString::fromUtf8(shown));
        QVERIFY2(!t.enabled("N2") && !t.enabled("N3"), spinner);
    }
}

void WindowTest::spinnersHoldWrapSwitchAndStopAtTheirEnds() {
    WindowUnderTest t;
    QVERIFY(t.arrow("UpDown5", Arrow::Up)->autoRepeat());  // the toolkit repeats a held arrow
    t.hold("UpDown5", Arrow::Up, 8);  // 0.1 steps, then 0.2 once past half a millimetre
    QCOMPARE(t.text("Label29"), QStringLiteral("14.1   "));
    t.hold("UpDown5", Arrow::Up, 2);  // the release ended the press: 0.1 steps again
    QCOMPARE(t.text("Label29"), QStringLiteral("14.3   "));

    // The free-length spinners of an extension spring are switched off and do not react.
    t.click("UpDown8", Arrow::Up);
    QVERIFY(!t.spinner("UpDown5")->isEnabled() && !t.spinner("UpDown10")->isEnabled());
    t.click("UpDown5", Arrow::Up);
    t.click("UpDown10", Arrow::Up);
    QCOMPARE(t.text("Label29"), QStringLiteral("14.8   "));
    t.click("UpDown8", Arrow::Down);  // back to compression sample 1

    t.spinner("UpDown14")->setPosition(999);  // the end of its range keeps reporting clicks
    t.click("UpDown14", Arrow::Up, 3);
    QCOMPARE(t.spinner("UpDown14")->position(), 1000);
    QCOMPARE(t.text("Label28"), QStringLiteral("39.5   "));
    t.click("UpDown1", Arrow::Down, 3);  // 2 -> 0 -> 8
    QCOMPARE(t.text("Label25"), QStringLiteral("SUS304-WPB"));
    t.click("UpDown1", Arrow::Up);  // 8 -> 0
    QCOMPARE(t.text("Label25"), QStringLiteral("       SWB"));
    t.click("UpDown13", Arrow::Down);  // sample 1 -> 12, which moves the selection spinners
    QCOMPARE(t.spinner("UpDown1")->position(), 4);
    QCOMPARE(t.spinner("UpDown2")->position(), 42);
}

void WindowTest::spinButtonKeysAndArrows() {
    SpinButton spin;
    spin.setRange(0, 8);
    spin.resize(19, 25);
    spin.show();
    // The two arrows share the spinner between them, the upper one taking the smaller half.
    QCOMPARE(spin.upButton()->geometry(), QRect(0, 0, 19, 12));
    QCOMPARE(spin.downButton()->geometry(), QRect(0, 12, 19, 13));

    QSignalSpy clicks(&spin, &SpinButton::clicked);
    QSignalSpy ups(&spin, &SpinButton::mouseUp);
    const std::pair<Qt::Key, Arrow> keys[] = {{Qt::Key_Up, Arrow::Up},
                                              {Qt::Key_Right, Arrow::Up},
                                              {Qt::Key_Down, Arrow::Down},
                                              {Qt::Key_Left, Arrow::Down}};
    spin.setPosition(4);
    for (const auto& [key, arrow] : keys) {
        const int before = spin.position();
        QTest::keyClick(&spin, key);
        QCOMPARE(clicks.takeLast().at(0).value<Arrow>(), arrow);
        QCOMPARE(spin.position(), before + (arrow == Arrow::Up ? 1 : -1));
        QCOMPARE(ups.size(), 1);  // the key's release ends the press, like the mouse's
        ups.clear();
    }
    QTest::keyClick(&spin, Qt::Key_A);
    QVERIFY(clicks.isEmpty() && ups.isEmpty());
    QTest::mouseClick(spin.downButton(), Qt::LeftButton);
    QCOMPARE(clicks.takeLast().at(0).value<Arrow>(), Arrow::Down);
    QCOMPARE(ups.size(), 1);
}

void WindowTest::popupMenuAndExit() {
    WindowUnderTest t;
    QMenu* menu = t.window.popupMenu();
    // A right-click on a caption and on the warning list; the menu key.
    for (QWidget* target : {static_cast<QWidget*>(t.label("Label10")),
                            static_cast<QWidget*>(t.window.findChild<QPlainTextEdit*>("Memo1")),
                            static_cast<QWidget*>(nullptr)}) {
        QContextMenuEvent event(target ? QContextMenuEvent::Mouse : QContextMenuEvent::Keyboard,
                                QPoint(5, 5), t.window.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target ? target : &t.window, &event);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
    }
    t.click("UpDown3", Arrow::Up);  // stale results and no report: Exit asks nothing
    t.action("Exit2")->trigger();
    QCOMPARE(t.exitCode, 0);
}

void WindowTest::printWithoutPrinterWritesPdfAndRestoresColour() {
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        QSKIP("a printer is installed here; the PDF path is not taken");
    }
    WindowUnderTest t;
    const QColor face = t.window.palette().color(QPalette::Window);
    const test_support::ScratchDir dir;
    t.prompts.pdfAnswer = QString::fromStdString((dir / "window.pdf").string());
    t.action("N3")->trigger();
    QCOMPARE(t.prompts.pdfQuestions, 1);
    const QByteArray pdf = QByteArray::fromStdString(test_support::ReadFile(dir / "window.pdf"));
    QVERIFY(pdf.startsWith("%PDF-") && pdf.size() > 1000);
    // The job is named after the caption: the PDF's title, UTF-16 with a byte-order mark.
    QStringEncoder utf16(QStringEncoder::Utf16BE, QStringEncoder::Flag::WriteBom);
    QVERIFY(pdf.contains("/Title (" + QByteArray(utf16(t.window.windowTitle()))));
    QCOMPARE(t.window.palette().color(QPalette::Window), face);

    // An unwritable file is told, and the colour comes back all the same.
    t.prompts.pdfAnswer = QString::fromStdString((dir / "missing/window.pdf").string());
    t.action("N3")->trigger();
    QCOMPARE(t.prompts.errors.size(), 1);
    QCOMPARE(t.window.palette().color(QPalette::Window), face);
}

// Print's PDF is written whole or not at all: a file that cannot be written is told in Japanese
// and left as it was, with nothing beside it, and a FIFO is refused without being opened.
void WindowTest::printToPdfWritesTheFileWholeOrTellsWhyNot() {
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        QSKIP("a printer is installed here; the PDF path is not taken");
    }
    enum class Target { New, Existing, Link, Fifo, Folder, NoFolder };
    struct Case {
        const char* what;
        Target target;
        rlim_t fileSizeLimit;  // bytes a file may grow to, as a full disk allows; 0: no limit
        const char* reason;    // in the message; null when the PDF is written
    };
    const Case cases[] = {
        {"a new file", Target::New, 0, nullptr},
        {"an existing file, replaced", Target::Existing, 0, nullptr},
        {"a link: the file it names is replaced", Target::Link, 0, nullptr},
        {"a full disk under a new file", Target::New, 2000, "ファイルが大きすぎて書き込めません"},
        {"a full disk under an existing file", Target::Existing, 2000,
         "ファイルが大きすぎて書き込めません"},
        {"a FIFO", Target::Fifo, 0, "通常のファイルではありません"},
        {"a folder", Target::Folder, 0, "フォルダには書き込めません"},
        {"a missing folder", Target::NoFolder, 0, "フォルダが見つかりません"},
    };
    const std::string old = "an earlier picture\n";
    const auto names = [](const test_support::fs::path& folder) {
        std::set<std::string> found;
        for (const auto& entry : test_support::fs::directory_iterator(folder)) {
            found.insert(entry.path().filename().string());
        }
        return found;
    };
    // A write past the limit then fails with EFBIG instead of ending the process.
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    WindowUnderTest t;
    for (const Case& c : cases) {
        const test_support::ScratchDir dir;
        const test_support::fs::path chosen =
            dir / (c.target == Target::NoFolder ? "missing/window.pdf" : "window.pdf");
        const test_support::fs::path written = c.target == Target::Link ? dir / "real.pdf" : chosen;
        if (c.target == Target::Existing || c.target == Target::Link) {
            test_support::WriteFile(written, old);
        }
        if (c.target == Target::Link) {
            test_support::fs::create_symlink("real.pdf", chosen);
        }
        if (c.target == Target::Folder) {
            test_support::fs::create_directory(chosen);
        }
        // A FIFO with a reader and room for the whole page: a write to it would neither block
        // nor fail, so only a refusal before opening it passes.
        int reader = -1;
        if (c.target == Target::Fifo) {
            QCOMPARE(::mkfifo(chosen.c_str(), 0600), 0);
            reader = ::open(chosen.c_str(), O_RDONLY | O_NONBLOCK);
            QVERIFY(reader >= 0);
            QVERIFY(::fcntl(reader, F_SETPIPE_SZ, 1 << 20) > 0);
        }
        std::set<std::string> before = names(dir.path());

        t.prompts.errors.clear();
        t.prompts.pdfAnswer = QString::fromStdString(chosen.string());
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit unlimited = limit;
        if (c.fileSizeLimit > 0) {
            limit.rlim_cur = c.fileSizeLimit;
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        }
        t.action("N3")->trigger();
        ::setrlimit(RLIMIT_FSIZE, &unlimited);

        const std::set<std::string> after = names(dir.path());
        if (c.target == Target::New && !c.reason) {
            before.insert("window.pdf");
        }
        QVERIFY2(after == before, c.what);
        if (!c.reason) {
            QVERIFY2(t.prompts.errors.isEmpty(), qPrintable(t.prompts.errors.join('\n')));
            const std::string pdf = test_support::ReadFile(written);
            QVERIFY2(pdf.starts_with("%PDF-") && pdf.ends_with("%%EOF\n"), c.what);
            if (c.target == Target::Link) {
                QVERIFY(test_support::fs::is_symlink(chosen));
            }
            continue;
        }
        QCOMPARE(t.prompts.errors.size(), 1);
        const QString& message = t.prompts.errors.first();
        QVERIFY2(message.startsWith(QStringLiteral("PDFファイルを保存できませんでした。")) &&
                     message.contains(QString::fromStdString(chosen.string())) &&
                     message.contains(QString::fromUtf8(c.reason)) &&
                     message.endsWith(QStringLiteral("ファイルには何も書き込んでいません。")),
                 qPrintable(message));
        if (c.target == Target::Existing) {
            QCOMPARE(test_support::ReadFile(written), old);
        }
        if (reader >= 0) {
            char byte = 0;
            QVERIFY2(::read(reader, &byte, 1) <= 0, "the FIFO was written to");
            ::close(reader);
        }
    }
    std::signal(SIGXFSZ, savedHandler);
}

void WindowTest::saveAppendsTheReportOrTellsWhyNot() {
    WindowUnderTest t;
    // A file dialog takes about a third of the program's start-up: none is built before a Save.
    QVERIFY(!t.window.findChild<QFileDialog*>());
    QFileDialog* dialog = t.window.saveDialog();
    // The dialog shows the filters' descriptions alone, and a file that is there is appended to
    // without a question.
    QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("テキスト(*..txt)"));
    QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    // Qt's own texts in Japanese, as the program installs its translations.
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    QCOMPARE(buttons->button(QDialogButtonBox::Save)->text(), QStringLiteral("保存(&S)"));
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));

    const test_support::ScratchDir dir;
    t.prompts.answerSave(QString::fromStdString((dir / "cancelled.txt").string()), false);
    t.action("N2")->trigger();
    QVERIFY(!test_support::fs::exists(dir / "cancelled.txt"));
    const QString path = QString::fromStdString((dir / "springs.txt").string());
    QStringList offered;
    t.prompts.onSave = [&](QFileDialog& shown) {
        offered << shown.selectedFiles().value(0);
        shown.selectFile(path);
        return true;
    };
    t.action("N1")->trigger();
    t.action("N2")->trigger();
    t.action("N2")->trigger();
    const std::string block = EncodeReport(FormatReportBlock(t.window.design())).value();
    QCOMPARE(test_support::ReadFile(dir / "springs.txt"), block + block);
    QCOMPARE(offered.value(1), path);
    // A name typed and a filter chosen in a cancelled dialog do not come back.
    t.prompts.onSave = [&](QFileDialog& shown) {
        shown.selectFile(QStringLiteral("typed.spr"));
        shown.selectNameFilter(shown.nameFilters().value(2));
        return false;
    };
    t.action("N2")->trigger();
    t.prompts.onSave = [&](QFileDialog& shown) {
        offered << shown.selectedFiles().value(0) << shown.selectedNameFilter();
        return false;
    };
    t.action("N2")->trigger();
    QCOMPARE(offered.mid(2), QStringList({path, QStringLiteral("テキスト(*..txt)")}));
    QCOMPARE(t.window.findChildren<QFileDialog*>().size(), 1);  // made once, kept
    QVERIFY(t.prompts.errors.isEmpty());

    const QString missing = QString::fromStdString((dir / "no/such/r.txt").string());
    t.prompts.answerSave(missing);
    t.action("N2")->trigger();
    QCOMPARE(t.prompts.errors.size(), 1);
    QVERIFY(t.prompts.errors.first().contains(missing));
    QVERIFY(t.prompts.errors.first().contains(QStringLiteral("フォルダが見つかりません")));

    // A FIFO, read by nobody, is refused at once rather than freezing the window.
    QCOMPARE(::mkfifo((dir / "fifo.txt").c_str(), 0600), 0);
    t.prompts.answerSave(QString::fromStdString((dir / "fifo.txt").string()));
    t.action("N2")->trigger();
    QCOMPARE(t.prompts.errors.size(), 2);
    QVERIFY(t.prompts.errors.last().contains(QStringLiteral("通常のファイルではありません")));
}

// The window and a springcalc-cli run append to one report: while the run writes, Save says
// the file is busy (and does not wait for it); the run that then fails takes back its own
// blocks, not the window's.
void WindowTest::saveAndACommandLineRunShareTheReport() {
    WindowUnderTest t;
    t.action("N1")->trigger();
    const test_support::ScratchDir dir;
    const std::string report = (dir / "ok.txt").string();
    t.prompts.answerSave(QString::fromStdString(report));
    t.action("N2")->trigger();
    const std::string block = EncodeReport(FormatReportBlock(t.window.design())).value();
    const std::string command = std::string(SPRINGCALC_CLI_PATH) + " check --report " + report;
    FILE* run = ::popen(command.c_str(), "w");
    QVERIFY(run);
    std::fputs(
        "kind,material,wire,mean_dia,turns,free_len,set_len,work_len\n"
        "compression,SWPA,1.20,8.8,7,23,20,18\n",
        run);
    std::fflush(run);
    // Until the run has the report, a Save would still get in first.
    AppendingFile probe;
    for (int i = 0; i < 500 && probe.Open(report, AppendingFile::Wait::No).ok; ++i) {
        (void)probe.Abandon();
        QTest::qWait(10);
    }
    t.action("N2")->trigger();
    QCOMPARE(t.prompts.errors.size(), 1);
    QVERIFY(t.prompts.errors.first().contains(QStringLiteral("書き込み中")));
    std::fputs("compression,SWX,1,1,1,1,1,1\n", run);
    QCOMPARE(WEXITSTATUS(::pclose(run)), 2);
    QCOMPARE(test_support::ReadFile(dir / "ok.txt"), block);
    t.action("N2")->trigger();
    QCOMPARE(test_support::ReadFile(dir / "ok.txt"), block + block);
}

int main(int argc, char* argv[]) {
    return RunWindowTests<WindowTest>(argc, argv);
}
