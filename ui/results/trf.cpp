#include "results/trf.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <utility>

#include "look/fonts.h"
#include "look/glyphs.h"
#include "main/engine_text.h"
#include "texts.h"

namespace text = korv::behaviour::text;

namespace {

constexpr int kClientWidth = 289;
constexpr int kClientHeight = 124;
QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* label = new QLabel(ShownText(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    // The size follows the text, so a wider font than the classic one
    // does not cut it off.
    const QSize natural = label->sizeHint();
    label->setGeometry(geometry.x(), geometry.y(), std::max(geometry.width(), natural.width()),
                       std::max(geometry.height(), natural.height()));
    return label;
}

QLabel* MakeNumber(QWidget* parent, const char* name, int top) {
    QLabel* label = MakeLabel(parent, name, "0", {261, top, 6, 13});
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* button = new QPushButton(ShownText(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

}  // namespace

TRF::TRF(korv::behaviour::EditorLauncher& editor, std::string log_path, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("RF"));
    setWindowTitle(ShownText(text::kResultsCaption));
    setFont(FormFont());
    setFixedSize(kClientWidth, kClientHeight);
    setAttribute(Qt::WA_DeleteOnClose);

    // Members in their declared order; the tab order is set below.
    Label2 = MakeLabel(this, "Label2", text::kFilesReplaced, {93, 57, 107, 13});
    Label4 = MakeNumber(this, "Label4", 57);
    Button1 = MakeButton(this, "Button1", text::kShowLog, {93, 86, 85, 25});
    Button2 = MakeButton(this, "Button2", text::kOk, {188, 86, 85, 25});
    Label3 = MakeNumber(this, "Label3", 36);
    Label1 = MakeLabel(this, "Label1", text::kFilesSearched, {93, 36, 71, 13});
    Label5 = MakeLabel(this, "Label5", text::kFinished, {93, 16, 181, 13});

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(14, 18, 65, 51);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(1, 1, 63, 49);
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap::fromImage(ResultsArrow()));

    Button2->setDefault(true);
    Button1->setAutoDefault(false);
    setTabOrder(Button2, Button1);
    setTabOrder(Button1, Panel1);
    Button2->setFocus();

    searched_ = std::make_unique<QtLabel>(Label3);
    replaced_ = std::make_unique<QtLabel>(Label4);
    behaviour_ = std::make_unique<korv::behaviour::ResultsDialog>(
        korv::behaviour::ResultsLabels{*searched_, *replaced_, kClientWidth}, beeper_, editor,
        std::move(log_path));

    connect(Button2, &QPushButton::clicked, this, &TRF::Button2Click);
    connect(Button1, &QPushButton::clicked, this, [this] { behaviour_->Button1Click(); });
}

TRF::~TRF() = default;

void TRF::Button2Click() {
    close();
}

void TRF::FormClose() {
    // Freed once closed: WA_DeleteOnClose, set at creation, stays on.
    setAttribute(Qt::WA_DeleteOnClose);
}

void TRF::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        // Centred on the screen, not on the main window.
        if (QScreen* screen = QApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            const QSize outer = frameGeometry().size();
            move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
        }
        behaviour_->FormShow();
    }
}

void TRF::closeEvent(QCloseEvent* event) {
    FormClose();
    QDialog::closeEvent(event);
}

void TRF::keyPressEvent(QKeyEvent* event) {
    // Neither button answers Esc.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
