// TMain: the help menu — the about window and the maker's web site.
#include "about.h"
#include "gui_main.h"
#include "z5r/product_contacts.h"
#include "z5r/version_block.h"

namespace z5r {

void TMain::AboutActionExecute() {
    // A program file without a version block has nothing to show.
    const auto version = ReadOwnVersionBlock();
    if (!version) return;
    // Created anew each time it is opened.
    TAboutForm about(this, MakeAboutTexts(*version, {kSupportMail, kMakerSite}));
    RunModal(about);
}

void TMain::AddressActionExecute() { OpenLink(kMakerSite); }

}  // namespace z5r
