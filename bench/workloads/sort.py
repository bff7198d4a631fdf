# Sorting N integers in their natural order, then a checksum over the order.
import sys

N = int(sys.argv[1])

def main():
    a = []
    x = 1
    for _ in range(N):
        x = (x * 75 + 74) % 65537
        a.append(x)
    a.sort()
    total = 0
    for i in range(N):
        total = (total + (a[i] ^ (i & 1023))) % 1000000007
    print(total)

main()
