#pragma once

#include <string>

#include "controls.h"

class QListWidget;

// The file list's list box over a list widget: each entry keeps the exact
// bytes of its path and shows them decoded. The widget's current row is the
// caret, apart from the selection.
class QtListBox final : public korv::behaviour::ListBox {
public:
    explicit QtListBox(QListWidget* list) : list_(list) {}

    [[nodiscard]] int Count() const override;
    [[nodiscard]] std::string Item(int index) const override;
    void Add(const std::string& entry) override;
    void Clear() override;
    void Delete(int index) override;
    [[nodiscard]] bool Selected(int index) const override;
    void SelectOnly(int index) override;
    [[nodiscard]] int CaretIndex() const override;
    void SetCaretIndex(int index) override;
    void SetHint(const std::string& hint) override;

private:
    QListWidget* list_;
};
