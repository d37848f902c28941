#include <gtest/gtest.h>

#include "platform/types.h"
#include "tests/contract/contract.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace qm::contract {
namespace {

class ResourcesContract : public ::testing::TestWithParam<BackendFactory> {
protected:
    void SetUp() override { backend_ = GetParam().make(); }
    Platform& p() { return backend_->platform(); }
    std::unique_ptr<Backend> backend_;
};

TEST_P(ResourcesContract, ProgramResourcesAreFoundByTypeAndNameWithoutRegardToCase) {
    auto exact = p().resources.find("QUILLMARKLOGOPNG", "BILDRESSOURCEN", lang::German);
    ASSERT_TRUE(exact);
    auto mixed = p().resources.find("QuillmarkLogoPNG", "BildRessourcen");
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->size, exact->size);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(exact->data) + 1, 3), "PNG");
    EXPECT_FALSE(p().resources.find("QUILLMARKLOGOPNG", "GIBTESNICHT"));
    EXPECT_FALSE(p().resources.find("QUILLMARKLOGOPNG", "BILDRESSOURCEN", 1033)) << "only German is stored";
}

TEST_P(ResourcesContract, PicturesDecodeThroughThePlatformAndGarbageIsRefused) {
    auto png = p().resources.find("FIREBIRDLOGOPNG", "BILDRESSOURCEN");
    ASSERT_TRUE(png);
    auto logo = p().ui.decodePicture(png->data, png->size, PictureFormat::Png);
    EXPECT_EQ(logo->width(), 122);
    EXPECT_EQ(logo->height(), 122);
    auto bmp = p().resources.find("FORMBITMAP", "IMBILDRECHTS");
    ASSERT_TRUE(bmp);
    auto rechts = p().ui.decodePicture(bmp->data, bmp->size, PictureFormat::Bmp);
    EXPECT_EQ(rechts->width(), 69);
    EXPECT_EQ(rechts->height(), 312);
    const uint8_t garbage[64] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    EXPECT_THROW(p().ui.decodePicture(garbage, sizeof garbage, PictureFormat::Png), Exception);
}

TEST_P(ResourcesContract, FolderExistence) {
    IFiles& f = p().files;
    EXPECT_TRUE(f.directoryExists("C:\\Windows"));
    EXPECT_TRUE(f.directoryExists("c:\\windows\\"));
    EXPECT_TRUE(f.directoryExists("C:\\"));
    EXPECT_FALSE(f.directoryExists("C:\\Gibt\\Es\\Nicht"));
    EXPECT_FALSE(f.directoryExists(""));
}

TEST_P(ResourcesContract, WithoutAPrinterThereAreNoMetricsAndPrintingRaises) {
    if (p().printer.metrics()) GTEST_SKIP() << "a printer is installed here";
    struct Viewer : TForm {
        explicit Viewer(Platform& pl) : TForm(pl) { loaded(); }
        TRichEdit text{*this, nullptr, {0, 0, 200, 100}, true, true, true};
    } v(p());
    const std::string rtf = "{\\rtf1\\ansi Probe\\par}";
    v.text.loadRichText({rtf.begin(), rtf.end()});
    EXPECT_THROW(v.text.print("Probe"), Exception);
}

INSTANTIATE_TEST_SUITE_P(Backends, ResourcesContract, ::testing::ValuesIn(backends()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace qm::contract
