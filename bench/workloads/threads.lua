-- Thread ping-pong: a coroutine answers every value it is handed until -1.
local N = tonumber(arg[1])
local function echo(first)
    local v = first
    while v >= 0 do v = coroutine.yield(v * 2 + 1) end
    return 0
end
local t = coroutine.wrap(echo)
local total = 0
for i = 0, N - 1 do
    total = total + t(i % 100)
    total = total % 999983
end
t(-1)
print(total)
