#include "atom.h"

namespace natcall {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameChar(char c) { return isLower(c) || isUpper(c) || isDigit(c) || c == '_'; }

int hexValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class Reader {
 public:
  Reader(std::string_view line, SyntaxError& error) : line_(line), error_(error) {}

  bool atom(Atom& atom) {
    atom.args.clear();
    skipBlanks();
    if (!isLower(peek())) return expected("a predicate name (a lower-case initial)");
    atom.predicate.assign(name());
    skipBlanks();
    if (peek() != '(') return expected("'('");
    ++at_;
    do {
      skipBlanks();
      Term& term = atom.args.emplace_back();
      if (!this->term(term)) return false;
      skipBlanks();
      if (peek() == ')') break;
      if (peek() != ',') return expected("',' or ')'");
      ++at_;
    } while (true);
    ++at_;
    skipBlanks();
    if (peek() == '.') {
      ++at_;
      skipBlanks();
    }
    if (at_ < line_.size()) return expected("the end of the atom");
    return true;
  }

 private:
  char peek() const { return at_ < line_.size() ? line_[at_] : '\0'; }
  void skipBlanks() {
    while (at_ < line_.size() && isBlank(line_[at_])) ++at_;
  }
  std::string_view name() {
    std::size_t begin = at_;
    while (at_ < line_.size() && isNameChar(line_[at_])) ++at_;
    return line_.substr(begin, at_ - begin);
  }

  bool fail(std::size_t at, std::string message) {
    error_.column = at + 1;
    error_.message = std::move(message);
    return false;
  }

  std::string found() const {
    if (at_ >= line_.size()) return "the end of the line";
    unsigned char c = static_cast<unsigned char>(line_[at_]);
    if (c < 0x20 || c >= 0x7f) {
      static const char digits[] = "0123456789abcdef";
      return std::string("byte 0x") + digits[c >> 4] + digits[c & 15];
    }
    return std::string("'") + char(c) + "'";
  }

  bool expected(const char* what) {
    return fail(at_, std::string("expected ") + what + ", found " + found());
  }

  bool term(Term& term) {
    char c = peek();
    if (isDigit(c) || c == '-') return integer(term);
    if (c == '"') return string(term);
    if (isLower(c) || isUpper(c) || c == '_') {
      term.kind = isLower(c) ? Term::Symbol : Term::Variable;
      term.text.assign(name());
      return true;
    }
    return expected("a term (integer, string, symbol or variable)");
  }

  bool integer(Term& term) {
    std::size_t begin = at_;
    bool negative = peek() == '-';
    if (negative) ++at_;
    if (!isDigit(peek())) return expected("a digit");
    // Magnitudes up to 2^31 fit in 64 bits with room for one more digit.
    std::int64_t magnitude = 0;
    const std::int64_t limit = negative ? std::int64_t(1) << 31 : (std::int64_t(1) << 31) - 1;
    while (isDigit(peek())) {
      magnitude = magnitude * 10 + (line_[at_++] - '0');
      if (magnitude > limit) return fail(begin, "integer outside the 32-bit range");
    }
    term.kind = Term::Integer;
    term.number = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
  }

  bool string(Term& term) {
    term.kind = Term::String;
    term.text.clear();
    ++at_;
    while (true) {
      if (at_ >= line_.size()) return expected("'\"' to close the string");
      char c = line_[at_];
      if (c == '"') break;
      // A NUL would end the text the library sees.
      if (c == '\0') return fail(at_, "a string cannot hold a NUL byte");
      if (c != '\\') {
        term.text += c;
        ++at_;
        continue;
      }
      std::size_t escape = at_++;
      // The one-letter escapes and what they stand for, position by position.
      constexpr std::string_view letters = "\"\\ntr", meanings = "\"\\\n\t\r";
      if (std::size_t which = letters.find(peek()); which != std::string_view::npos) {
        term.text += meanings[which];
      } else if (peek() == 'x') {
        int high = hexValue(at_ + 1 < line_.size() ? line_[at_ + 1] : '\0');
        int low = hexValue(at_ + 2 < line_.size() ? line_[at_ + 2] : '\0');
        if (high < 0 || low < 0) return fail(escape, "expected two hexadecimal digits after \\x");
        if (high == 0 && low == 0) return fail(escape, "a string cannot hold \\x00");
        term.text += char(high * 16 + low);
        at_ += 2;
      } else {
        return fail(escape, "expected an escape (\\\" \\\\ \\n \\t \\r \\xHH) after '\\', found " + found());
      }
      ++at_;
    }
    ++at_;
    return true;
  }

  std::string_view line_;
  SyntaxError& error_;
  std::size_t at_ = 0;
};

}  // namespace

bool parseAtom(std::string_view line, Atom& atom, SyntaxError& error) {
  return Reader(line, error).atom(atom);
}

bool isBlankOrComment(std::string_view line) {
  for (char c : line) {
    if (isBlank(c)) continue;
    return c == '%';
  }
  return true;
}

void appendQuoted(std::string& out, std::string_view text) {
  static const char digits[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (u < 0x20 || u == 0x7f) {
          out += "\\x";
          out += digits[u >> 4];
          out += digits[u & 15];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

}  // namespace natcall
