#include "session/app.h"

namespace nd {

App& the_app() {
    static App app;
    return app;
}

}  // namespace nd
