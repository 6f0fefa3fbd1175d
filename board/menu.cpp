#include "board/menu.h"

#include "board/main_view.h"

namespace nd {

void open_menu_at(MainView&, int, int, int) {}
void open_menu(MainView&, const MenuTarget&) {}
int menu_direct_command(MainView&, const MenuTarget&, int) {
    return -1;
}
void close_menu(MainView& view) {
    view.menu.open = false;
}
bool menu_is_open(const MainView& view) {
    return view.menu.open;
}
bool menu_pointer(MainView&, const gfx::MouseMsg&) {
    return false;
}
void menu_key(MainView&, int) {}
bool menu_animate(MainView&) {
    return false;
}
void draw_menu(const MainView&, gfx::IMAGE*) {}
void menu_skin_changed(MainView&) {}
void free_menu(MainView&) {}

}  // namespace nd
