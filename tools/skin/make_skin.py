#!/usr/bin/env python3
"""Writes the editor's skin document, resources/xml/APP_SKINS.xml.

The skin repeats itself a great deal (36 buttons, 32 encoders, 36 faders, 16 pads, three
button-mode editors, five movement editors, a drop-down list in every combo box), so it is
written by this program rather than by hand. The committed document is this program's
output; a test runs it again and compares, so an edit by hand shows up at once.

    python3 tools/skin/make_skin.py > resources/xml/APP_SKINS.xml
    python3 tools/skin/make_skin.py --check resources/xml/APP_SKINS.xml   # exit 1 when stale
"""

import sys

# --- Palette (ARGB) --------------------------------------------------------------------

PALETTE = {
    "ink": "FF15171A", "bar": "FF1B1D21", "body": "FF24272C", "menu": "FF23262B",
    "well": "FF1C1E22", "panel": "FF1F2226", "panelHead": "FF1A1C20", "field": "FF101214",
    "fieldOff": "FF191B1E", "control": "FF2C3036", "controlHover": "FF363B42",
    "controlDown": "FF23262B", "tabHover": "FF272A30", "rowHover": "FF343940",
    "line": "FF353A41", "lineStrong": "FF4A5059", "text": "FFE6E8EB", "text2": "FF9AA0A8",
    "text3": "FF5F656E", "accent": "FFF0A030", "accentHover": "FFFFB84D",
    "accentDown": "FFC98420", "onAccent": "FF15171A", "accentTint": "29F0A030",
    "accentTint24": "3DF0A030", "selText": "66F0A030", "hoverPlate": "12FFFFFF",
    "hitPlate": "01FFFFFF", "padFace": "FF2A2E34", "padHover": "FF323740",
    "padDown": "FF22252A", "padSelected": "FF3A3326", "padEdge": "FF3A3F47",
    "keycap": "FF3A3F46", "keycapHover": "FF444A52", "keycapDown": "FF2A2E34",
    "capBody": "FF8E939A", "capHover": "FFB4B9C0", "lcd": "FF0C0E10",
}
BUTTON_COLORS = ["FF35D05A", "FF2FD4E8", "FF3D6BFF", "FFE040D8", "FFFF4040", "FFFFE040", "FFF2F2F2"]
PAD_COLORS = ["FF9BF03A", "FF35D05A", "FF4EF0C0", "FF2FD4E8", "FF3AA0FF", "FF3D6BFF", "FF9A5CFF",
              "FFE040D8", "FFFF4F8E", "FFFF4040", "FFFF8A2A", "FFFFE040", "FFF2F2F2"]

# The glyph sprite: 8 x 8 cells side by side.
GLYPHS = {"arrowDown": 0, "arrowUp": 8, "spinUp": 16, "spinDown": 24, "check": 32, "submenu": 40}

FONT = "Arial"
BOLD = 1
SMALL = "7.5"     # 10 px: captions, tabs, picture labels, read-outs
VALUE = "8.25"    # 11 px: values, status, tool tips


class Doc:
    def __init__(self):
        self.colorizers, self.parts, self.looks, self.lists = [], [], [], []
        self.part_names, self.look_names, self.list_names = set(), set(), set()

    # -- colours and parts ---------------------------------------------------------------

    def colorizer(self, name, argb):
        self.colorizers.append(f'<Colorizer Name="{name}" ColorType="SolidFill" Color="0x{argb}"/>')

    def part(self, name, colorizer=None, image=None, size=(1, 1), resize="Stretch"):
        if name in self.part_names:
            return name
        self.part_names.add(name)
        attrs = f'Name="{name}" Width="{size[0]}" Height="{size[1]}" ResizeType="{resize}"'
        if image:
            attrs += f' ImageFile="{image[0]}" ImageLocX="{image[1]}" ImageLocY="{image[2]}"'
        if colorizer:
            attrs += f' ColorizerName="{colorizer}"'
        self.parts.append(f"<Part {attrs}/>")
        return name

    def fill(self, role):
        """The colour part of a palette role (also the text colour of that role)."""
        return self.part("P." + role, "C." + role)

    def glyph(self, which, role):
        return self.part(f"G.{which}.{role}", "C." + role, ("glyphs.png", GLYPHS[which], 0), (8, 8))

    # -- looks ------------------------------------------------------------------------------

    def look(self, name, client=None, nonclient=(), text=None):
        """client: (part, left, top, right, bottom); nonclient: (part, {attr: value});
        text: (part, halign, valign, (left, top, right, bottom) insets)."""
        if name in self.look_names:
            return name
        self.look_names.add(name)
        lines = [f'<Look Name="{name}">']
        if client:
            p, l, t, r, b = client
            lines.append(f'  <ClientPart Name="{p}" OffsetLeft="{l}" OffsetTop="{t}" OffsetRight="{r}" '
                         f'OffsetBottom="{b}"/>')
        if nonclient:
            lines.append("  <NonClientParts>")
            for p, attrs in nonclient:
                a = " ".join(f'{k}="{v}"' for k, v in attrs.items())
                lines.append(f'    <NonClientPart Name="{p}" {a}/>')
            lines.append("  </NonClientParts>")
        if text:
            p, h, v, (il, it, ir, ib) = text
            lines.append(f'  <TextProperties TextLeftRel="0" TextLeftAbs="{il}" TextRightRel="1" '
                         f'TextRightAbs="{-ir}" TextHAlign="{h}" TextTopRel="0" TextTopAbs="{it}" '
                         f'TextBottomRel="1" TextBottomAbs="{-ib}" TextVAlign="{v}" '
                         f'TextForegroundPart="{p}"/>')
        lines.append("</Look>")
        self.looks.append("\n".join(lines))
        return name

    def look_list(self, name, looks):
        assert name not in self.list_names, name
        self.list_names.add(name)
        lines = [f'<LookList Name="{name}" NumLooks="{len(looks)}">']
        lines += [f'  <Look Name="{look}" Index="{i}"/>' for i, look in enumerate(looks)]
        lines.append("</LookList>")
        self.lists.append("\n".join(lines))
        return name


def frame(part, t=1, inset=0):
    """Four docked parts drawing a frame t pixels wide, inset from the edges."""
    i = inset
    return [
        (part, {"OffsetLeft": i, "OffsetTop": i, "OffsetRight": -i, "Height": t}),
        (part, {"OffsetLeft": i, "OffsetRight": -i, "OffsetBottom": -i, "Height": t}),
        (part, {"OffsetLeft": i, "OffsetTop": i + t, "OffsetBottom": -(i + t), "Width": t}),
        (part, {"OffsetRight": -i, "OffsetTop": i + t, "OffsetBottom": -(i + t), "Width": t}),
    ]


def whole(part):
    return (part, 0, 0, 0, 0)


def text(role, h=0, v=0.5, insets=(0, 0, 0, 0)):
    return ("P." + role, h, v, insets)


