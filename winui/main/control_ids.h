#pragma once

// The main window's child windows and menu commands by identifier: one
// table, so the window, its handlers and the tests agree. Identifiers stay
// clear of IDOK and IDCANCEL, which the dialog manager sends for Enter and
// Escape.
namespace tmf_id {

inline constexpr int GroupBox1 = 100;
inline constexpr int ListBox1 = 101;
inline constexpr int SpeedButton1 = 102;
inline constexpr int SpeedButton2 = 103;
inline constexpr int Button4 = 104;
inline constexpr int Label3 = 105;
inline constexpr int Edit2 = 106;
inline constexpr int Label4 = 107;
inline constexpr int Edit3 = 108;
inline constexpr int Button = 109;

inline constexpr int VersionHistory1 = 200;
inline constexpr int About1 = 201;
inline constexpr int Loadfilelist1 = 202;
inline constexpr int Savefilelistas1 = 203;
inline constexpr int Files1 = 204;
inline constexpr int Deleteselected1 = 205;
inline constexpr int Deleteall1 = 206;

inline constexpr int Timer1 = 1;

}  // namespace tmf_id
