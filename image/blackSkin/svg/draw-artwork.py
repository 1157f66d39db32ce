#!/usr/bin/env python3
"""Writes the SVG sources of image/blackSkin/: icons, recording buttons, the application icon
and the twelve device pictures.

The SVGs it writes are the artwork's sources (scripts/render-images turns them into the PNGs);
this script only keeps the many shared shapes in one place. Texts are converted to outlines with
the Noto Sans CJK SC font, so the pictures render the same on machines without that font.

    image/blackSkin/svg/draw-artwork.py      (needs python3-fonttools and fonts-noto-cjk)
    scripts/render-images
"""
import math
import os

from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTCollection

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_DIR = "/usr/share/fonts/opentype/noto"

# Colours of the dark theme the scene uses.
PANEL = "#282A2B"
IDLE = "#848484"
BRIGHT = "#FFFFFF"
ACCENT = "#5E17CC"
ACCENT_LIGHT = "#A27CFF"
ACCENT_MID = "#7B3FF2"
RED = "#E5484D"
LIGHT_GREY = "#ADAFB2"

_fonts = {}


def font(weight):
    if weight not in _fonts:
        collection = TTCollection(f"{FONT_DIR}/NotoSansCJK-{weight}.ttc")
        sc = next(f for f in collection.fonts if f["name"].getDebugName(1) == "Noto Sans CJK SC")
        _fonts[weight] = sc
    return _fonts[weight]


def text_width(text, size, weight="Regular", spacing=0.0):
    f = font(weight)
    cmap, hmtx = f.getBestCmap(), f["hmtx"]
    scale = size / f["head"].unitsPerEm
    return sum(hmtx[cmap[ord(c)]][0] * scale + spacing for c in text) - (spacing if text else 0)


def text(s, x, y, size, fill, weight="Regular", anchor="start", spacing=0.0, opacity=None):
    """The text as one path: x, y is the baseline point that `anchor` refers to."""
    f = font(weight)
    cmap, hmtx, glyphs = f.getBestCmap(), f["hmtx"], f.getGlyphSet()
    scale = size / f["head"].unitsPerEm
    width = text_width(s, size, weight, spacing)
    pen_x = x - {"start": 0, "middle": width / 2, "end": width}[anchor]
    parts = []
    for c in s:
        name = cmap[ord(c)]
        pen = SVGPathPen(glyphs, ntos=lambda v: f"{v:.2f}".rstrip("0").rstrip("."))
        glyphs[name].draw(TransformPen(pen, (scale, 0, 0, -scale, pen_x, y)))
        parts.append(pen.getCommands())
        pen_x += hmtx[name][0] * scale + spacing
    extra = f' opacity="{opacity}"' if opacity is not None else ""
    return f'<path fill="{fill}"{extra} d="{" ".join(p for p in parts if p)}"/>'


def svg(name, width, height, body, defs=""):
    head = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n')
    if defs:
        head += f"<defs>\n{defs}\n</defs>\n"
    with open(os.path.join(HERE, name + ".svg"), "w", encoding="utf-8") as out:
        out.write(head + body + "\n</svg>\n")


def line(x1, y1, x2, y2, colour, w, cap="round", opacity=None):
    extra = f' opacity="{opacity}"' if opacity is not None else ""
    return (f'<line x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}" stroke="{colour}" stroke-width="{w}" '
            f'stroke-linecap="{cap}"{extra}/>')


def rect(x, y, w, h, r, fill, stroke=None, sw=0, opacity=None, extra=""):
    s = f' stroke="{stroke}" stroke-width="{sw}"' if stroke else ""
    o = f' opacity="{opacity}"' if opacity is not None else ""
    return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" fill="{fill}"{s}{o}{extra}/>'


def circle(cx, cy, r, fill, stroke=None, sw=0, opacity=None):
    s = f' stroke="{stroke}" stroke-width="{sw}"' if stroke else ""
    o = f' opacity="{opacity}"' if opacity is not None else ""
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{fill}"{s}{o}/>'


