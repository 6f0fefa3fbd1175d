#include "board/menu_items.h"

#include "skins/names.h"

namespace nd {

namespace {

using I = IconSource;

// The names of SharedMenuPicture, in its order.
constexpr const char* kSharedNames[kSharedMenuPictureCount] = {
    "PICK_STATUS_0",  "PICK_STATUS_1",   "PICK_STATUS_2",     "PICK_STATUS_3",
    "LINK_NEXUS_FAR", "LINK_NEXUS_NEAR", "PICK_SELECT_BOX_1", "AUTOMENU_POINT"};

MenuItemSpec plain(const char* text, char letter = 0) {
    return {text, letter, I::kNone, -1};
}
MenuItemSpec with_icon(const char* text, char letter, int icon) {
    return {text, letter, I::kMenuIcon, icon};
}
MenuItemSpec with_shared(const char* text, int picture) {
    return {text, 0, I::kShared, picture};
}

std::array<MenuItemSpec, kCommandCount> make_table() {
    std::array<MenuItemSpec, kCommandCount> t{};
    // 新建分类(N)...
    t[0] = with_icon("\xD0\xC2\xBD\xA8\xB7\xD6\xC0\xE0(N)...", 'n', pic::AUTOMENU_NEW);
    // 在此新建分类
    t[1] = with_icon("\xD4\xDA\xB4\xCB\xD0\xC2\xBD\xA8\xB7\xD6\xC0\xE0", 'n', pic::AUTOMENU_NEW2);
    // 删除(X): an empty category, a category holding Cases, a Case.
    t[2] = with_icon("\xC9\xBE\xB3\xFD(X)", 'x', pic::AUTOMENU_DEL);
    t[3] = with_icon("\xC9\xBE\xB3\xFD(X)", 'x', pic::AUTOMENU_DEL2);
    t[4] = plain("\xB8\xC4\xC3\xFB(R)...", 'r');  // 改名(R)...
    // 新建 Case (N)...
    t[5] = with_icon("\xD0\xC2\xBD\xA8 Case (N)...", 'n', pic::AUTOMENU_ADD);
    t[6] = with_icon("\xC9\xBE\xB3\xFD(X)", 'x', pic::AUTOMENU_DEL);
    t[7] = with_icon("\xCB\xF8\xB6\xA8(L)", 'l', pic::AUTOMENU_LOCK);   // 锁定(L)
    t[8] = plain("\xC9\xE8\xD6\xC3\xC3\xDC\xC2\xEB");                   // 设置密码
    t[9] = plain("\xD0\xDE\xB8\xC4\xC3\xDC\xC2\xEB");                   // 修改密码
    t[10] = plain("\xB5\xF7\xD5\xFB\xB4\xB0\xBF\xDA\xB4\xF3\xD0\xA1");  // 调整窗口大小
    t[11] = plain("\xB8\xB4\xD6\xC6(Y)", 'y');                          // 复制(Y)
    t[12] = plain("\xD5\xB3\xCC\xF9(P)", 'p');                          // 粘贴(P)
    t[13] = with_icon("\xB9\xCC\xB6\xA8", 0, pic::AUTOMENU_PIN);        // 固定
    t[14] = with_icon("\xC8\xA1\xCF\xFB\xB9\xCC\xB6\xA8", 0, pic::AUTOMENU_UNPIN);  // 取消固定
    t[15] = with_shared("\xC2\xCC\xC9\xAB", kDotGreen);                             // 绿色
    t[16] = with_shared("\xBA\xEC\xC9\xAB", kDotRed);                               // 红色
    t[17] = with_shared("\xBB\xC6\xC9\xAB", kDotYellow);                            // 黄色
    t[18] = with_shared("\xBB\xD2\xC9\xAB", kDotGrey);                              // 灰色
    t[19] = plain("\xB9\xD8\xB1\xD5");                                              // 关闭
    t[20] = with_icon("\xB9\xD8\xC1\xAA(A)", 'a', pic::AUTOMENU_LINK);              // 关联(A)
    t[21] = with_icon("\xCA\xE1\xC0\xED(S)...", 's', pic::AUTOMENU_PICK);           // 梳理(S)...
    t[23] = plain("\xCC\xF8\xD7\xAA(J)", 'j');                                      // 跳转(J)
    t[24] = plain("\xB7\xD6\xC0\xE0\xD4\xA4\xC0\xC0(E)", 'e');               // 分类预览(E)
    t[25] = plain("\xCE\xDE");                                               // 无
    t[26] = plain("\xC8\xCB");                                               // 人
    t[27] = plain("\xCE\xEF");                                               // 物
    t[28] = plain("\xCA\xC2\xBC\xFE");                                       // 事件
    t[29] = plain("\xC8\xCE\xCE\xF1");                                       // 任务
    t[30] = plain("L1\xA3\xA8\xD2\xBB\xB0\xE3\xA3\xA9");                     // L1（一般）
    t[31] = plain("L2\xA3\xA8\xD0\xE8\xD2\xAA\xD7\xA2\xD2\xE2\xA3\xA9");     // L2（需要注意）
    t[32] = plain("L3\xA3\xA8\xD2\xFD\xC6\xF0\xB9\xD8\xD7\xA2\xA3\xA9");     // L3（引起关注）
    t[33] = plain("L4\xA3\xA8\xD6\xD8\xD2\xAA\xA3\xA9");                     // L4（重要）
    t[34] = plain("L5\xA3\xA8\xD2\xAA\xC3\xFC\xA3\xA9");                     // L5（要命）
    t[35] = with_shared("\xCB\xC9\xC9\xA2\xB9\xD8\xCF\xB5", kLinkFar);       // 松散关系
    t[36] = with_shared("\xBD\xF4\xC3\xDC\xB9\xD8\xCF\xB5", kLinkNear);      // 紧密关系
    t[37] = with_icon("\xC6\xC0\xB9\xC0(D)...", 'd', pic::AUTOMENU_ASSESS);  // 评估(D)...
    t[39] = plain("\xBC\xF2\xB5\xA5");                                       // 简单
    t[40] = plain("\xC0\xA7\xC4\xD1");                                       // 困难
    t[41] = plain("\xCE\xDE\xB7\xA8\xCD\xEA\xB3\xC9");                       // 无法完成
    t[42] = plain("\xCE\xB4\xD6\xAA");                                       // 未知
    t[43] = plain("\xC1\xCB\xBD\xE2");                                       // 了解
    t[44] = plain("\xB4\xE6\xD2\xC9");                                       // 存疑
    t[45] = plain("\xCC\xED\xBC\xD3\xD7\xCA\xD4\xB4(N)...", 'n');            // 添加资源(N)...
    t[46] = plain("\xB8\xC4\xC3\xFB(R)...", 'r');                            // 改名(R)...
    t[47] = plain("\xC7\xE5\xBF\xD5(C)", 'c');                               // 清空(C)
    t[48] = plain("\xCD\xAC\xB2\xBD\xB5\xBD\xCB\xF9\xD3\xD0\xB9\xD8\xCF\xB5");  // 同步到所有关系
    t[49] = plain("\xCD\xAC\xB2\xBD\xB5\xBD\xB5\xB1\xC7\xB0\xB7\xD6\xC0\xE0");  // 同步到当前分类
    t[50] = plain("\xC9\xBE\xB3\xFD(X)", 'x');                                  // 删除(X)
    t[51] = plain("\xB8\xC4\xD6\xB5(M)...", 'm');                               // 改值(M)...
    t[52] = plain("\xB8\xC4\xB5\xFE\xBC\xD3\xD6\xB5(K)...", 'k');  // 改叠加值(K)...
    // 关于 Nodrel (A)
    t[54] = {"\xB9\xD8\xD3\xDA Nodrel (A)", 'a', I::kSmallLogo, -1};
    // 检查更新: its icon is the update indicator, which comes with the update
    // note; until then the row has none.
    t[55] = plain("\xBC\xEC\xB2\xE9\xB8\xFC\xD0\xC2");
    t[56] = plain("\xBD\xF4\xB4\xD5(Q)", 'q');                  // 紧凑(Q)
    t[57] = plain("\xBC\xE4\xB8\xF4(W)", 'w');                  // 间隔(W)
    t[58] = plain("\xD1\xD5\xC9\xAB\xB7\xD6\xC0\xE0(E)", 'e');  // 颜色分类(E)
    t[59] = plain("\xC4\xD1\xB6\xC8\xB7\xD6\xC0\xE0(F)", 'f');  // 难度分类(F)
    return t;
}

const std::array<MenuItemSpec, kCommandCount> kItems = make_table();

gfx::IMAGE* load_shared(const char* name) {
    gfx::IMAGE* image = gfx::new_image(1, 1);
    // A missing picture leaves the 1 x 1 placeholder, which is drawn as
    // nothing.
    gfx::getimage(image, "IMGS", name, 0, 0);
    return image;
}

void free_image(gfx::IMAGE*& image) {
    if (image) gfx::delete_image(image);
    image = nullptr;
}

const gfx::IMAGE* icon_of(const MenuPictures& p, const MenuItemSpec& spec) {
    switch (spec.icon) {
        case IconSource::kMenuIcon:
            return p.menu_icons.images[spec.icon_index];
        case IconSource::kSmallLogo:
            return p.logos.images[pic::ABOUT_LOGO_SMALL];
        case IconSource::kShared:
            return p.shared[size_t(spec.icon_index)];
        case IconSource::kNone:
            break;
    }
    return nullptr;
}

}  // namespace

const MenuItemSpec& menu_item_spec(int item) {
    static const MenuItemSpec kNone{};
    return item >= 0 && item < kCommandCount ? kItems[size_t(item)] : kNone;
}

void render_menu_pictures(MenuPictures* p) {
    if (p->skin == current_skin()) return;
    // Each reload keeps what is current and reports how it went; a table
    // that does not fit is a build-time mistake names.h already rules out.
    (void)reload_on_change(&p->menu_icons, kMenuIconNames);
    (void)reload_on_change(&p->logos, kAboutLogoNames);
    (void)reload_on_change(&p->corners, kAutomenuNames);
    for (int i = 0; i < kSharedMenuPictureCount; ++i)
        if (!p->shared[size_t(i)]) p->shared[size_t(i)] = load_shared(kSharedNames[i]);
    for (int i = 0; i < kCommandCount; ++i) {
        const MenuItemSpec& spec = kItems[size_t(i)];
        if (!spec.text) continue;
        ui::render_menu_item(&p->items[size_t(i)], spec.text, icon_of(*p, spec), current_skin());
    }
    p->skin = current_skin();
}

void free_menu_pictures(MenuPictures* p) {
    for (ui::MenuItemPictures& item : p->items) ui::free_menu_item(&item);
    free_skin_pictures(&p->menu_icons);
    free_skin_pictures(&p->logos);
    free_skin_pictures(&p->corners);
    for (gfx::IMAGE*& image : p->shared) free_image(image);
    p->skin = -1;
}

}  // namespace nd
