#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>

// Reference counting and interface queries in the manner of the host's
// component model.
namespace DOA {

// A 16-byte interface identifier, in the byte order it is stored in.
struct SIID {
  unsigned char mBytes[16];

  bool operator==(const SIID& other) const { return std::memcmp(mBytes, other.mBytes, 16) == 0; }
  bool operator!=(const SIID& other) const { return !(*this == other); }
};

// 00000000-0000-0000-C000-000000000046: every object answers it.
constexpr SIID kIID_IUnknown = {{0, 0, 0, 0, 0, 0, 0, 0, 0xc0, 0, 0, 0, 0, 0, 0, 0x46}};

constexpr int32_t kOK = 0;
constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002u);

// The three operations every interface begins with (the process, type and
// group interfaces derive from it and forward to their controlling object).
class IUnknown {
 public:
  virtual int32_t QueryInterface(const SIID& iid, void** object) = 0;
  virtual int32_t AddRef() = 0;
  virtual int32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

class INondelegatingUnknown {
 public:
  virtual int32_t NonDelegatingQueryInterface(const SIID& iid, void** object) = 0;
  virtual int32_t NonDelegatingAddRef() = 0;
  virtual int32_t NonDelegatingRelease() = 0;

 protected:
  ~INondelegatingUnknown() = default;
};

// A reference-counted object, count 1 when made; the last Release deletes
// it. Derived classes answer their own identifiers first and fall back to
// this one's answer.
class CUnknown : public INondelegatingUnknown {
 public:
  CUnknown();
  CUnknown(const CUnknown&) = delete;
  CUnknown& operator=(const CUnknown&) = delete;

  int32_t NonDelegatingQueryInterface(const SIID& iid, void** object) override;
  int32_t NonDelegatingAddRef() override;
  int32_t NonDelegatingRelease() override;
  virtual ~CUnknown();

  // The object that answers for this one (itself here).
  INondelegatingUnknown* GetControllingUnknown() const { return mControllingUnknown; }
  int32_t GetRefCount() const { return mRefCount; }

  // Hands out an interface: stores it and raises its count.
  static int32_t GetInterface(IUnknown* unknown, void** object);
  static int32_t GetInterface(INondelegatingUnknown* unknown, void** object);

  // Objects alive in the process.
  static int32_t GetLiveObjectCount();

 private:
  int32_t mRefCount = 1;
  INondelegatingUnknown* mControllingUnknown;

  static std::atomic<int32_t> sLiveObjects;
};

}  // namespace DOA
