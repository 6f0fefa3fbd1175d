// The texts of the assessment report as GBK bytes, their UTF-8 reading in
// the comment beside each.
#pragma once

namespace nd::report_text {

inline constexpr char kFace[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";  // 微软雅黑
inline constexpr char kWindowTitle[] = "\xC6\xC0\xB9\xC0 - %s";      // 评估 - %s

// (1) “%s” 的基本情况, (3) 分类/重要性气泡图, (4) 岗哨/重要性气泡图, (4) 难度气泡图,
// (5) 认知气泡图, (6) 资源统计, (7) 关系评估: one headline per page.
inline constexpr const char* kPageTitle[7] = {
    "(1) \xA1\xB0%s\xA1\xB1 \xB5\xC4\xBB\xF9\xB1\xBE\xC7\xE9\xBF\xF6",
    "(3) \xB7\xD6\xC0\xE0/\xD6\xD8\xD2\xAA\xD0\xD4\xC6\xF8\xC5\xDD\xCD\xBC",
    "(4) \xB8\xDA\xC9\xDA/\xD6\xD8\xD2\xAA\xD0\xD4\xC6\xF8\xC5\xDD\xCD\xBC",
    "(4) \xC4\xD1\xB6\xC8\xC6\xF8\xC5\xDD\xCD\xBC",
    "(5) \xC8\xCF\xD6\xAA\xC6\xF8\xC5\xDD\xCD\xBC",
    "(6) \xD7\xCA\xD4\xB4\xCD\xB3\xBC\xC6",
    "(7) \xB9\xD8\xCF\xB5\xC6\xC0\xB9\xC0",
};
// (2) 关键节点的实际重要性
inline constexpr char kKeyNodeTitle[] =
    "(2) \xB9\xD8\xBC\xFC\xBD\xDA\xB5\xE3\xB5\xC4\xCA\xB5\xBC\xCA\xD6\xD8\xD2\xAA\xD0\xD4";

// Page 1 labels of the status bar, by status (good has none).
inline constexpr const char* kStatusShare[4] = {
    "\xB8\xE9\xD6\xC3 %.1f%%",  // 搁置 %.1f%%
    nullptr,
    "\xD1\xCF\xD6\xD8 %.1f%%",  // 严重 %.1f%%
    "\xBE\xAF\xB8\xE6 %.1f%%",  // 警告 %.1f%%
};
inline constexpr char kPeople[] = "\xC9\xE6\xBC\xB0\xC8\xCB\xD4\xB1\xA3\xBA";   // 涉及人员：
inline constexpr char kObjects[] = "\xC9\xE6\xBC\xB0\xCE\xEF\xC6\xB7\xA3\xBA";  // 涉及物品：
inline constexpr char kKeyNodes[] =
    "\xD7\xEE\xB9\xD8\xBC\xFC\xB5\xC4\xBD\xDA\xB5\xE3\xA3\xBA";  // 最关键的节点：
// 在这段记忆中，%d 个关键节点的实际重要性在“重要”以上。
inline constexpr char kKeyNodeCount[] =
    "\xD4\xDA\xD5\xE2\xB6\xCE\xBC\xC7\xD2\xE4\xD6\xD0\xA3\xAC%d \xB8\xF6\xB9\xD8\xBC\xFC\xBD\xDA"
    "\xB5\xE3\xB5\xC4\xCA\xB5\xBC\xCA\xD6\xD8\xD2\xAA\xD0\xD4\xD4\xDA\xA1\xB0\xD6\xD8\xD2\xAA\xA1"
    "\xB1\xD2\xD4\xC9\xCF\xA1\xA3";
// 节点超过 %d 个，本报告只包含前 %d 个。
inline constexpr char kBoundReached[] =
    "\xBD\xDA\xB5\xE3\xB3\xAC\xB9\xFD %d \xB8\xF6\xA3\xAC\xB1\xBE\xB1\xA8\xB8\xE6\xD6\xBB\xB0\xFC"
    "\xBA\xAC\xC7\xB0 %d \xB8\xF6\xA1\xA3";
inline constexpr char kNameJoin[] = "%s, ";
inline constexpr char kNameLast[] = "%s";
inline constexpr char kImportancePair[] = "%.0f / %.1f";

// Bubble chart rows, levels 0..4: name and figure.
inline constexpr const char* kLevelName[5] = {
    "\xC6\xD5\xCD\xA8",  // 普通
    "\xD7\xA2\xD2\xE2",  // 注意
    "\xB9\xD8\xD7\xA2",  // 关注
    "\xD6\xD8\xD2\xAA",  // 重要
    "\xD2\xAA\xC3\xFC",  // 要命
};
inline constexpr const char* kLevelFigure[5] = {"0.0", "1.0", "2.0", "3.0", "4.0+"};
inline constexpr char kBubbleFigure[] = "%.1f";
inline constexpr char kBubbleHover[] = "%s(%.1f)";
inline constexpr char kDate[] = "%d.%d.%d";

// Group labels of pages 2, 4 and 5 in their chart order.
inline constexpr const char* kKindGroup[5] = {
    "\xC8\xCB",          // 人
    "\xCE\xEF",          // 物
    "\xCA\xC2\xBC\xFE",  // 事件
    "\xCE\xDE",          // 无
    "\xC8\xCE\xCE\xF1",  // 任务
};
inline constexpr const char* kDifficultyGroup[3] = {
    "\xBC\xF2\xB5\xA5",                  // 简单
    "\xC0\xA7\xC4\xD1",                  // 困难
    "\xCE\xDE\xB7\xA8\xCD\xEA\xB3\xC9",  // 无法完成
};
inline constexpr const char* kCognitionGroup[3] = {
    "\xCE\xB4\xD6\xAA",  // 未知
    "\xC1\xCB\xBD\xE2",  // 了解
    "\xB4\xE6\xD2\xC9",  // 存疑
};

inline constexpr char kTotal[] = "%lld";

// 没有发现直接关系。
inline constexpr char kNoRelation[] =
    "\xC3\xBB\xD3\xD0\xB7\xA2\xCF\xD6\xD6\xB1\xBD\xD3\xB9\xD8\xCF\xB5\xA1\xA3";
// 探测到 %d 个直接关系。
inline constexpr char kRelationCount[] =
    "\xCC\xBD\xB2\xE2\xB5\xBD %d \xB8\xF6\xD6\xB1\xBD\xD3\xB9\xD8\xCF\xB5\xA1\xA3";
// 它们俩的关系是紧密的
inline constexpr char kBothTight[] =
    "\xCB\xFC\xC3\xC7\xC1\xA9\xB5\xC4\xB9\xD8\xCF\xB5\xCA\xC7\xBD\xF4\xC3\xDC\xB5\xC4";
// "%s" 认为自己与 "%s" 的关系是紧密的
inline constexpr char kOneTight[] =
    "\"%s\" \xC8\xCF\xCE\xAA\xD7\xD4\xBC\xBA\xD3\xEB \"%s\" \xB5\xC4\xB9\xD8\xCF\xB5\xCA\xC7\xBD"
    "\xF4\xC3\xDC\xB5\xC4";

}  // namespace nd::report_text
