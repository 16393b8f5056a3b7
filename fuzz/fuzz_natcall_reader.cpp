// Fuzz target for natcall's reader of untrusted input: the bytes are a
// batch file (-f), cut into lines as natcall cuts its blocks of input; each
// atom is parsed and, when it parses, evaluated through the entry points.
// The oracle: the lines and their answers are the same whatever the sizes of
// the blocks the input arrives in (sizes taken from the input's own bytes)
// as when it arrives in one block. Checked besides: a syntax error points
// into its line, and a string term quoted as natcall prints it reads back
// the same.
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

void checkLine(std::string_view line) {
  natcall::Atom atom, again;
  natcall::SyntaxError error;
  check(line.find('\n') == std::string_view::npos, "a line end inside a line", line);
  if (!natcall::parseAtom(line, atom, error)) {
    check(error.column >= 1 && error.column <= line.size() + 1, "syntax error outside its line", line);
    return;
  }
  for (const natcall::Term& term : atom.args) {
    if (term.kind != natcall::Term::String) continue;
    std::string quoted = "p(";
    natcall::appendQuoted(quoted, term.text);
    quoted += ')';
    check(natcall::parseAtom(quoted, again, error) && again.args[0].text == term.text,
          "a quoted string does not read back", line);
  }
}

// Returns: a transcript of the lines as natcall answers them, each with its
// number, its text and its answer or error, the input cut into blocks of
// `blockSize(i)` bytes for the i-th block.
template <typename BlockSize>
std::string transcript(std::string_view input, BlockSize blockSize, bool checkLines) {
  natcall::Session session(library());
  natcall::Atom atom;
  natcall::SyntaxError error;
  std::string text, message;
  natcall::LineSplitter lines([&](std::string_view line, long number) {
    if (checkLines) checkLine(line);
    text += std::to_string(number) + ' ';
    text.append(line);
    text += " -> ";
    if (!natcall::parseAtom(line, atom, error)) {
      text += "column " + std::to_string(error.column) + ": " + error.message + '\n';
      return true;
    }
    if (session.evaluate(atom, text, message) == natcall::Outcome::error) text += "error: " + message;
    text += '\n';
    return true;
  });
  bool more = true;
  for (std::size_t at = 0, i = 0; more && at < input.size(); ++i) {
    std::size_t size = blockSize(i);
    more = lines.feed(input.substr(at, size));
    at += size;
  }
  if (more) lines.finish();
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string whole = transcript(input, [&](std::size_t) { return input.size(); }, true);
  // Blocks of 1 to 16 bytes, so that many lines arrive split across two or
  // more, at the places the fuzzer's bytes choose.
  std::string cut = transcript(input, [&](std::size_t i) { return std::size_t(data[i % size] % 16 + 1); }, false);
  if (whole != cut) {
    std::fprintf(stderr, "in one block:\n%s\nin small blocks:\n%s\n", whole.c_str(), cut.c_str());
    std::abort();
  }
  return 0;
}
