// TMain: the help menu — the about window and the maker's web site.
#include <QDesktopServices>
#include <QUrl>

#include "about.h"
#include "gui_main.h"

namespace z5r {

namespace {

constexpr const char* kMakerSite = "https://www.korvel.example/";

}  // namespace

void TMain::AboutActionExecute() {
    // Created anew each time it is opened.
    TAboutForm about(this);
    RunModal(about);
}

void TMain::AddressActionExecute() { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kMakerSite))); }

}  // namespace z5r
