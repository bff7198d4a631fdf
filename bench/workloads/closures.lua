-- Calls of a closure that updates a captured variable.
local N = tonumber(arg[1])
local function makeCounter(step)
    local count = 0
    return function(k) count = count + step + k % 2; return count end
end
local counter = makeCounter(3)
local last = 0
for i = 0, N - 1 do last = counter(i) end
print(last)
