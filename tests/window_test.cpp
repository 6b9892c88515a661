// Window tests: the real widgets of the calculator, clicked and read back, offscreen.

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "samples.h"
#include "ui_colors.h"
#include "window_layout.h"
#include "window_test_support.h"

using springcalc::Arrow;
using namespace springcalc;

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void layoutMatchesTheDescription();
    void startUpShowsSample1WithBlankResults();
    void runFillsEveryResultField();
    void popupMenuOpensOnRightClickWithFourEntries();
    void exitEndsWithStatus0();
    void sampleSelectorWrapsAndLoadsEachSample();
    void printWithoutPrinterWritesPdfAndRestoresColour();

    void pressAndHoldAcceleratesFreeLength();
    void pressAndHoldMeanDiameterStopsAtTheBound();
    void coarseAndTurnsBounds();
    void selectionSpinnersWrapAndFollowSamples();
    void everyClickMarksResultsStale();
    void coarseTurnsKeepsReportingAtTheEndOfItsRange();
    void typeSwitchRestylesAndLoadsTheOtherKind();

    void saveDialogSettings();
    void saveDialogWaitsForTheFirstSave();
    void saveAppendsBlocksAndOffersTheSameFileAgain();
    void saveCancelledOrFailedWritesNothing();
};

void WindowTest::layoutMatchesTheDescription() {
    WindowUnderTest t;
    QCOMPARE(t.window.windowTitle(), QStringLiteral("Pellacor１：コイルばねの設計 Ver 0.92"));
    for (const layout::LabelSpec& spec : layout::kLabels) {
        FieldLabel* label = t.label(spec.name);
        QVERIFY2(label, spec.name);
        // Captions size themselves to their text; everything else keeps its design size.
        QCOMPARE(label->pos(), QPoint(spec.x, spec.y));
        if (spec.style != layout::LabelStyle::Caption) {
            QCOMPARE(label->size(), QSize(spec.width, spec.height));
        }
        QCOMPARE(label->font().pixelSize(), spec.fontPixels);
    }
    for (const layout::SpinnerSpec& spec : layout::kSpinners) {
        SpinButton* s = t.spinner(spec.name);
        QVERIFY2(s, spec.name);
        QCOMPARE(s->geometry(), QRect(spec.x, spec.y, spec.width, spec.height));
        QCOMPARE(s->minimum(), spec.minimum);
        QCOMPARE(s->maximum(), spec.maximum);
        QCOMPARE(s->wrap(), spec.wrap);
    }
    // Controls keep their places when the window is resized; the client area holds them all.
    QRect all;
    for (QWidget* child : t.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && child->objectName() != QStringLiteral("Image1")) {
            all |= child->geometry();
        }
    }
    QVERIFY(t.window.rect().contains(all));
    t.window.resize(300, 200);
    QCOMPARE(t.spinner("UpDown13")->pos(), QPoint(279, 51));
    QVERIFY(t.imageVisible("Image1"));
    QVERIFY(!t.imageVisible("Image2"));
    QVERIFY(!t.window.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
    QCOMPARE(t.window.findChild<QLabel*>(QStringLiteral("Image2"))->pixmap().size(),
             QSize(200, 93));
}

void WindowTest::startUpShowsSample1WithBlankResults() {
    WindowUnderTest t;
    QCOMPARE(t.text("Label25"), QStringLiteral("      SWPA"));
    QCOMPARE(t.text("Label26"), QStringLiteral("      0.70 "));
    QCOMPARE(t.text("Label27"), QStringLiteral("4.3   "));
    QCOMPARE(t.text("Label28"), QStringLiteral("9.5   "));
    QCOMPARE(t.text("Label29"), QStringLiteral("13.0   "));
    QCOMPARE(t.text("Label30"), QStringLiteral("12.0   "));
    QCOMPARE(t.text("Label31"), QStringLiteral("10.0   "));
    QCOMPARE(t.text("Label45"), QStringLiteral("内径 3.60 外径 5.00"));
    QCOMPARE(t.text("Label48"), QStringLiteral("8.1   "));
    QCOMPARE(t.text("Label1"), QStringLiteral("  圧縮コイルバネの設計 "));
    QCOMPARE(t.text("Labeldate"), QStringLiteral("2026年12月5日  9: 5"));
    QCOMPARE(t.text("Label44"), QStringLiteral("Sample "));
    QCOMPARE(t.text("Label32"), QStringLiteral("  "));
    for (const char* blank :
         {"Label33", "Label34", "Label35", "Label36", "Label37", "Label41", "Label42", "Label43"}) {
        QCOMPARE(t.text(blank), QStringLiteral("   "));
    }
    for (const char* empty : {"Label38", "Label39", "Label40"}) {
        QCOMPARE(t.text(empty), QString());
    }
    QVERIFY(t.enabled("N1") && t.enabled("N2") && t.enabled("N3") && t.enabled("Exit2"));
    QCOMPARE(t.spinner("UpDown1")->position(), 2);
    QCOMPARE(t.spinner("UpDown2")->position(), 19);
    QCOMPARE(t.label("Label4")->palette().color(QPalette::Window), ToQColor(clAqua));
    QCOMPARE(t.label("Label47")->palette().color(QPalette::WindowText), ToQColor(clGray));
    QVERIFY(t.window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText().isEmpty());
}

