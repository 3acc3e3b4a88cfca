// Start-up: the panel is laid out and filled before the window shows.

#include "app/korvel.h"
#include "app/panel.h"
#include "app/view/window_layout.h"

namespace korvel {

void Korvel::Form_Load() {
    p_.random.seed(p_.clock.timeOfDay());
    p_.picture.setBackColor(kBlack);

    for (int i = 0; i < kLabelCount; ++i) {
        const int top = kPanelY0 + kRowPitch * i;
        p_.controls.place(ControlArray::lbl_mass_id, i, {kPanelX0 - 150, top, 650, 375});
        p_.controls.place(ControlArray::txt_masses, i, {kPanelX0 + 600, top, 750, 375});
    }
    for (int i = 0; i < kBankCount; ++i) {
        p_.controls.place(ControlArray::cmd_color, i, {kPanelX0 + 1400, kPanelY0 + kRowPitch * i, 850, 450});
    }
    for (int i : {kBoxSecondPlanetMass, kBoxSecondPlanetDist}) {
        p_.controls.place(ControlArray::txt_masses, i, {kPanelX0 + 1400, kPanelY0 + kRowPitch * (i - 2), 850, 375});
    }

    for (int i = 0; i < kBoxCount; ++i) p_.controls.setText(ControlArray::txt_masses, i, kDefaultTexts[i]);
    for (int i = 0; i < kLabelCount; ++i) p_.controls.setText(ControlArray::lbl_mass_id, i, kLabelCaptions[i]);
    for (int i = 0; i < kBankDistance; ++i) p_.controls.setText(ControlArray::cmd_color, i, kBankCaptions[i]);
    p_.controls.setText(ControlArray::cmd_color, kBankDistance, kDistancePrefix + boxText(kBoxInitDistance));
}

}  // namespace korvel
