#pragma once
// The seam between the sound player and whatever makes the noise. The real output lives in a
// module of its own (soundmodule.cpp), loaded with the first sound: the audio stack it pulls
// in is a good part of the program's libraries, and a window that has not yet made a sound
// should not wait for it or carry it.

#include <QString>

class SoundOutput {
  public:
    virtual ~SoundOutput() = default;
    // Plays the stored sound (":/sounds/<NAME>.wav"), stopping any other.
    virtual void play(const QString& storedName) = 0;

    // Resource path of a stored name.
    static QString resourcePath(const QString& storedName) {
        return ":/sounds/" + storedName + ".wav";
    }
};

// The sound module's one entry point: makes the output (the caller owns it).
using CreateSoundOutput = SoundOutput* (*)();
inline constexpr const char* kCreateSoundOutput = "bgCreateSoundOutput";
// The module's base name, without the platform's suffix.
inline constexpr const char* kSoundModuleName = "backgammon-sound";
