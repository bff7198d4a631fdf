-- Array push, then a sum over the elements by index.
local N = tonumber(arg[1])
local total = 0
for round = 1, N do
    local a = {}
    for i = 0, 9999 do a[#a + 1] = i end
    local n = #a
    for i = 1, n do total = total + a[i] end
    total = total % 1000000007
end
print(total)
