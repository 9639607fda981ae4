#pragma once
// SoundPlayer: plays the program's named sounds from its resources, asynchronously; a new
// sound cuts off the one playing. A request names the sound in lower case ("dice"); a name the
// store does not hold plays nothing.
//
// The actual output is a seam (SoundOutput): the program uses Qt Multimedia, tests record what
// would have played. Without an audio device the program stays silent and says nothing.

#include <QString>
#include <QStringList>

#include <memory>

class SoundOutput {
  public:
    virtual ~SoundOutput() = default;
    // Plays the stored sound (":/sounds/<NAME>.wav"), stopping any other.
    virtual void play(const QString& storedName) = 0;
};

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
    static QString resourcePath(const QString& storedName);

  private:
    std::unique_ptr<SoundOutput> m_output;
    QString m_last;
};

// Records stored names instead of playing them.
class RecordingSoundOutput : public SoundOutput {
  public:
    void play(const QString& storedName) override { m_played << storedName; }
    const QStringList& played() const { return m_played; }
    void clear() { m_played.clear(); }

  private:
    QStringList m_played;
};
