#include <gtest/gtest.h>

#include "platform/types.h"
#include "tests/host/sim_controls.h"
#include "tests/host/sim_fixture.h"
#include "wizard/install_unit50.h"
#include "wizard/png_bmp_loader.h"

namespace qm {
namespace {

using test::user;
using Logos = test::SimTest;

TEST_F(Logos, BothLogosAndTheRightPictureComeFromTheProgramsResources) {
    TfmInstall fm(m.platform);
    EXPECT_TRUE(m.user.shown.empty());
    for (TImage* bild : {&fm.imQuillmarkLogo, &fm.imFirebirdLogo}) {
        ASSERT_TRUE(bild->picture());
        EXPECT_EQ(bild->picture()->width(), bild->picture()->height()) << "square: fills 61 x 61 proportionally";
        EXPECT_EQ(user(*bild).picture, bild->picture());
    }
    ASSERT_TRUE(fm.imBildRechts.picture());
    EXPECT_EQ(fm.imBildRechts.picture()->width(), 69);
    EXPECT_EQ(fm.imBildRechts.picture()->height(), 312);
    auto bmp = m.resources.find("FORMBITMAP", "IMBILDRECHTS");
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->data[28], 24) << "24 bits per pixel";
}

TEST_F(Logos, NamesAndTypesMatchWithoutRegardToCase) {
    TfmInstall fm(m.platform);
    loadPngRessource(fm.imQuillmarkLogo, "bildressourcen", "quillmarklogo");
    EXPECT_TRUE(fm.imQuillmarkLogo.picture());
    EXPECT_THROW(loadPngRessource(fm.imQuillmarkLogo, "BildRessourcen", "Fehlt"), Exception);
}

TEST_F(Logos, AMissingLogoReachesTheErrorDialogAndTheWindowIsStillCreated) {
    m.resources.remove("FIREBIRDLOGOPNG", "BildRessourcen");
    m.user.answer(mr::Ok);
    TfmInstall fm(m.platform);
    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_EQ(dialog(0).kind, sim::DialogRecord::Kind::Exception);
    EXPECT_EQ(dialog(0).text, "Ressource BildRessourcen vom Typ FirebirdLogoPNG wurde nicht gefunden");
    EXPECT_TRUE(fm.imQuillmarkLogo.picture()) << "loaded before the error";
    fm.show();
    EXPECT_TRUE(fm.peer().visible());
}

TEST_F(Logos, ABrokenPictureIsAnErrorToo) {
    std::vector<uint8_t> kaputt = {0x89, 'P', 'N', 'G', 0, 0, 0, 0};
    m.resources.add("QUILLMARKLOGOPNG", "BILDRESSOURCEN", kaputt);
    m.user.answer(mr::Ok);
    TfmInstall fm(m.platform);
    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_EQ(dialog(0).text, "Ungültiges PNG-Bild");
}

}  // namespace
}  // namespace qm
