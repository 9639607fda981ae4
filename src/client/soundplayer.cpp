#include "soundplayer.h"

#include "chattersounds.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <map>

// The sounds live in a static library, whose resources must be registered by hand.
static void initSoundResources() {
    Q_INIT_RESOURCE(sounds);
}

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
            effect->setSource(QUrl("qrc" + SoundPlayer::resourcePath(storedName)));
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

SoundPlayer::SoundPlayer() : m_output(std::make_unique<QtSoundOutput>()) {
    initSoundResources();
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::setOutput(std::unique_ptr<SoundOutput> output) {
    m_output = std::move(output);
}

QString SoundPlayer::resourcePath(const QString& storedName) {
    return ":/sounds/" + storedName + ".wav";
}

void SoundPlayer::play(const QString& name) {
    m_last = name;
    const std::optional<std::string> stored = bg::storedSoundName(name.toStdString());
    if (stored && m_output) m_output->play(QString::fromStdString(*stored));
}
