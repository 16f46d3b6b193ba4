// The report's timeline, drawn by dygraphs from timelineData (see
// host/report/timeline_chart.h): the series against flight time, a marker
// line for each voice, key event and lamp change, labelled where there is
// room, lamps with their element's picture; hovering shows the values and
// the events of that moment. The plot is window.timeline.
(function () {
  'use strict';
  const data = timelineData;
  const plot = document.getElementById('timeline');
  const readout = document.getElementById('timeline-readout');
  const colours = {voice: '#c92a2a', 'sound failed': '#e67700', key: '#6741d9', lamp: '#5c636a'};
  // The series come with their labels, colours and axes, in the rows' order.
  const seriesColours = data.series.map(function (s) { return s.colour; });
  const lanes = 8;
  const laneHeight = 18;
  const longestLabel = 44;

  const rows = data.rows.map(function (r) {
    const row = r.slice();
    row[0] = r[0] / data.fps;
    return row;
  });
  const end = rows.length ? rows[rows.length - 1][0] : 1;

  // One marker per frame and kind, of the kinds seen or heard on the panel
  // (named-variable writes are in the table only).
  const marks = [];
  for (const [frame, kind, what, picture] of data.events) {
    if (!data.on_panel.includes(kind)) continue;
    const last = marks[marks.length - 1];
    if (last && last.frame === frame && last.kind === kind) {
      last.items.push({what: what, picture: picture});
    } else {
      marks.push({frame: frame, time: frame / data.fps, kind: kind,
                  items: [{what: what, picture: picture}]});
    }
  }

  // The element pictures, decoded once; the plot is drawn again when one arrives.
  const images = {};
  function image(index) {
    if (index === null || typeof reportPictures === 'undefined') return null;
    if (!images[index]) {
      const img = new Image();
      img.onload = function () { if (window.timeline) window.timeline.updateOptions({}); };
      img.src = 'data:image/png;base64,' + reportPictures[index];
      images[index] = img;
    }
    return images[index].complete && images[index].naturalWidth ? images[index] : null;
  }

  function labelOf(mark) {
    let text = mark.items.map(function (i) { return i.what; }).join(', ');
    if (text.length > longestLabel) text = text.slice(0, longestLabel - 3) + '...';
    return text;
  }

  // Every marker in view as a line; a label in the highest lane it fits in,
  // none where no lane has room (hover still names it).
  function drawMarks(ctx, area, g) {
    const [from, to] = g.xAxisRange();
    const laneEnd = new Array(lanes).fill(-Infinity);
    ctx.save();
    ctx.font = '11px monospace';
    ctx.textBaseline = 'middle';
    for (const mark of marks) {
      if (mark.time < from || mark.time > to) continue;
      const x = g.toDomXCoord(mark.time);
      ctx.strokeStyle = colours[mark.kind] || '#868e96';
      ctx.globalAlpha = 0.6;
      ctx.beginPath();
      ctx.moveTo(x, area.y);
      ctx.lineTo(x, area.y + area.h);
      ctx.stroke();
      ctx.globalAlpha = 1;
      const pictures = mark.items.map(function (i) { return image(i.picture); })
          .filter(function (i) { return i; }).slice(0, 3);
      const text = labelOf(mark);
      let width = ctx.measureText(text).width + 4;
      for (const p of pictures) width += p.naturalWidth * (14 / p.naturalHeight) + 2;
      const lane = laneEnd.findIndex(function (e) { return e + 4 < x; });
      if (lane < 0) continue;
      laneEnd[lane] = x + 3 + width;
      const y = area.y + 2 + lane * laneHeight;
      ctx.fillStyle = 'rgba(255,255,255,0.85)';
      ctx.fillRect(x + 1, y, width + 2, laneHeight - 2);
      let at = x + 3;
      for (const p of pictures) {
        const w = p.naturalWidth * (14 / p.naturalHeight);
        ctx.drawImage(p, at, y + 1, w, 14);
        at += w + 2;
      }
      ctx.fillStyle = colours[mark.kind] || '#343a40';
      ctx.fillText(text, at, y + laneHeight / 2);
    }
    ctx.restore();
  }

  function escape(text) {
    return String(text).replace(/[&<>"]/g, function (c) {
      return {'&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;'}[c];
    });
  }

  // The markers within a few pixels of time x.
  function marksNear(g, x) {
    const [from, to] = g.xAxisRange();
    const slack = Math.max((to - from) * 6 / Math.max(plot.clientWidth, 1), 0.5 / data.fps);
    return marks.filter(function (m) { return Math.abs(m.time - x) <= slack; });
  }

  function legend(d) {
    if (d.x === undefined || d.x === null) {
      return 'Hover over the plot for the values and events of a moment.';
    }
    let html = '<b>' + d.x.toFixed(2) + ' s</b>';
    for (const s of d.series) {
      if (s.y === undefined || s.y === null || isNaN(s.y)) continue;
      html += ' &nbsp;<span style="color:' + s.color + '">' + escape(s.label) + ' <b>' +
              s.yHTML + '</b></span>';
    }
    for (const mark of marksNear(g, d.x)) {
      html += '<br><span style="color:' + (colours[mark.kind] || '#343a40') + '">' +
              mark.time.toFixed(2) + ' s ' + escape(mark.kind) + ':</span> ';
      html += mark.items.map(function (i) {
        const pic = i.picture === null ? '' :
            '<img class="element" alt="" src="data:image/png;base64,' + reportPictures[i.picture] + '">';
        return pic + escape(i.what);
      }).join(', ');
    }
    return html;
  }

  const series = {};
  for (const s of data.series) {
    series[s.label] = s.axis === 'y2' ? {axis: 'y2'} : {};
    if (s.dashed) series[s.label].strokePattern = [6, 4];
  }
  const g = new Dygraph(plot, rows, {
    labels: data.labels,
    colors: seriesColours,
    series: series,
    xlabel: data.axes.x,
    ylabel: data.axes.y,
    y2label: data.axes.y2,
    axes: {y: {independentTicks: true}, y2: {independentTicks: true}},
    strokeWidth: 1.5,
    height: 460,
    showRangeSelector: true,
    // Drag zooms, shift-drag pans (with the range selector shown, dygraphs
    // would otherwise pan on a plain drag).
    interactionModel: Dygraph.defaultInteractionModel,
    rangeSelectorHeight: 40,
    labelsDiv: readout,
    legend: 'always',
    legendFormatter: legend,
    underlayCallback: drawMarks,
    dateWindow: [0, Math.max(end, 1 / data.fps)],
  });
  window.timeline = g;

  // The buttons: zoom about the middle of what is shown, pan by half of it.
  function show(from, to) {
    const span = Math.min(Math.max(to - from, 2 / data.fps), end);
    const start = Math.min(Math.max(from, 0), Math.max(end - span, 0));
    g.updateOptions({dateWindow: [start, start + span]});
  }
  function around(factor) {
    const [from, to] = g.xAxisRange();
    const mid = (from + to) / 2;
    show(mid - (to - from) * factor / 2, mid + (to - from) * factor / 2);
  }
  function pan(share) {
    const [from, to] = g.xAxisRange();
    show(from + (to - from) * share, to + (to - from) * share);
  }
  document.getElementById('zoom-in').onclick = function () { around(0.5); };
  document.getElementById('zoom-out').onclick = function () { around(2); };
  document.getElementById('pan-left').onclick = function () { pan(-0.5); };
  document.getElementById('pan-right').onclick = function () { pan(0.5); };
  document.getElementById('zoom-all').onclick = function () { show(0, end); };
})();
