#!/usr/bin/env python3
"""Writes a few large seeds for a file-format fuzz target into a folder.

    fuzz/large_seeds.py <target> <folder>

The fuzzer alone seldom grows an input past a few tens of KB, where growth faults
(quadratic time or memory) only start to show: these seeds give it files with
thousands of nodes, keys, tracks and children to mutate. They are made at run time
(scripts/fuzz.sh) rather than kept in the repository. A target without large seeds
gets none. Every seed is valid input that the target handles within its limits.
"""
import io
import os
import struct
import sys
import zipfile
import zlib


def write(folder, name, data):
    if isinstance(data, str):
        data = data.encode()
    with open(os.path.join(folder, "large-" + name), "wb") as out:
        out.write(data)


# Skeleton files: many bones and slots; long timelines of every kind; many
# animations. Bone chains stay short (their depth costs the skeleton build).
def skeleton_json(folder):
    import json

    def skeleton(bones, slots, skins, animations, ik=()):
        return json.dumps({"skeleton": {"hash": "large", "skeleton": "2.1"}, "bones": bones, "ik": list(ik),
                           "slots": slots, "skins": skins, "animations": animations})

    bones = [{"name": "root"}] + [{"name": "b%d" % i, "parent": "root", "x": i % 50, "length": 4}
                                  for i in range(1500)]
    slots = [{"name": "s%d" % i, "bone": "b%d" % i, "attachment": "r"} for i in range(1500)]
    skin = {"s%d" % i: {"r": {"width": 2, "height": 2}} for i in range(1500)}
    keys = lambda n, value: [dict({"time": k / 10.0}, **value(k)) for k in range(n)]
    anim = {"bones": {"b%d" % i: {"rotate": keys(8, lambda k: {"angle": k * 7}),
                                   "translate": keys(8, lambda k: {"x": k, "y": -k}),
                                   "scale": keys(8, lambda k: {"x": 1 + k / 8.0, "y": 1})} for i in range(200)}}
    write(folder, "bones.json", skeleton(bones, slots, {"default": skin}, {"wide": anim}))

    few = [{"name": "root"}, {"name": "a", "parent": "root", "length": 5}]
    few_slots = [{"name": "s%d" % i, "bone": "a", "attachment": "m"} for i in range(20)]
    mesh = {"type": "mesh", "path": "r", "uvs": [0, 0, 1, 0, 1, 1, 0, 1], "vertices": [0, 0, 4, 0, 4, 4, 0, 4],
            "triangles": [0, 1, 2, 2, 3, 0]}
    long_keys = {
        "bones": {"a": {"rotate": keys(2000, lambda k: {"angle": k % 360, "curve": [0.2, 0.1, 0.8, 0.9]}),
                        "flipX": keys(1000, lambda k: {"x": k % 2 == 0})}},
        "slots": {"s0": {"color": keys(1500, lambda k: {"color": "%08x" % (k * 2654435761 % 2 ** 32)}),
                         "attachment": keys(1500, lambda k: {"name": "m" if k % 2 else None})}},
        "ffd": {"default": {"s1": {"m": keys(1000, lambda k: {"offset": 2, "vertices": [k % 5, 1, 2, 3]})}}},
        "drawOrder": keys(1000, lambda k: {"offsets": [{"slot": "s%d" % (k % 19), "offset": 1}]}),
        "events": keys(2000, lambda k: {"name": "e", "int": k}),
    }
    doc = json.loads(skeleton(few, few_slots, {"default": {"s%d" % i: {"m": mesh} for i in range(20)}},
                              {"long": long_keys}))
    doc["events"] = {"e": {"int": 0, "string": "tick"}}
    write(folder, "keys.json", json.dumps(doc))

    chain = [{"name": "root"}] + [{"name": "c%d" % i, "parent": "root" if i == 0 else "c%d" % (i - 1),
                                   "length": 3} for i in range(200)]
    iks = [{"name": "k%d" % i, "bones": ["c%d" % (20 * i + 18), "c%d" % (20 * i + 19)], "target": "root"}
           for i in range(10)]
    many = {"a%d" % n: {"bones": {"c%d" % (n % 200): {"rotate": keys(4, lambda k: {"angle": k * n})}},
                        "ik": {"k%d" % (n % 10): keys(3, lambda k: {"mix": k / 2.0, "bendPositive": k == 1})}}
            for n in range(400)}
    write(folder, "animations.json", skeleton(chain, [], {}, many, iks))