def define_looks(d):
    for role, argb in PALETTE.items():
        d.colorizer("C." + role, argb)
    for i, argb in enumerate(BUTTON_COLORS, 1):
        d.colorizer(f"C.buttonLed{i}", argb)
    for i, argb in enumerate(PAD_COLORS, 1):
        d.colorizer(f"C.padLed{i}", argb)
    for role in PALETTE:
        d.fill(role)

    # Containers: one look that draws nothing, so their children are drawn and hit.
    d.look_list("CE.Panel.Empty", [d.look("L.Empty")])
    d.look_list("CE.Panel.Window", [d.look("L.Window", whole(d.fill("ink")))])
    d.look_list("CE.Panel.Edit", [d.look("L.Panel.Edit", whole(d.fill("panel")), [
        (d.fill("panelHead"), {"OffsetLeft": 1, "OffsetTop": 1, "OffsetBottom": -1, "Width": 175}),
        (d.fill("line"), {"OffsetLeft": 176, "OffsetTop": 1, "OffsetBottom": -1, "Width": 1}),
    ] + frame(d.fill("line")))])
    d.look_list("CE.Panel.Dialog", [d.look("L.Panel.Dialog", whole(d.fill("panel")))])
    d.look_list("CE.Panel.Bar", [d.look("L.Panel.Bar", whole(d.fill("bar")), [
        (d.fill("line"), {"OffsetLeft": 0, "OffsetTop": 0, "OffsetRight": 0, "Height": 1})])])
    d.look_list("CE.Panel.MenuBar", [d.look("L.Panel.MenuBar", whole(d.fill("bar")), [
        (d.fill("line"), {"OffsetLeft": 0, "OffsetRight": 0, "OffsetBottom": 0, "Height": 1})])])
    d.look_list("CE.Panel.Display", [d.look("L.Panel.Display", whole(d.fill("lcd")), frame(d.fill("line")))])
    d.look_list("CE.Label.Rule", [d.look("L.Rule", whole(d.fill("line")))])

    # Labels: text only, so a click passes through to the control below.
    labels = {
        "Caption": text("text2", 0, 0.5), "Value": text("text", 0, 0.5), "Title": text("text", 0, 0.5),
        "Accent": text("accent", 0, 0.5), "Readout": text("text", 0.5, 0.5),
        "ReadoutDim": text("text2", 0.5, 0.5), "Hint": text("text3", 0.5, 0.5),
        "Status": text("text2", 0, 0.5), "StatusRight": text("text3", 1, 0.5),
        "Product": text("text", 0, 0.5), "Header": text("text", 0, 0.5), "Dialog": text("text2", 0, 0),
        "CaptionCentre": text("text2", 0.5, 0.5), "Zone": text("text", 0, 0.5),
    }
    for name, t in labels.items():
        d.look_list("CE.Label." + name, [d.look("L.Label." + name, text=t)])
    d.look_list("CE.Label.MidiTab", [d.look("L.Label.MidiTab", whole(d.fill("control")), [
        (d.fill("accent"), {"OffsetLeft": 0, "OffsetTop": 0, "OffsetBottom": 0, "Width": 3})],
        text("text", 0, 0.5, (16, 0, 8, 0)))])
    for name, image, size in [("DevicePicture", "device-picture.png", (1184, 468)),
                              ("ProductLogo", "logo-vantor.png", (368, 56)),
                              ("CompanyLogo", "logo-tarsil.png", (120, 28))]:
        d.part("I." + name, image=(image, 0, 0), size=size)
        d.look_list("CE.Label.Image." + name, [d.look("L.Image." + name, whole("I." + name))])

    # Colour indicators: look n shows colour n, look 0 nothing.
    for kind, colors in (("Button", BUTTON_COLORS), ("Pad", PAD_COLORS)):
        led = "buttonLed" if kind == "Button" else "padLed"
        looks = [d.look("L.Empty")]
        for i in range(1, len(colors) + 1):
            d.part(f"P.{led}{i}", f"C.{led}{i}")
            looks.append(d.look(f"L.{led}{i}", whole(f"P.{led}{i}")))
        d.look_list(f"CE.Indicator.{kind}", looks)

    define_button_looks(d)
    define_cell_looks(d)
    define_field_looks(d)
    define_menu_looks(d)


def button_scheme(d, name, states_off, states_on=None):
    """14 looks: 0 normal, 1 hover, 2 pressed, 3-5 the same focused, 6 disabled, 7-13 on.
    states_*: function (state, focused) -> (client, nonclient, text) for state 0 normal,
    1 hover, 2 pressed, 6 disabled."""
    states_on = states_on or states_off
    looks = []
    for on, states in ((False, states_off), (True, states_on)):
        for index in range(7):
            state = index if index < 3 else (index - 3 if index < 6 else 6)
            focused = 3 <= index < 6
            look_name = f"L.{name}.{'On' if on else 'Off'}{index}"
            client, nonclient, t = states(state, focused)
            looks.append(d.look(look_name, client, nonclient, t))
    return d.look_list(name, looks)


def define_button_looks(d):
    f = d.fill
    focus = frame(f("accent"))

    def push(state, focused):
        face = {0: "control", 1: "controlHover", 2: "controlDown", 6: "fieldOff"}[state]
        edge = focus if focused else frame(f("lineStrong"))
        return whole(f(face)), edge, text("text3" if state == 6 else "text", 0.5, 0.5, (12, 0, 12, 0))
    button_scheme(d, "CE.Button.Push", push)

    def primary(state, focused):
        if state == 6:
            return whole(f("control")), [], text("text3", 0.5, 0.5, (12, 0, 12, 0))
        face = {0: "accent", 1: "accentHover", 2: "accentDown"}[state]
        return whole(f(face)), frame(f("onAccent"), 1, 2) if focused else [], text("onAccent", 0.5, 0.5)
    button_scheme(d, "CE.Button.Primary", primary)

    # Bank buttons are 26 wide: no inset for their digit.
    def bank_off(state, focused):
        client, nonclient, _ = push(state, focused)
        return client, nonclient, text("text3" if state == 6 else "text", 0.5, 0.5)

    def bank_on(state, focused):
        return whole(f("accent")), focus if focused else [], text("onAccent", 0.5, 0.5)
    button_scheme(d, "CE.Button.Bank", bank_off, bank_on)

    # An unselected tab shows the panel through it, yet the pointer must find it there:
    # the hit plate is all but transparent.
    def tab_off(state, focused):
        face = f("tabHover") if state in (1, 2) else d.part("P.hitPlate", "C.hitPlate")
        nc = [(f("line"), {"OffsetLeft": 0, "OffsetRight": 0, "OffsetBottom": 0, "Height": 1})]
        role = "text3" if state == 6 else "text" if state in (1, 2) else "text2"
        return whole(face), nc + (focus if focused else []), text(role, 0.5, 0.5)

    def tab_on(state, focused):
        nc = [(f("accent"), {"OffsetLeft": 0, "OffsetRight": 0, "OffsetBottom": 0, "Height": 2})]
        return whole(f("control")), nc + (focus if focused else []), text("text", 0.5, 0.5)
    button_scheme(d, "CE.Button.Tab", tab_off, tab_on)

    def vtab_off(state, focused):
        face = f("tabHover") if state in (1, 2) else d.part("P.hitPlate", "C.hitPlate")
        role = "text3" if state == 6 else "text" if state in (1, 2) else "text2"
        return whole(face), focus if focused else [], text(role, 0, 0.5, (16, 0, 8, 0))

    def vtab_on(state, focused):
        nc = [(f("accent"), {"OffsetLeft": 0, "OffsetTop": 0, "OffsetBottom": 0, "Width": 3})]
        return whole(f("control")), nc + (focus if focused else []), text("text", 0, 0.5, (16, 0, 8, 0))
    button_scheme(d, "CE.Button.VTab", vtab_off, vtab_on)

    def toggle_off(state, focused):
        knob = [(f("text3" if state == 6 else "text2"),
                 {"OffsetLeft": 3, "OffsetTop": 3, "Width": 18, "Height": 20})]
        return whole(f("field")), frame(f("lineStrong")) + knob + (focus if focused else []), None

    def toggle_on(state, focused):
        knob = [(f("onAccent"), {"OffsetRight": -3, "OffsetTop": 3, "Width": 18, "Height": 20})]
        return whole(f("accent")), knob + (focus if focused else []), None
    button_scheme(d, "CE.Button.Toggle", toggle_off, toggle_on)

    def spin(direction):
        def states(state, focused):
            face = {0: "control", 1: "controlHover", 2: "accentDown", 6: "fieldOff"}[state]
            role = "text3" if state == 6 else "text" if state in (1, 2) else "text2"
            return whole(f(face)), [(d.glyph(direction, role), {})], None
        return states
    button_scheme(d, "CE.Button.SpinUp", spin("spinUp"))
    button_scheme(d, "CE.Button.SpinDown", spin("spinDown"))

    def thumb(state, focused):
        role = {0: "lineStrong", 1: "text3", 2: "accent", 6: "line"}[state]
        return (f(role), 2, 0, -2, 0), [], None
    button_scheme(d, "CE.ScrollBar.Thumb", thumb)
    d.look_list("CE.ScrollBar.Channel", [d.look("L.ScrollBar.Channel", whole(f("bar")))])


