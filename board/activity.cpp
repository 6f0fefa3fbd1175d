#include "board/activity.h"

#include "board/main_view.h"
#include "board/options.h"

namespace nd {

void request_activity(MainView& view, int activity) {
    App* app = view.app;
    if (!app) return;
    app->AnimationId = activity;
    app->AnimationFps = activity_fps(activity, option_on(kOptionHighPerformance));
}

void end_activity(MainView& view) {
    if (view.app) view.app->AnimationId = -1;
}

}  // namespace nd
