-- Integer counting loop with a little arithmetic in its body.
local N = tonumber(arg[1])
local sum = 0
for i = 0, N - 1 do
    sum = sum + i % 7
end
print(sum)
