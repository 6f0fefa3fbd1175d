#include "app/app_state.h"

namespace nd {

App& the_app() {
    static App app;
    return app;
}

}  // namespace nd
