# Integer counting loop with a little arithmetic in its body.
import sys

N = int(sys.argv[1])

def main():
    total = 0
    for i in range(N):
        total += i % 7
    print(total)

main()
