#include "weblink/address.h"

#include <gtest/gtest.h>

namespace nd::weblink {
namespace {

TEST(WebAddress, OnlyOneWholeHttpAddressIsALink) {
    struct Case {
        std::string text;
        const char* address;  // nullptr: pasted as text
    };
    const Case cases[] = {
        {"http://example.org/", "http://example.org/"},
        {"  https://example.org/a?b=1#c \r\n", "https://example.org/a?b=1#c"},
        {"HTTPS://Example.org", "HTTPS://Example.org"},
        {"http://[::1]:8080/x", "http://[::1]:8080/x"},
        {"https://example.org/%E4%B8%AD", "https://example.org/%E4%B8%AD"},
        {"see http://example.org/", nullptr},
        {"http://example.org/ and more", nullptr},
        {"http://a/\nhttp://b/", nullptr},
        {"ftp://example.org/", nullptr},
        {"file:///etc/passwd", nullptr},
        {"javascript:alert(1)", nullptr},
        {"http://", nullptr},
        {"http:///path", nullptr},
        {"https://example.org/\xD6\xD0", nullptr},  // GBK inside
        {"http://a/\x01", nullptr},
        {"", nullptr},
        {"http://e.org/" + std::string(243, 'x'), nullptr},  // 256 bytes: too long
    };
    for (const Case& c : cases) {
        std::string address;
        bool ok = single_web_address(c.text, &address);
        EXPECT_EQ(ok, c.address != nullptr) << c.text;
        if (ok && c.address) {
            EXPECT_EQ(address, c.address);
        }
    }
    std::string address;
    std::string longest = "http://e.org/" + std::string(242, 'x');
    ASSERT_EQ(longest.size(), kMaxAddressBytes);
    EXPECT_TRUE(single_web_address(longest, &address));
}

}  // namespace
}  // namespace nd::weblink
