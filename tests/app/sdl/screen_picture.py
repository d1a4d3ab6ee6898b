# Reading the screenshots and pictures that the Xvfb scripts convert to PPM.

# The program scales its 320 x 200 picture by 5 at (160, 40) on a 1920 x 1080 screen.
X0, Y0, SCALE = 160, 40, 5


def read_ppm(path):
    """Width, height and the RGB bytes of a binary PPM file."""
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    assert fields[0] == b"P6" and fields[3] == b"255", fields
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def at(buf, width, x, y):
    i = (y * width + x) * 3
    return buf[i], buf[i + 1], buf[i + 2]
