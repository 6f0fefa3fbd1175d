// The layer rule: every `#include "…"` of the tree goes to the including
// folder itself or to a folder its row of the table in docs/architecture.md
// names. The table is read from the document, so the rule people read and
// the rule the build checks are one text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace nd {
namespace {

namespace fs = std::filesystem;

// Folder -> the folders it may include.
using Rules = std::map<std::string, std::set<std::string>>;

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string unquote(std::string cell) {
    std::string out;
    for (char c : cell) {
        if (c != '`' && c != ' ') out += c;
    }
    return out;
}

// The rows between the two markers: "| `folder` | `a`, `b` |", "—" for none.
Rules parse_rules(const std::string& document) {
    Rules rules;
    size_t begin = document.find("<!-- layers: begin -->");
    size_t end = document.find("<!-- layers: end -->");
    if (begin == std::string::npos || end == std::string::npos) return rules;
    std::istringstream lines(document.substr(begin, end - begin));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("| `", 0) != 0) continue;
        size_t bar = line.find('|', 1);
        std::string folder = unquote(line.substr(1, bar - 1));
        std::set<std::string>& allowed = rules[folder];
        std::istringstream cells(line.substr(bar + 1, line.rfind('|') - bar - 1));
        std::string cell;
        while (std::getline(cells, cell, ',')) {
            cell = unquote(cell);
            if (!cell.empty() && cell != "—") allowed.insert(cell);
        }
    }
    return rules;
}

// The table folder `path` belongs to: the longest row that is `path` or a
// folder above it; "" for none.
std::string folder_of(const Rules& rules, const std::string& path) {
    std::string best;
    for (const auto& [folder, allowed] : rules) {
        bool inside = path == folder || path.rfind(folder + "/", 0) == 0;
        if (inside && folder.size() > best.size()) best = folder;
    }
    return best;
}

bool is_source(const fs::path& path) {
    const std::string ext = path.extension().string();
    return ext == ".h" || ext == ".cpp" || ext == ".c" || ext == ".inc";
}

// Folders at the top that hold no sources of the program: build trees, the
// program directory of `make run`, documents and build scripts.
bool skipped_top(const std::string& name) {
    return name.empty() || name[0] == '.' || name.rfind("build", 0) == 0 || name == "run" ||
           name == "out" || name == "docs" || name == "cmake";
}

