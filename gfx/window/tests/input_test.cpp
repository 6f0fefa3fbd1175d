#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include "gfx/window/input_queue.h"
#include "gfx/window/key_map.h"
#include "gfx/window/window.h"
#include "gfx/window/window_state.h"

namespace gfx {
namespace {

// Every test runs on a headless window so no display is involved.
class Input : public ::testing::Test {
protected:
    void SetUp() override {
        force_headless(true);
        ASSERT_EQ(open_window(16, 8, 0x19), 0);
        ASSERT_TRUE(headless());
    }
    void TearDown() override { close_window(); }

    static void key(uint32_t code, uint32_t kind, uint64_t age_ms = 0) {
        push_key_message({code, kind, 0}, tick_ms() - age_ms);
    }
};

TEST_F(Input, OpenWindowMakesTheScreenPage) {
    ASSERT_NE(screen_page(), nullptr);
    EXPECT_EQ(current_target(), screen_page());
    EXPECT_EQ(image_width(), 16);
    EXPECT_EQ(image_height(), 8);
    EXPECT_TRUE(window_alive());
}

TEST(InputQueue, FullQueueDropsTheOldest) {
    MouseQueue queue;
    for (int i = 0; i < 1030; ++i) queue.push({{i, 0, kMouseMove, 0, 0}, 0, 0});
    EXPECT_EQ(queue.size(), kQueueCapacity);
    MouseQueue::Entry entry;
    ASSERT_TRUE(queue.pop(&entry));
    EXPECT_EQ(entry.msg.x, 6);  // 0..5 were pushed out
    EXPECT_EQ(queue.last_taken().msg.x, 6);
    int last = 0;
    while (queue.pop(&entry)) last = entry.msg.x;
    EXPECT_EQ(last, 1029);
    EXPECT_EQ(queue.last_taken().msg.x, 1029);
    EXPECT_FALSE(queue.pop(&entry));
}

TEST_F(Input, GetCharDropsKeysOlderThanOneSecond) {
    key('a', kKeyChar, 1500);
    key(kVkLeft, kKeyDown, 1200);
    key('b', kKeyChar, 10);
    EXPECT_EQ(get_char(), 'b');
    EXPECT_EQ(key_pending(), 0);
}

TEST_F(Input, GetCharTurnsFunctionAndNavigationKeysIntoCodes) {
    key('A', kKeyDown);  // the letter's own key-down is skipped for its character
    key('a', kKeyChar);
    key('A', kKeyUp);
    key(kVkLeft, kKeyDown);
    key(kVkF1 + 4, kKeyDown);
    key(kVkDelete, kKeyDown);
    EXPECT_EQ(get_char(), 'a');
    EXPECT_EQ(get_char(), 0x125);
    EXPECT_EQ(get_char(), 0x174);
    EXPECT_EQ(get_char(), 0x12E);
}

TEST_F(Input, KeyHitDropsWhatStandsAheadOfACharacter) {
    struct Case {
        std::vector<KeyMsg> queued;
        int hit;
        size_t left;
    };
    const Case cases[] = {
        {{{'A', kKeyDown, 0}, {'a', kKeyChar, 0}}, 1, 1},
        {{{kVkShift, kKeyDown, 0}, {kVkShift, kKeyUp, 0}}, 0, 0},
        {{{'A', kKeyUp, 0}, {kVkF1, kKeyDown, 0}, {'x', kKeyChar, 0}}, 1, 2},
        {{{kVkHome, kKeyDown, 0}}, 1, 1},
        {{{0xBA, kKeyDown, 0}, {0xBA, kKeyUp, 0}}, 0, 0},
        {{}, 0, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        reset_input();
        for (const KeyMsg& msg : cases[i].queued) push_key_message(msg, tick_ms());
        EXPECT_EQ(key_hit(), cases[i].hit) << "case " << i;
        EXPECT_EQ(key_queue().size(), cases[i].left) << "case " << i;
    }
}

TEST_F(Input, KeyDownFollowsTheTable) {
    EXPECT_EQ(key_down(300), -1);
    EXPECT_EQ(key_down(256), -1);
    EXPECT_EQ(key_down(-1), -1);
    EXPECT_EQ(key_down('Q'), 0);
    key('Q', kKeyDown);
    EXPECT_EQ(key_down('Q'), 1);
    key('Q', kKeyUp);
    EXPECT_EQ(key_down('Q'), 0);
}

TEST_F(Input, MousePositionComesFromMovesAndWheels) {
    push_mouse_message({5, 6, kMouseMove, 0, 0}, tick_ms(), 0);
    push_mouse_message({90, 90, kMouseDown, kMouseLeft, 0}, tick_ms(), kMouseLeft);
    int x = 0, y = 0;
    mouse_position(&x, &y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    push_mouse_message({7, 8, kMouseWheel, 0, -120}, tick_ms(), 0);
    mouse_position(&x, &y);
    EXPECT_EQ(x, 7);
    EXPECT_TRUE(mouse_pending());
    EXPECT_EQ(get_mouse().kind, kMouseMove);
    MouseMsg down = get_mouse();
    EXPECT_EQ(down.kind, kMouseDown);
    EXPECT_EQ(down.flags, kMouseLeft);
    EXPECT_EQ(get_mouse().wheel, -120);
    EXPECT_FALSE(mouse_pending());
}

TEST_F(Input, StoppedWindowEndsTheWaits) {
    close_window();
    EXPECT_FALSE(window_alive());
    EXPECT_EQ(key_pending(), -1);
    EXPECT_EQ(key_hit(), -1);
    EXPECT_EQ(get_char(), -1);
    MouseMsg msg = get_mouse();
    EXPECT_EQ(msg.kind, 0u);
    EXPECT_EQ(get_key().kind, 0u);
}

// SDL events built by hand, as the window would receive them.
TEST_F(Input, SdlEventsBecomeQueueMessages) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = 2;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    ASSERT_TRUE(translate_event(event));
    EXPECT_EQ(get_mouse().wheel, 240);

    event = SDL_Event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_RIGHT;
    event.button.x = 3;
    event.button.y = 4;
    ASSERT_TRUE(translate_event(event));
    MouseMsg down = get_mouse();
    EXPECT_EQ(down.kind, kMouseDown);
    EXPECT_EQ(down.flags & 0xFF, kMouseRight);
    EXPECT_EQ(down.x, 3);

    event = SDL_Event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_c;
    event.key.keysym.scancode = SDL_SCANCODE_C;
    event.key.keysym.mod = KMOD_LCTRL;
    ASSERT_TRUE(translate_event(event));
    KeyMsg k = get_key();
    EXPECT_EQ(k.key, uint32_t{'C'});
    EXPECT_EQ(k.kind, kKeyDown);
    EXPECT_EQ(k.flags, kModControl);
    k = get_key();  // Ctrl+C also types character 3
    EXPECT_EQ(k.key, 3u);
    EXPECT_EQ(k.kind, kKeyChar);

    event = SDL_Event{};
    event.type = SDL_TEXTINPUT;
    std::snprintf(event.text.text, sizeof(event.text.text), "\xE4\xB8\xAD\xF0\x9F\x98\x80");
    ASSERT_TRUE(translate_event(event));
    EXPECT_EQ(get_char(), 0xD6);  // lead byte, then trail byte; the emoji is dropped
    EXPECT_EQ(get_char(), 0xD0);
    EXPECT_EQ(key_pending(), 0);
}

}  // namespace
}  // namespace gfx
