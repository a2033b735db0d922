#pragma once
// The main window's profile and macro file actions: the import and export
// buttons of the home page (91, 92), the macro page (157, 158) and window
// message 1705. Each takes the window and the file dialogs to ask with.

#include <cstdint>
#include <string>

namespace tk410 {

class DeviceMainDlg;
class FileDialogs;

// Message 1705: wParam 1 imports into the current profile, wParam 2 exports
// the button rows of profile lParam.
constexpr unsigned kMsgProfileFile = 1705;

// Tells the user that `path` could not be written (text 940 in a message box
// titled "Export", text 114).
void ShowNotWritten(DeviceMainDlg& window, const std::wstring& path);

// Button 91: imports a profile file into the current profile and queues the
// task that makes the pages (and a Nordic-family mouse) follow.
void ImportProfileFile(DeviceMainDlg& window, FileDialogs& dialogs);
// Button 92 (the current profile) and message 1705 (lParam): exports under the
// name the profile list shows; a file that could not be written is reported
// in a message box.
void ExportProfileFile(DeviceMainDlg& window, FileDialogs& dialogs, int key_profile);
void OnProfileFileMessage(DeviceMainDlg& window, FileDialogs& dialogs, uintptr_t wparam,
                          intptr_t lparam);

// Button 158: exports the macro selected in the macro list (155); false when
// none is selected, the folder choice was cancelled or the file could not be
// written (reported in a message box).
bool ExportSelectedMacro(DeviceMainDlg& window, FileDialogs& dialogs);
// Button 157: imports a macro file as a new macro and appends it to the macro
// list (the selection stays). A macro that could not be stored is not listed;
// one past the macro page's limits is refused with a message box saying why.
// False when no file was chosen.
bool ImportMacroToList(DeviceMainDlg& window, FileDialogs& dialogs);

}  // namespace tk410