def path(d, fill="none", stroke=None, sw=0, join="round", cap="round", opacity=None):
    s = (f' stroke="{stroke}" stroke-width="{sw}" stroke-linejoin="{join}" stroke-linecap="{cap}"'
         if stroke else "")
    o = f' opacity="{opacity}"' if opacity is not None else ""
    return f'<path d="{d}" fill="{fill}"{s}{o}/>'


# ---------------------------------------------------------------------------------------------
# Title bar and navigation icons (drawn by the scene at half their pixel size)

def gear(colour):
    teeth, r_out, r_in, cx, cy = 8, 13.2, 10.2, 16, 16
    pts = []
    for i in range(teeth):
        a = 2 * math.pi * i / teeth
        half = math.pi / teeth * 0.42
        for ang, r in ((a - half * 1.5, r_in), (a - half, r_out), (a + half, r_out),
                       (a + half * 1.5, r_in)):
            pts.append((cx + r * math.cos(ang), cy + r * math.sin(ang)))
    d = "M" + " L".join(f"{x:.2f} {y:.2f}" for x, y in pts) + " Z"
    hole = f"M{cx + 4.4} {cy} A4.4 4.4 0 1 0 {cx - 4.4} {cy} A4.4 4.4 0 1 0 {cx + 4.4} {cy} Z"
    return f'<path d="{d} {hole}" fill="{colour}" fill-rule="evenodd"/>'


def title_icons():
    for state, colour in (("default", IDLE), ("click", BRIGHT)):
        svg(f"icon_setting_{state}", 32, 32, gear(colour))
        svg(f"icon_minimize_{state}", 32, 32, line(6, 17, 26, 17, colour, 3.2))
        close_colour = colour if state == "default" else "#FF6B6F"
        svg(f"icon_close_{state}", 32, 32,
            line(8, 8, 24, 24, close_colour, 3.2) + line(24, 8, 8, 24, close_colour, 3.2))


def nav_icons():
    for state, colour in (("默认", IDLE), ("点击", BRIGHT)):
        # Hardware: the mixer seen from above, with two knobs and a fader.
        hw = (rect(1.5, 2.5, 29, 18, 3.5, "none", colour, 2.6) +
              circle(8.5, 11.5, 3.4, colour) + circle(17, 11.5, 3.4, colour) +
              line(24.5, 7, 24.5, 16, colour, 2.4) + rect(22, 11, 5, 3.2, 1, colour))
        svg(f"icon_硬件设置_{state}", 32, 23, hw)
        # Volume: a speaker with two sound waves.
        vol = (path("M2.5 11.5 H8.5 L15.5 5 V26 L8.5 19.5 H2.5 Z", fill=colour, stroke=colour,
                    sw=2) +
               path("M19.5 10.5 Q23 15.5 19.5 20.5", stroke=colour, sw=2.6) +
               path("M22.5 6.5 Q29 15.5 22.5 24.5", stroke=colour, sw=2.6))
        svg(f"icon_音量设置_{state}", 28, 31, vol)
        # Sound effect: a music note with a sparkle.
        fx = (path("M9 22.5 V6.5 L22 3.5 V19", stroke=colour, sw=2.6) +
              f'<ellipse cx="6" cy="22.5" rx="4.2" ry="3.4" fill="{colour}"/>' +
              f'<ellipse cx="19" cy="19.5" rx="4.2" ry="3.4" fill="{colour}"/>' +
              path("M26 8 L27.2 11.3 L30 12.5 L27.2 13.7 L26 17 L24.8 13.7 L22 12.5 "
                   "L24.8 11.3 Z", fill=colour))
        svg(f"icon_音效选择_{state}", 30, 28, fx)


# ---------------------------------------------------------------------------------------------
# Logo and application icon

LOGO_GRADIENT = ('<linearGradient id="brand" x1="0" y1="0" x2="0" y2="1">'
                 '<stop offset="0" stop-color="#B18CFF"/><stop offset="1" stop-color="#5E17CC"/>'
                 '</linearGradient>')


