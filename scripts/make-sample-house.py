#!/usr/bin/env python3
"""Writes the sample model examples/house/house.mqo: a small brick house in Shift-JIS, with
five materials (one textured, one translucent), quads and triangles, a roof modelled as one
half that the viewer mirrors across X, and a hidden helper object.

Faces are wound as the modeller winds them: clockwise when seen from outside."""

import sys

MATERIALS = [
    # name, colour rgba, dif, amb, emi, spc, power, texture
    ("レンガ", (1.0, 1.0, 1.0, 1.0), 0.8, 0.6, 0.0, 0.1, 5.0, "brick.jpg"),
    ("屋根", (0.62, 0.16, 0.12, 1.0), 0.8, 0.5, 0.0, 0.4, 20.0, None),
    ("扉", (0.45, 0.28, 0.14, 1.0), 0.9, 0.6, 0.0, 0.0, 5.0, None),
    ("窓ガラス", (0.55, 0.78, 0.95, 0.55), 0.6, 0.6, 0.1, 0.9, 60.0, None),
    ("芝生", (0.30, 0.55, 0.22, 1.0), 0.8, 0.7, 0.0, 0.0, 5.0, None),
]


class Mesh:
    def __init__(self, name, facet=59.5, visible=15, mirror=0, mirror_axis=0):
        self.name, self.facet, self.visible = name, facet, visible
        self.mirror, self.mirror_axis = mirror, mirror_axis
        self.vertices, self.faces = [], []

    def vertex(self, p):
        if p in self.vertices:
            return self.vertices.index(p)
        self.vertices.append(p)
        return len(self.vertices) - 1

    def face(self, points, material, uvs=None, outward=None):
        """points clockwise as seen from outside; outward, when given, checks that."""
        if outward is not None:
            a, b, c = points[0], points[1], points[2]
            u = [b[i] - a[i] for i in range(3)]
            v = [c[i] - a[i] for i in range(3)]
            cross = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
            # Clockwise from outside means the right-hand normal points inward.
            assert sum(-cross[i] * outward[i] for i in range(3)) > 0, (self.name, points)
        self.faces.append(([self.vertex(p) for p in points], material, uvs))


def box_quads(mesh, x0, x1, y0, y1, z0, z1, material, skip=()):
    quads = {
        "front": ([(x0, y1, z1), (x1, y1, z1), (x1, y0, z1), (x0, y0, z1)], (0, 0, 1)),
        "back": ([(x1, y1, z0), (x0, y1, z0), (x0, y0, z0), (x1, y0, z0)], (0, 0, -1)),
        "right": ([(x1, y1, z1), (x1, y1, z0), (x1, y0, z0), (x1, y0, z1)], (1, 0, 0)),
        "left": ([(x0, y1, z0), (x0, y1, z1), (x0, y0, z1), (x0, y0, z0)], (-1, 0, 0)),
        "top": ([(x0, y1, z0), (x1, y1, z0), (x1, y1, z1), (x0, y1, z1)], (0, 1, 0)),
        "bottom": ([(x0, y0, z1), (x1, y0, z1), (x1, y0, z0), (x0, y0, z0)], (0, -1, 0)),
    }
    for side, (points, outward) in quads.items():
        if side not in skip:
            mesh.face(points, material, None, outward)


def walls():
    m = Mesh("壁")
    w, h, d, apex = 100, 120, 80, 180
    # Bricks repeat every 60 units; U runs right and V runs down across each face.
    def uv(points, axis_u, axis_v, origin_u, origin_v):
        return [((p[axis_u] - origin_u) / 60.0, (origin_v - p[axis_v]) / 60.0) for p in points]
    front = [(-w, h, d), (w, h, d), (w, 0, d), (-w, 0, d)]
    m.face(front, 0, uv(front, 0, 1, -w, h), (0, 0, 1))
    back = [(w, h, -d), (-w, h, -d), (-w, 0, -d), (w, 0, -d)]
    m.face(back, 0, [((w - p[0]) / 60.0, (h - p[1]) / 60.0) for p in back], (0, 0, -1))
    right = [(w, h, d), (w, h, -d), (w, 0, -d), (w, 0, d)]
    m.face(right, 0, [((d - p[2]) / 60.0, (h - p[1]) / 60.0) for p in right], (1, 0, 0))
    left = [(-w, h, -d), (-w, h, d), (-w, 0, d), (-w, 0, -d)]
    m.face(left, 0, [((p[2] + d) / 60.0, (h - p[1]) / 60.0) for p in left], (-1, 0, 0))
    # Gables: triangles above the front and back walls.
    gable_front = [(0, apex, d), (w, h, d), (-w, h, d)]
    m.face(gable_front, 0, uv(gable_front, 0, 1, -w, h), (0, 0, 1))
    gable_back = [(0, apex, -d), (-w, h, -d), (w, h, -d)]
    m.face(gable_back, 0, [((w - p[0]) / 60.0, (h - p[1]) / 60.0) for p in gable_back], (0, 0, -1))
    return m