void WindowTest::runFillsEveryResultField() {
    WindowUnderTest t;
    t.action("N1")->trigger();
    const std::pair<const char*, const char*> expected[] = {
        {"Label37", ""},         {"Label40", "50.23   "}, {"Label32", "8.1   "},
        {"Label33", "88.00   "}, {"Label34", "66.06   "}, {"Label35", "8000   "},
        {"Label36", "0.318   "}, {"Label38", "10.15   "}, {"Label39", "30.44   "},
        {"Label41", "0.32   "},  {"Label42", "0.95   "},  {"Label43", "1.57   "},
    };
    for (const auto& [name, text] : expected) {
        QCOMPARE(t.text(name), QString::fromUtf8(text));
    }
    QVERIFY(t.enabled("N2") && t.enabled("N3"));
}

void WindowTest::popupMenuOpensOnRightClickWithFourEntries() {
    WindowUnderTest t;
    QMenu* menu = t.window.popupMenu();
    QStringList captions;
    for (QAction* action : menu->actions()) {
        captions << action->text();
    }
    QCOMPARE(captions, (QStringList{QStringLiteral("計算実行"), QStringLiteral("保存"),
                                    QStringLiteral("画面印刷"), QStringLiteral("終了")}));
    // A right-click on a caption, on the warning list and on the window itself.
    for (QWidget* target : {static_cast<QWidget*>(t.label("Label10")),
                            static_cast<QWidget*>(t.window.findChild<QPlainTextEdit*>("Memo1")),
                            static_cast<QWidget*>(&t.window)}) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &event);
        QTRY_VERIFY(menu->isVisible());
        menu->hide();
    }
    // The keyboard's menu key.
    QContextMenuEvent keyboard(QContextMenuEvent::Keyboard, QPoint(10, 10),
                               t.window.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&t.window, &keyboard);
    QTRY_VERIFY(menu->isVisible());
    menu->hide();
}

void WindowTest::exitEndsWithStatus0() {
    WindowUnderTest t;
    t.click("UpDown3", Arrow::Up);  // stale results and no report: Exit asks nothing
    t.action("Exit2")->trigger();
    QCOMPARE(t.exitCode, 0);
}

void WindowTest::sampleSelectorWrapsAndLoadsEachSample() {
    WindowUnderTest t;
    t.click("UpDown13", Arrow::Down);  // 1 -> 12
    QCOMPARE(t.text("Label27"), QStringLiteral("60.0   "));
    QCOMPARE(t.text("Label29"), QStringLiteral("180.0   "));
    QCOMPARE(t.spinner("UpDown1")->position(), 4);
    QCOMPARE(t.spinner("UpDown2")->position(), 42);
    QVERIFY(!t.enabled("N2") && !t.enabled("N3"));
    for (int number = 1; number <= kSampleCount; ++number) {
        t.action("N1")->trigger();
        t.click("UpDown13", Arrow::Up);  // 12 -> 1, then on
        const CompressionSample& sample = kCompressionSamples[number - 1];
        QCOMPARE(t.text("Label27"), QString::asprintf("%.1f   ", double(sample.meanDia)));
        QCOMPARE(t.text("Label31"), QString::asprintf("%.1f   ", double(sample.workLen)));
        QCOMPARE(t.spinner("UpDown2")->position(), sample.wireNo);
        QVERIFY(!t.enabled("N2") && !t.enabled("N3"));
    }
}