def microphone(cx, top, w, h, grille, stroke_w, colour_body, colour_line):
    """A studio microphone: capsule with grille lines, holder, stem and foot."""
    r = w / 2
    body = rect(cx - r, top, w, h, r, colour_body)
    lines = "".join(line(cx - r * 0.52, top + h * f, cx + r * 0.52, top + h * f, grille, stroke_w * 0.62)
                    for f in (0.30, 0.45, 0.60))
    holder_top = top + h * 0.55
    holder = path(f"M{cx - r - stroke_w * 1.3} {holder_top} "
                  f"V{top + h + stroke_w * 0.2} "
                  f"A{r + stroke_w * 1.3} {r + stroke_w * 1.3} 0 0 0 {cx + r + stroke_w * 1.3} "
                  f"{top + h + stroke_w * 0.2} V{holder_top}",
                  stroke=colour_line, sw=stroke_w)
    stem_top = top + h + r + stroke_w * 1.5
    stem = line(cx, stem_top, cx, stem_top + h * 0.28, colour_line, stroke_w)
    foot_y = stem_top + h * 0.28
    foot = line(cx - r * 1.0, foot_y, cx + r * 1.0, foot_y, colour_line, stroke_w)
    return body + lines + holder + stem + foot


def logos():
    # Title bar logo, 30 x 32, shown 15 x 16 on the dark title bar.
    svg("logo", 30, 32, microphone(15, 1.5, 12, 17, PANEL, 2.6, "url(#brand)", "#9E74FF"),
        LOGO_GRADIENT)
    # Application icon, 64 x 64 (also installed as the scalable icon); in grey for the tray while
    # no device is connected.
    for name, light, dark, body_fill in (("vorlet", "#8F5BFF", "#4A0FAA", "#6A2BE0"),
                                         ("vorlet_offline", "#9A9CA0", "#4C4F55", "#6E7176")):
        defs = ('<linearGradient id="tile" x1="0" y1="0" x2="1" y2="1">'
                f'<stop offset="0" stop-color="{light}"/><stop offset="1" stop-color="{dark}"/>'
                '</linearGradient>'
                '<linearGradient id="sheen" x1="0" y1="0" x2="0" y2="1">'
                '<stop offset="0" stop-color="#FFFFFF" stop-opacity="0.22"/>'
                '<stop offset="1" stop-color="#FFFFFF" stop-opacity="0"/></linearGradient>')
        body = (rect(3, 3, 58, 58, 14, "url(#tile)") +
                rect(3, 3, 58, 29, 14, "url(#sheen)") +
                rect(3.5, 3.5, 57, 57, 13.5, "none", "#FFFFFF", 1, opacity=0.18) +
                microphone(32, 10, 18, 25, body_fill, 3.6, "#FFFFFF", "#FFFFFF") +
                # sound waves on both sides
                path("M14.5 17 Q10 24.5 14.5 32", stroke="#FFFFFF", sw=2.8, opacity=0.75) +
                path("M49.5 17 Q54 24.5 49.5 32", stroke="#FFFFFF", sw=2.8, opacity=0.75))
        svg(name, 64, 64, body, defs)


# ---------------------------------------------------------------------------------------------
# Recording toggle, mute toggle and the recording window's buttons

def recording_toggle():
    # 42 x 24, shown 21 x 12: a record dot and the direction the panel moves.
    expand = (circle(10, 12, 7.5, RED) + circle(10, 12, 10, "none", RED, 1.6, opacity=0.45) +
              path("M25 8.5 L31.5 15 L38 8.5", stroke=LIGHT_GREY, sw=3.2))
    svg("Recording_expand", 42, 24, expand)
    collapse = (circle(10, 12, 7.5, RED) + circle(10, 12, 10, "none", "#FFFFFF", 1.6) +
                path("M25 15.5 L31.5 9 L38 15.5", stroke=BRIGHT, sw=3.2))
    svg("Recording_collapse", 42, 24, collapse)


