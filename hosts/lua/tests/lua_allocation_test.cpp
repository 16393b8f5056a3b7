// Lua's own allocations failing during a call, the first one, then the
// second, and so on: each attempt answers, or raises Lua's memory error and
// (under memcheck) leaks nothing, and the state goes on as before. The
// calls deliver a text and raise the message naming the patterns offered.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <lua.hpp>

namespace {

long allowed = -1;  // allocations left before one fails; -1: no limit

void* allocate(void*, void* block, std::size_t, std::size_t size) {
  if (size == 0) std::free(block);
  if (size == 0 || allowed == 0) return nullptr;
  if (allowed > 0) --allowed;
  return std::realloc(block, size);
}

}  // namespace

int main() {
  const char* calls[][2] = {
      {"return math_n.n2sNat(-1234567890)", "-1234567890"                              },
      {"return math_n.addNat(nil, nil, 3)", "addNat has no entry point for pattern ooi"}
  };
  lua_State* L = lua_newstate(allocate, nullptr);
  luaL_openlibs(L);
  int failures = luaL_dostring(L, "math_n = require('math_n')") != LUA_OK;
  for (auto [call, answer] : calls) {
    for (long limit = 0; !failures; ++limit) {
      luaL_loadstring(L, call);
      allowed = limit;
      int status = lua_pcall(L, 0, 1, 0);
      allowed = -1;
      const char* got = lua_tostring(L, -1);
      bool answered = status != LUA_ERRMEM;
      failures += !got || (answered ? !std::strstr(got, answer) : std::strcmp(got, "not enough memory") != 0);
      std::printf("%s, %ld allocations allowed: %s\n", call, limit, got ? got : "(no message)");
      lua_pop(L, 1);
      if (answered) break;
    }
  }
  lua_close(L);
  std::printf("%d failed\n", failures);
  return failures != 0;
}
