// The calling convention, written once. An entry point names the role of
// each argument (an input, the compared value of check mode, or the output
// of compute mode) and the kernel that maps the inputs to the value; apply()
// does the rest:
//   1. test the kind of every argument it reads, in argument order;
//   2. read the inputs, in argument order (texts through toString, released
//      when the call ends, on every path);
//   3. call the kernel; an empty optional is a guard's refusal;
//   4. check mode: compare with the remaining argument;
//   5. compute mode: deliver through a temporary CONSTANT assigned to the output.
// On false nothing is written; the output argument is never read or tested.
//
// One apply() per number of arguments. For example addNat_ioi, whose row in
// entry_points.def is (missing_addend, I, O, I), is
// apply<missing_addend, In<Int>, Out<Int>, In<Int>>, and the three-argument
// apply() below comes to, with X, Y, Z those three roles:
//   if (!argv[0].isInt() || !argv[2].isInt()) return false;  // not argv[1]
//   const std::int32_t x = argv[0].toInt(), z = argv[2].toInt();
//   const std::optional<std::int32_t> value = missing_addend(x, z);
//   if (!value) return false;
//   CONSTANT result(*value);
//   argv[1] = result;
//   return true;
#ifndef MATH_N_CONVENTION_H
#define MATH_N_CONVENTION_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>

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

// Returns: whether the call may go on with `c` in slot S: the output is
// never tested.
template <class S>
bool accepted(const CONSTANT& c) {
  return S::role == Role::output || S::Kind::accepts(c);
}

template <class S>
typename S::Kind::Value read(const CONSTANT& c) {
  static_assert(S::role == Role::input);
  return S::Kind::read(c);
}

// Ends the call with the kernel's value: check mode compares it with the
// target, compute mode delivers it there.
template <class Target, class Value>
bool conclude(const Value& value, CONSTANT& target) {
  static_assert(Target::role != Role::input, "an entry point has one argument that is not an input");
  if constexpr (Target::role == Role::compared) {
    return value == Target::Kind::read(target);
  } else {
    Target::Kind::deliver(target, value);
    return true;
  }
}

// A kernel with a guard returns an optional, empty where the guard refused.
template <class Target, class Value>
bool conclude(const std::optional<Value>& value, CONSTANT& target) {
  if (!value) return false;
  return conclude<Target>(*value, target);
}

}  // namespace detail

// evenNat_i: one input and no target; the kernel's truth is the answer.
template <auto Kernel, class X>
bool apply(CONSTANT* argv) {
  if (!detail::accepted<X>(argv[0])) return false;
  const auto x = detail::read<X>(argv[0]);
  static_assert(std::is_same_v<decltype(Kernel(x)), bool>, "an entry point without a target tests a bool");
  return Kernel(x);
}

// factNat_ii, s2nNat_io: the input, then the target. n2sNat_ii, s2nNat_oi:
// the target, then the input.
template <auto Kernel, class X, class Y>
bool apply(CONSTANT* argv) {
  if (!detail::accepted<X>(argv[0]) || !detail::accepted<Y>(argv[1])) return false;
  if constexpr (X::role == Role::input) {
    const auto x = detail::read<X>(argv[0]);
    return detail::conclude<Y>(Kernel(x), argv[1]);
  } else {
    const auto y = detail::read<Y>(argv[1]);
    return detail::conclude<X>(Kernel(y), argv[0]);
  }
}

// The target last (addNat_iii, addNat_iio), in the middle (addNat_ioi) or
// first (addNat_oii); the two inputs go to the kernel in argument order.
template <auto Kernel, class X, class Y, class Z>
bool apply(CONSTANT* argv) {
  if (!detail::accepted<X>(argv[0]) || !detail::accepted<Y>(argv[1]) || !detail::accepted<Z>(argv[2]))
    return false;
  if constexpr (Z::role != Role::input) {
    const auto x = detail::read<X>(argv[0]);
    const auto y = detail::read<Y>(argv[1]);
    return detail::conclude<Z>(Kernel(x, y), argv[2]);
  } else if constexpr (Y::role != Role::input) {
    const auto x = detail::read<X>(argv[0]);
    const auto z = detail::read<Z>(argv[2]);
    return detail::conclude<Y>(Kernel(x, z), argv[1]);
  } else {
    const auto y = detail::read<Y>(argv[1]);
    const auto z = detail::read<Z>(argv[2]);
    return detail::conclude<X>(Kernel(y, z), argv[0]);
  }
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
