// Atoms as natcall reads them from a command line or a batch file:
//   predicate(term, ...)   with an optional final '.'
// Terms: integers (optional minus sign), strings in double quotes with
// backslash escapes, symbols (lower-case initial), variables (upper-case
// initial or '_').
#ifndef NATCALL_ATOM_H
#define NATCALL_ATOM_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace natcall {

struct Term {
  enum Kind { Integer, String, Symbol, Variable } kind = Integer;
  std::int32_t number = 0;
  std::string text;  // a string unescaped, or the name of a symbol or variable
};

struct Atom {
  std::string predicate;
  std::vector<Term> args;
};

struct SyntaxError {
  std::size_t column = 0;  // 1-based byte position in the line
  std::string message;     // what was expected and what was found
};

// Returns: true and the atom read from `line`, or false and the first
// syntax error. `atom` is reused between calls to keep its capacity.
bool parseAtom(std::string_view line, Atom& atom, SyntaxError& error);

// True for a line of a batch file that holds no atom: blank, or a comment
// whose first non-blank character is '%'.
bool isBlankOrComment(std::string_view line);

// Appends `text` in the string syntax parseAtom reads, quotes included.
void appendQuoted(std::string& out, std::string_view text);

}  // namespace natcall

#endif
