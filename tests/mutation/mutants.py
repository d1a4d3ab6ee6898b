"""Plausible mistakes, one each: the text `old` in `file` becomes `new`.

Made fresh for this measurement (not the mutants of earlier probes), spread
over the areas; each is a change a developer could make by accident and that
changes behaviour. Areas choose the tests that run (TESTS_EXCLUDED): the
browser and Wine tests never run here, and the screen tests only for the
shell's mutants.
"""

SLOW = "web_page|capture_video|content_generators_reproduce_committed_files|compose_song_reproduces_resource"
SCREENS = "title_under_xvfb|scene_under_xvfb|degraded_start|hostile_stdout"
TESTS_EXCLUDED = {"ym": f"{SLOW}|{SCREENS}", "demo": f"{SLOW}|{SCREENS}", "programs": f"{SLOW}|{SCREENS}",
                  "app": SLOW}


def m(area, file, old, new, why, equivalent=None):
    return {"area": area, "file": file, "old": old, "new": new, "why": why, "equivalent": equivalent}


MUTANTS = [
    # ---- ym and lh5: the chip, the player, the loader, the depacker ----
    m("ym", "ym/ym2149.cpp", "noiseMask[v] = (value >> (v + 3)) & 1 ? MASK_OFF : 0;",
      "noiseMask[v] = (value >> (v + 2)) & 1 ? MASK_OFF : 0;", "mixer: noise bits read one voice off"),
    m("ym", "ym/ym2149.cpp", "regs[index] = static_cast<uint8_t>(index & 1 ? value & 0x0F : value);",
      "regs[index] = static_cast<uint8_t>(index & 1 ? value & 0x1F : value);", "tone period: 5 coarse bits"),
    m("ym", "ym/ym2149.cpp", "period < 3 ? 0 : phaseIncrement", "period < 1 ? 0 : phaseIncrement",
      "noise periods 1 and 2 not silenced"),
    m("ym", "ym/ym2149.h", "const uint32_t bit = (noiseShift ^ (noiseShift >> 2)) & 1;",
      "const uint32_t bit = (noiseShift ^ (noiseShift >> 3)) & 1;", "noise shift register taps"),
    m("ym", "ym/ym2149.h", "dcIndex = (dcIndex + 1) & 511;", "dcIndex = (dcIndex + 1) & 255;",
      "DC remover window halved"),
    m("ym", "ym/ym2149.h", "(lowPassHistory[1] >> 2);", "(lowPassHistory[1] >> 1);",
      "low-pass weights"),
    m("ym", "ym/ym_player.cpp", "chip.setRegister(7, chip.regs[7] | 0x24);",
      "chip.setRegister(7, chip.regs[7] | 0x12);", "YM2 drum mutes voice B instead of C"),
    m("ym", "ym/ym_player.cpp", "case 0xC0:\n            if (t != 0) chip.startEnvelopeRetrigger",
      "case 0x80:\n            if (t != 0) chip.startEnvelopeRetrigger", "YM6 effect code of the retrigger"),
    m("ym", "ym/ym_player.cpp", "        nextFrame = loopFrame;", "        nextFrame = 0;",
      "loop restarts at frame 0"),
    m("ym", "ym/ym_loader.cpp", "if (mixBlocks[i].repeatCount >= 32) mixBlocks[i].repeatCount = 32;",
      "if (mixBlocks[i].repeatCount >= 32) mixBlocks[i].repeatCount = 31;", "digi-mix repeat clamp"),
    m("ym", "ym/ym_sample_playback.cpp", "if (voice.looping) pos -= voice.repeatLength << 16;",
      "if (voice.looping) pos -= voice.sampleSize << 16;", "tracker loop length"),
    m("ym", "ym/ym_sample_playback.cpp", "mixStep = (uint32_t(block.replayFrequency) << 12) / uint32_t(sampleRate);",
      "mixStep = (uint32_t(block.replayFrequency) << 11) / uint32_t(sampleRate);", "digi-mix step"),
    m("ym", "lh5/lh5_decoder.cpp", "uint32_t length = c - 253;", "uint32_t length = c - 254;", "LH5 match length off by one"),

    # ---- demo: frame step, scenes, scroller, pictures ----
    m("demo", "demo/frame_step.cpp", "if (s.fadeFrame < s.fadeFrames) ++s.fadeFrame;",
      "if (s.fadeFrame <= s.fadeFrames) ++s.fadeFrame;", "fade runs one step past its end"),
    m("demo", "demo/frame_step.cpp", "return clampLevel(s.fadeFrom + int64_t(step));",
      "return clampLevel(s.fadeFrom + int64_t(step + 0.5f));", "fade level rounded, not truncated"),
    m("demo", "demo/frame_step.cpp", "if (event.type == EVENT_KEY_DOWN && code < uint32_t(KEY_COUNT))",
      "if (event.type != EVENT_KEY_UP && code < uint32_t(KEY_COUNT))", "characters count as presses"),
    m("demo", "demo/title_screen.cpp", "const int32_t TITLE_HOLD_END = 360;", "const int32_t TITLE_HOLD_END = 361;",
      "title held a step longer"),
    m("demo", "demo/scroller.cpp", "if (scroller.scrollOffset > float(GLYPH_SLOT_WIDTH)) {",
      "if (scroller.scrollOffset >= float(GLYPH_SLOT_WIDTH)) {", "scroller enters a glyph a step early",
      equivalent="the float offset first equals 32 exactly at scroller step 2,796,210, 12.9 hours in"),
    m("demo", "demo/scroller.cpp", "const float angle = phase - float(j) / 100.0f;",
      "const float angle = phase + float(j) / 100.0f;", "sine wave runs the other way"),
    m("demo", "demo/main_scene.cpp", "scene.carouselX = (corner & 1) ? CAROUSEL_RIGHT : 0;",
      "scene.carouselX = (corner & 2) ? CAROUSEL_RIGHT : 0;", "carousel corner bits"),
    m("demo", "demo/main_scene.cpp", "if (scene.carouselPhase > 7.0f) {", "if (scene.carouselPhase > 7.5f) {",
      "carousel fade-out starts late"),
    m("demo", "demo/main_scene.cpp", "state = state * 214013u + 2531011u;", "state = state * 214013u + 2531013u;",
      "random generator constant"),
    m("demo", "demo/main_scene.cpp", "box.rows = int32_t(halfHeight + 100.0f) - box.top + 1;",
      "box.rows = int32_t(halfHeight + 100.0f) - box.top;", "pulsing logo loses its last row"),
    m("demo", "demo/image.cpp", "if (pixelColor(p) != key) to[i] = p;", "if (p != key) to[i] = p;",
      "colour key compares the alpha byte too"),
    m("demo", "demo/music_start.cpp", "const int32_t STREAM_FRAMES = 4410;", "const int32_t STREAM_FRAMES = 4408;",
      "sound stream length"),

    # ---- app: the shell ----
    m("app", "app/sound_ring.cpp", "count < 0 || count > ringFrames)", "count < 0 || count > ringFrames + 1)",
      "ring lock takes one frame more than the ring"),
    m("app", "app/sound_ring.cpp", "if ((position < half && end >= half) || end >= ringFrames)",
      "if ((position < half && end > half) || end >= ringFrames)", "a play ending on the half wakes nobody"),
    m("app", "app/sound_ring.cpp", "if ((position < half && end >= half) || end >= ringFrames)",
      "if ((position < half && end >= half) || end > ringFrames)", "a play ending on the end wakes nobody"),
    m("app", "app/sound_stream.cpp", "    else if (s->previous >= half && current < half)\n        fillSound(s, half, half);",
      "    else if (s->previous > half && current < half)\n        fillSound(s, half, half);",
      "second half not refilled after a position exactly on the half"),
    m("app", "app/input.cpp", "void pushScroll(App* app, float notches) {\n    if (!app->hasFocus) return;",
      "void pushScroll(App* app, float notches) {", "scroll merged while unfocused"),
    m("app", "app/input.cpp", "if (!app->hasFocus || app->eventCount >= APP_EVENT_CAPACITY) return;",
      "if (!app->hasFocus || app->eventCount > APP_EVENT_CAPACITY) return;", "queue overflow by one"),
    m("app", "app/frame_pacer.cpp", "    } while (now < target - FRAME_EARLY_NS);", "    } while (false);",
      "pacer returns after one early sleep"),
    m("app", "app/frame_pacer.cpp", "pacer->deadlineNs = now - target > pacer->periodNs ? now : target;",
      "pacer->deadlineNs = now - target >= 0 ? now : target;", "a slightly late frame drops the grid"),
    m("app", "app/geometry.cpp", "app->windowX = (displayWidth - app->windowWidth) / 2;",
      "app->windowX = (displayWidth - app->windowWidth) / 3;", "window not centred"),
    m("app", "app/presenter.cpp", "    if (s < 1) s = 1;\n", "", "a view smaller than the picture gets scale 0"),
    m("app", "app/presenter.cpp", "return {static_cast<float>((viewWidth - qw) / 2), static_cast<float>((viewHeight - qh) / 2),",
      "return {static_cast<float>((viewWidth - qw) / 2), static_cast<float>((viewHeight - qh) / 3),",
      "picture not centred vertically"),
    m("app", "app/interpolation.cpp", "    pushPointerMove(app, x, y);\n", "", "switching interpolation reports no move"),
    m("app", "app/sdl/sdl_app.cpp", "if (screenless && !(asked && *asked)) {", "if (screenless && !asked) {",
      "an empty SDL_VIDEODRIVER counts as a request"),

    # ---- programs: ymrender, the capture, the lh5 tools and the files they share ----
    m("programs", "cli/wav_format.h", "le(36 + dataBytes, 4);", "le(44 + dataBytes, 4);", "WAV RIFF size"),
    m("programs", "cli/wav_format.h", "le(WAV_RATE * WAV_FRAME_BYTES, 4);", "le(WAV_RATE * 2, 4);", "WAV byte rate"),
    m("programs", "cli/command_line.cpp", "(lowAllowed ? number >= low : number > low)",
      "(lowAllowed ? number >= low : number >= low)", "ymrender --seconds 0 accepted"),
    m("programs", "programs/ymrender/ymrender.cpp", "number == std::floor(number)", "number >= 1",
      "ymrender --request 2.5 accepted"),
    m("ym", "ym/ym_song_info.cpp", "int plays = block.repeatCount > 1 ? block.repeatCount : 1;",
      "int plays = block.repeatCount;", "repeat count 0 counted as no play"),
    m("programs", "programs/capture/capture_options.cpp", "return ended == 0 ? -1 : ended;",
      "return ended == 0 ? 2 : ended;", "capture --help exits non-zero"),
    m("programs", "programs/capture/output_clash.cpp", "if (sameFile(files[i].path, files[j].path))",
      "if (files[i].path == files[j].path)", "same file by another name not refused"),
    m("programs", "lh5/lh5pack.cpp", "name.size() > LH5_MAX_MEMBER_NAME", "name.size() > 255",
      "a 234-byte member name accepted"),
    m("programs", "cli/atomic_file.cpp", "    if (std::ferror(file)) code = EIO;\n", "",
      "a failed write is committed"),
    m("programs", "cli/atomic_file.cpp", "    cleanUp();\n    signal(signalNumber, SIG_DFL);",
      "    signal(signalNumber, SIG_DFL);", "a signal leaves the temporary"),
    m("programs", "cli/atomic_file.cpp", "    if (exists) fchmod(fd, info.st_mode & 07777);\n", "",
      "a replaced file loses its mode"),
    m("programs", "lh5/lh5_encoder.cpp", "put16(lhaCrc16(data.data(), data.size()));",
      "put16(lhaCrc16(data.data(), data.size() - 1));", "archive CRC over one byte less"),
]
