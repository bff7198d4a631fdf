-- Sieve of Eratosthenes over an array of flags, run several times.
local N = tonumber(arg[1])
local SIZE = 100000
local count = 0
for round = 1, N do
    local flags = {}
    for i = 0, SIZE - 1 do flags[i] = true end
    count = 0
    for i = 2, SIZE - 1 do
        if flags[i] then
            count = count + 1
            for k = i + i, SIZE - 1, i do flags[k] = false end
        end
    end
end
print(count)
