#include "database/UnicodeCompare.h"

int CUnicodeCompareDefault::Compare(const char16_t* a, const char16_t* b) const {
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<int>(*a) - static_cast<int>(*b);
}

const CUnicodeCompareDefault& CUnicodeCompareDefault::Shared() {
  static const CUnicodeCompareDefault comparer;
  return comparer;
}