void WindowTest::printWithoutPrinterWritesPdfAndRestoresColour() {
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        QSKIP("a printer is installed here; the PDF path is not taken");
    }
    WindowUnderTest t;
    const QColor face = t.window.palette().color(QPalette::Window);
    QTemporaryDir dir;
    t.prompts.pdfAnswer = dir.filePath(QStringLiteral("window.pdf"));
    t.action("N3")->trigger();
    QCOMPARE(t.prompts.pdfQuestions, 1);
    QFile pdf(t.prompts.pdfAnswer);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
    QVERIFY(pdf.size() > 1000);
    QCOMPARE(t.window.palette().color(QPalette::Window), face);
    QVERIFY(t.prompts.errors.isEmpty());

    // Declined: nothing written, colour back all the same; an unwritable file is told.
    t.prompts.pdfAnswer.clear();
    t.action("N3")->trigger();
    QCOMPARE(t.window.palette().color(QPalette::Window), face);
    t.prompts.pdfAnswer = dir.filePath(QStringLiteral("missing/folder/window.pdf"));
    t.action("N3")->trigger();
    QCOMPARE(t.prompts.errors.size(), 1);
    QCOMPARE(t.window.palette().color(QPalette::Window), face);
}

void WindowTest::pressAndHoldAcceleratesFreeLength() {
    WindowUnderTest t;
    QCOMPARE(t.hold("UpDown5", Arrow::Up, 8, "Label29"),
             QStringList({"13.1", "13.2", "13.3", "13.4", "13.5", "13.7", "13.9", "14.1"}));
    // A new press starts again at 0.1 steps from where the last one ended.
    QCOMPARE(t.hold("UpDown5", Arrow::Up, 2, "Label29"), QStringList({"14.2", "14.3"}));

    WindowUnderTest down;
    QCOMPARE(down.hold("UpDown5", Arrow::Down, 7, "Label29"),
             QStringList({"12.9", "12.8", "12.7", "12.6", "12.5", "12.3", "12.1"}));
}

void WindowTest::pressAndHoldMeanDiameterStopsAtTheBound() {
    WindowUnderTest t;
    // 4.2 ... 3.7 by 0.1 (3.8 is not yet below 4.3 - 0.5), then by 0.2 down to 0.1, stored
    // just above the bound, and one more step to -0.1.
    QStringList shown = t.hold("UpDown3", Arrow::Down, 30, "Label27");
    const qsizetype last = shown.indexOf(QStringLiteral("0.1"));
    QCOMPARE(shown.mid(0, 8),
             QStringList({"4.2", "4.1", "4.0", "3.9", "3.8", "3.7", "3.5", "3.3"}));
    QCOMPARE(last, 23);
    QCOMPARE(shown.at(last + 1), QStringLiteral("-0.1"));
    QCOMPARE(shown.last(), QStringLiteral("-0.1"));
    QVERIFY(std::fabs(t.window.design().MeanDia + 0.0999998f) < 1e-7f);
    QCOMPARE(t.text("Label45"), QStringLiteral("内径 -0.80 外径 0.60"));
    QVERIFY(!t.enabled("N1"));  // D/d below 4

    // Single clicks release in between, so each is a 0.1 step: 33 of them from 4.3 leave
    // 1.0000021, from which a held press passes the bound once more and ends at -0.1.
    WindowUnderTest from1;
    from1.click("UpDown3", Arrow::Down, 33);
    QCOMPARE(from1.text("Label27"), QStringLiteral("1.0   "));
    shown = from1.hold("UpDown3", Arrow::Down, 9, "Label27");
    QCOMPARE(shown, QStringList({"0.9", "0.8", "0.7", "0.6", "0.5", "0.3", "0.1", "-0.1", "-0.1"}));
}

void WindowTest::coarseAndTurnsBounds() {
    WindowUnderTest t;
    t.click("UpDown12", Arrow::Down);  // operating length 10.0 stays
    QCOMPARE(t.text("Label31"), QStringLiteral("10.0   "));
    QVERIFY(!t.enabled("N2"));
    t.click("UpDown4", Arrow::Up, 2);  // turns 10.5
    t.click("UpDown14", Arrow::Down);
    QCOMPARE(t.text("Label28"), QStringLiteral("0.5   "));
    t.click("UpDown4", Arrow::Down);  // 0.5 stays
    QCOMPARE(t.text("Label28"), QStringLiteral("0.5   "));
    t.click("UpDown4", Arrow::Up);
    t.click("UpDown4", Arrow::Down);  // 1.0 -> 0.5
    QCOMPARE(t.text("Label28"), QStringLiteral("0.5   "));
    // Solid length follows the turns at once.
    QCOMPARE(t.text("Label48"), QStringLiteral("1.8   "));
    t.click("UpDown11", Arrow::Up);
    QCOMPARE(t.text("Label30"), QStringLiteral("22.0   "));
}