def skeleton_atlas(folder):
    header = "\nformat: RGBA8888\nfilter: Linear,Linear\nrepeat: none\n"
    region = "r%d\n rotate: %s\n xy: %d, %d\n size: 2, 2\n orig: 2, 2\n offset: 0, 0\n index: %d\n"
    write(folder, "regions.atlas", "p.png\nsize: 4096,4096" + header +
          "".join(region % (i, "true" if i % 3 == 0 else "false", i % 4000, i // 4000, i % 7 - 1)
                  for i in range(2000)))
    write(folder, "pages.atlas", "\n".join("p%d.png%s%s" % (p, header, region % (p, "false", 0, 0, -1))
                                           for p in range(500)))
    write(folder, "spellings.atlas", "\n".join(("./" * n) + "p.png" + header for n in range(300)))


def png(width, height, color_type, bit_depth, rows, interlaced=False, chunks=()):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    ihdr = struct.pack(">IIBBBBB", width, height, bit_depth, color_type, 0, 0, 1 if interlaced else 0)
    body = b"".join(chunk(k, v) for k, v in chunks)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + body + chunk(b"IDAT", zlib.compress(rows, 9)) +
            chunk(b"IEND", b""))


# Images stay under 32 KB: the fuzzer's input size limit follows the largest seed,
# and with it what a file may decode to within the target's memory limit.
def image_decode(folder):
    side = 96   # Adam7 rows of an RGBA pattern
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
    rows = b""
    for x0, y0, dx, dy in passes:
        for y in range(y0, side, dy):
            rows += b"\x00" + b"".join(bytes(((x * 7) & 255, (y * 5) & 255, (x ^ y) & 255, 200))
                                       for x in range(x0, side, dx))
    write(folder, "interlaced.png", png(side, side, 6, 8, rows, interlaced=True))
    grey = b"".join(b"\x01" + bytes([(x + y) & 255 for x in range(512)]) for y in range(512))
    write(folder, "grey.png", png(512, 512, 0, 8, grey))
    flat = b"\x00" * (2048 * 257)
    write(folder, "flat-bits.png", png(2048, 2048, 3, 1, flat, chunks=[(b"PLTE", b"\x01\x02\x03"), (b"tRNS", b"\x80")]))


# The binary scene file's protobuf encoding, by hand: Node.type = 1, name = 2,
# position = 3 (Pair x = 1, y = 2), visible = 5, children = 12; SceneFile.root = 1.
def pb_field(number, payload):
    key, size, out = number << 3 | 2, len(payload), b""
    for value in (key, size):
        while value >= 0x80:
            out += bytes([value & 0x7F | 0x80])
            value >>= 7
        out += bytes([value])
    return out + payload


def csb_node(kind, name="", children=(), position=None):
    body = pb_field(1, kind.encode())
    if name:
        body += pb_field(2, name.encode())
    if position:
        body += pb_field(3, b"\x0d" + struct.pack("<f", position[0]) + b"\x15" + struct.pack("<f", position[1]))
    return body + b"".join(pb_field(12, child) for child in children)


def csb_read(folder):
    leaves = [csb_node("Node", "n%d" % i, position=(i, -i)) for i in range(10000)]
    write(folder, "wide.csb", pb_field(1, csb_node("Node", "root", leaves)))
    widgets = [csb_node(("Text", "Button", "Widget")[i % 3], "w%d" % i) for i in range(3000)]
    groups = [csb_node("Layout", "g%d" % g, widgets[g * 100:(g + 1) * 100]) for g in range(30)]
    deep = csb_node("Node", "d31")
    for level in range(30, -1, -1):
        deep = csb_node("Node", "d%d" % level, [deep, csb_node("Node")])
    write(folder, "mixed.csb", pb_field(1, csb_node("Node", "root", groups + [deep])))


