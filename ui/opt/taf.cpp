#include "opt/taf.h"

#include <QCheckBox>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>

#include "desktop_opener.h"
#include "look/fonts.h"
#include "main/engine_text.h"
#include "texts.h"

namespace text = korv::behaviour::text;

namespace {

// Right of this the panel's bevel begins.
constexpr int kPanelInnerRight = 181 - 2;

QCheckBox* MakeBox(QWidget* parent, const char* name, const char* caption, QRect geometry) {
    auto* box = new QCheckBox(ShownText(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setTristate(false);
    return box;
}

// The design widths suit the classic face. A wider stand-in face would cut
// a caption short, so a box grows to its caption, up to `right_limit`.
void FitToCaption(QCheckBox* box, int right_limit) {
    const int wanted = std::min(box->sizeHint().width(), right_limit - box->x());
    if (wanted > box->width()) {
        box->resize(wanted, box->height());
    }
}

}  // namespace

TAF::TAF(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), frame_(this) {
    setObjectName(QStringLiteral("AF"));
    setWindowTitle(ShownText(text::kPanelCaption));
    const QFont form_font = FormFont();
    setFont(form_font);
    setFixedSize(181, 81);
    move(516, 321);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 181, 81);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);

    // Created in tab order: case, backup, variables.
    CheckBoxCS = MakeBox(Panel1, "CheckBoxCS", text::kCaseSensitive, {8, 8, 89, 17});
    CheckBoxBU = MakeBox(Panel1, "CheckBoxBU", text::kBackUp, {8, 32, 129, 17});
    CheckBoxDV = MakeBox(Panel1, "CheckBoxDV", text::kDynamicVariables, {8, 57, 129, 14});

    Label1 = new QLabel(ShownText(text::kHelpLink), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(140, 58, 27, 13);
    QFont link_font = form_font;
    link_font.setBold(true);
    link_font.setUnderline(true);
    Label1->setFont(link_font);
    Label1->setCursor(Qt::WhatsThisCursor);
    Label1->installEventFilter(this);

    FitToCaption(CheckBoxCS, kPanelInnerRight);
    FitToCaption(CheckBoxBU, kPanelInnerRight);
    FitToCaption(CheckBoxDV, Label1->x() - 2);

    cs_ = std::make_unique<QtCheckBox>(CheckBoxCS);
    bu_ = std::make_unique<QtCheckBox>(CheckBoxBU);
    dv_ = std::make_unique<QtCheckBox>(CheckBoxDV);
    behaviour_ = std::make_unique<korv::behaviour::OptionsPanel>(
        korv::behaviour::OptionsBoxes{*cs_, *bu_, *dv_}, korv::platform::DesktopOpenerInUse());

    // Toggled, not clicked: a box set in code writes its key like a click.
    connect(CheckBoxCS, &QCheckBox::toggled, this, [this] { behaviour_->CheckBoxCSClick(); });
    connect(CheckBoxBU, &QCheckBox::toggled, this, [this] { behaviour_->CheckBoxBUClick(); });
    connect(CheckBoxDV, &QCheckBox::toggled, this, [this] { behaviour_->CheckBoxDVClick(); });
}

TAF::~TAF() = default;

bool TAF::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            Label1->rect().contains(mouse->position().toPoint())) {
            Label1Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
