#include "board/commands.h"

#include "board/main_view.h"

namespace nd {

void run_command(MainView&, int, const MenuTarget&) {}

}  // namespace nd
