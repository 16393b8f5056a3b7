// natcall: evaluates atoms through the library's entry points, as a rules
// host would, from the command line, one atom per line of a file, or at a
// prompt.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "atom.h"
#include "lines.h"
#include "prompt.h"
#include "session.h"

namespace {

const char usage[] =
    "usage: natcall [--lib PATH] ATOM...\n"
    "       natcall [--lib PATH] -f FILE     (one atom per line; '-' reads standard input)\n"
    "       natcall [--lib PATH] --list\n"
    "An atom is predicate(term, ...); a term is an integer, a \"string\", a symbol\n"
    "or a Variable (at most one). Exit status: 0 every atom held or was computed,\n"
    "1 some atom was false, 2 an error.\n";

const char promptUsage[] =
    "Without atoms, -f or --list, and with a terminal on standard input, natcall\n"
    "opens a prompt: one atom per line, answered at once, an error not ending the\n"
    "session; .help there lists the commands, .quit or Ctrl-D ends it (status 0).\n";

const char promptHelp[] =
    "Each line is an atom, answered as natcall ATOM would answer it; an error\n"
    "does not end the session. Blank lines and % comments are skipped.\n"
    ".list   each predicate, its arity and the patterns the library exports\n"
    ".help   this text\n"
    ".quit   ends natcall (so does Ctrl-D on an empty line), with status 0\n";

int usageError(const std::string& message) {
  std::fprintf(stderr, "natcall: %s\n%s", message.c_str(), usage);
  return 2;
}

// Everything natcall prints on standard output goes through here, so that
// a failed write is seen wherever it happens: it is reported once, and
// every later flush fails too, so that the run stops. Answers are kept
// ahead of any message on standard error by flushing before each message.
class Output {
 public:
  Output() { text_.reserve(1 << 16); }
  std::string& text() { return text_; }
  // Returns: false once a write has failed.
  bool endLine() {
    text_ += '\n';
    return text_.size() < (1 << 16) - 256 || flush();
  }
  bool flush() {
    if (failed_) return false;
    bool written = text_.empty() || std::fwrite(text_.data(), 1, text_.size(), stdout) == text_.size();
    text_.clear();
    if (written && std::fflush(stdout) == 0) return true;
    // EPIPE arrives here only where SIGPIPE is ignored.
    std::fprintf(stderr, "natcall: error writing standard output: %s\n", std::strerror(errno));
    failed_ = true;
    return false;
  }

 private:
  std::string text_;
  bool failed_ = false;
};

// Evaluates each line through the session and reports it: the outcome on
// standard output, errors on standard error, and the exit status.
class Reporter {
 public:
  Reporter(const natcall::Library& library, Output& output) : session_(library), output_(output) {}

  // `where` names the line of input in messages: "atom 2" or "FILE, line 3".
  // Returns false after an error.
  bool line(std::string_view text, const std::string& where) {
    natcall::SyntaxError syntax;
    if (!natcall::parseAtom(text, atom_, syntax)) {
      if (!flush()) return false;
      std::string caret;
      for (std::size_t i = 0; i + 1 < syntax.column && i < text.size(); ++i)
        caret += text[i] == '\t' ? '\t' : ' ';
      std::fprintf(stderr, "natcall: %s, column %zu: %s\n  %.*s\n  %s^\n", where.c_str(), syntax.column,
                   syntax.message.c_str(), int(text.size()), text.data(), caret.c_str());
      status_ = 2;
      return false;
    }
    std::string error;
    natcall::Outcome outcome = session_.evaluate(atom_, output_.text(), error);
    if (outcome == natcall::Outcome::error) {
      if (!flush()) return false;
      std::fprintf(stderr, "natcall: %s: %s\n", where.c_str(), error.c_str());
      status_ = 2;
      return false;
    }
    if (!output_.endLine()) {
      status_ = 2;
      return false;
    }
    if (outcome == natcall::Outcome::fails) status_ = 1;
    return true;
  }

  // Returns: false, with the status 2, when the output cannot be written.
  bool flush() {
    if (output_.flush()) return true;
    status_ = 2;
    return false;
  }
  // Writes what is left; returns the exit status.
  int finish() {
    flush();
    return status_;
  }

