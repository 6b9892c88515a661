// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_window.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <cstdlib>

#include "engine/words.h"
#include "layout/spinner_wiring.h"
#include "layout/window_layout.h"
#include "report/report_writer.h"
#include "ui/field_label.h"
#include "ui/save_dialog.h"
#include "ui/spin_button.h"
#include "ui/ui_colors.h"
#include "ui/window_help.h"
#include "ui/window_printer.h"

using namespace springcalc;

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The icon read as the PNG it is. QIcon(fileName) lets the image reader guess the format, and
// the guess loads and asks every image format plugin installed before it tries its own PNG
// reader: three libraries (Debian's Qt) loaded and linked at every start, most of a millisecond.
QIcon WindowIcon() {
    QImageReader reader(QStringLiteral(":/springcalc.png"), "png");
    reader.setAutoDetectImageFormat(false);
    return QIcon(QPixmap::fromImage(reader.read()));
}

// A drawing, copied to the screen one rectangle at a time. Captions stand over the drawings, so
// what is left of a drawing to paint is seldom a rectangle, and the raster engine blends an
// image into any other shape in slices on a pool of threads, which it starts for the window's
// first paint: two threads made and waited for before the window could show.
class DrawingLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const QPixmap drawing = pixmap();
        for (const QRect& rect : event->region()) {
            painter.setClipRect(rect);
            painter.drawPixmap(0, 0, drawing);
        }
    }
};

template <typename Enum>
constexpr size_t Index(Enum value) {
    return static_cast<size_t>(value);
}

}  // namespace

static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

TForm1::TForm1(Clock clock, UserPrompts* prompts, QWidget* parent, double logicalDpi)
    : QWidget(parent),
      scale_(logicalDpi > 0 ? DesignScale(logicalDpi) : DesignScale::ForScreen(screen())),
      engine_(design_, *this, std::move(clock)),
      editor_(engine_, *this),
      ownPrompts_(prompts ? nullptr : std::make_unique<DialogPrompts>()),
      prompts_(prompts ? prompts : ownPrompts_.get()),
      exit_([](int code) { std::exit(code); }) {
    // The drawings and the icon live in this static library's resources.
    InitResources();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(layout::kCaption));
    setWindowIcon(WindowIcon());
    setFont(GothicFont(scale_.length(15)));
    setAutoFillBackground(true);
    SetFormColor(clBtnFace);
    const QList<FieldLabel*> captions = BuildControls();
    BuildMenu();
    ConnectSpinners();
    InstallToolTips(this, Memo1);
    move(layout::kWindow.x, layout::kWindow.y);
    resize(scale_.length(layout::kWindow.width), scale_.length(layout::kWindow.height));
    engine_.StartUp();
    // Captions fit their texts from here on. Fitted before the engine's start-up, the layout's
    // placeholders that it replaces ("Labeldate", Label45's full-width digits) were measured
    // for nothing, and measuring a text is what loads its glyphs.
    for (FieldLabel* caption : captions) {
        caption->setAutoSize(true);
    }
    // The first stop of the tab order: the arrow keys step the material at once.
    engineSpinners_[Index(springcalc::Spinner::UpDown1)]->setFocus();
}

TForm1::~TForm1() = default;

QList<FieldLabel*> TForm1::BuildControls() {
    // The drawings first, so the captions drawn over them stay on top.
    BuildImages();
    QList<FieldLabel*> captions = BuildLabels();
    BuildWarningList(BuildSpinners());
    return captions;
}

void TForm1::BuildImages() {
    for (const layout::ImageSpec& spec : layout::kImages) {
        auto* image = new DrawingLabel(this);
        image->setObjectName(QString::fromUtf8(spec.name));
        image->setGeometry(scale_.rect(spec.x, spec.y, spec.width, spec.height));
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        image->setPixmap(scale_.drawing(spec.drawing, devicePixelRatioF()));
        image->setAccessibleName(QString::fromUtf8(spec.spokenName));
        image->setAccessibleDescription(QString::fromUtf8(spec.description));
        // The drawing ignores the mouse, so a right-click on it reaches the window's menu.
        image->setAttribute(Qt::WA_TransparentForMouseEvents);
        image->setVisible(spec.visible);
    }
    images_ = {findChild<QLabel*>(QStringLiteral("Image1")),
               findChild<QLabel*>(QStringLiteral("Image2"))};
}

