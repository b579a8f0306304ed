#include "model/about_texts.h"

#include "z5r/i18n.h"

namespace z5r {

SAboutTexts MakeAboutTexts(const SVersionInfo& version, const SProductContacts& contacts) {
    SAboutTexts texts;
    texts.versionLine = Tr("Версия") + " " + version.productVersion;
    texts.buildLine = std::string("Build ") + version.fileVersion;
    texts.mailTarget =
        "mailto:" + contacts.supportMail + "?subject=" + version.productName + " " + version.productVersion;
    texts.mailText = contacts.supportMail;
    texts.site = contacts.site;
    return texts;
}

}  // namespace z5r
