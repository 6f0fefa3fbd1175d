#include "board/about_page.h"

#include "board/main_view.h"

namespace nd {

void install_about_page(MainView&) {}
void toggle_about_page(MainView&) {}

}  // namespace nd
