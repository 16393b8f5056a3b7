// Fuzz target for natcall's reader of untrusted input: the bytes are a
// batch file (-f), cut into lines as natcall cuts its blocks of input; each
// atom is parsed and, when it parses, evaluated through the entry points. Checked besides: a syntax error points into its
// line, and a string term quoted as natcall prints it reads back the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "atom.h"
#include "lines.h"
#include "session.h"

namespace {

void check(bool holds, const char* what, std::string_view line) {
  if (holds) return;
  std::fprintf(stderr, "%s: %.*s\n", what, int(line.size()), line.data());
  std::abort();
}

const natcall::Library& library() {
  static std::string error;
  static const std::optional<natcall::Library> loaded = natcall::Library::open("", error);
  check(loaded.has_value(), "cannot load the library", error);
  return *loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  natcall::Session session(library());
  natcall::Atom atom, again;
  natcall::SyntaxError error;
  std::string output, message, quoted;
  natcall::LineSplitter lines([&](std::string_view line, long) {
    check(line.find('\n') == std::string_view::npos, "a line end inside a line", line);
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
  // Small blocks, so that many lines arrive split across two or more.
  constexpr std::size_t block = 16;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  bool more = true;
  for (std::size_t at = 0; more && at < size; at += block) more = lines.feed(input.substr(at, block));
  if (more) lines.finish();
  return 0;
}
