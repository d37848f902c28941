#include <gtest/gtest.h>

#include "tests/host/sim_controls.h"
#include "tests/host/sim_fixture.h"
#include "wizard/install_unit50.h"

namespace qm {
namespace {

using test::user;

const char* const kAbschlussOhneVista =
    "Wenn alle Programmteile erfolgreich installiert wurden,\r\n"
    "können Sie nun mit der Arbeit mit Quillmark beginnen.\r\n\r\n"
    "Schließen Sie dazu dieses Fenster und starten Sie Quillmark.\r\n\r\n"
    "Bei Problemen mit der Installation fragen Sie Ihren\r\n"
    "Administrator oder wenden Sie sich an \r\n"
    "support@tessarwind.de.";

const char* const kVistaAbsatz =
    "Wichtig: Unter Vista, Windows 7 oder höher müssen Sie das\r\n"
    "Programm das erste Mal mit Administratorrechten starten.\r\n"
    "Klicken Sie dazu mit der rechten Maustaste auf das\r\n"
    "Programmsymbol auf dem Desktop und wählen Sie\r\n"
    "'Als Administrator ausführen'.\r\n\r\n";

std::string abschlussMitVista() {
    std::string s = kAbschlussOhneVista;
    s.insert(s.find("Bei Problemen"), kVistaAbsatz);
    return s;
}

class WizardSteps : public test::SimTest {
protected:
    struct Zustand {
        int schritt;
        bool anwendung, server, unterOptionen;
        bool zurueck, ueberspringen;
        std::string knopf;
        bool operator==(const Zustand&) const = default;
    };
    static Zustand zustand(TfmInstall& f) {
        auto alle = [](std::initializer_list<TControl*> cs, bool on) {
            for (TControl* c : cs)
                if (c->enabled() != on) return false;
            return true;
        };
        bool anw = f.laKomponenteQuillmark.enabled();
        bool srv = f.laKomponenteFirebird.enabled();
        EXPECT_TRUE(alle({&f.laKomponenteQuillmark, &f.laZielverzeichnisQM, &f.JvdeQMInstallDir, &f.paProgressBarQM,
                          &f.JvSpecialProgressQM, &f.laQMStatus},
                         anw))
            << "the application group switches as one";
        EXPECT_TRUE(alle({&f.laKomponenteFirebird, &f.laFirebirdSchonVorhanden, &f.rbIBEinzelplatz, &f.rbIBNetz}, srv))
            << "the server group switches as one";
        EXPECT_EQ(f.rbIBNetzServer.enabled(), f.rbIBNetzClient.enabled());
        // What the user sees must agree with the control objects.
        EXPECT_EQ(user(f.buZurueck).visible, f.buZurueck.visible());
        EXPECT_EQ(user(f.buInstallieren).currentText(), f.buInstallieren.caption());
        return {f.schritt, anw, srv, f.rbIBNetzServer.enabled(), f.buZurueck.visible(), f.buUeberspringen.visible(),
                f.buInstallieren.caption()};
    }
    size_t finalMessages() const {
        size_t n = 0;
        for (auto& d : m.user.shown) n += d.kind == sim::DialogRecord::Kind::MessageBox && d.caption == "Information";
        return n;
    }
};

TEST_F(WizardSteps, StepMachineWithSkipAndBack) {
    TfmInstall f(m.platform);
    const Zustand eins{1, true, false, false, false, true, "Installieren >"};
    const Zustand zwei{2, false, true, false, true, true, "Installieren >"};
    const Zustand drei{3, false, false, false, true, false, "Schließen"};
    EXPECT_EQ(zustand(f), eins);

    struct Schritt {
        TButton* knopf;
        Zustand danach;
        size_t meldungen;  // final messages shown so far
        std::vector<std::string> log;
    };
    const std::string skip1 = "Installation von Quillmark übersprungen";
    const std::string skip2 = "Installation des Datenbank-Servers übersprungen";
    const std::vector<Schritt> ablauf = {
        {&f.buUeberspringen, zwei, 0, {skip1}},
        {&f.buZurueck, eins, 0, {skip1}},
        {&f.buUeberspringen, zwei, 0, {skip1, skip1}},
        {&f.buUeberspringen, drei, 1, {skip1, skip1, skip2}},
        {&f.buZurueck, zwei, 1, {skip1, skip1, skip2}},
        {&f.buUeberspringen, drei, 2, {skip1, skip1, skip2, skip2}},
        {&f.buZurueck, zwei, 2, {skip1, skip1, skip2, skip2}},
        {&f.buZurueck, eins, 2, {skip1, skip1, skip2, skip2}},
    };
    for (size_t i = 0; i < ablauf.size(); ++i) {
        SCOPED_TRACE("click " + std::to_string(i) + ": " + ablauf[i].knopf->caption());
        if (ablauf[i].danach.schritt == 3) m.user.answer(mr::Ok);
        user(*ablauf[i].knopf).click();
        EXPECT_EQ(zustand(f), ablauf[i].danach);
        EXPECT_EQ(finalMessages(), ablauf[i].meldungen);
        EXPECT_EQ(f.meFeedback.lines(), ablauf[i].log);
    }
    // Hidden buttons cannot be pressed: back in step 1, skip in step 3.
    EXPECT_THROW(user(f.buZurueck).click(), std::logic_error);
}

TEST_F(WizardSteps, SkipAndBackDoNothingInTheStepsWhereTheirButtonIsHidden) {
    TfmInstall f(m.platform);
    f.buZurueckClick();
    EXPECT_EQ(f.schritt, 1);
    m.user.answer(mr::Ok);
    f.setSchritt(3);
    f.buUeberspringenClick();
    EXPECT_EQ(f.schritt, 3);
    EXPECT_TRUE(f.meFeedback.lines().empty());
    EXPECT_EQ(finalMessages(), 1u);
}

TEST_F(WizardSteps, FinalMessageIsAPlainInformationBoxWithTheVistaParagraphOnlyFromVistaOn) {
    struct Fall {
        std::set<std::string> exports;
        std::string text;
    };
    for (const auto& fall : {Fall{{"GetLocaleInfoEx"}, abschlussMitVista()},
                             Fall{{"GetNativeSystemInfo"}, kAbschlussOhneVista}}) {
        sim::SimMachine mm;
        mm.kernel.exports = fall.exports;
        TfmInstall f(mm.platform);
        mm.user.answer(mr::Ok);
        f.setSchritt(3);
        ASSERT_EQ(mm.user.shown.size(), 1u);
        const auto& d = mm.user.shown[0];
        EXPECT_EQ(d.kind, sim::DialogRecord::Kind::MessageBox);
        EXPECT_EQ(d.caption, "Information");
        EXPECT_EQ(d.flags, 0x12040u);
        EXPECT_EQ(d.text, fall.text);
    }
    EXPECT_EQ(TfmInstall::meldungAbschluss(true), abschlussMitVista());
}

TEST_F(WizardSteps, EveryStepChangeEmptiesTheStatusLabel) {
    TfmInstall f(m.platform);
    for (int s : {2, 1, 3, 2}) {
        f.laQMStatus.setCaption("Kopiere C:\\x");
        if (s == 3) m.user.answer(mr::Ok);
        f.setSchritt(uint8_t(s));
        EXPECT_EQ(f.laQMStatus.caption(), "");
        EXPECT_EQ(user(f.laQMStatus).currentText(), "");
    }
}

TEST_F(WizardSteps, NetworkSubOptionsFollowTheKindAndTheStep) {
    TfmInstall f(m.platform);
    EXPECT_TRUE(f.rbIBEinzelplatz.checked()) << "design-time choice";
    // Step 1: the program checks "Mehrplatz" (as detection does): the handler runs.
    f.rbIBNetz.setChecked(true);
    EXPECT_TRUE(f.rbIBNetzServer.checked()) << "neither was checked: the server option";
    EXPECT_FALSE(f.rbIBNetzServer.enabled());
    EXPECT_FALSE(f.rbIBNetzClient.enabled()) << "disabled until step 2";
    EXPECT_FALSE(f.rbIBEinzelplatz.checked());
    f.rbIBNetzClient.setChecked(true);
    EXPECT_FALSE(f.rbIBNetzServer.checked());

    f.setSchritt(2);
    EXPECT_TRUE(f.rbIBNetzServer.enabled());
    EXPECT_TRUE(f.rbIBNetzClient.enabled());
    EXPECT_TRUE(f.rbIBNetzClient.checked()) << "a chosen sub-option stays";

    user(f.rbIBEinzelplatz).click();
    EXPECT_FALSE(f.rbIBNetzServer.checked());
    EXPECT_FALSE(f.rbIBNetzClient.checked());
    EXPECT_FALSE(f.rbIBNetzServer.enabled());
    EXPECT_FALSE(f.rbIBNetzClient.enabled());
    EXPECT_THROW(user(f.rbIBNetzServer).click(), std::logic_error);

    user(f.rbIBNetz).click();
    EXPECT_TRUE(f.rbIBNetzServer.checked());
    EXPECT_FALSE(f.rbIBNetzClient.checked());
    EXPECT_TRUE(f.rbIBNetzServer.enabled());
    user(f.rbIBNetzClient).click();
    EXPECT_TRUE(f.rbIBNetzClient.checked());
    EXPECT_TRUE(f.rbIBNetz.checked()) << "the second group leaves the first alone";

    f.setSchritt(1);
    EXPECT_FALSE(f.rbIBNetzClient.enabled());
    EXPECT_TRUE(f.rbIBNetzClient.checked());
}

TEST_F(WizardSteps, FolderDialogStartsAtTheTypedFolderOrTheRememberedOne) {
    m.files.makeDirectory("C:\\Praxis\\Quillmark50");
    m.files.makeDirectory("C:\\Program Files (x86)");
    struct Fall {
        std::string getippt;
        std::optional<std::string> gewaehlt;
        std::string start, danach;
    };
    const std::vector<Fall> faelle = {
        {"C:\\Praxis\\Quillmark50", "D:\\Neu", "C:\\Praxis\\Quillmark50", "D:\\Neu"},
        {"C:\\Praxis\\Quillmark50\\", std::nullopt, "C:\\Praxis\\Quillmark50\\", "C:\\Praxis\\Quillmark50\\"},
        {"C:\\Gibt\\Es\\Nicht", "C:\\Praxis", "C:\\Program Files (x86)", "C:\\Praxis"},
        {"", std::nullopt, "C:\\Program Files (x86)", ""},
    };
    for (const auto& fall : faelle) {
        SCOPED_TRACE(fall.getippt);
        sim::SimMachine& mm = m;
        TfmInstall f(mm.platform);
        f.vorgabeVerzeichnis = "C:\\Program Files (x86)";
        user(f.JvdeQMInstallDir).type(fall.getippt);
        mm.user.answerFolder(fall.gewaehlt);
        size_t before = mm.user.shown.size();
        user(f.JvdeQMInstallDir).clickBrowse();
        ASSERT_EQ(mm.user.shown.size(), before + 1);
        EXPECT_EQ(mm.user.shown.back().kind, sim::DialogRecord::Kind::FolderBrowse);
        EXPECT_EQ(mm.user.shown.back().text, fall.start);
        EXPECT_EQ(f.JvdeQMInstallDir.text(), fall.danach);
    }
    TfmInstall f(m.platform);
    f.setSchritt(2);
    EXPECT_THROW(user(f.JvdeQMInstallDir).clickBrowse(), std::logic_error) << "disabled outside step 1";
}

TEST_F(WizardSteps, ShowSizesTheWindowAndResizeLaysItOut) {
    struct Fall {
        Size screen, fenster;
    };
    for (auto fall : {Fall{{1920, 1080}, {1280, 720}}, Fall{{1024, 768}, {1024, 720}}}) {
        sim::SimMachine mm;
        mm.ui.screen = fall.screen;
        TfmInstall f(mm.platform);
        f.show();
        ASSERT_EQ((Size{f.peer().bounds().width, f.peer().bounds().height}), fall.fenster);
        const Size c = f.peer().clientSize();
        const int dw = c.width - 670, dh = c.height - 511;
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        // Anchored controls keep their distance to the right and bottom edges.
        EXPECT_EQ(f.imBildRechts.bounds(), (Rect{578 + dw, 0, 108, 456}));
        EXPECT_EQ(f.buUeberspringen.bounds(), (Rect{489 + dw, 477 + dh, 89, 25}));
        EXPECT_EQ(f.buInstallieren.bounds(), (Rect{385 + dw, 477 + dh, 89, 25}));
        EXPECT_EQ(f.buZurueck.bounds(), (Rect{290 + dw, 477 + dh, 89, 25}));
        EXPECT_EQ(f.cbLizenzbedingungen.bounds(), (Rect{16, 459 + dh, 241, 17}));
        EXPECT_EQ(f.buLizenzbedingungen.bounds(), (Rect{16, 477 + dh, 162, 25}));
        // The left side fills the rest; the log takes all the height below the group box.
        EXPECT_EQ(f.paPanel.bounds(), (Rect{0, 0, 578 + dw, 456 + dh}));
        EXPECT_EQ(f.gbQMKomponenten.bounds(), (Rect{16, 48, 546 + dw, 273}));
        EXPECT_EQ(f.meFeedback.bounds(), (Rect{16, 327, 546 + dw, 456 + dh - 327 - 20}));
        EXPECT_EQ(f.meFeedback.top() + f.meFeedback.height() + 20 + 3, f.cbLizenzbedingungen.top());
        EXPECT_EQ(user(f.meFeedback).bounds, f.meFeedback.bounds());
    }
}

TEST_F(WizardSteps, TheWindowIsBuiltAsDesigned) {
    TfmInstall f(m.platform);
    EXPECT_EQ(f.peer().clientSize(), (Size{670, 511}));
    EXPECT_EQ(static_cast<sim::SimFormPeer&>(f.peer()).minimumSize(), (Size{686, 550}));
    EXPECT_EQ(f.peer().caption(), "Quillmark 5.18.25 - Installation");
    EXPECT_EQ(m.ui.applicationTitle(), "Quillmark 5.18.25 - Installation");
    EXPECT_EQ(f.JvLabelTitel.caption(), "Quillmark 5.18.25");

    struct Erwartet {
        TControl* c;
        TControl* parent;
        Rect r;
        std::string text;
        int tab;
    };
    const std::vector<Erwartet> tabelle = {
        {&f.buUeberspringen, nullptr, {489, 477, 89, 25}, "Überspringen", 5},
        {&f.buInstallieren, nullptr, {385, 477, 89, 25}, "Installieren >", 4},
        {&f.buZurueck, nullptr, {290, 477, 89, 25}, "< Zurück", 3},
        {&f.paPanel, nullptr, {0, 0, 578, 456}, "", 0},
        {&f.meFeedback, &f.paPanel, {16, 327, 546, 108}, "", 1},
        {&f.JvLabelTitel, &f.paPanel, {16, 8, 250, 31}, "Quillmark 5.18.25", 0},
        {&f.gbQMKomponenten, &f.paPanel, {16, 48, 546, 273}, "Quillmark Komponenten", 0},
        {&f.imQuillmarkLogo, &f.gbQMKomponenten, {16, 28, 61, 61}, "", 0},
        {&f.imFirebirdLogo, &f.gbQMKomponenten, {16, 139, 61, 61}, "", 0},
        {&f.laKomponenteQuillmark, &f.gbQMKomponenten, {88, 17, 228, 19}, "Quillmark Abrechnungssoftware", 0},
        {&f.laKomponenteFirebird, &f.gbQMKomponenten, {88, 139, 177, 19}, "Firebird Datenbankserver", 0},
        {&f.laZielverzeichnisQM, &f.gbQMKomponenten, {88, 42, 69, 13}, "Zielverzeichnis", 0},
        {&f.JvdeQMInstallDir, &f.gbQMKomponenten, {88, 58, 442, 21}, "C:\\Program Files (x86)\\Tessarwind\\Quillmark50", 0},  // offered at creation
        {&f.imBildRechts, nullptr, {578, 0, 108, 456}, "", 0},
        {&f.laFirebirdSchonVorhanden, &f.gbQMKomponenten, {88, 164, 125, 13}, "", 0},
        {&f.laQMStatus, &f.gbQMKomponenten, {88, 103, 51, 13}, "", 0},
        {&f.paProgressBarQM, &f.gbQMKomponenten, {88, 84, 442, 16}, "", 1},
        {&f.JvSpecialProgressQM, &f.paProgressBarQM, {1, 1, 440, 14}, "", 0},
        {&f.rbIBEinzelplatz, &f.gbQMKomponenten, {83, 189, 420, 17}, "Einzelplatzversion", 2},
        {&f.rbIBNetz, &f.gbQMKomponenten, {89, 212, 420, 17}, "Mehrplatzversion/Netzwerkinstallation", 3},
        {&f.paIBInstallServerOrClient, &f.gbQMKomponenten, {104, 227, 435, 38}, "", 4},
        {&f.rbIBNetzServer, &f.paIBInstallServerOrClient, {2, 2, 420, 17},
         "Dies ist der Server (hier werden u.a. Datenbanken für die Clients bereit gestellt)", 0},
        {&f.rbIBNetzClient, &f.paIBInstallServerOrClient, {2, 19, 420, 17},
         "Dies ist ein Client (von hier wird auf Datenbanken auf einem Server zugegriffen)", 1},
        {&f.cbLizenzbedingungen, nullptr, {16, 459, 241, 17}, "Die Lizenzbedingungen werden akzeptiert", 1},
        {&f.buLizenzbedingungen, nullptr, {16, 477, 162, 25}, "Lizenzbedingungen anzeigen", 2},
    };
    ASSERT_EQ(f.controls().size(), tabelle.size());
    for (size_t i = 0; i < tabelle.size(); ++i) {
        const auto& e = tabelle[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(f.controls()[i], e.c) << "declared in the table's order";
        EXPECT_EQ(e.c->parent(), e.parent);
        EXPECT_EQ(e.c->bounds(), e.r);
        EXPECT_EQ(user(*e.c).bounds, e.r);
        EXPECT_EQ(user(*e.c).parent, e.parent ? &user(*e.parent) : nullptr);
        EXPECT_EQ(e.c->text(), e.text);
        EXPECT_EQ(e.c->tabOrder(), e.tab);
    }
    // Fonts and colours.
    auto font = [](TControl& c) { return user(c).font; };
    EXPECT_EQ(font(f.buInstallieren), (Font{"Tahoma", -11, false, colors::WindowText}));
    EXPECT_EQ(font(f.meFeedback).height, -12);
    EXPECT_EQ(user(f.meFeedback).color, colors::rgb(192, 220, 192));
    EXPECT_FALSE(user(f.meFeedback).style.readOnly);
    EXPECT_TRUE(user(f.meFeedback).style.wordWrap);
    EXPECT_TRUE(user(f.meFeedback).style.vScroll);
    EXPECT_EQ(font(f.JvLabelTitel), (Font{"Tahoma", -24, true, colors::rgb(0, 128, 128)}));
    EXPECT_EQ(user(f.JvLabelTitel).style.shadowColor, colors::rgb(128, 128, 128));
    EXPECT_EQ(user(f.JvLabelTitel).style.shadowSize, 2);
    EXPECT_EQ(font(f.laKomponenteQuillmark).height, -16);
    EXPECT_EQ(font(f.laKomponenteFirebird).height, -16);
    EXPECT_EQ(user(f.JvSpecialProgressQM).color, colors::MoneyGreen);
    EXPECT_EQ(user(f.paProgressBarQM).style.bevel, Bevel::Lowered);
    EXPECT_TRUE(user(f.imQuillmarkLogo).style.proportional);
    EXPECT_FALSE(user(f.imBildRechts).style.proportional);
    EXPECT_TRUE(user(f.imBildRechts).style.stretch);
    EXPECT_TRUE(f.rbIBEinzelplatz.checked());
    EXPECT_FALSE(f.cbLizenzbedingungen.checked());
}

TEST_F(WizardSteps, TheFeedbackLogOnlyGrows) {
    TfmInstall f(m.platform);
    f.addFeedbackZeile("Installation Quillmark gestartet");
    f.addFeedbackZeile("  Detail");
    user(f.meFeedback).type(f.meFeedback.text() + "Notiz des Benutzers");
    f.addFeedbackZeile("Hinweis: weiter");
    EXPECT_EQ(f.meFeedback.lines(), (std::vector<std::string>{"Installation Quillmark gestartet", "  Detail",
                                                              "Notiz des Benutzers", "Hinweis: weiter"}));
}

}  // namespace
}  // namespace qm
