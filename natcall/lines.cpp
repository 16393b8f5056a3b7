#include "lines.h"

#include <sys/types.h>

#include <cstdlib>

#include "atom.h"

namespace natcall {

bool readLines(std::FILE* file, const std::function<bool(std::string_view, long)>& take) {
  char* buffer = nullptr;
  std::size_t capacity = 0;
  long number = 0;
  for (ssize_t length; (length = getline(&buffer, &capacity, file)) >= 0;) {
    ++number;
    std::string_view text(buffer, std::size_t(length));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    if (isBlankOrComment(text)) continue;
    if (!take(text, number)) break;
  }
  std::free(buffer);
  return !std::ferror(file);
}

}  // namespace natcall