def mute_toggle():
    speaker = "M2.5 9 H6.5 L11.5 4.5 V19.5 L6.5 15 H2.5 Z"
    on = (path(speaker, fill=LIGHT_GREY, stroke=LIGHT_GREY, sw=1.6) +
          path("M14.5 8.5 Q17 12 14.5 15.5", stroke=LIGHT_GREY, sw=2) +
          path("M17.5 5.5 Q22 12 17.5 18.5", stroke=LIGHT_GREY, sw=2))
    svg("mute_off", 24, 24, on)
    muted = (path(speaker, fill="#FF6B6F", stroke="#FF6B6F", sw=1.6) +
             line(15, 8.5, 22, 15.5, "#FF6B6F", 2.4) + line(22, 8.5, 15, 15.5, "#FF6B6F", 2.4))
    svg("Button_Mute_On", 24, 24, muted)


def record_buttons():
    defs = ('<linearGradient id="face" x1="0" y1="0" x2="0" y2="1">'
            '<stop offset="0" stop-color="#45484D"/><stop offset="1" stop-color="#2F3134"/>'
            '</linearGradient>')

    def button(glyph):
        return (circle(20, 20, 18.5, "url(#face)", "#5C5F65", 1.4) +
                circle(20, 20, 17, "none", "#000000", 0.8, opacity=0.25) + glyph)

    svg("Button_Recording_Off", 40, 40, button(circle(20, 20, 8, RED)), defs)
    svg("Button_Stop_On", 40, 40, button(rect(13.5, 13.5, 13, 13, 2.2, RED)), defs)
    svg("Button_Play_On", 40, 40, button(path("M16 12 L29 20 L16 28 Z", fill=BRIGHT,
                                              stroke=BRIGHT, sw=2)), defs)
    svg("Button_Pause_Off", 40, 40, button(rect(13.5, 12.5, 4.6, 15, 1.2, BRIGHT) +
                                           rect(21.9, 12.5, 4.6, 15, 1.2, BRIGHT)), defs)
    save = (path("M20 11 V23", stroke=BRIGHT, sw=2.8) +
            path("M15 18.5 L20 23.5 L25 18.5", stroke=BRIGHT, sw=2.8) +
            path("M12.5 24 V28 H27.5 V24", stroke=BRIGHT, sw=2.4))
    svg("Button_Save", 40, 40, button(save), defs)


# ---------------------------------------------------------------------------------------------
# Device pictures

PICTURE_DEFS = """<linearGradient id="card" gradientUnits="userSpaceOnUse" x1="0" y1="0" x2="0" y2="420">
<stop offset="0" stop-color="#2F3134"/><stop offset="1" stop-color="#222426"/></linearGradient>
<linearGradient id="top" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#4A4D53"/><stop offset="1" stop-color="#35373B"/></linearGradient>
<linearGradient id="lip" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#232427"/><stop offset="1" stop-color="#161719"/></linearGradient>
<radialGradient id="knob" cx="0.4" cy="0.35" r="0.75">
<stop offset="0" stop-color="#6C7077"/><stop offset="1" stop-color="#2E3034"/></radialGradient>
<radialGradient id="knobLit" cx="0.4" cy="0.35" r="0.75">
<stop offset="0" stop-color="#7E8189"/><stop offset="1" stop-color="#34363B"/></radialGradient>
<linearGradient id="pad" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#4C4F55"/><stop offset="1" stop-color="#3C3E43"/></linearGradient>
<linearGradient id="padLit" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#8E5CFF"/><stop offset="1" stop-color="#5E17CC"/></linearGradient>
<linearGradient id="cap" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#8A8D94"/><stop offset="1" stop-color="#5A5D63"/></linearGradient>
<linearGradient id="capLit" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#FFFFFF"/><stop offset="1" stop-color="#CFC3EE"/></linearGradient>
<radialGradient id="glow" cx="0.5" cy="0.5" r="0.5">
<stop offset="0" stop-color="#7B3FF2" stop-opacity="0.55"/>
<stop offset="1" stop-color="#7B3FF2" stop-opacity="0"/></radialGradient>
<linearGradient id="cable" x1="0" y1="1" x2="0" y2="0">
<stop offset="0" stop-color="#5F6268"/><stop offset="0.55" stop-color="#5F6268"/>
<stop offset="1" stop-color="#5F6268" stop-opacity="0"/></linearGradient>
<linearGradient id="cableLit" x1="0" y1="1" x2="0" y2="0">
<stop offset="0" stop-color="#A27CFF"/><stop offset="0.55" stop-color="#A27CFF"/>
<stop offset="1" stop-color="#A27CFF" stop-opacity="0"/></linearGradient>
<filter id="blur" x="-20%" y="-20%" width="140%" height="140%">
<feGaussianBlur stdDeviation="5"/></filter>
<filter id="shadow" x="-10%" y="-10%" width="120%" height="140%">
<feGaussianBlur stdDeviation="7"/></filter>"""


