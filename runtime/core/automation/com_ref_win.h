// ComRef: an owning pointer to a COM interface. It holds one reference and gives
// it back when it goes out of scope, so a call sequence that returns early
// releases what it acquired, in reverse order of acquiring.
#pragma once
#include <unknwn.h>

namespace lw {

template <class T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() {
    if (p_) p_->Release();
  }

  // Takes over a reference the caller already holds (null is allowed).
  static ComRef adopt(T* p) { return ComRef(p); }
  // Takes over the reference a call handed out, when the call succeeded; what a
  // failed call left in its out-pointer is not a reference and is not kept.
  static ComRef adoptIfSucceeded(HRESULT hr, T* p) { return ComRef(SUCCEEDED(hr) ? p : nullptr); }

  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  explicit ComRef(T* p) : p_(p) {}
  T* p_ = nullptr;
};

}  // namespace lw
