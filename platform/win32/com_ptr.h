// Owns one reference to a COM object and releases it when it goes.
#pragma once

#include <utility>

namespace grazefall::platform::win32 {

template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  explicit ComPtr(Interface* adopted) : object_(adopted) {}
  ComPtr(const ComPtr& other) : object_(other.object_) {
    if (object_ != nullptr) object_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~ComPtr() { reset(); }

  void reset() {
    if (object_ != nullptr) std::exchange(object_, nullptr)->Release();
  }
  Interface* get() const { return object_; }
  Interface* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  // For out-parameters: releases what is held and hands out the slot.
  Interface** put() {
    reset();
    return &object_;
  }

 private:
  Interface* object_ = nullptr;
};

}  // namespace grazefall::platform::win32
