// The player page's script (player.html), added before the compiled one: a
// playlist of the production's song and the files chosen or dropped, the
// song's texts, a progress bar to click, pause, voice mutes and meters. The
// sound goes through the pull worklet the production uses (pull_worklet.js);
// files are read in the page and nothing is uploaded. Module.playerPage
// holds what a test reads: the frames pulled and, after record(N) or with
// ?record=N, the next N frames as the worklet was sent them.
(function () {
  const REQUEST_FRAMES = 2205;  // seeks land on the stream's request grid
  const MAX_FILE_BYTES = 64 * 1024 * 1024;
  const NUMBER = { kind: 0, length: 1, position: 2, rate: 3, voices: 4, ended: 5 };
  const TEXT = { title: 0, author: 1, comment: 2, format: 3, tag: 4, error: 5 };
  const KINDS = { 0: 'register song with built-in drums', 1: 'register song', 3: 'register song with effects',
                  4: 'register song with two effect slots', 32: 'tracker song', 64: 'digi-mix song' };

  const page = { pulled: 0, underruns: 0, current: -1, playing: false, lastSeek: -1, recording: null, recorded: 0 };
  Module.playerPage = page;
  const element = id => document.getElementById(id);
  const songs = [];  // { name, file (null: the production's song), reason (why it did not load) }
  let audio = null;  // { context, node }
  let selecting = 0;  // the latest selection; an older one still reading its file gives way

  // ---- What the engine says ----
  // Song texts are 8-bit: Latin-1 here, control characters as '?'.
  function text(which) {
    let out = '';
    for (let at = Module._playerText(which); HEAPU8[at] !== 0; at++) {
      const c = HEAPU8[at];
      out += c < 32 || (c >= 127 && c < 160) ? '?' : String.fromCharCode(c);
    }
    return out;
  }
  const number = which => Module._playerNumber(which);
  function minutesAndSeconds(frames) {
    const seconds = Math.floor(frames / Module._playerSoundRate());
    return `${Math.floor(seconds / 60)}:${String(seconds % 60).padStart(2, '0')}`;
  }
  const showMessage = message => { element('message').textContent = message; };

  // ---- Sound ----
  // Browsers allow sound only after a click or a key: the context is made in one.
  function startAudio() {
    if (audio) {
      if (audio.context.state === 'suspended') audio.context.resume();
      return;
    }
    const context = new AudioContext({ sampleRate: Module._playerSoundRate(), latencyHint: 'interactive' });
    audio = { context, node: null };
    context.audioWorklet.addModule(vitrelumePullWorkletUrl()).then(() => {
      const node = vitrelumePullNode(context);
      node.port.onmessage = event => answer(node.port, event.data);
      audio.node = node;
      showMessage('');
    }, error => showMessage(`The sound could not start: ${error}`));
  }
  addEventListener('pointerdown', () => { if (page.playing) startAudio(); }, true);
  addEventListener('keydown', () => { if (page.playing) startAudio(); }, true);

  function answer(port, frames) {
    if (frames < 0) {
      page.underruns++;
      return;
    }
    const samples = Module._playerPull(frames);
    if (page.recording) {
      const n = Math.min(frames, page.recording.length / 2 - page.recorded);
      page.recording.set(HEAP16.subarray(samples >> 1, (samples >> 1) + 2 * n), 2 * page.recorded);
      page.recorded += n;
    }
    vitrelumeSendFrames(port, samples, frames);
    page.pulled += frames;
  }
  page.record = frames => {
    page.recording = new Int16Array(2 * frames);
    page.recorded = 0;
  };
  page.recordingBase64 = () => {
    const bytes = new Uint8Array(page.recording.buffer);
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(binary);
  };
  const recordFrames = Number(new URLSearchParams(location.search).get('record')) || 0;
  if (recordFrames > 0) page.record(recordFrames);

  // ---- The playlist ----
  function showList() {
    const list = element('playlist');
    list.textContent = '';
    songs.forEach((song, i) => {
      const item = document.createElement('li');
      item.textContent = song.name;
      if (song.reason) {
        item.className = 'refused';
        const reason = document.createElement('span');
        reason.className = 'reason';
        reason.textContent = song.reason;
        item.appendChild(reason);
      } else {
        if (i === page.current) item.className = 'current';
        item.onclick = () => select(i, +1, true);
      }
      list.appendChild(item);
    });
  }

  async function load(song) {
    if (!song.file) return Module._playerLoadShipped() ? null : text(TEXT.error);
    if (song.file.size > MAX_FILE_BYTES) return 'larger than 64 MiB';
    let bytes;
    try {
      bytes = new Uint8Array(await song.file.arrayBuffer());
    } catch (error) {
      return `cannot read it: ${error.message}`;
    }
    const at = Module._malloc(bytes.length || 1);
    HEAPU8.set(bytes, at);
    const loaded = Module._playerLoad(at, bytes.length);
    Module._free(at);
    return loaded ? null : text(TEXT.error);
  }

  // Loads song i, or the first after it (direction +1) or before it (-1)
  // that loads; songs that do not are marked with their reason.
  async function select(i, direction, playing) {
    const mine = ++selecting;
    for (; i >= 0 && i < songs.length; i += direction) {
      const song = songs[i];
      if (song.reason) continue;
      const reason = await load(song);
      if (mine !== selecting) return;
      if (reason === null) {
        page.current = i;
        showSong();
        setPlaying(playing);
        showList();
        return;
      }
      song.reason = reason;
      showList();
    }
    setPlaying(false);  // the end of the list
  }

  function addFiles(files) {
    const first = songs.length;
    for (const file of files) songs.push({ name: file.name, file, reason: null });
    showList();
    if (songs.length > first) select(first, +1, true);
  }

  // ---- The song ----
  function showSong() {
    element('title').textContent = text(TEXT.title) || '(no title)';
    element('author').textContent = text(TEXT.author);
    element('comment').textContent = text(TEXT.comment);
    const rate = number(NUMBER.rate);
    element('kind').textContent = `${text(TEXT.format)} (${text(TEXT.tag)}), ${KINDS[number(NUMBER.kind)] || 'song'}` +
                                  (rate > 0 ? `, ${rate} Hz` : '');
    const meters = element('meters');
    meters.textContent = '';
    for (let v = 0; v < Math.min(number(NUMBER.voices), 8); v++) {
      const row = document.createElement('div');
      row.className = 'meter';
      row.innerHTML = '<span class="voice"></span><div class="level"><div class="fill"></div></div><span class="marks"></span>';
      row.firstChild.textContent = String.fromCharCode(65 + v);
      meters.appendChild(row);
    }
  }

  function setPlaying(on) {
    page.playing = on;
    Module._playerSetPaused(on ? 0 : 1);
    element('play').textContent = on ? 'Pause' : 'Play';
    if (on && navigator.userActivation.isActive) startAudio();
    if (on && (!audio || audio.context.state !== 'running')) showMessage('Click anywhere to start the sound.');
  }

  // Time, progress and meters follow the sound; a song that has played its
  // pass gives way to the next.
  function frame() {
    if (page.current >= 0) {
      const length = number(NUMBER.length), position = Math.min(number(NUMBER.position), length);
      element('time').textContent = `${minutesAndSeconds(position)} / ${minutesAndSeconds(length)}`;
      element('bar').style.width = `${length > 0 ? (100 * position) / length : 0}%`;
      Array.from(element('meters').children).forEach((row, v) => {
        const meter = Module._playerLevel(v);
        row.querySelector('.fill').style.width = `${((meter & 15) * 100) / 15}%`;
        const marks = [['tone', 16], ['noise', 32], ['envelope', 64], ['sample', 128], ['muted', 256]];
        row.querySelector('.marks').textContent = marks.filter(mark => meter & mark[1]).map(mark => mark[0]).join(' ');
      });
      if (page.playing && number(NUMBER.ended)) select(page.current + 1, +1, true);
    }
    requestAnimationFrame(frame);
  }

  // ---- Controls ----
  function listen() {
    element('files').addEventListener('change', event => {
      addFiles(event.target.files);
      event.target.value = '';
    });
    addEventListener('dragover', event => {
      event.preventDefault();
      document.body.classList.add('dragging');
    });
    addEventListener('dragleave', () => document.body.classList.remove('dragging'));
    addEventListener('drop', event => {
      event.preventDefault();
      document.body.classList.remove('dragging');
      addFiles(event.dataTransfer.files);
    });
    element('play').onclick = () => {
      if (page.current >= 0) setPlaying(!page.playing);
    };
    element('next').onclick = () => select(page.current + 1, +1, page.playing);
    element('previous').onclick = () => select(Math.max(page.current - 1, 0), -1, page.playing);
    element('progress').onclick = event => {
      const box = element('progress').getBoundingClientRect();
      const fraction = Math.min(Math.max((event.clientX - box.left) / box.width, 0), 1);
      page.lastSeek = Math.floor((fraction * number(NUMBER.length)) / REQUEST_FRAMES) * REQUEST_FRAMES;
      Module._playerSeek(page.lastSeek);
    };
    document.querySelectorAll('button.mute').forEach(button => {
      button.onclick = () => {
        const muted = button.classList.toggle('muted');
        Module._playerSetMuted(Number(button.dataset.voice), muted ? 1 : 0);
      };
    });
  }

  Module.onRuntimeInitialized = () => {
    listen();
    songs.push({ name: 'Vitrelume 15th Anniversary: the production\'s own song', file: null, reason: null });
    select(0, +1, false);
    requestAnimationFrame(frame);
    console.log('Player ready');
  };
})();
