// How the top bar looks: its background drawn once per width and skin,
// and the texts of the selected Case's buttons.
#pragma once

#include <string>

#include "board/top_bar.h"
#include "store/records.h"

namespace nd {

// 微软雅黑 14 px for the labels of the Case's buttons.
inline constexpr char kTopBarFace[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";
inline constexpr int kTopBarTextSize = 14;

// The label of a Case button (kind, importance, difficulty, cognition):
// "类型：%s", "重要性：%s", "难度：%s" or "认知度：%s" with the text of the
// menu item that names the Case's value, or that text alone when `named`
// is false (a window too narrow for the names); empty for other buttons.
std::string top_label_text(int button, const CaseRecord& record, bool named);

// Draws the bar's background at `width`: the skin's top-bar colour and the
// separator along its bottom.
void render_top_bar_background(TopBarState* state, int width);

}  // namespace nd
