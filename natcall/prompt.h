// The lines typed at natcall's prompt: edited and recalled through libedit
// when natcall is built with it, read as they come otherwise.
#ifndef NATCALL_PROMPT_H
#define NATCALL_PROMPT_H

#include <string>

struct editline;
struct history;

namespace natcall {

class Prompt {
 public:
  Prompt();
  ~Prompt();
  Prompt(const Prompt&) = delete;
  Prompt& operator=(const Prompt&) = delete;

  // Shows the prompt and reads one line, without its line end. Returns
  // false at the end of the input.
  bool read(std::string& line);

 private:
  struct editline* editor_ = nullptr;
  struct history* history_ = nullptr;
  std::string historyFile_;
};

}  // namespace natcall

#endif