void WindowTest::selectionSpinnersWrapAndFollowSamples() {
    WindowUnderTest t;
    t.click("UpDown13", Arrow::Up, 4);  // sample 5: material 2, wire 29
    t.click("UpDown1", Arrow::Up);
    t.click("UpDown2", Arrow::Up);
    QCOMPARE(t.window.design().MaterialNo, 3);
    QCOMPARE(t.window.design().WireNo, 30);
    QCOMPARE(t.text("Label25"), QStringLiteral("      SWPB"));
    QCOMPARE(t.text("Label26"), QStringLiteral("      2.90 "));

    t.click("UpDown1", Arrow::Up, 5);  // 8
    QCOMPARE(t.text("Label25"), QStringLiteral("SUS304-WPB"));
    t.click("UpDown1", Arrow::Up);  // wraps to 0
    QCOMPARE(t.window.design().MaterialNo, 0);
    QCOMPARE(t.text("Label25"), QStringLiteral("       SWB"));
    t.click("UpDown1", Arrow::Down);  // back to 8
    QCOMPARE(t.window.design().MaterialNo, 8);

    t.click("UpDown2", Arrow::Up, 15);  // 45
    QCOMPARE(t.text("Label26"), QStringLiteral("    13.00 "));
    QVERIFY(!t.enabled("N1"));      // offered by no material
    t.click("UpDown2", Arrow::Up);  // wraps to 0
    QCOMPARE(t.window.design().WireNo, 0);
    t.click("UpDown2", Arrow::Down);
    QCOMPARE(t.window.design().WireNo, 45);
}

void WindowTest::everyClickMarksResultsStale() {
    const char* spinners[] = {"UpDown1",  "UpDown2",  "UpDown3",  "UpDown9", "UpDown4",
                              "UpDown14", "UpDown5",  "UpDown10", "UpDown6", "UpDown11",
                              "UpDown7",  "UpDown12", "UpDown13", "UpDown8"};
    WindowUnderTest t;
    for (const char* name : spinners) {
        for (Arrow arrow : {Arrow::Up, Arrow::Down}) {
            t.action("N1")->trigger();
            QVERIFY(t.enabled("N2") && t.enabled("N3"));
            t.click(name, arrow);
            QVERIFY2(!t.enabled("N2") && !t.enabled("N3"), name);
        }
    }
    // A click that changes nothing still marks the results stale.
    WindowUnderTest bound;
    bound.action("N1")->trigger();
    bound.click("UpDown12", Arrow::Down);
    QVERIFY(!bound.enabled("N2") && !bound.enabled("N3"));
    // Run follows the checks: D/d below 4 withholds it, raising D gives it back.
    bound.click("UpDown3", Arrow::Down, 20);
    QVERIFY(!bound.enabled("N1"));
    bound.click("UpDown9", Arrow::Up);
    QVERIFY(bound.enabled("N1"));
}

void WindowTest::coarseTurnsKeepsReportingAtTheEndOfItsRange() {
    WindowUnderTest t;
    t.click("UpDown14", Arrow::Up, 1005);
    QCOMPARE(t.spinner("UpDown14")->position(), 1000);
    QCOMPARE(t.text("Label28"), QStringLiteral("10059.5   "));
}

void WindowTest::typeSwitchRestylesAndLoadsTheOtherKind() {
    WindowUnderTest t;
    t.click("UpDown8", Arrow::Up);
    QCOMPARE(t.window.design().SpringKind, 1);
    QCOMPARE(t.text("Label1"), QStringLiteral("  引張コイルバネの設計 "));
    QCOMPARE(t.text("Label9"), QStringLiteral("許容引張長 "));
    QCOMPARE(t.text("Label25"), QStringLiteral("      SWPA"));
    QCOMPARE(t.text("Label26"), QStringLiteral("      0.32 "));
    QCOMPARE(t.text("Label27"), QStringLiteral("4.6   "));
    QCOMPARE(t.text("Label28"), QStringLiteral("18.5   "));
    QCOMPARE(t.text("Label29"), QStringLiteral("14.8   "));
    QCOMPARE(t.text("Label30"), QStringLiteral("20.0   "));
    QCOMPARE(t.text("Label31"), QStringLiteral("30.0   "));
    QCOMPARE(t.label("Label29")->palette().color(QPalette::Window), ToQColor(clBtnFace));
    QCOMPARE(t.text("Label48"), QString());
    QCOMPARE(t.text("Label40"), QString());
    QCOMPARE(t.label("Label14")->palette().color(QPalette::WindowText), ToQColor(clBlack));
    QCOMPARE(t.label("Label46")->palette().color(QPalette::WindowText), ToQColor(clGray));
    QVERIFY(!t.imageVisible("Image1"));
    QVERIFY(t.imageVisible("Image2"));
    QVERIFY(!t.enabled("N2") && !t.enabled("N3"));
    // The free-length spinners do not react.
    t.click("UpDown5", Arrow::Up);
    t.click("UpDown10", Arrow::Up);
    QCOMPARE(t.text("Label29"), QStringLiteral("14.8   "));
    QCOMPARE(t.window.design().FreeLen, 14.8f);

    t.action("N1")->trigger();
    QCOMPARE(t.text("Label37"), QStringLiteral("0.02  "));

    // Edits between switches are not kept: back to compression sample 1.
    t.click("UpDown7", Arrow::Up, 3);
    t.click("UpDown8", Arrow::Down);
    QCOMPARE(t.window.design().SpringKind, 0);
    QCOMPARE(t.text("Label1"), QStringLiteral("  圧縮コイルバネの設計 "));
    QCOMPARE(t.text("Label9"), QStringLiteral("許容圧縮長"));
    QCOMPARE(t.text("Label29"), QStringLiteral("13.0   "));
    QCOMPARE(t.text("Label31"), QStringLiteral("10.0   "));
    QCOMPARE(t.text("Label48"), QStringLiteral("8.1   "));
    QCOMPARE(t.text("Label37"), QStringLiteral("0.02  "));  // kept until the next Run
    QCOMPARE(t.label("Label37")->palette().color(QPalette::Window), ToQColor(clBtnFace));
    QCOMPARE(t.label("Label6")->palette().color(QPalette::Window), ToQColor(clAqua));
    QVERIFY(t.imageVisible("Image1"));
    QVERIFY(!t.imageVisible("Image2"));
    t.click("UpDown5", Arrow::Up);
    QCOMPARE(t.text("Label29"), QStringLiteral("13.1   "));
}

