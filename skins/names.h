// The name tables of the skinned pictures: for each group of pictures a
// fixed table of zero-terminated 32-byte names indexed [skin][item], made at
// compile time, and the item numbers as enumerators named after the roles.
// Names are never built at run time. A row may name another skin's picture
// where that skin has none of its own; each such table says which.
//
// Pictures that every skin shares have bare names ("STATUS_OK") and need no
// table.
#pragma once

#include <algorithm>
#include <cstddef>

#include "skins/skin.h"

namespace nd {

template <size_t N>
struct NameTable {
    char names[kSkinCount][N][32];

    constexpr const char* at(int skin, int item) const { return names[skin][item]; }
    static constexpr size_t size() { return N; }
};

namespace names_detail {

// Skin prefix, underscore, role; a name longer than 31 bytes stops the build.
template <size_t N>
consteval NameTable<N> make(const char* const (&roles)[N], const int (&row_skin)[kSkinCount]) {
    NameTable<N> table{};
    for (int s = 0; s < kSkinCount; ++s)
        for (size_t i = 0; i < N; ++i) {
            char* out = table.names[s][i];
            size_t n = 0;
            auto put = [&](char c) {
                if (n >= 31) throw "picture name longer than 31 bytes";
                out[n++] = c;
            };
            for (const char* p = kSkinPrefix[row_skin[s]]; *p; ++p) put(*p);
            put('_');
            for (const char* p = roles[i]; *p; ++p) put(*p);
            out[n] = 0;
        }
    return table;
}

inline constexpr int kOwnSkin[kSkinCount] = {0, 1, 2, 3};

}  // namespace names_detail

// clang-format off
namespace pic {

enum About : int {
    ABOUT_MARGIN_0, ABOUT_MARGIN_1, ABOUT_MARGIN_2, ABOUT_MARGIN_3, ABOUT_TITLE, kAboutCount
};
enum Act : int {
    ACT_LINE, kActCount
};
enum Arrow : int {
    ARROW_0, ARROW_1, ARROW_2, kArrowCount
};
enum Ask : int {
    ASK_ADD_0, ASK_ADD_1, ASK_ADJUST_0, ASK_ADJUST_1, ASK_ATTR_0, ASK_ATTR_1, ASK_NOTE_0,
    ASK_NOTE_1, ASK_SEND_0, ASK_SEND_1, ASK_SEND_2, kAskCount
};
enum Assess : int {
    ASSESS_BASE_0, ASSESS_BASE_1, ASSESS_BUBBLE_0, ASSESS_BUBBLE_1, ASSESS_COG_0, ASSESS_COG_1,
    ASSESS_ESS_0, ASSESS_ESS_1, ASSESS_LINK_0, ASSESS_LINK_1, ASSESS_RES_0, ASSESS_RES_1,
    ASSESS_SBB_0, ASSESS_SBB_1, ASSESS_TARGET_0, ASSESS_TARGET_1, kAssessCount
};
enum Automenu : int {
    AUTOMENU_MARGIN_0, AUTOMENU_MARGIN_1, AUTOMENU_MARGIN_2, AUTOMENU_MARGIN_3, kAutomenuCount
};
enum Case : int {
    CASE_AUTO, CASE_AUTO_0, CASE_AUTO_1, CASE_AUTO_CEL_0, CASE_AUTO_CEL_1, CASE_GREEN_0,
    CASE_GREEN_1, CASE_GREEN_2, CASE_GREEN_3, CASE_MAR_00, CASE_MAR_01, CASE_MAR_02, CASE_MAR_03,
    CASE_NULL_0, CASE_NULL_1, CASE_NULL_2, CASE_NULL_3, CASE_PULL, CASE_RED_0, CASE_RED_1,
    CASE_RED_2, CASE_RED_3, CASE_RESDEC_0, CASE_RESDEC_1, CASE_RESINC_0, CASE_RESINC_1,
    CASE_TAB_BASE_0, CASE_TAB_BASE_1, CASE_TAB_COMP_0, CASE_TAB_COMP_1, CASE_TAB_HUMAN_0,
    CASE_TAB_HUMAN_1, CASE_TAB_LINK_0, CASE_TAB_LINK_1, CASE_TAB_NOTE_0, CASE_TAB_NOTE_1,
    CASE_TAB_TARGET_0, CASE_TAB_TARGET_1, CASE_VIEWASSLITE_0, CASE_VIEWASSLITE_1, CASE_VIEWLINK_0,
    CASE_VIEWLINK_1, CASE_VIEWLOAD_0, CASE_VIEWLOAD_1, CASE_VIEWPICK_0, CASE_VIEWPICK_1,
    CASE_YELLOW_0, CASE_YELLOW_1, CASE_YELLOW_2, CASE_YELLOW_3, CASE_Z1, CASE_Z2, kCaseCount
};
enum Left : int {
    LEFT_BAR_0, LEFT_BAR_1, LEFT_BOARD_0, LEFT_BOARD_1, LEFT_POINT, LEFT_PREVIEW_0, LEFT_PREVIEW_1,
    LEFT_SW_GREEN_0, LEFT_SW_GREEN_1, LEFT_SW_NULL_0, LEFT_SW_NULL_1, LEFT_SW_RED_0, LEFT_SW_RED_1,
    LEFT_SW_YELLOW_0, LEFT_SW_YELLOW_1, LEFT_TAB_BOARD_0, LEFT_TAB_BOARD_1, LEFT_TAB_CASE_0,
    LEFT_TAB_CASE_1, LEFT_TAB_INFO_0, LEFT_TAB_INFO_1, LEFT_TAB_LINE, LEFT_U_POINT, kLeftCount
};
enum List : int {
    LIST_NO_0, LIST_NO_1, LIST_PEER_0, LIST_PEER_1, LIST_PULL, kListCount
};
enum Newbox : int {
    NEWBOX_BOARD, NEWBOX_CASE, NEWBOX_ID, NEWBOX_LOCK, NEWBOX_NO_0, NEWBOX_NO_1, NEWBOX_PROBLEM,
    NEWBOX_PWDRESET, NEWBOX_PWDSET, NEWBOX_RESIZE, NEWBOX_SENTRY, NEWBOX_YES_0, NEWBOX_YES_1,
    kNewboxCount
};
enum Option : int {
    OPTION_CLOSE, OPTION_OPEN, kOptionCount
};
enum Renbox : int {
    RENBOX_GEN, RENBOX_NO_0, RENBOX_NO_1, RENBOX_YES_0, RENBOX_YES_1, kRenboxCount
};
enum Reply : int {
    REPLY_REPORT_0, REPLY_REPORT_1, REPLY_TABLE_0, REPLY_TABLE_1, kReplyCount
};
enum Resize : int {
    RESIZE, kResizeCount
};
enum Right : int {
    RIGHT_BAR_0, RIGHT_BAR_1, RIGHT_BOARD_2, RIGHT_BOARD_3, RIGHT_POINT, RIGHT_SELECT,
    RIGHT_SENTRY_POINT, RIGHT_TAB_PROBLEM_0, RIGHT_TAB_PROBLEM_1, RIGHT_TAB_SENTRY_0,
    RIGHT_TAB_SENTRY_1, kRightCount
};
enum Ruler : int {
    RULER_MIDDLE, kRulerCount
};
enum Search : int {
    SEARCH_0, SEARCH_1, kSearchCount
};
enum Slot : int {
    SLOT_00, SLOT_01, SLOT_ALLSTART_0, SLOT_ALLSTART_1, SLOT_MERGE_0, SLOT_MERGE_00, SLOT_MERGE_01,
    SLOT_MERGE_02, SLOT_MERGE_03, SLOT_MERGE_1, SLOT_WAIT_0, SLOT_WAIT_1, SLOT_WAIT_2, kSlotCount
};
enum Top : int {
    TOP_CLOSE_0, TOP_CLOSE_1, TOP_CLOSE_2, TOP_LOCK_0, TOP_LOCK_1, TOP_LOCK_2, TOP_MAX_0, TOP_MAX_1,
    TOP_MAX_2, TOP_MAX_3, TOP_MAX_4, TOP_MAX_5, TOP_MIN_0, TOP_MIN_1, TOP_MIN_2, TOP_OP_0, TOP_OP_1,
    TOP_OP_2, TOP_P2P_0, TOP_P2P_1, TOP_REWIN_0, TOP_REWIN_1, TOP_REWIN_2, TOP_TAB_LINE_0,
    TOP_TAB_LINE_1, TOP_THEME_0, TOP_THEME_1, TOP_THEME_2, TOP_THEME_3, kTopCount
};
enum Tool : int {
    T_ADD_BOARD_0, T_ADD_BOARD_1, T_ADD_CASE_0, T_ADD_CASE_1, T_ADD_INFO_0, T_ADD_INFO_1,
    T_ADD_OBJECT_0, T_ADD_OBJECT_1, T_ADD_PROBLEM_0, T_ADD_PROBLEM_1, T_ADD_SENTRY_0,
    T_ADD_SENTRY_1, T_ADD_TASK_0, T_ADD_TASK_1, T_ADD_WHAT_0, T_ADD_WHAT_1, T_ADD_WHO_0,
    T_ADD_WHO_1, T_AI_0, T_AI_1, T_ASSESS_0, T_ASSESS_1, T_ASSESS_2, T_ATTR_0, T_ATTR_1, T_COG_0,
    T_COG_1, T_ESS_0, T_ESS_1, T_FIND_0, T_FIND_1, T_LINK_0, T_LINK_1, T_LINK_2, T_LIST_0, T_LIST_1,
    T_MARK_0, T_MARK_1, T_MARK_2, T_NEW_RECT, T_PASSWD_0, T_PASSWD_1, T_PEER_0, T_PEER_1, T_PICK_0,
    T_PICK_1, T_PICK_2, T_PIN_0, T_PIN_1, T_PIN_2, T_PROBLEM_0, T_PROBLEM_1, T_SHOW_0, T_SHOW_1,
    T_SHOW_2, T_STATUS_0, T_STATUS_1, T_TARGET_0, T_TARGET_1, T_TIMELINE_0, T_TIMELINE_1, T_TRIM_0,
    T_TRIM_1, T_UNMARK_0, T_UNMARK_1, T_UNMARK_2, T_ZOOM_BAR, T_ZOOM_IN_0, T_ZOOM_IN_1, T_ZOOM_MOVE,
    T_ZOOM_OUT_0, T_ZOOM_OUT_1, kToolCount
};
enum Update : int {
    UPDATE_MAX_0, UPDATE_MAX_1, UPDATE_MIN_0, UPDATE_MIN_1, UPDATE_NOTE, UPDATE_NO_0, UPDATE_NO_1,
    UPDATE_YES_0, UPDATE_YES_1, kUpdateCount
};
enum AboutLogo : int {
    ABOUT_LOGO, ABOUT_LOGO_SMALL, kAboutLogoCount
};
enum MenuIcon : int {
    AUTOMENU_ADD, AUTOMENU_ASSESS, AUTOMENU_DEL, AUTOMENU_DEL2, AUTOMENU_LINK, AUTOMENU_LOCK,
    AUTOMENU_NEW, AUTOMENU_NEW2, AUTOMENU_PICK, AUTOMENU_PIN, AUTOMENU_UNPIN, kMenuIconCount
};
enum Map : int {
    MAP_MARK, MAP_POS, MAP_UNMARK, kMapCount
};
enum ThemeTile : int {
    NEWBOX_THEME_0, NEWBOX_THEME_1, NEWBOX_THEME_2, NEWBOX_THEME_3, kThemeTileCount
};
enum ToolRemove : int {
    T_ASSESS_REM, T_LINK_REM, T_MARK_REM, T_PICK_REM, T_PIN_REM, T_SHOW_REM, T_UNMARK_REM,
    kToolRemoveCount
};
enum Peer : int {
    PEER_OK_0, PEER_OK_1, PEER_OK_2, kPeerCount
};
enum RightLine2 : int {
    RIGHT_LINE2, kRightLine2Count
};
enum ToolPlate : int {
    T_0, T_1, kToolPlateCount
};
}  // namespace pic

inline constexpr const char* kAboutRoles[pic::kAboutCount] = {
    "ABOUT_MARGIN_0", "ABOUT_MARGIN_1", "ABOUT_MARGIN_2", "ABOUT_MARGIN_3", "ABOUT_TITLE"};
inline constexpr NameTable<pic::kAboutCount> kAboutNames =
    names_detail::make(kAboutRoles, names_detail::kOwnSkin);

inline constexpr const char* kActRoles[pic::kActCount] = {
    "ACT_LINE"};
inline constexpr NameTable<pic::kActCount> kActNames =
    names_detail::make(kActRoles, names_detail::kOwnSkin);

inline constexpr const char* kArrowRoles[pic::kArrowCount] = {
    "ARROW_0", "ARROW_1", "ARROW_2"};
inline constexpr NameTable<pic::kArrowCount> kArrowNames =
    names_detail::make(kArrowRoles, names_detail::kOwnSkin);

inline constexpr const char* kAskRoles[pic::kAskCount] = {
    "ASK_ADD_0", "ASK_ADD_1", "ASK_ADJUST_0", "ASK_ADJUST_1", "ASK_ATTR_0", "ASK_ATTR_1",
    "ASK_NOTE_0", "ASK_NOTE_1", "ASK_SEND_0", "ASK_SEND_1", "ASK_SEND_2"};
inline constexpr NameTable<pic::kAskCount> kAskNames =
    names_detail::make(kAskRoles, names_detail::kOwnSkin);

inline constexpr const char* kAssessRoles[pic::kAssessCount] = {
    "ASSESS_BASE_0", "ASSESS_BASE_1", "ASSESS_BUBBLE_0", "ASSESS_BUBBLE_1", "ASSESS_COG_0",
    "ASSESS_COG_1", "ASSESS_ESS_0", "ASSESS_ESS_1", "ASSESS_LINK_0", "ASSESS_LINK_1",
    "ASSESS_RES_0", "ASSESS_RES_1", "ASSESS_SBB_0", "ASSESS_SBB_1", "ASSESS_TARGET_0",
    "ASSESS_TARGET_1"};
inline constexpr NameTable<pic::kAssessCount> kAssessNames =
    names_detail::make(kAssessRoles, names_detail::kOwnSkin);

inline constexpr const char* kAutomenuRoles[pic::kAutomenuCount] = {
    "AUTOMENU_MARGIN_0", "AUTOMENU_MARGIN_1", "AUTOMENU_MARGIN_2", "AUTOMENU_MARGIN_3"};
inline constexpr NameTable<pic::kAutomenuCount> kAutomenuNames =
    names_detail::make(kAutomenuRoles, names_detail::kOwnSkin);

inline constexpr const char* kCaseRoles[pic::kCaseCount] = {
    "CASE_AUTO", "CASE_AUTO_0", "CASE_AUTO_1", "CASE_AUTO_CEL_0", "CASE_AUTO_CEL_1", "CASE_GREEN_0",
    "CASE_GREEN_1", "CASE_GREEN_2", "CASE_GREEN_3", "CASE_MAR_00", "CASE_MAR_01", "CASE_MAR_02",
    "CASE_MAR_03", "CASE_NULL_0", "CASE_NULL_1", "CASE_NULL_2", "CASE_NULL_3", "CASE_PULL",
    "CASE_RED_0", "CASE_RED_1", "CASE_RED_2", "CASE_RED_3", "CASE_RESDEC_0", "CASE_RESDEC_1",
    "CASE_RESINC_0", "CASE_RESINC_1", "CASE_TAB_BASE_0", "CASE_TAB_BASE_1", "CASE_TAB_COMP_0",
    "CASE_TAB_COMP_1", "CASE_TAB_HUMAN_0", "CASE_TAB_HUMAN_1", "CASE_TAB_LINK_0", "CASE_TAB_LINK_1",
    "CASE_TAB_NOTE_0", "CASE_TAB_NOTE_1", "CASE_TAB_TARGET_0", "CASE_TAB_TARGET_1",
    "CASE_VIEWASSLITE_0", "CASE_VIEWASSLITE_1", "CASE_VIEWLINK_0", "CASE_VIEWLINK_1",
    "CASE_VIEWLOAD_0", "CASE_VIEWLOAD_1", "CASE_VIEWPICK_0", "CASE_VIEWPICK_1", "CASE_YELLOW_0",
    "CASE_YELLOW_1", "CASE_YELLOW_2", "CASE_YELLOW_3", "CASE_Z1", "CASE_Z2"};
inline constexpr NameTable<pic::kCaseCount> kCaseNames =
    names_detail::make(kCaseRoles, names_detail::kOwnSkin);

inline constexpr const char* kLeftRoles[pic::kLeftCount] = {
    "LEFT_BAR_0", "LEFT_BAR_1", "LEFT_BOARD_0", "LEFT_BOARD_1", "LEFT_POINT", "LEFT_PREVIEW_0",
    "LEFT_PREVIEW_1", "LEFT_SW_GREEN_0", "LEFT_SW_GREEN_1", "LEFT_SW_NULL_0", "LEFT_SW_NULL_1",
    "LEFT_SW_RED_0", "LEFT_SW_RED_1", "LEFT_SW_YELLOW_0", "LEFT_SW_YELLOW_1", "LEFT_TAB_BOARD_0",
    "LEFT_TAB_BOARD_1", "LEFT_TAB_CASE_0", "LEFT_TAB_CASE_1", "LEFT_TAB_INFO_0", "LEFT_TAB_INFO_1",
    "LEFT_TAB_LINE", "LEFT_U_POINT"};
inline constexpr NameTable<pic::kLeftCount> kLeftNames =
    names_detail::make(kLeftRoles, names_detail::kOwnSkin);

inline constexpr const char* kListRoles[pic::kListCount] = {
    "LIST_NO_0", "LIST_NO_1", "LIST_PEER_0", "LIST_PEER_1", "LIST_PULL"};
inline constexpr NameTable<pic::kListCount> kListNames =
    names_detail::make(kListRoles, names_detail::kOwnSkin);

inline constexpr const char* kNewboxRoles[pic::kNewboxCount] = {
    "NEWBOX_BOARD", "NEWBOX_CASE", "NEWBOX_ID", "NEWBOX_LOCK", "NEWBOX_NO_0", "NEWBOX_NO_1",
    "NEWBOX_PROBLEM", "NEWBOX_PWDRESET", "NEWBOX_PWDSET", "NEWBOX_RESIZE", "NEWBOX_SENTRY",
    "NEWBOX_YES_0", "NEWBOX_YES_1"};
inline constexpr NameTable<pic::kNewboxCount> kNewboxNames =
    names_detail::make(kNewboxRoles, names_detail::kOwnSkin);

inline constexpr const char* kOptionRoles[pic::kOptionCount] = {
    "OPTION_CLOSE", "OPTION_OPEN"};
inline constexpr NameTable<pic::kOptionCount> kOptionNames =
    names_detail::make(kOptionRoles, names_detail::kOwnSkin);

inline constexpr const char* kRenboxRoles[pic::kRenboxCount] = {
    "RENBOX_GEN", "RENBOX_NO_0", "RENBOX_NO_1", "RENBOX_YES_0", "RENBOX_YES_1"};
inline constexpr NameTable<pic::kRenboxCount> kRenboxNames =
    names_detail::make(kRenboxRoles, names_detail::kOwnSkin);

inline constexpr const char* kReplyRoles[pic::kReplyCount] = {
    "REPLY_REPORT_0", "REPLY_REPORT_1", "REPLY_TABLE_0", "REPLY_TABLE_1"};
inline constexpr NameTable<pic::kReplyCount> kReplyNames =
    names_detail::make(kReplyRoles, names_detail::kOwnSkin);

inline constexpr const char* kResizeRoles[pic::kResizeCount] = {
    "RESIZE"};
inline constexpr NameTable<pic::kResizeCount> kResizeNames =
    names_detail::make(kResizeRoles, names_detail::kOwnSkin);

inline constexpr const char* kRightRoles[pic::kRightCount] = {
    "RIGHT_BAR_0", "RIGHT_BAR_1", "RIGHT_BOARD_2", "RIGHT_BOARD_3", "RIGHT_POINT", "RIGHT_SELECT",
    "RIGHT_SENTRY_POINT", "RIGHT_TAB_PROBLEM_0", "RIGHT_TAB_PROBLEM_1", "RIGHT_TAB_SENTRY_0",
    "RIGHT_TAB_SENTRY_1"};
inline constexpr NameTable<pic::kRightCount> kRightNames =
    names_detail::make(kRightRoles, names_detail::kOwnSkin);

inline constexpr const char* kRulerRoles[pic::kRulerCount] = {
    "RULER_MIDDLE"};
inline constexpr NameTable<pic::kRulerCount> kRulerNames =
    names_detail::make(kRulerRoles, names_detail::kOwnSkin);

inline constexpr const char* kSearchRoles[pic::kSearchCount] = {
    "SEARCH_0", "SEARCH_1"};
inline constexpr NameTable<pic::kSearchCount> kSearchNames =
    names_detail::make(kSearchRoles, names_detail::kOwnSkin);

inline constexpr const char* kSlotRoles[pic::kSlotCount] = {
    "SLOT_00", "SLOT_01", "SLOT_ALLSTART_0", "SLOT_ALLSTART_1", "SLOT_MERGE_0", "SLOT_MERGE_00",
    "SLOT_MERGE_01", "SLOT_MERGE_02", "SLOT_MERGE_03", "SLOT_MERGE_1", "SLOT_WAIT_0", "SLOT_WAIT_1",
    "SLOT_WAIT_2"};
inline constexpr NameTable<pic::kSlotCount> kSlotNames =
    names_detail::make(kSlotRoles, names_detail::kOwnSkin);

inline constexpr const char* kTopRoles[pic::kTopCount] = {
    "TOP_CLOSE_0", "TOP_CLOSE_1", "TOP_CLOSE_2", "TOP_LOCK_0", "TOP_LOCK_1", "TOP_LOCK_2",
    "TOP_MAX_0", "TOP_MAX_1", "TOP_MAX_2", "TOP_MAX_3", "TOP_MAX_4", "TOP_MAX_5", "TOP_MIN_0",
    "TOP_MIN_1", "TOP_MIN_2", "TOP_OP_0", "TOP_OP_1", "TOP_OP_2", "TOP_P2P_0", "TOP_P2P_1",
    "TOP_REWIN_0", "TOP_REWIN_1", "TOP_REWIN_2", "TOP_TAB_LINE_0", "TOP_TAB_LINE_1", "TOP_THEME_0",
    "TOP_THEME_1", "TOP_THEME_2", "TOP_THEME_3"};
inline constexpr NameTable<pic::kTopCount> kTopNames =
    names_detail::make(kTopRoles, names_detail::kOwnSkin);

inline constexpr const char* kToolRoles[pic::kToolCount] = {
    "T_ADD_BOARD_0", "T_ADD_BOARD_1", "T_ADD_CASE_0", "T_ADD_CASE_1", "T_ADD_INFO_0",
    "T_ADD_INFO_1", "T_ADD_OBJECT_0", "T_ADD_OBJECT_1", "T_ADD_PROBLEM_0", "T_ADD_PROBLEM_1",
    "T_ADD_SENTRY_0", "T_ADD_SENTRY_1", "T_ADD_TASK_0", "T_ADD_TASK_1", "T_ADD_WHAT_0",
    "T_ADD_WHAT_1", "T_ADD_WHO_0", "T_ADD_WHO_1", "T_AI_0", "T_AI_1", "T_ASSESS_0", "T_ASSESS_1",
    "T_ASSESS_2", "T_ATTR_0", "T_ATTR_1", "T_COG_0", "T_COG_1", "T_ESS_0", "T_ESS_1", "T_FIND_0",
    "T_FIND_1", "T_LINK_0", "T_LINK_1", "T_LINK_2", "T_LIST_0", "T_LIST_1", "T_MARK_0", "T_MARK_1",
    "T_MARK_2", "T_NEW_RECT", "T_PASSWD_0", "T_PASSWD_1", "T_PEER_0", "T_PEER_1", "T_PICK_0",
    "T_PICK_1", "T_PICK_2", "T_PIN_0", "T_PIN_1", "T_PIN_2", "T_PROBLEM_0", "T_PROBLEM_1",
    "T_SHOW_0", "T_SHOW_1", "T_SHOW_2", "T_STATUS_0", "T_STATUS_1", "T_TARGET_0", "T_TARGET_1",
    "T_TIMELINE_0", "T_TIMELINE_1", "T_TRIM_0", "T_TRIM_1", "T_UNMARK_0", "T_UNMARK_1",
    "T_UNMARK_2", "T_ZOOM_BAR", "T_ZOOM_IN_0", "T_ZOOM_IN_1", "T_ZOOM_MOVE", "T_ZOOM_OUT_0",
    "T_ZOOM_OUT_1"};
inline constexpr NameTable<pic::kToolCount> kToolNames =
    names_detail::make(kToolRoles, names_detail::kOwnSkin);

inline constexpr const char* kUpdateRoles[pic::kUpdateCount] = {
    "UPDATE_MAX_0", "UPDATE_MAX_1", "UPDATE_MIN_0", "UPDATE_MIN_1", "UPDATE_NOTE", "UPDATE_NO_0",
    "UPDATE_NO_1", "UPDATE_YES_0", "UPDATE_YES_1"};
inline constexpr NameTable<pic::kUpdateCount> kUpdateNames =
    names_detail::make(kUpdateRoles, names_detail::kOwnSkin);

// Only some skins have these; CAKE has no logo of its own and shows the BLACK one.
inline constexpr int kAboutLogoRowSkin[kSkinCount] = {0, 0, 2, 3};
inline constexpr const char* kAboutLogoRoles[pic::kAboutLogoCount] = {
    "ABOUT_LOGO", "ABOUT_LOGO_SMALL"};
inline constexpr NameTable<pic::kAboutLogoCount> kAboutLogoNames =
    names_detail::make(kAboutLogoRoles, kAboutLogoRowSkin);

// Only some skins have these; CAKE shows the BLACK menu icons.
inline constexpr int kMenuIconRowSkin[kSkinCount] = {0, 0, 2, 3};
inline constexpr const char* kMenuIconRoles[pic::kMenuIconCount] = {
    "AUTOMENU_ADD", "AUTOMENU_ASSESS", "AUTOMENU_DEL", "AUTOMENU_DEL2", "AUTOMENU_LINK",
    "AUTOMENU_LOCK", "AUTOMENU_NEW", "AUTOMENU_NEW2", "AUTOMENU_PICK", "AUTOMENU_PIN",
    "AUTOMENU_UNPIN"};
inline constexpr NameTable<pic::kMenuIconCount> kMenuIconNames =
    names_detail::make(kMenuIconRoles, kMenuIconRowSkin);

// Only some skins have these; STARS shows the BLACK map marks.
inline constexpr int kMapRowSkin[kSkinCount] = {0, 1, 0, 3};
inline constexpr const char* kMapRoles[pic::kMapCount] = {
    "MAP_MARK", "MAP_POS", "MAP_UNMARK"};
inline constexpr NameTable<pic::kMapCount> kMapNames =
    names_detail::make(kMapRoles, kMapRowSkin);

// Only some skins have these; the dark skins show the WHITE tiles.
inline constexpr int kThemeTileRowSkin[kSkinCount] = {3, 1, 3, 3};
inline constexpr const char* kThemeTileRoles[pic::kThemeTileCount] = {
    "NEWBOX_THEME_0", "NEWBOX_THEME_1", "NEWBOX_THEME_2", "NEWBOX_THEME_3"};
inline constexpr NameTable<pic::kThemeTileCount> kThemeTileNames =
    names_detail::make(kThemeTileRoles, kThemeTileRowSkin);

// Only some skins have these; the dark skins show the WHITE removal buttons.
inline constexpr int kToolRemoveRowSkin[kSkinCount] = {3, 1, 3, 3};
inline constexpr const char* kToolRemoveRoles[pic::kToolRemoveCount] = {
    "T_ASSESS_REM", "T_LINK_REM", "T_MARK_REM", "T_PICK_REM", "T_PIN_REM", "T_SHOW_REM",
    "T_UNMARK_REM"};
inline constexpr NameTable<pic::kToolRemoveCount> kToolRemoveNames =
    names_detail::make(kToolRemoveRoles, kToolRemoveRowSkin);

// Only some skins have these; every skin shows the BLACK picture.
inline constexpr int kPeerRowSkin[kSkinCount] = {0, 0, 0, 0};
inline constexpr const char* kPeerRoles[pic::kPeerCount] = {
    "PEER_OK_0", "PEER_OK_1", "PEER_OK_2"};
inline constexpr NameTable<pic::kPeerCount> kPeerNames =
    names_detail::make(kPeerRoles, kPeerRowSkin);

// Only some skins have these; BLACK shows the STARS line.
inline constexpr int kRightLine2RowSkin[kSkinCount] = {2, 1, 2, 3};
inline constexpr const char* kRightLine2Roles[pic::kRightLine2Count] = {
    "RIGHT_LINE2"};
inline constexpr NameTable<pic::kRightLine2Count> kRightLine2Names =
    names_detail::make(kRightLine2Roles, kRightLine2RowSkin);

// Only some skins have these; BLACK shows the STARS plates.
inline constexpr int kToolPlateRowSkin[kSkinCount] = {2, 1, 2, 3};
inline constexpr const char* kToolPlateRoles[pic::kToolPlateCount] = {
    "T_0", "T_1"};
inline constexpr NameTable<pic::kToolPlateCount> kToolPlateNames =
    names_detail::make(kToolPlateRoles, kToolPlateRowSkin);

}  // namespace nd
// clang-format on

