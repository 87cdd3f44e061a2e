#pragma once
// The comparer of the text tree: exact order of 16-bit texts.

class CUnicodeCompareDefault {
 public:
  // Walks both zero-terminated texts while a's unit is not zero and equals b's, and returns
  // a's unit minus b's at the stop, both unsigned: negative when a sorts first, 0 when the
  // texts are equal, positive when a sorts after. Letter case and every other difference count.
  int Compare(const char16_t* a, const char16_t* b) const;

  // The one shared comparer, created on first use.
  static const CUnicodeCompareDefault& Shared();
};
