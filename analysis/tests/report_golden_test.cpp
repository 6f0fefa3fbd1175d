// Golden pictures of the report's seven pages for one scene, drawn with the
// real fonts and icons. The pictures are compared pixel for pixel: the
// machines that build and test run the same Debian fonts and FreeType, so
// any difference is a change in what the report draws. A mismatch writes the
// drawn page beside the test binary for a look.
//
// After a deliberate change, regenerate them with
//   ND_UPDATE_GOLDEN=1 build/analysis/tests/nd_analysis_golden_tests
// and look at analysis/tests/golden/*.png before committing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "analysis/report.h"
#include "analysis/report_draw.h"
#include "analysis/report_layout.h"
#include "analysis/tests/scene.h"
#include "skins/pictures.h"

namespace nd {
namespace {

using testing::Scene;

struct ImageDelete {
    void operator()(gfx::IMAGE* i) const { gfx::delete_image(i); }
};
using ImagePtr = std::unique_ptr<gfx::IMAGE, ImageDelete>;

// A review with the people, objects, tasks and events around it.
void make_scene(Scene& s) {
    CaseRecord& review = s.add("\xCF\xEE\xC4\xBF\xC6\xC0\xC9\xF3", kKindEvent, kColourWarning, 2);
    CaseRecord& zhang = s.add("\xD5\xC5\xB9\xA4", kKindPerson, kColourGood, 1);
    CaseRecord& li = s.add("\xC0\xEE\xBE\xAD\xC0\xED", kKindPerson, kColourSevere, 3);
    CaseRecord& server =
        s.add("\xB2\xE2\xCA\xD4\xB7\xFE\xCE\xF1\xC6\xF7", kKindObject, kColourShelved, 0);
    CaseRecord& fix = s.add("\xD0\xDE\xB8\xB4\xB5\xC7\xC2\xBC", kKindTask, kColourSevere, 4);
    CaseRecord& window = s.add("\xC9\xCF\xCF\xDF\xB4\xB0\xBF\xDA", kKindEvent, kColourGood, 2);
    CaseRecord& note = s.add("\xB1\xB8\xD7\xA2", kKindNone, kColourShelved, 0);
    // Creation dates spread over a year for page 3.
    const uint8_t months[] = {3, 1, 6, 2, 9, 11, 12};
    CaseRecord* all[] = {&review, &zhang, &li, &server, &fix, &window, &note};
    for (int i = 0; i < 7; ++i) {
        all[i]->key.month = months[i];
        all[i]->key.day = uint8_t(5 + i * 3);
        all[i]->difficulty = uint16_t(i % 3);
        all[i]->cognition = uint16_t((i + 1) % 3);
    }
    s.link_both(review, zhang, true);
    s.link_both(review, li, false);
    s.link(review, server);
    s.link_both(review, fix, true);
    s.link(review, window, true);
    s.link(window, review, false);
    s.link(fix, zhang, true);
    s.link(zhang, fix, false);
    s.link(window, note);
    s.resource(review, "\xB9\xA4\xCA\xB1", 8);
    s.resource(review, "\xD4\xA4\xCB\xE3", 1200);
    s.resource(fix, "\xB9\xA4\xCA\xB1", 5);
    s.resource(li, "\xD4\xA4\xCB\xE3", -300);
    s.resource(server, "\xC4\xDA\xB4\xE6", 64);
}

std::string golden_path(const std::string& name) {
    return std::string(ND_GOLDEN_DIR) + "/" + name + ".png";
}

// Alpha is set opaque so the files show as they look on screen; drawn
// primitives leave alpha 0 in the canvas.
void make_opaque(gfx::IMAGE* image) {
    for (uint32_t& p : image->pixels) p |= 0xFF000000u;
}

void expect_golden(gfx::IMAGE* drawn, const std::string& name) {
    make_opaque(drawn);
    const char* update = std::getenv("ND_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        ASSERT_EQ(gfx::save_png(drawn, golden_path(name).c_str()), gfx::kOk) << name;
        return;
    }
    ImagePtr golden(gfx::new_image(1, 1));
    ASSERT_EQ(gfx::getimage(golden.get(), golden_path(name).c_str()), gfx::kOk)
        << "missing " << golden_path(name);
    ASSERT_EQ(golden->width, drawn->width) << name;
    ASSERT_EQ(golden->height, drawn->height) << name;
    int differing = 0;
    for (size_t i = 0; i < drawn->pixels.size(); ++i)
        differing += (golden->pixels[i] & 0xFFFFFF) != (drawn->pixels[i] & 0xFFFFFF);
    if (differing) (void)gfx::save_png(drawn, (name + ".actual.png").c_str());
    EXPECT_EQ(differing, 0) << name << ": see " << name << ".actual.png";
}

class ReportGolden : public ::testing::Test {
protected:
    Scene scene;
    Report report;
    CaseIcons icons;
    void SetUp() override {
        install_skin_pictures();
        load_case_icons(icons);
        make_scene(scene);
        ASSERT_EQ(build_report(LocationRef{0, 0, 0, 0}, report), kReportOk);
    }
    void TearDown() override { free_case_icons(icons); }

    ImagePtr draw(int page, int skin, ReportHover hover = {}, int scroll = 0, int height = 0) {
        PageLayout layout;
        layout_report_page(report, page, 800, layout);
        if (height == 0) height = layout.height;
        ImagePtr canvas(gfx::new_image(820, height + 20));
        draw_report_page(report, layout, ReportView{10, 10, 800, height, scroll, skin}, hover,
                         icons, canvas.get());
        return canvas;
    }
};

TEST_F(ReportGolden, SevenPages) {
    for (int page = 1; page <= kReportPages; ++page) {
        ImagePtr canvas = draw(page, 0);
        expect_golden(canvas.get(), "report_page_" + std::to_string(page));
    }
}

TEST_F(ReportGolden, LightSkinHoverAndScroll) {
    // Page 1 in the light skin with the pointer on the second name: the
    // status bar takes the light shades and the name its dotted underline.
    PageLayout p1;
    layout_report_page(report, 1, 800, p1);
    ImagePtr light = draw(1, 3, ReportHover{1, -1});
    expect_golden(light.get(), "report_page_1_white_hover");
    // Page 2 with the pointer on a bubble, scrolled by 40 pixels in a view
    // 300 pixels tall: the bubble is marked and its box stands beside it.
    PageLayout p2;
    layout_report_page(report, 2, 800, p2);
    ASSERT_GE(p2.bubbles.size(), 2u);
    ImagePtr hovered = draw(2, 0, ReportHover{-1, 1}, 40, 300);
    expect_golden(hovered.get(), "report_page_2_hover_scrolled");
}

}  // namespace
}  // namespace nd
