// Fuzz target for natcall's reader of untrusted input: the bytes are a
// batch file (-f), read line by line as natcall reads it; every line that
// holds an atom is parsed and, when it parses, evaluated through the
// library's entry points. Checked besides: a syntax error points into its
// line, and a string term quoted as natcall prints it reads back the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "atom.h"
#include "lines.h"
#include "session.h"

namespace {

const natcall::Library& library() {
  static natcall::Library loaded;
  static const bool opened = [] {
    std::string error;
    if (loaded.open("", error)) return true;
    std::fprintf(stderr, "cannot load the library: %s\n", error.c_str());
    std::abort();
  }();
  (void)opened;
  return loaded;
}

void check(bool holds, const char* what, std::string_view line) {
  if (holds) return;
  std::fprintf(stderr, "%s: %.*s\n", what, int(line.size()), line.data());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
  if (!file) return 0;
  natcall::Session session(library());
  natcall::Atom atom, again;
  natcall::SyntaxError error;
  std::string output, message, quoted;
  natcall::readLines(file, [&](std::string_view line, long) {
    if (!natcall::parseAtom(line, atom, error)) {
      check(error.column >= 1 && error.column <= line.size() + 1, "syntax error outside its line", line);
      return true;
    }
    for (const natcall::Term& term : atom.args) {
      if (term.kind != natcall::Term::String) continue;
      quoted = "p(";
      natcall::appendQuoted(quoted, term.text);
      quoted += ')';
      check(natcall::parseAtom(quoted, again, error) && again.args[0].text == term.text,
            "a quoted string does not read back", line);
    }
    output.clear();
    session.evaluate(atom, output, message);
    return true;
  });
  std::fclose(file);
  return 0;
}
