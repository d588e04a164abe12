#include "remover/core/rename_section.h"

#include <gtest/gtest.h>

namespace remover_core {
namespace {

using namespace std::string_literals;

TEST(AppendRenameEntry, JoinsTheNewLineBehindTheLastEntry) {
    struct Case {
        const char* name;
        std::string section;  // as the read returns it: n characters
        std::string expected;
    };
    const Case cases[] = {
        {"no section", ""s, "NUL=C:\\PROG~FBU\\A.DLL\0\0"s},
        {"one entry", "NUL=C:\\OLD.DLL\0"s, "NUL=C:\\OLD.DLL\r\nNUL=C:\\PROG~FBU\\A.DLL\0\0"s},
        {"two entries, duplicates kept", "NUL=C:\\X\0NUL=C:\\Y\0"s,
         "NUL=C:\\X\0NUL=C:\\Y\r\nNUL=C:\\PROG~FBU\\A.DLL\0\0"s},
        {"last entry ends in CR LF", "NUL=C:\\X\r\n\0"s, "NUL=C:\\X\r\nNUL=C:\\PROG~FBU\\A.DLL\0\0"s},
        // Only the last entry counts: an earlier one's CR LF changes nothing.
        {"earlier entry ends in CR LF", "A\r\n\0B\0"s, "A\r\n\0B\r\nNUL=C:\\PROG~FBU\\A.DLL\0\0"s},
        // An entry of one character cannot end in CR LF, even after a "\r".
        {"one-character last entry", "\r\0\n\0"s, "\r\0\n\r\nNUL=C:\\PROG~FBU\\A.DLL\0\0"s},
        {"earlier join", "NUL=C:\\X\r\nNUL=C:\\Y\0"s, "NUL=C:\\X\r\nNUL=C:\\Y\r\nNUL=C:\\PROG~FBU\\A.DLL\0\0"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AppendRenameEntry(c.section, "C:\\PROG~FBU\\A.DLL"), c.expected);
    }
}

TEST(AppendRenameEntry, WritesNothingWithoutAShortPath) {
    EXPECT_EQ(AppendRenameEntry("", ""), std::nullopt);
    EXPECT_EQ(AppendRenameEntry("NUL=C:\\X\0"s, ""), std::nullopt);
}

TEST(AppendRenameEntry, GrowsWithASectionOfAnySize) {
    std::string section;
    for (int i = 0; i < 4000; ++i) section += "NUL=C:\\WINDOWS\\TEMP\\FILE" + std::to_string(i) + ".TMP" + '\0';
    const auto result = AppendRenameEntry(section, "C:\\NEW.DLL");
    ASSERT_TRUE(result);
    EXPECT_GT(section.size(), 32768u);
    EXPECT_EQ(result->substr(0, section.size() - 1), section.substr(0, section.size() - 1));
    EXPECT_EQ(result->substr(section.size() - 1), "\r\nNUL=C:\\NEW.DLL\0\0"s);
}

}  // namespace
}  // namespace remover_core
