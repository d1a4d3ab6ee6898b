// The sound path both pages share, added before their scripts: an
// AudioWorklet that plays the chunks it was sent and asks for more while less
// than about 100 ms is queued or on its way; each page answers its requests
// from the C++ sound stream (pullSound), which renders in halves of 2,205
// frames, so the browser plays what the native programs play.

// The worklet runs in the audio thread's own scope, so it travels as source text.
function vitrelumePullProcessor() {
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

// The worklet's module, for AudioContext.audioWorklet.addModule.
function vitrelumePullWorkletUrl() {
  const source = '(' + vitrelumePullProcessor.toString() + ')();';
  return URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
}

// A stereo node of the worklet, playing into the context's output; its port
// asks for frames (a count) or reports an underrun (-1).
function vitrelumePullNode(context) {
  const node = new AudioWorkletNode(context, 'pull-processor', { numberOfInputs: 0, outputChannelCount: [2] });
  node.connect(context.destination);
  return node;
}

// Sends the worklet `frames` stereo frames of 16-bit samples found at byte
// address `samples` of the heap.
function vitrelumeSendFrames(port, samples, frames) {
  const at = samples >> 1;
  const left = new Float32Array(frames), right = new Float32Array(frames);
  for (let i = 0; i < frames; i++) {
    left[i] = HEAP16[at + 2 * i] / 32768;
    right[i] = HEAP16[at + 2 * i + 1] / 32768;
  }
  port.postMessage({ left, right }, [left.buffer, right.buffer]);
}
