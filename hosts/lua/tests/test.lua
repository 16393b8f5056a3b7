-- The math_n module as Lua code calls it, one part a run: lua5.4 test.lua
-- edge_cases|errors|memory|coroutines|out_of_memory EDGE_ROWS
local math_n = require("math_n")
local part, edge_rows = ...
local failures = {}

local function check(ok, what, ...)
  if not ok then failures[#failures + 1] = string.format(what, ...) end
end

local parts = {}

-- Each row in every form that spells it: the open argument as nil and,
-- where it is the last, left out; integers also as floats.
function parts.edge_cases()
  local open = {}
  local rows = assert(loadfile(edge_rows))(math_n.symbol, open)
  for _, row in ipairs(rows) do
    local line, text, predicate, terms, expected = table.unpack(row)
    local args, floats, count = {}, {}, #terms
    for at = 1, count do
      local term = terms[at]
      if term ~= open then args[at] = term end
      floats[at] = math.type(term) == "integer" and term + 0.0 or args[at]
    end
    local forms = {args, floats}
    if terms[count] == open then forms[3] = table.move(args, 1, count - 1, 1, {}) end
    for form, given in ipairs(forms) do
      local got = math_n[predicate](table.unpack(given, 1, form == 3 and count - 1 or count))
      check(got == expected, "line %d: %s gave %q in form %d, expected %q", line, text, got, form, expected)
    end
  end
  print(#rows .. " rows run in every form, 0 not expressible")
end

-- (call, the text its error must contain), each call run with `symbol`
-- and the predicates in scope.
local errors = {
  {"addNat(2^31, 1)", "bad argument #1 to 'addNat' (2147483648 does not fit in 32 bits)"},
  {"addNat(1, 2, math.maxinteger)", "#3 to 'addNat' (9223372036854775807 does not fit"},
  {"addNat(1.5, 2)", "bad argument #1 to 'addNat' (number has no integer representation)"},
  {"addNat(1, true)", "#2 to 'addNat' (integer, string or math_n.symbol expected, got boolean)"},
  {"addNat(1, 2, 3, 4)", "#4 to 'addNat' (no value expected, got number)"},
  {"addNat(nil, nil, 3)", "addNat has no entry point for pattern ooi; it offers iii, iio, ioi, oii"},
  {"evenNat()", "evenNat has no entry point for pattern o; it offers i"},
  {"s2nNat('1\\0')", "bad argument #1 to 's2nNat' (a text with a NUL byte)"},
  {"combNat(1, 2, symbol('a\\0'))", "#3 to 'combNat' (a text with a NUL byte)"},
  {"symbol({})", "bad argument #1 to 'symbol' (string expected, got table)"},
}

-- (call, its result): how values cross, beyond the table's rows.
local values = {
  {"addNat(3.0, 4)", 7}, -- an integer, not the float 7.0
  {"addNat(3, 4, 7, nil)", true},
  {"s2nNat(symbol('12'))", nil}, -- a symbol is no text
  {"tostring(symbol('a b'))", "a b"},
}

local function run(call)
  local scope = setmetatable({symbol = math_n.symbol}, {__index = function(_, name) return math_n[name] or _G[name] end})
  return pcall(assert(load("return " .. call, "=" .. call, "t", scope)))
end

function parts.errors()
  for _, case in ipairs(errors) do
    local ok, got = run(case[1])
    check(not ok and got:find(case[2], 1, true), "%s gave %q, expected an error with: %s", case[1], got, case[2])
  end
  for _, case in ipairs(values) do
    local ok, got = run(case[1])
    check(ok and got == case[2] and math.type(got) == math.type(case[2]), "%s gave %q, expected %q", case[1], got,
      case[2])
  end
  print(#errors .. " errors and " .. #values .. " values checked")
end

-- Every delivered text is released: Lua's heap and the process's resident
-- size stay where they were over a million texts.
function parts.memory()
  local pagesize = io.popen("getconf PAGESIZE"):read("n")
  local function texts(count)
    for x = 1, count do assert(math_n.s2nNat(math_n.n2sNat(x)) == x) end
    collectgarbage()
    return collectgarbage("count"), io.open("/proc/self/statm"):read("a"):match(" (%d+)") * pagesize
  end
  texts(100000) -- the allocators' pools settle
  local heap, before = texts(0)
  local heapAfter, after = texts(1000000)
  print(string.format("Lua's heap %.0f KiB, then %.0f KiB; resident %d KiB, then %d KiB", heap, heapAfter,
    before // 1024, after // 1024))
  -- A text not released would be at least 16 bytes a call: 16 MB here.
  check(heapAfter - heap < 64, "Lua's heap grew by %.0f KiB", heapAfter - heap)
  check(after - before < 2 << 20, "resident memory grew by %d bytes", after - before)
end

-- Coroutines take turns between calls, and one that fails leaves the
-- others running; a predicate is a coroutine's body too.
function parts.coroutines()
  local workers = {}
  for worker = 1, 4 do
    workers[worker] = coroutine.create(function()
      for x = 1, 10000 do
        local n = x * 7919 * worker - 800000
        check(math_n.s2nNat(math_n.n2sNat(n)) == n and math_n.addNat(n, 1) == n + 1, "worker %d: %d", worker, n)
        coroutine.yield()
      end
      if worker == 2 then math_n.evenNat() end
    end)
  end
  local failed
  for _ = 0, 10000 do -- each yields 10000 times, then ends
    for worker, thread in ipairs(workers) do
      local ok, message = coroutine.resume(thread)
      if not ok then failed = worker .. ": " .. message end
    end
  end
  check(failed and failed:find("^2: .*evenNat has no entry point"), "the failing worker: %s", failed)
  check(coroutine.wrap(math_n.addNat)(3, 4) == 7, "addNat as a coroutine")
  print("4 coroutines, 10000 turns each")
end

-- The library's allocation fails (the preloaded new[]): Lua's own memory
-- error, which no message handler sees; then the module works on.
function parts.out_of_memory()
  local handled = false
  local ok, message = xpcall(math_n.s2nNat, function(m) handled = true return m end, ("0"):rep(27) .. "42")
  check(not ok and message == "not enough memory" and not handled, "gave %s, %s (handled: %s)", ok, message,
    handled)
  check(math_n.s2nNat("42") == 42, "s2nNat(\"42\") afterwards")
end

parts[part]()
print(#failures .. " failed")
for _, failure in ipairs(failures) do print("  " .. failure) end
os.exit(#failures == 0)
