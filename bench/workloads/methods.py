# Method calls on class instances.
import sys

N = int(sys.argv[1])

class Account:
    def __init__(self):
        self.balance = 0

    def deposit(self, amount):
        self.balance += amount
        return self.balance

    def fee(self):
        if self.balance > 1000:
            self.balance -= 1000
        return self.balance

def main():
    a = Account()
    b = Account()
    for i in range(N):
        a.deposit(i % 10)
        b.deposit(1)
        a.fee()
    print(a.balance + b.balance)

main()