def define_cell_looks(d):
    """The picture's clickable cells: a plate that is hit everywhere, a mark when edited."""
    f = d.fill
    hit = d.part("P.hitPlate", "C.hitPlate")
    hover = d.part("P.hoverPlate", "C.hoverPlate")
    tint = d.part("P.accentTint", "C.accentTint")
    tint24 = d.part("P.accentTint24", "C.accentTint24")
    focus = frame(f("accent"))

    def plate(extra_off, extra_on):
        def off(state, focused):
            base = hover if state in (1, 2) else hit
            return whole(base), extra_off(state) + (focus if focused else []), None

        def on(state, focused):
            base = tint24 if state == 1 else tint
            inner = frame(f("text"), 1, 2) if focused else []
            return whole(base), extra_on(state) + frame(f("accent"), 2) + inner, None
        return off, on

    def lettered(states, role, insets):
        def with_letter(state, focused):
            client, nonclient, _ = states(state, focused)
            return client, nonclient, text(role, 0, 0.5, insets)
        return with_letter

    def knob(role):
        return d.part(f"I.KnobRing.{role}", "C." + role, ("knob-ring.png", 0, 0), (44, 44))
    ring = {"OffsetLeft": 9, "OffsetTop": 17}
    off, on = plate(lambda s: [(knob("accentDown" if s == 2 else "lineStrong"), dict(ring))],
                    lambda s: [(knob("accent"), dict(ring))])
    button_scheme(d, "CE.Cell.Encoder", off, on)

    cap = {"OffsetLeft": 16, "OffsetTop": 45, "Width": 30, "Height": 12}
    groove = {"OffsetLeft": 16, "OffsetTop": 50, "Width": 30, "Height": 2}
    off, on = plate(lambda s: [(f({1: "capHover", 2: "accentDown"}.get(s, "capBody")), dict(cap)),
                               (f("lineStrong"), dict(groove))],
                    lambda s: [(f("accent"), dict(cap)), (f("onAccent"), dict(groove))])
    button_scheme(d, "CE.Cell.Fader", off, on)

    keycap = {"OffsetLeft": 7, "OffsetTop": 18, "Width": 48, "Height": 20}
    off, on = plate(lambda s: [(f({1: "keycapHover", 2: "keycapDown"}.get(s, "keycap")), dict(keycap))],
                    lambda s: [(f("keycap"), dict(keycap))])
    button_scheme(d, "CE.Cell.Key", off, on)

    def face(kind):
        def off(state, focused):
            role = {1: "padHover", 2: "padDown"}.get(state, "padFace")
            return whole(f(role)), frame(f("padEdge")) + (focus if focused else []), None

        def on(state, focused):
            inner = frame(f("text"), 1, 2) if focused else []
            return whole(f("padSelected")), frame(f("accent"), 2) + inner, None
        button_scheme(d, kind, off, on)
    face("CE.Cell.Pad")
    face("CE.Cell.Zone")

    mark = {"OffsetLeft": 10, "OffsetTop": 68, "Width": 28, "Height": 3}
    off, on = plate(lambda s: [], lambda s: [(f("accent"), dict(mark))])
    button_scheme(d, "CE.Cell.Wheel", off, on)
    off, on = plate(lambda s: [], lambda s: [])
    button_scheme(d, "CE.Cell.Pedal", off, on)

    # The axis letter sits left of the glyph, in the glyph's colour, so it takes the accent
    # with the mark. The Y cell's glyph stands upright.
    def level(role):
        return [(f(role), {"OffsetLeft": 30, "OffsetTop": 11, "Width": 34, "Height": 2}),
                (f(role), {"OffsetLeft": 30, "OffsetTop": 7, "Width": 2, "Height": 10}),
                (f(role), {"OffsetLeft": 62, "OffsetTop": 7, "Width": 2, "Height": 10})]

    def upright(role):
        return [(f(role), {"OffsetLeft": 46, "OffsetTop": 6, "Width": 2, "Height": 14}),
                (f(role), {"OffsetLeft": 41, "OffsetTop": 4, "Width": 12, "Height": 2}),
                (f(role), {"OffsetLeft": 41, "OffsetTop": 20, "Width": 12, "Height": 2})]

    # The cells are 74 x 72: the letter's box is x 6-26, y 6-22.
    letter = (6, 6, 48, 50)
    for name, glyph in (("CE.Cell.Axis", level), ("CE.Cell.Axis.Upright", upright)):
        off, on = plate(lambda s, g=glyph: g("text2"), lambda s, g=glyph: g("accent"))
        button_scheme(d, name, lettered(off, "text2", letter), lettered(on, "accent", letter))


def define_field_looks(d):
    f = d.fill
    arrow = lambda role, which="arrowDown": (d.glyph(which, role), {"OffsetRight": -9})
    combo = [
        d.look("L.ComboBox.0", whole(f("field")), frame(f("line")) + [arrow("text2")],
               text("text", 0, 0.5, (8, 0, 24, 0))),
        d.look("L.ComboBox.1", whole(f("field")), frame(f("accent")) + [arrow("text2")],
               text("text", 0, 0.5, (8, 0, 24, 0))),
        d.look("L.ComboBox.2", whole(f("field")), frame(f("lineStrong")) + [arrow("text")],
               text("text", 0, 0.5, (8, 0, 24, 0))),
        d.look("L.ComboBox.3", whole(f("field")), frame(f("accent")) + [arrow("text")],
               text("text", 0, 0.5, (8, 0, 24, 0))),
        d.look("L.ComboBox.4", whole(f("field")), frame(f("accent")) + [arrow("accent", "arrowUp")],
               text("text", 0, 0.5, (8, 0, 24, 0))),
        "L.ComboBox.4",
        d.look("L.ComboBox.6", whole(f("fieldOff")), frame(f("line")) + [arrow("text3")],
               text("text3", 0, 0.5, (8, 0, 24, 0))),
    ]
    d.look_list("CE.ComboBox", combo)
    lb = d.look("L.ListBox", (f("menu"), 1, 1, -1, -1), frame(f("lineStrong")))
    d.look_list("CE.ListBox", [lb, lb, lb])

    def row(name, face, role):
        return d.look(name, whole(f(face)) if face else whole(d.part("P.hitPlate", "C.hitPlate")), [],
                      text(role, 0, 0.5, (8, 0, 8, 0)))
    item = [row("L.Row.Normal", None, "text"), row("L.Row.Hover", "rowHover", "text"),
            row("L.Row.Pressed", "controlDown", "text")]
    item = item + item + [row("L.Row.Disabled", None, "text3")]
    sel = [row("L.Row.Selected", "accent", "onAccent"), row("L.Row.SelectedHover", "accentHover", "onAccent"),
           row("L.Row.SelectedPressed", "accentDown", "onAccent")]
    item += sel + sel + [d.look("L.Row.Blank")]
    d.look_list("CE.ListBoxItem", item)

    def box(name, face, edge, role, sel=None):
        nc = frame(f(edge)) if edge else []
        if sel:
            # Across the whole field: the text box limits the look to the selected letters.
            nc = nc + [(d.part("P.selText", "C.selText"), {"OffsetLeft": 0, "OffsetTop": 5,
                                                            "OffsetRight": 0, "OffsetBottom": -5})]
        return d.look(name, whole(f(face)), nc, text(role, 0, 0.5, (8, 0, 8, 0)))
    tb = [box("L.TextBox.0", "field", "line", "text"), box("L.TextBox.1", "field", "lineStrong", "text"),
          "L.TextBox.0", box("L.TextBox.3", "field", "accent", "text"), "L.TextBox.3", "L.TextBox.3",
          box("L.TextBox.6", "fieldOff", "line", "text3"), "L.TextBox.3", "L.TextBox.3",
          box("L.TextBox.9", "field", "line", "text3")]
    tb += [box(f"L.TextBox.{i}", "field", "accent", "text", True) for i in range(10, 14)]
    d.look_list("CE.TextBox", tb)

    def display(name, focused):
        return d.look(name, whole(f("lcd")), frame(f("accent")) if focused else [],
                      text("accent", 0, 0.5, (10, 0, 10, 0)))
    plain, focused = display("L.Display.0", False), display("L.Display.1", True)
    d.look_list("CE.TextBox.Display", [plain, plain, plain, focused, focused, focused, plain]
                + [focused] * 7)


