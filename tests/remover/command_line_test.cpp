#include "remover/front/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "remover/engine/class_registration.h"

namespace remover {
namespace {

struct Case {
    const char* commandLine;
    bool silent;
    bool removeFolders;
    std::vector<std::string> keep;  // registry text of each kept identifier, in order
};

std::vector<std::string> KeepTexts(const RemoverOptions& options) {
    std::vector<std::string> texts;
    for (const GUID& id : options.keepList) texts.push_back(GuidToText(id));
    return texts;
}

const char kA[] = "{845945F8-6993-4B85-B563-DB0116DFC434}";
const char kB[] = "{54D58948-E105-494F-BF70-DF4632A91FA0}";

TEST(ParseCommandLine, ReadsSilentFoldersAndTheKeepList) {
    const Case cases[] = {
        {"meridremover.exe", false, true, {}},
        {"\"C:\\Program Files\\Halvorix\\meridremover.exe\" /s", true, true, {}},
        {"meridremover.exe /S /F", true, false, {}},
        {"meridremover.exe /s\t/f", true, false, {}},
        {"meridremover.exe /s/f", false, true, {}},
        {"meridremover.exe /silent /sf -s", false, true, {}},
        {"meridremover.exe /s /x{845945F8-6993-4B85-B563-DB0116DFC434}", true, true, {kA}},
        // Any letter case of the braced form; order and duplicates are kept.
        {"m.exe /X{54d58948-e105-494f-bf70-df4632a91fa0} /x{845945F8-6993-4B85-B563-DB0116DFC434} "
         "/x{54D58948-E105-494F-BF70-DF4632A91FA0}",
         false, true, {kB, kA, kB}},
        // Malformed identifiers are dropped without effect on the rest.
        {"m.exe /x /x {845945F8-6993-4B85-B563-DB0116DFC434} /xnot-a-guid /f", false, false, {}},
        {"m.exe /x845945F8-6993-4B85-B563-DB0116DFC434", false, true, {}},
        {"m.exe /x{845945F8-6993-4B85-B563-DB0116DFC43}", false, true, {}},
        // A slash inside the program's path starts a token like any other.
        {"C:/s/meridremover.exe /f", false, false, {}},
        {"C:/s /f", true, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        const RemoverOptions options = ParseCommandLine(c.commandLine);
        EXPECT_EQ(options.silent, c.silent);
        EXPECT_EQ(options.removeFolders, c.removeFolders);
        EXPECT_EQ(KeepTexts(options), c.keep);
    }
}

TEST(ParseCommandLine, NullCommandLineGivesTheDefaults) {
    const RemoverOptions options = ParseCommandLine(nullptr);
    EXPECT_FALSE(options.silent);
    EXPECT_TRUE(options.removeFolders);
    EXPECT_TRUE(options.keepList.empty());
}

}  // namespace
}  // namespace remover
