#include "analysis/report.h"

#include <cstdio>
#include <cstring>

#include "analysis/links.h"
#include "analysis/report_texts.h"
#include "base/gbk.h"
#include "store/tables.h"

namespace nd {

namespace {

ReportMember make_member(const LocationRef& at, const CaseRecord* record) {
    return ReportMember{at, record, record->kind, record->colour, record->importance, 0};
}

int member_index(const Report& r, const LocationRef& at) {
    for (size_t i = 0; i < r.members.size(); ++i)
        if (same_location(r.members[i].at, at)) return int(i);
    return -1;
}

// Depth first in stored link order: a Case reached for the first time is
// appended and its own links are walked before the next link of the Case
// that reached it. The walk keeps its own stack of (member, next link), so a
// long chain cannot exhaust the thread's stack.
void collect_members(Report& r) {
    struct Frame {
        int member;
        int next_link;
    };
    std::vector<Frame> stack{{0, 0}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        const CaseRecord& rec = *r.members[size_t(top.member)].record;
        if (top.next_link >= link_count(rec)) {
            stack.pop_back();
            continue;
        }
        LocationRef at;
        const CaseRecord* target = link_target(rec, top.next_link++, &at);
        if (!target || member_index(r, at) >= 0) continue;
        if (int(r.members.size()) >= kReportMaxMembers) {
            r.bound_reached = true;
            return;
        }
        r.members.push_back(make_member(at, target));
        stack.push_back({int(r.members.size()) - 1, 0});
    }
}

// For every Case N that M links to, N's own link back to M adds N's
// importance x 0.5 when tight and x 0.1 when loose.
int actual_tenths(const ReportMember& m) {
    int tenths = m.importance * 10;
    for (int i = 0; i < link_count(*m.record); ++i) {
        const CaseRecord* other = link_target(*m.record, i);
        if (!other) continue;
        int back = find_link_to(*other, m.at);
        if (back < 0) continue;
        tenths += other->importance * (link_is_tight(*other, back) ? 5 : 1);
    }
    return tenths;
}

void add_resources(Report& r, const CaseRecord& rec) {
    int count = rec.resource_count > kMaxResources ? kMaxResources : rec.resource_count;
    for (int i = 0; i < count; ++i) {
        std::string name = field_text(rec.resource_names[i], sizeof rec.resource_names[i]);
        bool found = false;
        for (ResourceTotal& t : r.resources)
            if (t.name == name) {
                t.total += rec.resource_values[i];
                found = true;
                break;
            }
        if (found) continue;
        if (int(r.resources.size()) < kReportMaxResources)
            r.resources.push_back({name, rec.resource_values[i]});
        else
            r.resources_cut = true;
    }
}

void add_relations(Report& r) {
    const ReportMember& subject = r.members[0];
    const CaseRecord& rec = *subject.record;
    for (int i = 0; i < link_count(rec); ++i) {
        LocationRef at;
        const CaseRecord* other = link_target(rec, i, &at);
        if (!other) continue;
        Relation rel{at, other, link_is_tight(rec, i), BackLink::kNone, Verdict::kNone};
        int back = find_link_to(*other, subject.at);
        if (back >= 0) rel.back = link_is_tight(*other, back) ? BackLink::kTight : BackLink::kLoose;
        bool back_tight = rel.back == BackLink::kTight;
        if (rel.out_tight && back_tight)
            rel.verdict = Verdict::kBoth;
        else if (rel.out_tight)
            rel.verdict = Verdict::kSubjectTight;
        else if (back_tight)
            rel.verdict = Verdict::kOtherTight;
        r.relations.push_back(rel);
    }
}

}  // namespace

bool is_key_node(const ReportMember& m) {
    return m.importance > 2 || m.actual_tenths >= 30;
}

int build_report(const LocationRef& subject, Report& r) {
    r = Report{};
    const CaseRecord* rec = find_case(subject.group, subject.board, subject.slot);
    if (!rec) return kReportNoSubject;
    r.subject = LocationRef{0, subject.group, subject.board, subject.slot};
    r.members.push_back(make_member(r.subject, rec));
    collect_members(r);
    for (size_t i = 0; i < r.members.size(); ++i) {
        ReportMember& m = r.members[i];
        if (m.status < 4) ++r.status_counts[m.status];
        m.actual_tenths = actual_tenths(m);
        if (m.kind == kKindPerson) r.people.push_back(int(i));
        if (m.kind == kKindObject) r.objects.push_back(int(i));
        if (is_key_node(m)) r.key_nodes.push_back(int(i));
        add_resources(r, *m.record);
    }
    add_relations(r);
    return kReportOk;
}

double status_share(const Report& r, int status) {
    if (r.members.empty() || status < 0 || status > 3) return 0;
    return r.status_counts[status] * 100.0 / double(r.members.size());
}

std::string case_title(const CaseRecord& record) {
    return field_text(record.title, sizeof record.title);
}

namespace {

std::string format(const char* pattern, const std::string& a, const std::string& b = {}) {
    std::string out(std::strlen(pattern) + a.size() + b.size(), '\0');
    int n = std::snprintf(out.data(), out.size() + 1, pattern, a.c_str(), b.c_str());
    out.resize(n > 0 ? size_t(n) : 0);
    return out;
}

}  // namespace

std::string report_window_title(const Report& r) {
    if (r.members.empty()) return {};
    return format(report_text::kWindowTitle, case_title(*r.members[0].record));
}

std::string verdict_text(const Report& r, const Relation& rel) {
    std::string subject = case_title(*r.members[0].record), other = case_title(*rel.other);
    switch (rel.verdict) {
        case Verdict::kBoth:
            return report_text::kBothTight;
        case Verdict::kSubjectTight:
            return format(report_text::kOneTight, subject, other);
        case Verdict::kOtherTight:
            return format(report_text::kOneTight, other, subject);
        case Verdict::kNone:
            break;
    }
    return {};
}

}  // namespace nd
