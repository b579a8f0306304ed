#include "korvel/components/connect_settings.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <pugixml.hpp>
#include <system_error>

namespace korvel {

namespace {

constexpr const char* kRoot = "connection";
constexpr const char* kDevice = "device";
constexpr const char* kHistory = "history";
constexpr const char* kAddress = "address";

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A settings file is a few hundred bytes; anything far larger is not one.
constexpr std::uintmax_t kLargestFile = 1 << 20;

// Parses the file when it is a readable regular file of sensible size (the
// parser itself would try to buffer whatever a folder or device reports).
bool LoadDocument(const std::string& fileName, pugi::xml_document& document) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error)) return false;
    const auto size = std::filesystem::file_size(fileName, error);
    if (error || size > kLargestFile) return false;
    std::ifstream in(fileName, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) return false;
    return static_cast<bool>(document.load_buffer(content.data(), content.size()));
}

pugi::xml_node FindDevice(const pugi::xml_node& root, const std::string& device) {
    for (auto node : root.children(kDevice)) {
        if (device == node.attribute("name").as_string()) return node;
    }
    return {};
}

}  // namespace

void RememberAddress(ConnectSettings& settings, const std::string& address) {
    const std::string entry = Trimmed(address);
    if (entry.empty()) return;
    auto& history = settings.history;
    history.erase(std::remove(history.begin(), history.end(), entry), history.end());
    history.insert(history.begin(), entry);
    if (history.size() > kConnectHistorySize) history.resize(kConnectHistorySize);
}

ConnectSettings LoadConnectSettings(const std::string& fileName, const std::string& device) {
    ConnectSettings settings;
    if (fileName.empty()) return settings;
    pugi::xml_document document;
    if (!LoadDocument(fileName, document)) return settings;
    const auto node = FindDevice(document.child(kRoot), device);
    if (!node) return settings;

    settings.autoConnect = node.attribute("autoconnect").as_bool(false);
    settings.address = Trimmed(node.attribute(kAddress).as_string());
    // Oldest last in the file: remembering from the back rebuilds the order
    // and drops repeats and blanks on the way.
    std::vector<std::string> entries;
    for (auto item : node.child(kHistory).children(kAddress)) {
        entries.emplace_back(item.text().as_string());
    }
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) RememberAddress(settings, *it);
    return settings;
}

bool SaveConnectSettings(const std::string& fileName, const std::string& device,
                         const ConnectSettings& settings) {
    if (fileName.empty()) return false;
    pugi::xml_document document;
    // A corrupt or foreign file is replaced by one holding this device.
    if (!LoadDocument(fileName, document) || !document.child(kRoot)) {
        document.reset();
        auto declaration = document.append_child(pugi::node_declaration);
        declaration.append_attribute("version") = "1.0";
        declaration.append_attribute("encoding") = "UTF-8";
        document.append_child(kRoot);
    }
    auto root = document.child(kRoot);
    auto node = FindDevice(root, device);
    if (node) root.remove_child(node);
    node = root.append_child(kDevice);
    node.append_attribute("name") = device.c_str();
    node.append_attribute("autoconnect") = settings.autoConnect;
    node.append_attribute(kAddress) = settings.address.c_str();
    auto history = node.append_child(kHistory);
    for (const auto& entry : settings.history) {
        history.append_child(kAddress).text() = entry.c_str();
    }

    const std::string temporary = fileName + ".tmp" + std::to_string(::getpid());
    if (!document.save_file(temporary.c_str(), "  ", pugi::format_default, pugi::encoding_utf8)) {
        std::remove(temporary.c_str());
        return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, fileName, error);
    if (error) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace korvel
