#include "platform/qt/WavePlayer.h"

#include <QFile>
#include <QMetaObject>

#include "platform/qt/PulseOutput.h"

namespace platform::qt {

namespace {
QString wavePath(int resource) { return QStringLiteral(":/waves/%1.wav").arg(resource); }
}  // namespace

WavePlayer::WavePlayer(std::function<void()> beep, QObject* parent)
    : QObject(parent), beep_(std::move(beep)) {
    // The sound thread reports a wave it could not play; the beep itself
    // belongs to this thread.
    output_ = std::make_unique<PulseOutput>("Tarvik_KXv", [this] {
        QMetaObject::invokeMethod(this, [this] { beep_(); }, Qt::QueuedConnection);
    });
}

// The output first: its thread may still report to this object.
WavePlayer::~WavePlayer() { output_.reset(); }

bool WavePlayer::hasWave(int resource) { return QFile::exists(wavePath(resource)); }

std::optional<WaveData> WavePlayer::loadWave(int resource) {
    QFile file(wavePath(resource));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    return decodeWave(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

const WaveData* WavePlayer::wave(int resource) {
    auto it = waves_.find(resource);
    if (it == waves_.end()) it = waves_.emplace(resource, loadWave(resource)).first;
    return it->second ? &*it->second : nullptr;
}

void WavePlayer::prepare(const std::vector<int>& resources) {
    for (int r : resources) wave(r);
    output_->connect();
}

void WavePlayer::play(int resource) {
    const WaveData* w = wave(resource);
    if (w == nullptr || w->samples.empty()) {
        beep_();
        return;
    }
    output_->play(*w);
}

}  // namespace platform::qt
