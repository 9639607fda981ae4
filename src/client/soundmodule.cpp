// The sound output on Qt Multimedia, built as a module that the program loads with its first
// sound (soundoutput.h). The sounds themselves are resources of the program, which this
// module reads by path.

#include "soundoutput.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QObject>
#include <QSoundEffect>
#include <QUrl>

#include <map>

namespace {

// One QSoundEffect per sound, made when the sound is first asked for and kept, so that a
// repeated sound starts at once.
class QtSoundOutput : public SoundOutput {
  public:
    void play(const QString& storedName) override {
        if (!haveDevice()) return;
        if (m_playing) m_playing->stop();
        QSoundEffect*& effect = m_effects[storedName];
        if (!effect) {
            effect = new QSoundEffect(&m_owner);
            effect->setSource(QUrl("qrc" + resourcePath(storedName)));
        }
        m_playing = effect;
        effect->play();
    }

  private:
    // Asked once: a machine without audio output stays silent rather than complain per sound.
    bool haveDevice() {
        if (!m_deviceKnown) {
            m_deviceKnown = true;
            m_haveDevice = !QMediaDevices::defaultAudioOutput().isNull();
        }
        return m_haveDevice;
    }

    QObject m_owner;
    std::map<QString, QSoundEffect*> m_effects;
    QSoundEffect* m_playing = nullptr;
    bool m_deviceKnown = false;
    bool m_haveDevice = false;
};

} // namespace

extern "C" Q_DECL_EXPORT SoundOutput* bgCreateSoundOutput() {
    return new QtSoundOutput;
}
