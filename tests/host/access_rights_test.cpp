// Full access for all users on the data folders, and the walk below them.
#include <algorithm>

#include "install/access_rights.h"
#include "tests/host/sim_fixture.h"

namespace qm {
namespace {

using Entry = sim::SimSecurity::Entry;

const std::vector<Entry> kFullAccess{
    {0x10000000, 2, 3, 0, 5, "S-1-1-0", false},
    {0x10000000, 2, 3, 0, 2, "S-1-5-32-544", false},
};
const std::vector<Entry> kOld{{0x120089, 1, 0, 0, 1, "S-1-5-21-1-2-3-1001", false}};

class AccessRightsTest : public test::SimTest {
protected:
    void TearDown() override {
        EXPECT_EQ(m.security.liveSids(), 0u) << "both SIDs are freed";
        EXPECT_EQ(m.security.liveAcls(), 0u) << "the access list is freed";
        EXPECT_EQ(m.files.openHandles(), 0u) << "every search is closed";
        SimTest::TearDown();
    }
    std::vector<std::string> touched() const {
        std::vector<std::string> out;
        for (const auto& c : m.security.calls) out.push_back(c.path);
        return out;
    }
    const std::string dir = "C:\\QM\\Dokumentablage";
};

TEST_F(AccessRightsTest, AnEmptyFolderGetsBothEntriesThroughExactlyTheseArguments) {
    m.files.makeDirectories(dir);
    EXPECT_TRUE(setZugriffsrechte(m.platform, dir, true));
    ASSERT_EQ(m.security.calls.size(), 1u);
    const auto& c = m.security.calls[0];
    EXPECT_EQ(c.path, dir);
    EXPECT_EQ(c.objectType, 1u);     // SE_FILE_OBJECT
    EXPECT_EQ(c.securityInfo, 4u);   // DACL_SECURITY_INFORMATION, not protected
    EXPECT_EQ(c.owner, "");
    EXPECT_EQ(c.group, "S-1-1-0");   // Everyone in the group position, without effect
    EXPECT_TRUE(c.daclGiven);
    EXPECT_FALSE(c.saclGiven);
    EXPECT_EQ(c.dacl, kFullAccess);
    EXPECT_EQ(m.security.explicitOf(dir), kFullAccess);
}

TEST_F(AccessRightsTest, TheWalkReachesHiddenDocumentsButNoNameThatBeginsWithADot) {
    m.files.write(dir + "\\Brief.doc", "a");
    m.files.write(dir + "\\versteckt.doc", "b");
    m.files.setAttributes(dir + "\\versteckt.doc", fileattr::Hidden | fileattr::System | fileattr::ReadOnly);
    m.files.write(dir + "\\Patienten\\2024\\Rechnung.pdf", "c");
    m.files.write(dir + "\\.einstellungen", "d");
    m.files.write(dir + "\\.git\\config", "e");
    m.security.setExplicit(dir + "\\.einstellungen", kOld);
    EXPECT_TRUE(setZugriffsrechte(m.platform, dir, true));
    EXPECT_EQ(touched(), (std::vector<std::string>{dir, dir + "\\Brief.doc", dir + "\\Patienten",
                                                   dir + "\\Patienten\\2024", dir + "\\Patienten\\2024\\Rechnung.pdf",
                                                   dir + "\\versteckt.doc"}));
    EXPECT_EQ(m.security.explicitOf(dir + "\\versteckt.doc"), kFullAccess);
    EXPECT_EQ(m.security.explicitOf(dir + "\\.einstellungen"), kOld);
    EXPECT_TRUE(m.security.explicitOf(dir + "\\.git\\config").empty());
}

TEST_F(AccessRightsTest, AFileThatCannotBeChangedEndsOnlyTheWalkOfItsFolder) {
    // In name order: A.doc, B-gesperrt.doc, C.doc, D-Ordner\x.doc; beside it Z-Ordner\y.doc.
    m.files.write(dir + "\\Akten\\A.doc", "1");
    m.files.write(dir + "\\Akten\\B-gesperrt.doc", "2");
    m.files.write(dir + "\\Akten\\C.doc", "3");
    m.files.write(dir + "\\Akten\\D-Ordner\\x.doc", "4");
    m.files.write(dir + "\\Z-Ordner\\y.doc", "5");
    for (const char* p : {"\\Akten\\C.doc", "\\Akten\\D-Ordner", "\\Akten\\D-Ordner\\x.doc"})
        m.security.setExplicit(dir + p, kOld);
    m.security.deny(dir + "\\Akten\\B-gesperrt.doc");

    EXPECT_TRUE(setZugriffsrechte(m.platform, dir, true)) << "only the folder itself decides";
    EXPECT_EQ(m.security.explicitOf(dir + "\\Akten\\A.doc"), kFullAccess);
    for (const char* p : {"\\Akten\\C.doc", "\\Akten\\D-Ordner", "\\Akten\\D-Ordner\\x.doc"})
        EXPECT_EQ(m.security.explicitOf(dir + p), kOld) << p;
    EXPECT_EQ(m.security.explicitOf(dir + "\\Z-Ordner\\y.doc"), kFullAccess) << "the parent's walk goes on";
}

TEST_F(AccessRightsTest, AFolderThatCannotBeChangedIsNotEnteredWhileTheTopFolderStillIsWalked) {
    m.files.write(dir + "\\Gesperrt\\innen.doc", "1");
    m.files.write(dir + "\\Offen.doc", "2");
    m.security.deny(dir + "\\Gesperrt");
    m.security.deny(dir);
    EXPECT_FALSE(setZugriffsrechte(m.platform, dir, true)) << "the folder itself failed";
    EXPECT_EQ(touched(), (std::vector<std::string>{dir, dir + "\\Gesperrt", dir + "\\Offen.doc"}));
    EXPECT_EQ(m.security.explicitOf(dir + "\\Offen.doc"), kFullAccess);
}

TEST_F(AccessRightsTest, WithoutTheRecursiveFlagOnlyTheFolderChanges) {
    m.files.write(dir + "\\Brief.doc", "a");
    EXPECT_TRUE(setZugriffsrechte(m.platform, dir, false));
    EXPECT_EQ(touched(), std::vector<std::string>{dir});
}

TEST_F(AccessRightsTest, AMissingFolderIsFalseWithoutAMessage) {
    EXPECT_FALSE(setZugriffsrechte(m.platform, "C:\\QM\\fehlt", true));
    EXPECT_EQ(m.security.calls.size(), 1u);
    EXPECT_TRUE(m.user.shown.empty());
}

TEST_F(AccessRightsTest, AListThatCannotBeBuiltIsReportedOnceAndChangesNothing) {
    m.files.makeDirectories(dir);
    m.security.entriesInAclError = 1337;
    m.user.answer(mr::Ok);
    EXPECT_FALSE(setZugriffsrechte(m.platform, dir, true));
    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_EQ(dialog(0).kind, sim::DialogRecord::Kind::MessageBox);
    EXPECT_EQ(dialog(0).text, "Error Setting ACL Values:1337");
    EXPECT_EQ(dialog(0).caption, "");
    EXPECT_EQ(dialog(0).flags, 0u);  // MB_OK, no owner
    EXPECT_TRUE(m.security.calls.empty());
}

TEST_F(AccessRightsTest, ASidThatCannotBeBuiltFailsSilently) {
    m.files.makeDirectories(dir);
    m.security.sidFails = true;
    EXPECT_FALSE(setZugriffsrechte(m.platform, dir, true));
    EXPECT_TRUE(m.user.shown.empty());
    EXPECT_TRUE(m.security.calls.empty());
}

}  // namespace
}  // namespace qm
