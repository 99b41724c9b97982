// The page around the browser build: loads the game once WebGL 2 is there, shows the data's
// download, starts the game's main on a click (the browser lets a page make sound only after
// one), fits the canvas to the window, turns the address's parameters into the game's command
// line, and says in one plain line what went wrong or that the game ended. The game's console
// lines go to the browser's console too. The page's state is in <body data-state>: loading,
// ready, playing, ended or failed.
(function () {
  'use strict';

  const element = (id) => document.getElementById(id);
  const canvas = element('canvas');
  const cover = element('cover');
  const progress = element('progress');
  const status = element('status');
  const play = element('play');
  const message = element('message');

  function setState(state) {
    document.body.dataset.state = state;
  }

  function say(text) {
    message.textContent = text;
    message.hidden = false;
  }

  // ?quality=low&replay=demo gives --quality low --replay demo: each parameter is the option
  // of the same name, one without a value a switch (the game knows demo, last and best as
  // replays). The window's size follows the page unless given.
  function commandLine(search, width, height) {
    const words = [];
    const given = new Set();
    for (const [name, value] of new URLSearchParams(search)) {
      given.add(name);
      words.push('--' + name);
      if (value !== '')
        words.push(value);
    }
    if (!given.has('width') && !given.has('height'))
      words.push('--width', String(width), '--height', String(height));
    return words;
  }

  // The size the game draws at: the stage's, within what the game accepts.
  function stageSize() {
    const stage = element('stage');
    return [Math.min(16384, Math.max(320, stage.clientWidth)),
            Math.min(16384, Math.max(240, stage.clientHeight))];
  }

  function hasWebGl2() {
    try {
      return !!document.createElement('canvas').getContext('webgl2');
    } catch (error) {
      return false;
    }
  }

  let lastLine = '';
  let clicked = false;
  let loaded = false;
  let started = false;
  let running = false;

  // The game's main runs once both the click and everything it reads are there, with the
  // command line of the page's address and size at that moment.
  function startWhenReady() {
    if (!clicked || !loaded || started)
      return;
    started = true;
    running = true;
    cover.hidden = true;
    setState('playing');
    canvas.focus();
    Module['callMain'](commandLine(window.location.search, ...stageSize()));
  }

  function ended(code) {
    running = false;
    setState('ended');
    document.body.dataset.exitCode = String(code);
    say(code === 0 ? 'The game ended. Press F5 to play again.'
                   : (lastLine ? lastLine + ' — ' : '') + 'the game ended. Press F5 to play again.');
  }

  function failed(text) {
    running = false;
    cover.hidden = true;
    setState('failed');
    say(text);
  }

  if (!hasWebGl2()) {
    failed('The game needs WebGL 2, which this browser does not have or has switched off.');
    play.disabled = true;
    return;
  }

  window.Module = {
    canvas: canvas,
    print(line) {
      console.log(line);
      lastLine = line;
    },
    printErr(line) {
      console.warn(line);
      lastLine = line;
    },
    // The data package reports "Downloading data... (loaded/total)".
    setStatus(text) {
      const counts = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text || '');
      if (counts) {
        progress.value = Number(counts[1]) / Number(counts[2]);
        status.textContent = 'Loading the game… ' + Math.round(progress.value * 100) + ' %';
      }
    },
    // The program, its data and the player's files are in; main waits for callMain (the game
    // is built not to run it on its own).
    onRuntimeInitialized() {
      loaded = true;
      progress.value = 1;
      status.textContent = clicked ? 'Starting…' : 'Ready.';
      if (!clicked)
        setState('ready');
      startWhenReady();
    },
    notice: say,
    onPlayerFilesKept() {
      window.quillorb.filesKept += 1;
    },
    onExit: ended,
    onAbort(what) {
      failed('The game stopped (' + what + '). Press F5 to play again.');
    },
  };

  play.addEventListener('click', () => {
    clicked = true;
    play.disabled = true;
    startWhenReady();
  });

  element('fullscreen').addEventListener('click', () => {
    const stage = element('stage');
    if (document.fullscreenElement)
      document.exitFullscreen();
    else if (stage.requestFullscreen)
      stage.requestFullscreen().catch((error) => say('Full screen was refused: ' + error.message));
    canvas.focus();
  });

  // The canvas follows the page: the game hears of a new size as a window resize.
  new ResizeObserver(() => {
    if (running && Module['ctx'] && Module['setCanvasSize'])
      Module['setCanvasSize'](...stageSize());
  }).observe(element('stage'));

  // F2 to F9 are the game's display keys while it runs; afterwards F5 reloads again.
  window.addEventListener('keydown', (event) => {
    if (running && /^F[2-9]$/.test(event.key))
      event.preventDefault();
  });

  // A script that cannot load (the game, or its data) fails the page in one line.
  window.addEventListener('error', (event) => {
    const text = event.message || String(event.error || 'unknown error');
    if (['loading', 'ready'].includes(document.body.dataset.state))
      failed('The game could not be loaded (' + text + '). Press F5 to try again.');
  }, true);

  // Scripts driving the page (the browser test) read the race through this.
  window.quillorb = {
    status() {
      return JSON.parse(Module['ccall']('quillorbStatus', 'string', [], []));
    },
    // How often the player's files were written back to the browser's storage, and whether
    // a write-back is under way.
    filesKept: 0,
    keeping() {
      return Module['keepingPlayerFiles']();
    },
  };

  setState('loading');
  const script = document.createElement('script');
  script.src = 'quillorb.js';
  script.async = true;
  document.body.appendChild(script);
})();
