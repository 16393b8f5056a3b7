// The registry as the engines' hosts see it: each predicate with its entry
// points by the position of the open argument.
#ifndef MATH_N_HOSTS_REGISTRY_H
#define MATH_N_HOSTS_REGISTRY_H

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "math_N.h"

namespace math_n_host {

using EntryPoint = bool (*)(CONSTANT*);
constexpr int maxArity = 3;

struct Predicate {
  const char* name = nullptr;  // a literal of the registry: NUL-terminated
  int arity = 0;
  // Indexed by the position of the open argument; [arity] checks.
  std::array<EntryPoint, maxArity + 1> byOpen{};
  // The arguments read or delivered as texts.
  std::array<bool, maxArity> isText{};
};

namespace detail {

struct Row {
  std::string_view predicate, pattern;
  EntryPoint entry;
  std::string_view roles;  // "I, I, C", "T, OT": a T marks a text
};

constexpr Row rows[] = {
#define ENTRY_POINT(predicate, pattern, kernel, ...) \
  {#predicate, #pattern, predicate##_##pattern, #__VA_ARGS__},
#include "entry_points.def"
#undef ENTRY_POINT
};

constexpr std::size_t countPredicates() {
  std::size_t count = 0;
  for (std::size_t row = 0; row < std::size(rows); ++row)
    if (row == 0 || rows[row].predicate != rows[row - 1].predicate) ++count;
  return count;
}

}  // namespace detail

// The registry grouped by predicate, in its order; a row that does not fit
// (a pattern of another length, two open arguments) stops the build.
constexpr auto predicates = [] {
  std::array<Predicate, detail::countPredicates()> table{};
  std::size_t at = 0;
  for (std::size_t row = 0; row < std::size(detail::rows); ++row) {
    const detail::Row& entry = detail::rows[row];
    if (row > 0 && entry.predicate != detail::rows[row - 1].predicate) ++at;
    Predicate& predicate = table[at];
    int arity = int(entry.pattern.size());
    if (arity > maxArity || (predicate.name && predicate.arity != arity)) throw "a pattern's length";
    predicate.name = entry.predicate.data();
    predicate.arity = arity;
    std::size_t open = entry.pattern.find('o');
    if (open != entry.pattern.rfind('o')) throw "two open arguments";
    predicate.byOpen[open == std::string_view::npos ? arity : open] = entry.entry;
    std::string_view roles = entry.roles;
    for (int argument = 0; argument < arity; ++argument) {
      std::size_t comma = roles.find(',');
      if (roles.substr(0, comma).find('T') != std::string_view::npos) predicate.isText[argument] = true;
      roles = comma == std::string_view::npos ? std::string_view() : roles.substr(comma + 1);
    }
  }
  return table;
}();

// Returns: the pattern whose open argument is `open` (`arity`: the check).
inline std::string patternOf(const Predicate& predicate, int open) {
  std::string pattern(predicate.arity, 'i');
  if (open < predicate.arity) pattern[open] = 'o';
  return pattern;
}

// Returns: the patterns `predicate` offers, in the registry's order (the
// check, then the open argument from the last to the first).
inline std::vector<std::string> offeredPatterns(const Predicate& predicate) {
  std::vector<std::string> offered;
  for (int open = predicate.arity; open >= 0; --open)
    if (predicate.byOpen[open]) offered.push_back(patternOf(predicate, open));
  return offered;
}

}  // namespace math_n_host

#endif