void WindowTest::saveDialogSettings() {
    WindowUnderTest t;
    QFileDialog* dialog = t.window.saveDialog();
    QCOMPARE(dialog->nameFilters(), QStringList({QStringLiteral("テキスト(*..txt) (*.txt)"),
                                                 QStringLiteral("スプリング(*.spr) (*.spr)"),
                                                 QStringLiteral("ばね(*.bne) (*.bne)"),
                                                 QStringLiteral("全てのFile(*.*) (*)")}));
    // The dialog shows the descriptions alone.
    QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("テキスト(*..txt)"));
    QCOMPARE(dialog->defaultSuffix(), QStringLiteral("txt"));
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
}

void WindowTest::saveDialogWaitsForTheFirstSave() {
    WindowUnderTest t;
    // A file dialog takes about a third of the program's start-up: none is built before a Save.
    QVERIFY(!t.window.findChild<QFileDialog*>());
    t.action("N1")->trigger();
    t.action("N2")->trigger();
    t.action("N2")->trigger();
    QCOMPARE(t.prompts.saveDialogs, 2);
    QCOMPARE(t.window.findChildren<QFileDialog*>().size(), 1);
}

void WindowTest::saveAppendsBlocksAndOffersTheSameFileAgain() {
    WindowUnderTest t;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("springs.txt"));
    QStringList offered;
    t.prompts.onSave = [&](QFileDialog& dialog) {
        offered << dialog.selectedFiles().value(0);
        dialog.selectFile(path);
        return true;
    };
    t.action("N1")->trigger();
    t.action("N2")->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray first = file.readAll();
    file.close();
    QVERIFY(first.startsWith("   \x88\xB3\x8F\x6B"));  // "   圧縮" in code page 932
    QCOMPARE(first.count("\r\n"), 14);
    QVERIFY(first.contains("Tmax  50.23    Pmax  1.57\r\n"));

    t.action("N2")->trigger();
    QCOMPARE(offered.value(1), path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), first + first);
    QVERIFY(t.prompts.errors.isEmpty());
}

void WindowTest::saveCancelledOrFailedWritesNothing() {
    WindowUnderTest t;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cancelled.txt"));
    t.prompts.answerSave(path, false);
    t.action("N2")->trigger();
    QCOMPARE(t.prompts.saveDialogs, 1);
    QVERIFY(!QFile::exists(path));

    const QString missing = dir.filePath(QStringLiteral("no/such/folder/r.txt"));
    t.prompts.answerSave(missing);
    t.action("N2")->trigger();
    QCOMPARE(t.prompts.errors.size(), 1);
    QVERIFY(t.prompts.errors.first().contains(missing));
    QVERIFY(t.prompts.errors.first().contains(QStringLiteral("フォルダが見つかりません")));
    // The program goes on.
    t.action("N1")->trigger();
    QCOMPARE(t.text("Label36"), QStringLiteral("0.318   "));
}

int main(int argc, char* argv[]) {
    return RunWindowTests<WindowTest>(argc, argv);
}

#include "window_test.moc"
