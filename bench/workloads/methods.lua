-- Method calls on class instances.
local N = tonumber(arg[1])
local Account = {}
Account.__index = Account
function Account.new() return setmetatable({balance = 0}, Account) end
function Account:deposit(amount) self.balance = self.balance + amount; return self.balance end
function Account:fee()
    if self.balance > 1000 then self.balance = self.balance - 1000 end
    return self.balance
end
local a = Account.new()
local b = Account.new()
for i = 0, N - 1 do
    a:deposit(i % 10)
    b:deposit(1)
    a:fee()
end
print(a.balance + b.balance)
