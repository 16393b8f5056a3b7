#include "prompt.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#if NATCALL_LINE_EDITING
#include <histedit.h>

#include <clocale>
#endif

namespace natcall {
namespace {

const char promptText[] = "natcall> ";

void removeLineEnd(std::string& line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
}

#if NATCALL_LINE_EDITING
char* promptFor(EditLine*) { return const_cast<char*>(promptText); }
#endif

}  // namespace

#if NATCALL_LINE_EDITING

Prompt::Prompt() {
  // Lets the editor move over a multibyte character as one.
  std::setlocale(LC_CTYPE, "");
  editor_ = el_init("natcall", stdin, stderr, stderr);
  history_ = history_init();
  HistEvent event;
  history(history_, &event, H_SETSIZE, 500);
  history(history_, &event, H_SETUNIQUE, 1);
  if (const char* home = std::getenv("HOME"); home && *home) {
    historyFile_ = std::string(home) + "/.natcall_history";
    history(history_, &event, H_LOAD, historyFile_.c_str());
  }
  el_set(editor_, EL_PROMPT, promptFor);
  el_set(editor_, EL_HIST, history, history_);
  // libedit may default to vi keys; ~/.editrc can still choose them.
  el_set(editor_, EL_EDITOR, "emacs");
  // Gives the terminal back when a signal ends natcall, and follows resizes.
  el_set(editor_, EL_SIGNAL, 1);
  el_source(editor_, nullptr);
}

Prompt::~Prompt() {
  history_end(history_);
  el_end(editor_);
}

bool Prompt::read(std::string& line) {
  int count = 0;
  const char* text = el_gets(editor_, &count);
  if (!text || count <= 0) {
    std::fputc('\n', stderr);
    return false;
  }
  line.assign(text);
  removeLineEnd(line);
  if (line.find_first_not_of(" \t") != std::string::npos) {
    HistEvent event;
    history(history_, &event, H_ENTER, line.c_str());
    // Saved line by line: a session ended by Ctrl-C or a closed terminal
    // keeps its history too.
    if (!historyFile_.empty()) history(history_, &event, H_SAVE, historyFile_.c_str());
  }
  return true;
}

#else

Prompt::Prompt() = default;
Prompt::~Prompt() = default;

bool Prompt::read(std::string& line) {
  std::fputs(promptText, stderr);
  if (!std::getline(std::cin, line)) {
    std::fputc('\n', stderr);
    return false;
  }
  removeLineEnd(line);
  return true;
}

#endif

}  // namespace natcall
