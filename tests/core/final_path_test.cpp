#include "remover/core/final_path.h"

#include <gtest/gtest.h>

namespace remover_core {
namespace {

TEST(FinalPath, PlainFormAndComparison) {
    struct Case {
        const char* path;
        const char* finalPath;  // as GetFinalPathNameByHandle gives it
        const char* plain;
        bool same;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Halvorix\\x.dll", "\\\\?\\C:\\Program Files\\Halvorix\\x.dll",
         "C:\\Program Files\\Halvorix\\x.dll", true},
        {"c:\\program files\\HALVORIX\\X.DLL", "\\\\?\\C:\\Program Files\\Halvorix\\x.dll",
         "C:\\Program Files\\Halvorix\\x.dll", true},
        // A link on the way, or the file itself a link: another path.
        {"C:\\Meridel\\engine.dll", "\\\\?\\C:\\users\\bob\\evil.dll", "C:\\users\\bob\\evil.dll", false},
        {"C:\\Meridel\\engine.dll", "\\\\?\\C:\\Meridel\\engine.dll2", "C:\\Meridel\\engine.dll2", false},
        {"\\\\server\\share\\x.dll", "\\\\?\\UNC\\server\\share\\x.dll", "\\\\server\\share\\x.dll", true},
        {"C:\\x.dll", "\\\\?\\UNC\\server\\share\\x.dll", "\\\\server\\share\\x.dll", false},
        {"", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.finalPath);
        EXPECT_EQ(PlainFinalPath(c.finalPath), c.plain);
        EXPECT_EQ(FinalPathIsPath(c.path, PlainFinalPath(c.finalPath)), c.same);
    }
}

}  // namespace
}  // namespace remover_core
