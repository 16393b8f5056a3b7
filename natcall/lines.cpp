#include "lines.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

#include "atom.h"

namespace natcall {

namespace {
// Large enough that a big batch costs few reads; small enough to stay in cache.
constexpr std::size_t readBlock = 1 << 16;
}  // namespace

bool LineSplitter::hand(std::string_view line) {
  ++number_;
  while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return isBlankOrComment(line) || take_(line, number_);
}

bool LineSplitter::feed(std::string_view block) {
  for (std::size_t end; (end = block.find('\n')) != std::string_view::npos; block.remove_prefix(end + 1)) {
    std::string_view line = block.substr(0, end);
    if (!pending_.empty()) {
      pending_.append(line);
      line = pending_;
    }
    bool more = hand(line);
    pending_.clear();
    if (!more) return false;
  }
  pending_.append(block);
  return true;
}

bool LineSplitter::finish() {
  if (pending_.empty()) return true;
  bool more = hand(pending_);
  pending_.clear();
  return more;
}

bool readLines(int fd, TakeLine take, const std::function<bool()>& beforeRead) {
  LineSplitter lines(std::move(take));
  std::vector<char> block(readBlock);
  for (;;) {
    if (!beforeRead()) return true;
    ssize_t got = read(fd, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    if (!lines.feed(std::string_view(block.data(), std::size_t(got)))) return true;
  }
  lines.finish();
  return true;
}

}  // namespace natcall
