# Array push, then a sum over the elements by index.
import sys

N = int(sys.argv[1])

def main():
    total = 0
    for _ in range(N):
        a = []
        for i in range(10000):
            a.append(i)
        n = len(a)
        for i in range(n):
            total += a[i]
        total = total % 1000000007
    print(total)

main()
