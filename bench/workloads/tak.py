# Takeuchi function: deep call chains with three arguments.
import sys

N = int(sys.argv[1])

def tak(x, y, z):
    if y >= x:
        return z
    return tak(tak(x - 1, y, z), tak(y - 1, z, x), tak(z - 1, x, y))

def main():
    total = 0
    for _ in range(N):
        total += tak(18, 12, 6)
    print(total)

main()
