#pragma once
// Every fixed line the shell logs (through logLine, app/app.h), each spelled
// once. People and tests read the log by these texts, so a backend logs the
// constant, never a spelling of its own. Where a backend adds the system's own
// reason, it goes on a line of its own after the fixed one.

// The frame of every run (runAppWith): the prefix, then the local time.
inline constexpr char LOG_STARTED[] = "Application started";
inline constexpr char LOG_TERMINATED[] = "Application terminated";

// fatalError (endWithFatalError): the line's prefix, and the message box's caption.
inline constexpr char LOG_FATAL_PREFIX[] = "FATAL ERROR: ";
inline constexpr char FATAL_ERROR_CAPTION[] = "Fatal Error!";

// Start-up failures, in start-up order: each ends the run with 255.
inline constexpr char LOG_NO_DISPLAY[] = "Failed to get display info";
inline constexpr char LOG_NO_WINDOW[] = "Failed to create window.";
inline constexpr char LOG_NO_GL_LIBRARY[] = "Failed to load opengl32.dll";  // Win32
inline constexpr char LOG_NO_WGL_FUNCTION[] = "Failed to find %s";          // Win32, with the name
inline constexpr char LOG_NO_PIXEL_FORMAT[] = "Failed to set pixel format";
inline constexpr char LOG_NO_GL_CONTEXT[] = "Failed to create OpenGL context";
inline constexpr char LOG_GL_CONTEXT_NOT_CURRENT[] = "Failed to activate OpenGl Context";
inline constexpr char LOG_NO_PRESENTER[] = "Failed to initialize OpenGL";
// Not logged: the fatalError text of a missing GL function, with its name
// without "gl" (app/presenter.h).
inline constexpr char FATAL_NO_GL_FUNCTION[] = "Could not find function %s.";

// Optional services: logged, and the run goes on without them.
inline constexpr char LOG_NO_AUDIO[] = "Couldn't initialize audio. Sound disabled.";          // SDL
inline constexpr char LOG_NO_AUDIO_DEVICE[] = "Couldn't open audio device. Sound disabled.";  // SDL, browser
inline constexpr char LOG_NO_DSOUND_LIBRARY[] = "Couldn't load dsound.dll. Sound disabled.";  // Win32 from here
inline constexpr char LOG_NO_DSOUND_CREATE[] = "Couldn't find DirectSoundCreate. Sound disabled.";
inline constexpr char LOG_NO_DSOUND_OBJECT[] = "Couldn't create DirectSound object. Sound disabled.";
inline constexpr char LOG_NO_DSOUND_COOPERATION[] =
    "Couldn't set cooperative level for DirectSound object. Sound disabled.";
// Every backend logs it: only the Win32 one has a tablet interface to try.
inline constexpr char LOG_NO_TABLET[] = "WinTab initialization failed - tablet not available";

// The sound stream (app/sound_stream.cpp): sound is off for the rest of the run.
inline constexpr char LOG_NO_SOUND_BUFFER[] = "Failed to create sound buffer";
inline constexpr char LOG_SOUND_LOCK_FAILED[] = "Couldn't lock sound buffer";
inline constexpr char LOG_SOUND_UNLOCK_FAILED[] = "Couldn't unlock sound buffer";
