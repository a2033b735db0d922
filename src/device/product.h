#pragma once
// The product this build serves. The device type selects the protocol family
// (up to 200 wired, above 200 Nordic receiver) and the catalogue entries that
// the device scan offers to the device manager.

namespace tk410 {

constexpr int kProductDeviceType = 101;
constexpr const wchar_t* kProductName = L"TEVO TK410";

}  // namespace tk410
