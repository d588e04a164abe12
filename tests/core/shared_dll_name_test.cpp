#include "remover/core/shared_dll_name.h"

#include <gtest/gtest.h>

namespace remover_core {
namespace {

TEST(IsInsideFolder, TakesOnlyPathsBelowTheFolder) {
    constexpr const char* kFolder = "C:\\Program Files\\Common Files\\Halvorix\\Meridel";
    struct Case {
        const char* name;
        bool inside;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Common Files\\Halvorix\\Meridel\\engine.dll", true},
        {"C:\\Program Files\\Common Files\\Halvorix\\Meridel\\Sub\\deep.dll", true},
        {"c:\\program files\\COMMON FILES\\halvorix\\MERIDEL\\engine.dll", true},
        {"C:\\Program Files\\Common Files\\Halvorix\\Meridel\\", true},
        // Another product's entries that merely start with the folder's text.
        {"C:\\Program Files\\Common Files\\Halvorix\\Meridel Tools\\x.dll", false},
        {"C:\\Program Files\\Common Files\\Halvorix\\Meridel2.dll", false},
        {"C:\\Program Files\\Common Files\\Halvorix\\Meridel/x.dll", false},
        // The folder's own name, and anything shorter or elsewhere.
        {"C:\\Program Files\\Common Files\\Halvorix\\Meridel", false},
        {"C:\\Program Files\\Common Files\\Halvorix", false},
        {"C:\\Program Files\\Common Files\\Halvorix\\engine.dll", false},
        {"D:\\Program Files\\Common Files\\Halvorix\\Meridel\\engine.dll", false},
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsInsideFolder(c.name, kFolder), c.inside);
    }
}

TEST(IsInsideFolder, AnEmptyFolderMatchesNothing) {
    EXPECT_FALSE(IsInsideFolder("\\x.dll", ""));
    EXPECT_FALSE(IsInsideFolder("", ""));
}

}  // namespace
}  // namespace remover_core
