#include "aboutform/tabout.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include "aboutform/check_glyph.h"
#include "aboutform/maker.h"
#include "aboutform/program_icon.h"
#include "desktop_opener.h"
#include "look/fonts.h"
#include "main/engine_text.h"
#include "texts.h"

namespace text = korv::behaviour::text;

TAbout::TAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("About"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ShownText(text::kAboutCaption));
    setModal(true);
    setFont(FormFont());
    setFixedSize(234, 161);
    setMouseTracking(true);
    installEventFilter(this);

    // The OK button comes first so that it is first in the tab order.
    BitBtn1 = new QPushButton(CheckGlyph(), ShownText(text::kOk), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(55, 128, 106, 25);
    BitBtn1->setIconSize(QSize(18, 18));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(10, 10, 34, 34);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setLineWidth(1);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(11, 11, 32, 32);
    Image1->setScaledContents(false);

    Label1 = AddLabel("Label1", korv::maker::kName, 55, 8);
    Label2 = AddLabel("Label2", korv::maker::kProgram, 55, 24);
    Label4 = AddLabel("Label4", text::kWebSiteLabel, 55, 64);
    Label5 = AddLabel("Label5", korv::maker::kWebHost, 108, 64);
    Label6 = AddLabel("Label6", text::kEmailLabel, 55, 80);
    Label7 = AddLabel("Label7", korv::maker::kEmail, 108, 80);
    Label8 = AddLabel("Label8", text::kLicence, 55, 104);

    for (QLabel* link : {Label5, Label7}) {
        link->setCursor(Qt::PointingHandCursor);
    }
    Label5->setToolTip(ShownText(korv::behaviour::WebLinkHint()));
    Label7->setToolTip(ShownText(korv::behaviour::MailLinkHint()));
    web_link_ = std::make_unique<QtStyledLabel>(Label5);
    mail_link_ = std::make_unique<QtStyledLabel>(Label7);
    behaviour_ = std::make_unique<korv::behaviour::AboutBox>(*web_link_, *mail_link_,
                                                             korv::platform::DesktopOpenerInUse());

    // Moves over these run a handler. The bevel and Label8 have none: with
    // no mouse tracking, a move over them goes nowhere, not even to the box.
    for (QWidget* w : std::initializer_list<QWidget*>{Image1, Label1, Label2, Label4, Label5,
                                                      Label6, Label7, BitBtn1}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    BitBtn1->setFocus();
    FormCreate();
}

TAbout::~TAbout() = default;

QLabel* TAbout::AddLabel(const char* name, const char* caption, int left, int top) {
    auto* label = new QLabel(ShownText(caption), this);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

void TAbout::FormCreate() {
    QIcon icon = QApplication::windowIcon();
    Image1->setPixmap(icon.isNull() ? ProgramIconPixmap() : icon.pixmap(32, 32));
}

bool TAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == Label5) {
            behaviour_->Label5MouseMove();
        } else if (watched == Label7) {
            behaviour_->Label7MouseMove();
        } else {
            behaviour_->FormMouseMove();
        }
        // Handled here: a move a child ignored would reach the box as well.
        return watched != this;
    } else if (event->type() == QEvent::MouseButtonRelease &&
               (watched == Label5 || watched == Label7)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            watched == Label5 ? behaviour_->Label5Click() : behaviour_->Label7Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAbout::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the window that opened it.
    if (QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->geometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void TAbout::keyPressEvent(QKeyEvent* event) {
    // Only the OK button closes the box; Escape has no button to press.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
