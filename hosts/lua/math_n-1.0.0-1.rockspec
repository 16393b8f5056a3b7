-- `luarocks make` in this directory builds the module math_n with the
-- library inside, and installs it and math_n.clingo into the rocks tree.
rockspec_format = "3.0"
package = "math_n"
version = "1.0.0-1"
source = {url = "git+file://."}
description = {
  summary = "The math_N arithmetic predicates for Lua 5.4 and clingo",
  detailed = [[
math_n.addNat(3, 4) is 7, math_n.addNat(3, 4, 7) is true, and nil marks the
open argument of any other pattern. math_n.clingo makes the predicates
external functions of clingo's answer-set programs, through clingo's Lua.]],
  license = "MIT",
}
dependencies = {"lua >= 5.4, < 5.5"}
build = {
  type = "cmake",
  variables = {
    CMAKE_INSTALL_PREFIX = "$(PREFIX)",
    LUA_INCDIR = "$(LUA_INCDIR)",
    LIBDIR = "$(LIBDIR)",
    LUADIR = "$(LUADIR)",
  },
}
