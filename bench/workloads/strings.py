# String building by concatenation: many short texts grown piece by piece.
import sys

N = int(sys.argv[1])

def main():
    total = 0
    for _ in range(N):
        s = ""
        for i in range(100):
            s = s + str(i) + ","
        total += len(s)
    print(total)

main()
