# Sorting N integers with a comparator function (descending), then a checksum over the order.
import functools
import sys

N = int(sys.argv[1])

def main():
    a = []
    x = 1
    for _ in range(N):
        x = (x * 75 + 74) % 65537
        a.append(x)
    a = sorted(a, key=functools.cmp_to_key(lambda p, q: q - p))
    total = 0
    for i in range(N):
        total = (total + (a[i] ^ (i & 1023))) % 1000000007
    print(total)

main()
