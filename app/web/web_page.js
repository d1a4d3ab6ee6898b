// The page's side of the browser backend, added before the compiled script.
// It waits for the start gesture, hands the frame pacer animation frames,
// plays the sound stream through an AudioWorklet, forwards the page's input
// to the C++ side, and shows the end. Module.vitrelumePage also holds the
// counters a test reads: frame steps paced, sound frames pulled.
(function () {
  // Test hook: ?hold=N keeps frame step N on the screen for good.
  const holdStep = Number(new URLSearchParams(location.search).get('hold')) || 0;

  const page = {
    steps: 0, soundFrames: 0, underruns: 0, ended: false, exitCode: null, fatalText: null,
  };
  Module.vitrelumePage = page;
  const element = id => document.getElementById(id);

  // ---- Start: the first click or key that counts as a user activation ----
  // Browsers allow sound only after one; a lone modifier or Escape is none.
  // The starting press is not passed on, nor is the release of its key.
  // The audio context is made during that press, at the sound rate the
  // program handed over (offerStart); a press that comes before the program
  // has loaded gets its context once the rate is known.
  let audio = null, soundRate = null, pressed = false;
  function swallowRelease(press) {
    const type = press.type === 'keydown' ? 'keyup' : 'mouseup';
    const id = event => (type === 'keyup' ? event.code : event.button);
    const swallow = event => {
      if (id(event) !== id(press)) return;
      event.stopImmediatePropagation();
      removeEventListener(type, swallow, true);
    };
    addEventListener(type, swallow, true);
  }
  page.started = new Promise(resolve => {
    const start = event => {
      if (!navigator.userActivation.isActive) return;
      // (A pointer's press keeps its default: cancelling it would also
      // cancel the mouse release that swallowRelease waits for.)
      if (event.type === 'keydown') event.preventDefault();
      event.stopImmediatePropagation();
      removeEventListener('keydown', start, true);
      removeEventListener('pointerdown', start, true);
      swallowRelease(event);
      element('start').hidden = true;
      pressed = true;
      if (soundRate !== null) audio = createAudio(soundRate);
      resolve();
    };
    addEventListener('keydown', start, true);
    addEventListener('pointerdown', start, true);
  });
  console.log('Click or press a key to start');
  page.offerStart = async function (rate) {
    soundRate = rate;
    if (pressed && !audio) audio = createAudio(rate);
    await page.started;
  };

  // ---- Frame pacing ----
  // The wait of the frame pacer's clock (the 60 Hz rule is the C++ pacer's):
  // the next animation frame, whatever the time asked. A hidden page gets no
  // animation frames: a timer for the time asked (which the browser slows
  // down) takes over, and a page that turns hidden or visible wakes the wait.
  page.nextFrame = function (ms, step) {
    if (step === holdStep) {
      console.log(`Holding frame step ${step}`);
      return new Promise(() => {});
    }
    page.steps = step;
    return new Promise(resolve => {
      const done = () => {
        document.removeEventListener('visibilitychange', done);
        resolve();
      };
      if (document.hidden) setTimeout(done, Math.max(0, ms));
      else requestAnimationFrame(done);
      document.addEventListener('visibilitychange', done);
    });
  };

  // ---- Sound ----
  // Through the pull worklet both pages share (pull_worklet.js).

  // Made during the start gesture, so that the context starts running.
  function createAudio(rate) {
    try {
      const context = new AudioContext({ sampleRate: rate, latencyHint: 'interactive' });
      const record = { context, ready: null, node: null, closed: false };
      // A failed start closes the audio while the module may still load:
      // that abort is the page's own doing and says nothing after the end line.
      record.ready = context.audioWorklet.addModule(vitrelumePullWorkletUrl()).then(() => !record.closed, error => {
        if (!record.closed) console.log(`Audio worklet: ${error}`);
        return false;
      });
      return record;
    } catch (error) {
      console.log(`Audio: ${error}`);
      return null;
    }
  }

  // Answers the worklet from the sound stream: the C++ side pulls the frames.
  function answerSoundRequest(port, frames) {
    if (frames < 0) {
      page.underruns++;
      return;
    }
    if (page.ended) return;
    vitrelumeSendFrames(port, Module._webPullSound(frames), frames);
    page.soundFrames += frames;
  }

  page.openAudio = async function () {
    if (!audio || !(await audio.ready)) return 0;
    try {
      const node = vitrelumePullNode(audio.context);
      node.port.onmessage = event => answerSoundRequest(node.port, event.data);
      audio.node = node;
      return 1;
    } catch (error) {
      console.log(`Audio: ${error}`);
      return 0;
    }
  };

  page.closeAudio = function () {
    if (!audio) return;
    audio.closed = true;
    if (audio.node) audio.node.disconnect();
    audio.context.close().catch(() => {});
    audio = null;
  };
  page.audioState = () => (audio ? audio.context.state : 'none');

  // ---- Window ----
  page.showCanvas = () => { element('canvas').style.visibility = 'visible'; };

  // Where the browser can, Escape is kept for the demo in fullscreen (holding
  // it still leaves fullscreen); elsewhere the first press leaves fullscreen.
  page.requestFullscreen = function () {
    if (!navigator.userActivation.isActive || document.fullscreenElement) return;
    document.documentElement.requestFullscreen({ navigationUI: 'hide' })
      .then(() => navigator.keyboard && navigator.keyboard.lock(['Escape']))
      .catch(() => {});
  };
  page.exitFullscreen = function () {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  };

  // The pointer over the canvas: an image in red, green, blue, alpha bytes
  // with its hot spot, or none at all.
  page.setPointer = function (width, height, pixels, hotX, hotY) {
    const canvas = element('canvas');
    if (!pixels) {
      canvas.style.cursor = 'none';
      return;
    }
    const image = document.createElement('canvas');
    image.width = width;
    image.height = height;
    const bytes = new Uint8ClampedArray(HEAPU8.subarray(pixels, pixels + width * height * 4));
    image.getContext('2d').putImageData(new ImageData(bytes, width, height), 0, 0);
    canvas.style.cursor = `url(${image.toDataURL()}) ${hotX} ${hotY}, none`;
  };

  // ---- Input ----
  // The browser's own keys (reloading, leaving fullscreen, developer tools)
  // stay with the browser; the rest would scroll or search the page.
  function isBrowserKey(event) {
    return event.ctrlKey || event.metaKey || /^F\d+$/.test(event.key);
  }
  const CHARACTER_KEYS = { Enter: 13, Backspace: 8, Tab: 9, Escape: 27 };

  page.listenForInput = function () {
    const canvas = element('canvas');
    const listeners = [
      [window, 'keydown', event => {
        if (!isBrowserKey(event)) event.preventDefault();
        Module._webKey(1, event.keyCode, event.location);
        const character = [...event.key].length === 1 ? event.key.codePointAt(0) : CHARACTER_KEYS[event.key];
        if (character !== undefined) Module._webCharacter(character);
      }],
      [window, 'keyup', event => {
        if (!isBrowserKey(event)) event.preventDefault();
        Module._webKey(0, event.keyCode, event.location);
      }],
      [canvas, 'mousedown', event => Module._webMouseButton(1, event.button, event.detail)],
      [window, 'mouseup', event => Module._webMouseButton(0, event.button, event.detail)],
      [canvas, 'mousemove', event => {
        const box = canvas.getBoundingClientRect(), ratio = devicePixelRatio;
        Module._webPointerMove(Math.round((event.clientX - box.left) * ratio), Math.round((event.clientY - box.top) * ratio),
                               event.movementX * ratio, event.movementY * ratio);
      }],
      // Notches away from the user; a line is a third of a notch, a pixel a hundredth.
      [canvas, 'wheel', event => {
        event.preventDefault();
        const perNotch = [100, 3, 1][event.deltaMode] || 100;
        if (event.deltaY !== 0) Module._webScroll(-event.deltaY / perNotch);
      }, { passive: false }],
      [window, 'focus', () => Module._webFocus(1)],
      [window, 'blur', () => Module._webFocus(0)],
      [document, 'visibilitychange', () => Module._webVisibility(document.hidden ? 1 : 0)],
      [document, 'fullscreenchange', () => { if (!document.fullscreenElement) Module._webLeftFullscreen(); }],
    ];
    // (No destructuring in loops: emscripten's minifier garbles it.)
    listeners.forEach(entry => entry[0].addEventListener(entry[1], entry[2], entry[3]));
    page.stopInput = () => listeners.forEach(entry => entry[0].removeEventListener(entry[1], entry[2], entry[3]));
    if (document.hidden) Module._webVisibility(1);
  };

  // ---- The end ----
  // The runtime ends the program by throwing through the frames that called
  // it (from an animation frame, say); that throw is the exit, not an error.
  const isExit = error => error && error.name === 'ExitStatus';
  addEventListener('error', event => { if (isExit(event.error)) event.preventDefault(); });
  addEventListener('unhandledrejection', event => { if (isExit(event.reason)) event.preventDefault(); });

  // After the end line, or at once on Escape or a fatal error, the canvas
  // makes way for a closing line.
  Module.onExit = function (code) {
    page.ended = true;
    page.exitCode = code;
    if (page.stopInput) page.stopInput();
    page.closeAudio();
    page.exitFullscreen();
    element('canvas').hidden = true;
    element('start').hidden = true;
    const end = element('end');
    if (page.fatalText !== null) end.textContent = `FATAL ERROR: ${page.fatalText}`;
    else if (code !== 0) end.textContent = 'The production could not start here: the console says why.';
    end.hidden = false;
  };
})();
