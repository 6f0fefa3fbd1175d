// nodrel-tool assess: the assessment report's figures for one Case, as
// readable text or as one JSON object. Reads only.
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstring>
#include <string>

#include "analysis/report.h"
#include "base/gbk.h"
#include "store/tables.h"
#include "tools/nodrel-tool/command.h"
#include "tools/nodrel-tool/read_workspace.h"

namespace {

using Json = nlohmann::ordered_json;

const char* const kStatusName[4] = {"搁置", "良好", "严重", "警告"};

std::string utf8_title(const nd::CaseRecord& c) {
    return nd::gbk_to_utf8(nd::case_title(c));
}

const char* status_name(uint8_t status) {
    return status < 4 ? kStatusName[status] : "?";
}

const char* back_name(nd::BackLink back) {
    return back == nd::BackLink::kTight ? "tight" : back == nd::BackLink::kLoose ? "loose" : "none";
}

Json member_ids(const nd::Report& r, const std::vector<int>& members) {
    Json out = Json::array();
    for (int m : members) out.push_back(tool::location_text(r.members[size_t(m)].at));
    return out;
}

void print_json(const nd::Report& r) {
    Json members = Json::array();
    for (const nd::ReportMember& m : r.members)
        members.push_back({{"case", tool::location_text(m.at)},
                           {"title", utf8_title(*m.record)},
                           {"kind", m.kind},
                           {"status", m.status},
                           {"importance", m.importance},
                           {"actual", m.actual()}});
    Json resources = Json::array();
    for (const nd::ResourceTotal& t : r.resources)
        resources.push_back({{"name", nd::gbk_to_utf8(t.name)}, {"total", t.total}});
    Json relations = Json::array();
    for (const nd::Relation& rel : r.relations)
        relations.push_back({{"case", tool::location_text(rel.at)},
                             {"out", rel.out_tight ? "tight" : "loose"},
                             {"back", back_name(rel.back)},
                             {"verdict", nd::gbk_to_utf8(nd::verdict_text(r, rel))}});
    Json report = {{"subject", tool::location_text(r.subject)},
                   {"members", members},
                   {"status_counts", r.status_counts},
                   {"key_nodes", member_ids(r, r.key_nodes)},
                   {"people", member_ids(r, r.people)},
                   {"objects", member_ids(r, r.objects)},
                   {"resources", resources},
                   {"relations", relations}};
    std::printf("%s\n", report.dump(-1, ' ', false, Json::error_handler_t::replace).c_str());
}

std::string names(const nd::Report& r, const std::vector<int>& members) {
    std::string out;
    for (int m : members) {
        if (!out.empty()) out += ", ";
        out += utf8_title(*r.members[size_t(m)].record);
    }
    return out.empty() ? "-" : out;
}

void print_text(const nd::Report& r) {
    std::printf("subject %s \"%s\"\n", tool::location_text(r.subject).c_str(),
                utf8_title(*r.members[0].record).c_str());
    std::printf("members %zu%s\n", r.members.size(),
                r.bound_reached ? " (more are linked: the report holds the first 100)" : "");
    for (const nd::ReportMember& m : r.members)
        std::printf("  %-10s L%d actual %.1f %s%s \"%s\"\n", tool::location_text(m.at).c_str(),
                    m.importance + 1, m.actual(), status_name(m.status),
                    nd::is_key_node(m) ? " key" : "", utf8_title(*m.record).c_str());
    std::printf("status");
    for (int s = 0; s < 4; ++s)
        std::printf(" %s %d (%.1f%%)%s", kStatusName[s], r.status_counts[s], nd::status_share(r, s),
                    s < 3 ? "," : "\n");
    std::printf("people: %s\n", names(r, r.people).c_str());
    std::printf("objects: %s\n", names(r, r.objects).c_str());
    std::printf("key nodes: %s\n", names(r, r.key_nodes).c_str());
    std::printf("resources:");
    for (const nd::ResourceTotal& t : r.resources)
        std::printf(" %s %lld;", nd::gbk_to_utf8(t.name).c_str(), static_cast<long long>(t.total));
    std::printf("%s\n", r.resources.empty() ? " -" : "");
    std::printf("relations %zu\n", r.relations.size());
    for (const nd::Relation& rel : r.relations)
        std::printf("  %-10s out %s, back %s \"%s\" %s\n", tool::location_text(rel.at).c_str(),
                    rel.out_tight ? "tight" : "loose", back_name(rel.back),
                    utf8_title(*rel.other).c_str(),
                    nd::gbk_to_utf8(nd::verdict_text(r, rel)).c_str());
}

int run_assess(int argc, char** argv) {
    const bool json = argc == 4 && !std::strcmp(argv[3], "--json");
    if (argc != 3 && !json) {
        std::fprintf(stderr, "usage: nodrel-tool assess PATH.wk G.B.S [--json]\n");
        return 2;
    }
    nd::LocationRef subject;
    if (!tool::parse_location(argv[2], 3, subject)) {
        std::fprintf(stderr, "nodrel-tool assess: '%s' is not a Case (G.B.S)\n", argv[2]);
        return 2;
    }
    if (int status = tool::load_read_only("assess", argv[1])) return status;
    nd::Report report;
    if (nd::build_report(subject, report) != nd::kReportOk) {
        std::fprintf(stderr, "nodrel-tool assess: the workspace has no Case %s\n", argv[2]);
        return 2;
    }
    if (json)
        print_json(report);
    else
        print_text(report);
    return 0;
}

const tool::Registration assess_command({"assess", "assess PATH.wk G.B.S [--json]", run_assess});

}  // namespace
