// The least a C function of Lua does for math_n.addNat(x, 4): reads two
// integers and returns their sum. hosts/lua/bench.lua measures the module
// against it, called the same way: minimal.add(x, 4).
#include <lua.hpp>

extern "C" __attribute__((visibility("default"))) int luaopen_math_n_minimal(lua_State* L) {
  lua_createtable(L, 0, 1);
  lua_pushcfunction(L, [](lua_State* L) {
    lua_pushinteger(L, luaL_checkinteger(L, 1) + luaL_checkinteger(L, 2));
    return 1;
  });
  lua_setfield(L, -2, "add");
  return 1;
}