 private:
  natcall::Session session_;
  natcall::Atom atom_;
  Output& output_;
  int status_ = 0;
};

int batch(Reporter& reporter, const std::string& path) {
  bool standardInput = path == "-";
  std::string name = standardInput ? "standard input" : path;
  int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    std::fprintf(stderr, "natcall: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
    return 2;
  }
  bool readAll = natcall::readLines(
      fd, [&](std::string_view text, long number) { return reporter.line(text, name + ", line " + std::to_string(number)); },
      [&] { return reporter.flush(); });
  int readError = errno;
  if (!standardInput) close(fd);
  if (!readAll) {
    if (!reporter.flush()) return 2;
    std::fprintf(stderr, "natcall: error reading %s: %s\n", name.c_str(), std::strerror(readError));
    return 2;
  }
  return reporter.finish();
}

// Returns: false when the output cannot be written.
bool list(const natcall::Library& library, Output& output) {
  std::string& text = output.text();
  for (const natcall::Predicate& predicate : natcall::knownPredicates()) {
    text += predicate.name;
    text += '/' + std::to_string(predicate.arity) + ':';
    std::vector<std::string> offered = library.patterns(predicate.name, predicate.arity);
    if (offered.empty()) text += " (none)";
    for (const std::string& pattern : offered) text += ' ' + pattern;
    text += '\n';
  }
  return output.flush();
}

// Errors in atoms are reported and left behind: the session ends with
// status 0, unless its answers cannot be written.
int runPrompt(const natcall::Library& library, Output& output) {
  Reporter reporter(library, output);
  natcall::Prompt prompt;
  std::fputs("natcall: one atom per line; .help lists the commands\n", stderr);
  std::string line;
  for (long number = 1; prompt.read(line); ++number) {
    if (natcall::isBlankOrComment(line)) continue;
    std::string_view text = line;
    text.remove_prefix(text.find_first_not_of(" \t"));
    if (text[0] != '.') {
      reporter.line(line, "standard input, line " + std::to_string(number));
      if (!reporter.flush()) return 2;
      continue;
    }
    text = text.substr(0, text.find_last_not_of(" \t") + 1);
    if (text == ".quit") break;
    if (text == ".list") {
      if (!list(library, output)) return 2;
    } else if (text == ".help") {
      output.text() += promptHelp;
      if (!output.flush()) return 2;
    } else {
      std::fprintf(stderr, "natcall: unknown command %.*s; .help lists the commands\n", int(text.size()),
                   text.data());
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string libraryPath, file;
  bool listing = false, haveFile = false;
  std::vector<std::string> atoms;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--") {
      atoms.insert(atoms.end(), argv + i + 1, argv + argc);
      break;
    } else if (arg == "-h" || arg == "--help") {
      Output output;
      output.text() += usage;
      output.text() += promptUsage;
      return output.flush() ? 0 : 2;
    } else if (arg == "--list") {
      listing = true;
    } else if (arg == "--lib" || arg == "-f") {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return usageError(arg + " needs an argument");
      (arg == "--lib" ? libraryPath : file) = argv[++i];
      if (arg == "-f") haveFile = true;
    } else if (arg.rfind("--lib=", 0) == 0 && arg.size() > 6) {
      libraryPath = arg.substr(6);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usageError("unknown option " + arg);
    } else {
      atoms.push_back(arg);
    }
  }
  bool interactive = !listing && !haveFile && atoms.empty() && isatty(STDIN_FILENO);
  if (!interactive && int(listing) + int(haveFile) + int(!atoms.empty()) != 1)
    return usageError("give atoms, or -f FILE, or --list");

  std::string error;
  std::optional<natcall::Library> loaded = natcall::Library::open(libraryPath, error);
  if (!loaded) {
    std::fprintf(stderr, "natcall: cannot load the library: %s\n", error.c_str());
    return 2;
  }
  const natcall::Library& library = *loaded;
  Output output;
  if (listing) return list(library, output) ? 0 : 2;
  if (interactive) return runPrompt(library, output);
  Reporter reporter(library, output);
  if (haveFile) return batch(reporter, file);
  for (std::size_t i = 0; i < atoms.size(); ++i)
    if (!reporter.line(atoms[i], "atom " + std::to_string(i + 1))) break;
  return reporter.finish();
}