def csd_read(folder):
    nodes = "".join('<Node Type="Node" Name="n%d" X="%d" Y="0"/>' % (i, i) for i in range(4000))
    tracks = "".join('<Track Target="n%d" Property="%s">%s</Track>' % (
        i * 4, ("Position", "Rotation", "Opacity", "Visible", "Scale")[i % 5],
        "".join('<Frame Index="%d" %s/>' % (f * 10, (
            'X="%d" Y="1"' % f, 'Value="%d"' % (f * 30), 'Value="%d"' % (f * 50), 'Value="%s"' % ("true", "false")[f % 2],
            'X="1" Y="%d"' % f)[i % 5]) for f in range(5))) for i in range(1000))
    write(folder, "timeline.csd", '<SceneFile><PropertyGroup Type="Node"/><Node Type="Node" Name="root">' + nodes +
          '</Node><Timeline Duration="60" Speed="1">' + tracks + "</Timeline></SceneFile>")
    groups = "".join('<Node Type="Layout" Name="g%d" PercentWidth="0.5" PercentHeight="0.5">%s</Node>' % (
        g, "".join('<Node Type="Text" Name="t%d" Text="hi" FontSize="12"/>' % i for i in range(100)))
        for g in range(30))
    write(folder, "widgets.csd", '<SceneFile><Node Type="Node" Name="root">' + groups + "</Node></SceneFile>")


