# Recursive Fibonacci: calls and integer arithmetic.
import sys

N = int(sys.argv[1])

def fib(n):
    if n < 2:
        return n
    return fib(n - 1) + fib(n - 2)

print(fib(N))
