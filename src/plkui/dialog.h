#pragma once
// MDialog: the base of every dialog. It owns its controls (created by class
// name), routes their notifications to OnMessage, keeps the overlay message
// and the dialog timer, and ends modal runs with DoOK / DoCancel.
//
// Create runs, in this order: InitUI (build the controls), UISize (place them
// in the client rectangle), OnInitDialog (the dialog's own set-up).

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "plkui/control.h"
#include "plkui/window.h"

namespace PLKUI {

class MenuWnd;

class MDialog : public MWindow, public MObject {
 public:
  MDialog();
  ~MDialog() override;

  virtual intptr_t OnInitDialog();
  virtual void InitUI();
  virtual void UISize(const MRect& client);
  // Control notifications: control id, code (see NotifyCode), and for the tab
  // strip the item index, for marker and list controls the item concerned.
  virtual intptr_t OnMessage(int id, int code, intptr_t param);

  // End the modal run with 1 / 2 (callable from any thread).
  void DoOK();
  void DoCancel();

  // Creates a control of the named class ("MComboBox", "CRadioButton", ...);
  // nullptr for an unknown class name. The two trailing values are kept for
  // callers and mean nothing here.
  MControl* CreateControl(const std::wstring& class_name, int id, const MRect& rect,
                          const std::wstring& caption, int a = 1, int b = 1);
  // Same, for decoration and text.
  MControl* CreateArea(const std::wstring& class_name, int id, const MRect& rect,
                       const std::wstring& caption, int a = 1, int b = 1);
  MControl* GetControl(int id) const;
  template <class T>
  T* GetControlAs(int id) const {
    return dynamic_cast<T*>(GetControl(id));
  }
  // Every control in creation order.
  std::vector<MControl*> GetControls() const;

  // The dialog timer: OnTimer(1) every `ms` milliseconds; 0 stops it.
  void SetMTimer(int ms);
  int GetMTimer() const;

  // Overlay message drawn over the dialog in `box`; empty text removes it.
  void SetMessage(const std::wstring& text, const MRect& box = MRect{});
  std::wstring GetMessageText() const;
  MRect GetMessageRect() const;

  // The client rectangle (0, 0, width, height).
  MRect GetClientRect() const;

  // Delivers a control's notification to OnMessage (window thread).
  intptr_t DispatchNotify(MControl& control, int code, intptr_t param);
  // Held while a check in a named group unchecks the others of the group.
  std::mutex& GroupMutex() { return group_mutex_; }

  // Pop-up menus created with this dialog as parent object; owned here.
  void AdoptMenu(MenuWnd* menu);

  static constexpr int kTimerId = 1;

 protected:
  void OnCreateWindow() override;
  void OnWindowRegistered() override;

 private:
  MControl* AddControl(const std::wstring& class_name, int id, const MRect& rect,
                       const std::wstring& caption);

  mutable std::mutex controls_mutex_;
  std::vector<std::unique_ptr<MControl>> controls_;
  std::vector<std::unique_ptr<MenuWnd>> menus_;
  std::mutex group_mutex_;
  int timer_ms_ = 0;
  std::wstring message_text_;
  MRect message_rect_;
};

}  // namespace PLKUI
