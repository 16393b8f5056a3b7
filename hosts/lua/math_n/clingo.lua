-- The predicates as clingo's external functions. In a program,
--   #script (lua) require("math_n.clingo") #end.
-- makes each one a global function: @addNat(X, 4), @logNat(10, Y).
-- A Number goes over as an integer and a String as a string; any other
-- symbol as a math_n.symbol of its text, which no predicate takes, so the
-- call fails. A compute call gives a Number or a String, or no value when
-- the relation fails, so that the rule instance drops out; a check gives
-- the constant true or false (`not @evenNat(X) = true`).
local clingo = require("clingo")
local math_n = require("math_n")

local TRUE, FALSE = clingo.Function("true"), clingo.Function("false")
local none = {} -- a table returned is its symbols: here none

-- A Number's number, a String's string: each is nil on any other symbol.
local function value(symbol)
  local number = symbol.number
  if number then return number end
  return symbol.string or math_n.symbol(tostring(symbol))
end

-- Each predicate given as many arguments as clingo gives.
local function external(predicate)
  return function(a, b, c)
    local result
    if c then
      result = predicate(value(a), value(b), value(c))
    elseif b then
      result = predicate(value(a), value(b))
    elseif a then
      result = predicate(value(a))
    else
      result = predicate()
    end
    if result == nil then return none end
    if result == true then return TRUE end
    if result == false then return FALSE end
    return result
  end
end

local externals = {}
for name, predicate in pairs(math_n) do
  if name ~= "symbol" then
    externals[name] = external(predicate)
    _G[name] = externals[name]
  end
end
return externals