// The captions, which fit their texts once the engine has written them.
QList<FieldLabel*> TForm1::BuildLabels() {
    QList<FieldLabel*> captions;
    for (const layout::LabelSpec& spec : layout::kLabels) {
        auto* label = new FieldLabel(this);
        label->setObjectName(QString::fromUtf8(spec.name));
        label->setFont(GothicFont(scale_.length(spec.fontPixels)));
        label->setGeometry(scale_.rect(spec.x, spec.y, spec.width, spec.height));
        label->setRightAligned(spec.style != layout::LabelStyle::Caption);
        if (spec.background == layout::kParentColor) {
            label->useParentBackground();
        } else {
            label->setBackground(ToQColor(spec.background));
        }
        label->setTextColor(ToQColor(spec.font));
        label->setText(QString::fromUtf8(spec.text));
        if (spec.style == layout::LabelStyle::Caption) {
            captions << label;
        }
    }
    for (size_t i = 0; i < fields_.size(); ++i) {
        fields_[i] = findChild<FieldLabel*>(QString::fromUtf8(layout::kFieldNames[i]));
        Q_ASSERT(fields_[i]);
    }
    return captions;
}

QWidget* TForm1::BuildSpinners() {
    QWidget* previous = nullptr;
    for (const layout::SpinnerSpec& spec : layout::kSpinners) {
        auto* spinner = new SpinButton(this);
        spinner->setObjectName(QString::fromUtf8(spec.name));
        spinner->setGeometry(scale_.rect(spec.x, spec.y, spec.width, spec.height));
        spinner->setSpokenName(QString::fromUtf8(spec.spokenName));
        spinner->setRange(spec.minimum, spec.maximum);
        spinner->setPosition(spec.position);
        spinner->setWrap(spec.wrap);
        if (spec.tabStop) {
            spinner->setFocusPolicy(Qt::TabFocus);
            previous = spinner;
        }
    }
    engineSpinners_ = {Spinner("UpDown1"), Spinner("UpDown2"), Spinner("UpDown5"),
                       Spinner("UpDown10")};
    return previous;
}

// The list follows `previous`, the last spinner in the tab order.
void TForm1::BuildWarningList(QWidget* previous) {
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(scale_.rect(layout::kMemo1.x, layout::kMemo1.y, layout::kMemo1.width,
                                   layout::kMemo1.height));
    Memo1->setFont(GothicFont(scale_.length(15)));
    // Named after its caption Label47, which assistive technology cannot tie to it.
    Memo1->setAccessibleName(fields_[Index(Field::Label47)]->text());
    // A stop of the tab order like the spinner: Tab moves on instead of typing a tab.
    Memo1->setTabChangesFocus(true);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Right-clicks in the list open the window's menu, like everywhere else.
    Memo1->setContextMenuPolicy(Qt::NoContextMenu);
    if (previous) {
        setTabOrder(previous, Memo1);
    }
}

void TForm1::BuildMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto add = [this](const char* name, const char* caption, void (TForm1::*handler)()) {
        QAction* action = PopupMenu1->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromUtf8(name));
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    using layout::kMenu;
    N1 = add(kMenu[0].name, kMenu[0].caption, &TForm1::N1Click);
    N2 = add(kMenu[1].name, kMenu[1].caption, &TForm1::N2Click);
    N3 = add(kMenu[2].name, kMenu[2].caption, &TForm1::N3Click);
    Exit2 = add(kMenu[3].name, kMenu[3].caption, &TForm1::Exit2Click);
}

// Made at the first Save rather than with the window: building a file dialog (its icons, its
// file system model) takes about a third of the program's start-up, and many sessions never
// save.
QFileDialog* TForm1::saveDialog() {
    if (!SaveDialog1) {
        SaveDialog1 = MakeSaveDialog(this);
    }
    return SaveDialog1;
}

void TForm1::ConnectSpinners() {
    for (const auto& [name, handler] : layout::kValueSpinners) {
        connect(Spinner(name), &SpinButton::clicked, this,
                [this, handler = handler](Arrow arrow) { (editor_.*handler)(arrow); });
    }
    for (const char* name : layout::kPressSpinners) {
        connect(Spinner(name), &SpinButton::mouseUp, this, [this] { editor_.EndPress(); });
    }
    SpinButton* material = Spinner("UpDown1");
    SpinButton* wire = Spinner("UpDown2");
    SpinButton* kind = Spinner("UpDown8");
    SpinButton* sample = Spinner("UpDown13");
    connect(material, &SpinButton::clicked, this,
            [this, material] { editor_.UpDown1Click(material->position()); });
    connect(wire, &SpinButton::clicked, this,
            [this, wire] { editor_.UpDown2Click(wire->position()); });
    connect(kind, &SpinButton::clicked, this,
            [this, kind, sample] { editor_.UpDown8Click(kind->position(), sample->position()); });
    connect(sample, &SpinButton::clicked, this,
            [this, sample] { editor_.UpDown13Click(sample->position()); });
}