def knob(cx, cy, r, lit, value=0.7):
    # value arc from 7 o'clock clockwise, the way a level ring shows it
    start = math.radians(135)
    end = start + math.radians(270) * value
    rr = r + 4.5 if r > 20 else r + 3.5
    arc_w = 3.2 if r > 20 else 2.4

    def pt(a):
        return cx + rr * math.cos(a), cy + rr * math.sin(a)

    sx, sy = pt(start)
    ex, ey = pt(start + math.radians(270))
    vx, vy = pt(end)
    large = 1 if end - start > math.pi else 0
    track = path(f"M{sx:.2f} {sy:.2f} A{rr} {rr} 0 1 1 {ex:.2f} {ey:.2f}", stroke="#1C1D20",
                 sw=arc_w)
    level = path(f"M{sx:.2f} {sy:.2f} A{rr} {rr} 0 {large} 1 {vx:.2f} {vy:.2f}",
                 stroke=ACCENT_LIGHT if lit else "#6B6E74", sw=arc_w)
    ix, iy = cx + r * 0.72 * math.cos(end), cy + r * 0.72 * math.sin(end)
    jx, jy = cx + r * 0.25 * math.cos(end), cy + r * 0.25 * math.sin(end)
    return (track + level +
            circle(cx, cy + 2, r, "#000000", opacity=0.35) +
            circle(cx, cy, r, "url(#knobLit)" if lit else "url(#knob)", "#1C1D20", 1.5) +
            circle(cx, cy, r * 0.78, "none", "#FFFFFF", 0.8, opacity=0.10) +
            line(f"{jx:.2f}", f"{jy:.2f}", f"{ix:.2f}", f"{iy:.2f}",
                 BRIGHT if lit else "#C9CBD0", 2.6 if r > 20 else 2))


def pad(x, y, w, h, lit, r=4, led=False):
    out = rect(x, y + 2, w, h, r, "#000000", opacity=0.35)
    out += rect(x, y, w, h, r, "url(#padLit)" if lit else "url(#pad)",
                "#C2A6FF" if lit else "#5D6067", 1.2)
    if led:
        out += circle(x + w / 2, y + h * 0.32, 2.2, BRIGHT if lit else "#6B6E74")
    return out


def round_key(cx, cy, r, lit):
    return (circle(cx, cy + 1.6, r, "#000000", opacity=0.35) +
            circle(cx, cy, r, "url(#padLit)" if lit else "url(#pad)",
                   "#C2A6FF" if lit else "#5D6067", 1.2))


def fader(x, top, length, pos, lit):
    cap_y = top + length * pos
    out = rect(x - 3.5, top, 7, length, 3.5, "#161719", "#0E0F10", 1)
    if lit:
        out += rect(x - 2, cap_y, 4, top + length - cap_y, 2, ACCENT_LIGHT)
    out += "".join(line(x - 11, top + length * t, x - 7, top + length * t, "#6B6E74", 1.2)
                   for t in (0, 0.25, 0.5, 0.75, 1))
    out += rect(x - 11, cap_y - 7 + 2, 22, 14, 3, "#000000", opacity=0.4)
    out += rect(x - 11, cap_y - 7, 22, 14, 3, "url(#capLit)" if lit else "url(#cap)",
                "#2A2B2E", 1)
    out += line(x - 8, cap_y, x + 8, cap_y, ACCENT if lit else "#2A2B2E", 2, cap="butt")
    return out


