// The hit codes: the object under the pointer as one signed number. Panels
// use their ids (session/view_state.h), cards 100 + their index.
#pragma once

namespace nd {

inline constexpr int kHitBackground = -1;
inline constexpr int kHitCaption = -2;
inline constexpr int kHitTopBar = -5;
inline constexpr int kHitGrip = -7;
inline constexpr int kHitFirstCard = 100;
// No object: what a press that starts nothing leaves as the pressed object.
inline constexpr int kHitNone = -1000;

constexpr bool hit_is_card(int hit) {
    return hit >= kHitFirstCard;
}
constexpr bool hit_is_panel(int hit) {
    return hit >= 1 && hit <= 9;
}
constexpr int card_of_hit(int hit) {
    return hit - kHitFirstCard;
}

}  // namespace nd
