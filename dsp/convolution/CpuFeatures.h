#pragma once

// Which vector instruction sets this processor has, asked once. The
// variants these choose between give the same bits; only speed differs.
namespace CpuFeatures {

#if defined(__x86_64__) || defined(__i386__)

inline bool HasAvx512() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") != 0;
  }();
  return has;
}

inline bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}

#else

inline bool HasAvx512() { return false; }
inline bool HasAvx2() { return false; }

#endif

}  // namespace CpuFeatures
