// The side view of a flight with an aircraft, the same on the report and
// the live page, drawn from the data of host/report/side_view.h: the
// terrain profile filled, the glide path (dashed, when the flight set one),
// the runway threshold, the aircraft's trail coloured by the alert the GPWS
// gave there and the aircraft now (the trail's last point). Distance to the
// threshold across (nm, the runway at the right), altitude up (ft).
//
//   SideView.draw(canvas, data)                  the whole trail, the runway in view
//   SideView.draw(canvas, data, {from, to})      frames from..to only, scaled to them
//   SideView.legend(element, data)               the trail's colours, named
//   SideView.follow(canvas, data, timeline, fps) drawn again as the timeline zooms
//
// draw() says what it drew on the canvas's data-points (trail points) and
// data-now ("nm,ft" of the aircraft now).
(function () {
  'use strict';
  const PALETTE = {
    sky: '#16202b', ground: '#6b5a45', groundLine: '#b09a7c', glidePath: '#e9ecef',
    runway: '#ced4da', text: '#adb5bd', grid: 'rgba(173,181,189,0.18)',
  };
  const MARGIN = {left: 58, right: 14, top: 12, bottom: 34};
  const LEAST_SPAN_FT = 200;  // the least height a view spans

  // A round step giving about `count` ticks over `span`.
  function tickStep(span, count) {
    const raw = span / Math.max(count, 1);
    const power = Math.pow(10, Math.floor(Math.log10(raw)));
    for (const m of [1, 2, 2.5, 5, 10]) if (raw <= m * power) return m * power;
    return 10 * power;
  }

  // The ground's elevation at a distance: linear between the profile's
  // points, held at its ends.
  function elevation(profile, d) {
    if (!profile.length) return 0;
    if (d <= profile[0][0]) return profile[0][1];
    for (let i = 1; i < profile.length; ++i) {
      const [d1, e1] = profile[i];
      if (d <= d1) {
        const [d0, e0] = profile[i - 1];
        return e0 + (e1 - e0) * (d - d0) / (d1 - d0);
      }
    }
    return profile[profile.length - 1][1];
  }

  // What the view spans: the points shown, and the threshold too unless a
  // window of the flight is asked for.
  function extent(data, points, windowed) {
    let near = Infinity, far = -Infinity, low = Infinity, high = -Infinity;
    for (const p of points) {
      near = Math.min(near, p[1]);
      far = Math.max(far, p[1]);
      low = Math.min(low, p[2]);
      high = Math.max(high, p[2]);
    }
    if (!points.length) { near = 0; far = 1; low = 0; high = LEAST_SPAN_FT; }
    if (!windowed) { near = Math.min(near, 0); far = Math.max(far, 0.5); }
    const pad = Math.max((far - near) * 0.04, 0.02);
    // Room for the runway beyond the threshold.
    near -= windowed ? pad : 2 * pad;
    far += pad;
    // The ground in view counts as much as the aircraft.
    const ground = [near, far].concat(data.profile.map((p) => p[0])
        .filter((d) => d > near && d < far)).map((d) => elevation(data.profile, d));
    low = Math.min(low, ...ground);
    high = Math.max(high, ...ground);
    if (high - low < LEAST_SPAN_FT) high = low + LEAST_SPAN_FT;
    const room = (high - low) * 0.08;
    return {near, far, low: low - room, high: high + room};
  }

  function draw(canvas, data, options) {
    const g = canvas.getContext('2d');
    const width = canvas.width;
    const height = canvas.height;
    g.clearRect(0, 0, width, height);
    g.fillStyle = PALETTE.sky;
    g.fillRect(0, 0, width, height);
    if (!data) {
      canvas.dataset.points = '0';
      canvas.dataset.now = '';
      return {points: 0, now: null};
    }
    const windowed = options && options.from !== undefined;
    const points = windowed
        ? data.trail.filter((p) => p[0] >= options.from && p[0] <= options.to) : data.trail;
    const view = extent(data, points, windowed);
    const area = {x: MARGIN.left, y: MARGIN.top, w: width - MARGIN.left - MARGIN.right,
                  h: height - MARGIN.top - MARGIN.bottom};
    const x = (d) => area.x + (view.far - d) / (view.far - view.near) * area.w;
    const y = (ft) => area.y + (view.high - ft) / (view.high - view.low) * area.h;

    axes(g, view, area, x, y);
    g.save();
    g.beginPath();
    g.rect(area.x, area.y, area.w, area.h);
    g.clip();
    terrain(g, data.profile, view, area, x, y);
    threshold(g, data, view, x, y);
    if (data.glide_path) {
      const path = data.glide_path;
      const from = Math.max(view.near, 0);
      g.strokeStyle = PALETTE.glidePath;
      g.lineWidth = 1.2;
      g.setLineDash([7, 5]);
      g.beginPath();
      g.moveTo(x(from), y(path.threshold_elevation_ft + path.feet_per_nm * from));
      g.lineTo(x(view.far), y(path.threshold_elevation_ft + path.feet_per_nm * view.far));
      g.stroke();
      g.setLineDash([]);
    }
    trail(g, data, points, x, y);
    let now = null;
    if (points.length) {
      const last = points[points.length - 1];
      now = [last[1], last[2]];
      g.fillStyle = '#ffffff';
      g.strokeStyle = '#000000';
      g.lineWidth = 1.5;
      g.beginPath();
      g.arc(x(last[1]), y(last[2]), 4.5, 0, 2 * Math.PI);
      g.fill();
      g.stroke();
    }
    g.restore();
    canvas.dataset.points = String(points.length);
    canvas.dataset.now = now ? now[0] + ',' + now[1] : '';
    return {points: points.length, now};
  }

  function axes(g, view, area, x, y) {
    g.font = '11px sans-serif';
    g.fillStyle = PALETTE.text;
    g.strokeStyle = PALETTE.grid;
    g.lineWidth = 1;
    const across = tickStep(view.far - view.near, area.w / 90);
    g.textAlign = 'center';
    g.textBaseline = 'top';
    for (let d = Math.ceil(view.near / across) * across; d <= view.far; d += across) {
      g.beginPath();
      g.moveTo(x(d), area.y);
      g.lineTo(x(d), area.y + area.h);
      g.stroke();
      g.fillText(String(Math.round(d / across * 1000) * across / 1000), x(d), area.y + area.h + 3);
    }
    const up = tickStep(view.high - view.low, area.h / 40);
    g.textAlign = 'right';
    g.textBaseline = 'middle';
    for (let ft = Math.ceil(view.low / up) * up; ft <= view.high; ft += up) {
      g.beginPath();
      g.moveTo(area.x, y(ft));
      g.lineTo(area.x + area.w, y(ft));
      g.stroke();
      g.fillText(String(Math.round(ft)), area.x - 4, y(ft));
    }
    g.textAlign = 'center';
    g.textBaseline = 'bottom';
    g.fillText('distance to threshold, nm', area.x + area.w / 2, area.y + area.h + 32);
    g.save();
    g.translate(12, area.y + area.h / 2);
    g.rotate(-Math.PI / 2);
    g.textBaseline = 'middle';
    g.fillText('altitude, ft', 0, 0);
    g.restore();
  }

  function terrain(g, profile, view, area, x, y) {
    const ds = [view.near].concat(profile.map((p) => p[0])
        .filter((d) => d > view.near && d < view.far), [view.far]);
    g.beginPath();
    g.moveTo(x(view.near), area.y + area.h);
    for (const d of ds) g.lineTo(x(d), y(elevation(profile, d)));
    g.lineTo(x(view.far), area.y + area.h);
    g.closePath();
    g.fillStyle = PALETTE.ground;
    g.fill();
    g.beginPath();
    ds.forEach((d, i) => (i ? g.lineTo : g.moveTo).call(g, x(d), y(elevation(profile, d))));
    g.strokeStyle = PALETTE.groundLine;
    g.lineWidth = 1.5;
    g.stroke();
  }

  // The threshold: a mark across the ground and the runway beyond it.
  function threshold(g, data, view, x, y) {
    if (view.near > 0 || view.far < 0) return;
    const ground = y(elevation(data.profile, 0));
    g.strokeStyle = PALETTE.runway;
    g.lineWidth = 4;
    g.beginPath();
    g.moveTo(x(0), ground);
    g.lineTo(x(0) + 40, ground);
    g.stroke();
    g.lineWidth = 1;
    g.setLineDash([2, 3]);
    g.beginPath();
    g.moveTo(x(0), ground);
    g.lineTo(x(0), ground - 30);
    g.stroke();
    g.setLineDash([]);
    g.fillStyle = PALETTE.runway;
    g.font = '11px sans-serif';
    g.textAlign = 'right';
    g.textBaseline = 'bottom';
    g.fillText('threshold', x(0) - 3, ground - 20);
  }

  // Each stretch of one alert as one line in its colour; a stretch begins
  // at the point before its first.
  function trail(g, data, points, x, y) {
    g.lineWidth = 2.5;
    g.lineJoin = 'round';
    let i = 1;
    if (points.length === 1) {
      g.fillStyle = data.alerts[points[0][3]].colour;
      g.fillRect(x(points[0][1]) - 1.5, y(points[0][2]) - 1.5, 3, 3);
    }
    while (i < points.length) {
      const alert = points[i][3];
      g.strokeStyle = (data.alerts[alert] || data.alerts[0]).colour;
      g.beginPath();
      g.moveTo(x(points[i - 1][1]), y(points[i - 1][2]));
      while (i < points.length && points[i][3] === alert) {
        g.lineTo(x(points[i][1]), y(points[i][2]));
        ++i;
      }
      g.stroke();
    }
  }

  function legend(element, data) {
    if (!data) { element.replaceChildren(); return; }
    const names = data.alerts.map((a) => a.name).join('|');
    if (element.dataset.alerts === names) return;
    element.dataset.alerts = names;
    const item = (colour, text, line) => {
      const span = document.createElement('span');
      span.className = 'side-view-key';
      // On the canvas's own sky, so it reads on a light page as on a dark one.
      const chip = document.createElement('b');
      chip.style.cssText = 'display:inline-block;padding:5px 3px;margin-right:4px;'
          + `vertical-align:middle;line-height:0;background:${PALETTE.sky}`;
      const swatch = document.createElement('b');
      swatch.style.cssText = `display:inline-block;width:18px;border-top:${line} ${colour}`;
      chip.append(swatch);
      span.append(chip, document.createTextNode(text));
      span.style.marginRight = '14px';
      return span;
    };
    element.replaceChildren(
        ...data.alerts.map((a, n) => {
          const span = item(a.colour, a.name, '3px solid');
          span.dataset.alert = String(n);
          return span;
        }),
        item(PALETTE.glidePath, 'glide path', '2px dashed'),
        item(PALETTE.groundLine, 'ground', '6px solid'));
  }

  // The report: the trail of the time the timeline shows, the whole flight
  // (with the runway) when it shows all of it.
  function follow(canvas, data, timeline, fps) {
    const last = data.trail.length ? data.trail[data.trail.length - 1][0] : 0;
    const first = data.trail.length ? data.trail[0][0] : 0;
    const redraw = function (plot) {
      const [from, to] = plot.xAxisRange();
      const whole = from * fps <= first + 0.5 && to * fps >= last - 0.5;
      draw(canvas, data, whole ? undefined : {from: from * fps, to: to * fps});
    };
    if (timeline) timeline.updateOptions({drawCallback: redraw});
    else draw(canvas, data);
  }

  window.SideView = {draw, legend, follow, elevation};
})();
