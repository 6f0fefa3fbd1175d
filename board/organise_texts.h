// The texts of the left bar, the colour switches, the arrangements' group
// frames, the sorting view and the options panel, as GBK bytes with their
// reading beside them.
#pragma once

namespace nd::texts {

// The status names, by colour class: 搁置, 良好, 严重, 警告.
inline constexpr const char* kStatusName[4] = {"\xB8\xE9\xD6\xC3", "\xC1\xBC\xBA\xC3",
                                               "\xD1\xCF\xD6\xD8", "\xBE\xAF\xB8\xE6"};
// The difficulties: 简单, 困难, 无法完成.
inline constexpr const char* kDifficultyName[3] = {"\xBC\xF2\xB5\xA5", "\xC0\xA7\xC4\xD1",
                                                   "\xCE\xDE\xB7\xA8\xCD\xEA\xB3\xC9"};

inline constexpr char kLeftBarTitle[] = "\xB0\xD7\xB0\xE5\xB9\xDC\xC0\xED\xC6\xF7";  // 白板管理器
inline constexpr char kTabCategories[] = "\xB7\xD6\xC0\xE0";                         // 分类
inline constexpr char kTabBoardCases[] = "\xD6\xF7 Case";                            // 主 Case
inline constexpr char kTabNoPreview[] = "\xCE\xDE\xD4\xA4\xC0\xC0";                  // 无预览
// ***「可在此新建」***
inline constexpr char kPlaceholderRow[] =
    "***\xA1\xB8\xBF\xC9\xD4\xDA\xB4\xCB\xD0\xC2\xBD\xA8\xA1\xB9***";
inline constexpr char kCountedName[] = "%s (%d)";
inline constexpr char kColourSwitches[] = "\xD1\xD5\xC9\xAB\xBF\xAA\xB9\xD8";  // 颜色开关

// The sorting view's title and its mode buttons: 梳理; 记忆, 空间, 状态, 全部.
inline constexpr char kSortTitle[] = "\xCA\xE1\xC0\xED";
inline constexpr const char* kSortModes[4] = {"\xBC\xC7\xD2\xE4", "\xBF\xD5\xBC\xE4",
                                              "\xD7\xB4\xCC\xAC", "\xC8\xAB\xB2\xBF"};

}  // namespace nd::texts
