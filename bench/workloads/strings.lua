-- String building by concatenation: many short texts grown piece by piece.
local N = tonumber(arg[1])
local total = 0
for round = 1, N do
    local s = ""
    for i = 0, 99 do
        s = s .. i .. ","
    end
    total = total + #s
end
print(total)
