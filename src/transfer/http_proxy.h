// The process-wide companion of every CHttp: it owns the transfer library's global
// initialisation and the registry of requests that expect an asynchronous completion.
//
// The library's global initialisation is not thread-safe, so it must be complete before a second
// thread can transfer. Instance() does it exactly once (C++ guarantees a single initialisation of
// a function-local static even when threads race to it), and every CHttp calls Instance() when it
// is constructed, so no handle is ever created before it. Start-up may call Instance() early.
//
// Every transfer here is synchronous and nothing delivers completions, so the registry stays
// empty; a request still deregisters when it is destroyed, which is harmless. Thread-safe; lives
// until the process ends (never destroyed, so no thread still transferring at exit can find the
// library shut down under it).
#pragma once

#include <map>
#include <mutex>

namespace qv::transfer {

class CHttp;

class CHttpProxy {
 public:
  // Receives the completion of a registered request.
  class CompletionDelegate {
   public:
    virtual ~CompletionDelegate() = default;
    virtual void OnHttpCompleted(CHttp* request, int result) = 0;
  };

  static CHttpProxy& Instance();

  CHttpProxy(const CHttpProxy&) = delete;
  CHttpProxy& operator=(const CHttpProxy&) = delete;

  void Register(const CHttp* request, CompletionDelegate* delegate);
  void Deregister(const CHttp* request);
  bool IsRegistered(const CHttp* request) const;

  // False when the library's global initialisation failed; transfers then fail at once.
  bool library_ready() const { return library_ready_; }

 private:
  CHttpProxy();
  virtual ~CHttpProxy();

  const bool library_ready_;
  mutable std::mutex mutex_;
  std::map<const CHttp*, CompletionDelegate*> completions_;  // guarded by mutex_
};

}  // namespace qv::transfer
