#include "profile_tool.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "korvel/common/xml_document.h"
#include "model/password_store_format.h"
#include "model/profile_list_document.h"
#include "model/profile_list_file.h"

namespace z5rprofile {

namespace {

constexpr char kUsage[] = "Usage: z5r-profile to-xml FILE | from-xml IN.xml OUT [--store] | --help";

constexpr char kHelp[] = R"(Usage: z5r-profile COMMAND

  to-xml FILE                Prints the document inside a profile-list file
                             (.z5p) or a password store as plain XML.
  from-xml IN.xml OUT        Writes IN.xml as a profile-list file OUT (its
                             root must be "profilelist").
  from-xml IN.xml OUT --store
                             Writes IN.xml as a password store OUT (its root
                             must be "Z5R_Client").
  --help                     Shows this text.

OUT is replaced whole or not at all.
Exit codes: 0 done, 1 not a file of the format or OUT not written,
2 bad command line, 3 input missing or unreadable.
)";

struct SFormat {
    const char* name;
    const char* signature;
    const char* root;
};

constexpr SFormat kProfileList{"profile-list file", z5r::kProfileListSignature, z5r::kProfileListRoot};
constexpr SFormat kPasswordStore{"password store", z5r::kPasswordStoreSignature, z5r::kPasswordStoreRoot};

const char* RefusalText(int result) {
    switch (result) {
        case VxCore::xdrTooLarge:
            return "is too large";
        case VxCore::xdrTooDeep:
            return "is nested too deeply";
        default:
            return "is damaged";
    }
}

int Usage(std::ostream& err) {
    err << kUsage << '\n';
    return kExitUsage;
}

int ToXml(const std::string& path, std::ostream& out, std::ostream& err) {
    for (const SFormat& format : {kProfileList, kPasswordStore}) {
        VxCore::CXMLDocument doc(true);
        doc.SetCompression(true);
        doc.SetSignature(format.signature);
        const int result = doc.Open(path.c_str());
        if (result == VxCore::xdrOk) {
            doc.Doc().save(out, "  ", pugi::format_default, pugi::encoding_utf8);
            return kExitOk;
        }
        if (result == VxCore::xdrCannotRead) {
            err << "z5r-profile: cannot read " << path << '\n';
            return kExitCannotRead;
        }
        if (result != VxCore::xdrForeign) {
            err << "z5r-profile: " << path << " looks like a " << format.name << " but " << RefusalText(result)
                << '\n';
            return kExitNotOfFormat;
        }
    }
    err << "z5r-profile: " << path << " is neither a profile-list file nor a password store\n";
    return kExitNotOfFormat;
}

int FromXml(const std::string& in, const std::string& outPath, const SFormat& format, std::ostream& err) {
    std::ifstream file(in, std::ios::binary);
    if (!file) {
        err << "z5r-profile: cannot read " << in << '\n';
        return kExitCannotRead;
    }
    std::string text;
    char chunk[1 << 16];
    while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(file.gcount()));
        if (text.size() > VxCore::kMaxXMLTextBytes) {
            err << "z5r-profile: " << in << " is too large\n";
            return kExitNotOfFormat;
        }
    }
    if (file.bad()) {
        err << "z5r-profile: cannot read " << in << '\n';
        return kExitCannotRead;
    }

    VxCore::CXMLDocument doc(true);
    doc.Open(nullptr);
    doc.SetSignature(format.signature);
    doc.SetCompression(true);
    const pugi::xml_parse_result parsed =
        doc.Doc().load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        err << "z5r-profile: " << in << " is not well-formed XML: " << parsed.description() << " at byte "
            << parsed.offset << '\n';
        return kExitNotOfFormat;
    }
    const std::string root = doc.Doc().document_element().name();
    if (root != format.root) {
        err << "z5r-profile: " << in << " has the root \"" << root << "\"; a " << format.name << " needs \""
            << format.root << "\"\n";
        return kExitNotOfFormat;
    }
    // Only what reads back is written.
    const std::string stored = doc.StoredBytes();
    VxCore::CXMLDocument check(true);
    check.SetSignature(format.signature);
    const int readBack = stored.empty() ? int{VxCore::xdrTooLarge} : check.OpenBytes(stored.data(), stored.size());
    if (readBack != VxCore::xdrOk) {
        err << "z5r-profile: " << in << ' ' << RefusalText(readBack) << " for a " << format.name << '\n';
        return kExitNotOfFormat;
    }
    if (doc.Save(outPath.c_str()) != VxCore::xdrOk) {
        err << "z5r-profile: cannot write " << outPath << '\n';
        return kExitNotOfFormat;
    }
    return kExitOk;
}

}  // namespace

int RunProfileTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> words;
    bool store = false;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kHelp;
            return kExitOk;
        }
        if (arg == "--store") {
            store = true;
        } else if (arg.size() > 1 && arg.front() == '-') {
            err << "z5r-profile: unknown option " << arg << '\n';
            return Usage(err);
        } else {
            words.push_back(arg);
        }
    }
    if (words.size() == 2 && words[0] == "to-xml" && !store) return ToXml(words[1], out, err);
    if (words.size() == 3 && words[0] == "from-xml") {
        return FromXml(words[1], words[2], store ? kPasswordStore : kProfileList, err);
    }
    return Usage(err);
}

}  // namespace z5rprofile
