#include "controls/qt_controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include "main/engine_text.h"

void QtEnabled::SetEnabled(bool enabled) {
    widget_->setEnabled(enabled);
}

std::string QtCaption::Caption() const {
    return ToStd(button_->text().toLocal8Bit());
}

void QtCaption::SetCaption(const std::string& caption) {
    button_->setText(ShownText(caption));
}

bool QtCheckBox::Checked() const {
    return box_ != nullptr && box_->isChecked();
}

void QtCheckBox::SetChecked(bool checked) {
    const QSignalBlocker quiet(box_);
    box_->setChecked(checked);
}

std::string QtMemo::Text() const {
    return MemoText(memo_);
}

void QtLabel::SetCaption(const std::string& caption) {
    label_->setText(ShownText(caption));
    label_->adjustSize();
}

int QtLabel::Width() const {
    return label_->width();
}

void QtLabel::SetLeft(int left) {
    label_->move(left, label_->y());
}

void QtStyledLabel::SetFontColour(std::uint32_t colour) {
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText,
                     QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                            static_cast<int>((colour >> 16) & 0xFF)));
    label_->setPalette(palette);
}

void QtStyledLabel::SetFontStyle(unsigned styles) {
    QFont font = label_->font();
    font.setBold((styles & korv::behaviour::kBold) != 0);
    font.setItalic((styles & korv::behaviour::kItalic) != 0);
    font.setUnderline((styles & korv::behaviour::kUnderline) != 0);
    font.setStrikeOut((styles & korv::behaviour::kStrikeOut) != 0);
    label_->setFont(font);
}

int QtFrame::Left() const {
    return window_->frameGeometry().x();
}

int QtFrame::Top() const {
    return window_->frameGeometry().y();
}

int QtFrame::Width() const {
    return window_->frameGeometry().width();
}

bool QtFrame::Visible() const {
    return window_->isVisible();
}

void QtFrame::MoveTo(int left, int top) {
    window_->move(left, top);
}

void QtFrame::ShowInFront() {
    window_->show();
    window_->raise();
}

void QtFrame::Hide() {
    window_->hide();
}

void QtBeeper::Beep() {
    QApplication::beep();
}