def roof_half():
    # The right half of the roof; the left half is its mirror image across x = 0.
    m = Mesh("屋根", facet=30.0, mirror=1, mirror_axis=1)
    t = 6  # thickness
    apex, eave_x, eave_y, d = (0, 182), 115, 108, 92
    top = [(apex[0], apex[1] + t, -d), (eave_x, eave_y + t, -d), (eave_x, eave_y + t, d), (apex[0], apex[1] + t, d)]
    m.face(top, 1, None, (1, 1.6, 0))
    under = [(apex[0], apex[1], d), (eave_x, eave_y, d), (eave_x, eave_y, -d), (apex[0], apex[1], -d)]
    m.face(under, 1, None, (-1, -1.6, 0))
    eave = [(eave_x, eave_y + t, d), (eave_x, eave_y + t, -d), (eave_x, eave_y, -d), (eave_x, eave_y, d)]
    m.face(eave, 1, None, (1, 0, 0))
    front = [(apex[0], apex[1] + t, d), (eave_x, eave_y + t, d), (eave_x, eave_y, d), (apex[0], apex[1], d)]
    m.face(front, 1, None, (0, 0, 1))
    back = [(eave_x, eave_y + t, -d), (apex[0], apex[1] + t, -d), (apex[0], apex[1], -d), (eave_x, eave_y, -d)]
    m.face(back, 1, None, (0, 0, -1))
    return m


def openings():
    m = Mesh("扉と窓")
    z = 81  # just in front of the front wall
    door = [(-20, 70, z), (20, 70, z), (20, 0, z), (-20, 0, z)]
    m.face(door, 2, None, (0, 0, 1))
    for x in (-70, 40):
        window = [(x, 95, z), (x + 30, 95, z), (x + 30, 60, z), (x, 60, z)]
        m.face(window, 3, None, (0, 0, 1))
    # Side windows: a pentagon on the right wall shows an n-gon.
    x = 101
    pentagon = [(x, 100, 15), (x, 88, -15), (x, 60, -15), (x, 60, 15), (x, 88, 30)]
    m.face(pentagon, 3, None, (1, 0, 0))
    return m


def ground():
    m = Mesh("地面")
    s = 130
    m.face([(-s, 0, -s), (s, 0, -s), (s, 0, s), (-s, 0, s)], 4, None, (0, 1, 0))
    return m


def helper():
    # A construction guide the modeller keeps hidden: the viewer must not draw it.
    m = Mesh("補助線", visible=0)
    box_quads(m, -10, 10, 200, 220, -10, 10, 1)
    return m


def fmt(value):
    text = f"{value:.4f}".rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def write(path):
    lines = ["Metasequoia Document", "Format Text Ver 1.0", "",
             "Scene {", "\tpos 0.0000 0.0000 1500.0000", "\tlookat 0.0000 0.0000 0.0000",
             "\thead -0.5236", "\tpich 0.3491", "\tortho 0", "\tzoom2 5.0000",
             "\tamb 0.250 0.250 0.250", "}"]
    lines.append(f"Material {len(MATERIALS)} {{")
    for name, col, dif, amb, emi, spc, power, tex in MATERIALS:
        line = (f'\t"{name}" shader(3) col({col[0]:.3f} {col[1]:.3f} {col[2]:.3f} {col[3]:.3f}) '
                f"dif({dif:.3f}) amb({amb:.3f}) emi({emi:.3f}) spc({spc:.3f}) power({power:.2f})")
        if tex:
            line += f' tex("{tex}")'
        lines.append(line)
    lines.append("}")
    for mesh in (walls(), roof_half(), openings(), ground(), helper()):
        lines += [f'Object "{mesh.name}" {{', "\tdepth 0", "\tfolding 0", "\tscale 1 1 1",
                  "\trotation 0 0 0", "\ttranslation 0 0 0", f"\tvisible {mesh.visible}",
                  "\tlocking 0", "\tshading 1", f"\tfacet {mesh.facet:.1f}",
                  "\tcolor 0.898 0.498 0.698", "\tcolor_type 0"]
        if mesh.mirror:
            lines += [f"\tmirror {mesh.mirror}", f"\tmirror_axis {mesh.mirror_axis}"]
        lines.append(f"\tvertex {len(mesh.vertices)} {{")
        lines += ["\t\t" + " ".join(fmt(c) for c in p) for p in mesh.vertices]
        lines.append("\t}")
        lines.append(f"\tface {len(mesh.faces)} {{")
        for indices, material, uvs in mesh.faces:
            line = f"\t\t{len(indices)} V({' '.join(map(str, indices))}) M({material})"
            if uvs:
                line += " UV(" + " ".join(f"{fmt(u)} {fmt(v)}" for u, v in uvs) + ")"
            lines.append(line)
        lines.append("\t}")
        lines.append("}")
    lines.append("Eof")
    with open(path, "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n").encode("cp932"))


if __name__ == "__main__":
    write(sys.argv[1] if len(sys.argv) > 1 else "examples/house/house.mqo")
