# Member reads and writes on one object.
import sys

N = int(sys.argv[1])

class Point:
    pass

def main():
    point = Point()
    point.x = 0
    point.y = 0
    point.z = 0
    for _ in range(N):
        point.x = point.x + 1
        point.y = point.y + point.x % 3
        point.z = point.x - point.y
    print(point.x + point.y + point.z)

main()
