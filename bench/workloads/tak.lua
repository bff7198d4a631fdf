-- Takeuchi function: deep call chains with three arguments.
local N = tonumber(arg[1])
local function tak(x, y, z)
    if y >= x then return z end
    return tak(tak(x - 1, y, z), tak(y - 1, z, x), tak(z - 1, x, y))
end
local total = 0
for i = 1, N do total = total + tak(18, 12, 6) end
print(total)
