#pragma once
// SoundPlayer: plays the program's named sounds from its resources, asynchronously; a new
// sound cuts off the one playing. A request names the sound in lower case ("dice"); a name the
// store does not hold plays nothing.
//
// The actual output is a seam (SoundOutput): the program loads the sound module with its first
// sound, tests record what would have played. Without the module or an audio device the
// program stays silent and says nothing.

#include "soundoutput.h"

#include <QStringList>

#include <memory>

class SoundPlayer {
  public:
    SoundPlayer();
    ~SoundPlayer();
    // Replaces the output (tests); the player owns it.
    void setOutput(std::unique_ptr<SoundOutput> output);
    void play(const QString& name);
    // The last request, whether or not it was in the store.
    const QString& last() const { return m_last; }
    // Resource path of a stored name.
    static QString resourcePath(const QString& storedName) {
        return SoundOutput::resourcePath(storedName);
    }

  private:
    std::unique_ptr<SoundOutput> m_output;
    QString m_last;
};

// The folders searched for the sound module: beside the program (a build), then the
// installed library folder.
QStringList soundModuleFolders();
// The sound module's output from the first of the folders that holds one, or none.
std::unique_ptr<SoundOutput> loadSoundOutput(const QStringList& folders);

// Records stored names instead of playing them.
class RecordingSoundOutput : public SoundOutput {
  public:
    void play(const QString& storedName) override { m_played << storedName; }
    const QStringList& played() const { return m_played; }
    void clear() { m_played.clear(); }

  private:
    QStringList m_played;
};
