// The main window's construction and how its events reach the handlers.

#include "main/tmf.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <algorithm>
#include <string>
#include <vector>

#include "aboutform/program_icon.h"
#include "ini_file.h"
#include "look/fonts.h"
#include "look/glyphs.h"
#include "main/engine_text.h"
#include "main/error_box.h"
#include "main/file_list_delegate.h"
#include "opt/taf.h"
#include "texts.h"

namespace text = korv::behaviour::text;

namespace {

constexpr int kClientWidth = 273;
constexpr int kClientHeight = 363;

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QToolButton* GlyphButton(QWidget* parent, const char* name, const QImage& glyph, QRect geometry) {
    auto* button = Named(new QToolButton(parent), name);
    button->setGeometry(geometry);
    button->setIcon(QIcon(QPixmap::fromImage(glyph)));
    button->setIconSize(glyph.size());
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QPlainTextEdit* Memo(QWidget* parent, const char* name, QRect geometry) {
    auto* memo = Named(new QPlainTextEdit(parent), name);
    memo->setGeometry(geometry);
    memo->setFont(MemoFont());
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(true);
    // Files dropped on a memo go to the window, as on the rest of it.
    memo->setAcceptDrops(false);
    memo->viewport()->setAcceptDrops(false);
    return memo;
}

QLabel* Caption(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = Named(new QLabel(text, parent), name);
    // The size follows the text, so a wider font than the classic one
    // does not cut it off.
    const QSize natural = label->sizeHint();
    label->setGeometry(geometry.x(), geometry.y(), std::max(geometry.width(), natural.width()),
                       std::max(geometry.height(), natural.height()));
    return label;
}

}  // namespace

TMF::TMF(korv::behaviour::Prompter& prompter, korv::behaviour::EditorLauncher& editor,
         korv::behaviour::TmfPaths paths, int hint_hide_pause_ms, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      prompter_(prompter),
      editor_(editor),
      hint_hide_pause_ms_(hint_hide_pause_ms),
      frame_(this) {
    setObjectName(QStringLiteral("MF"));
    setWindowTitle(ShownText(text::kApplicationTitle));
    setWindowIcon(ProgramIcon());
    setFont(FormFont());
    // Files dropped from the file manager arrive as WMDropFiles.
    setAcceptDrops(true);

    BuildControls();
    BuildMenus();
    list_box_ = std::make_unique<QtListBox>(ListBox1);
    run_button_ = std::make_unique<QtEnabled>(Button);
    delete_button_ = std::make_unique<QtEnabled>(SpeedButton2);
    options_button_ = std::make_unique<QtCaption>(Button4);
    find_memo_ = std::make_unique<QtMemo>(Edit2);
    replace_memo_ = std::make_unique<QtMemo>(Edit3);
    behaviour_ = std::make_unique<korv::behaviour::MainWindow>(
        korv::behaviour::MainWindowControls{*list_box_, *delete_button_, *options_button_,
                                            *find_memo_, *replace_memo_, *run_button_, frame_,
                                            *this},
        korv::behaviour::MainWindowServices{prompter_, editor_, clock_,
                                            [](const std::string& path) {
                                                return std::make_unique<korv::platform::IniFile>(
                                                    path);
                                            }},
        std::move(paths));
    ConnectHandlers();
    // Client area of fixed size below the menu bar; the window cannot be
    // resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setInterval(korv::behaviour::kDockingIntervalMs);
    connect(Timer1, &QTimer::timeout, this, [this] {
        if (QGuiApplication::primaryScreen() != nullptr) {
            Guarded([this] { behaviour_->Timer1Timer(); });
        }
    });
    Timer1->start();

    Guarded([this] { behaviour_->FormCreate(); });
}

TMF::~TMF() = default;

void TMF::SetOptionsPanel(TAF* panel) {
    behaviour_->SetOptionsPanel(panel != nullptr ? &panel->Behaviour() : nullptr,
                                panel != nullptr ? &panel->Frame() : nullptr);
}

void TMF::BuildControls() {
    auto* client = Named(new QWidget(this), "ClientArea");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    GroupBox1 = Named(new QGroupBox(ShownText(text::kFilesGroup), client), "GroupBox1");
    GroupBox1->setGeometry(0, 0, kClientWidth, 177);

    ListBox1 = Named(new QListWidget(GroupBox1), "ListBox1");
    ListBox1->setGeometry(8, 16, 256, 126);
    ListBox1->setFont(ListFont());
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setItemDelegate(new FileListDelegate(ListBox1));
    ListBox1->setUniformItemSizes(true);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    ListBox1->setTextElideMode(Qt::ElideNone);
    ListBox1->setAcceptDrops(false);
    ListBox1->viewport()->setAcceptDrops(false);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    ListBox1->setToolTipDuration(hint_hide_pause_ms_);
    ListBox1->viewport()->setMouseTracking(true);
    ListBox1->installEventFilter(this);
    ListBox1->viewport()->installEventFilter(this);

    SpeedButton1 = GlyphButton(GroupBox1, "SpeedButton1", PlusGlyph(), {8, 148, 25, 22});
    SpeedButton2 = GlyphButton(GroupBox1, "SpeedButton2", MinusGlyph(), {40, 148, 25, 22});

    Button4 = Named(new QPushButton(ShownText(text::kShowOptions), client), "Button4");
    Button4->setGeometry(8, 181, 256, 18);
    Button4->setAutoDefault(false);

    Label3 = Caption(client, "Label3", ShownText(text::kFindLabel), {8, 202, 23, 13});
    Edit2 = Memo(client, "Edit2", {72, 202, 192, 50});
    Label4 = Caption(client, "Label4", ShownText(text::kReplaceLabel), {8, 256, 55, 13});
    Edit3 = Memo(client, "Edit3", {72, 256, 192, 50});

    Button = Named(new QPushButton(ShownText(text::kRunButton), client), "Button");
    Button->setGeometry(72, 310, 111, 25);
    QFont bold = FormFont();
    bold.setBold(true);
    Button->setFont(bold);
    // Not the default button: Enter in a memo starts a new line.
    Button->setAutoDefault(false);
    Button->setDefault(false);

    setTabOrder(ListBox1, Button4);
    setTabOrder(Button4, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Button);
}

void TMF::BuildMenus() {
    MainMenu1 = Named(new QMenuBar(this), "MainMenu1");
    setMenuBar(MainMenu1);
    Help1 = Named(MainMenu1->addMenu(ShownText(text::kHelpMenu)), "Help1");
    VersionHistory1 =
        Named(Help1->addAction(ShownText(text::kVersionHistoryItem)), "VersionHistory1");
    About1 = Named(Help1->addAction(ShownText(text::kAboutItem)), "About1");

    PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
    Loadfilelist1 = Named(PopupMenu1->addAction(ShownText(text::kLoadListItem)), "Loadfilelist1");
    Savefilelistas1 =
        Named(PopupMenu1->addAction(ShownText(text::kSaveListItem)), "Savefilelistas1");

    PopupMenu2 = Named(new QMenu(this), "PopupMenu2");
    Files1 = Named(PopupMenu2->addAction(ShownText(text::kAddFilesItem)), "Files1");

    PopupMenu3 = Named(new QMenu(this), "PopupMenu3");
    // The Del shortcut is only shown beside the item; the Delete key is the
    // list's own (ListBox1KeyDown).
    Deleteselected1 = Named(PopupMenu3->addAction(ShownText(std::string(text::kDeleteSelectedItem) +
                                                            '\t' + text::kDeleteSelectedShortcut)),
                            "Deleteselected1");
    Deleteall1 = Named(PopupMenu3->addAction(ShownText(text::kDeleteAllItem)), "Deleteall1");
}

void TMF::ConnectHandlers() {
    using korv::behaviour::MainWindow;
    const auto on = [this](auto* sender, auto signal, void (MainWindow::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { Guarded([this, handler] { (behaviour_.get()->*handler)(); }); });
    };
    on(Button, &QPushButton::clicked, &MainWindow::ButtonClick);
    on(Button4, &QPushButton::clicked, &MainWindow::Button4Click);
    on(VersionHistory1, &QAction::triggered, &MainWindow::VersionHistory1Click);
    on(Loadfilelist1, &QAction::triggered, &MainWindow::Loadfilelist1Click);
    on(Savefilelistas1, &QAction::triggered, &MainWindow::Savefilelistas1Click);
    on(Files1, &QAction::triggered, &MainWindow::Files1Click);
    on(Deleteselected1, &QAction::triggered, &MainWindow::Deleteselected1Click);
    on(Deleteall1, &QAction::triggered, &MainWindow::Deleteall1Click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TMF::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TMF::SpeedButton2Click);
    connect(About1, &QAction::triggered, this, [this] { Guarded([this] { About1Click(); }); });
    connect(ListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(pos));
    });
}

