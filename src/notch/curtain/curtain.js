// The curtain: a field of glowing vertical ribs in one accent colour, on
// transparency. The application drives it only through KV.set({...}); keys
// not given keep their values. It draws nothing and asks for no frames while
// hidden and faded out.
(function () {
  'use strict';
  const canvas = document.getElementById('ribs');
  const ctx = canvas.getContext('2d');
  const state = {
    color: '#ffe03a', reach: 0.36, vreach: 0.7, visible: false,
    base: null,      // a background colour under the ribs, or none
    peakX: 0.5,      // where across the width the ribs are brightest (0..1)
    edgeFall: 2,     // how fast brightness falls towards the sides
    floor: 0.08,     // the least brightness of a rib inside the reach
    haze: 0.1,       // a soft wash of the colour behind the ribs
    gain: 0.9,       // overall brightness
    veil: true,      // darken the bottom so content above stays legible
  };
  let shownAmount = 0; // 0..1, eased towards visible
  let frame = 0;
  let last = 0;

  function rgb(hex) {
    const m = /^#?([0-9a-f]{6})$/i.exec(hex || '');
    const n = parseInt(m ? m[1] : 'ffe03a', 16);
    return [(n >> 16) & 255, (n >> 8) & 255, n & 255];
  }

  function resize() {
    const ratio = window.devicePixelRatio || 1;
    canvas.width = Math.max(1, Math.round(canvas.clientWidth * ratio));
    canvas.height = Math.max(1, Math.round(canvas.clientHeight * ratio));
  }

  function draw(time) {
    const w = canvas.width, h = canvas.height;
    ctx.clearRect(0, 0, w, h);
    if (shownAmount <= 0.001) return;
    ctx.globalAlpha = shownAmount;
    if (state.base) { ctx.fillStyle = state.base; ctx.fillRect(0, 0, w, h); }
    const [r, g, b] = rgb(state.color);
    const depth = Math.max(0.05, Math.min(1, state.vreach)) * h;
    if (state.haze > 0) {
      const wash = ctx.createLinearGradient(0, 0, 0, depth);
      wash.addColorStop(0, `rgba(${r},${g},${b},${state.haze})`);
      wash.addColorStop(1, `rgba(${r},${g},${b},0)`);
      ctx.fillStyle = wash;
      ctx.fillRect(0, 0, w, depth);
    }
    const spacing = Math.max(6, w / 42);
    const half = Math.max(0.05, Math.min(1, state.reach)) * w / 2 + spacing;
    const centre = state.peakX * w;
    const t = time / 1000;
    ctx.globalCompositeOperation = 'lighter';
    for (let x = spacing / 2; x < w; x += spacing) {
      const off = Math.abs(x - centre) / half;
      if (off > 1) continue;
      const wave = 0.5 + 0.5 * Math.sin(t * 1.6 + x * 0.045);
      const level = state.gain * Math.max(state.floor, Math.pow(1 - off, state.edgeFall)) * (0.55 + 0.45 * wave);
      const length = depth * (0.75 + 0.25 * wave);
      const rib = ctx.createLinearGradient(0, 0, 0, length);
      rib.addColorStop(0, `rgba(${r},${g},${b},${level})`);
      rib.addColorStop(1, `rgba(${r},${g},${b},0)`);
      ctx.fillStyle = rib;
      ctx.fillRect(x - spacing * 0.18, 0, spacing * 0.36, length);
    }
    ctx.globalCompositeOperation = 'source-over';
    if (state.veil) {
      const veil = ctx.createLinearGradient(0, h * 0.55, 0, h);
      veil.addColorStop(0, 'rgba(0,0,0,0)');
      veil.addColorStop(1, 'rgba(0,0,0,0.6)');
      ctx.fillStyle = veil;
      ctx.fillRect(0, h * 0.55, w, h * 0.45);
    }
    ctx.globalAlpha = 1;
  }

  function tick(time) {
    frame = 0;
    const dt = last ? Math.min(0.1, (time - last) / 1000) : 0;
    last = time;
    const target = state.visible ? 1 : 0;
    shownAmount += (target - shownAmount) * Math.min(1, dt * 5);
    if (Math.abs(target - shownAmount) < 0.002) shownAmount = target;
    draw(time);
    if (state.visible || shownAmount > 0) schedule();
    else last = 0; // hidden and faded out: no more frames
  }

  function schedule() {
    if (!frame) frame = requestAnimationFrame(tick);
  }

  window.KV = {
    set(options) {
      for (const key of Object.keys(state)) {
        if (options && Object.prototype.hasOwnProperty.call(options, key)) state[key] = options[key];
      }
      schedule();
    },
  };
  window.addEventListener('resize', () => { resize(); schedule(); });
  resize();
})();
