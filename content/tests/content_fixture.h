// A workspace with one Case, an editor environment over it, and stand-ins
// for the clipboard and the previews, for the content tests.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "content/editor.h"
#include "store/cases.h"
#include "store/keys.h"
#include "store/load.h"
#include "store/locks.h"
#include "store/paths.h"
#include "store/tests/workspace_fixture.h"

namespace nd::content::testing {

// Previews by image path, without files: a path not listed has no image.
class FakePreviews final : public PreviewSource {
public:
    std::map<std::string, std::pair<int, int>> sizes;  // image path -> preview size
    int loads = 0;
    int load_preview(const std::string& image_path, gfx::IMAGE** out) override {
        ++loads;
        auto it = sizes.find(image_path);
        if (it == sizes.end()) return kPreviewNoImage;
        gfx::IMAGE* im = gfx::new_image(it->second.first, it->second.second);
        for (uint32_t& p : im->pixels) p = 0xFF204060;
        *out = im;
        return kPreviewOk;
    }
};

class FakeClipboard final : public Clipboard {
public:
    std::string text;
    std::vector<uint8_t> picture;
    std::vector<std::string> files;
    int effect = 1;
    std::string written;  // the last text written
    int pictures_written = 0;

    bool has_text() override { return !text.empty(); }
    bool has_picture() override { return !picture.empty(); }
    bool has_files() override { return !files.empty(); }
    bool read_text(std::string& out) override {
        out = text;
        return true;
    }
    bool read_picture(std::vector<uint8_t>& out) override {
        out = picture;
        return true;
    }
    bool read_files(std::vector<std::string>& out, int& e) override {
        out = files;
        e = effect;
        return true;
    }
    bool write_text(const std::string& gbk) override {
        written = gbk;
        return true;
    }
    bool write_picture(const gfx::IMAGE&) override {
        ++pictures_written;
        return true;
    }
};

class ContentTest : public nd::testing::WorkspaceTest {
protected:
    FakePreviews previews;
    FakeClipboard clipboard;
    EditorEnv env;
    CaseRef ref;
    EditorState editor;
    // 50 cells of 8 pixels a line, 10 rows of 18 pixels.
    Metrics metrics{400, 180, 8, 18};

    void SetUp() override {
        WorkspaceTest::SetUp();
        ASSERT_EQ(load_workspace(), kLoadNew);
        {
            // Every test's Case gets a key of its own, so nothing one test
            // leaves for its Case (the remembered caret) reaches the next.
            static uint16_t tests = 0;
            RecordKey key = make_key(kAttrFragment);
            key.serial = ++tests;
            std::lock_guard<std::mutex> hold(StorageLock);
            LocationRef at = create_case("case", key, 0, 0);
            ASSERT_EQ(at.flag, 0);
            ref = CaseRef{0, 0, at.slot, find_case(0, 0, at.slot)->key};
        }
        env.root = root;
        env.temp_dir = dir + "/";
        env.previews = &previews;
        env.clipboard = &clipboard;
    }
    void TearDown() override {
        editor_close(editor);
        WorkspaceTest::TearDown();
    }

    CaseRecord& record() { return *find_case(0, 0, ref.slot); }
    CaseBody& body() { return *find_case_body(0, 0, ref.slot); }
    std::string text() { return std::string(body().text); }

    void set_text(const std::string& t) {
        std::memset(body().text, 0, sizeof(CaseBody));
        std::memcpy(body().text, t.data(), t.size());
    }
    // Fills slot `slot` as an attachment of `kind`; images get a preview
    // of the given size from the fake source.
    void set_slot(int slot, int kind, const std::string& name, const std::string& path, int w = 0,
                  int h = 0) {
        Attachment& a = record().attachments[slot];
        a.kind = kind;
        std::snprintf(a.name, sizeof a.name, "%s", name.c_str());
        std::snprintf(a.path, sizeof a.path, "%s", path.c_str());
        if (kind == kAttachImage) previews.sizes[stored_to_disk(root, path)] = {w, h};
    }
    void open(const std::string& t) {
        set_text(t);
        ASSERT_EQ(editor_open(editor, env, ref, metrics), 0);
    }
    void keys(std::initializer_list<int> codes, unsigned mods = 0) {
        for (int c : codes) editor_key(editor, c, mods);
    }
    void type(const std::string& s) {
        for (unsigned char c : s) editor_key(editor, c);
    }
    // Places the caret by offset through the keyboard: Ctrl+Home, then Right.
    void caret_to(int offset) {
        editor_key(editor, kKeyHome, kModCtrl);
        for (int guard = 0; editor.caret.offset < offset && guard < 70000; ++guard)
            editor_key(editor, kKeyRight);
    }
    // Runs editor_poll until no picture is pending (bounded).
    void finish_imports() {
        for (int i = 0; i < 2000 && !editor.pending.empty(); ++i) {
            editor_poll(editor);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_TRUE(editor.pending.empty()) << "pictures still being stored";
    }
};

}  // namespace nd::content::testing
