#include "soundplayer.h"

#include "chattersounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

// The sounds live in a static library, whose resources must be registered by hand.
static void initSoundResources() {
    Q_INIT_RESOURCE(sounds);
}

namespace {

// Stands in for the module's output until the first sound asks for it.
class DeferredSoundOutput : public SoundOutput {
  public:
    void play(const QString& storedName) override {
        if (!m_tried) {
            m_tried = true;
            m_real = loadSoundOutput(soundModuleFolders());
        }
        if (m_real) m_real->play(storedName);
    }

  private:
    std::unique_ptr<SoundOutput> m_real;
    bool m_tried = false;
};

} // namespace

QStringList soundModuleFolders() {
    const QString home = QCoreApplication::applicationDirPath();
    return {home, QDir(home).filePath("../" BG_INSTALL_LIBDIR "/backgammon")};
}

std::unique_ptr<SoundOutput> loadSoundOutput(const QStringList& folders) {
    for (const QString& folder : folders) {
        // A loaded library stays loaded when its QLibrary goes: the output's code lives there.
        QLibrary module(QDir(folder).filePath(kSoundModuleName));
        if (auto create = reinterpret_cast<CreateSoundOutput>(module.resolve(kCreateSoundOutput)))
            return std::unique_ptr<SoundOutput>(create());
    }
    return nullptr;
}

SoundPlayer::SoundPlayer() : m_output(std::make_unique<DeferredSoundOutput>()) {
    initSoundResources();
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::setOutput(std::unique_ptr<SoundOutput> output) {
    m_output = std::move(output);
}

void SoundPlayer::play(const QString& name) {
    m_last = name;
    const std::optional<std::string> stored = bg::storedSoundName(name.toStdString());
    if (stored && m_output) m_output->play(QString::fromStdString(*stored));
}