def gui_reader(folder):
    import json
    buttons = [{"type": "Button", "name": "b%d" % i, "text": "ok", "position": [i % 100, i // 100]}
               for i in range(4000)]
    write(folder, "buttons.json", json.dumps({"type": "Layout", "size": [1334, 750], "children": buttons}))
    panels = [{"type": "Layout", "name": "p%d" % p, "children": [
        {"type": ("Text", "Widget", "LoadingBar")[i % 3], "name": "w%d" % i, "percent": i % 100}
        for i in range(100)]} for p in range(30)]
    write(folder, "panels.json", json.dumps({"type": "Widget", "children": panels}))


def json_parse(folder):
    import json
    write(folder, "records.json", json.dumps([{"id": i, "name": "n%d" % i, "tags": ["a", "b"], "v": i / 7.0}
                                              for i in range(4000)]))
    write(folder, "nested.json", "[" * 200 + "]" * 200)


# The zip target takes an input that starts with "PK" as the archive itself.
def zip_extract(folder):
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w", zipfile.ZIP_DEFLATED) as archive:
        for i in range(1000):
            archive.writestr("d%d/f%d.txt" % (i % 40, i), ("line %d\n" % i) * 20)
    write(folder, "entries.zip", data.getvalue())


# The script-chunk target's input: a first byte that chooses the layers (2:
# compressed, 4: protected), then the chunk's source.
def script_chunk(folder):
    source = "local t = {}\n" + "".join("function t.f%d(a, b)\n  if a then return b + %d end\n  return {%d, '%d'}\nend\n"
                                        % (i, i, i, i) for i in range(2000)) + "return t\n"
    for mode, name in ((0, "plain"), (2, "compressed"), (4, "protected"), (6, "protected-compressed")):
        write(folder, name + ".lua", bytes([mode]) + source.encode())


# Studio JSON files: thousands of tracks and events, bones and movements, and
# nodes with outlets and callbacks.
def timeline_json(folder):
    import json
    tracks = [{"target": "n%d" % i, "property": "Position",
               "frames": [{"index": k, "x": k, "y": -k} for k in range(0, 200, 20)]} for i in range(1000)]
    events = [{"index": i % 200, "target": "n%d" % i, "name": "e%d" % i} for i in range(3000)]
    write(folder, "timeline.json", json.dumps({"duration": 200, "tracks": tracks, "events": events}))


def armature_json(folder):
    import json
    bones = [{"name": "b0"}] + [{"name": "b%d" % i, "parent": "b%d" % (i // 2)} for i in range(1, 2000)]
    movements = [{"name": "m%d" % i, "duration": 30,
                  "frameEvents": [{"bone": "b%d" % k, "frame": k % 31, "name": "e"} for k in range(0, 2000, 40)]}
                 for i in range(200)]
    write(folder, "armature.json", json.dumps({"armatures": [{"name": "a", "bones": bones, "movements": movements}]}))


def builder_graph(folder):
    import json
    items = [{"type": "MenuItemFont", "name": "i%d" % i, "text": "x", "callback": "on%d" % i,
              "outlet": "o%d" % i} for i in range(3000)]
    write(folder, "graph.json", json.dumps({"root": {"type": "Layer", "children": [{"type": "Menu", "children": items}]},
                                            "sequences": [{"name": "s", "duration": 10,
                                                           "callbacks": [{"time": i / 300.0, "name": "c%d" % i}
                                                                         for i in range(3000)]}]}))


# A model: a grid of 100 x 100 quads with texture coordinates and normals in
# several objects, and one polygon of 255 corners (the most the reader takes).
def obj_model(folder):
    lines = []
    n = 101
    for z in range(n):
        for x in range(n):
            lines.append("v %d %f %d" % (x, (x * z) % 7 / 7.0, z))
            lines.append("vt %f %f" % (x / 100.0, z / 100.0))
    lines.append("vn 0 1 0")
    for z in range(n - 1):
        if z % 25 == 0:
            lines.append("o strip%d" % z)
        for x in range(n - 1):
            a = z * n + x + 1
            lines.append("f %d/%d/1 %d/%d/1 %d/%d/1 %d/%d/1" % (a, a, a + 1, a + 1, a + n + 1, a + n + 1, a + n, a + n))
    lines.append("o fan")
    lines.append("f " + " ".join(str(i) for i in range(1, 256)))
    write(folder, "grid.obj", "\n".join(lines) + "\n")


# Navigation-mesh files: a bumpy floor of 100 x 100 quads spread over 200 units
# with 200 off-mesh links across it, and a narrow maze of 2000 thin strips. (A
# floor at the voxel grid's 1024-cell cap builds for seconds under the
# sanitizers, past the fuzzer's time limit on a busy machine.)
def navmesh_files(folder):
    n = 101
    lines = []
    for z in range(n):
        for x in range(n):
            lines.append("v %d %f %d" % (x * 2, (x * z) % 5 / 10.0, z * 2))
    for z in range(n - 1):
        for x in range(n - 1):
            a = z * n + x + 1
            lines.append("f %d %d %d %d" % (a, a + n, a + n + 1, a + 1))
    links = ["%.1f 0 %.1f %.1f 0 %.1f 1.5 %d" % (i * 0.9, i * 0.7, 200 - i * 0.9, 200 - i * 0.7, i % 2)
             for i in range(200)]
    write(folder, "floor", "\n".join(lines) + "\n\0" + "\n".join(links) + "\n")
    strips = []
    for i in range(2000):
        x = (i % 40) * 3.0
        z = (i // 40) * 3.0
        base = i * 4 + 1
        strips += ["v %f 0 %f" % (x, z), "v %f 0 %f" % (x + 2.5, z), "v %f 0 %f" % (x + 2.5, z + 2.5),
                   "v %f 0 %f" % (x, z + 2.5), "f %d %d %d %d" % (base, base + 3, base + 2, base + 1)]
    write(folder, "maze", "\n".join(strips) + "\n")
    # The bumpy floor scaled to 2000 units a side: an agent's walk across it is
    # longer than the crowd's corridor. Then what the build's budget refuses or
    # bounds: floors stacked over one spot, a plain floor 9000 units wide, and
    # long thin quads crossing in a grid.
    wide = [("v %d %f %d" % (x * 20, (x * z) % 5 / 10.0, z * 20)) for z in range(n) for x in range(n)]
    wide += [line for line in lines if line.startswith("f")]
    write(folder, "wide_floor", "\n".join(wide) + "\n")
    for floors in (10, 50, 200):
        stack = []
        for i in range(floors):
            y = 2.5 * i
            stack += ["v 0 %g 0" % y, "v 300 %g 0" % y, "v 300 %g 300" % y, "v 0 %g 300" % y,
                      "f %d %d %d %d" % (4 * i + 1, 4 * i + 4, 4 * i + 3, 4 * i + 2)]
        write(folder, "stacked_%d" % floors, "\n".join(stack) + "\n")
    write(folder, "plain_9000", "v 0 0 0\nv 9000 0 0\nv 9000 0 9000\nv 0 0 9000\nf 1 4 3 2\n")
    quads = []
    for i in range(114):
        at, base = (i // 2) * 10.0, i * 4 + 1
        if i % 2 == 0:
            quads += ["v 0 0 %g" % at, "v 570 0 %g" % at, "v 570 0 %g" % (at + 6), "v 0 0 %g" % (at + 6)]
        else:
            quads += ["v %g 0.1 0" % at, "v %g 0.1 0" % (at + 6), "v %g 0.1 570" % (at + 6), "v %g 0.1 570" % at]
        quads.append("f %d %d %d %d" % (base, base + 3, base + 2, base + 1))
    write(folder, "crossing_quads", "\n".join(quads) + "\n")


# Material files: 70,000 properties in one namespace (about 1 MB), and many
# techniques of many passes, each with its render state.
def material_file(folder):
    write(folder, "properties", "material many\n{\n" +
          "".join("p%d = %d\n" % (i, i) for i in range(70000)) + "}\n")
    passes = "".join("        pass p%d\n        {\n            renderState\n            {\n"
                     "                blend = true\n                depthTest = %s\n            }\n        }\n"
                     % (k, "true" if k % 2 else "false") for k in range(40))
    write(folder, "techniques", "material deep\n{\n" + "".join(
        "    technique t%d\n    {\n%s    }\n" % (t, passes) for t in range(100)) + "}\n")


# Images used as geometry: files past the pixel budget and within it, with
# shapes whose outlines are long (a comb, a checkerboard) and noise.
def image_geometry(folder):
    import random
    rng = random.Random(5)
    # 8-bit grey + alpha 4097 x 4096, all zero: refused by the budget.
    write(folder, "past_budget.png", png(4097, 4096, 4, 8, b"\0" * (4096 * (1 + 2 * 4097))))
    side = 1024
    comb = b"".join(b"\0" + b"".join(b"\xff\xff" if (x % 4 < 2 or y < 8) else b"\0\0" for x in range(side))
                    for y in range(side))
    write(folder, "comb.png", png(side, side, 4, 8, comb))
    checker = b"".join(b"\0" + b"".join(b"\xff\xff" if (x // 2 + y // 2) % 2 else b"\0\0" for x in range(512))
                       for y in range(512))
    write(folder, "checker.png", png(512, 512, 4, 8, checker))
    noise = b"".join(b"\0" + bytes(rng.choice((0, 255)) for _ in range(2 * 300)) for y in range(300))
    write(folder, "noise.png", png(300, 300, 4, 8, noise))


# Calls of the gl table: runs over every member and edge value, each as long as
# the target reads (32 calls).
def gl_table_buffers(folder):
    import random
    rng = random.Random(7)
    for k in range(8):
        write(folder, "calls%d" % k, bytes(rng.randrange(256) if i % 3 else rng.randrange(26) for i in range(1024)))


# Sound files past the length kept decoded (10 s): a 12 s tone that streams, and one
# whose header announces a second while its data holds 12 (decoded until the
# limit, then streamed). 8 kHz mono 16-bit WAV.
def sound_decode(folder):
    import math
    rate = 8000

    def wav(frames, announced):
        data = b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / rate))) for i in range(frames))
        size = announced * 2
        header = b"RIFF" + struct.pack("<I", 36 + size) + b"WAVEfmt " + struct.pack(
            "<IHHIIHH", 16, 1, 1, rate, rate * 2, 2, 16) + b"data" + struct.pack("<I", size)
        return header + data

    write(folder, "long.wav", wav(12 * rate, 12 * rate))
    write(folder, "understated.wav", wav(12 * rate, rate))


# Replies at the byte-array cap (4 MiB) and one past it, read as bytes; a head of
# many header lines and a long status line.
def xhr_reply(folder):
    cap = 4 << 20
    head = b"HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n\r\n"
    write(folder, "at-cap-bytes", b"\x01" + head + bytes(i % 256 for i in range(cap)))
    write(folder, "past-cap-bytes", b"\x01" + head + b"\xab" * (cap + 1))
    lines = b"".join(b"X-H%d: v%d\r\n" % (i, i) for i in range(20000))
    write(folder, "many-headers", b"\x00HTTP/1.1 200 " + b"S" * 65536 + b"\r\n" + lines + b"\r\nbody")


# A server's exchange: binary messages at the script's cap and one past it, a
# long run of pings and small messages.
def websocket_session(folder):
    cap = 4 << 20
    answer = (b"HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
              b"Sec-WebSocket-Accept: @ACCEPT@\r\n\r\n")

    def frame(opcode, payload):
        n = len(payload)
        if n < 126:
            size = bytes([n])
        elif n < 65536:
            size = b"\x7e" + struct.pack(">H", n)
        else:
            size = b"\x7f" + struct.pack(">Q", n)
        return bytes([0x80 | opcode]) + size + payload

    write(folder, "at-cap", answer + frame(2, bytes(i % 256 for i in range(cap))))
    write(folder, "past-cap", answer + frame(2, b"\xab" * (cap + 1)))
    write(folder, "pings", answer + b"".join(frame(9, b"p" * 125) + frame(1, b"m%d" % i) for i in range(20000)))
# Model animations: many bones with long key lists.
def animation_json(folder):
    import json
    key = lambda t: {"keytime": t / 100.0, "translation": [t, -t, 0], "rotation": [0, 0, 0.7071068, 0.7071068],
                     "scale": [1, 1 + t / 1000.0, 1]}
    bones = [{"boneId": "b%d" % b, "keyframes": [key(t) for t in range(40)]} for b in range(200)]
    long = [{"boneId": "arm", "keyframes": [key(t) for t in range(8000)]}]
    write(folder, "bones.json", json.dumps({"animations": [{"id": "walk", "length": 2, "bones": bones}]}))
    write(folder, "keys.json", json.dumps({"animations": [{"id": "long", "length": 80, "bones": long}]}))


# The start-up configuration: a long list of simulator screens.
def config_json(folder):
    import json
    screens = [{"title": "screen %d" % i, "width": 320 + i % 2000, "height": 480 + i % 1500} for i in range(14000)]
    write(folder, "screens.json", json.dumps({"init_cfg": {"width": 640, "height": 960, "name": "big", "entry":
                                                           "src/main.lua", "consolePort": 6010, "uploadPort": 6020},
                                              "simulator_screen_size": screens}))


# Frame sheets with thousands of frames in each format.
def frame_sheet(folder):
    def sheet(format_, frame):
        frames = "".join("<key>f%d.png</key><dict>%s</dict>" % (i, frame(i)) for i in range(5000))
        return ('<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0"><dict><key>frames</key><dict>%s'
                '</dict><key>metadata</key><dict><key>format</key><integer>%d</integer><key>textureFileName</key>'
                '<string>sheet.png</string></dict></dict></plist>' % (frames, format_))
    write(folder, "format0.plist", sheet(0, lambda i: "<key>x</key><real>%d</real><key>y</key><real>%d</real>"
                                                      "<key>width</key><real>8</real><key>height</key><real>8</real>"
                                                      % (i % 512, i // 512)))
    write(folder, "format2.plist", sheet(2, lambda i: "<key>frame</key><string>{{%d,%d},{8,8}}</string><key>offset"
                                                      "</key><string>{0,0}</string><key>rotated</key><%s/><key>"
                                                      "sourceSize</key><string>{8,8}</string>"
                                                      % (i % 512, i // 512, "true" if i % 2 else "false")))
    write(folder, "deep.plist", "<plist>" + "<array>" * 30 + "<string>x</string>" + "</array>" * 30 + "</plist>")


# The language file: every locale with many texts.
def lang_file(folder):
    import json
    table = {"text_%d" % i: "Văn bản số %d ภาษาไทย 中文" % i for i in range(2500)}
    write(folder, "texts.json", "\x00" + json.dumps({"vi": table, "th": table, "en": table}))


# Properties text: many flat properties, and many nested namespaces.
def properties_text(folder):
    write(folder, "flat.properties", "\n".join("k%d=%d" % (i, i) for i in range(70000)))
    nested = "".join("technique t%d\n{\n    pass p\n    {\n        blend = true\n        depthTest = false\n    }\n}\n"
                     % i for i in range(4000))
    write(folder, "material.material", "material big\n{\n" + nested + "}\n")


# The resource list: thousands of packages of every kind.
def res_list(folder):
    import json
    md5 = "0123456789abcdef0123456789abcdef"
    doc = {"sign": "abc", "xlist": [[100 + i, "p%d.zip" % i, md5, 3] for i in range(6000)],
           "base": {"sn": 50, "min": 40, "list": [[i, "b%d.zip" % i, md5, 2] for i in range(1, 6000)]}}
    write(folder, "packages", struct.pack("<II", 1, 0) + json.dumps(doc).encode())


# Tile map images (TGA): a wide uncompressed one and a run-length encoded one.
def tile_map_image(folder):
    def tga(width, height, kind, body):
        return struct.pack("<BBBHHBHHHHBB", 0, 0, kind, 0, 0, 0, 0, 0, width, height, 24, 0) + body
    width, height = 512, 512
    raw = b"".join(bytes((x % 7, y % 5, (x * y) % 3)) for y in range(height) for x in range(width))
    write(folder, "raw.tga", tga(width, height, 2, raw))
    runs = b"".join(bytes((0x80 | 127, i % 4, 0, 0)) for i in range(width * height // 128))
    write(folder, "runs.tga", tga(width, height, 10, runs))


# TMX maps: a large layer as CSV, many tiles with properties, many objects.
def tmx_map(folder):
    width = height = 256
    csv = ",".join(str(1 + (i % 40)) for i in range(width * height))
    tiles = "".join('<tile id="%d"><properties><property name="kind" value="k%d"/></properties></tile>' % (i, i)
                    for i in range(2000))
    objects = "".join('<object id="%d" name="o%d" x="%d" y="%d" width="16" height="16"/>' % (i, i, i % 4000, i // 4000)
                      for i in range(8000))
    write(folder, "large.tmx",
          '<?xml version="1.0" encoding="UTF-8"?>\n<map version="1.0" orientation="orthogonal" width="%d" '
          'height="%d" tilewidth="16" tileheight="16"><tileset firstgid="1" name="t" tilewidth="16" tileheight="16">'
          '<image source="t.png" width="640" height="512"/>%s</tileset><layer name="ground" width="%d" height="%d">'
          '<data encoding="csv">%s</data></layer><objectgroup name="things">%s</objectgroup></map>'
          % (width, height, tiles, width, height, csv, objects))


# Update manifests with many assets and search paths.
def update_manifest(folder):
    import json
    assets = {"res/file%d.png" % i: {"md5": "%032x" % i, "compressed": i % 5 == 0, "group": str(i % 10)}
              for i in range(9000)}
    write(folder, "project.manifest", json.dumps({
        "packageUrl": "http://example.invalid/pkg/", "remoteManifestUrl": "http://example.invalid/project.manifest",
        "remoteVersionUrl": "http://example.invalid/version.manifest", "version": "1.0.2", "engineVersion": "3.0",
        "assets": assets, "searchPaths": ["res/%d/" % i for i in range(500)]}))


# UserDefault.xml with many keys, plain and hex-encoded.
def user_default_xml(folder):
    plain = "".join("<key%d>value %d</key%d>" % (i, i, i) for i in range(15000))
    hexed = "".join('<entry hexKey="%s" hexValue="%s"/>' % (("k%d" % i).encode().hex(), bytes(range(i % 64)).hex())
                    for i in range(5000))
    write(folder, "many.xml", '<?xml version="1.0" encoding="utf-8"?>\n<userDefaultRoot>%s%s</userDefaultRoot>'
          % (plain, hexed))


# A long shader with many precision words.
def shader_source(folder):
    lines = ["#ifdef GL_ES", "precision mediump float;", "#endif"]
    lines += ["uniform highp vec4 u_v%d; varying lowp vec2 v_t%d;" % (i, i) for i in range(8000)]
    lines.append("void main() { gl_FragColor = vec4(1.0); }")
    write(folder, "long.fsh", "\n".join(lines))


# WebSocket: the upgrade answer, then many small frames and one large one.
def websocket_frames(folder):
    answer = (b"\x80HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
              b"Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n\r\n")
    small = b"".join(b"\x81\x05hello" for _ in range(20000))
    big = b"\x82\x7f" + struct.pack(">Q", 600000) + bytes(i % 251 for i in range(600000))
    write(folder, "frames", answer + small + big)


# Upload streams: many small parts, and one file in many parts.
def upload_stream():
    def varint(n):
        out = b""
        while True:
            byte = n & 0x7F
            n >>= 7
            out += bytes((byte | (0x80 if n else 0),))
            if not n:
                return out

    def field(number, kind, payload):
        return varint(number << 3 | kind) + payload

    def part(name, index, count, content):
        message = (field(1, 2, varint(len(name)) + name.encode()) + field(2, 0, varint(index)) +
                   field(3, 0, varint(count)) + field(4, 0, varint(len(content))) + field(5, 0, varint(0)) +
                   field(6, 0, varint(1700000000)))
        return b"RuntimeSend:" + struct.pack("<HH", 2, len(message)) + message + content

    many = b"".join(part("src/m%d.lua" % i, 0, 1, b"print(%d)\n" % i) for i in range(8000))
    pieces = b"".join(part("res/big.bin", i, 200, bytes(i % 251 for _ in range(4000))) for i in range(200))
    return many, pieces


def file_server_frames(folder):
    many, pieces = upload_stream()
    write(folder, "many", many)
    write(folder, "pieces", pieces)


def file_server_uploads(folder):
    file_server_frames(folder)


# Label texts: long paragraphs in several scripts, and many short lines.
def label_layout(folder):
    head = bytes((18, 100, 0, 4, 20, 1))
    words = "Mộc Hà Lục ภาษาไทย 中文标签 plain words "
    write(folder, "paragraph", head + (words * 6000).encode())
    write(folder, "lines", head + "\n".join("dòng %d" % i for i in range(30000)).encode())


# The gateway reply: a long body around the one key.
def gateway_reply(folder):
    import json
    doc = {"pad%d" % i: "x" * 20 for i in range(20000)}
    doc["Res"] = "https://patch.vexo.test/r/list.json"
    write(folder, "padded.json", json.dumps(doc))


# The window settings file: many sections and keys.
def window_settings(folder):
    write(folder, "many.ini", "\n".join("[s%d]\nk%d=%d\nzoompermille=%d" % (i, i, i, i % 2000) for i in range(20000)))


MAKERS = {name: maker for name, maker in globals().items() if callable(maker) and name in (
    "skeleton_json", "skeleton_atlas", "image_decode", "csb_read", "csd_read", "gui_reader", "json_parse",
    "zip_extract", "script_chunk", "timeline_json", "armature_json", "builder_graph", "obj_model", "sound_decode",
    "navmesh_files", "material_file", "image_geometry", "gl_table_buffers", "xhr_reply", "websocket_session",
    "animation_json", "config_json", "frame_sheet", "lang_file", "properties_text", "res_list",
    "tile_map_image", "tmx_map", "update_manifest", "user_default_xml", "shader_source", "websocket_frames",
    "file_server_frames", "file_server_uploads", "label_layout", "gateway_reply", "window_settings")}

if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    target, folder = sys.argv[1], sys.argv[2]
    if target in MAKERS:
        os.makedirs(folder, exist_ok=True)
        MAKERS[target](folder)
