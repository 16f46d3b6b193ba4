// Flying the aircraft from the live page: keys and a gamepad turn into the
// flight's own command lines (climb, descend, level, speed, gear, flaps,
// power, follow glidepath), sent to /api/fly one after another, so the
// session records them as given and Save flight writes them. Reads the
// aircraft from the state live.js follows (the 'livestate' event).
'use strict';

const FLYING = {
  // The aircraft a first flying key or the button starts: 5 nm out at
  // 1500 ft, level at 140 kt, with a 3 degree glide path to the runway.
  start: ['aircraft 5 nm 1500 ft 140 kt 0 fpm', 'glidepath 3 deg'],
  startState: { commanded_vertical_speed_fpm: 0, commanded_speed_kt: 140, power: true },
  mostFpm: 6000,
  slowestKt: 0,
  fastestKt: 400,
  flapDetents: [['up', 0], ['approach', 10000], ['landing', 16383]],
  // What the page sent is what it builds on for this long; then the state.
  trustSentMs: 2000,
  // The gamepad: full stick is this vertical speed, full deflection this
  // speed change per second; sent at most every so often.
  padFpm: 3000,
  padKtPerSecond: 10,
  padDeadZone: 0.15,
  padEveryMs: 250,
};

// The legend: the keys as shown and what they do (ACTIONS below).
const KEYS = [
  ['↑ / ↓', 'vertical speed ±100 ft/min'],
  ['PgUp / PgDn', '±500 ft/min'],
  ['→ / ←', 'speed ±5 kt'],
  ['L', 'level off'],
  ['G', 'gear up / down'],
  ['F / Shift+F', 'flaps down / up'],
  ['P', 'power on / off'],
  ['S', 'follow the glide path'],
];
const PAD = [
  ['left stick', `vertical speed ±${FLYING.padFpm}`],
  ['right stick ↔', 'speed (or the triggers)'],
  ['A / B', 'gear / level off'],
  ['X / Y', 'flaps up / down'],
  ['Start', 'power'],
  ['Back', 'follow the glide path'],
  ['d-pad', 'as the arrow keys'],
];

let aircraft = null;  // state.aircraft, as last seen
let startedAt = -Infinity;  // when the page last started one
let vars = {};
let sending = Promise.resolve();
let waiting = [];  // [{kind, line}] not yet sent; a newer line of a kind replaces the older
const sent = {};   // field -> {value, at}: what the page last asked for

function flyLine(kind, line) {
  const last = waiting[waiting.length - 1];
  if (last && last.kind === kind && kind !== 'start') last.line = line;
  else waiting.push({ kind, line });
  sending = sending.then(async () => {
    const next = waiting.shift();
    if (next) await post('/api/fly', { line: next.line });
  });
  return sending;
}

// A field as the page last asked for it, or as the aircraft has it.
function current(field, fromState) {
  const mine = sent[field];
  if (mine && performance.now() - mine.at < FLYING.trustSentMs) return mine.value;
  return fromState(aircraft || FLYING.startState);
}

function ask(field, value) {
  sent[field] = { value, at: performance.now() };
  return value;
}

// Starts the aircraft when none flies (nor is on its way).
function ensureAircraft() {
  const now = performance.now();
  if (aircraft || now - startedAt < FLYING.trustSentMs) return;
  startedAt = now;
  for (const field of Object.keys(sent)) delete sent[field];
  for (const line of FLYING.start) flyLine('start', line);
  // It starts with the gear and flaps where the panel has them.
  ask('gear', (vars.gear || 0) >= 8192);
  ask('flaps', vars.flaps || 0);
}

function verticalSpeedLine(fpm) {
  if (fpm > 0) return `climb ${fpm} fpm`;
  if (fpm < 0) return `descend ${-fpm} fpm`;
  return 'level';
}

function commandVerticalSpeed(fpm) {
  ensureAircraft();
  const wanted = Math.max(-FLYING.mostFpm, Math.min(FLYING.mostFpm, Math.round(fpm / 100) * 100));
  flyLine('vs', verticalSpeedLine(ask('vs', wanted)));
}

function changeVerticalSpeed(by) {
  commandVerticalSpeed(current('vs', (a) => a.commanded_vertical_speed_fpm) + by);
}

function commandSpeed(kt) {
  ensureAircraft();
  const wanted = Math.max(FLYING.slowestKt, Math.min(FLYING.fastestKt, Math.round(kt)));
  flyLine('speed', `speed ${ask('speed', wanted)} kt`);
}

