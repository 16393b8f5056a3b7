// The value of one predicate argument, shared in layout with the host.
#ifndef EXTPRED_H
#define EXTPRED_H

#if defined(__GNUC__)
#define EXTPRED_EXPORT __attribute__((visibility("default")))
#else
#define EXTPRED_EXPORT
#endif

// Plain value type: kind at byte 0, then a pointer-wide union. Texts of
// Symbol and String values are owned, allocated with new[] and released with
// delete[] on both sides of the boundary.
class EXTPRED_EXPORT CONSTANT {
 public:
  // A fixed underlying type keeps any code a host may store well defined.
  enum TYPE : int { Integer = 0, Symbol = 1, String = 2, NullConst = 3 };

  TYPE getType() const;
  bool isInt() const;
  bool isString() const;
  bool isSymbol() const;
  // The three text accessors return a fresh new[] array that the caller
  // releases with delete[].
  const char* toString() const;  // stored text less its first and last character
  const char* toQuotedString() const;
  const char* toSymbol() const;
  int toInt() const;
  bool isNull() const;

  CONSTANT();
  CONSTANT(CONSTANT const& source);
  CONSTANT& operator=(CONSTANT const& source);
  CONSTANT(char const* text, bool isString);
  CONSTANT(int const& value);
  ~CONSTANT();

  // Three-way comparison (negative, zero, positive), not a truth value.
  int operator!=(CONSTANT const& right) const;
  bool operator==(CONSTANT const& right) const;
  bool operator<(CONSTANT const& right) const;
  bool operator<=(CONSTANT const& right) const;
  bool operator>(CONSTANT const& right) const;
  bool operator>=(CONSTANT const& right) const;

 private:
  TYPE type;
  union {
    char* string;
    int integer;
  } data;
};

static_assert(sizeof(int) == 4, "CONSTANT carries 32-bit integers");
static_assert(sizeof(CONSTANT) == 2 * sizeof(void*), "kind, then a pointer-wide union");

#endif
