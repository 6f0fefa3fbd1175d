#include "ui/panel.h"

#include <algorithm>

namespace nd::ui {

namespace {

int index_of(const PanelList& list, int id) {
    for (int i = 0; i < list.count; ++i) {
        if (list.panels[i].id == id) return i;
    }
    return -1;
}

}  // namespace

int panel_add(PanelList* list, const Panel& panel) {
    if (panel.id <= 0) return kPanelBadId;
    if (index_of(*list, panel.id) >= 0) return kPanelIdTaken;
    if (list->count >= kMaxPanels) return kPanelListFull;
    list->panels[list->count++] = panel;
    return kPanelAdded;
}

void panel_install_hidden(PanelList* list, int id, void* state, const PanelHooks* hooks) {
    if (Panel* panel = panel_find(list, id)) {
        panel->visible = false;
        return;
    }
    Panel panel;
    panel.id = id;
    panel.state = state;
    panel.hooks = hooks;
    static_cast<void>(panel_add(list, panel));
}

bool panel_remove(PanelList* list, int id) {
    const int i = index_of(*list, id);
    if (i < 0) return false;
    std::move(list->panels.begin() + i + 1, list->panels.begin() + list->count,
              list->panels.begin() + i);
    list->panels[--list->count] = Panel{};
    return true;
}

Panel* panel_find(PanelList* list, int id) {
    const int i = index_of(*list, id);
    return i < 0 ? nullptr : &list->panels[i];
}

Panel* panel_install(PanelList* list, int id, void* state, const PanelHooks* hooks) {
    if (Panel* found = panel_find(list, id)) return found;
    Panel panel;
    panel.id = id;
    panel.state = state;
    panel.hooks = hooks;
    return panel_add(list, panel) == kPanelAdded ? panel_find(list, id) : nullptr;
}

const Panel* panel_find(const PanelList& list, int id) {
    const int i = index_of(list, id);
    return i < 0 ? nullptr : &list.panels[i];
}

void panel_bring_to_front(PanelList* list, int id) {
    const int i = index_of(*list, id);
    if (i <= 0) return;
    std::rotate(list->panels.begin(), list->panels.begin() + i, list->panels.begin() + i + 1);
}

int panel_hit(const PanelList& list, int x, int y) {
    for (int i = 0; i < list.count; ++i) {
        const Panel& p = list.panels[i];
        if (p.visible && p.rect.strictly_contains(x, y)) return p.id;
    }
    return 0;
}

void draw_panels(const PanelList& list, gfx::IMAGE* canvas) {
    for (int i = list.count - 1; i >= 0; --i) {
        const Panel& p = list.panels[i];
        if (p.visible && p.hooks && p.hooks->draw) p.hooks->draw(p, canvas);
    }
}

void panels_skin_changed(PanelList* list, int skin) {
    for (int i = 0; i < list->count; ++i) {
        Panel& p = list->panels[i];
        if (p.hooks && p.hooks->skin_changed) p.hooks->skin_changed(p, skin);
    }
}

}  // namespace nd::ui
