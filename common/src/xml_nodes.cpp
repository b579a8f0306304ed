#include "korvel/common/xml_nodes.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>
#include <system_error>

namespace VxCore {

namespace {

constexpr const char* kTrueText = "true";
constexpr const char* kFalseText = "false";

// The selected node's text, or none.
std::optional<const char*> SelectedText(pugi::xml_node node, const char* path) {
    if (!node || !path) return std::nullopt;
    try {
        const pugi::xpath_node selected = node.select_node(path);
        if (selected.attribute()) return selected.attribute().value();
        if (selected.node()) return selected.node().text().get();
    } catch (const pugi::xpath_exception&) {
    }
    return std::nullopt;
}

// A number filling the whole text.
template <typename T>
std::optional<T> WholeNumber(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

pugi::xml_attribute AttributeOf(pugi::xml_node element, const char* name) {
    pugi::xml_attribute attribute = element.attribute(name);
    return attribute ? attribute : element.append_attribute(name);
}

}  // namespace

pugi::xml_node GetElement(pugi::xml_node node) {
    return node.type() == pugi::node_element ? node : pugi::xml_node();
}

pugi::xml_node GetElementOrCreate(pugi::xml_node parent, const char* name) {
    pugi::xml_node child = parent.child(name);
    return child ? child : parent.append_child(name);
}

void AddAttribute(pugi::xml_node element, const char* name, double value) {
    char text[64];
    const auto result = std::to_chars(std::begin(text), std::end(text) - 1, value);
    *result.ptr = '\0';
    AttributeOf(element, name).set_value(text);
}

void AddAttribute(pugi::xml_node element, const char* name, int value) {
    char text[16];
    const auto result = std::to_chars(std::begin(text), std::end(text) - 1, value);
    *result.ptr = '\0';
    AttributeOf(element, name).set_value(text);
}

void AddAttribute(pugi::xml_node element, const char* name, bool value) {
    AttributeOf(element, name).set_value(value ? kTrueText : kFalseText);
}

void AddAttribute(pugi::xml_node element, const char* name, const char* value) {
    AttributeOf(element, name).set_value(value ? value : "");
}

bool GetNodeBoolValue(pugi::xml_node node, const char* path, bool fallback) {
    const auto text = SelectedText(node, path);
    if (!text) return fallback;
    if (std::strcmp(*text, kTrueText) == 0 || std::strcmp(*text, "1") == 0) return true;
    if (std::strcmp(*text, kFalseText) == 0 || std::strcmp(*text, "0") == 0) return false;
    return fallback;
}

double GetNodeDoubleValue(pugi::xml_node node, const char* path, double fallback) {
    const auto text = SelectedText(node, path);
    if (!text) return fallback;
    return WholeNumber<double>(*text).value_or(fallback);
}

int GetNodeIntValue(pugi::xml_node node, const char* path, int fallback) {
    const auto text = SelectedText(node, path);
    if (!text) return fallback;
    return WholeNumber<int>(*text).value_or(fallback);
}

const char* GetNodeStringValue(pugi::xml_node node, const char* path, const char* fallback) {
    return SelectedText(node, path).value_or(fallback);
}

}  // namespace VxCore
