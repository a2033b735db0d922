#pragma once
// Creates a control from its class name ("MText", "MComboBox", ...).

#include <memory>
#include <string>

namespace PLKUI {

class MControl;

// nullptr for a class name the library does not know.
std::unique_ptr<MControl> CreateControlByClassName(const std::wstring& class_name);

}  // namespace PLKUI
