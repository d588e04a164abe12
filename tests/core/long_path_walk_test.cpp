#include "remover/core/long_path_walk.h"

#include <gtest/gtest.h>

#include <map>

namespace remover_core {
namespace {

// A disk that knows a few prefixes; everything else is missing.
struct FakeDisk {
    std::map<std::string, std::string> longNames;
    std::vector<std::string> lookups;
    std::string operator()(const std::string& prefix) {
        lookups.push_back(prefix);
        auto found = longNames.find(prefix);
        return found != longNames.end() ? found->second : std::string(LastPathComponent(prefix));
    }
};

TEST(WalkLongPath, ExpandsEachExistingComponentFromTheLast) {
    FakeDisk disk;
    disk.longNames = {{"C:\\PROGRA~1", "Program Files"},
                      {"C:\\PROGRA~1\\HALVOR~1", "Halvorix"},
                      {"C:\\PROGRA~1\\HALVOR~1\\MERIDE~1.DLL", "Meridel Engine.dll"}};
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\PROGRA~1\\HALVOR~1\\MERIDE~1.DLL", "C:\\Program Files\\Halvorix\\Meridel Engine.dll"},
        {"C:\\PROGRA~1\\HALVOR~1\\missing.dll", "C:\\Program Files\\Halvorix\\missing.dll"},
        {"C:\\PROGRA~1\\", "C:\\Program Files\\"},
        // A slash separates like a backslash and is written back as one.
        {"C:/PROGRA~1\\HALVOR~1/MERIDE~1.DLL", "C:\\Program Files\\Halvorix\\Meridel Engine.dll"},
        {"C:\\x\\j/evil.dll", "C:\\x\\j\\evil.dll"},
        {"C:\\", "C:\\"},
        {"engine.dll", "engine.dll"},
        {"", ""},
        {"\\", "\\"},
        {"\\\\server\\share\\file", "\\\\server\\share\\file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(WalkLongPath(c.path, std::ref(disk)), c.expected);
    }
}

TEST(WalkLongPath, LooksUpEveryPrefixEndingInAComponent) {
    FakeDisk disk;
    WalkLongPath("C:\\a\\b.dll", std::ref(disk));
    EXPECT_EQ(disk.lookups, (std::vector<std::string>{"C:\\a\\b.dll", "C:\\a"}));
    disk.lookups.clear();
    WalkLongPath("\\\\srv\\share\\f", std::ref(disk));
    EXPECT_EQ(disk.lookups, (std::vector<std::string>{"\\\\srv\\share\\f", "\\\\srv\\share", "\\\\srv"}));
    disk.lookups.clear();
    WalkLongPath("b.dll", std::ref(disk));
    EXPECT_TRUE(disk.lookups.empty());
}

TEST(WalkLongPath, AcceptsAtMost260Characters) {
    FakeDisk disk;
    const std::string fits = "C:\\" + std::string(257, 'a');
    const std::string tooLong = fits + "a";
    EXPECT_EQ(WalkLongPath(fits, std::ref(disk)), fits);
    EXPECT_EQ(WalkLongPath(tooLong, std::ref(disk)), std::nullopt);
}

TEST(HasSearchWildcard, FindsEveryWildcardTheSearchHonours) {
    for (const char* name : {"*.dll", "a?.dll", "a<", "b>", "\"x"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(HasSearchWildcard(name));
    }
    EXPECT_FALSE(HasSearchWildcard("Meridel Engine (1).dll"));
}

}  // namespace
}  // namespace remover_core
