// The Case window: opening and closing, the panel's hooks, the frame step
// (paste answers, stored pictures, link titles, messages, blink) and the
// drawing of its frame, tabs and content tab.
#include "content/case_window.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "base/gbk.h"
#include "content/case_window_state.h"
#include "content/draw.h"
#include "content/open.h"
#include "content/resources.h"
#include "content/save.h"
#include "gfx/window/key_map.h"
#include "gfx/window/window.h"
#include "session/menu_objects.h"
#include "session/requests.h"
#include "skins/palette.h"
#include "skins/skin.h"
#include "store/keys.h"
#include "store/locks.h"
#include "store/tables.h"
#include "ui/keys.h"
#include "weblink/address.h"
#include "weblink/fetcher.h"

namespace nd::content {

namespace detail {

CaseWindow& window() {
    static CaseWindow w;
    return w;
}

gfx::Rect close_button(const gfx::Rect& r) {
    return {r.right() - kCloseSize - 5, r.y + 5, kCloseSize, kCloseSize};
}

gfx::Rect tab_rect(const gfx::Rect& r, int tab) {
    return {r.x + kTabLeft + tab * kTabWidth, r.y + kCaptionHeight, kTabWidth, kTabHeight};
}

gfx::Rect body_rect(const CaseWindow& w) {
    const gfx::Rect& r = w.rect;
    const int message = w.message.empty() ? 0 : kMessageHeight;
    return {r.x + kBodyInset, r.y + kBodyTop, r.w - 2 * kBodyInset,
            r.h - kBodyTop - kBodyInset - message};
}

CaseRecord* shown_record(const CaseWindow& w) {
    if (!w.open) return nullptr;
    CaseRecord* record = find_case(w.ref.where.group, w.ref.where.board, w.ref.where.slot);
    return record && same_item(record->key, w.ref.key) ? record : nullptr;
}

}  // namespace detail

using namespace detail;

namespace {

constexpr char kYaHei[] = "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA";  // 微软雅黑
constexpr int kTitleFont = 15;
constexpr size_t kTitleBytesShown = 96;  // of a long title, on whole characters
constexpr int kRowSpacing = 4;     // added to the editor font's height
constexpr int kWheelRows = 3;      // rows a wheel notch scrolls
constexpr int kMessageMs = 6000;   // how long a message stays
constexpr gfx::Color kMessageColour = 0xFFA80000;
constexpr int kExitWaitMs = 5000;  // for pictures being stored when the program ends
constexpr int kExitPollMs = 10;
const char* const kTabNames[4] = {
    "\xD0\xC5\xCF\xA2",  // 信息
    "\xB9\xD8\xCF\xB5",  // 关系
    "\xD7\xCA\xD4\xB4",  // 资源
    "\xC4\xDA\xC8\xDD",  // 内容
};
constexpr char kNoCase[] = "\xCE\xB4\xBB\xBA\xB4\xE6 case";  // 未缓存 case

std::string g_root;
std::string g_temp_dir;

uint64_t now_ms() {
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void show_message(CaseWindow& w, const std::string& gbk) {
    w.message = gbk;
    w.message_until = now_ms() + kMessageMs;
    view_state().redraw = true;
}

content::CaseRef editor_ref(const nd::CaseRef& ref) {
    content::CaseRef r;
    r.group = ref.where.group;
    r.board = ref.where.board;
    r.slot = ref.where.slot;
    r.key = ref.key;
    return r;
}

Metrics metrics_for(const gfx::Rect& body) {
    int cell = 8, height = 16;
    editor_font_size(&cell, &height);
    return editor_metrics(body.w, body.h, cell, height + kRowSpacing);
}

Rect editor_rect(const CaseWindow& w) {
    const gfx::Rect b = body_rect(w);
    return {b.x, b.y, b.w, b.h};
}

unsigned key_mods() {
    unsigned mods = 0;
    if (gfx::key_down(gfx::kVkControl) > 0) mods |= kModCtrl;
    if (gfx::key_down(gfx::kVkShift) > 0) mods |= kModShift;
    return mods;
}

// Links waiting for a title when the Case is shown (the program ended
// before their fetch answered) are asked for again.
void fetch_waiting_titles(CaseWindow& w) {
    const CaseRecord* record = shown_record(w);
    if (!record) return;
    for (int slot = 0; slot < kAttachmentSlots; ++slot) {
        const Attachment& a = record->attachments[slot];
        if (a.kind != kAttachLinkPending) continue;
        LinkFetch f;
        f.address = field_text(a.path, sizeof a.path);
        f.ticket = weblink::title_fetcher().request(f.address);
        f.ref = editor_ref(w.ref);
        f.slot = slot;
        w.fetches.push_back(std::move(f));
    }
}

// A fetch answered: the link takes its title (or its address).
void finish_fetch(CaseWindow& w, const LinkFetch& f, const std::string& title) {
    bool named = false;
    {
        std::lock_guard<std::mutex> hold(StorageLock);
        CaseRecord* record = find_case(f.ref.group, f.ref.board, f.ref.slot);
        if (record && same_item(record->key, f.ref.key) &&
            name_pending_link(*record, f.slot, f.address, title)) {
            mark_content_changed(f.ref);
            named = true;
        }
    }
    if (named && w.editor.open && same_item(w.editor.ref.key, f.ref.key)) editor_relayout(w.editor);
    if (named) view_state().redraw = true;
}

void poll_fetches(CaseWindow& w) {
    for (size_t i = 0; i < w.fetches.size();) {
        std::string title;
        const int state = w.fetches[i].ticket > 0
                              ? weblink::title_fetcher().poll(w.fetches[i].ticket, &title)
                              : weblink::kNoTitle;
        if (state == weblink::kTitlePending) {
            ++i;
            continue;
        }
        if (state != weblink::kUnknownTicket) finish_fetch(w, w.fetches[i], title);
        w.fetches.erase(w.fetches.begin() + std::ptrdiff_t(i));
    }
}

// The clipboard answered a paste.
void paste_answer(CaseWindow& w) {
    std::string address;
    const int kind = w.clipboard.answer_kind();
    if (kind == gfx::kClipBadPicture) {
        show_message(w, w.clipboard.answer_reason());
    } else if (kind == gfx::kClipText &&
               weblink::single_web_address(w.clipboard.answer_text(), &address)) {
        const int slot = editor_insert_link(w.editor, address);
        if (slot >= 0) {
            LinkFetch f;
            f.address = address;
            f.ticket = weblink::title_fetcher().request(address);
            f.ref = w.editor.ref;
            f.slot = slot;
            w.fetches.push_back(std::move(f));
        }
    } else {
        (void)editor_key(w.editor, kKeyPaste);
    }
    w.clipboard.release();
    view_state().redraw = true;
}

// The image line a copy takes as a picture: the selection is exactly that
// line, or nothing is selected and the caret stands on it. -1 otherwise.
int picture_line(const EditorState& e) {
    for (int i = 0; i < e.layout.line_count; ++i) {
        const DisplayLine& line = e.layout.lines[i];
        if (line.kind != kAttachImage) continue;
        const bool exact = e.selection.begin == line.start && e.selection.end == line.end();
        if ((e.selection.active() && exact) || (!e.selection.active() && e.caret.line == i))
            return i;
    }
    return -1;
}

void start_paste(CaseWindow& w) {
    if (w.editor.open) (void)w.clipboard.request();
}

void copy(CaseWindow& w) {
    EditorState& e = w.editor;
    if (!e.open) return;
    const int line = picture_line(e);
    if (line < 0) {
        (void)editor_key(e, kKeyCopy);
        return;
    }
    const std::string path = resolve_attachment(*e.doc.record, e.layout.lines[line].slot, g_root);
    if (path.empty() || copy_image_to_clipboard(path, g_temp_dir, w.clipboard) == 0) {
        // 图片无法复制
        show_message(w, "\xCD\xBC\xC6\xAC\xCE\xDE\xB7\xA8\xB8\xB4\xD6\xC6");
    }
}

void set_tab(CaseWindow& w, int tab) {
    if (tab == w.tab) return;
    w.tab = tab;
    w.hovered = -1;
    w.hovered_button = 0;
    if (tab == kTabContent) editor_relayout(w.editor);
}

// A press of the + or - button of a resource row.
void overlay_button(CaseWindow& w, int row, int sign) {
    CaseRecord* record = shown_record(w);
    if (!record) return;
    std::lock_guard<std::mutex> hold(StorageLock);
    if (apply_overlay(*record, row, sign)) mark_content_changed(editor_ref(w.ref));
}

bool pointer(ui::Panel&, const gfx::MouseMsg& msg) {
    CaseWindow& w = window();
    if (!w.open) return false;
    const Rect er = editor_rect(w);
    const int ex = msg.x - er.x, ey = msg.y - er.y;
    if (msg.kind == gfx::kMouseDown && (msg.flags & gfx::kMouseLeft)) {
        if (close_button(w.rect).contains(msg.x, msg.y)) {
            close_case_window();
            return true;
        }
        for (int tab = 0; tab < 4; ++tab) {
            if (tab_rect(w.rect, tab).contains(msg.x, msg.y)) {
                set_tab(w, tab);
                return true;
            }
        }
        if (w.tab == kTabContent && body_rect(w).contains(msg.x, msg.y)) {
            const unsigned mods = (msg.flags & gfx::kModControl) ? kModCtrl : 0u;
            editor_mouse_down(w.editor, ex, ey, mods | (key_mods() & kModShift));
            w.pressed_editor = true;
            return true;
        }
        const int row = row_at(w, msg.x, msg.y);
        if (const int sign = overlay_button_at(w, row, msg.x, msg.y)) overlay_button(w, row, sign);
        return true;
    }
    if (msg.kind == gfx::kMouseMove && w.pressed_editor) {
        editor_mouse_move(w.editor, ex, ey);
        return true;
    }
    if (msg.kind == gfx::kMouseUp && w.pressed_editor) {
        editor_mouse_up(w.editor);
        w.pressed_editor = false;
        return true;
    }
    return true;
}

void hover(ui::Panel&, int x, int y) {
    CaseWindow& w = window();
    const int row = row_at(w, x, y);
    const int button = overlay_button_at(w, row, x, y);
    if (row != w.hovered || button != w.hovered_button) view_state().redraw = true;
    w.hovered = row;
    w.hovered_button = button;
}

bool wheel(ui::Panel&, int, int, int delta) {
    CaseWindow& w = window();
    const int notches = delta / 120;
    if (w.tab == kTabContent) {
        editor_wheel(w.editor, -notches * kWheelRows);
    } else {
        const int rows = tab_rows(w, w.tab);
        int& first = w.first_row[w.tab];
        first = std::clamp(first - notches, 0, std::max(0, rows - 1));
    }
    view_state().redraw = true;
    return true;
}

bool key(ui::Panel&, int code) {
    CaseWindow& w = window();
    if (!w.open || w.tab != kTabContent || !w.editor.open) return false;
    if (code == ui::kKeyPaste) {
        start_paste(w);
    } else if (code == ui::kKeyCopy) {
        copy(w);
    } else {
        (void)editor_key(w.editor, code, key_mods());
    }
    view_state().redraw = true;
    return true;
}

// Right click: the menu of what lies under the pointer.
bool context(ui::Panel&, int x, int y) {
    CaseWindow& w = window();
    if (!w.open || !body_rect(w).contains(x, y)) return false;
    int32_t object = kMenuEditorBodyEditing;
    int row = -1;
    if (w.tab == kTabContent) {
        if (w.editor.selection.active()) object = kMenuEditorSelection;
    } else if (w.tab == kTabInfo) {
        row = row_at(w, x, y);
        if (row < 0) return true;
        static constexpr int32_t kRows[4] = {kMenuEditorKind, kMenuEditorImportance,
                                             kMenuEditorDifficulty, kMenuEditorCognition};
        object = kRows[row];
    } else if (w.tab == kTabLinks) {
        // A link row's menu acts on the Case the row shows (jump, colour);
        // the row number names the link of the window's own Case.
        row = row_at(w, x, y);
        const CaseRecord* record = shown_record(w);
        if (row < 0 || !record) return true;
        const LocationRef& at = record->link_locations[row];
        const CaseRecord* linked = find_case(at.group, at.board, at.slot);
        if (!linked || !same_item(linked->key, record->link_keys[row])) return true;
        BoardRequest request = context_menu(kMenuEditorLinkRow, {at, linked->key}, x, y);
        request.row = row;
        (void)post_request(request);
        return true;
    } else {
        row = row_at(w, x, y);
        object = row < 0 ? kMenuEditorResourceArea : kMenuEditorResource;
    }
    BoardRequest request = context_menu(object, w.ref, x, y);
    request.row = row;
    (void)post_request(request);
    return true;
}

void draw(const ui::Panel&, gfx::IMAGE* canvas) {
    const CaseWindow& w = window();
    if (!w.open) return;
    const int skin = current_skin();
    const gfx::Rect& r = w.rect;
    gfx::set_fill_color(palette_color(kPalPanelBackground, skin), canvas);
    gfx::fill_bar(r.x, r.y, r.right(), r.bottom(), canvas);
    gfx::set_color(palette_color(kPalOptionRule, skin), canvas);
    gfx::draw_rectangle(r.x, r.y, r.right() - 1, r.bottom() - 1, canvas);

    const CaseRecord* record = shown_record(w);
    std::string title = record ? field_text(record->title, sizeof record->title) : kNoCase;
    title.resize(gbk_fit(title, kTitleBytesShown));
    gfx::set_font(kTitleFont, 0, kYaHei, canvas);
    gfx::set_color(palette_color(kPalPanelTitle, skin), canvas);
    gfx::text_out(r.x + 8, r.y + 6, title.c_str(), canvas);
    const gfx::Rect cb = close_button(r);
    gfx::text_out(cb.x + 5, cb.y + 1, "x", canvas);

    for (int tab = 0; tab < 4; ++tab) {
        const gfx::Rect t = tab_rect(r, tab);
        gfx::set_fill_color(tab == w.tab ? palette_color(kPalOptionSelect, skin)
                                         : palette_color(kPalOptionRule, skin),
                            canvas);
        gfx::fill_bar(t.x, t.y, t.right() - 1, t.bottom(), canvas);
        gfx::set_color(palette_color(kPalPanelText, skin), canvas);
        gfx::text_out(t.x + 5, t.y + 4, kTabNames[tab], canvas);
    }
    if (w.tab == kTabContent) {
        // The caret hides while a dialog holds the keys; the board draws
        // dialogs over the panels, and the window takes no keys then.
        editor_draw(w.editor, editor_colors(skin), w.blink == 0, canvas, editor_rect(w));
    } else {
        draw_list_tab(w, canvas);
    }
    if (!w.message.empty()) {
        gfx::set_font(14, 0, kYaHei, canvas);
        gfx::set_color(kMessageColour, canvas);
        gfx::text_out(r.x + 8, r.bottom() - kMessageHeight, w.message.c_str(), canvas);
    }
}

constexpr ui::PanelHooks kHooks = {
    .pointer = pointer,
    .double_click = nullptr,
    .wheel = wheel,
    .key = key,
    .draw = draw,
    .skin_changed = nullptr,
    .hover = hover,
    .context = context,
};

}  // namespace

void set_case_window_folders(const std::string& root, const std::string& temp_dir) {
    g_root = root;
    g_temp_dir = temp_dir;
}

int open_case_window(const nd::CaseRef& ref, const gfx::Rect& rect, int tab) {
    CaseWindow& w = window();
    const CaseRecord* record = find_case(ref.where.group, ref.where.board, ref.where.slot);
    if (!record || !same_item(record->key, ref.key)) return -1;
    if (w.open && !same_item(w.ref.key, ref.key)) close_case_window();
    w.env.root = g_root;
    w.env.temp_dir = g_temp_dir;
    static DiskPreviews previews;
    w.env.previews = &previews;
    w.env.clipboard = &w.clipboard;
    const bool reopen = w.open;
    w.open = true;
    w.ref = ref;
    w.rect = rect;
    w.tab = std::clamp(tab, 0, 3);
    w.hovered = -1;
    if (!reopen) {
        w.first_row[0] = w.first_row[1] = w.first_row[2] = 0;
        if (editor_open(w.editor, w.env, editor_ref(ref), metrics_for(body_rect(w))) != 0) {
            w.open = false;
            return -1;
        }
        fetch_waiting_titles(w);
    } else {
        editor_resize(w.editor, metrics_for(body_rect(w)));
    }
    ui::PanelList& list = view_state().panels;
    ui::Panel* panel = ui::panel_find(&list, kPanelContentEditor);
    if (!panel) {
        ui::Panel entry;
        entry.id = kPanelContentEditor;
        entry.state = &w;
        entry.hooks = &kHooks;
        if (ui::panel_add(&list, entry) != ui::kPanelAdded) {
            editor_close(w.editor);
            w.open = false;
            return -1;
        }
        panel = ui::panel_find(&list, kPanelContentEditor);
    }
    panel->rect = rect;
    panel->visible = true;
    ui::panel_bring_to_front(&list, kPanelContentEditor);
    view_state().redraw = true;
    return 0;
}

void close_case_window() {
    CaseWindow& w = window();
    if (!w.open) return;
    w.clipboard.cancel();
    editor_close(w.editor);
    w.open = false;
    w.message.clear();
    // A link still waiting keeps its slot; it is fetched again the next
    // time its Case is shown.
    for (const LinkFetch& f : w.fetches) weblink::title_fetcher().cancel(f.ticket);
    w.fetches.clear();
    if (ui::Panel* panel = ui::panel_find(&view_state().panels, kPanelContentEditor))
        panel->visible = false;
    if (save_changed_contents() < 0)
        std::fprintf(stderr, "nodrel: a changed Case cannot be saved; it is tried again\n");
    view_state().redraw = true;
}

void close_case_window_at_exit() {
    CaseWindow& w = window();
    for (int waited = 0; w.open && !w.editor.pending.empty() && waited < kExitWaitMs;
         waited += kExitPollMs) {
        editor_poll(w.editor);
        std::this_thread::sleep_for(std::chrono::milliseconds(kExitPollMs));
    }
    close_case_window();
}

bool case_window_open() {
    return window().open;
}

const nd::CaseRef& case_window_case() {
    return window().ref;
}

int case_window_tab() {
    return window().tab;
}

gfx::Rect case_window_rect() {
    return window().rect;
}

void case_window_step(int blink_phase) {
    CaseWindow& w = window();
    if (!w.open) return;
    if (w.clipboard.poll() == 1) paste_answer(w);
    const size_t pending = w.editor.pending.size();
    editor_poll(w.editor);
    if (w.editor.pending.size() != pending) view_state().redraw = true;
    poll_fetches(w);
    std::string reason;
    if (take_open_failure(&reason)) show_message(w, reason);
    if (!w.editor.message.empty()) {
        show_message(w, w.editor.message);
        w.editor.message.clear();
    }
    if (!w.message.empty() && now_ms() > w.message_until) {
        w.message.clear();
        view_state().redraw = true;
    }
    if (w.tab == kTabContent && blink_phase != w.blink) view_state().redraw = true;
    w.blink = blink_phase;
}

bool case_window_drop(int x, int y, const std::vector<std::string>& paths) {
    CaseWindow& w = window();
    if (!w.open || !w.rect.contains(x, y)) return false;
    set_tab(w, kTabContent);
    editor_insert_files(w.editor, paths);
    view_state().redraw = true;
    return true;
}

void case_window_refresh() {
    CaseWindow& w = window();
    if (!w.open) return;
    if (!shown_record(w)) {
        close_case_window();
        return;
    }
    editor_relayout(w.editor);
    view_state().redraw = true;
}

void case_window_copy() {
    copy(window());
}

void case_window_paste() {
    start_paste(window());
}

void case_window_tell(const std::string& gbk) {
    if (window().open) show_message(window(), gbk);
}

const std::string& case_window_message() {
    return window().message;
}

}  // namespace nd::content
