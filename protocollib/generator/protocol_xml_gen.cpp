// Writes the protocol description file from the protocol's own tables, so
// the file is never edited by hand and cannot disagree with them.
//
//   protocol_xml_gen OUTPUT
#include <cstdio>
#include <exception>
#include <pugixml.hpp>
#include <string>

#include "description_format.h"
#include "kvproto/dictionary.h"
#include "kvproto/packet.h"

namespace {

namespace format = protocollib::format;

void AppendCommands(pugi::xml_node root) {
    auto section = root.append_child(format::kCommands);
    for (const auto& entry : kvproto::CommandDictionary().Entries()) {
        auto node = section.append_child(format::kCommand);
        node.append_attribute(format::kNameAttr) = entry.name.c_str();
        node.append_attribute(format::kValueAttr) = entry.value;
    }
}

void AppendParameters(pugi::xml_node root) {
    auto section = root.append_child(format::kParameters);
    for (const auto& entry : kvproto::ParameterDictionary().Entries()) {
        auto node = section.append_child(format::kParameter);
        node.append_attribute(format::kNameAttr) = entry.name.c_str();
        node.append_attribute(format::kIdAttr) = entry.value;
        node.append_attribute(format::kSizeAttr) = kvproto::BytesPerValue(entry.format);
        node.append_attribute(format::kFractAttr) = kvproto::FractionBytes(entry.format);
        node.append_attribute(format::kDescriptionAttr) = entry.text.c_str();
    }
}

void AppendStatuses(pugi::xml_node root) {
    auto section = root.append_child(format::kStatuses);
    for (const auto& entry : kvproto::StatusDictionary().Entries()) {
        auto node = section.append_child(format::kStatus);
        node.append_attribute(format::kNameAttr) = entry.name.c_str();
        node.append_attribute(format::kValueAttr) = entry.value;
        node.append_attribute(format::kTextAttr) = entry.text.c_str();
    }
}

// Written beside the target and renamed over it, so an interrupted build
// never leaves half a file that a later build would take as up to date.
bool Write(const pugi::xml_document& document, const std::string& path) {
    const std::string temporary = path + ".tmp";
    if (!document.save_file(temporary.c_str(), "  ", pugi::format_default, pugi::encoding_utf8)) {
        std::fprintf(stderr, "protocol_xml_gen: cannot write %s\n", temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::perror("protocol_xml_gen: rename");
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: protocol_xml_gen OUTPUT\n");
        return 2;
    }
    try {
        pugi::xml_document document;
        document.append_child(pugi::node_comment)
            .set_value(" Generated from the protocol tables at build time; do not edit. ");
        auto root = document.append_child(format::kRoot);
        root.append_attribute(format::kVersionAttr) = format::kVersion;
        AppendCommands(root);
        AppendParameters(root);
        AppendStatuses(root);
        return Write(document, argv[1]) ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "protocol_xml_gen: %s\n", error.what());
        return 1;
    }
}
