#include "analysis/report_charts.h"

#include <algorithm>
#include <cmath>

#include "analysis/report_texts.h"
#include "store/keys.h"

namespace nd {

namespace {

constexpr uint16_t kKindOrder[5] = {kKindPerson, kKindObject, kKindEvent, kKindNone, kKindTask};

int kind_group(uint16_t kind) {
    for (int g = 0; g < 5; ++g)
        if (kKindOrder[g] == kind) return g;
    return -1;
}

// Stable grouping of `order` by `group_of` into `groups` groups.
template <typename GroupOf>
ChartOrder grouped(const std::vector<int>& order, int groups, const char* const* labels,
                   GroupOf group_of) {
    ChartOrder out;
    for (int g = 0; g < groups; ++g) {
        ChartGroup group{int(out.members.size()), 0, labels[g]};
        for (int m : order)
            if (group_of(m) == g) out.members.push_back(m);
        group.count = int(out.members.size()) - group.first;
        out.groups.push_back(group);
    }
    return out;
}

ChartOrder by_kind(const Report& r) {
    std::vector<int> all(r.members.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = int(i);
    return grouped(all, 5, report_text::kKindGroup,
                   [&](int m) { return kind_group(r.members[size_t(m)].kind); });
}

ChartOrder by_difficulty(const Report& r) {
    return grouped(by_kind(r).members, kDifficultyLevels, report_text::kDifficultyGroup,
                   [&](int m) { return int(r.members[size_t(m)].record->difficulty); });
}

}  // namespace

ChartOrder chart_order(const Report& r, int page) {
    switch (page) {
        case 2:
            return by_kind(r);
        case 3: {
            ChartOrder out;
            out.members = by_kind(r).members;
            std::stable_sort(out.members.begin(), out.members.end(), [&](int a, int b) {
                return key_time_value(r.members[size_t(a)].record->key) <
                       key_time_value(r.members[size_t(b)].record->key);
            });
            out.groups.push_back({0, int(out.members.size()), nullptr});
            return out;
        }
        case 4:
            return by_difficulty(r);
        case 5:
            return grouped(by_difficulty(r).members, kCognitionLevels, report_text::kCognitionGroup,
                           [&](int m) { return int(r.members[size_t(m)].record->cognition); });
        default:
            return {};
    }
}

double chart_step(const Report& r) {
    int top = 0;
    for (const ReportMember& m : r.members) top = std::max(top, m.actual_tenths);
    if (top <= 50) return 60.0;
    return kChartHeight / (top / 10.0 + 1.0);
}

BubblePlace bubble_place(int tenths, double step) {
    int level = tenths / 10, rest = tenths % 10;
    int radius = (tenths + 10) / 2;
    int rise = int(std::lround(level * step + rest * step / 10.0)) + radius;
    return {rise, radius};
}

}  // namespace nd