def toggle(x, y, lit, on=True):
    """A small latching switch with its LED."""
    out = rect(x, y + 2, 30, 16, 8, "#000000", opacity=0.35)
    track = (ACCENT if lit else "#2C2E31") if on else "#1E1F22"
    out += rect(x, y, 30, 16, 8, track, "#C2A6FF" if lit else "#5D6067", 1.2)
    knob_x = x + (22 if on else 8)
    out += circle(knob_x, y + 8, 5.6, BRIGHT if lit else "#8A8D94")
    return out


def jack(cx, top, lit, kind):
    """A plug standing in a socket on the back edge, with its cable leaving upwards."""
    colour = "url(#cableLit)" if lit else "url(#cable)"
    body_colour = "#E9E2FA" if lit else "#6E7178"
    out = ""
    if kind == "usb":
        out += path(f"M{cx} {top - 20} C{cx} {top - 40} {cx + 18} {top - 38} {cx + 18} {top - 58}",
                    stroke=colour, sw=5)
        out += rect(cx - 7, top - 22, 14, 20, 3, body_colour, "#1C1D20", 1)
        out += rect(cx - 4.5, top - 3, 9, 5, 1, "#9A9DA3" if not lit else BRIGHT)
    else:
        out += path(f"M{cx} {top - 22} C{cx} {top - 42} {cx - 16} {top - 40} {cx - 16} {top - 58}",
                    stroke=colour, sw=4.2)
        out += rect(cx - 5.5, top - 24, 11, 18, 5.5 if kind == "jack" else 2, body_colour,
                    "#1C1D20", 1)
        out += rect(cx - 2.5, top - 7, 5, 7, 1, "#C9CBD0")
    return out


def highlight(x, y, w, h):
    """The glow and frame that mark the part of the device a page is about."""
    return (rect(x - 4, y - 4, w + 8, h + 8, 12, ACCENT_MID, opacity=0.35,
                 extra=' filter="url(#blur)"') +
            rect(x, y, w, h, 9, "#1E1F22", opacity=0.55) +
            rect(x, y, w, h, 9, ACCENT, opacity=0.16) +
            rect(x, y, w, h, 9, "none", ACCENT_LIGHT, 2))


def body(x, y, w, h, brand_x, brand_y):
    return (rect(x + 6, y + 20, w - 12, h, 18, "#000000", opacity=0.55,
                 extra=' filter="url(#shadow)"') +
            rect(x, y + 10, w, h, 16, "url(#lip)") +
            rect(x, y, w, h, 16, "url(#top)", "#5A5D63", 1.4) +
            rect(x + 1.5, y + 1.5, w - 3, 14, 14, "#FFFFFF", opacity=0.05) +
            text("VORLET", brand_x, brand_y, 10, "#8A8D94", "Bold", spacing=2.2))


def frame(height, model, caption):
    out = rect(0, 0, 420, height, 26, "url(#card)")
    out += rect(0.75, 0.75, 418.5, height - 1.5, 25.5, "none", "#4A4D52", 1.5)
    out += text(model.upper(), 210, 46, 21, LIGHT_GREY, "Bold", "middle", spacing=3.5)
    out += rect(192, 56, 36, 3, 1.5, ACCENT_LIGHT)
    caption_y = 386  # the same for the one picture that is two pixels taller
    out += text(caption, 210, caption_y, 34, BRIGHT, "Bold", "middle",
                spacing=4 if ord(caption[0]) > 0x2E80 else 0.5)
    return out


def device_vx01(page):
    """Cantor 10: a compact square unit, one big knob, four small ones, a row of switches."""
    hw, vol, fx = page == "Hardware", page == "Volume", page == "Effect"
    x, y, w, h = 95, 110, 230, 222
    out = ""
    # plugs on the back edge come first so the body covers their feet
    out += jack(140, y, hw, "usb") + jack(250, y, hw, "jack") + jack(282, y, hw, "jack")
    out += body(x, y, w, h, x + 16, y + h - 8)
    if hw:
        out += highlight(x + 10, y + 12, w - 20, 32)
    if vol:
        out += highlight(x + 10, y + 52, w - 20, 110)
    if fx:
        out += highlight(x + 10, y + 166, w - 20, 36)
    # switches: BT, loopback, denoise, vocal cut, dodge
    for i in range(5):
        out += toggle(x + 20 + i * 39.5, y + 20, hw, on=i in (0, 2, 4))
    # master knob and four smaller volume knobs
    out += knob(x + 64, y + 107, 36, vol, 0.62)
    for i, (dx, dy) in enumerate(((140, 82), (190, 82), (140, 134), (190, 134))):
        out += knob(x + dx, y + dy, 14, vol, (0.35, 0.8, 0.55, 0.25)[i])
    # effect row: three mode buttons, three reverb-size buttons
    for i in range(3):
        out += pad(x + 20 + i * 34, y + 174, 28, 20, fx and i == 1, led=True)
    for i in range(3):
        out += pad(x + 128 + i * 28, y + 177, 22, 14, fx and i == 1, r=3)
    return out


