#include "extpred.h"

#include <cstddef>
#include <cstring>

namespace {

bool ownsText(int type) { return type == CONSTANT::Symbol || type == CONSTANT::String; }

// A missing text (null pointer) reads as the empty text everywhere.
const char* textOf(const char* text) { return text ? text : ""; }

char* copyOf(const char* text, std::size_t length) {
  char* copy = new char[length + 1];
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

char* copyOf(const char* text) {
  text = textOf(text);
  return copyOf(text, std::strlen(text));
}

struct Span {
  const char* begin;
  std::size_t length;
};

// The stored text less its first and last character; empty for a text of
// fewer than two characters, so nothing outside the text is read.
Span unquoted(const char* stored) {
  stored = textOf(stored);
  std::size_t length = std::strlen(stored);
  if (length < 2) return {stored, 0};
  return {stored + 1, length - 2};
}

// strcmp on two spans: unsigned bytes, a proper prefix first.
int compare(Span left, Span right) {
  std::size_t common = left.length < right.length ? left.length : right.length;
  int bytes = std::memcmp(left.begin, right.begin, common);
  if (bytes != 0) return bytes;
  return left.length < right.length ? -1 : left.length > right.length ? 1 : 0;
}

}  // namespace

CONSTANT::TYPE CONSTANT::getType() const { return type; }
bool CONSTANT::isInt() const { return type == Integer; }
bool CONSTANT::isString() const { return type == String; }
bool CONSTANT::isSymbol() const { return type == Symbol; }
bool CONSTANT::isNull() const { return type == NullConst; }
int CONSTANT::toInt() const { return data.integer; }

const char* CONSTANT::toString() const {
  Span inner = unquoted(data.string);
  return copyOf(inner.begin, inner.length);
}

const char* CONSTANT::toQuotedString() const { return copyOf(data.string); }
const char* CONSTANT::toSymbol() const { return copyOf(data.string); }

CONSTANT::CONSTANT() : type(NullConst) {
  static_assert(offsetof(CONSTANT, type) == 0 && offsetof(CONSTANT, data) == sizeof(void*),
                "the host reads the kind at byte 0 and the union one pointer further");
  data.string = nullptr;
}

CONSTANT::CONSTANT(int const& value) : type(Integer) {
  data.string = nullptr;
  data.integer = value;
}

CONSTANT::CONSTANT(char const* text, bool isString) {
  text = textOf(text);
  std::size_t length = std::strlen(text);
  if (isString && text[0] != '"') {
    char* quoted = new char[length + 3];
    quoted[0] = '"';
    std::memcpy(quoted + 1, text, length);
    quoted[length + 1] = '"';
    quoted[length + 2] = '\0';
    data.string = quoted;
  } else {
    data.string = copyOf(text, length);
  }
  type = isString ? String : Symbol;
}

CONSTANT::CONSTANT(CONSTANT const& source) : type(source.type) {
  if (&source == this) return;
  if (ownsText(source.type))
    data.string = source.data.string ? copyOf(source.data.string) : nullptr;
  else
    data = source.data;
}

CONSTANT& CONSTANT::operator=(CONSTANT const& source) {
  if (&source == this) return *this;
  if (ownsText(type) && data.string) {
    delete[] data.string;
    // Until the copy below succeeds the target holds no text, so a failed
    // allocation leaves a NullConst that is safe to destroy.
    type = NullConst;
    data.string = nullptr;
  }
  if (ownsText(source.type))
    data.string = source.data.string ? copyOf(source.data.string) : nullptr;
  else
    data = source.data;
  type = source.type;
  return *this;
}

CONSTANT::~CONSTANT() {
  if (ownsText(type) && data.string) delete[] data.string;
}

int CONSTANT::operator!=(CONSTANT const& right) const {
  if (type != right.type) return int(unsigned(type) - unsigned(right.type));
  switch (type) {
    case Integer:
      // Wraps like the host's 32-bit subtraction; no widening.
      return int(static_cast<unsigned>(data.integer) - static_cast<unsigned>(right.data.integer));
    case Symbol:
      return std::strcmp(textOf(data.string), textOf(right.data.string));
    case String:
      return compare(unquoted(data.string), unquoted(right.data.string));
    default:
      return 0;
  }
}

bool CONSTANT::operator==(CONSTANT const& right) const { return (*this != right) == 0; }
bool CONSTANT::operator<(CONSTANT const& right) const { return (*this != right) < 0; }
bool CONSTANT::operator<=(CONSTANT const& right) const { return (*this != right) < 1; }
bool CONSTANT::operator>(CONSTANT const& right) const { return (*this != right) > 0; }
bool CONSTANT::operator>=(CONSTANT const& right) const { return (*this != right) > -1; }
