// The start page's own strings. All program text is GBK, so each string is
// written here as escaped GBK bytes, with its reading in a comment above it;
// ASCII parts stay literal and are split off with string concatenation so no
// escape swallows the letter after it. Text for zenity is converted to UTF-8
// where it leaves the program.
#pragma once

namespace nd::start_text {

// 起始页 - Nodrel 6
inline constexpr char kWindowCaption[] =
    "\xc6\xf0\xca\xbc\xd2\xb3"
    " - Nodrel 6";
// The page title drawn at the top.
inline constexpr char kTitle[] = "Nodrel 6";
// 最近使用的工作区
inline constexpr char kRecentHeader[] =
    "\xd7\xee\xbd\xfc\xca\xb9\xd3\xc3\xb5\xc4\xb9\xa4\xd7\xf7\xc7\xf8";
// 这个工作区正在使用，不能重复打开。
inline constexpr char kInUseMessage[] =
    "\xd5\xe2\xb8\xf6\xb9\xa4\xd7\xf7\xc7\xf8\xd5\xfd\xd4\xda\xca\xb9\xd3\xc3\xa3\xac\xb2\xbb\xc4"
    "\xdc"
    "\xd6\xd8\xb8\xb4\xb4\xf2\xbf\xaa\xa1\xa3";
// 新建「工作区」...
inline constexpr char kNewDialogTitle[] =
    "\xd0\xc2\xbd\xa8\xa1\xb8\xb9\xa4\xd7\xf7\xc7\xf8\xa1\xb9"
    "...";
// 读取「工作区」...
inline constexpr char kOpenDialogTitle[] =
    "\xb6\xc1\xc8\xa1\xa1\xb8\xb9\xa4\xd7\xf7\xc7\xf8\xa1\xb9"
    "...";
// 「工作区」文件(*.wk)
inline constexpr char kFilterName[] =
    "\xa1\xb8\xb9\xa4\xd7\xf7\xc7\xf8\xa1\xb9\xce\xc4\xbc\xfe"
    "(*.wk)";
// 新建工作区
inline constexpr char kNewButton[] = "\xd0\xc2\xbd\xa8\xb9\xa4\xd7\xf7\xc7\xf8";
// 打开工作区
inline constexpr char kOpenButton[] = "\xb4\xf2\xbf\xaa\xb9\xa4\xd7\xf7\xc7\xf8";
// 使用指南
inline constexpr char kHelpUsage[] = "\xca\xb9\xd3\xc3\xd6\xb8\xc4\xcf";
// 界面说明
inline constexpr char kHelpInterface[] = "\xbd\xe7\xc3\xe6\xcb\xb5\xc3\xf7";
// 正在使用
inline constexpr char kInUseMark[] = "\xd5\xfd\xd4\xda\xca\xb9\xd3\xc3";
// 无法打开工作区
inline constexpr char kOpenFailed[] = "\xce\xde\xb7\xa8\xb4\xf2\xbf\xaa\xb9\xa4\xd7\xf7\xc7\xf8";
// 确定
inline constexpr char kOk[] = "\xc8\xb7\xb6\xa8";
// 取消
inline constexpr char kCancel[] = "\xc8\xa1\xcf\xfb";
// 输入工作区文件的路径
inline constexpr char kEntryPrompt[] =
    "\xca\xe4\xc8\xeb\xb9\xa4\xd7\xf7\xc7\xf8\xce\xc4\xbc\xfe\xb5\xc4\xc2\xb7\xbe\xb6";

// 路径太长
inline constexpr char kPathTooLong[] = "\xc2\xb7\xbe\xb6\xcc\xab\xb3\xa4";

// The notice shown once a workspace has opened, when opening it found and
// mended something (the store's own lines follow the title).
// 打开工作区时发现并处理了以下问题
inline constexpr char kNoticeTitle[] =
    "\xb4\xf2\xbf\xaa\xb9\xa4\xd7\xf7\xc7\xf8\xca\xb1\xb7\xa2\xcf\xd6\xb2\xa2\xb4\xa6\xc0\xed\xc1"
    "\xcb\xd2\xd4\xcf\xc2\xce\xca\xcc\xe2";
// 工作区设置文件已损坏，已恢复为默认设置（包括密码）；原文件保存为 <path>。
inline constexpr char kSettingsReset[] =
    "\xb9\xa4\xd7\xf7\xc7\xf8\xc9\xe8\xd6\xc3\xce\xc4\xbc\xfe\xd2\xd1\xcb\xf0\xbb\xb5\xa3\xac\xd2"
    "\xd1\xbb\xd6\xb8\xb4\xce\xaa\xc4\xac\xc8\xcf\xc9\xe8\xd6\xc3\xa3\xa8\xb0\xfc\xc0\xa8\xc3\xdc"
    "\xc2\xeb\xa3\xa9\xa3\xbb\xd4\xad\xce\xc4\xbc\xfe\xb1\xa3\xb4\xe6\xce\xaa"
    " ";
// 。
inline constexpr char kFullStop[] = "\xa1\xa3";
// ……另有 <n> 条 (when more lines are there than the notice shows)
inline constexpr char kMoreNotesBefore[] =
    "\xa1\xad\xa1\xad\xc1\xed\xd3\xd0"
    " ";
inline constexpr char kMoreNotesAfter[] =
    " "
    "\xcc\xf5";

}  // namespace nd::start_text
