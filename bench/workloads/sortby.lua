-- Sorting N integers with a comparator function (descending), then a checksum over the order.
local N = tonumber(arg[1])
local a = {}
local x = 1
for i = 1, N do
    x = (x * 75 + 74) % 65537
    a[i] = x
end
table.sort(a, function(p, q) return p > q end)
local total = 0
for i = 1, N do total = (total + (a[i] ~ ((i - 1) & 1023))) % 1000000007 end
print(total)
