#include <gtest/gtest.h>

#include "platform/full_path.h"
#include "tests/contract/full_path_cases.h"

namespace qm {
namespace {

TEST(FullPath, EveryCaseExpandsAsGetFullPathNameDoes) {
    for (const auto& c : contract::fullPathCases())
        EXPECT_EQ(expandFullPath(c.input, contract::kCwd), c.expected) << c.input;
}

TEST(FullPath, CurrentFolderOnAnotherDriveOrShare) {
    EXPECT_EQ(expandFullPath("C:datei.txt", "Z:\\work"), "C:\\datei.txt");
    EXPECT_EQ(expandFullPath("z:datei.txt", "Z:\\work"), "Z:\\work\\datei.txt");
    EXPECT_EQ(expandFullPath("\\x.exe", "Z:\\work\\tief"), "Z:\\x.exe");
    EXPECT_EQ(expandFullPath("..\\..\\..\\x", "C:\\a"), "C:\\x");
    EXPECT_EQ(expandFullPath("x", "C:\\"), "C:\\x");
    EXPECT_EQ(expandFullPath("\\x", "\\\\srv\\freigabe\\ordner"), "\\\\srv\\freigabe\\x");
    EXPECT_EQ(expandFullPath("..\\..\\x", "\\\\srv\\freigabe\\ordner"), "\\\\srv\\freigabe\\x");
    EXPECT_EQ(expandFullPath("", "C:\\a"), "");
}

}  // namespace
}  // namespace qm