namespace nd {

namespace names_detail {

constexpr size_t largest_table() {
    return std::max({kAboutNames.size(),      kActNames.size(),        kArrowNames.size(),
                     kAskNames.size(),        kAssessNames.size(),     kAutomenuNames.size(),
                     kCaseNames.size(),       kLeftNames.size(),       kListNames.size(),
                     kNewboxNames.size(),     kOptionNames.size(),     kRenboxNames.size(),
                     kReplyNames.size(),      kResizeNames.size(),     kRightNames.size(),
                     kRulerNames.size(),      kSearchNames.size(),     kSlotNames.size(),
                     kTopNames.size(),        kToolNames.size(),       kUpdateNames.size(),
                     kAboutLogoNames.size(),  kMenuIconNames.size(),   kMapNames.size(),
                     kThemeTileNames.size(),  kToolRemoveNames.size(), kPeerNames.size(),
                     kRightLine2Names.size(), kToolPlateNames.size()});
}

}  // namespace names_detail

// The kept pictures hold a row of the largest table, and no more than that.
static_assert(names_detail::largest_table() == kSkinPictureRoom);

// Reloads an element's pictures from its table when the skin has changed.
template <size_t N>
[[nodiscard]] int reload_on_change(SkinPictures* pictures, const NameTable<N>& table) {
    static_assert(N <= kSkinPictureRoom, "the table's row does not fit SkinPictures");
    return reload_on_change(pictures, table.names[current_skin()], int(N));
}

}  // namespace nd
