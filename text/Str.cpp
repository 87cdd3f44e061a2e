#include "text/Str.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include "platform/Exit.h"

namespace {

// Status the process ends with when a text cannot get its buffer.
constexpr int kNoMemoryStatus = 5;

// Size classes are 2^k - 4 bytes for k >= 4: the first is 16 - 4 = 12.
constexpr int kSmallestClassSize = 1 << 4;
constexpr int kClassSlack = 4;

// Assignment from text gives memory back only when the new text fills less than a quarter of
// a capacity above this one (the 28-byte class keeps its buffer).
constexpr int kShrinkAbove = 28 - 1;
constexpr int kShrinkDivisor = 4;

// What cStr answers for a value without buffer. Never written.
constexpr char kEmptyText[1] = {'\0'};

[[noreturn]] void endForNoMemory() { platform::endProcess(kNoMemoryStatus); }

// Capacity of the size class for a text of `length` bytes. A text that passes the largest class
// cannot be held, which ends the process like a failed allocation.
int classCapacity(std::int64_t length) {
  if (length < 0) length = 0;
  if (length + 1 > Str::kMaxRoundedSize) endForNoMemory();
  return Str::roundCapacity(static_cast<int>(length + 1)) - 1;
}

// A buffer of capacity + 1 bytes, contents undefined.
char* allocate(int capacity) {
  char* fresh = new (std::nothrow) char[static_cast<std::size_t>(capacity) + 1];
  if (fresh == nullptr) endForNoMemory();
  return fresh;
}

// Length of a zero-terminated text; null is the empty text. A text too long for any size class
// ends the process.
int textLength(const char* text) {
  if (text == nullptr) return 0;
  const std::size_t length = std::strlen(text);
  if (length >= static_cast<std::size_t>(Str::kMaxRoundedSize)) endForNoMemory();
  return static_cast<int>(length);
}

void copyBytes(char* to, const char* from, int count) {
  if (count > 0) std::memmove(to, from, static_cast<std::size_t>(count));
}

}  // namespace

int Str::roundCapacity(int n) {
  if (n > kMaxRoundedSize) return -1;
  int size = kSmallestClassSize;
  while (size - kClassSlack < n) size *= 2;
  return size - kClassSlack;
}

Str::Str() : buffer_(nullptr), length_(0), capacity_(0) {}

Str::Str(const Str& other)
    : buffer_(allocate(other.capacity_)), length_(other.length_), capacity_(other.capacity_) {
  copyBytes(buffer_, other.buffer_, length_);
  buffer_[length_] = '\0';
}

Str::Str(const char* text) : Str(text, textLength(text)) {}

Str::Str(const char* bytes, int count) : buffer_(nullptr), length_(0), capacity_(0) {
  if (bytes == nullptr || count < 0) count = 0;
  capacity_ = classCapacity(count);
  buffer_ = allocate(capacity_);
  copyBytes(buffer_, bytes, count);
  length_ = count;
  buffer_[length_] = '\0';
}

Str::~Str() {
  delete[] buffer_;
  buffer_ = nullptr;
  length_ = 0;
  capacity_ = 0;
}

void Str::replaceBuffer(int newCapacity, const char* source, int keep) {
  char* fresh = allocate(newCapacity);
  copyBytes(fresh, source, keep);
  delete[] buffer_;
  buffer_ = fresh;
  capacity_ = newCapacity;
}

Str& Str::operator=(const Str& other) {
  if (this == &other) return *this;
  if (capacity_ != other.capacity_) replaceBuffer(other.capacity_, nullptr, 0);
  length_ = other.length_;
  if (length_ != 0) {
    copyBytes(buffer_, other.buffer_, length_);
    buffer_[length_] = '\0';
  } else if (buffer_ != nullptr) {
    buffer_[0] = '\0';
  }
  return *this;
}

Str& Str::operator=(const char* text) {
  const int n = textLength(text);
  const bool shrink = n < capacity_ / kShrinkDivisor && capacity_ > kShrinkAbove;
  if (n == 0 || n > capacity_ || shrink) {
    // The text may lie in the old buffer: replaceBuffer copies before it frees.
    replaceBuffer(classCapacity(n), text, n);
  } else {
    copyBytes(buffer_, text, n);
  }
  length_ = n;
  buffer_[length_] = '\0';
  return *this;
}

// Both appends of several bytes: in place while the new length stays below the capacity,
// otherwise into a buffer of the new length's class that keeps the old bytes. The bytes may lie
// in the value's own buffer, so everything is copied before the old buffer goes.
void Str::appendBytes(const char* bytes, int count) {
  const std::int64_t sum = std::int64_t{length_} + count;
  if (sum < capacity_) {
    copyBytes(buffer_ + length_, bytes, count);
  } else {
    const int newCapacity = classCapacity(sum);
    char* fresh = allocate(newCapacity);
    copyBytes(fresh, buffer_, length_);
    copyBytes(fresh + length_, bytes, count);
    delete[] buffer_;
    buffer_ = fresh;
    capacity_ = newCapacity;
  }
  length_ = static_cast<int>(sum);
  buffer_[length_] = '\0';
}

