// The lines of a batch file (-f), as natcall reads them.
#ifndef NATCALL_LINES_H
#define NATCALL_LINES_H

#include <cstdio>
#include <functional>
#include <string_view>

namespace natcall {

// Reads `file` to its end, one line at a time, and hands each line that
// holds an atom (not blank, not a comment), without the run of '\r' and
// '\n' that ends it, to `take` with its 1-based number; stops early when
// `take` returns false. Returns: false on a read error, else true.
bool readLines(std::FILE* file, const std::function<bool(std::string_view, long)>& take);

}  // namespace natcall

#endif
