// The lines of a batch file (-f), as natcall reads them.
#ifndef NATCALL_LINES_H
#define NATCALL_LINES_H

#include <functional>
#include <string>
#include <string_view>

namespace natcall {

// Takes a line that holds an atom (not blank, not a comment), without its
// '\n' and the '\r' characters right before it, with its 1-based number;
// returns false to stop reading.
using TakeLine = std::function<bool(std::string_view, long)>;

// Cuts input that arrives in blocks of any size into lines. Lines that end
// inside a block are handed on from the block itself; only a line split
// across blocks is copied.
class LineSplitter {
 public:
  explicit LineSplitter(TakeLine take) : take_(std::move(take)) {}
  // Returns: false once `take` has asked to stop.
  bool feed(std::string_view block);
  // Hands on a last line that has no line end. Returns: as `feed`.
  bool finish();

 private:
  bool hand(std::string_view line);

  TakeLine take_;
  std::string pending_;
  long number_ = 0;
};

// Reads `fd` to its end in blocks and hands its lines to `take`, calling
// `beforeRead` before every read (any of them may block), so that a program
// that writes an atom and waits for its answer gets it; `beforeRead`
// returns false to stop reading. Returns: false on a read error (errno
// tells which), else true.
bool readLines(int fd, TakeLine take, const std::function<bool()>& beforeRead);

}  // namespace natcall

#endif