def device_vx02(page):
    """Stage 20: a wide console, five faders, a pad grid and the effect keys."""
    hw, vol, fx = page == "Hardware", page == "Volume", page == "Effect"
    x, y, w, h = 18, 106, 384, 224
    out = ""
    out += (jack(70, y, hw, "usb") + jack(118, y, hw, "xlr") + jack(150, y, hw, "jack") +
            jack(318, y, hw, "jack") + jack(350, y, hw, "jack"))
    out += body(x, y, w, h, x + 16, y + h - 8)
    if hw:
        out += highlight(x + 10, y + 12, 170, 32)
    if vol:
        out += highlight(x + 10, y + 52, 170, 154)
    if fx:
        out += highlight(x + 188, y + 12, 186, 194)
    # switches (loopback, direct, dodge) and the four-step denoise LEDs
    for i in range(3):
        out += toggle(x + 18 + i * 38, y + 20, hw, on=i != 1)
    for i in range(4):
        out += rect(x + 134 + i * 10, y + 24, 7, 8, 1.5,
                    (ACCENT_LIGHT if hw else "#8A8D94") if i <= 2 else "#1E1F22",
                    "#5D6067" if not hw else "#C2A6FF", 0.8)
    # five faders: monitor, recording, speaker, live, BGM
    for i, pos in enumerate((0.35, 0.55, 0.25, 0.45, 0.65)):
        out += fader(x + 32 + i * 32, y + 66, 122, pos, vol)
    # small level meter next to the faders
    for i in range(8):
        lit = vol and i >= 3
        out += rect(x + 172 - 4, y + 70 + i * 14, 4, 9, 1,
                    (ACCENT_LIGHT if i > 3 else "#E9E2FA") if lit else "#4C4F55")
    # effects: reverb row (5), voice-changer row (6), electro keys (2 x 6), BGM pads (3 x 3)
    ex = x + 196
    for i in range(5):
        out += pad(ex + i * 35, y + 20, 29, 17, fx and i == 2, r=3)
    for i in range(6):
        out += pad(ex + i * 29.2, y + 45, 24, 15, False, r=3)
    for row in range(2):
        for col in range(6):
            out += round_key(ex + 12 + col * 29.2, y + 80 + row * 24, 9.5, fx and (row, col) == (1, 4))
    for row in range(3):
        for col in range(3):
            out += pad(ex + 4 + col * 38, y + 118 + row * 29, 32, 23, fx and (row, col) in ((0, 0),),
                       r=4)
    out += knob(ex + 148, y + 160, 17, fx, 0.5)
    return out


def pictures():
    captions = {
        "": {"Hardware": "硬件设置", "Volume": "音量设置", "Effect": "音效选择"},
        "English": {"Hardware": "Hardware", "Volume": "Volume", "Effect": "Sound effects"},
    }
    models = {"vx01": ("Cantor 10", device_vx01), "vx02": ("Stage 20", device_vx02)}
    for dev, (model, draw) in models.items():
        for language, texts in captions.items():
            for page, caption in texts.items():
                height = 422 if (dev, language, page) == ("vx02", "", "Effect") else 420
                svg(f"{dev}{language}{page}", 420, height,
                    frame(height, model, caption) + draw(page), PICTURE_DEFS)


if __name__ == "__main__":
    title_icons()
    nav_icons()
    logos()
    recording_toggle()
    mute_toggle()
    record_buttons()
    pictures()
