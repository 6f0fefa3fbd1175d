// The assessment report's figures: a subject Case and every Case reachable
// from it through links (its "memory"), with their status counts, actual
// importance, key nodes, resource totals and the subject's relations. All of
// it is computed once from the loaded tables when the report is opened; the
// pages (report_layout.h) and nodrel-tool assess read only this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/records.h"

namespace nd {

// The member, people, objects and key-node lists hold at most this many
// entries; resource totals at most this many names.
inline constexpr int kReportMaxMembers = 100;
inline constexpr int kReportMaxResources = 100;

struct ReportMember {
    LocationRef at;
    const CaseRecord* record;
    uint16_t kind;        // CaseKind
    uint8_t status;       // colour class as stored (0..3 expected)
    uint16_t importance;  // 0..4 for L1..L5
    // Actual importance in tenths: importance x 10 plus, for each Case this
    // member links to that links back, 5 x its importance when the back link
    // is tight and 1 x when loose. Tenths keep 2.9999999 from ever arising.
    int actual_tenths;
    double actual() const { return actual_tenths / 10.0; }
};

struct ResourceTotal {
    std::string name;  // GBK, as stored (at most 15 bytes)
    int64_t total;
};

enum class Verdict : uint8_t {
    kNone,          // neither link tight: no text
    kBoth,          // "它们俩的关系是紧密的"
    kSubjectTight,  // the subject holds its link to the other as tight
    kOtherTight,    // the other holds its link back as tight
};

enum class BackLink : uint8_t { kNone, kLoose, kTight };

// One link of the subject's own list whose target is loaded.
struct Relation {
    LocationRef at;
    const CaseRecord* other;
    bool out_tight;
    BackLink back;
    Verdict verdict;
};

struct Report {
    LocationRef subject{-1, -1, -1, -1};
    std::vector<ReportMember> members;  // the subject first, then depth first
    // Set when more Cases were reachable than the lists hold; the members
    // are then the first 100 in depth-first order.
    bool bound_reached = false;
    int status_counts[4] = {};
    std::vector<int> people;     // member indexes, kind person
    std::vector<int> objects;    // member indexes, kind object
    std::vector<int> key_nodes;  // member indexes, in member order
    std::vector<ResourceTotal> resources;
    bool resources_cut = false;  // a new name was dropped at the 100-name bound
    std::vector<Relation> relations;
};

inline constexpr int kReportOk = 0;
inline constexpr int kReportNoSubject = -1;  // no loaded Case at that location

// Computes the whole report for the Case at `subject`.
[[nodiscard]] int build_report(const LocationRef& subject, Report& report);

// The share of a status in percent of all members (0 with no members).
double status_share(const Report& report, int status);

// A member is a key node when its importance is above L3 or its actual
// importance is at least 3.
bool is_key_node(const ReportMember& member);

// The report window's caption, "评估 - %s" with the subject's title (GBK).
std::string report_window_title(const Report& report);

// The verdict text of a relation (GBK), "" for none.
std::string verdict_text(const Report& report, const Relation& relation);

// The title of a Case as GBK text.
std::string case_title(const CaseRecord& record);

}  // namespace nd
