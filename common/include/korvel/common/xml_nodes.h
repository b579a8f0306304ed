// Helpers on the nodes of an XML document: elements by name, typed attribute
// writers, and typed getters addressed by a path below a node ("@mode",
// "freqparams/@start"). A value written by AddAttribute of a type reads back
// exactly with the getter of that type; texts are UTF-8, kept as they are.
#pragma once

#include <pugixml.hpp>

namespace VxCore {

// The node itself when it is an element, otherwise an empty node.
pugi::xml_node GetElement(pugi::xml_node node);

// The first child element named `name`, appended when there is none.
pugi::xml_node GetElementOrCreate(pugi::xml_node parent, const char* name);

// Sets the attribute, appending it when absent. Reals are written in the
// shortest form that reads back to the same double; bools as true/false.
void AddAttribute(pugi::xml_node element, const char* name, double value);
void AddAttribute(pugi::xml_node element, const char* name, int value);
void AddAttribute(pugi::xml_node element, const char* name, bool value);
void AddAttribute(pugi::xml_node element, const char* name, const char* value);

// The value of the node `path` selects below `node`; `fallback` when nothing
// is selected, the path is not valid, or the text is not of the type (for a
// bool: true/false or 1/0; for an int: a decimal integer that fits).
bool GetNodeBoolValue(pugi::xml_node node, const char* path, bool fallback);
double GetNodeDoubleValue(pugi::xml_node node, const char* path, double fallback);
int GetNodeIntValue(pugi::xml_node node, const char* path, int fallback);
// A selected node's text as it stands, even when empty.
const char* GetNodeStringValue(pugi::xml_node node, const char* path, const char* fallback);

}  // namespace VxCore
