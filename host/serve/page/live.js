// The live panel's page: shows the host's picture of the panel, sends
// clicks, variables and flight controls, and follows the session's state
// by long polling /api/state. Everything it needs comes from gaugehost.
'use strict';

const $ = (id) => document.getElementById(id);
const panel = $('panel');
const panelContext = panel.getContext('2d');
const plot = $('plot');
const CURSORS = { 1: 'n-resize', 2: 's-resize', 5: 'pointer' };
const PLOT_SECONDS = 60;

let layout = { gauges: [] };
let session = 0;
let picture = 0;
let pictureLoading = false;
let version = 0;
let after = 0;
let held = null;
let samples = [];
const voices = {};  // playing Audio by the library's handle
let played = 0;

function say(text) {
  $('message').textContent = text;
}

async function post(path, params) {
  const answer = await fetch(path, { method: 'POST', body: new URLSearchParams(params || {}) });
  const text = (await answer.text()).trim();
  if (!answer.ok) say(text);
  return answer.ok ? text : null;
}

async function loadLayout() {
  layout = await (await fetch('/api/panel')).json();
  panel.width = layout.width;
  panel.height = layout.height;
  $('title').textContent = layout.title;
  picture = 0;
  samples = [];
}

async function loadVariables() {
  const variables = await (await fetch('/api/variables')).json();
  const box = $('variables');
  for (const v of variables) {
    const row = document.createElement('div');
    row.className = 'var';
    const label = document.createElement('label');
    label.textContent = v.name;
    label.title = v.what;
    row.append(label);
    const send = (value) => post('/api/set', { name: v.name, value: String(value) });
    if (v.switch) {
      const toggle = document.createElement('input');
      toggle.type = 'checkbox';
      toggle.dataset.var = v.name;
      toggle.addEventListener('change', () => send(toggle.checked ? 1 : 0));
      row.append(toggle, document.createElement('span'));
    } else {
      const slider = document.createElement('input');
      slider.type = 'range';
      slider.min = v.low;
      slider.max = v.high;
      slider.step = 'any';
      slider.dataset.var = v.name;
      const number = document.createElement('input');
      number.type = 'number';
      number.min = v.low;
      number.max = v.high;
      number.step = 'any';
      number.dataset.number = v.name;
      slider.addEventListener('input', () => {
        number.value = Number(slider.value).toFixed(1);
        send(slider.value);
      });
      number.addEventListener('change', () => send(number.value));
      row.append(slider, number);
    }
    box.append(row);
  }
}

function showVariables(vars) {
  for (const [name, value] of Object.entries(vars)) {
    const control = document.querySelector(`[data-var="${name}"]`);
    if (control && control.type === 'checkbox') control.checked = value !== 0;
    else if (control && document.activeElement !== control) control.value = value;
    const number = document.querySelector(`[data-number="${name}"]`);
    if (number && document.activeElement !== number) number.value = Math.round(value * 10) / 10;
  }
}

function loadPicture(n) {
  if (pictureLoading) return;
  pictureLoading = true;
  const image = new Image();
  image.onload = () => {
    panelContext.drawImage(image, 0, 0);
    picture = n;
    pictureLoading = false;
  };
  image.onerror = () => { pictureLoading = false; };
  image.src = `/api/panel.png?n=${n}`;
}

function playVoice(e) {
  if (e.kind === 'stop') {
    if (voices[e.handle]) voices[e.handle].pause();
    delete voices[e.handle];
    return;
  }
  if ($('mute').checked) return;
  if (voices[e.handle]) voices[e.handle].pause();
  const audio = new Audio(`/api/sound?path=${encodeURIComponent(e.sound)}`);
  audio.loop = e.loop;
  voices[e.handle] = audio;
  audio.play().then(() => {
    played += 1;
    $('played').textContent = played;
    $('played').dataset.count = played;
    $('last-voice').textContent = e.sound;
  }).catch((error) => say(`cannot play ${e.sound}: ${error.message}`));
}

function showEvents(events) {
  const list = $('events');
  for (const e of events) {
    after = Math.max(after, e.n);
    if (e.sound !== undefined) playVoice(e);
    if (e.kind === 'stop') continue;
    if (e.kind === 'note') say(e.what);
    const item = document.createElement('li');
    item.dataset.kind = e.kind;
    item.textContent = e.entry;
    list.prepend(item);
    while (list.children.length > 300) list.lastChild.remove();
  }
}

// The legend: the series the host plots, in their colours.
function showLegend(series) {
  const legend = $('legend');
  const names = series.map((s) => s.label).join('|');
  if (legend.dataset.series === names) return;
  legend.dataset.series = names;
  legend.replaceChildren(...series.map((s) => {
    const item = document.createElement('span');
    item.textContent = s.label;
    item.style.color = s.colour;
    item.dataset.series = s.key;
    return item;
  }));
}

