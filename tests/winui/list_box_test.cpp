#include <windows.h>

#include <gtest/gtest.h>

#include "controls/win32_list_box.h"

namespace {

// An owner-drawn list box like the file list's, in a hidden window.
class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = ::CreateWindowExA(0, "STATIC", "", WS_OVERLAPPED, 0, 0, 200, 200, nullptr,
                                    nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        list_ = ::CreateWindowExA(
            0, "LISTBOX", "",
            WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_EXTENDEDSEL | LBS_NOTIFY, 0, 0, 100,
            40, parent_, nullptr, nullptr, nullptr);
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(parent_); }

    HWND parent_ = nullptr;
    HWND list_ = nullptr;
};

TEST_F(ListBoxTest, CaretMovesApartFromTheSelection) {
    Win32ListBox box(list_, nullptr);
    EXPECT_EQ(box.CaretIndex(), -1);
    for (const char* entry : {"a", "b", "c", "d", "e", "f"}) {
        box.Add(entry);
    }
    EXPECT_EQ(box.CaretIndex(), 0);
    box.SelectOnly(4);
    EXPECT_EQ(box.CaretIndex(), 4);
    box.SetCaretIndex(1);
    EXPECT_EQ(box.CaretIndex(), 1);
    EXPECT_EQ(::SendMessageA(list_, LB_GETCARETINDEX, 0, 0), 1);
    for (int i = 0; i < box.Count(); ++i) {
        EXPECT_EQ(box.Selected(i), i == 4) << i;
    }
    // The item scrolled into view: the list shows three items at once.
    box.SetCaretIndex(5);
    const auto top = static_cast<int>(::SendMessageA(list_, LB_GETTOPINDEX, 0, 0));
    EXPECT_GT(top, 0);
    EXPECT_LE(top, 5);
    box.SelectOnly(0);
    EXPECT_EQ(::SendMessageA(list_, LB_GETTOPINDEX, 0, 0), 0);
    EXPECT_EQ(::SendMessageA(list_, LB_GETSELCOUNT, 0, 0), 1);
}

TEST_F(ListBoxTest, KeepsTheExactBytesOfEveryEntry) {
    Win32ListBox box(list_, nullptr);
    // Bytes that are no text of a double-byte code page, and "&".
    const std::string odd("C:\\\x81\xFF&x\x80.txt");
    box.Add("first");
    box.Add(odd);
    box.Add("third");
    ASSERT_EQ(box.Count(), 3);
    EXPECT_EQ(::SendMessageA(list_, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(box.Item(1), odd);
    box.Delete(0);
    EXPECT_EQ(box.Item(0), odd);
    EXPECT_EQ(::SendMessageA(list_, LB_GETCOUNT, 0, 0), 2);
    box.Clear();
    EXPECT_EQ(box.Count(), 0);
    EXPECT_EQ(::SendMessageA(list_, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(box.CaretIndex(), -1);
}

}  // namespace
