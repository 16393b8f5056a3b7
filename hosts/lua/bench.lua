-- Side by side, in one run: math_n.addNat(x, 4) against math.max(x, 4) (a
-- C function of Lua's own), a Lua function returning x + y and the minimal
-- C function of minimal.cpp; math_n.n2sNat(x) against tostring(x); and
-- clingo grounding @addNat(X, 4) through math_n.clingo against a pure-Lua
-- @plus(X, 4). From the build tree:
--
--   LUA_CPATH='build-native/hosts/lua/?.so' LUA_PATH='build-native/hosts/lua/?.lua' lua5.4 hosts/lua/bench.lua [--instructions]
--
-- Each figure is the best of several rounds, the contenders taking turns in
-- each round, so that a busy machine slows both alike. With --instructions,
-- the instructions each call executes instead, counted by valgrind's
-- callgrind (each run less the same run without the call), which no other
-- load on the machine changes.
local ROUNDS, CALLS, COUNTED, GROUND = 7, 1000000, 100000, 1000000
local PAIRS = {
  {"math_n.addNat(x, 4)", "math.max(x, 4)"},
  {"math_n.addNat(x, 4)", "plus(x, 4)"},
  {"math_n.addNat(x, 4)", "minimal.add(x, 4)"},
  {"math_n.n2sNat(x)", "tostring(x)"},
}
local SETUP = 'local math_n, minimal = require("math_n"), require("math_n_minimal") '
  .. "local function plus(x, y) return x + y end "
-- (name, script, call)
local EXTERNALS = {
  {"@addNat(X, 4) via math_n.clingo", '#script (lua) require("math_n.clingo") #end.\n', "@addNat(X, 4)"},
  {"@plus(X, 4) in pure Lua", "#script (lua) function plus(x, y) return x.number + y.number end #end.\n", "@plus(X, 4)"},
}

local function loop(call, count)
  return SETUP .. string.format("for x = 100000, %d do %s end", 100000 + count - 1, call or "")
end

local function program(call, count)
  return string.format("p(X, %s) :- X = 1..%d.\n#show.\n", call, count)
end

local function written(text)
  local path = os.tmpname()
  local file = assert(io.open(path, "w"))
  file:write(text)
  file:close()
  return path
end

local function instructions(command)
  local run = assert(io.popen("valgrind --tool=callgrind --callgrind-out-file=/dev/null " .. command .. " 2>&1"))
  local output = run:read("a")
  run:close()
  return math.tointeger(assert(output:match("Collected : (%d+)"), output))
end

local function lua(call)
  local path = written(loop(call, COUNTED))
  local count = instructions(string.format("lua5.4 %s", path))
  os.remove(path)
  return count
end

local function clingo(script, call)
  local path = written((script or "") .. program(call, COUNTED))
  local count = instructions(string.format("clingo --quiet=2 %s", path))
  os.remove(path)
  return count
end

local function countInstructions()
  print(string.format("instructions per call, counted by callgrind over %d calls:", COUNTED))
  local empty = lua(nil)
  for _, pair in ipairs(PAIRS) do
    local ours, theirs = (lua(pair[1]) - empty) / COUNTED, (lua(pair[2]) - empty) / COUNTED
    print(string.format("  %-22s %6.0f   %-16s %6.0f   ratio %.2f", pair[1], ours, pair[2], theirs, ours / theirs))
  end
  local plain, calls = clingo(nil, "X + 4"), {}
  for at, external in ipairs(EXTERNALS) do
    calls[at] = (clingo(external[2], external[3]) - plain) / COUNTED
    print(string.format("  clingo grounding %-32s %6.0f", external[1], calls[at]))
  end
  print(string.format("  ratio %.2f", calls[1] / calls[2]))
end

local function seconds(code)
  local start = os.clock()
  code()
  return os.clock() - start
end

-- The CPU time of a whole clingo run, its own and the system's for it.
local function clingoSeconds(path)
  local run = assert(io.popen("bash -c 'TIMEFORMAT=\"%3U %3S\"; time clingo --quiet=2 " .. path .. " >/dev/null' 2>&1"))
  local user, system = run:read("a"):match("([%d.]+) ([%d.]+)%s*$")
  run:close()
  return tonumber(user) + tonumber(system)
end

local function time()
  print(string.format("%s, best of %d rounds", _VERSION, ROUNDS))
  print(string.format("\nns per call, in a loop over %d numbers (the loop included):", CALLS))
  for _, pair in ipairs(PAIRS) do
    local best, code = {math.huge, math.huge}, {assert(load(loop(pair[1], CALLS))), assert(load(loop(pair[2], CALLS)))}
    for _ = 1, ROUNDS do
      for at = 1, 2 do best[at] = math.min(best[at], seconds(code[at]) / CALLS * 1e9) end
    end
    print(string.format("  %-22s %6.1f   %-16s %6.1f   ratio %.2f", pair[1], best[1], pair[2], best[2], best[1] / best[2]))
  end
  local paths, best = {}, {}
  for at, external in ipairs(EXTERNALS) do paths[at] = written(external[2] .. program(external[3], GROUND)) end
  paths[#EXTERNALS + 1] = written(program("X + 4", GROUND))
  for _ = 1, (ROUNDS + 1) // 2 do
    for at, path in ipairs(paths) do best[at] = math.min(best[at] or math.huge, clingoSeconds(path)) end
  end
  for _, path in ipairs(paths) do os.remove(path) end
  local plain = best[#paths]
  print(string.format("\nclingo grounding %d calls (CPU time of the whole run, best of %d):", GROUND, (ROUNDS + 1) // 2))
  for at, external in ipairs(EXTERNALS) do
    print(string.format("  %-32s %6.3f s, %4.0f ns a call beyond X + 4", external[1], best[at],
      (best[at] - plain) / GROUND * 1e9))
  end
  print(string.format("  %-32s %6.3f s", "X + 4, no external function", plain))
  print(string.format("  the external calls alone: ratio %.2f", (best[1] - plain) / (best[2] - plain)))
end

if ... == "--instructions" then countInstructions() else time() end
