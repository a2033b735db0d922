#pragma once
// MControl: the state every control shares (id, class, rectangle, visibility,
// enabled state, tooltip, skin image, container) and MControlFont: a control's
// text and font.
//
// Threading: every setter and getter may be called from any thread. The state
// sits behind the control's own mutex; a setter that changes something calls
// the change listener afterwards, never while holding that mutex. The Qt view
// installs the listener and re-reads the state on the GUI thread. Notifications
// (OnMessage of the owning dialog) are sent by the Perform* operations, which
// stand for user input and run on the window thread.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "plkui/types.h"

namespace PLKUI {

class MDialog;

class MControl {
 public:
  explicit MControl(std::wstring class_name);
  virtual ~MControl();
  MControl(const MControl&) = delete;
  MControl& operator=(const MControl&) = delete;

  // Identity, fixed when the dialog creates the control.
  int GetId() const { return id_; }
  const std::wstring& GetClassName() const { return class_name_; }
  MDialog* GetOwner() const { return owner_; }
  void Attach(MDialog* owner, int id);

  void SetRect(const MRect& rect);
  MRect GetRect() const;
  void SetVisible(bool visible);
  bool IsVisible() const;
  void SetEnabled(bool enabled);
  bool IsEnabled() const;
  void SetTooltip(const std::wstring& text);
  std::wstring GetTooltip() const;
  // Skin image by the name the program gives ("img_combobox.png", "icon\tab_home.png").
  void SetImage(const std::wstring& name);
  std::wstring GetImage() const;

  // The container (a tab layout or area) this control sits in; a control is
  // shown only when it and every container above it are visible.
  void SetParent(MControl* parent);
  MControl* GetParent() const;
  bool IsShown() const;

  // Asks the view to repaint (flags kept for callers; they do not change the model).
  void UpdateControl(int erase = 1, int flags = 0);

  // Change listener for the view. Setting a new one (or an empty one) waits
  // for a running call of the old one to return, so a view can detach safely.
  void SetChangeListener(std::function<void()> listener);

  // User input on the window thread: a click reports code 2, a right click 9.
  virtual void PerformClick();
  void PerformRightClick();

 protected:
  // Sends (id, code, param) to the owning dialog's OnMessage. Never call with mutex_ held.
  intptr_t Notify(int code, intptr_t param = 0);
  // Tells the view that the state changed. Never call with mutex_ held.
  void Changed();

  // Field helpers: set under the lock and signal when the value differs.
  template <class T, class V>
  void SetField(T& field, V&& value) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (field == value) return;
      field = std::forward<V>(value);
    }
    Changed();
  }
  template <class T>
  T GetField(const T& field) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return field;
  }

  mutable std::mutex mutex_;

 private:
  const std::wstring class_name_;
  int id_ = 0;
  MDialog* owner_ = nullptr;
  MRect rect_;
  bool visible_ = true;
  bool enabled_ = true;
  std::wstring tooltip_;
  std::wstring image_;
  MControl* parent_ = nullptr;

  std::mutex listener_mutex_;
  std::function<void()> listener_;
};

// Text alignment values for SetAlignment (bit flags, combinable).
enum Alignment : int {
  kAlignLeft = 0,
  kAlignCenter = 1,
  kAlignRight = 2,
  kAlignVCenter = 4,
};

class MControlFont : public MControl {
 public:
  explicit MControlFont(std::wstring class_name);

  void SetTitle(const std::wstring& title);
  std::wstring GetTitle() const;
  void SetAlignment(int alignment);
  int GetAlignment() const;
  // Font size in pixels; 0 means the library's default.
  void SetFontWidth(int size);
  int GetFontWidth() const;
  // Font family; empty means the Manager's font name.
  void SetFontName(const std::wstring& name);
  std::wstring GetFontName() const;
  // 0x00BBGGRR; 0 means the theme's text colour.
  void SetTextColor(uint32_t color);
  uint32_t GetTextColor() const;

 private:
  std::wstring title_;
  int alignment_ = kAlignLeft | kAlignVCenter;
  int font_size_ = 0;
  std::wstring font_name_;
  uint32_t text_color_ = 0;
};

}  // namespace PLKUI