def define_menu_looks(d):
    f = d.fill
    d.look_list("CE.MainMenu", [d.look("L.MainMenu", (f("menu"), 1, 4, -1, -4), frame(f("lineStrong")))])
    mm = [
        # A look without any part lets a click through to the bar; the bar's own fill takes it
        # and looks the same.
        d.look("CE.MenuItem.Unselected.MainMenu", whole(f("bar")), [], text("text", 0.5, 0.5)),
        d.look("CE.MenuItem.SelectedHover.MainMenu", whole(f("rowHover")), [], text("text", 0.5, 0.5)),
        d.look("CE.MenuItem.SelectedPressed.MainMenu", whole(f("control")), [
            (f("accent"), {"OffsetLeft": 0, "OffsetRight": 0, "OffsetBottom": 0, "Height": 2})],
            text("text", 0.5, 0.5)),
        d.look("CE.MenuItem.UnselectedDisabled.MainMenu", text=text("text3", 0.5, 0.5)),
    ]
    d.look_list("CE.MainMenu.MenuItem", mm)

    bar = (f("accent"), {"OffsetLeft": 0, "OffsetTop": 0, "OffsetBottom": 0, "Width": 3})
    sub = (d.glyph("submenu", "text2"), {"OffsetRight": -10})
    row_text = lambda role: text(role, 0, 0.5, (28, 0, 12, 0))
    for selected in (False, True):
        for submenu in (False, True):
            for state in ("", "Hover", "Pressed"):
                name = ("CE.MenuItem.Selected" if selected else "CE.MenuItem.Unselected") + \
                       ("Submenu" if submenu else "") + state
                face = "rowHover" if selected or state == "Hover" else "controlDown" if state else None
                nc = ([bar] if selected else []) + ([sub] if submenu else [])
                # A row with no face of its own still answers the pointer: its hit plate.
                plate = whole(d.part("P.hitPlate", "C.hitPlate"))
                d.look(name, whole(f(face)) if face else plate, nc, row_text("text"))
            if not selected and submenu:
                d.look("CE.MenuItem.UnselectedDisabled", text=row_text("text3"))
    order = ["CE.MenuItem.Unselected", "CE.MenuItem.UnselectedHover", "CE.MenuItem.UnselectedPressed",
             "CE.MenuItem.UnselectedSubmenu", "CE.MenuItem.UnselectedSubmenuHover",
             "CE.MenuItem.UnselectedSubmenuPressed", "CE.MenuItem.UnselectedDisabled",
             "CE.MenuItem.Selected", "CE.MenuItem.SelectedHover", "CE.MenuItem.SelectedPressed",
             "CE.MenuItem.SelectedSubmenu", "CE.MenuItem.SelectedSubmenuHover",
             "CE.MenuItem.SelectedSubmenuPressed", "CE.MenuItem.Separator"]
    d.look("CE.MenuItem.Separator", None, [(f("line"), {"OffsetLeft": 8, "OffsetRight": -8, "Height": 1})])
    d.look_list("CE.MenuItem", order)
    d.look("CE.MenuItem.Check.Transparent")
    d.look("CE.MenuItem.Check.Unselect")
    d.look("CE.MenuItem.Check.Select", None, [(d.glyph("check", "text"), {})])
    d.look_list("CE.MenuItem.Check", ["CE.MenuItem.Check.Transparent"] * 7 + ["CE.MenuItem.Check.Unselect"]
                + ["CE.MenuItem.Check.Select"] * 2 + ["CE.MenuItem.Check.Transparent"] * 4)
    d.look_list("CE.Text.CenterRight", [d.look("L.Text.CenterRight", text=text("text2", 1, 0.5, (0, 0, 12, 0)))])
    d.look_list("ToolTip", [d.look("L.ToolTip", whole(f("control")), frame(f("lineStrong")),
                                   text("text", 0, 0.5, (6, 3, 6, 3)))])


# --- Controls ---------------------------------------------------------------------------

class C:
    """One SubControl: class, name, rectangle in its parent's client area, look list."""

    def __init__(self, cls, name, rect=None, looks=None, children=(), visible=True, order=None,
                 font=None, params=None, **attrs):
        self.cls, self.name, self.rect, self.looks = cls, name, rect, looks
        self.children = [c for c in children if c is not None]
        self.visible, self.order, self.font = visible, order, font
        self.params, self.attrs = params or {}, attrs

    def emit(self, out, depth):
        # One blank of indent per level and leaves on one line: the tree is deep and large.
        pad = " " * depth
        a = f'Class="{self.cls}" Name="{self.name}"'
        if self.rect:
            x, y, w, h = self.rect
            a += f' XPositionAbs="{x}" YPositionAbs="{y}" XSizeAbs="{w}" YSizeAbs="{h}"'
        if self.order is not None:
            a += f' LayoutOrder="{self.order}"'
        if not self.visible:
            a += ' IsVisible="False"'
        for k, v in self.attrs.items():
            a += f' {k}="{v}"'
        if self.font:
            size, style = self.font
            a += f' FontName="{FONT}" FontSize="{size}" FontStyle="{style}"'
        params = "".join(f'<CreateParam ID="{k}">{v}</CreateParam>' for k, v in self.params.items())
        params = f"<CreateParamList>{params}</CreateParamList>" if params else ""
        looks = f' LookList="{self.looks}"' if self.looks else ""
        if not self.children:
            skin = f'<Skin Name="{self.name}"{looks}/>' if self.looks else ""
            out.append(f"{pad}<SubControl {a}>{params}{skin}</SubControl>" if params or skin
                       else f"{pad}<SubControl {a}/>")
            return
        out.append(f'{pad}<SubControl {a}>{params}<Skin Name="{self.name}"{looks}>')
        for child in self.children:
            child.emit(out, depth + 1)
        out.append(f"{pad}</Skin></SubControl>")


PE = "PresetEditor."
CTL = PE + "Control."


def panel(cls, name, rect, children=(), looks="CE.Panel.Empty", **kw):
    return C(cls, name, rect, looks, children, **kw)


def label(name, rect, looks="CE.Label.Caption", font=(SMALL, BOLD), **kw):
    return C("Framework.Label", name, rect, looks, font=font, **kw)


def button(name, rect, looks="CE.Button.Push", font=(SMALL, BOLD), **kw):
    return C("Framework.Button", name, rect, looks, font=font, **kw)


def scroll_bar(name, rect, **kw):
    """A thin bar: its channel is the track and the thumb its only button."""
    x, y, w, h = rect
    thumb = button("thumb", (0, 0, w, 20) if w < h else (0, 0, 20, h), "CE.ScrollBar.Thumb", font=None)
    channel = panel("Framework.ScrollChannel", "channel", (0, 0, w, h), [thumb], "CE.ScrollBar.Channel")
    return panel("Framework.ScrollBar", name, rect, [channel], **kw)


def list_box(name, width, rows, cls="Framework.ListBox", item_cls="Framework.ListBoxItem",
             item_looks="CE.ListBoxItem", looks="CE.ListBox", **kw):
    height = rows * 22 + 2
    item = C(item_cls, "templateItem", (0, 0, width - 12, 22), item_looks, font=(VALUE, 0),
             params={"NOT_FOCUSABLE": "True"})
    # Shown: the list hides it (a zero-size placement) while every item fits its rows. It lies
    # beside the list's client area, which clips the list's children, so it draws unclipped.
    bar = scroll_bar("vBar", (width - 11, 1, 10, height - 2), ClipToParent="False")
    return panel(cls, name, (0, 26, width, height), [item, bar], looks, visible=False,
                 ClipToParent="False", Z_Order="1000", YMaxSizeAbs=height, **kw)


