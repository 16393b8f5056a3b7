// The calling convention, written once. An entry point names the role of
// each argument (an input, the compared value of check mode, or the output
// of compute mode) and the kernel that maps the inputs to the value; apply()
// does the rest:
//   1. test the kind of every argument it reads, in argument order;
//   2. read the inputs (texts through toString, released on every path);
//   3. call the kernel; an empty optional is a guard's refusal;
//   4. check mode: compare with the remaining argument;
//   5. compute mode: deliver through a temporary CONSTANT assigned to the output.
// On false nothing is written; the output argument is never read or tested.
#ifndef MATH_N_CONVENTION_H
#define MATH_N_CONVENTION_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "extpred.h"

namespace math_n {

// A text taken with toString, released when the call ends.
class OwnedText {
 public:
  explicit OwnedText(const char* text) : text_(text) {}
  operator const char*() const { return text_.get(); }

 private:
  std::unique_ptr<const char[]> text_;
};

struct Int {
  using Value = std::int32_t;
  static bool accepts(const CONSTANT& c) { return c.isInt(); }
  static Value read(const CONSTANT& c) { return c.toInt(); }
  static void deliver(CONSTANT& out, std::int32_t value) {
    CONSTANT result(value);
    out = result;
  }
};

struct Text {
  using Value = OwnedText;
  static bool accepts(const CONSTANT& c) { return c.isString(); }
  static Value read(const CONSTANT& c) { return OwnedText(c.toString()); }
  static void deliver(CONSTANT& out, const char* text) {
    CONSTANT result(text, true);
    out = result;
  }
};

enum class Role { input, compared, output };

template <class K, Role R>
struct Slot {
  using Kind = K;
  static constexpr Role role = R;
};

template <class K>
using In = Slot<K, Role::input>;
template <class K>
using Compared = Slot<K, Role::compared>;
template <class K>
using Out = Slot<K, Role::output>;

namespace detail {

// The kernel's value type as an optional: a kernel without a guard returns
// its value bare.
template <class T>
struct AsOptional {
  using type = std::optional<T>;
};
template <class T>
struct AsOptional<std::optional<T>> {
  using type = std::optional<T>;
};

template <class... Slots>
struct Layout {
  static constexpr std::array<Role, sizeof...(Slots)> roles{Slots::role...};
  static constexpr std::size_t inputCount = ((Slots::role == Role::input) + ... + 0);
  static constexpr std::array<std::size_t, inputCount> inputs = [] {
    std::array<std::size_t, inputCount> at{};
    for (std::size_t i = 0, n = 0; i < roles.size(); ++i)
      if (roles[i] == Role::input) at[n++] = i;
    return at;
  }();
  // The compared or output argument; equal to the arity for a bare test.
  static constexpr std::size_t target = [] {
    std::size_t i = 0;
    while (i < roles.size() && roles[i] == Role::input) ++i;
    return i;
  }();
  static_assert(inputCount + (target < roles.size()) == roles.size(),
                "an entry point has at most one argument that is not an input");
  template <std::size_t I>
  using KindAt = typename std::tuple_element_t<I, std::tuple<Slots...>>::Kind;
};

}  // namespace detail

template <auto Kernel, class... Slots>
bool apply(CONSTANT* argv) {
  using L = detail::Layout<Slots...>;
  return [argv]<std::size_t... I, std::size_t... J>(std::index_sequence<I...>, std::index_sequence<J...>) {
    if (!((Slots::role == Role::output || Slots::Kind::accepts(argv[I])) && ...)) return false;
    // Braced initialisation reads the inputs in argument order.
    std::tuple<typename L::template KindAt<L::inputs[J]>::Value...> inputs{
        L::template KindAt<L::inputs[J]>::read(argv[L::inputs[J]])...};
    auto value = std::apply(Kernel, inputs);
    if constexpr (L::target == sizeof...(Slots)) {
      static_assert(std::is_same_v<decltype(value), bool>, "an entry point without a target tests a bool");
      return value;
    } else {
      using Target = typename L::template KindAt<L::target>;
      typename detail::AsOptional<decltype(value)>::type result = std::move(value);
      if (!result) return false;
      if constexpr (L::roles[L::target] == Role::compared)
        return *result == Target::read(argv[L::target]);
      else
        Target::deliver(argv[L::target], *result);
      return true;
    }
  }
  (std::index_sequence_for<Slots...>{}, std::make_index_sequence<L::inputCount>{});
}

// Returns: whether `pattern` names the roles: 'o' for the output, 'i' for
// every argument the call reads.
template <class... Slots>
constexpr bool spells(std::string_view pattern) {
  constexpr Role roles[] = {Slots::role...};
  if (pattern.size() != sizeof...(Slots)) return false;
  for (std::size_t i = 0; i < pattern.size(); ++i)
    if (pattern[i] != (roles[i] == Role::output ? 'o' : 'i')) return false;
  return true;
}

}  // namespace math_n

// Defines the exported entry point NAME over the kernel and argument roles.
#define MATH_N_ENTRY(name, kernel, ...) \
  bool name(CONSTANT* argv) { return ::math_n::apply<kernel, __VA_ARGS__>(argv); }

#endif