void TMF::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_before_) {
        return;
    }
    shown_before_ = true;
    if (QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        // move() places the frame, so the frame is what gets centred.
        const QSize outer = frameGeometry().size();
        move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
    }
    // An error cuts the handler short; the window is shown all the same.
    Guarded([this] { behaviour_->FormShow(); });
}

void TMF::closeEvent(QCloseEvent* event) {
    if (!behaviour_->FormCloseQuery()) {
        // The run ends after the file it is working on; the window closes
        // then.
        event->ignore();
        return;
    }
    // A failure to write the closing line is shown; the program ends anyway.
    Guarded([this] { behaviour_->FormClose(); });
    event->accept();
    emit Closed();
}

void TMF::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void TMF::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(ToStd(DroppedPathBytes(url)));
        }
    }
    Guarded([this, &paths] { behaviour_->WMDropFiles(paths); });
    // The drop is released whatever became of its paths.
    event->acceptProposedAction();
}

bool TMF::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            Guarded([this] { behaviour_->ListBox1KeyDown(korv::behaviour::kDeleteKey); });
        }
        // The Delete key is not consumed; typed characters find entries.
        return PrefixKey(key->text(), key->key());
    }
    if (watched == ListBox1->viewport()) {
        switch (event->type()) {
            case QEvent::MouseMove:
                Guarded([this] { behaviour_->ListBox1MouseMove(); });
                break;
            case QEvent::MouseButtonDblClick:
                Guarded([this] { behaviour_->ListBox1DblClick(); });
                break;
            case QEvent::MouseButtonPress:
                // The right button opens the menu and leaves the selection.
                if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
                    return true;
                }
                break;
            case QEvent::ToolTip:
                ShowListHint(static_cast<QHelpEvent*>(event)->globalPos());
                return true;
            default:
                break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMF::ShowListHint(const QPoint& global_pos) {
    // The hint is the list's own (the current entry's path), wherever the
    // mouse is over the list.
    QToolTip::showText(global_pos, ListBox1->toolTip(), ListBox1, QRect(), hint_hide_pause_ms_);
}
