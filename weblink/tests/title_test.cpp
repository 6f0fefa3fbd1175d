#include "weblink/title.h"

#include <gtest/gtest.h>

namespace nd::weblink {
namespace {

TEST(PageTitle, TitlesAsGbkNames) {
    struct Case {
        const char* name;
        std::string page;
        std::string content_type;
        std::string title;  // GBK; empty: no title
    };
    const Case cases[] = {
        {"plain", "<html><head><title>Hello</title></head></html>", "text/html", "Hello"},
        {"entities",
         "<TITLE lang=en>a &amp; b &lt;c&gt; &quot;d&quot; &apos;e&#39; &#x4E2D;&#25991;</Title>",
         "", "a & b <c> \"d\" 'e' \xD6\xD0\xCE\xC4"},
        {"unknown and broken references stay", "<title>&copy; &bogus; & &#xZZ; AT&T</title>", "",
         "&copy; &bogus; & &#xZZ; AT&T"},
        {"impossible characters dropped", "<title>a&#0;b&#xD800;c&#x110000;d</title>", "", "abcd"},
        {"blanks", "<title>\n   Two\t\r\n  words&nbsp;&nbsp;here  </title>", "", "Two words here"},
        {"utf-8 by default", "<title>\xE4\xB8\xAD\xE6\x96\x87\xE6\xA0\x87\xE9\xA2\x98</title>", "",
         "\xD6\xD0\xCE\xC4\xB1\xEA\xCC\xE2"},
        {"gbk from the header", "<title>\xB2\xE2\xCA\xD4\xD2\xB3</title>", "text/html; charset=GBK",
         "\xB2\xE2\xCA\xD4\xD2\xB3"},
        {"gb2312 from a meta tag",
         "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
         "<title>\xC1\xB4\xBD\xD3</title>",
         "text/html", "\xC1\xB4\xBD\xD3"},
        {"meta charset after the title", "<title>\xC1\xB4\xBD\xD3</title><meta charset='gbk'>", "",
         "\xC1\xB4\xBD\xD3"},
        {"header wins over meta", "<meta charset=gbk><title>caf\xE9</title>",
         "text/html;charset=\"ISO-8859-1\"", "caf\xA8\xA6"},
        {"byte-order mark wins", "\xEF\xBB\xBF<title>\xE9\x93\xBE\xE6\x8E\xA5</title>",
         "text/html; charset=gbk", "\xC1\xB4\xBD\xD3"},
        {"gb18030 four-byte sequence", "<title>\xD6\xD0\x81\x30\x8A\x31\xCE\xC4</title>",
         "text/html; charset=gb18030", "\xD6\xD0\xCE\xC4"},
        {"unknown label read as utf-8", "<title>\xE4\xB8\xAD</title>", "text/html; charset=x-odd",
         "\xD6\xD0"},
        {"no title", "<html><head></head><body>text</body></html>", "", ""},
        {"unfinished title", "<title>cut off at the limi", "", ""},
        {"blank title", "<title>  &nbsp; </title>", "", ""},
        {"not a title element", "<titles>x</titles><title>real</title>", "", "real"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(title_from_html(c.page, c.content_type), c.title) << c.name;
    }
}

TEST(PageTitle, LongTitlesAreCutWithoutSplittingACharacter) {
    std::string utf8_chinese;
    for (int i = 0; i < 200; ++i) utf8_chinese += "\xE4\xB8\xAD";  // 中
    std::string title = title_from_html("<title>" + utf8_chinese + "</title>", "");
    EXPECT_EQ(title.size(), 254u);  // 127 characters; a 128th would need 256
    EXPECT_EQ(title.substr(252), "\xD6\xD0");
    title = title_from_html("<title>a" + utf8_chinese + "</title>", "");
    EXPECT_EQ(title.size(), kMaxTitleBytes);
    EXPECT_EQ(title_from_html("<title>" + std::string(400, 'x') + "</title>", "").size(),
              kMaxTitleBytes);
}

TEST(PageTitle, CharsetLabels) {
    EXPECT_EQ(page_charset("", "text/html; charset=UTF-8"), "UTF-8");
    EXPECT_EQ(page_charset("", "text/html; charset=gb2312"), "CP936");
    EXPECT_EQ(page_charset("", "text/html; charset = GB18030"), "GB18030");
    EXPECT_EQ(page_charset("<meta charset=\"latin1\">", "text/html"), "CP1252");
    EXPECT_EQ(page_charset("", "text/html"), "UTF-8");
}

}  // namespace
}  // namespace nd::weblink
