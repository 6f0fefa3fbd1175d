#include "app/start/draw.h"

#include <gtest/gtest.h>

#include "app/start/layout.h"
#include "skins/pictures.h"

namespace nd::start {
namespace {

constexpr gfx::Color kFailureRgb = 0xE0605A;

int count_rgb(const gfx::IMAGE* image, const Rect& r, gfx::Color rgb, int tolerance) {
    int count = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
            gfx::Color p = image->pixels[static_cast<size_t>(y) * image->width + x];
            bool near = true;
            for (int shift : {0, 8, 16}) {
                near = near &&
                       std::abs(int((p >> shift) & 0xFF) - int((rgb >> shift) & 0xFF)) <= tolerance;
            }
            count += near;
        }
    }
    return count;
}

class Draw : public ::testing::Test {
protected:
    void SetUp() override {
        install_skin_pictures();
        load_start_pictures(&pictures_, 0);
        canvas_ = gfx::new_image(layout::kWidth, layout::kHeight);
        view_.names = &names_;
        view_.rows = &rows_;
        view_.state = &state_;
    }
    void TearDown() override {
        release_start_pictures(&pictures_);
        gfx::delete_image(canvas_);
    }
    void draw() { draw_start_page(canvas_, pictures_, view_, 0); }

    StartPictures pictures_;
    gfx::IMAGE* canvas_ = nullptr;
    std::vector<std::string> names_ = {"Team", "Other"};
    std::vector<RowFlags> rows_ = {{true, false}, {false, false}};
    StartState state_;
    StartView view_;
};

TEST_F(Draw, TheInUseMessageShowsOnlyForAnInUseSelectionWhileIdle) {
    const Rect message{layout::kMessageX, layout::kMessageY, 300, 22};
    struct Case {
        int selected;
        Mode mode;
        bool shown;
    } cases[] = {
        {0, Mode::kList, true},
        {1, Mode::kList, false},
        {-1, Mode::kList, false},
        {0, Mode::kLoading, false},
    };
    for (const Case& c : cases) {
        state_.list.selected = c.selected;
        state_.mode = c.mode;
        draw();
        EXPECT_EQ(count_rgb(canvas_, message, kFailureRgb, 24) > 20, c.shown)
            << "selected " << c.selected;
    }
}

TEST_F(Draw, ALongNameStopsBeforeTheRowMarks) {
    names_[1] = std::string(120, 'W');
    draw();
    Rect row = row_rect(1);
    Rect beyond{row.x + layout::kRowIconDx - 8, row.y, row.w - layout::kRowIconDx + 8, row.h};
    Rect start{row.x + layout::kRowTextDx, row.y, 200, row.h};
    EXPECT_GT(count_rgb(canvas_, start, layout::kRowTextColor, 24), 50);
    EXPECT_EQ(count_rgb(canvas_, beyond, layout::kRowTextColor, 24), 0);
    // Nothing of the name spills out of the list to the right.
    Rect right_of_list{layout::kList.x + layout::kList.w, row.y, 80, row.h};
    EXPECT_EQ(count_rgb(canvas_, right_of_list, layout::kRowTextColor, 24), 0);
}

}  // namespace
}  // namespace nd::start
