# Thread ping-pong: a coroutine answers every value it is handed until -1.
import sys

N = int(sys.argv[1])


def echo():
    v = yield
    while v >= 0:
        v = yield v * 2 + 1


def main():
    t = echo()
    next(t)
    total = 0
    for i in range(N):
        total += t.send(i % 100)
        total = total % 999983
    try:
        t.send(-1)
    except StopIteration:
        pass
    print(total)


main()