function changeSpeed(by) {
  commandSpeed(current('speed', (a) => a.commanded_speed_kt) + by);
}

function toggleGear() {
  ensureAircraft();
  const down = !current('gear', (a) => a.gear_lever_down);
  flyLine('gear', `gear ${ask('gear', down) ? 'down' : 'up'}`);
}

function moveFlaps(step) {
  ensureAircraft();
  const lever = current('flaps', (a) => a.flap_lever);
  const detents = FLYING.flapDetents;
  const next = step > 0 ? detents.find(([, at]) => at > lever)
      : [...detents].reverse().find(([, at]) => at < lever);
  if (!next) return;
  ask('flaps', next[1]);
  flyLine('flaps', `flaps ${next[0]}`);
}

function togglePower() {
  ensureAircraft();
  const on = !current('power', (a) => a.power);
  flyLine('power', `power ${ask('power', on) ? 'on' : 'off'}`);
}

function level() {
  ensureAircraft();
  ask('vs', 0);
  flyLine('vs', 'level');
}

function followGlidePath() {
  ensureAircraft();
  delete sent.vs;  // the path commands it from now on
  flyLine('vs', 'follow glidepath');
}

const ACTIONS = {
  ArrowUp: () => changeVerticalSpeed(100),
  ArrowDown: () => changeVerticalSpeed(-100),
  PageUp: () => changeVerticalSpeed(500),
  PageDown: () => changeVerticalSpeed(-500),
  ArrowRight: () => changeSpeed(5),
  ArrowLeft: () => changeSpeed(-5),
  l: level,
  g: toggleGear,
  f: () => moveFlaps(1),
  F: () => moveFlaps(-1),
  p: togglePower,
  s: followGlidePath,
};

// Fields and lists take their own keys (a slider's arrows, a number's
// digits); buttons and switches leave them to the aircraft.
function typingIn(target) {
  if (!target || target.isContentEditable) return Boolean(target);
  if (target.tagName === 'SELECT' || target.tagName === 'TEXTAREA') return true;
  return target.tagName === 'INPUT' && !['checkbox', 'radio', 'button'].includes(target.type);
}

document.addEventListener('keydown', (event) => {
  if (event.ctrlKey || event.altKey || event.metaKey || typingIn(event.target)) return;
  const key = event.key.length === 1 && !event.shiftKey ? event.key.toLowerCase() : event.key;
  const action = ACTIONS[key];
  if (!action) return;
  event.preventDefault();  // the arrows and page keys would scroll
  action();
});

// The gamepad (the standard mapping): polled every animation frame.
const pad = { name: '', fpm: 0, fpmAt: 0, speed: null, speedAt: 0, buttons: [], lastT: 0 };
const BUTTONS = { 0: toggleGear, 1: level, 2: () => moveFlaps(-1), 3: () => moveFlaps(1),
  8: followGlidePath, 9: togglePower, 12: () => changeVerticalSpeed(100),
  13: () => changeVerticalSpeed(-100), 14: () => changeSpeed(-5), 15: () => changeSpeed(5) };

function deflection(value) {
  return Math.abs(value) < FLYING.padDeadZone ? 0 : value;
}

function readPad(gamepad, now) {
  const dt = pad.lastT ? Math.min(0.1, (now - pad.lastT) / 1000) : 0;
  pad.lastT = now;
  const axes = gamepad.axes || [];
  const buttons = gamepad.buttons || [];
  const fpm = Math.round(-deflection(axes[1] || 0) * FLYING.padFpm / 100) * 100;
  if (Math.abs(fpm - pad.fpm) >= 100 && now - pad.fpmAt >= FLYING.padEveryMs) {
    pad.fpm = fpm;
    pad.fpmAt = now;
    commandVerticalSpeed(fpm);
  }
  const value = (i) => (buttons[i] ? buttons[i].value || (buttons[i].pressed ? 1 : 0) : 0);
  const rate = Math.max(-1, Math.min(1, deflection(axes[2] || 0) + value(7) - value(6)));
  if (rate === 0) pad.speed = null;
  else {
    if (pad.speed === null) pad.speed = current('speed', (a) => a.commanded_speed_kt);
    pad.speed += rate * FLYING.padKtPerSecond * dt;
    const kt = Math.round(pad.speed);
    if (kt !== current('speed', (a) => a.commanded_speed_kt)
        && now - pad.speedAt >= FLYING.padEveryMs) {
      pad.speedAt = now;
      commandSpeed(kt);
    }
  }
  buttons.forEach((button, i) => {
    const pressed = Boolean(button && button.pressed);
    if (pressed && !pad.buttons[i] && BUTTONS[i]) BUTTONS[i]();
    pad.buttons[i] = pressed;
  });
}

