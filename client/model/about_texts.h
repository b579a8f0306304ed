// The about window's texts, made from the running program's version block
// and the maker's contact addresses.
#pragma once

#include <string>

#include "z5r/version_block.h"

namespace z5r {

struct SProductContacts {
    std::string supportMail;
    std::string site;
};

struct SAboutTexts {
    std::string versionLine;  // "Версия" (through the catalogue), a blank, the product version
    std::string buildLine;    // "Build", a blank, the file version
    std::string mailTarget;   // "mailto:" + address + "?subject=" + product name + " " + product version
    std::string mailText;     // the address as the window shows it
    std::string site;         // the maker's web address
};

SAboutTexts MakeAboutTexts(const SVersionInfo& version, const SProductContacts& contacts);

}  // namespace z5r
