// The Lua 5.4 module math_n: one function per predicate of the registry,
// each a C function of its own, so that its predicate is a constant there.
// Which arguments are nil picks the entry point: a last argument left out
// is open, and so is any argument given as nil.
//
// Lua raises its errors by longjmp, which must not pass a C++ frame that
// owns anything: whatever owns memory (the delivered text, a message) lives
// in a function that only pushes, in a protected call where pushing can
// fail, and the errors are raised once it has returned.
#include <array>
#include <cstring>
#include <lua.hpp>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "core.h"

namespace {

using namespace math_n_host;

// math_n.symbol(text): a userdata holding the text's length, then the text
// and a NUL.
constexpr const char* symbolType = "math_n.symbol";

int newSymbol(lua_State* L) {
  std::size_t length;
  const char* text = luaL_checklstring(L, 1, &length);
  auto* block = static_cast<char*>(lua_newuserdatauv(L, sizeof length + length + 1, 0));
  std::memcpy(block, &length, sizeof length);
  std::memcpy(block + sizeof length, text, length + 1);
  luaL_setmetatable(L, symbolType);
  return 1;
}

std::string_view textOfSymbol(const void* symbol) {
  auto* block = static_cast<const char*>(symbol);
  std::size_t length;
  std::memcpy(&length, block, sizeof length);
  return {block + sizeof length, length};
}

int symbolText(lua_State* L) {
  std::string_view text = textOfSymbol(luaL_checkudata(L, 1, symbolType));
  lua_pushlstring(L, text.data(), text.size());
  return 1;
}

// Returns: the Symbol at `index`; raises an argument error for any other
// value.
Given givenOther(lua_State* L, int index) {
  if (void* symbol = luaL_testudata(L, index, symbolType)) {
    std::string_view text = textOfSymbol(symbol);
    return Given::symbol(text.data(), text.size());
  }
  luaL_typeerror(L, index, "integer, string or math_n.symbol");
  return Given::open();
}

// Returns: the argument at `index` as a given value; raises an argument
// error for a type no predicate argument has, or a float with no integer
// value (converted as every Lua function that takes an integer converts it).
[[gnu::always_inline]] inline Given givenAt(lua_State* L, int index) {
  switch (lua_type(L, index)) {
    case LUA_TNONE:
    case LUA_TNIL:
      return Given::open();
    case LUA_TNUMBER: {
      int isInteger;
      lua_Integer number = lua_tointegerx(L, index, &isInteger);
      return Given::integer(isInteger ? number : luaL_checkinteger(L, index));
    }
    case LUA_TSTRING: {
      std::size_t length;
      const char* text = lua_tolstring(L, index, &length);
      return Given::string(text, length);
    }
    default:
      return givenOther(L, index);
  }
}

// Reads the `arity` arguments into `given`. Trailing nils are no
// arguments, as in a function written in Lua.
void readArguments(lua_State* L, int arity, Given* given) {
  for (int extra = lua_gettop(L); extra > arity; --extra)
    luaL_argexpected(L, lua_isnil(L, extra), extra, "no value");
  for (int at = 0; at < arity; ++at) given[at] = givenAt(L, at + 1);
}

// Pushes a copy of `text` as a Lua string in a protected call. Returns:
// whether it is pushed; if not, Lua ran out of memory, and the stack is as
// it was.
bool pushText(lua_State* L, std::string_view text) noexcept {
  lua_pushcfunction(L, [](lua_State* L) {
    auto* text = static_cast<const std::string_view*>(lua_touserdata(L, 1));
    lua_pushlstring(L, text->data(), text->size());
    return 1;
  });
  lua_pushlightuserdata(L, &text);
  if (lua_pcall(L, 1, 1, 0) == LUA_OK) return true;
  lua_pop(L, 1);
  return false;
}

// Lua's own memory error: lua_error raises it for its own message.
int raiseOutOfMemory(lua_State* L) {
  lua_pushliteral(L, "not enough memory");
  return lua_error(L);
}

// What a call leaves to do once its answer is released: `Holds` once the
// result is pushed, or the error of `kind` at argument `at`.
struct Outcome {
  Answer::Kind kind;
  int at = -1;
};

// Pushes the result of `predicate` on `given`, its argument `open` open: a
// check's true or false, a compute call's value, or nil when it fails.
[[gnu::always_inline]] inline Outcome pushAnswer(lua_State* L, const Predicate& predicate, int open,
                                                 const Given* given) noexcept {
  Answer answer = call(predicate, open, given);
  switch (answer.kind) {
    case Answer::Holds:
      lua_pushboolean(L, true);
      break;
    case Answer::Fails:
      if (open == predicate.arity)
        lua_pushboolean(L, false);
      else
        lua_pushnil(L);
      break;
    case Answer::Number:
      lua_pushinteger(L, answer.number);
      break;
    case Answer::Text:
      if (!pushText(L, {answer.text.get(), answer.length})) return {Answer::OutOfMemory};
      break;
    default:
      return {answer.kind, answer.at};
  }
  return {Answer::Holds};
}

int raiseNoPattern(lua_State* L, const Predicate& predicate, const Given* given) {
  bool pushed = false;
  try {
    pushed = pushText(L, noPatternMessage(predicate, spelledPattern(given, predicate.arity)));
  } catch (const std::bad_alloc&) {
  }
  if (!pushed) return raiseOutOfMemory(L);
  return luaL_error(L, "%s", lua_tostring(L, -1));
}

// Raises the error of `outcome`, with the arguments read again: the call
// that found it keeps its own to itself, which lets the compiler keep them
// in registers.
int raise(lua_State* L, const Predicate& predicate, Outcome outcome) {
  Given given[maxArity];
  readArguments(L, predicate.arity, given);
  switch (outcome.kind) {
    case Answer::OutOfRange:
      return luaL_argerror(L, outcome.at + 1,
                           lua_pushfstring(L, "%I does not fit in 32 bits",
                                           static_cast<LUAI_UACINT>(given[outcome.at].number)));
    case Answer::TextWithNul:
      return luaL_argerror(L, outcome.at + 1, "a text with a NUL byte");
    case Answer::NoPattern:
      return raiseNoPattern(L, predicate, given);
    default:
      return raiseOutOfMemory(L);
  }
}

// Pushes the answer of predicate `index` on `given`, or raises its error.
// An instance per open argument, so that the core's loops over the
// arguments unroll around a constant.
template <std::size_t index, int open>
[[gnu::always_inline]] inline int answer(lua_State* L, const Given* given) {
  constexpr const Predicate& predicate = predicates[index];
  Outcome outcome = pushAnswer(L, predicate, open, given);
  if (outcome.kind == Answer::Holds) return 1;
  return raise(L, predicate, outcome);
}

// Returns: whether the first `count` arguments are integers, which it
// then reads into `numbers`.
template <std::size_t... at>
[[gnu::always_inline]] inline bool integers([[maybe_unused]] lua_State* L, lua_Integer* numbers,
                                            std::index_sequence<at...>) {
  int isInteger = 1;
  return ((lua_type(L, int(at) + 1) == LUA_TNUMBER &&
           (numbers[at] = lua_tointegerx(L, int(at) + 1, &isInteger), isInteger)) &&
          ...);
}

// Answers a call whose arguments are the integers `numbers` and, if
// `count` is the arity less one, the open last one: its kinds are known
// here, so that the core's tests of them fold away.
template <std::size_t index, std::size_t count>
[[gnu::always_inline]] inline int answerIntegers(lua_State* L, const lua_Integer* numbers) {
  return [&]<std::size_t... at>(std::index_sequence<at...>) {
    Given given[maxArity + 1] = {Given::integer(numbers[at])..., Given::open()};
    return answer<index, int(count)>(L, given);
  }
  (std::make_index_sequence<count>());
}

template <std::size_t index>
int predicateFunction(lua_State* L) {
  constexpr int arity = predicates[index].arity;
  const int top = lua_gettop(L);
  // The common calls first: a check or the last argument left out, on
  // integers.
  lua_Integer numbers[maxArity];
  if (top == arity && integers(L, numbers, std::make_index_sequence<arity>()))
    return answerIntegers<index, arity>(L, numbers);
  if (top == arity - 1 && integers(L, numbers, std::make_index_sequence<arity - 1>()))
    return answerIntegers<index, arity - 1>(L, numbers);
  Given given[maxArity];
  readArguments(L, arity, given);
  static_assert(maxArity == 3);
  switch (openArgument(given, arity)) {
    case 0:
      return answer<index, 0>(L, given);
    case 1:
      return answer<index, 1>(L, given);
    case 2:
      return answer<index, 2>(L, given);
    case 3:
      return answer<index, 3>(L, given);
    default:
      return answer<index, -1>(L, given);
  }
}

template <std::size_t... index>
constexpr std::array<lua_CFunction, sizeof...(index)> functionsOf(std::index_sequence<index...>) {
  return {predicateFunction<index>...};
}
constexpr auto functions = functionsOf(std::make_index_sequence<predicates.size()>());

}  // namespace

extern "C" __attribute__((visibility("default"))) int luaopen_math_n(lua_State* L) {
  luaL_checkversion(L);
  if (luaL_newmetatable(L, symbolType)) {
    lua_pushcfunction(L, symbolText);
    lua_setfield(L, -2, "__tostring");
  }
  lua_createtable(L, 0, int(predicates.size()) + 1);
  for (std::size_t index = 0; index < predicates.size(); ++index) {
    lua_pushcfunction(L, functions[index]);
    lua_setfield(L, -2, predicates[index].name);
  }
  lua_pushcfunction(L, newSymbol);
  lua_setfield(L, -2, "symbol");
  return 1;
}
