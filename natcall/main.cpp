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

// Writes the outputs of a run, one line per atom, keeping them ahead of any
// message on standard error.
class Output {
 public:
  Output() { line_.reserve(1 << 16); }
  ~Output() { flush(); }
  std::string& line() { return line_; }
  void endLine() {
    line_ += '\n';
    if (line_.size() >= (1 << 16) - 256) flush();
  }
  void flush() {
    if (!line_.empty()) std::fwrite(line_.data(), 1, line_.size(), stdout);
    line_.clear();
    std::fflush(stdout);
  }

 private:
  std::string line_;
};

// Evaluates each line through the session and reports it: the outcome on
// standard output, errors on standard error, and the exit status.
class Reporter {
 public:
  explicit Reporter(const natcall::Library& library) : session_(library) {}

  // `where` names the line of input in messages: "atom 2" or "FILE, line 3".
  // Returns false after an error.
  bool line(std::string_view text, const std::string& where) {
    natcall::SyntaxError syntax;
    if (!natcall::parseAtom(text, atom_, syntax)) {
      output_.flush();
      std::string caret;
      for (std::size_t i = 0; i + 1 < syntax.column && i < text.size(); ++i)
        caret += text[i] == '\t' ? '\t' : ' ';
      std::fprintf(stderr, "natcall: %s, column %zu: %s\n  %.*s\n  %s^\n", where.c_str(), syntax.column,
                   syntax.message.c_str(), int(text.size()), text.data(), caret.c_str());
      status_ = 2;
      return false;
    }
    std::string error;
    natcall::Outcome outcome = session_.evaluate(atom_, output_.line(), error);
    if (outcome == natcall::Outcome::error) {
      output_.flush();
      std::fprintf(stderr, "natcall: %s: %s\n", where.c_str(), error.c_str());
      status_ = 2;
      return false;
    }
    output_.endLine();
    if (outcome == natcall::Outcome::fails) status_ = 1;
    return true;
  }

  int status() const { return status_; }
  void flush() { output_.flush(); }

 private:
  natcall::Session session_;
  natcall::Atom atom_;
  Output output_;
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
      [&] { reporter.flush(); });
  int readError = errno;
  if (!standardInput) close(fd);
  if (!readAll) {
    std::fprintf(stderr, "natcall: error reading %s: %s\n", name.c_str(), std::strerror(readError));
    return 2;
  }
  return reporter.status();
}

int list(const natcall::Library& library) {
  for (const natcall::Predicate& predicate : natcall::knownPredicates()) {
    std::string line(predicate.name);
    line += '/' + std::to_string(predicate.arity) + ':';
    std::vector<std::string> offered = library.patterns(predicate.name, predicate.arity);
    if (offered.empty()) line += " (none)";
    for (const std::string& pattern : offered) line += ' ' + pattern;
    std::puts(line.c_str());
  }
  return 0;
}

// Errors at the prompt are reported and left behind: the session ends
// with status 0.
int runPrompt(const natcall::Library& library) {
  Reporter reporter(library);
  natcall::Prompt prompt;
  std::fputs("natcall: one atom per line; .help lists the commands\n", stderr);
  std::string line;
  for (long number = 1; prompt.read(line); ++number) {
    if (natcall::isBlankOrComment(line)) continue;
    std::string_view text = line;
    text.remove_prefix(text.find_first_not_of(" \t"));
    if (text[0] != '.') {
      reporter.line(line, "standard input, line " + std::to_string(number));
      reporter.flush();
      continue;
    }
    text = text.substr(0, text.find_last_not_of(" \t") + 1);
    if (text == ".quit") break;
    if (text == ".list") {
      list(library);
    } else if (text == ".help") {
      std::fputs(promptHelp, stdout);
    } else {
      std::fprintf(stderr, "natcall: unknown command %.*s; .help lists the commands\n", int(text.size()),
                   text.data());
    }
    std::fflush(stdout);
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
      std::fputs(usage, stdout);
      std::fputs(promptUsage, stdout);
      return 0;
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
  if (listing) return list(library);
  if (interactive) return runPrompt(library);
  Reporter reporter(library);
  if (haveFile) return batch(reporter, file);
  for (std::size_t i = 0; i < atoms.size(); ++i)
    if (!reporter.line(atoms[i], "atom " + std::to_string(i + 1))) break;
  return reporter.status();
}