// Every problem of the tree under `root`, one line each.
std::vector<std::string> check_tree(const fs::path& root, const Rules& rules) {
    std::vector<std::string> problems;
    static const std::regex kInclude(R"re(^\s*#\s*include\s*"([^"]+)")re");
    for (const fs::directory_entry& top : fs::directory_iterator(root)) {
        if (!top.is_directory() || skipped_top(top.path().filename().string())) continue;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(top.path())) {
            if (!entry.is_regular_file() || !is_source(entry.path())) continue;
            const std::string file = fs::relative(entry.path(), root).generic_string();
            const std::string from =
                folder_of(rules, fs::path(file).parent_path().generic_string());
            if (from.empty()) {
                problems.push_back(file + ": its folder has no row in the layer table");
                continue;
            }
            std::istringstream lines(read_file(entry.path()));
            std::string line;
            for (int number = 1; std::getline(lines, line); ++number) {
                std::smatch m;
                if (!std::regex_search(line, m, kInclude)) continue;
                const std::string target = m[1];
                // A bare name is a file beside the source or one the build
                // generates; only paths from the top of the tree name layers.
                if (target.find('/') == std::string::npos) continue;
                const std::string to = folder_of(rules, target);
                const std::string where = file + ":" + std::to_string(number) + ": ";
                if (to.empty()) {
                    problems.push_back(where + "\"" + target + "\" is in no folder of the table");
                } else if (to != from && rules.at(from).count(to) == 0) {
                    problems.push_back(where + from + " may not include " + to + " (\"" + target +
                                       "\")");
                }
            }
        }
    }
    return problems;
}

// A folder that, through the rows, may include itself again.
std::string first_cycle(const Rules& rules) {
    std::map<std::string, int> state;  // 0 unseen, 1 on the path, 2 done
    std::string found;
    std::function<void(const std::string&, std::string)> visit = [&](const std::string& folder,
                                                                     std::string path) {
        if (!found.empty() || state[folder] == 2) return;
        path += (path.empty() ? "" : " -> ") + folder;
        if (state[folder] == 1) {
            found = path;
            return;
        }
        state[folder] = 1;
        auto row = rules.find(folder);
        if (row != rules.end()) {
            for (const std::string& next : row->second) visit(next, path);
        }
        state[folder] = 2;
    };
    for (const auto& [folder, allowed] : rules) visit(folder, "");
    return found;
}

const Rules& tree_rules() {
    static const Rules rules =
        parse_rules(read_file(fs::path(ND_SOURCE_DIR) / "docs" / "architecture.md"));
    return rules;
}

TEST(Layers, EveryIncludeOfTheTreeIsAllowed) {
    ASSERT_GE(tree_rules().size(), 10u) << "the layer table was not found";
    std::vector<std::string> problems = check_tree(ND_SOURCE_DIR, tree_rules());
    std::string all;
    for (const std::string& p : problems) all += p + "\n";
    EXPECT_TRUE(problems.empty()) << all;
}

TEST(Layers, TheRulesPointOneWay) {
    EXPECT_EQ(first_cycle(tree_rules()), "");
    for (const auto& [folder, allowed] : tree_rules()) {
        for (const std::string& to : allowed) {
            EXPECT_TRUE(tree_rules().count(to))
                << folder << " names " << to << ", which has no row";
        }
    }
}

// The checker itself, on a small tree made for it.
TEST(Layers, TheCheckerFindsWhatBreaksTheRule) {
    const Rules rules = parse_rules(
        "<!-- layers: begin -->\n"
        "| folder | may include |\n|---|---|\n"
        "| `low` | — |\n| `low/sub` | `low` |\n| `high` | `low`, `low/sub` |\n"
        "<!-- layers: end -->\n");
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(first_cycle(rules), "");

    const fs::path root = fs::temp_directory_path() / ("nd_layers_" + std::to_string(getpid()));
    fs::remove_all(root);
    auto put = [&](const std::string& name, const std::string& text) {
        fs::create_directories((root / name).parent_path());
        std::ofstream(root / name) << text;
    };
    put("low/a.h", "#include <vector>\n#include \"low/b.h\"\n");
    put("low/tests/a_test.cpp", "#include \"low/a.h\"\n#include \"generated.inc\"\n");
    put("low/sub/s.cpp", "#include \"low/a.h\"\n");
    put("high/h.cpp", "#include \"low/sub/s.h\"\n  #  include \"low/a.h\"\n");
    put("low/bad.cpp", "int x;\n#include \"high/h.h\"\n");
    put("low/stray.cpp", "#include \"nowhere/x.h\"\n");
    put("low/sub/up.cpp", "#include \"high/h.h\"\n");
    put("lost/x.cpp", "\n");
    put("build-x/ignored.cpp", "#include \"high/h.h\"\n");
    std::vector<std::string> problems = check_tree(root, rules);
    std::sort(problems.begin(), problems.end());
    const std::vector<std::string> expected = {
        "lost/x.cpp: its folder has no row in the layer table",
        "low/bad.cpp:2: low may not include high (\"high/h.h\")",
        "low/stray.cpp:1: \"nowhere/x.h\" is in no folder of the table",
        "low/sub/up.cpp:1: low/sub may not include high (\"high/h.h\")",
    };
    EXPECT_EQ(problems, expected);
    fs::remove_all(root);

    Rules circle = rules;
    circle["low"].insert("high");
    EXPECT_EQ(first_cycle(circle), "high -> low -> high");
}

}  // namespace
}  // namespace nd
