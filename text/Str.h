#pragma once
// Str: the system's own text value. A growable, heap-owned, zero-terminated run of bytes in the
// Windows ANSI code page (one byte per character), with value semantics: every copy and every
// assignment copies the bytes, and two values never share a buffer.
//
// Capacity is observable behaviour that callers and tests rely on. Buffers come in size classes
// of 2^k - 4 bytes (12, 28, 60, 124, ...); a text of L bytes gets a buffer of roundCapacity(L + 1)
// bytes and a capacity one less (the terminator's byte). Two operations bypass the classes: a copy
// takes the source's capacity unchanged, and assignment from another Str takes that value's
// capacity. When each operation takes a new buffer:
//
//   operation              new buffer when                          new capacity        keeps bytes
//   operator= (text)       n == 0, n > capacity, or                 roundCapacity(n+1)-1  no
//                          n < capacity / 4 while capacity > 27
//   operator= (Str)        the two capacities differ                the other's           no
//   operator+= (Str, text) new length >= capacity                   roundCapacity(n+1)-1  yes
//   operator+= (char)      length >= capacity                       roundCapacity(len+2)-1 yes
//   getBuffer(n)           n > capacity, or no buffer yet           roundCapacity(n+1)-1  yes
//
// A value without buffer (default-constructed, or assigned a value without buffer) has length 0
// and capacity 0 and reads as the empty text everywhere.
//
// Null text pointers act as the empty text. Arguments that point into the value's own buffer
// (s += s, s = s.cStr() + 1) work: the new buffer is filled before the old one is freed.
// When no memory can be had for a buffer, or a text would pass the largest size class, the
// process ends with status 5 (platform::endProcess), without a message.

class Str {
 public:
  // Largest size that roundCapacity can answer: 2^30 - 4 bytes. Longer texts are not supported.
  static constexpr int kMaxRoundedSize = (1 << 30) - 4;

  // Smallest 2^k - 4 (k >= 4) that is not below n: 12, 28, 60, 124, 252, ...
  // Answers -1 for n above kMaxRoundedSize.
  static int roundCapacity(int n);

  // No buffer, length 0, capacity 0.
  Str();
  // Same capacity as other, other's length bytes copied. A copy of a value without buffer has a
  // one-byte buffer holding the empty text and capacity 0.
  Str(const Str& other);
  // The zero-terminated text; capacity from its size class.
  Str(const char* text);  // NOLINT(google-explicit-constructor): a text literal is a Str
  // Exactly count bytes, zero bytes included; capacity from the size class of count.
  // A negative count or a null pointer gives the empty text.
  Str(const char* bytes, int count);
  ~Str();

  Str& operator=(const Str& other);
  Str& operator=(const char* text);
  Str& operator+=(const Str& other);
  Str& operator+=(const char* text);
  // A zero byte appended this way counts in the length.
  Str& operator+=(char c);

  // 0 when the text equals the given one; otherwise the sign of a byte-wise comparison.
  int compare(const char* text) const;

  // The zero-terminated text from start on; start below 0 counts as 0, above the length gives
  // the empty text.
  Str from(int start) const;
  // The first / last count bytes, count clamped to 0 ... length.
  Str left(int count) const;
  Str right(int count) const;

  // Index of the last byte equal to c, or -1.
  int findLast(char c) const;
  // Index of the first occurrence of text (the empty text is found at 0), or -1; -1 for a value
  // without buffer.
  int find(const char* text) const;

  // Makes room for minLength bytes and a terminator, keeping the text; the new part of a new
  // buffer is zero-filled. The caller writes into the returned buffer and then calls
  // releaseBuffer. A value without buffer always gets one.
  char* getBuffer(int minLength);
  // -1: the length becomes that of the zero-terminated text in the buffer. Otherwise the length
  // becomes newLength, clamped to 0 ... capacity, and a terminator is written there.
  void releaseBuffer(int newLength);

  // The byte at index; 0 outside 0 ... length-1 and for a value without buffer.
  char charAt(int index) const;
  // The text; for a value without buffer a shared, read-only empty text. Never allocates.
  const char* cStr() const;
  int size() const { return length_; }
  // The longest text the buffer holds without growing; the buffer is capacity + 1 bytes.
  int capacity() const { return capacity_; }
  bool hasBuffer() const { return buffer_ != nullptr; }

 private:
  // Takes a buffer of capacity + 1 bytes holding the first `keep` bytes of `source` (which may
  // be the old buffer or point into it), then frees the old buffer.
  void replaceBuffer(int newCapacity, const char* source, int keep);
  // count bytes after the text; the bytes may lie in the value's own buffer.
  void appendBytes(const char* bytes, int count);

  // Field order is part of the type: buffer, length, capacity.
  char* buffer_;   // owned; capacity_ + 1 bytes, or null
  int length_;     // bytes before the terminator
  int capacity_;   // longest text the buffer holds
};

// Concatenation: a new value; neither operand changes. The result's length is measured up to
// its first zero byte, so a zero byte on the right adds nothing.
Str operator+(const Str& a, const Str& b);
Str operator+(const Str& a, char c);
Str operator+(const Str& a, const char* text);
Str operator+(const char* text, const Str& b);

// Equal byte for byte up to the first zero byte. A value without buffer equals exactly the
// values of length 0.
bool operator==(const Str& a, const Str& b);
