#include "board/zoom.h"

#include "board/main_view.h"

namespace nd {

bool zoom_wheel(MainView&, int) {
    return false;
}

bool zoom_animate(MainView&) {
    return false;
}

}  // namespace nd
