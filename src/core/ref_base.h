// Intrusive, thread-safe reference counting, and the smart pointer that holds such references.
//
// Every object built on RefBase starts with a count of 1: the creator holds that reference. The
// last Release deletes the object, on whichever thread made it. Callers do not call AddRef or
// Release by hand: they hold a RefPtr, which releases on every exit path.
#pragma once

#include <atomic>
#include <cstddef>
#include <utility>

namespace qv::core {

class RefBase {
 public:
  RefBase(const RefBase&) = delete;
  RefBase& operator=(const RefBase&) = delete;

  // Both callable from any thread; each returns the count after its change. Release deletes the
  // object when the count reaches 0, exactly once however many threads release at the same time.
  int AddRef() const;
  int Release() const;

  // For tests and assertions only: the count may change the moment after it is read.
  int ref_count_for_testing() const { return count_.load(std::memory_order_acquire); }

 protected:
  RefBase() = default;
  // Only Release deletes: the destructor is not public, so nothing else can free a shared object.
  virtual ~RefBase() = default;

 private:
  mutable std::atomic<int> count_{1};
};

// Holds one reference to a RefBase-derived object (like a shared pointer for intrusive counts).
// Copying adds a reference, destruction releases it. Constructing from a plain pointer adds a
// reference; Adopt takes over one that the caller already holds (a new object's first one).
template <typename T>
class RefPtr {
 public:
  RefPtr() = default;
  RefPtr(std::nullptr_t) {}  // NOLINT: a null reference converts implicitly, as for pointers
  explicit RefPtr(T* object) : object_(object) {
    if (object_) object_->AddRef();
  }
  RefPtr(const RefPtr& other) : RefPtr(other.object_) {}
  RefPtr(RefPtr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  template <typename U>
  RefPtr(const RefPtr<U>& other) : RefPtr(other.get()) {}  // NOLINT: derived to base
  template <typename U>
  RefPtr(RefPtr<U>&& other) noexcept : object_(other.Leak()) {}  // NOLINT: derived to base
  ~RefPtr() { reset(); }

  RefPtr& operator=(RefPtr other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }

  // Takes over a reference the caller already owns (no AddRef).
  static RefPtr Adopt(T* object) {
    RefPtr ref;
    ref.object_ = object;
    return ref;
  }

  // Hands the reference back to the caller as a plain pointer (no Release); the caller must
  // Adopt it again or Release it.
  [[nodiscard]] T* Leak() { return std::exchange(object_, nullptr); }

  void reset() {
    if (T* object = std::exchange(object_, nullptr)) object->Release();
  }

  T* get() const { return object_; }
  T* operator->() const { return object_; }
  T& operator*() const { return *object_; }
  explicit operator bool() const { return object_ != nullptr; }
  template <typename U>
  bool operator==(const RefPtr<U>& other) const {
    return object_ == other.get();
  }
  bool operator==(std::nullptr_t) const { return object_ == nullptr; }

 private:
  T* object_ = nullptr;
};

// Creates a new object and hands its first reference to the returned RefPtr.
template <typename T, typename... Args>
RefPtr<T> MakeRef(Args&&... args) {
  return RefPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace qv::core