// The last minute of every series: those of the left axis share a scale
// from 0 (200 at least), the right one's is ±4000 about the middle.
function drawPlot(series) {
  const g = plot.getContext('2d');
  g.clearRect(0, 0, plot.width, plot.height);
  if (samples.length < 2) return;
  const end = samples[samples.length - 1].t;
  const x = (t) => plot.width - (end - t) / PLOT_SECONDS * plot.width;
  const valuesOf = (axis) => series.filter((s) => s.axis === axis)
      .flatMap((s) => samples.map((p) => p.values[s.key]))
      .filter((v) => v !== null && v !== undefined && !Number.isNaN(v));
  const leftTop = Math.max(200, ...valuesOf('y'));
  const rightTop = 4000;
  for (const one of series) {
    const right = one.axis === 'y2';
    g.strokeStyle = one.colour;
    g.setLineDash(one.dashed ? [6, 4] : []);
    g.beginPath();
    let drawing = false;
    for (const s of samples) {
      const v = s.values[one.key];
      if (v === null || v === undefined || Number.isNaN(v)) { drawing = false; continue; }
      const share = right ? (v + rightTop) / (2 * rightTop) : v / leftTop;
      const y = plot.height - 4 - Math.max(0, Math.min(1, share)) * (plot.height - 8);
      if (drawing) g.lineTo(x(s.t), y); else g.moveTo(x(s.t), y);
      drawing = true;
    }
    g.stroke();
  }
}

function showState(s) {
  $('time').textContent = s.time_s.toFixed(1);
  $('frame').textContent = s.frame;
  $('status').textContent = s.ended ? 'ended' : s.paused ? 'paused'
      : s.playing ? `playing ${s.title}` : 'flying by hand';
  $('pause').textContent = s.paused ? 'Resume' : 'Pause';
  $('pause').dataset.paused = s.paused;
  $('takeover').disabled = !s.playing;
  showVariables(s.vars);
  if (s.picture !== picture) loadPicture(s.picture);
  if (samples.length && s.time_s < samples[samples.length - 1].t) samples = [];
  const values = {};
  for (const one of s.series) values[one.key] = one.value;
  samples.push({ t: s.time_s, values });
  while (samples.length && samples[0].t < s.time_s - PLOT_SECONDS) samples.shift();
  showLegend(s.series);
  drawPlot(s.series);
  showEvents(s.events);
  document.dispatchEvent(new CustomEvent('livestate', { detail: s }));
}

async function follow() {
  for (;;) {
    try {
      const answer = await fetch(`/api/state?version=${version}&after=${after}`);
      if (!answer.ok) throw new Error(await answer.text());
      const s = await answer.json();
      version = s.version;
      if (s.session !== session) {
        session = s.session;
        await loadLayout();
      }
      showState(s);
    } catch (error) {
      say(`lost the host: ${error.message}`);
      await new Promise((done) => setTimeout(done, 1000));
    }
  }
}

// The panel picture's pixel under the pointer.
function pixel(event) {
  const box = panel.getBoundingClientRect();
  return {
    x: Math.floor((event.clientX - box.left) * panel.width / box.width),
    y: Math.floor((event.clientY - box.top) * panel.height / box.height),
  };
}

function areaAt(p) {
  for (const g of layout.gauges) {
    if (p.x < g.x || p.y < g.y || p.x >= g.x + g.width || p.y >= g.y + g.height) continue;
    return g.areas.find((a) => p.x >= a.x && p.y >= a.y && p.x < a.x + a.width
        && p.y < a.y + a.height) || null;
  }
  return null;
}

panel.addEventListener('mousemove', (event) => {
  const area = areaAt(pixel(event));
  panel.style.cursor = area ? CURSORS[area.cursor] || 'pointer' : 'default';
});
panel.addEventListener('mousedown', async (event) => {
  if (event.button !== 0) return;
  const p = pixel(event);
  held = post('/api/press', p);
});
async function letGo() {
  if (!held) return;
  const gauge = await held;
  held = null;
  if (gauge) post('/api/release', { gauge });
}
panel.addEventListener('mouseup', letGo);
panel.addEventListener('mouseleave', letGo);

$('pause').addEventListener('click', () =>
  post($('pause').dataset.paused === 'true' ? '/api/resume' : '/api/pause'));
$('step').addEventListener('click', () => post('/api/step'));
$('speed').addEventListener('change', () => post('/api/speed', { value: $('speed').value }));
$('takeover').addEventListener('click', () => post('/api/takeover'));
$('start').addEventListener('click', () => post('/api/scenario', { name: $('scenario').value }));
$('mute').addEventListener('change', () => {
  if ($('mute').checked) for (const audio of Object.values(voices)) audio.pause();
});

async function loadScenarios() {
  const names = await (await fetch('/api/scenarios')).json();
  for (const name of names) $('scenario').append(new Option(name, name));
}

loadVariables().then(loadScenarios).then(follow);