function pollPads(now) {
  let pads = [];
  try {
    pads = navigator.getGamepads ? Array.from(navigator.getGamepads() || []) : [];
  } catch (error) {
    // Not offered here (a page that is no secure context, a policy): no pad.
  }
  const gamepad = pads.find((p) => p && p.connected !== false);
  const name = gamepad ? String(gamepad.id || 'gamepad') : '';
  if (name !== pad.name) {
    pad.name = name;
    $('gamepad').textContent = name ? `gamepad: ${name}` : '';
    $('gamepad').dataset.connected = Boolean(name);
  }
  if (gamepad) readPad(gamepad, now);
  requestAnimationFrame(pollPads);
}

// The keys on the page, and what the aircraft does now.
function showKeys() {
  // Beside the panel: the panel and the keys side by side, whatever comes below.
  const cockpit = document.createElement('div');
  cockpit.className = 'cockpit';
  const box = document.createElement('aside');
  box.id = 'flying';
  box.setAttribute('aria-label', 'flying the aircraft');
  panel.before(cockpit);
  cockpit.append(panel, box);
  const table = (rows, heading) => {
    const list = document.createElement('dl');
    list.className = 'keys';
    list.dataset.keys = heading;
    for (const [keys, what] of rows) {
      const key = document.createElement('dt');
      key.textContent = keys;
      const does = document.createElement('dd');
      does.textContent = what;
      list.append(key, does);
    }
    const title = document.createElement('h3');
    title.textContent = heading;
    return [title, list];
  };
  const start = document.createElement('button');
  start.type = 'button';
  start.id = 'fly-aircraft';
  start.textContent = 'Fly an aircraft';
  start.title = FLYING.start.join('; ');
  start.addEventListener('click', () => {
    ensureAircraft();
    start.blur();  // the keys fly now
  });
  const readout = document.createElement('p');
  readout.id = 'aircraft';
  const pads = document.createElement('p');
  pads.id = 'gamepad';
  box.replaceChildren(start, readout, ...table(KEYS, 'Keys'), ...table(PAD, 'Gamepad'), pads);
}

function showAircraft(state) {
  vars = state.vars || {};
  aircraft = state.aircraft || null;
  $('fly-aircraft').hidden = Boolean(aircraft);
  const readout = $('aircraft');
  if (!aircraft) {
    readout.textContent = 'No aircraft flies: the button or a flying key starts one.';
    readout.dataset.flying = false;
    return;
  }
  const a = aircraft;
  const whole = (v) => (Number.isFinite(v) ? Math.round(v).toString() : '?');
  const lever = (surface, down) => `${whole(surface / 163.83)}%${surface !== down ? ' moving' : ''}`;
  const items = [
    ['distance_nm', `${Number.isFinite(a.distance_nm) ? a.distance_nm.toFixed(2) : '?'} nm to the runway`],
    ['altitude_ft', `altitude ${whole(a.altitude_ft)} ft`],
    ['height_ft', `${whole(a.altitude_ft - a.ground_elevation_ft)} ft above ground`],
    ['vertical_speed_fpm', `vertical speed ${whole(a.vertical_speed_fpm)} ft/min`
        + ` (${a.following_dots != null ? 'on the glide path' : whole(a.commanded_vertical_speed_fpm)})`],
    ['ground_speed_kt', `speed ${whole(a.ground_speed_kt)} kt (${whole(a.commanded_speed_kt)})`],
    ['gear', `gear ${a.gear_lever_down ? 'down' : 'up'} ${lever(a.gear, a.gear_lever_down ? 16383 : 0)}`],
    ['flaps', `flaps ${lever(a.flaps, a.flap_lever)}`],
    ['power', `power ${a.power ? 'on' : 'off'}${a.on_ground ? ', on the ground' : ''}`],
  ];
  readout.dataset.flying = true;
  readout.title = 'what is commanded in brackets';
  readout.replaceChildren(...items.map(([key, text]) => {
    const item = document.createElement('span');
    item.dataset.aircraft = key;
    item.textContent = text;
    return item;
  }));
}

showKeys();
document.addEventListener('livestate', (event) => showAircraft(event.detail));
requestAnimationFrame(pollPads);
