#include "board/testing/scene.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <mutex>

#include "base/gbk.h"
#include "settings/settings.h"
#include "store/boards.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd::testing {

namespace {

bool add_case(int group, int board, const SceneCard& c) {
    RecordKey key = make_key(kAttrFragment);
    draw_fresh_serial(key);
    const LocationRef at = create_case(c.title, key, group, board);
    if (at.flag != 0) {
        ADD_FAILURE() << "create_case refused: " << at.flag;
        return false;
    }
    CaseRecord* r = find_case(group, board, at.slot);
    r->x = c.x;
    r->y = c.y;
    r->colour = static_cast<uint8_t>(c.colour);
    r->form = static_cast<uint16_t>(c.form);
    r->kind = static_cast<uint16_t>(c.kind);
    r->pinned = c.pinned ? 1 : 0;
    r->byte140 = 2;
    for (const MapMark& m : c.marks) r->map_marks[r->map_mark_count++] = m;
    if (c.content) {
        CaseBody* body = find_case_body(group, board, at.slot);
        std::memset(body, 0, sizeof *body);
        std::strncpy(body->text, c.content, sizeof body->text - 1);
    }
    return save_case(2, group, board, at.slot) == 0;
}

}  // namespace

std::vector<SceneCard> full_board(int count) {
    std::vector<SceneCard> cards;
    for (int i = 0; i < count; ++i) {
        SceneCard c;
        c.title = i % 2 ? "\xB2\xE2\xCA\xD4\xBF\xA8\xC6\xAC" : "Case card";  // 测试卡片
        c.x = 40 + (i % 8) * 190;
        c.y = 130 + (i / 8) * 75;
        c.colour = i % 4;
        c.kind = i % 5 == 0 ? kKindPerson : kKindNone;
        cards.push_back(c);
    }
    return cards;
}

std::vector<SceneLink> links_from_first(int links) {
    std::vector<SceneLink> out;
    for (int i = 1; i <= links; ++i) out.push_back({0, i, i % 3 == 0});
    return out;
}

bool make_scene(const std::string& wk, const std::vector<SceneCard>& cards,
                const std::vector<SceneLink>& links, int extra_boards, int more_cards) {
    std::string root;
    if (!workspace_root(wk, root)) {
        ADD_FAILURE() << "not a .wk path: " << wk;
        return false;
    }
    WorkspaceSettings ws;
    std::string reason;
    if (load_workspace_settings(ws, wk, &reason) < 0) {
        ADD_FAILURE() << reason;
        return false;
    }
    close_workspace_settings(ws);
    clear_tables();
    Tables.read_only = false;
    set_workspace_root(root);
    if (load_workspace() != kLoadNew) {
        ADD_FAILURE() << "the workspace was not new";
        return false;
    }
    std::lock_guard<std::mutex> hold(StorageLock);
    for (const SceneCard& c : cards) {
        if (!add_case(0, 0, c)) return false;
    }
    for (const SceneLink& l : links) {
        CaseRecord* a = find_case(0, 0, l.from);
        CaseRecord* b = find_case(0, 0, l.to);
        const MapMark* mark = l.mark >= 0 ? &b->map_marks[l.mark] : nullptr;
        if (!add_link(*a, b->key, {0, 0, 0, l.to}, l.tight, mark) ||
            !add_link(*b, a->key, {0, 0, 0, l.from}, l.tight, mark)) {
            ADD_FAILURE() << "too many links on card " << l.from << " or " << l.to;
            return false;
        }
        if (save_case(0, 0, 0, l.from) != 0 || save_case(0, 0, 0, l.to) != 0) return false;
    }
    for (int b = 1; b <= extra_boards; ++b) {
        char name[16];
        std::snprintf(name, sizeof name, "B%d", b);
        const LocationRef at = add_board(name, nullptr, 0, -1);
        if (at.flag != 0) {
            ADD_FAILURE() << "add_board refused: " << at.flag;
            return false;
        }
        for (int k = 0; k < more_cards; ++k) {
            SceneCard c;
            c.title = "more";
            c.x = 40 * k;
            c.y = 40 * k;
            if (!add_case(0, at.board, c)) return false;
        }
    }
    return true;
}

}  // namespace nd::testing
