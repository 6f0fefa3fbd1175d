#include "board/top_bar.h"

#include "board/main_view.h"

namespace nd {

void top_bar_layout(MainView&) {}
bool top_bar_pointer(MainView&, const gfx::MouseMsg&) {
    return false;
}
void draw_top_bar(const MainView&, gfx::IMAGE*) {}
void top_bar_skin_changed(MainView&) {}
void free_top_bar(MainView&) {}

}  // namespace nd
