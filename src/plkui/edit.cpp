#include "plkui/edit.h"

#include <algorithm>

#include "base/text.h"

namespace PLKUI {

void MEdit::SetTipInfo(const std::wstring& tip) { SetField(tip_, tip); }
std::wstring MEdit::GetTipInfo() const { return GetField(tip_); }
void MEdit::SetLimitText(int limit) { SetField(limit_, std::max(0, limit)); }
int MEdit::GetLimitText() const { return GetField(limit_); }
void MEdit::SetNumberOnly(bool digits_only) { SetField(digits_only_, digits_only); }
bool MEdit::IsNumberOnly() const { return GetField(digits_only_); }

std::wstring MEdit::FilterTyped(const std::wstring& typed) const {
  int limit;
  bool digits;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    limit = limit_;
    digits = digits_only_;
  }
  std::wstring out;
  for (wchar_t c : typed) {
    if (digits && (c < L'0' || c > L'9')) continue;
    if (limit > 0 && static_cast<int>(out.size()) >= limit) break;
    out.push_back(c);
  }
  return out;
}

void MEdit::PerformEditEntered() {
  if (IsEnabled()) Notify(kNotifyEditEntered);
}

void MEdit::PerformEditText(const std::wstring& typed) {
  if (!IsEnabled()) return;
  SetTitle(FilterTyped(typed));
  Notify(kNotifyTextChanging);
}

void MEdit::PerformEditFinished() {
  if (IsEnabled()) Notify(kNotifyEditFinished);
}

void NumberEdit::SetRange(int low, int high) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    low_ = std::min(low, high);
    high_ = std::max(low, high);
  }
  Changed();
}

int NumberEdit::GetLow() const { return GetField(low_); }
int NumberEdit::GetHigh() const { return GetField(high_); }

void NumberEdit::PerformSpin(int delta) {
  if (!IsEnabled()) return;
  // Summed wide: the text may hold the largest int.
  const long long sum = static_cast<long long>(tk410::WToI(GetEditText())) + delta;
  const int value = static_cast<int>(std::clamp<long long>(sum, GetLow(), GetHigh()));
  SetEditText(tk410::FormatInt(value));
  Notify(kNotifyClick);
}

}  // namespace PLKUI