Str& Str::operator+=(const Str& other) {
  appendBytes(other.buffer_, other.length_);
  return *this;
}

Str& Str::operator+=(const char* text) {
  appendBytes(text, textLength(text));
  return *this;
}

Str& Str::operator+=(char c) {
  if (length_ >= capacity_) replaceBuffer(classCapacity(std::int64_t{length_} + 1), buffer_, length_);
  buffer_[length_] = c;
  ++length_;
  buffer_[length_] = '\0';
  return *this;
}

int Str::compare(const char* text) const {
  const char* other = text == nullptr ? kEmptyText : text;
  if (buffer_ == nullptr) return other[0] == '\0' ? 0 : -1;
  return std::strcmp(cStr(), other);
}

Str Str::from(int start) const {
  if (start < 0) start = 0;
  if (start > length_ || buffer_ == nullptr) return Str(kEmptyText);
  return Str(cStr() + start);
}

Str Str::left(int count) const {
  if (count < 0) count = 0;
  if (count > length_) count = length_;
  return Str(buffer_, count);
}

Str Str::right(int count) const {
  if (count > length_) count = length_;
  if (count <= 0 || buffer_ == nullptr) return Str(kEmptyText);
  return Str(buffer_ + (length_ - count), count);
}

int Str::findLast(char c) const {
  for (int i = length_ - 1; i >= 0; --i) {
    if (buffer_[i] == c) return i;
  }
  return -1;
}

int Str::find(const char* text) const {
  if (buffer_ == nullptr) return -1;
  const char* hit = std::strstr(cStr(), text == nullptr ? kEmptyText : text);
  return hit == nullptr ? -1 : static_cast<int>(hit - buffer_);
}

char* Str::getBuffer(int minLength) {
  if (minLength < 0) minLength = 0;
  if (buffer_ == nullptr || minLength > capacity_) {
    replaceBuffer(classCapacity(minLength), buffer_, length_);
    std::memset(buffer_ + length_, 0, static_cast<std::size_t>(capacity_ - length_) + 1);
  }
  buffer_[length_] = '\0';
  return buffer_;
}

void Str::releaseBuffer(int newLength) {
  if (buffer_ == nullptr) return;
  if (newLength == -1) {
    // Measured within the buffer: a caller that filled every byte gets the full capacity.
    const void* zero = std::memchr(buffer_, 0, static_cast<std::size_t>(capacity_) + 1);
    newLength = zero == nullptr ? capacity_ : static_cast<int>(static_cast<const char*>(zero) - buffer_);
  }
  if (newLength < 0) newLength = 0;
  if (newLength > capacity_) newLength = capacity_;
  length_ = newLength;
  buffer_[length_] = '\0';
}

char Str::charAt(int index) const {
  if (buffer_ == nullptr || index < 0 || index > length_) return '\0';
  return buffer_[index];
}

const char* Str::cStr() const {
  if (buffer_ == nullptr) return kEmptyText;
  buffer_[length_] = '\0';
  return buffer_;
}

namespace {

// Every concatenation works the same way: the left operand is already in `result`; room for
// `room` more bytes is made through getBuffer, the right bytes are written after the left text,
// and the length is measured up to the first zero byte.
void writeAfter(Str& result, const char* bytes, int count, int room) {
  const int leftLength = result.size();
  char* out = result.getBuffer(leftLength + room);
  std::memcpy(out + leftLength, bytes, static_cast<std::size_t>(count));
  out[leftLength + count] = '\0';
  result.releaseBuffer(-1);
}

}  // namespace

Str operator+(const Str& a, const Str& b) {
  Str result(a.cStr(), a.size());
  const char* right = b.cStr();
  // b's text up to its first zero byte; cStr guarantees one at b.size() at the latest.
  writeAfter(result, right, static_cast<int>(std::strlen(right)), b.size());
  return result;
}

Str operator+(const Str& a, char c) {
  Str result(a.cStr(), a.size());
  writeAfter(result, &c, 1, 2);
  return result;
}

Str operator+(const Str& a, const char* text) {
  Str result(a.cStr(), a.size());
  const int count = textLength(text);
  writeAfter(result, text == nullptr ? kEmptyText : text, count, count);
  return result;
}

Str operator+(const char* text, const Str& b) {
  Str result(text);
  const char* right = b.cStr();
  writeAfter(result, right, static_cast<int>(std::strlen(right)), b.size());
  return result;
}

bool operator==(const Str& a, const Str& b) {
  if (!a.hasBuffer()) return b.size() == 0;
  if (!b.hasBuffer()) return a.size() == 0;
  return std::strcmp(a.cStr(), b.cStr()) == 0;
}
