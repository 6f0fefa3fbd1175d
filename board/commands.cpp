// The command table. Each row names the function that runs the item; a
// null row belongs to a feature that is not built yet, and its comment
// says which. Filling a row is all a feature has to do for its menu items,
// accelerators and shortcuts to work.
#include "board/commands.h"

#include "board/command_rows.h"

namespace nd {

namespace {

constexpr CommandFn kTable[kCommandCount] = {
    new_category_command,  // 0 新建分类(N)...
    new_category_command,  // 1 在此新建分类, at the placeholder row
    delete_category_command,  // 2 删除(X), an empty category
    delete_category_command,  // 3 删除(X), a category holding Cases
    rename_command,           // 4 改名(R)...
    new_case_command,         // 5 新建 Case (N)...
    delete_case_command,      // 6 删除(X), a Case
    lock_command,             // 7 锁定(L)
    password_command,         // 8 设置密码
    password_command,         // 9 修改密码
    size_dialog_command,  // 10 调整窗口大小: the seam the top bar's size button shares
    copy_command,         // 11 复制(Y)
    paste_command,        // 12 粘贴(P)
    pin_case,             // 13 固定
    pin_case,             // 14 取消固定
    set_case_attribute,   // 15 绿色
    set_case_attribute,   // 16 红色
    set_case_attribute,   // 17 黄色
    set_case_attribute,   // 18 灰色
    quit_command,         // 19 关闭
    link_command,         // 20 关联(A)
    sort_view_command,    // 21 梳理(S)...
    nullptr,              // 22: no item
    jump_command,         // 23 跳转(J)
    preview_category_command,  // 24 分类预览(E)
    set_case_attribute,   // 25 无
    set_case_attribute,   // 26 人
    set_case_attribute,   // 27 物
    set_case_attribute,   // 28 事件
    set_case_attribute,   // 29 任务
    set_case_attribute,   // 30 L1（一般）
    set_case_attribute,   // 31 L2（需要注意）
    set_case_attribute,   // 32 L3（引起关注）
    set_case_attribute,   // 33 L4（重要）
    set_case_attribute,   // 34 L5（要命）
    relation_command,     // 35 松散关系, on a link row of the content editor
    relation_command,     // 36 紧密关系
    assess_command,       // 37 评估(D)...
    nullptr,              // 38: no item
    set_case_attribute,   // 39 简单
    set_case_attribute,   // 40 困难
    set_case_attribute,   // 41 无法完成
    set_case_attribute,   // 42 未知
    set_case_attribute,   // 43 了解
    set_case_attribute,   // 44 存疑
    add_resource_command,     // 45 添加资源(N)...
    resource_dialog_command,  // 46 改名(R)... of a resource
    clear_resource_command,   // 47 清空(C)
    sync_resources_command,   // 48 同步到所有关系
    sync_resources_command,   // 49 同步到当前分类
    delete_resource_command,  // 50 删除(X) of a resource
    resource_dialog_command,  // 51 改值(M)...
    resource_dialog_command,  // 52 改叠加值(K)...
    reserve_status,       // 53 the reserved status, from a colour row's right end
    about_command,        // 54 关于 Nodrel (A)
    update_note_command,  // 55 检查更新
    arrange_command,      // 56 紧凑(Q)
    arrange_command,      // 57 间隔(W)
    arrange_command,      // 58 颜色分类(E)
    arrange_command,      // 59 难度分类(F)
};

}  // namespace

bool command_built(int item) {
    return item >= 0 && item < kCommandCount && kTable[item] != nullptr;
}

void run_command(MainView& view, int item, const MenuTarget& target) {
    if (!command_built(item)) return;
    kTable[item](view, item, target);
}

}  // namespace nd
