#include "aboutform/tabout.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include "aboutform/check_glyph.h"
#include "aboutform/link_look.h"
#include "aboutform/maker.h"
#include "aboutform/program_icon.h"
#include "desktop_opener.h"
#include "look/fonts.h"

TAbout::TAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("About"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Korvane"));
    setModal(true);
    setFont(FormFont());
    setFixedSize(234, 161);
    setMouseTracking(true);
    installEventFilter(this);

    // The OK button comes first so that it is first in the tab order.
    BitBtn1 = new QPushButton(CheckGlyph(), QStringLiteral("&OK"), this);
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

    Label1 = AddLabel("Label1", QString::fromLatin1(korv::maker::kName), 55, 8);
    Label2 = AddLabel("Label2", QString::fromLatin1(korv::maker::kProgram), 55, 24);
    Label4 = AddLabel("Label4", QStringLiteral("Web Site:"), 55, 64);
    Label5 = AddLabel("Label5", QString::fromLatin1(korv::maker::kWebHost), 108, 64);
    Label6 = AddLabel("Label6", QStringLiteral("E-mail:"), 55, 80);
    Label7 = AddLabel("Label7", QString::fromLatin1(korv::maker::kEmail), 108, 80);
    Label8 = AddLabel("Label8", QStringLiteral("See license.txt for distribution"), 55, 104);

    for (QLabel* link : {Label5, Label7}) {
        link->setCursor(Qt::PointingHandCursor);
        SetLinkLook(link, LinkLook::kPlain);
    }
    Label5->setToolTip(QString::fromLatin1(korv::maker::kWebAddress));
    Label7->setToolTip(QStringLiteral("Mailto ") + QString::fromLatin1(korv::maker::kEmail));

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

QLabel* TAbout::AddLabel(const char* name, const QString& text, int left, int top) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

void TAbout::FormCreate() {
    QIcon icon = QApplication::windowIcon();
    Image1->setPixmap(icon.isNull() ? ProgramIconPixmap() : icon.pixmap(32, 32));
}

void TAbout::FormMouseMove() {
    SetLinkLook(Label5, LinkLook::kPlain);
    SetLinkLook(Label7, LinkLook::kPlain);
}

void TAbout::Label5MouseMove() {
    SetLinkLook(Label5, LinkLook::kLit);
    SetLinkLook(Label7, LinkLook::kPlain);
}

void TAbout::Label7MouseMove() {
    SetLinkLook(Label7, LinkLook::kLit);
    SetLinkLook(Label5, LinkLook::kPlain);
}

void TAbout::Label5Click() {
    korv::platform::OpenWithDesktop(korv::maker::kWebAddress);
}

void TAbout::Label7Click() {
    korv::platform::OpenWithDesktop(std::string("mailto:") + korv::maker::kEmail);
}

bool TAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        if (watched == Label5) {
            Label5MouseMove();
        } else if (watched == Label7) {
            Label7MouseMove();
        } else {
            FormMouseMove();
        }
        // Handled here: a move a child ignored would reach the box as well.
        return watched != this;
    } else if (event->type() == QEvent::MouseButtonRelease &&
               (watched == Label5 || watched == Label7)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* label = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            watched == Label5 ? Label5Click() : Label7Click();
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
