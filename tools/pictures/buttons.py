"""The progress window's 16 x 16 buttons (close cross, minimise bar) and the 20 x 20 progress bar
sprite."""

from canvas import Canvas
from shapes import capsule, rounded_rect, union

GREY = (125, 134, 143)
ORANGE = (247, 149, 21)
TRACK = (61, 70, 77)
FILL = (248, 148, 0)

# The whole button square carries this nearly invisible alpha (1 of 255): pixels of alpha 0 let
# the mouse through to the main window, so without it a click between the arms of the cross
# would start a window drag instead of pressing the button.
_BACKDROP_ALPHA = 1.0 / 255.0


def _button(glyph, colour):
    canvas = Canvas(16, 16)
    canvas.fill(lambda x, y: -1.0, colour, opacity=_BACKDROP_ALPHA)
    canvas.fill(glyph, colour)
    return canvas


def close_button(colour):
    cross = union(capsule(4.5, 4.5, 11.5, 11.5, 1.0), capsule(11.5, 4.5, 4.5, 11.5, 1.0))
    return _button(cross, colour)


def minimise_button(colour):
    # Rows 7 and 8 exactly, so the bar stays crisp; the rounded ends are anti-aliased.
    return _button(rounded_rect(4.0, 7.0, 12.0, 9.0, 1.0), colour)


def progress_sprite():
    """Rows 0-9 the track, rows 10-19 the fill: pills with round ends of radius 5, so that
    columns 5-14 are the same in every column and stretch without seams."""
    canvas = Canvas(20, 20)
    canvas.fill(rounded_rect(0.0, 0.0, 20.0, 10.0, 5.0), TRACK)
    canvas.fill(rounded_rect(0.0, 10.0, 20.0, 20.0, 5.0), FILL)
    return canvas
