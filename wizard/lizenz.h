#pragma once
// The licence-terms viewer: formatted text stored in the program, printable.
#include <string>

#include "ui/controls.h"
#include "ui/form.h"

namespace qm {

class TfmLizenz : public TForm {
public:
    explicit TfmLizenz(Platform& p);

    void FormShow() override;
    void buDruckenClick();
    void reLizenzKeyPress(char& key);
    // The page rectangle the text is printed into, from the current printer's metrics
    // and margins in inches. Without a printer the rectangle stays as it is.
    void setDruckRaender(TRichEdit& re, double links, double rechts, double oben, double unten);

    static std::string meldungKeinDrucker();

    TRichEdit reLizenz{*this, nullptr, {0, 0, 562, 443}, true, true, true};
    TPanel paUnten{*this, nullptr, {0, 443, 562, 41}, Bevel::None};
    TButton buDrucken{*this, &paUnten, {16, 8, 75, 25}, "&Drucken"};
    TButton buSchliessen{*this, &paUnten, {472, 8, 75, 25}, "&Schließen"};
};

// Rounding to the nearest integer, halves to the even neighbour.
int rundeHalbGerade(double v);

}  // namespace qm