SpinButton* TForm1::Spinner(const char* name) const {
    return findChild<SpinButton*>(QString::fromUtf8(name));
}

// ---- SpringView ----------------------------------------------------------------------------

void TForm1::SetText(Field field, std::string_view text) {
    fields_[Index(field)]->setText(FromUtf8(text));
}

void TForm1::SetColor(Field field, TColor background) {
    fields_[Index(field)]->setBackground(ToQColor(background));
}

void TForm1::SetFontColor(Field field, TColor color) {
    fields_[Index(field)]->setTextColor(ToQColor(color));
}

void TForm1::SetEnabled(Command command, bool enabled) {
    switch (command) {
        case Command::N1:
            N1->setEnabled(enabled);
            break;
        case Command::N2:
            N2->setEnabled(enabled);
            break;
        case Command::N3:
            N3->setEnabled(enabled);
            break;
    }
}

void TForm1::SetPosition(springcalc::Spinner spinner, int position) {
    engineSpinners_[Index(spinner)]->setPosition(position);
}

void TForm1::SetSpinnerEnabled(springcalc::Spinner spinner, bool enabled) {
    engineSpinners_[Index(spinner)]->setEnabled(enabled);
}

void TForm1::SetVisible(Image image, bool visible) {
    images_[Index(image)]->setVisible(visible);
}

void TForm1::ClearWarningLines() {
    // Every check starts here, and clearing an empty list still lays it out and repaints it.
    if (!Memo1->document()->isEmpty()) {
        Memo1->clear();
    }
}

void TForm1::AppendWarningLine(std::string_view line) {
    Memo1->appendPlainText(FromUtf8(line));
}

// ---- Commands -------------------------------------------------------------------------------

void TForm1::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu1->popup(event->globalPos());
    event->accept();
}

void TForm1::N1Click() {
    engine_.AnalyseDesign();
}

void TForm1::N2Click() {
    QFileDialog& dialog = *saveDialog();
    // Each Save opens on the first filter and the name of the last Save that took place: a name
    // typed, or a filter chosen, in a dialog that was then cancelled does not come back.
    dialog.selectNameFilter(dialog.nameFilters().constFirst());
    dialog.selectFile(lastSaved_);
    if (!prompts_->runSaveDialog(dialog) || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().constFirst();
    lastSaved_ = path;
    const std::optional<std::string> bytes = EncodeReport(FormatReportBlock(design_));
    if (!bytes) {
        prompts_->showError(this, QString::fromUtf8(Words("notEncoded")) + NothingWrittenText());
        return;
    }
    const SaveOutcome saved = AppendToFile(QFile::encodeName(path).toStdString(), *bytes);
    if (!saved.result.ok) {
        QString message =
            SaveFailedText(QString::fromUtf8(Words("report")), path, saved.result.error);
        if (saved.takeBack.bytesLeft > 0) {
            message += QString::fromUtf8(Words("bytesLeft")).arg(saved.takeBack.bytesLeft);
        }
        prompts_->showError(this, message);
    }
}

void TForm1::N3Click() {
    // The page shows the window on white: captions without a colour of their own follow it.
    SetFormColor(clWhite);
    const QImage page = grab().toImage();
    SetFormColor(clBtnFace);
    // The grab holds every device pixel: the page shows the window at the size it was
    // designed, whatever the screen.
    const double pagePixelsPerInch = scale_.grabPixelsPerInch(page.devicePixelRatio());

    QString error;
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull()) {
        const QString pdfFile = prompts_->askPdfInstead(this);
        if (pdfFile.isEmpty()) {
            return;
        }
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile);
        // The job's title in the printer queue, and the PDF's.
        printer.setDocName(windowTitle());
        error = PrintImage(page, pagePixelsPerInch, printer);
    } else {
        QPrinter printer(printerInfo, QPrinter::HighResolution);
        printer.setDocName(windowTitle());
        error = PrintImage(page, pagePixelsPerInch, printer);
    }
    if (!error.isEmpty()) {
        prompts_->showError(this, error);
    }
}

void TForm1::Exit2Click() {
    exit_(0);
}

void TForm1::SetFormColor(TColor color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(color));
    setPalette(p);
}
