# Sieve of Eratosthenes over an array of flags, run several times.
import sys

N = int(sys.argv[1])

def main():
    size = 100000
    count = 0
    for _ in range(N):
        flags = [True] * size
        count = 0
        for i in range(2, size):
            if flags[i]:
                count += 1
                for k in range(i + i, size, i):
                    flags[k] = False
    print(count)

main()