def combo(name, width, rect=None, rows=10):
    rect = rect or (0, 18, width, 26)
    return C("Framework.ComboBox", name, rect, "CE.ComboBox", [list_box("listBox", width, rows)],
             font=(VALUE, 0))


def numeric(name="numericUpDown", rect=(0, 18, 72, 26)):
    w, h = rect[2], rect[3]
    return C("Framework.NumericUpDown", name, rect, "CE.Panel.Empty", [
        C("Framework.TextBox", "textBox", (0, 0, w - 18, h), "CE.TextBox", font=(VALUE, 0)),
        button("buttonUp", (w - 18, 0, 18, h // 2), "CE.Button.SpinUp", font=None,
               params={"NOT_FOCUSABLE": "True"}),
        button("buttonDown", (w - 18, h // 2, 18, h - h // 2), "CE.Button.SpinDown", font=None,
               params={"NOT_FOCUSABLE": "True"}),
        C("Framework.Slider", "slider1", (0, 0, w, h), None, visible=False),
    ])


def field_rect(col, row_y, units=1):
    return (124 * col, row_y, 112 if units == 1 else 236, 44)


def caption(width, name="controlNameLabel"):
    return label(name, (0, 0, width, 14))


def labeled_combo(name, cls, col, row_y=0, units=1, order=None):
    r = field_rect(col, row_y, units)
    return panel(CTL + cls, name, r, [caption(r[2]), combo("comboBox", r[2])], order=order)


def labeled_number(name, cls, col, row_y=0, order=None):
    r = field_rect(col, row_y)
    return panel(CTL + cls, name, r, [caption(r[2]), numeric()], order=order)


def note_selector(cls="NoteSelector"):
    return panel(CTL + cls, "noteSelector", (0, 18, 236, 26), [
        numeric(rect=(0, 0, 72, 26)),
        label("noteNameLabel", (80, 0, 28, 26), "CE.Label.Value", (VALUE, 0)),
        label("octaveNameLabel", (108, 0, 40, 26), "CE.Label.Caption", (VALUE, 0)),
    ])


def labeled_note(name, cls, col, row_y=0, selector="NoteSelector"):
    return panel(CTL + cls, name, field_rect(col, row_y, 2), [caption(236), note_selector(selector)])


def labeled_cc(col, row_y=0):
    cc = panel(CTL + "CCSelector", "ccSelector", (0, 18, 236, 26), [
        numeric(rect=(0, 0, 72, 26)),
        label("label", (80, 0, 156, 26), "CE.Label.Value", (VALUE, 0)),
    ])
    return panel(CTL + "LabeledCCSelector", "cc", field_rect(col, row_y, 2), [caption(236), cc])


def pair(name, cls, col, row_y, first, second, gap_cols=1, units=1):
    """Two holders side by side inside one panel (minimum and maximum, MSB and LSB, ...)."""
    w = 112 if units == 1 else 236
    span = 124 * gap_cols + w
    return panel(CTL + cls, name, (124 * col, row_y, span, 44), [
        first((0, 0, w, 44)), second((124 * gap_cols, 0, w, 44))])


def holder_number(name, cls):
    return lambda r: panel(CTL + cls, name, r, [caption(r[2]), numeric()])


def holder_note(name, cls, selector):
    return lambda r: panel(CTL + cls, name, r, [caption(r[2]), note_selector(selector)])


def min_max(col, row_y=0):
    return pair("minMaxSelectors", "MinMaxSelectors", col, row_y,
                holder_number("min", "LabeledMinSelector"), holder_number("max", "LabeledMaxSelector"))


def msb_lsb(col, row_y=0):
    return pair("msbLSBSelectors", "MSBLSBSelectors", col, row_y,
                holder_number("msb", "LabeledMSBSelector"), holder_number("lsb", "LabeledLSBSelector"))


def channel(col=0, cls="LabeledMidiChannelSelector"):
    return labeled_combo("midiChannel", cls, col)


def tab_control(cls, holder_cls, page_holder_cls, tabs, pages, rect, holder_rect, pages_rect,
                tab_looks="CE.Button.Tab", tab_font=(SMALL, BOLD)):
    """tabs: (name, rect[, visible]) in button order; pages: the page controls, which the
    holder lists in the same order, so that a tab's position finds its own page."""
    buttons = [button(t[0], t[1], tab_looks, tab_font, visible=(t[2] if len(t) > 2 else True))
               for t in tabs]
    assert [t[0] for t in tabs] == [p.name for p in pages]
    return panel(cls, "tabControl", rect, [
        panel(holder_cls, "buttonHolder", holder_rect, buttons),
        panel(page_holder_cls, "pageHolder", pages_rect, pages),
    ])


CONTENT = (192, 12, 980, 186)
MODE_TABS_RECT = (0, 0, 980, 186)
MODE_BUTTONS = (0, 0, 980, 26)
MODE_PAGES = (0, 36, 980, 150)
PAGE = (0, 0, 980, 150)


def button_modes(name, rect):
    """The push-button, pad and sustain MIDI-mode editor: ten pages, one per mode."""
    pm = CTL + "PadModes.TabControl.PageHolder."
    bm = CTL + "ButtonModesControl.TabControl.PageHolder."
    pages = [
        panel(pm + "NotePage", "notePage", PAGE, [
            channel(), labeled_note("note", "LabeledNoteSelector", 1),
            panel(CTL + "LabeledLatchingSelector", "latching", field_rect(3, 0), [
                caption(112), button("button", (0, 18, 44, 26), "CE.Button.Toggle", None)]),
            pair("onOffSelectors", "OnOffSelectors", 4, 0, holder_number("on", "LabeledOnSelector"),
                 holder_number("off", "LabeledOffSelector"))]),
        panel(bm + "CCAbsolutePage", "ccAbsolutePage", PAGE, [
            channel(), labeled_cc(1),
            pair("pressedReleasedSelectors", "PressedReleasedSelectors", 3, 0,
                 holder_number("pressed", "LabeledPressedSelector"),
                 holder_number("released", "LabeledReleasedSelector"))]),
        panel(pm + "CCIncDecPage", "ccIncDecPage", PAGE, [
            channel(), labeled_combo("incDec", "LabeledINCDecTypeSelector", 1), labeled_cc(2), min_max(4)]),
        panel(pm + "CCCyclePage", "ccCyclePage", PAGE, [
            channel(), labeled_combo("cycleType", "LabeledCycleTypeSelector", 1), labeled_cc(2)]
            + [labeled_number(f"ccValue{i}", "LabeledCCValueSelector", 3 + i) for i in range(1, 5)]),
        panel(pm + "ProgramPage", "programPage", PAGE, [
            channel(), labeled_number("program", "LabeledProgramSelector", 1), msb_lsb(2)]),
        panel(pm + "ProgramIncDecPage", "programIncDecPage", PAGE, [
            channel(), labeled_combo("incDecType", "LabeledINCDecTypeSelector", 1), min_max(2)]),
        panel(pm + "ProgramCyclePage", "programCyclePage", PAGE, [
            channel(), labeled_combo("cycleType", "LabeledCycleTypeSelector", 1)]
            + [labeled_number(f"program{i}", "LabeledProgramSelector", 1 + i) for i in range(1, 5)]),
        panel(pm + "MMCPage", "mmcPage", PAGE, [
            channel(), labeled_combo("mmc", "LabeledMMCSelector", 1, units=2)]),
        panel(bm + "NrpnRpnPage", "nrpnRpnPage", PAGE, [
            channel(), labeled_combo("NrpnRpn", "LabeledNrpnRpnSelector", 1), msb_lsb(2),
            labeled_number("value", "LabeledCCValueSelector", 4)]),
        panel(bm + "OtherPage", "otherPage", PAGE, [
            channel(), labeled_combo("type", "LabeledOtherSelector", 1, units=2),
            labeled_number("value", "LabeledCCValueSelector", 3)]),
    ]
    tabs = [("notePage", (0, 0, 52, 26)), ("ccAbsolutePage", (56, 0, 100, 26)),
            ("ccIncDecPage", (160, 0, 86, 26)), ("ccCyclePage", (250, 0, 78, 26)),
            ("programPage", (332, 0, 78, 26)), ("programIncDecPage", (414, 0, 128, 26)),
            ("programCyclePage", (546, 0, 118, 26)), ("mmcPage", (668, 0, 48, 26)),
            ("nrpnRpnPage", (720, 0, 80, 26)), ("otherPage", (804, 0, 62, 26))]
    tc = tab_control(CTL + "ButtonModesControl.TabControl", CTL + "ButtonModesControl.TabControl.ButtonHolder",
                     CTL + "ButtonModesControl.TabControl.PageHolder", tabs, pages, MODE_TABS_RECT,
                     MODE_BUTTONS, MODE_PAGES)
    return panel(PE + "MainControl.EditPanel.ButtonTypePanel", name, rect, [tc])


def movement_modes(name, rect, wheel=False):
    """The encoder, fader, volume pedal, wheel and touch-pad axis MIDI editor."""
    mt = CTL + "MovementTypes.TabControl."
    pages = [
        panel(mt + "PageHolder.CCAbsolutePage", "ccAbsolutePage", PAGE, [channel(), labeled_cc(1), min_max(3)]),
        panel(mt + "PageHolder.CCRelativePage", "ccRelativePage", PAGE, [
            channel(), labeled_cc(1), labeled_combo("relativeType", "LabeledRelativeTypeSelector", 3)]),
        panel(mt + "PageHolder.NrpnRpnPage", "nrpnRpnPage", PAGE, [
            channel(), labeled_combo("NrpnRpnSelector", "LabeledNrpnRpnSelector", 1), msb_lsb(2)]),
        panel(mt + "PageHolder.OtherPage", "otherPage", PAGE, [
            channel(), labeled_combo("otherType", "LabeledOtherSelector", 1, units=2), min_max(3)]),
    ]
    if wheel:
        tabs = [("ccAbsolutePage", (0, 0, 100, 26)), ("ccRelativePage", (254, 0, 98, 26), False),
                ("nrpnRpnPage", (104, 0, 80, 26)), ("otherPage", (188, 0, 62, 26))]
    else:
        tabs = [("ccAbsolutePage", (0, 0, 100, 26)), ("ccRelativePage", (104, 0, 98, 26)),
                ("nrpnRpnPage", (206, 0, 80, 26)), ("otherPage", (290, 0, 62, 26))]
    tc = tab_control(mt[:-1], mt + "ButtonHolder", mt + "PageHolder", tabs, pages, MODE_TABS_RECT,
                     MODE_BUTTONS, MODE_PAGES)
    return panel(PE + "MainControl.EditPanel.MoveableTypePanel", name, rect, [tc])


EDIT_RECT = (8, 484, 1184, 210)


def title(name):
    return label(name, (16, 14, 152, 24), "CE.Label.Title", ("13.5", BOLD))


def bank_name():
    return label("bankName", (16, 40, 152, 16), "CE.Label.Accent", (VALUE, BOLD))


def midi_label():
    return label("midiLabel", (12, 64, 152, 28), "CE.Label.MidiTab", (SMALL, BOLD))


def outer_tabs(cls, tabs, pages):
    """The edit panel's vertical tabs on the left and their pages in the content area."""
    rects = [(t, (0, 32 * i, 152, 28)) for i, t in enumerate(tabs)]
    tc = tab_control(cls, cls + ".ButtonHolder", cls + ".PageHolder", rects, pages, (0, 0, 1184, 210),
                     (12, 64, 152, 92), CONTENT, "CE.Button.VTab")
    tc.name = "viewTabControl"
    return tc


def edit_panel(cls, name, order, children):
    return panel(PE + cls, name, EDIT_RECT, children, "CE.Panel.Edit", visible=False, order=order)


def color_selector(name, cls, col, order):
    r = field_rect(col, 36)
    return panel(CTL + cls, name, r, [caption(112, "colorNameLabel"), combo("comboBox", 112)], order=order)


def edit_panels():
    full = (0, 0, 980, 186)
    bep = PE + "MainPage.ButtonEditPanel"
    button_panel = edit_panel("MainPage.ButtonEditPanel", "buttonEditPanel", 33, [
        title("buttonName"), bank_name(),
        outer_tabs(bep + ".TabControl", ["midiPage", "colorPage", "asciiPage"], [
            button_modes("midiPage", full),
            panel(bep + ".ColorPage", "colorPage", full,
                  [color_selector("asciiColor", "LabeledButtonColorSelector", 4, 4)]
                  + [color_selector(f"color{i}", "LabeledButtonColorSelector", i - 1, i - 1)
                     for i in range(1, 5)]),
            panel(bep + ".AsciiPage", "asciiPage", full, [
                labeled_combo("key", "LabeledKeySelector", 0, 36),
                labeled_combo("modifierKey", "LabeledModifierKeySelector", 1, 36, units=2)]),
        ])])
    pep = PE + "MainPage.PadEditPanel"
    pad_panel = edit_panel("MainPage.PadEditPanel", "padEditPanel", 25, [
        title("padName"),
        outer_tabs(pep + ".TabControl", ["midiPage", "colorPage"], [
            button_modes("midiPage", full),
            panel(pep + ".ColorPage", "colorPage", full,
                  [color_selector(f"color{i}", "LabeledPadColorSelector", i - 1, i - 1)
                   for i in (2, 1, 3, 4)]),
        ])])
    xep = PE + "MainPage.XYPadEditPanel"
    notes = [labeled_combo("noteModeType", "LabeledNoteModeTypeSelector", 0, 36),
             labeled_combo("noteScaleType", "LabeledNoteScaleSelector", 1, 36, units=2)]
    notes += [labeled_note(f"note{k}", "LabeledNoteSelector", 2 * ((k - 1) % 4), 88 if k <= 4 else 140)
              for k in range(1, 9)]
    xy_panel = edit_panel("MainPage.XYPadEditPanel", "xyPadEditPanel", 28, [
        title("axisName"),
        outer_tabs(xep + ".TabControl", ["midiPage", "noteModePage"], [
            movement_modes("midiPage", full),
            panel(PE + "MainControl.EditPanel.XYPadNotes", "noteModePage", full, notes),
        ])])
    zx, zy = CONTENT[0], CONTENT[1]

    def at(control, dx=0, dy=0):
        x, y, w, h = control.rect
        control.rect = (x + zx + dx, y + zy + dy, w, h)
        return control
    zone_panel = edit_panel("MainPage.ZoneEditPanel", "zoneEditPanel", 32, [
        title("zoneName"), midi_label(),
        at(label("zoneOnOffLabel", (0, 0, 112, 14))),
        at(button("zoneEnabledToggleButton", (0, 18, 44, 26), "CE.Button.Toggle", None)),
        at(channel(1, "LabeledKeyZoneMidiChannelSelector")),
        at(labeled_number("program", "LabeledProgramSelector", 2)),
        at(msb_lsb(3)),
        at(pair("startEndNoteSelector", "KeyZoneStartEndNoteSelector", 0, 52,
                holder_note("startNote", "LabeledKeyZoneNoteSelector", "ZoneNoteSelector"),
                holder_note("endNote", "LabeledKeyZoneNoteSelector", "ZoneNoteSelector"), 2, 2)),
        at(labeled_number("octave", "LabeledOctaveSelector", 4, 52)),
        at(labeled_number("transpose", "LabeledTransposeSelector", 5, 52)),
    ])
    return [
        pad_panel,
        edit_panel("MainPage.KnobEditPanel", "knobEditPanel", 26, [
            title("knobName"), bank_name(), midi_label(), movement_modes("moveableTypePanel", CONTENT)]),
        edit_panel("MainPage.FaderEditPanel", "faderEditPanel", 27, [
            title("faderName"), bank_name(), midi_label(), movement_modes("moveableTypePanel", CONTENT)]),
        xy_panel,
        edit_panel("MainPage.VolumeEditPanel", "volumePedalEditPanel", 29, [
            title("controlNameLabel"), midi_label(), movement_modes("moveableTypePanel", CONTENT)]),
        edit_panel("TabControl.PageHolder.WheelsPage.Wheel", "wheelEditPanel", 30, [
            title("wheelName"), midi_label(), movement_modes("moveableTypePanel", CONTENT, wheel=True)]),
        edit_panel("MainPage.SustainEditPanel", "sustainEditPage", 31, [
            title("sustainName"), midi_label(), button_modes("buttonTypePanel", CONTENT)]),
        zone_panel,
        button_panel,
    ]


# --- The keyboard picture -----------------------------------------------------------------

MC = PE + "MainControl."


def read_out(kind, rect):
    """A cell's read-out: the message over its channel, both centred, never hit."""
    x, y, w, h = rect
    channel_view = panel(MC + "MIDIChannelView", "midiChannel", (0, 24, w, 12), [
        label("label", (0, 0, w, 12), "CE.Label.ReadoutDim", (SMALL, 0))])
    return panel(MC + kind + ".ViewPanel", "viewPanel", rect, [
        label("infoLabel", (0, 0, w, 24), "CE.Label.Readout", (SMALL, BOLD)), channel_view])


def cell_button(rect, looks):
    # The view panel's button is a plain mark the group sets: no value of its own on a click.
    return button("button", rect, looks, None)


def encoder(k, bank_visible):
    return panel(MC + "EncoderView.Encoder", f"encoder{k}", (62 * (k - 1), 0, 62, 98), [
        cell_button((0, 0, 62, 98), "CE.Cell.Encoder"),
        label("encoderNameLabel", (0, 2, 62, 14), "CE.Label.CaptionCentre"),
        read_out("MoveableType", (5, 62, 52, 36))])


def fader(k):
    return panel(MC + "FaderView.Fader", f"fader{k}", (62 * (k - 1), 0, 62, 122), [
        cell_button((0, 0, 62, 122), "CE.Cell.Fader"),
        label("faderNumberLabel", (0, 2, 62, 14), "CE.Label.CaptionCentre"),
        read_out("MoveableType", (5, 86, 52, 36))])


def push_button(k):
    return panel(MC + "ButtonView.Button", f"button{k}", (62 * (k - 1), 0, 62, 76), [
        # The LED stands before the button, seen through its plate.
        panel(MC + "ButtonView.Button.ColorIndicator", "color", (37, 6, 20, 6), looks="CE.Indicator.Button",
              order=0),
        C("Framework.Button", "button", (0, 0, 62, 76), "CE.Cell.Key", order=1),
        label("buttonNumberLabel", (5, 2, 28, 14), order=2),
        panel(MC + "PushButtonType.ViewPanel", "viewPanel", (5, 40, 52, 36), read_out(
            "PushButtonType", (5, 40, 52, 36)).children, order=3)])


def pad(k):
    return panel(MC + "PadView.Pad", f"pad{k}", (88 * ((k - 1) % 4), 79 * ((k - 1) // 4), 82, 74), [
        cell_button((0, 0, 82, 74), "CE.Cell.Pad"),
        panel(MC + "PadView.Pad.ColorIndicator", "color", (8, 5, 66, 4), looks="CE.Indicator.Pad"),
        label("padNumberLabel", (6, 11, 30, 14)),
        read_out("PushButtonType", (15, 32, 52, 36))])


def banks(group_cls, bank_cls, prefix, cells, count, size):
    return [panel(bank_cls, f"{prefix}{n}", (0, 0) + size, [cells(k) for k in range(1, count + 1)],
                  visible=(n == 1)) for n in range(1, 5)]


def zone(k):
    return panel(MC + "KeybedZones.Zone", f"zone{k}", (229 * (k - 1), 0, 225, 32), [
        cell_button((0, 0, 225, 32), "CE.Cell.Zone"),
        label("zoneName", (8, 0, 52, 32), "CE.Label.Zone", (SMALL, BOLD)),
        panel(MC + "MIDIChannelView", "midiChannel", (60, 0, 38, 32), [
            label("label", (0, 0, 38, 32), "CE.Label.Caption", (SMALL, 0))]),
        label("infoLabel", (98, 0, 123, 32), "CE.Label.Value", (SMALL, 0))])


def device_view():
    enc = banks(MC + "EncoderView", MC + "EncoderView.EncoderBank", "encoderBank",
                lambda k: encoder(k, True), 8, (496, 98))
    fad = banks(MC + "FaderView", MC + "FaderView.FaderBank", "faderBank", fader, 9, (558, 122))
    btn = banks(MC + "ButtonView", MC + "ButtonView.ButtonBank", "buttonBank", push_button, 9, (558, 76))
    bank_buttons = [button(f"bank{n}", ((4, 32)[(n - 1) % 2], (20, 58)[(n - 1) // 2], 26, 34),
                           "CE.Button.Bank", ("9", BOLD)) for n in range(1, 5)]
    # The axis button draws its panel's letter (the panel's own look has no text area).
    axis = lambda name, y, looks: panel(MC + "XYPadView.Axis", name, (158, y, 74, 72), [
        button("button", (0, 0, 74, 72), looks), read_out("MoveableType", (11, 28, 52, 36))])
    pedal = lambda cls, name, x, kind: panel(MC + "Pedals." + cls, name, (x, 0, 114, 88), [
        cell_button((0, 0, 114, 88), "CE.Cell.Pedal"), read_out(kind, (52, 32, 56, 36))])
    wheel = lambda name, x: panel(MC + "WheelView.Wheel", name, (x, 0, 114, 128), [
        cell_button((0, 0, 114, 128), "CE.Cell.Wheel"), read_out("MoveableType", (52, 46, 56, 36))])
    preset = panel(MC + "DeviceView.PresetNameEditPanel", "presetNameEditPanel", (20, 18, 232, 58), [
        label("controlNameLabel", (10, 6, 150, 12)),
        C("Framework.TextBox", "textBox", (10, 20, 132, 32), "CE.TextBox.Display", font=("15", BOLD)),
    ], "CE.Panel.Display", order=34)
    children = [
        label("devicePicture", (8, 8, 1184, 468), "CE.Label.Image.DevicePicture", None, order=0),
        label("editAreaHint", EDIT_RECT, "CE.Label.Hint", (VALUE, 0), order=1),
    ] + edit_panels() + [
        preset,
        panel(MC + "PadView", "pads", (834, 18, 346, 311), [pad(k) for k in range(1, 17)], order=35),
        panel(MC + "EncoderView", "encoders", (264, 18, 496, 98), enc, order=36),
        panel(MC + "FaderView", "faders", (264, 124, 558, 122), fad, order=37),
        panel(MC + "WheelView", "wheels", (20, 338, 232, 128),
              [wheel("pitchWheel", 0), wheel("modWheel", 118)], order=38),
        panel(MC + "Pedals", "pedals", (20, 242, 232, 88), [
            pedal("SustainPedal", "sustainPedal", 0, "PushButtonType"),
            pedal("VolumePedal", "volumePedal", 118, "MoveableType")], order=39),
        panel(MC + "KeybedZones", "keybedZones", (264, 338, 916, 32), [zone(k) for k in range(1, 5)],
              order=40),
        panel(MC + "ButtonView", "buttons", (264, 254, 558, 76), btn, order=41),
        panel(MC + "DeviceView.GroupBanks", "groupBankPanel", (760, 18, 62, 98), bank_buttons, order=42),
        panel(MC + "XYPadView", "xyPad", (20, 84, 232, 150), [axis("xAxis", 0, "CE.Cell.Axis"),
                                                               axis("yAxis", 78, "CE.Cell.Axis.Upright")], order=46),
    ]
    return panel(MC + "DeviceView", "viewDevice", (0, 24, 1200, 702), children)


def popup_menu(name, rect, visible=False, **kw):
    item = C("Framework.MenuItem", "templateItem", (0, 0, 278, 24), "CE.MenuItem", [
        label("hotKeyLabel", (120, 0, 158, 24), "CE.Text.CenterRight", (VALUE, 0)),
        button("checkBox", (8, 8, 8, 8), "CE.MenuItem.Check", None, params={"AUTO_VALUE_SET": "True"}),
    ], font=("9", 0), params={"NOT_FOCUSABLE": "True"})
    return panel("Framework.PopupMenu", name, rect, [
        scroll_bar("hBar", (0, 0, 10, 10), visible=False),
        scroll_bar("vBar", (0, 0, 10, 10), visible=False),
        panel("Framework.Panel", "corner", (0, 0, 10, 10), visible=False),
        item], "CE.MainMenu", visible=visible, ClipToParent="False", Z_Order="1000", **kw)


def main_control():
    menu = panel("Framework.MainMenu", "mainMenu", (0, 0, 1200, 24), [
        C("Framework.ComboMenu", "templateMenu", (8, 0, 56, 24), "CE.MainMenu.MenuItem", [
            popup_menu("popupMenu", (0, 0, 280, 0), XPositionToControl="Parent", XPositionRel="0",
                       YPositionToControl="Parent", YPositionRel="1"),
        ], font=("9", 0)),
    ], "CE.Panel.MenuBar")
    status = panel("Framework.Panel", "viewStatus", (0, 726, 1200, 24), [
        label("statusText", (12, 0, 700, 24), "CE.Label.Status", (VALUE, 0)),
        label("statusProduct", (888, 0, 300, 24), "CE.Label.StatusRight", (VALUE, BOLD)),
    ], "CE.Panel.Bar")
    return panel(MC[:-1], "mainControl", (0, 0, 1200, 750), [menu, device_view(), status], "CE.Panel.Window",
                 XMinSizeAbs="1200", YMinSizeAbs="750", XMaxSizeAbs="1200", YMaxSizeAbs="750")


# --- Dialogs, tool tip and context menu ----------------------------------------------------------

def centred(rect):
    return dict(XPositionToControl="Active Window", XPositionRel="0.5", XPlacementAnchor="0.5",
                YPositionToControl="Active Window", YPositionRel="0.5", YPlacementAnchor="0.5")


def preset_dialog(cls, name, action):
    w = 400
    slot = panel(CTL + "PresetSlotCombobox", "presetSlot", (16, 88, 168, 44), [
        label("label", (0, 0, 168, 14)),
        C("Framework.ComboBox", "comboBox", (0, 18, 168, 26), "CE.ComboBox",
          [list_box("listBox", 168, 4)], font=(VALUE, 0))])
    return panel(PE + cls, name, (0, 0, w, 150), [
        label("header", (16, 14, 368, 20), "CE.Label.Header", ("10.5", BOLD)),
        label("rule", (16, 44, 368, 1), "CE.Label.Rule", None),
        label("hint", (16, 52, 368, 28), "CE.Label.Dialog", (VALUE, 0), TextOverflowXType="Wrap"),
        slot,
        button("buttonClose", (196, 104, 88, 28)),
        button(action, (296, 104, 88, 28), "CE.Button.Primary"),
    ], "CE.Panel.Dialog", **centred(None))


def global_dialog():
    def holder(name, cls, col, row, number):
        x, y = 16 + 132 * col, 60 + 60 * row
        inner = numeric() if number else combo("comboBox", 120)
        return panel(cls, name, (x, y, 120, 44), [label("label", (0, 0, 120, 14)), inner])
    g = CTL + "Global.Labeled"
    rows = [
        holder("midiChannel", g + "GlobalChannel", 0, 0, False),
        holder("mackieHUIToggle", g + "MackieHUIToggle", 1, 0, False),
        holder("controlCurve", g + "ControlCurve", 2, 0, False),
        holder("xyPadSensitivity", g + "xyPadSensitivity", 3, 0, False),
        holder("keyOctave", g + "KeyOctave", 0, 1, True),
        holder("keyTranspose", g + "KeyTranspose", 1, 1, True),
        holder("keySensitivity", g + "KeySensitivity", 2, 1, False),
        holder("padOctave", g + "PadOctave", 0, 2, True),
        holder("padTranspose", g + "PadTranspose", 1, 2, True),
        holder("padSensitivity", g + "PadSensitivity", 2, 2, False),
        holder("program", CTL + "LabeledProgramSelector", 0, 3, True),
        holder("msb", CTL + "LabeledMSBSelector", 1, 3, True),
        holder("lsb", CTL + "LabeledLSBSelector", 2, 3, True),
    ]
    return panel(PE + "GlobalEditorControl", "globalEditorControl", (0, 0, 552, 344), [
        label("header", (16, 14, 520, 20), "CE.Label.Header", ("10.5", BOLD)),
        label("rule", (16, 44, 520, 1), "CE.Label.Rule", None),
    ] + rows + [
        label("footerRule", (16, 298, 520, 1), "CE.Label.Rule", None),
        button("getGlobalSettingsButton", (16, 306, 112, 28)),
        button("sendGlobalSettingsButton", (136, 306, 112, 28), "CE.Button.Primary"),
        button("buttonClose", (448, 306, 88, 28)),
    ], "CE.Panel.Dialog", **centred(None))


def about_dialog():
    return panel(PE + "DialogAbout", "dialogAbout", (0, 0, 400, 220), [
        label("productLogo", (16, 16, 368, 56), "CE.Label.Image.ProductLogo", None),
        label("labelProduct", (16, 86, 368, 18), "CE.Label.Product", ("9", 0)),
        label("labelCopyright", (16, 106, 368, 16), "CE.Label.Caption", (VALUE, 0)),
        label("TarsilLogo", (16, 176, 120, 28), "CE.Label.Image.CompanyLogo", None),
        button("buttonOK", (296, 176, 88, 28), "CE.Button.Primary"),
    ], "CE.Panel.Dialog", **centred(None))


def tool_tip():
    return C("Framework.ToolTip", "toolTip", (0, 0, 0, 0), "ToolTip", font=(VALUE, 0), Z_Order="9999",
             ClipToParent="False", TextOverflowXType="Expand", TextOverflowYType="Expand")


def document():
    d = Doc()
    define_looks(d)
    top = [main_control(),
           preset_dialog("Dialog.SendPresetToHardware", "dialogSendPreset", "send"),
           preset_dialog("Dialog.RetrievePresetFromHardware", "dialogRetrievePresetFromHardware", "getButton"),
           global_dialog(), about_dialog(), tool_tip(),
           popup_menu("contextMenu", (0, 0, 280, 0))]
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           "<!-- Written by tools/skin/make_skin.py; edit that program, not this file. -->",
           "<Tarsil_Skin_Definitions>", '<Application Name="PresetEditor">']

    def section(name, items):
        out.append(f"<{name}>")
        for item in items:
            out.extend("  " + line for line in item.split("\n"))
        out.append(f"</{name}>")
    section("Colorizers", d.colorizers)
    section("Parts", d.parts)
    section("Looks", d.looks)
    section("LookLists", d.lists)
    out.append("<Skins>")
    out.append(f'  <Skin Name="Default" FontName="{FONT}" FontSize="{VALUE}" FontStyle="0">')
    for control in top:
        control.emit(out, 1)
    out.append("  </Skin>")
    out.append("</Skins>")
    out.append("</Application>")
    out.append("</Tarsil_Skin_Definitions>")
    return "\n".join(out) + "\n"


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--check":
        with open(sys.argv[2], encoding="utf-8") as committed:
            if committed.read() != document():
                sys.exit(f"{sys.argv[2]} is not what {sys.argv[0]} writes: run it again and commit its output")
    else:
        sys.stdout.write(document())
