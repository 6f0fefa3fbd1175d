// The board's own texts and font names, as GBK bytes with their reading
// beside them.
#pragma once

namespace nd::texts {

inline constexpr char kYaHei[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";  // 微软雅黑
inline constexpr char kSimSun[] = "\xCB\xCE\xCC\xE5";                 // 宋体
inline constexpr char kConsolas[] = "Consolas";
inline constexpr char kTahoma[] = "Tahoma";

inline constexpr char kSizeHint[] =
    "Ctrl + ALT + Up/Down/Left/Right "
    "\xD0\xDE\xB8\xC4\xB4\xB0\xBF\xDA\xB4\xF3\xD0\xA1";  // 修改窗口大小
inline constexpr char kOriginLabel[] = "[0, 0]";
// "%d月%d日, %s": month, day and the weekday's name.
inline constexpr char kLockDate[] = "%d\xD4\xC2%d\xC8\xD5, %s";
// Monday first: 星期一 ... 星期日.
inline constexpr const char* kWeekdays[7] = {
    "\xD0\xC7\xC6\xDA\xD2\xBB", "\xD0\xC7\xC6\xDA\xB6\xFE", "\xD0\xC7\xC6\xDA\xC8\xFD",
    "\xD0\xC7\xC6\xDA\xCB\xC4", "\xD0\xC7\xC6\xDA\xCE\xE5", "\xD0\xC7\xC6\xDA\xC1\xF9",
    "\xD0\xC7\xC6\xDA\xC8\xD5"};
inline constexpr char kFirstNote[] = "\xB5\xDA\xD2\xBB\xB8\xF6\xB1\xE3\xC7\xA9";  // 第一个便签
inline constexpr char kMarkName[] = "map_%d";

}  // namespace nd::texts
