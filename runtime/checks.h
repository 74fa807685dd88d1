// Checked helpers for every index, narrowing and overflow-tested step: a failed check ends the
// program through the error stop with 201 (range) or 215 (overflow).
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

#include "system.h"

// Never inlined: each helper reports its own return address, which lies in the function that
// made the check, so the failure's code location names that function and line. (Sibling-call
// optimisation is off for the whole build, so no caller tail-jumps into a helper.)
#define KARTYAS_CHECK_HELPER __attribute__((noinline))

namespace Runtime {

// An index into 0..hi, tested unsigned so that a negative value fails too.
template <class T>
KARTYAS_CHECK_HELPER uint32_t check_index(T v, uint32_t hi) {
  uint32_t u;
  if constexpr (std::is_enum_v<T>) {
    u = static_cast<uint32_t>(static_cast<std::underlying_type_t<T>>(v));
  } else {
    u = static_cast<uint32_t>(v);
    if (!std::in_range<uint32_t>(v)) [[unlikely]]
      error_stop(kRangeError, __builtin_return_address(0));
  }
  if (u > hi) [[unlikely]]
    error_stop(kRangeError, __builtin_return_address(0));
  return u;
}

// A value that must lie in lo..hi.
template <class T>
KARTYAS_CHECK_HELPER T check_range(T v, T lo, T hi) {
  if (v < lo || v > hi) [[unlikely]]
    error_stop(kRangeError, __builtin_return_address(0));
  return v;
}

// Narrowing to a smaller integer type; a value that does not fit fails.
template <class To, class From>
KARTYAS_CHECK_HELPER To narrow(From v) {
  if (!std::in_range<To>(v)) [[unlikely]]
    error_stop(kRangeError, __builtin_return_address(0));
  return static_cast<To>(v);
}

template <class T>
KARTYAS_CHECK_HELPER T add_checked(T a, T b) {
  T r;
  if (__builtin_add_overflow(a, b, &r)) [[unlikely]]
    error_stop(kOverflowError, __builtin_return_address(0));
  return r;
}

template <class T>
KARTYAS_CHECK_HELPER T sub_checked(T a, T b) {
  T r;
  if (__builtin_sub_overflow(a, b, &r)) [[unlikely]]
    error_stop(kOverflowError, __builtin_return_address(0));
  return r;
}

template <class T>
KARTYAS_CHECK_HELPER T mul_checked(T a, T b) {
  T r;
  if (__builtin_mul_overflow(a, b, &r)) [[unlikely]]
    error_stop(kOverflowError, __builtin_return_address(0));
  return r;
}

}  // namespace Runtime
