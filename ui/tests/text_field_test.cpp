#include "ui/text_field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/clipboard.h"
#include "ui/keys.h"

namespace nd::ui {
namespace {

// 中 D6 D0, 文 CE C4, 分 B7 D6; the middle dot is A1 A4.
constexpr char kZhong[] = "\xD6\xD0";
constexpr char kWen[] = "\xCE\xC4";

TextField field(size_t max_bytes, const std::string& text = "") {
    TextField f;
    f.max_bytes = max_bytes;
    text_field_set(&f, text);
    return f;
}

void keys(TextField* f, const std::vector<int>& codes) {
    for (int code : codes) text_field_key(f, code);
}

void type(TextField* f, const std::string& bytes) {
    for (unsigned char b : bytes) text_field_key(f, b);
}

TEST(TextField, CharactersGoInAtTheCaretWithinTheLimit) {
    TextField f = field(5);
    type(&f, std::string("abc"));
    keys(&f, {kKeyLeft, kKeyLeft});
    type(&f, std::string("X"));
    EXPECT_EQ(f.text, "aXbc");
    EXPECT_EQ(f.caret, 2u);
    // Printable ASCII runs from 32 to 127; other control codes are not text.
    keys(&f, {31, 128, 255});
    EXPECT_EQ(f.text, "aXbc");
    type(&f, std::string("yz"));
    EXPECT_EQ(f.text, "aXybc") << "the sixth byte is refused";
}

TEST(TextField, APairArrivesAsTwoCodesAndGoesInWholeOrNotAtAll) {
    TextField f = field(4);
    type(&f, std::string("ab"));
    type(&f, std::string(kZhong));
    EXPECT_EQ(f.text, std::string("ab") + kZhong);
    // One byte of room is left: a pair does not fit and no half of it goes in.
    type(&f, std::string(kWen));
    EXPECT_EQ(f.text, std::string("ab") + kZhong);
    EXPECT_EQ(f.pending_lead, 0);
    // Its second byte may look like ASCII: 81 40 is one character.
    TextField g = field(10);
    keys(&g, {0x81, 0x40});
    EXPECT_EQ(g.text, "\x81\x40");
}

TEST(TextField, AComposedPhraseLandsWhole) {
    // 中文中文, as an input method hands it over in one go.
    const std::string phrase = std::string(kZhong) + kWen + kZhong + kWen;
    TextField f = field(31, "x");
    type(&f, phrase);
    EXPECT_EQ(f.text, "x" + phrase);
    EXPECT_EQ(f.caret, 9u);
}

TEST(TextField, MiddleDotAloneBecomesA1A4) {
    TextField f = field(10);
    EXPECT_EQ(text_field_key(&f, kKeyMiddleDot), FieldKey::kUsed);
    EXPECT_EQ(text_field_key(&f, kKeyEnter), FieldKey::kEnter);
    EXPECT_EQ(f.text, "\xA1\xA4");
    // 183 followed by a second byte is a character of its own: 分.
    keys(&f, {0xB7, 0xD6});
    EXPECT_EQ(f.text, "\xA1\xA4\xB7\xD6");
    // Letters can be second bytes, so only a code that cannot (a space,
    // Enter, a control key) shows that 183 stood alone.
    keys(&f, {kKeyMiddleDot, ' '});
    EXPECT_EQ(f.text, "\xA1\xA4\xB7\xD6\xA1\xA4 ");
}

TEST(TextField, EditingKeysMoveAndDeleteWholeCharacters) {
    // a中文b: the trail byte D0 is also a valid lead byte.
    TextField f = field(20, std::string("a") + kZhong + kWen + "b");
    std::vector<size_t> stops;
    for (int i = 0; i < 5; ++i) {
        text_field_key(&f, kKeyLeft);
        stops.push_back(f.caret);
    }
    EXPECT_EQ(stops, (std::vector<size_t>{5, 3, 1, 0, 0}));
    keys(&f, {kKeyRight, kKeyRight});
    EXPECT_EQ(f.caret, 3u);
    keys(&f, {kKeyBackspace});
    EXPECT_EQ(f.text, std::string("a") + kWen + "b");
    EXPECT_EQ(f.caret, 1u);
    keys(&f, {kKeyDelete});
    EXPECT_EQ(f.text, "ab");
    keys(&f, {kKeyEnd, kKeyBackspace, kKeyHome, kKeyBackspace});
    EXPECT_EQ(f.text, "a");
    EXPECT_EQ(f.caret, 0u);
}

TEST(TextField, SelectAllIsReplacedByTypingAndClearedByBackspace) {
    TextField f = field(10, "old");
    keys(&f, {kKeySelectAll});
    EXPECT_TRUE(f.all_selected);
    type(&f, std::string("n"));
    EXPECT_EQ(f.text, "n");
    keys(&f, {kKeySelectAll, kKeyBackspace});
    EXPECT_EQ(f.text, "");
    EXPECT_FALSE(f.all_selected);
}

std::string g_clip;
bool write_clip(const std::string& s) {
    g_clip = s;
    return true;
}
bool read_clip(std::string* s) {
    *s = g_clip;
    return true;
}

class TextFieldClipboard : public ::testing::Test {
protected:
    void SetUp() override {
        ClipboardHooks hooks;
        hooks.write_text = write_clip;
        hooks.read_text = read_clip;
        set_clipboard_hooks(hooks);
        g_clip.clear();
    }
    void TearDown() override { set_clipboard_hooks(ClipboardHooks{}); }
};

TEST_F(TextFieldClipboard, CopyTakesTheSelectedTextAndPasteFitsWithoutSplitting) {
    TextField f = field(10, "abc");
    keys(&f, {kKeyCopy});
    EXPECT_EQ(g_clip, "") << "nothing is selected";
    keys(&f, {kKeySelectAll, kKeyCopy});
    EXPECT_EQ(g_clip, "abc");

    // 6 bytes of room at the end of "abcd": "x中文中" is 7 bytes, so the last
    // pair stays out whole; the second line never comes in.
    g_clip = std::string("x") + kZhong + kWen + kZhong + "\r\nnext";
    TextField g = field(10, "abcd");
    keys(&g, {kKeyPaste});
    EXPECT_EQ(g.text, std::string("abcdx") + kZhong + kWen);
    EXPECT_EQ(g.caret, g.text.size());

    // A password field neither copies nor pastes.
    TextField secret = field(10, "pw");
    secret.copy_allowed = false;
    g_clip = "clip";
    keys(&secret, {kKeySelectAll, kKeyCopy, kKeyEnd, kKeyPaste});
    EXPECT_EQ(g_clip, "clip");
    EXPECT_EQ(secret.text, "pw");
}

TEST(TextField, KeysThatAreNotTheFieldsGoBackToTheCaller) {
    TextField f = field(10, "a");
    EXPECT_EQ(text_field_key(&f, kKeyEscape), FieldKey::kEscape);
    EXPECT_EQ(text_field_key(&f, kKeyTab), FieldKey::kUnused);
    EXPECT_EQ(text_field_key(&f, kKeyUp), FieldKey::kUnused);
    EXPECT_EQ(f.text, "a");
}

TEST(TextField, KeyRecordsBecomeEditingCodes) {
    struct Case {
        gfx::KeyMsg key;
        int code;
    };
    const Case cases[] = {
        {{'a', gfx::kKeyChar, 0}, 'a'},         {{0xD6, gfx::kKeyChar, 0}, 0xD6},
        {{8, gfx::kKeyChar, 0}, kKeyBackspace}, {{0x08, gfx::kKeyDown, 0}, kKeyNone},
        {{0x25, gfx::kKeyDown, 0}, kKeyLeft},   {{0x2E, gfx::kKeyDown, 0}, kKeyDelete},
        {{0x25, gfx::kKeyUp, 0}, kKeyNone},     {{1, gfx::kKeyChar, 0}, kKeySelectAll},
    };
    for (const Case& c : cases) EXPECT_EQ(edit_code(c.key), c.code) << c.key.key;
}

}  // namespace
}  // namespace nd::ui
