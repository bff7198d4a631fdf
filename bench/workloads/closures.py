# Calls of a closure that updates a captured variable.
import sys

N = int(sys.argv[1])

def make_counter(step):
    count = 0
    def counter(k):
        nonlocal count
        count += step + k % 2
        return count
    return counter

def main():
    counter = make_counter(3)
    last = 0
    for i in range(N):
        last = counter(i)
    print(last)

main()
