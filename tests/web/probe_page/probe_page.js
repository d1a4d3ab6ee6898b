// The probe page's side of the bridge (added before the compiled script).
// Module.probe holds what the test reads: frame and animation-frame counts,
// sound frames pulled, the AudioContext state.
Module.probe = { frames: 0, animationFrames: 0, soundFrames: 0, underruns: 0, audioState: 'none', modulate: 1 };

const FRAME_PERIOD_MS = 1000 / 60;
// An animation frame this close before the deadline counts as on time, so a
// 60 Hz display whose frames jitter around the grid never waits a whole extra frame.
const FRAME_EARLY_MS = 2;

function nextAnimationFrame() {
  return new Promise(resolve => requestAnimationFrame(time => {
    Module.probe.animationFrames++;
    resolve(time);
  }));
}

// One frame step's wait: animation frames until the 60 Hz deadline, so faster
// displays do not speed the loop up. A frame more than a period late starts
// a new grid instead of catching up with a burst.
Module.probeWaitForNextFrame = async function () {
  const probe = Module.probe;
  let time = await nextAnimationFrame();
  if (probe.deadline === undefined) {
    probe.deadline = time;
  } else {
    const target = probe.deadline + FRAME_PERIOD_MS;
    while (time < target - FRAME_EARLY_MS) time = await nextAnimationFrame();
    probe.deadline = time < target || time - target > FRAME_PERIOD_MS ? time : target;
  }
  probe.frames++;
};

// The worklet plays the chunks it was sent and asks for more while less than
// about 100 ms is queued or on its way. It runs in the audio thread's own
// scope, so it travels as source text.
function pullProcessorSource() {
  const QUEUE_FRAMES = 4410;
  const CHUNK_FRAMES = 1024;
  class PullProcessor extends AudioWorkletProcessor {
    constructor() {
      super();
      this.chunks = [];
      this.offset = 0;
      this.queued = 0;
      this.pending = 0;
      this.port.onmessage = event => {
        this.chunks.push(event.data);
        this.queued += event.data.left.length;
        this.pending -= event.data.left.length;
      };
      this.request();
    }
    request() {
      while (this.queued + this.pending < QUEUE_FRAMES) {
        this.port.postMessage(CHUNK_FRAMES);
        this.pending += CHUNK_FRAMES;
      }
    }
    process(inputs, outputs) {
      const left = outputs[0][0], right = outputs[0][1];
      let i = 0;
      while (i < left.length && this.chunks.length > 0) {
        const chunk = this.chunks[0];
        const n = Math.min(left.length - i, chunk.left.length - this.offset);
        left.set(chunk.left.subarray(this.offset, this.offset + n), i);
        right.set(chunk.right.subarray(this.offset, this.offset + n), i);
        i += n;
        this.offset += n;
        this.queued -= n;
        if (this.offset === chunk.left.length) {
          this.chunks.shift();
          this.offset = 0;
        }
      }
      if (i < left.length) {
        left.fill(0, i);
        right.fill(0, i);
        this.port.postMessage(-1);  // an underrun, counted by the page
      }
      this.request();
      return true;
    }
  }
  registerProcessor('pull-processor', PullProcessor);
}

// Answers the worklet's requests from the C++ sound callback.
function answerSoundRequest(port, frames) {
  if (frames < 0) {
    Module.probe.underruns++;
    return;
  }
  const samples = Module._probePullSound(frames) >> 1;
  const left = new Float32Array(frames), right = new Float32Array(frames);
  for (let i = 0; i < frames; i++) {
    left[i] = HEAP16[samples + 2 * i] / 32768;
    right[i] = HEAP16[samples + 2 * i + 1] / 32768;
  }
  Module.probe.soundFrames += frames;
  port.postMessage({ left, right }, [left.buffer, right.buffer]);
}

async function startAudio() {
  const context = new AudioContext({ sampleRate: 44100, latencyHint: 'interactive' });
  Module.probe.audioContext = context;
  const source = '(' + pullProcessorSource.toString() + ')();';
  const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
  await context.audioWorklet.addModule(url);
  const node = new AudioWorkletNode(context, 'pull-processor', { numberOfInputs: 0, outputChannelCount: [2] });
  node.port.onmessage = event => answerSoundRequest(node.port, event.data);
  node.connect(context.destination);
  Module.probe.audioState = context.state;
  context.onstatechange = () => { Module.probe.audioState = context.state; };
}

// Browsers allow sound only after a gesture: the first click or key that
// counts as one (not Escape, not a lone modifier) starts everything and is
// not passed on.
Module.probeWaitForStart = function () {
  console.log('Click or press a key to start');
  return new Promise(resolve => {
    const start = event => {
      if (!navigator.userActivation.isActive) return;
      event.preventDefault();
      event.stopImmediatePropagation();
      removeEventListener('keydown', start, true);
      removeEventListener('pointerdown', start, true);
      document.getElementById('start').hidden = true;
      startAudio().catch(error => console.log('probe: no audio: ' + error));
      resolve();
    };
    addEventListener('keydown', start, true);
    addEventListener('pointerdown', start, true);
  });
};
