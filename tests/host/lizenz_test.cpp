#include <gtest/gtest.h>

#include "tests/host/sim_controls.h"
#include "tests/host/sim_fixture.h"
#include "wizard/install_unit50.h"
#include "wizard/lizenz.h"

namespace qm {
namespace {

using test::user;

class Lizenz : public test::SimTest {
protected:
    // The open viewer as the simulated user sees it.
    static sim::SimControlPeer& control(sim::SimFormPeer& w, const std::string& text) {
        for (auto* c : w.controls)
            if (c->currentText() == text) return *c;
        throw std::logic_error("no control " + text);
    }
    static sim::SimControlPeer& richText(sim::SimFormPeer& w) {
        for (auto* c : w.controls)
            if (c->style.kind == ControlKind::RichText) return *c;
        throw std::logic_error("no rich text");
    }
};

TEST_F(Lizenz, MarginsFromThePrinterWithRoundingHalfToEven) {
    struct Fall {
        PrinterMetrics drucker;
        PageRect erwartet;
    };
    const std::vector<Fall> faelle = {
        // 600 dpi with offsets of 100 pixels on an A4 page.
        {{600, 600, 100, 100, 4760, 6814}, {500, 380, 4760 - 700, 6814 - 400}},
        // 300 dpi, no offsets.
        {{300, 300, 0, 0, 2480, 3508}, {300, 240, 2180, 3358}},
        // Halves go to the even neighbour: 0.5 * 5 = 2.5 -> 2, 0.5 * 7 = 3.5 -> 4, 0.8 * 5 = 4.
        {{5, 5, 0, 0, 100, 100}, {5, 4, 95, 98}},
        {{7, 15, 1, 2, 100, 100}, {6, 10, 92, 90}},
    };
    for (const auto& fall : faelle) {
        m.printer.installed = fall.drucker;
        TfmLizenz fm(m.platform);
        fm.setDruckRaender(fm.reLizenz, 1.0, 1.0, 0.8, 0.5);
        EXPECT_EQ(fm.reLizenz.pageRect, fall.erwartet) << fall.drucker.dpiX << " dpi";
    }
    EXPECT_EQ(rundeHalbGerade(2.5), 2);
    EXPECT_EQ(rundeHalbGerade(3.5), 4);
    EXPECT_EQ(rundeHalbGerade(-2.5), -2);
    EXPECT_EQ(rundeHalbGerade(2.5000001), 3);
    EXPECT_EQ(rundeHalbGerade(480.0), 480);
}

TEST_F(Lizenz, ViewerShowsTheLicenceAndPrintsItAsOneJobIntoThePageRectangle) {
    m.printer.installed = PrinterMetrics{600, 600, 100, 100, 4760, 6814};
    TfmInstall fm(m.platform);
    m.ui.whileModal([&](sim::SimFormPeer& w) {
        EXPECT_EQ(w.caption(), "Lizenzbedingungen");
        EXPECT_EQ(w.clientSize(), (Size{562, 484}));
        auto& text = richText(w);
        EXPECT_TRUE(text.style.readOnly);
        EXPECT_TRUE(text.style.hScroll && text.style.vScroll);
        const std::string rtf(text.richText.begin(), text.richText.end());
        EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
        EXPECT_NE(rtf.find("Lizenzbedingungen f\\'fcr Quillmark 5.0"), std::string::npos);
        control(w, "&Drucken").click();
        control(w, "&Schließen").click();
    });
    user(fm.buLizenzbedingungen).click();
    ASSERT_EQ(m.printer.jobs.size(), 1u);
    EXPECT_EQ(m.printer.jobs[0].title, "Lizenzbedingungen");
    EXPECT_EQ(m.printer.jobs[0].page, (PageRect{500, 380, 4060, 6414}));
    EXPECT_FALSE(m.printer.jobs[0].document.empty());
    EXPECT_TRUE(m.ui.modalProblems.empty());
}

TEST_F(Lizenz, WithoutAPrinterTheViewerOpensAndPrintingSaysSo) {
    TfmInstall fm(m.platform);
    m.user.answer(mr::Ok);
    m.ui.whileModal([&](sim::SimFormPeer& w) {
        EXPECT_FALSE(richText(w).richText.empty()) << "the text is there all the same";
        control(w, "&Drucken").click();
        EXPECT_TRUE(w.modal) << "the viewer stays open";
        w.pressKey(vk::Escape);
    });
    user(fm.buLizenzbedingungen).click();
    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_EQ(dialog(0).kind, sim::DialogRecord::Kind::MessageDlg);
    EXPECT_EQ(dialog(0).text, TfmLizenz::meldungKeinDrucker());
    EXPECT_TRUE(m.printer.jobs.empty());
}

TEST_F(Lizenz, APrintingErrorReachesTheErrorDialogAndTheViewerStaysOpen) {
    m.printer.installed = PrinterMetrics{300, 300, 0, 0, 2480, 3508};
    const std::string grund = "Der Druckauftrag \"Lizenzbedingungen\" ist fehlgeschlagen";
    m.printer.failure = grund;
    TfmInstall fm(m.platform);
    m.user.answer(mr::Ok);
    m.ui.whileModal([&](sim::SimFormPeer& w) {
        control(w, "&Drucken").click();
        EXPECT_TRUE(w.modal);
        w.userClose();
    });
    user(fm.buLizenzbedingungen).click();
    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_EQ(dialog(0).kind, sim::DialogRecord::Kind::Exception);
    EXPECT_EQ(dialog(0).text, grund);
    EXPECT_TRUE(m.printer.jobs.empty());
}

TEST_F(Lizenz, EscapeSchliessenAndTheCloseButtonCloseAndTheCheckBoxKeepsItsState) {
    TfmInstall fm(m.platform);
    user(fm.cbLizenzbedingungen).click();
    ASSERT_TRUE(fm.cbLizenzbedingungen.checked());
    std::vector<int> ergebnisse;
    const std::vector<std::function<void(sim::SimFormPeer&)>> wege = {
        [](sim::SimFormPeer& w) {
            richText(w).focusByUser();
            w.pressKey(vk::Escape);
        },
        [](sim::SimFormPeer& w) { control(w, "&Schließen").click(); },
        [](sim::SimFormPeer& w) { w.userClose(); },
    };
    for (auto& weg : wege) {
        m.ui.whileModal([&](sim::SimFormPeer& w) {
            EXPECT_THROW(user(fm.buInstallieren).click(), std::logic_error) << "the main window waits";
            weg(w);
            EXPECT_FALSE(w.modal);
        });
        user(fm.buLizenzbedingungen).click();
        EXPECT_TRUE(fm.cbLizenzbedingungen.checked());
    }
    EXPECT_TRUE(m.ui.modalProblems.empty());
    // Every viewer was released after it closed: only the main window's controls remain.
    EXPECT_EQ(user(fm).controls.size(), fm.controls().size());
}

TEST_F(Lizenz, TheTextFillsTheResizedViewerAboveTheBottomPanel) {
    TfmLizenz fm(m.platform);
    fm.peer().setBounds({0, 0, 800 + sim::SimFormPeer::FrameWidth, 600 + sim::SimFormPeer::FrameHeight});
    EXPECT_EQ(fm.reLizenz.bounds(), (Rect{0, 0, 800, 559}));
    EXPECT_EQ(fm.paUnten.bounds(), (Rect{0, 559, 800, 41}));
    EXPECT_EQ(fm.buDrucken.bounds(), (Rect{16, 8, 75, 25}));
    EXPECT_EQ(fm.buSchliessen.bounds(), (Rect{472, 8, 75, 25})) << "anchored left like its neighbour";
}

TEST_F(Lizenz, EscapeTypedInTheTextClosesWithOk) {
    TfmLizenz fm(m.platform);
    char key = 'a';
    fm.reLizenzKeyPress(key);
    EXPECT_EQ(fm.modalResult(), mr::None);
    m.ui.whileModal([&](sim::SimFormPeer&) {
        char esc = 27;
        fm.reLizenzKeyPress(esc);
    });
    EXPECT_EQ(fm.showModal(), mr::Ok);
}

TEST_F(Lizenz, AMissingLicenceResourceIsReportedAndTheViewerStillOpens) {
    m.resources.remove("LIZENZRTF", "LIZENZ");
    m.printer.installed = PrinterMetrics{600, 600, 100, 100, 4760, 6814};
    TfmLizenz fm(m.platform);
    m.user.answer(mr::Ok);
    bool offen = false;
    m.ui.whileModal([&](sim::SimFormPeer& w) {
        offen = true;
        w.userClose();
    });
    fm.showModal();
    EXPECT_TRUE(offen);
    ASSERT_EQ(m.user.shown.size(), 1u);
    EXPECT_EQ(dialog(0).text, "Ressource LIZENZ vom Typ LIZENZRTF wurde nicht gefunden");
}

TEST_F(Lizenz, TheResourceIsFoundWithoutRegardToCase) {
    auto a = m.resources.find("lizenzrtf", "Lizenz", lang::Any);
    auto b = m.resources.find("LIZENZRTF", "LIZENZ", lang::German);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->data, b->data);
}

}  // namespace
}  // namespace qm
