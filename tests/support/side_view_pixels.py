"""What the side view's canvas shows, read in the browser: how many of its
pixels have each alert's colour (the legend is outside the canvas)."""

COUNT_COLOURS = """
    const canvas = document.getElementById('side-view');
    const colours = arguments[0];
    const pixels = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const wanted = colours.map((hex) => [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16)));
    const counts = colours.map(() => 0);
    for (let p = 0; p < pixels.length; p += 4) {
      wanted.forEach((rgb, n) => {
        if (Math.abs(pixels[p] - rgb[0]) <= 6 && Math.abs(pixels[p + 1] - rgb[1]) <= 6
            && Math.abs(pixels[p + 2] - rgb[2]) <= 6) counts[n] += 1;
      });
    }
    return counts;
"""


def alert_pixels(driver, alerts):
    """Pixels of each alert's colour, in the order of `alerts` ([{name, colour}])."""
    return driver.execute_script(COUNT_COLOURS, [a["colour"] for a in alerts])
