// Cases put on a workspace's first whiteboard before the program starts,
// for the end-to-end tests that act on cards.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tables.h"

namespace nd::e2e {

// Title-form Cases titled "e2e" on the first whiteboard of the workspace at
// `root`, at the given board places, written as the program would, with
// their point files and, when `content` (GBK) is given, that content. The
// second, fourth, ... Case takes `every_other_form` instead of the title
// form. Returns their keys and, in `board`, the whiteboard's.
inline std::vector<RecordKey> add_title_cases(const std::string& root,
                                              const std::vector<std::pair<int, int>>& places,
                                              RecordKey* board = nullptr,
                                              const std::string& content = {},
                                              int every_other_form = kFormTitle) {
    std::vector<RecordKey> keys;
    clear_tables();
    set_workspace_root(root);
    EXPECT_GE(load_workspace(), 0);
    for (const auto& [x, y] : places) {
        RecordKey key = make_key(kAttrFragment);
        draw_fresh_serial(key);
        LocationRef at;
        {
            std::lock_guard<std::mutex> hold(StorageLock);
            at = create_case("e2e", key, 0, 0);
        }
        EXPECT_EQ(at.flag, 0);
        CaseRecord* record = find_case(0, 0, at.slot);
        record->form = keys.size() % 2 ? every_other_form : kFormTitle;
        record->x = x;
        record->y = y;
        if (!content.empty()) {
            std::memcpy(find_case_body(0, 0, at.slot)->text, content.c_str(), content.size() + 1);
        }
        EXPECT_EQ(save_case(content.empty() ? 0 : 2, 0, 0, at.slot), 0);
        CasePointFile points;
        EXPECT_EQ(load_points(*record, points), 0);
        keys.push_back(record->key);
    }
    if (board) *board = find_board(0, 0)->key;
    clear_tables();
    return keys;
}

}  // namespace nd::e2e
