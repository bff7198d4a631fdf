-- Member reads and writes on one object.
local N = tonumber(arg[1])
local point = {x = 0, y = 0, z = 0}
for i = 0, N - 1 do
    point.x = point.x + 1
    point.y = point.y + point.x % 3
    point.z = point.x - point.y
end
print(point.x + point.y + point.z)
